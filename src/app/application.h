#pragma once
// The state of one running program: folders, settings and the global tables.
// Owned by one object and passed by reference, so a test can build any state.
#include "base/changes.h"
#include "base/folders.h"
#include "engine/history_pane.h"
#include "engine/select_palette.h"
#include "betting/betting.h"
#include "graphs/heatmap.h"
#include "graphs/histogram.h"
#include "graphs/pace_graph.h"
#include "graphs/race_graph.h"
#include "graphs/race_history_graph.h"
#include "graphs/timeline_chart.h"
#include "racecard/race_card_state.h"
#include "store/condition_table.h"
#include "store/race_tables.h"
#include "store/settings.h"
#include "store/store.h"

namespace veltrix {

struct Application {
    Folders folders;
    Settings settings;
    Store store;
    Conditions conditions;   // ConditionKey / ConditionTable
    RaceTables raceTables;   // the race on show: odds, forecast, result, bet list, marks
    RaceCard raceCard;       // the race card grid and the current race
    SelectPalette palette;   // which past runs the calculation uses
    Betting betting;         // the odds view's selection and the bet list
    Heatmap heatmap;         // the heat map's options and grid
    HistoryPane pane;        // fpsHistory: the past runs of the chosen runner
    TimelineChart timeline;  // mscGraph beside the pane
    DetailGraph detail;      // the histogram of the pane's used runs
    PaceGraph paceGraph;            // frmPaceGraph
    RaceGraph raceGraph;            // frmRaceGraph
    RaceHistoryGraph historyGraph;  // frmRaceHistoryGraph: the pane's used runs
    ChangeNotifier changes;  // what the windows hear of the state above
};

}  // namespace veltrix
