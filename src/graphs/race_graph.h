#pragma once
// The predicted R-index graph frmRaceGraph ("予測R指数グラフ"): the runners as a
// scatter of their first-half (x) against second-half (y) predicted figures,
// each point labelled "No. name".
#include <string>
#include <vector>

#include "base/sheet.h"
#include "graphs/chart_model.h"

namespace veltrix {

// One point: strBamei, dblRaceZenhan, dblRaceKouhan. x or y of 99 or more is
// not drawn (a runner of a past race without figures).
struct RaceGraphEntry {
    std::string label;
    double x = 99;
    double y = 99;
};

struct RaceGraph {
    std::vector<RaceGraphEntry> entries;  // empty: the chart is cleared
    bool dark = true;                     // the chart's tag: the dark scheme is shown
};

// The race card's runners with both "R前" and "R後" (sheet 1 columns 17 and 18),
// in row order: "No. name" at (R前, R後).
std::vector<RaceGraphEntry> RaceGraphEntries(const Sheet& syuso);
// A runner of a past race (the race model window's rows): labelled and placed
// when both figures have text, otherwise an empty label at (99, 99).
RaceGraphEntry PastRaceGraphEntry(const std::string& no, const std::string& name, const std::string& zenhan,
                                  const std::string& kouhan);

// PutRaceGraph with the race card's entries, or ClearForm when there are none.
void SetRaceGraph(RaceGraph& graph, const Sheet& syuso);
void PutRaceGraph(RaceGraph& graph, std::vector<RaceGraphEntry> entries);
void ClearForm(RaceGraph& graph);

// The chart: one labelled scatter point per drawable entry, the scheme's colours.
ChartModel RaceChartModel(const std::vector<RaceGraphEntry>& entries, bool dark);
inline ChartModel RaceChartModel(const RaceGraph& graph) { return RaceChartModel(graph.entries, graph.dark); }

}  // namespace veltrix
