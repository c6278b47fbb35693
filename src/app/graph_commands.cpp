#include "app/graph_commands.h"

#include "engine/calculation.h"
#include "graphs/graph_layout.h"

namespace veltrix {

void SetPaceGraph(Application& app) {
    const RaceCard& card = app.raceCard;
    const std::string key = MakeConditionKey(card.RaceTrackCode, card.RaceSyubetsuCode, card.RaceJyokenCode,
                                             RaceDistanceOf(card.lblRace, app.store.DataMode));
    SetPaceGraph(app.paceGraph, card.lblRelateValue[1], card.lblRelateValue[2], key, app.conditions);
}

void SetRaceGraph(Application& app) { SetRaceGraph(app.raceGraph, app.raceCard.sheet(kSheetSyuso)); }

void SetRaceHistoryGraph(Application& app) { SetRaceHistoryGraph(app.historyGraph, app.pane.fpsHistory); }

bool OpenGraphWindows(Application& app) {
    if (app.raceCard.lblRace.empty()) return false;
    SetPaceGraph(app);
    SetRaceGraph(app);
    SetRaceHistoryGraph(app);
    return true;
}

void SetPastRaceGraphs(Application& app, const PastRaceGraphs& race) {
    const std::string key = MakeConditionKey(race.trackCode, race.syubetsuCode, race.jyokenCode, race.kyori);
    SetPaceGraph(app.paceGraph, race.paceZenhan, race.paceKouhan, key, app.conditions);
    // Every runner is handed over, those without figures at (99, 99), which is not drawn.
    PutRaceGraph(app.raceGraph, race.runners);
}

void SwitchGraphScheme(Application& app, GraphWindow window) {
    switch (window) {
        case GraphWindow::Pace:
            SwitchScheme(app.paceGraph.dark);
            break;
        case GraphWindow::Race:
            SwitchScheme(app.raceGraph.dark);
            break;
        case GraphWindow::History:
            SwitchScheme(app.historyGraph.dark);
            break;
    }
}

}  // namespace veltrix
