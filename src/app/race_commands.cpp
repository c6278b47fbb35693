#include "app/race_commands.h"

#include <exception>

#include "betting/betting.h"
#include "app/pane_commands.h"
#include "engine/select_palette.h"
#include "graphs/heatmap.h"
#include "racecard/race_card.h"
#include "store/race_files.h"

namespace veltrix {

namespace {

// The past runs of the rows on the grid, from scratch.
void rebuildPastRuns(Application& app, Pump& pump) { BuildPastRuns(app.raceCard, app.store, pump); }

}  // namespace

bool LoadRace(Application& app, const std::string& raceId, Pump& pump) {
    if (raceId.empty()) return false;
    RaceCard& card = app.raceCard;
    try {
        card.RaceDate = raceId.size() >= 8
                            ? raceId.substr(0, 4) + "/" + raceId.substr(4, 2) + "/" + raceId.substr(6, 2)
                            : std::string();
        ResetBetting(app.betting);
        RaceFilesRead read = LoadRaceFiles(app.folders, raceId, app.raceTables);
        ClearPaneAndCharts(app);
        EmptySheets(card);
        card.kekkaLoaded = read.kekka;
        ShowKekkaColumns(card, read.kekka);
        card.lastUmaCode.clear();
        if (FillRaceCard(card, app.store, app.raceTables, raceId)) return true;
        FillPerRaceColumns(card, app.raceTables, read.odds, read.mining, read.kekka);
        if (read.odds && app.raceTables.odds.OddsCount > 0)
            PutOddsView(card, app.raceTables.odds, app.betting.oddsView);
        if (read.kaime) {
            RestoreKaimeList(app.betting, card, app.raceTables);
            app.changes.notify(Change::BetListLoaded);
        }
        rebuildPastRuns(app, pump);
        return false;
    } catch (const std::exception&) {
        return true;
    }
}

bool RefreshRace(Application& app, const std::string& raceId, Pump& pump) {
    if (raceId.empty()) return false;
    RaceCard& card = app.raceCard;
    CommandScope command(app.changes);
    try {
        ClearRelateLabel(card);
        // The switched-off runs go with the past runs they belong to.
        ClearPaneAndCharts(app);
        EmptySheets(card);
        ShowKekkaColumns(card, card.kekkaLoaded);
        card.HistoryUmaban.clear();
        card.OddsUmaban.clear();
        app.betting.oddsView.clearSelection();
        card.lastUmaCode.clear();
        if (FillRaceCard(card, app.store, app.raceTables, raceId)) return true;
        FillPerRaceColumns(card, app.raceTables, true, true, card.kekkaLoaded);
        if (app.raceTables.odds.OddsCount > 0) PutOddsView(card, app.raceTables.odds, app.betting.oddsView);
        // The rebuilt sheet 2 lost its colours; the race is the same.
        SetRaceJyoken(card.sheet(kSheetKeibajo), card.lblRace, app.store.DataMode);
        rebuildPastRuns(app, pump);
        app.changes.notify(Change::RaceOpened);
        return false;
    } catch (const std::exception&) {
        return true;
    }
}

bool OpenRace(Application& app, const std::string& raceId, const std::string& label, Pump& pump) {
    if (raceId.empty()) return false;
    RaceCard& card = app.raceCard;
    CommandScope command(app.changes);
    try {
        ClearOdds(app.raceTables);
        ClearMining(app.raceTables);
        ClearKekka(app.raceTables);
        ClearKaimeData(app.raceTables);
        ClearMarkList(app.raceTables);
        ClearRelateLabel(card);
        ClearScoreLabel(card);
        card.HistoryUmaban.clear();
        card.OddsUmaban.clear();
        card.RaceSyubetsuCode.clear();
        card.RaceJyokenCode.clear();
        card.RaceTrackCode.clear();
        card.lblRace = label;
        ClearForm(app.palette);
        ClearForm(app.heatmap);
        // The secondary windows lose what they showed of the old race.
        app.changes.notify(Change::RaceCardReset);
        if (LoadRace(app, raceId, pump)) return true;
        SetRaceJyoken(card.sheet(kSheetKeibajo), card.lblRace, app.store.DataMode);
        SetSelect(app.palette, card.lblRace, app.store.DataMode);
        app.changes.notify(Change::RaceOpened);
        return false;
    } catch (const std::exception&) {
        return true;
    }
}

void ResetData(Application& app) {
    ResetRaceCard(app.raceCard);
    ClearPaneAndCharts(app);
    app.raceTables.clear();
    ClearForm(app.palette);
    ResetBetting(app.betting);
    ClearForm(app.heatmap);
    app.changes.notify(Change::RaceCardReset);
}

bool ChooseRunner(Application& app, RowNo row) {
    if (!MarkChosenRunner(app.raceCard, row)) return false;
    ShowRunnerHistory(app, app.raceCard.lastUmaCode);
    app.changes.notify(Change::RunnerChosen);
    return true;
}

void HideSecondaryWindows(Application& app) { app.changes.notify(Change::HideSecondaryWindows); }

}  // namespace veltrix
