#pragma once
// The R-index timeline chart mscGraph beside the past-performance pane: the
// pane runner's runs laid out on 233 weekly slots ending at the race on show,
// on a fixed value axis.
#include <array>
#include <string>
#include <vector>

#include "base/sheet.h"
#include "graphs/chart_model.h"

namespace veltrix {

inline constexpr int kTimelineSlots = 233;  // slot 233 is the race's own week, slot 1 the oldest
inline constexpr int kTimelineOptions = 3;

// OptGraphOption.
enum TimelineOption : int {
    kGraphSogo = 0,    // "総合能力": 総合 of every run
    kGraphTaisyo = 1,  // "対象ﾚｰｽ": 総合 of unused runs, and of used runs
    kGraphRLSogo = 2,  // "RL/総合": RL of every run, and 総合
};
inline constexpr std::array<const char*, kTimelineOptions> kTimelineCaptions = {"総合能力", "対象ﾚｰｽ",
                                                                                "RL/総合"};
inline constexpr const char* kTimelineRLCaption = "RL基準";  // chkGraphOption

struct TimelineSeries {
    std::string name;
    Rgb colour;
    std::array<double, kTimelineSlots> values{};  // index 0 is slot 1
};

struct TimelineChart {
    int option = kGraphSogo;
    bool rlBase = false;  // "RL基準": the axis centred on the race level
    double axisMin = 30;
    double axisMax = 70;
    std::vector<TimelineSeries> series;  // one or two
    TimelineChart();
};

// The slot of a run days before the race: 233 for the last day before it, 232
// for 2 to 8 days, and so on a week a slot; 0 when it is more than 232 weeks
// back or after the race's own week (not drawn).
int TimelineSlot(int days);

// Sets the axis, the series and their colours for the chart's option, every
// value 0. raceLevel is the race level label (centre of "RL基準", 50 when empty).
void ClearGraph(TimelineChart& chart, const std::string& raceLevel);
// ClearGraph, then every pane row from the top until one without a date, in its
// week's slot (a later row in the same week wins). raceDate is YYYY/MM/DD.
void PutGraph(TimelineChart& chart, const Sheet& pane, const std::string& raceDate,
              const std::string& raceLevel);

// The chart as the adapter draws it: bars, one category a week.
ChartModel TimelineChartModel(const TimelineChart& chart);

}  // namespace veltrix
