#pragma once
// The pace graph frmPaceGraph ("ペースグラフ"): the race on show (its first-half
// and second-half pace labels) and the standard pace of races of its condition
// class, as two points of first-half (x) against second-half (y) pace.
#include <string>

#include "graphs/chart_model.h"
#include "store/condition_table.h"

namespace veltrix {

struct PaceGraph {
    double dblPaceZenhan = 99;
    double dblPaceKouhan = 99;
    double dblPaceZenhanKijyun = 99;
    double dblPaceKouhanKijyun = 99;
    bool dark = true;  // the chart's tag: the dark scheme is shown
};

// A standard pace of the condition table: sign code "0" plus or "1" minus, then
// the number. 99 when the code is neither or the number cannot be read.
double StandardPace(const std::string& value);

// The race point from the pace labels ("P前", "P後"; 99 both unless both have
// text) and the standard point from values 2 and 3 of the first table entry
// with the condition key (99 both when there is none), then PutPaceGraph.
void SetPaceGraph(PaceGraph& graph, const std::string& paceZenhan, const std::string& paceKouhan,
                  const std::string& conditionKey, const Conditions& conditions);
void PutPaceGraph(PaceGraph& graph, double dblPaceZenhan, double dblPaceKouhan, double dblPaceZenhanKijyun,
                  double dblPaceKouhanKijyun);

// A point is shown unless one of its values is 99 or more.
bool RacePointShown(const PaceGraph& graph);
bool StandardPointShown(const PaceGraph& graph);

// The chart as the adapter draws it: a series per point (hidden points have none).
ChartModel PaceChartModel(const PaceGraph& graph);

}  // namespace veltrix
