#include "app/pane_commands.h"

#include <exception>

#include "graphs/histogram.h"
#include "graphs/race_history_graph.h"
#include "graphs/timeline_chart.h"

namespace veltrix {

namespace {

void putGraph(Application& app) {
    PutGraph(app.timeline, app.pane.fpsHistory, RaceDateOfLabel(app.raceCard.lblRace),
             app.raceCard.lblRelateValue[0]);
}

// The histogram and the R-index history graph follow every redraw of the pane.
void setDetailGraph(Application& app) {
    ClearForm(app.detail);
    SetDetailGraph(app.detail, app.pane.fpsHistory, app.raceCard.lblRace);
    SetRaceHistoryGraph(app.historyGraph, app.pane.fpsHistory);
}

}  // namespace

void ClearPaneAndCharts(Application& app) {
    ClearHistoryPane(app.pane);
    ClearGraph(app.timeline, app.raceCard.lblRelateValue[0]);
    ClearForm(app.detail);
    // The graph windows lose what they showed of the old race.
    PutPaceGraph(app.paceGraph, 99, 99, 99, 99);
    ClearForm(app.raceGraph);
    ClearForm(app.historyGraph);
}

void ShowRunnerHistory(Application& app, const std::string& umaCode) {
    DrawHistory(app.pane, app.raceCard, app.palette, app.settings, umaCode);
    putGraph(app);
    setDetailGraph(app);
}

void RedrawPaneAfterCalculation(Application& app) {
    // The pane keeps its runner by UmaCode: a horse number can repeat ("0" in
    // special registrations), the UmaCode cannot.
    if (!app.pane.umaCode.empty()) {
        const std::string umaCode = app.pane.umaCode;
        DrawHistory(app.pane, app.raceCard, app.palette, app.settings, umaCode);
        setDetailGraph(app);
    }
    // The palette's button redraws the chart whether or not a runner is shown.
    putGraph(app);
}

void RecountHistogram(Application& app) { setDetailGraph(app); }

bool ClickHistoryRun(Application& app, RowNo row) {
    CommandScope command(app.changes);
    try {
        if (ToggleHistoryRun(app.pane, app.raceCard, app.palette, app.settings, row)) return true;
        setDetailGraph(app);
        if (app.timeline.option == kGraphTaisyo) putGraph(app);
        app.changes.notify(Change::PaneChanged);
        return false;
    } catch (const std::exception&) {
        return true;
    }
}

std::optional<PastRaceChoice> RightClickHistoryRun(Application& app, RowNo row) {
    auto choice = PastRaceOfRow(app.pane, app.raceCard, row);
    if (choice) app.pane.pastRace = choice;
    return choice;
}

bool SetGraphOption(Application& app, int option, bool rlBase) {
    if (option < 0 || option >= kTimelineOptions) return true;
    CommandScope command(app.changes);
    app.timeline.option = option;
    app.timeline.rlBase = rlBase;
    putGraph(app);
    app.changes.notify(Change::PaneChanged);
    return false;
}

}  // namespace veltrix
