#include "graphs/timeline_chart.h"

#include <cmath>

#include "base/fields.h"
#include "engine/calculation.h"
#include "engine/history_pane.h"
#include "racecard/columns.h"

namespace veltrix {

namespace {

constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kPink{255, 128, 255};

double valueOr0(const std::string& text) { return ParseReal(text).value_or(0.0); }

// A week starts two days before the race's day: floor((days - 2) / 7) + 1 weeks back.
int weeksBack(int days) {
    const int d = days - 2;
    return (d >= 0 ? d / 7 : -((-d + 6) / 7)) + 1;
}

}  // namespace

TimelineChart::TimelineChart() { ClearGraph(*this, std::string()); }

int TimelineSlot(int days) {
    const int slot = kTimelineSlots - weeksBack(days);
    return slot >= 1 && slot <= kTimelineSlots ? slot : 0;
}

void ClearGraph(TimelineChart& chart, const std::string& raceLevel) {
    double centre = 50;
    double half = 20;
    if (chart.rlBase) {
        half = 10;
        if (auto v = ParseReal(raceLevel)) centre = static_cast<double>(std::lround(*v));
    }
    chart.axisMin = centre - half;
    chart.axisMax = centre + half;
    chart.series.clear();
    switch (chart.option) {
        case kGraphTaisyo:
            chart.series.push_back({"対象外", kPaneUnused, {}});
            chart.series.push_back({"対象", kPaneUsed, {}});
            break;
        case kGraphRLSogo:
            chart.series.push_back({"RL", kPink, {}});
            chart.series.push_back({"総合", kGreen, {}});
            break;
        default:
            chart.option = kGraphSogo;
            chart.series.push_back({"総合", kGreen, {}});
            break;
    }
}

void PutGraph(TimelineChart& chart, const Sheet& pane, const std::string& raceDate,
              const std::string& raceLevel) {
    ClearGraph(chart, raceLevel);
    for (int r = 1; r <= pane.rowCount(); ++r) {
        const RowNo row(r);
        const std::string& date = pane.text(row, PaneColumn(run::kDate));
        if (date.empty()) break;
        const auto days = DaysBetween(date, raceDate);
        if (!days) continue;
        const int slot = TimelineSlot(*days);
        if (slot == 0) continue;
        const size_t i = static_cast<size_t>(slot - 1);
        const double sogo = valueOr0(pane.text(row, PaneColumn(run::kRIndex)));
        switch (chart.option) {
            case kGraphTaisyo:
                if (pane.cell(row, PaneColumn(run::kDate)).back == kPaneUsed)
                    chart.series[1].values[i] = sogo;
                else
                    chart.series[0].values[i] = sogo;
                break;
            case kGraphRLSogo:
                chart.series[0].values[i] = valueOr0(pane.text(row, PaneColumn(run::kRL)));
                chart.series[1].values[i] = sogo;
                break;
            default:
                chart.series[0].values[i] = sogo;
                break;
        }
    }
}

ChartModel TimelineChartModel(const TimelineChart& chart) {
    ChartModel m;
    for (int s = 1; s <= kTimelineSlots; ++s) m.categories.push_back(std::to_string(s));
    // 233 weeks: neither a label nor a line each.
    m.x.labelsVisible = false;
    m.x.gridLines = false;
    m.y.min = chart.axisMin;
    m.y.max = chart.axisMax;
    m.y.tickCount = 5;
    for (const TimelineSeries& t : chart.series) {
        ChartSeries s;
        s.name = t.name;
        s.kind = SeriesKind::Bar;
        s.colour = t.colour;
        for (size_t i = 0; i < t.values.size(); ++i)
            s.points.push_back({static_cast<double>(i), t.values[i]});
        m.series.push_back(std::move(s));
    }
    return m;
}

}  // namespace veltrix
