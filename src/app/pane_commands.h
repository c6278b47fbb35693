#pragma once
// The past-performance pane and the charts drawn from it: the timeline chart
// beside it and the histogram. The race card's commands redraw them (choosing a
// runner, calculating); these are the pane's own.
#include <optional>

#include "app/application.h"
#include "engine/history_pane.h"

namespace veltrix {

// Empties the pane, the timeline chart, the histogram and the graph windows (a race is opened,
// rebuilt or reset).
void ClearPaneAndCharts(Application& app);
// Draws the pane for a runner, then the timeline chart and the histogram from it.
void ShowRunnerHistory(Application& app, const std::string& umaCode);
// After a calculation: the runner the pane keeps is drawn again with the new
// use flags, and the timeline chart and the histogram with it.
void RedrawPaneAfterCalculation(Application& app);

// The histogram counted anew from the pane (opening its window).
void RecountHistogram(Application& app);

// A left click on pane row r: switches the run off or on, refreshes the
// histogram and, while "対象ﾚｰｽ" is chosen, the timeline chart. True when
// nothing was clicked.
bool ClickHistoryRun(Application& app, RowNo row);
// A right click on pane row r: the past race for the race model window, which
// also becomes the race-video key. nullopt (nothing happens) for a grey row.
std::optional<PastRaceChoice> RightClickHistoryRun(Application& app, RowNo row);
// The timeline chart's option (0-2) and "RL基準": the chart is drawn again.
// True when the option is not one of the three.
bool SetGraphOption(Application& app, int option, bool rlBase);

}  // namespace veltrix
