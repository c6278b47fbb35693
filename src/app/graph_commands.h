#pragma once
// The three small graph windows beside the race card: the pace graph, the
// predicted R-index graph and the R-index history graph. The state holds what
// they draw; these fill it from the race on show (or from a past race).
#include <string>
#include <vector>

#include "app/application.h"

namespace veltrix {

// The pace graph of the race on show: its pace labels and its condition key.
void SetPaceGraph(Application& app);
// The predicted R-index graph of the race on show (cleared when no runner has both figures).
void SetRaceGraph(Application& app);
// The R-index history graph of the pane's used runs.
void SetRaceHistoryGraph(Application& app);

// A race figure label or the "R指数グラフ" menu: the three graphs are filled for
// the race on show. False when no race is shown (nothing opens).
bool OpenGraphWindows(Application& app);

// The race model window's race figure labels: the pace graph of a past race
// from that window's pace labels and code labels, and the predicted graph of
// its runners (built with PastRaceGraphEntry).
struct PastRaceGraphs {
    std::string paceZenhan;    // race figure label "P前"
    std::string paceKouhan;    // race figure label "P後"
    std::string trackCode;     // lblTrackCode
    std::string syubetsuCode;  // lblSyubetsuCode
    std::string jyokenCode;    // lblJyokenCode
    std::string kyori;         // lblKyori, the distance part of the condition key
    std::vector<RaceGraphEntry> runners;
};
void SetPastRaceGraphs(Application& app, const PastRaceGraphs& race);

enum class GraphWindow { Pace, Race, History };
// A click on a graph's chart switches it between the dark and the light scheme.
void SwitchGraphScheme(Application& app, GraphWindow window);

}  // namespace veltrix
