#pragma once
// The histogram window frmDetail ("ヒストグラム"): how six figures of the runs
// the last calculation used (the pane's orange rows) are spread over seven
// classes of width 5 centred on 35 to 65.
#include <array>
#include <string>

#include "base/sheet.h"
#include "graphs/chart_model.h"

namespace veltrix {

inline constexpr int kDetailCharts = 6;
inline constexpr int kDetailClasses = 7;
// Chart names, and the pane columns they count ("RL", "T前", "T後", "R前", "R後", "MD").
inline constexpr std::array<const char*, kDetailCharts> kDetailChartNames = {"RL",  "T前", "T後",
                                                                             "R前", "R後", "MD"};

using DetailCounts = std::array<int, kDetailClasses>;

struct DetailGraph {
    // mscRaceLevel, mscTimeZenhan, mscTimeKouhan, mscRaceZenhan, mscRaceKouhan, mscRaceMd
    std::array<DetailCounts, kDetailCharts> counts{};
};

// Class 1..7 of a figure: below 37.5 is 1, each 5 up one more, 62.5 and above 7.
int DetailClass(double value);
// The label of class k: "35", "40", ... "65".
std::string DetailClassLabel(int k);

// Every count 0.
void ClearForm(DetailGraph& graph);
// Puts count k of each array into class k of its chart.
void PutDetailGraph(DetailGraph& graph, const std::array<DetailCounts, kDetailCharts>& counts);
// Counts the pane's used rows whose six figures are all numbers. Nothing is
// counted while no race is shown (raceLabel empty).
void SetDetailGraph(DetailGraph& graph, const Sheet& pane, const std::string& raceLabel);

// Chart n (0-based) as the adapter draws it: seven labelled bars.
ChartModel DetailChartModel(const DetailGraph& graph, int n);

}  // namespace veltrix
