#pragma once
// The R-index history graph frmRaceHistoryGraph ("R指数遷移グラフ"): the past
// runs the last calculation used for the runner in the pane, as a scatter of
// their "R前" (x) against "R後" (y), each labelled with a short description.
#include <string>
#include <vector>

#include "base/sheet.h"
#include "graphs/race_graph.h"

namespace veltrix {

struct RaceHistoryGraph {
    std::vector<RaceGraphEntry> entries;  // strRace, dblRaceZenhan, dblRaceKouhan; empty: cleared
    bool dark = true;                     // the chart's tag: the dark scheme is shown
};

// "08.12.27 RL52.3 有馬記念 武豊 1着": the date from its third character with
// points, " RL" and the figure, the race name in half-width characters with a
// "ステークス" ending shortened to "S" (otherwise without "以上 "), the jockey and
// the placing with "着".
std::string RaceHistoryLabel(const std::string& date, const std::string& rl, const std::string& raceName,
                             const std::string& jockey, const std::string& placing);
// The race name as the label shows it.
std::string ShortRaceName(const std::string& raceName);

// The pane's used (orange) rows with both "R前" and "R後", oldest first; the
// chart is cleared when none qualifies.
void SetRaceHistoryGraph(RaceHistoryGraph& graph, const Sheet& pane);
void PutRaceHistoryGraph(RaceHistoryGraph& graph, std::vector<RaceGraphEntry> entries);
void ClearForm(RaceHistoryGraph& graph);

inline ChartModel RaceHistoryChartModel(const RaceHistoryGraph& graph) {
    return RaceChartModel(graph.entries, graph.dark);
}

}  // namespace veltrix
