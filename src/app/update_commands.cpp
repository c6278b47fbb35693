#include "app/update_commands.h"

#include "app/betting_commands.h"

#include <exception>

#include "engine/calculation.h"
#include "racecard/race_card.h"
#include "store/race_files.h"

namespace veltrix {

namespace {

// What differs between the three kinds of real-time data.
struct KindSpec {
    const char* question;   // batch: asked first
    const char* importing;  // status while importing
    const char* aborted;    // failure, cancel, or a file that cannot be written
    const char* nothing;    // the session completed without usable data
    const char* done;
    // Batch: a failed import stops the walk (the other kinds go on with the next race).
    bool importFailureStops;
};

constexpr KindSpec kOddsSpec{"速報オッズ情報を一括インポートしますか？",
                             "速報オッズ情報をインポート中...",
                             "速報オッズ情報の更新を中止しました。",
                             "取得可能な速報オッズ情報はありません。",
                             "速報オッズを更新しました。",
                             false};
constexpr KindSpec kMiningSpec{
    "データマイニング情報を一括インポートしますか？", "データマイニング情報をインポート中...",
    "データマイニング情報の更新を中止しました。",     "取得可能なデータマイニング情報はありません。",
    "データマイニング情報を更新しました。",           true};
constexpr KindSpec kKekkaSpec{
    "レース結果情報を一括インポートしますか？", "レース結果情報をインポート中...",
    "レース結果情報の更新を中止しました。",     "取得可能なレース結果情報はありません。",
    "レース結果情報を更新しました。",           false};

const KindSpec& specOf(RealTimeKind kind) {
    switch (kind) {
        case RealTimeKind::Odds:
            return kOddsSpec;
        case RealTimeKind::Mining:
            return kMiningSpec;
        default:
            return kKekkaSpec;
    }
}

void clearWork(RealTimeKind kind, RealTimeWork& work) {
    switch (kind) {
        case RealTimeKind::Odds:
            ClearOddsWork(work);
            break;
        case RealTimeKind::Mining:
            ClearMiningWork(work);
            break;
        case RealTimeKind::Kekka:
            ClearKekkaWork(work);
            break;
    }
}

int importWork(RealTimeKind kind, DataImportModel& model, const std::string& raceId, ImportTools tools) {
    const RealTimeSession session{model.import.session, tools.jv, tools.pump, tools.clock, tools.ui};
    RealTimeWork& work = model.realTime;
    switch (kind) {
        case RealTimeKind::Odds:
            return ImportOdds(work.odds, raceId, session);
        case RealTimeKind::Mining:
            return ImportMining(work.mining, raceId, session);
        default:
            return ImportKekka(work.kekka, raceId, session);
    }
}

// Whether the completed import found anything to write.
bool usable(RealTimeKind kind, const RealTimeWork& work) {
    switch (kind) {
        case RealTimeKind::Odds:
            return work.odds.OddsCount > 0;
        case RealTimeKind::Mining:
            return IsMiningKubun(work.mining.MiningKubun);
        default:
            return IsKekkaKubun(work.kekka.KekkaKubun);
    }
}

int writeWork(RealTimeKind kind, const Folders& folders, const std::string& raceId,
              const RealTimeWork& work) {
    switch (kind) {
        case RealTimeKind::Odds:
            return WriteOddsCache(folders, raceId, work.odds);
        case RealTimeKind::Mining:
            return WriteMiningCache(folders, raceId, work.mining);
        default:
            return WriteKekkaCache(folders, raceId, work.kekka);
    }
}

// Empties columns first..last of every row.
void clearColumns(Sheet& sheet, ColNo first, ColNo last) {
    SheetUpdate batch(sheet);
    for (int r = 1; r <= sheet.rowCount(); ++r)
        for (int c = first.value; c <= last.value && c <= sheet.colCount(); ++c)
            sheet.clearValue(RowNo(r), ColNo(c));
}

// The figures that combine the prediction with the popularity and the result:
// the prediction on sheet 3 with its rank and its difference to the popularity
// figure (the popularity fill empties them), the arrival rank among the
// predicted runners and the three agreement scores. Without a calculation the
// prediction columns stay empty and only the popularity and forecast scores
// can be computed.
void showCombinedFigures(const Settings& settings, RaceCard& card) {
    Sheet& odds = card.sheet(kSheetOdds);
    SetYosoku(card.sheet(kSheetSyuso), odds, settings.AutoTuning);
    CalculateYosokuHensa(odds);
    PutJyuni(odds, sheet3::kYosoku);
    PutKekkaJyuni(odds, sheet3::kKekkaNyusen);
    ShowScores(card, CalculateScore(odds));
}

// The odds view of sheet 3 from column 20 on and the bet list's odds: the one
// place the whole odds view is redrawn after new odds.
void redrawOddsView(Application& app) { RedrawOddsView(app); }

void showOdds(Application& app) {
    RaceCard& card = app.raceCard;
    Sheet& odds = card.sheet(kSheetOdds);
    const RaceTables& t = app.raceTables;
    clearColumns(odds, sheet3::kTansyo, ColNo(sheet3::kColumns));
    FillPopularityColumns(odds, t.odds);  // 6, 7; empties 6-17 first
    FillMiningColumns(odds, t.mining);    // 8-10
    FillKekkaColumns(card, t.kekka);      // 14-19
    showCombinedFigures(app.settings, card);
    redrawOddsView(app);
}

void showMining(Application& app) {
    RaceCard& card = app.raceCard;
    Sheet& odds = card.sheet(kSheetOdds);
    clearColumns(odds, sheet3::kMining, sheet3::kMiningJyuni);
    FillMiningColumns(odds, app.raceTables.mining);
    showCombinedFigures(app.settings, card);
}

void showKekka(Application& app) {
    RaceCard& card = app.raceCard;
    clearColumns(card.sheet(kSheetOdds), sheet3::kKekka, sheet3::kKekkaAgari);
    // The result columns are shown only while the card has a result.
    card.kekkaLoaded = !app.raceTables.kekka.KekkaKubun.empty();
    ShowKekkaColumns(card, card.kekkaLoaded);
    FillKekkaColumns(card, app.raceTables.kekka);
    showCombinedFigures(app.settings, card);
}

// Copies the working copy onto the race card when the race is the one on show,
// and redraws sheet 3 in one batch. True when it did.
bool applyToShownRace(RealTimeKind kind, Application& app, const DataImportModel& model,
                      const std::string& raceId) {
    RaceCard& card = app.raceCard;
    if (card.lblRace.empty() || RaceIdOfLabel(card.lblRace) != raceId) return false;
    {
        SheetUpdate b1(card.sheet(1)), b2(card.sheet(2)), b3(card.sheet(3));
        switch (kind) {
            case RealTimeKind::Odds:
                ApplyOddsWork(model.realTime, app.raceTables.odds);
                showOdds(app);
                break;
            case RealTimeKind::Mining:
                ApplyMiningWork(model.realTime, app.raceTables.mining);
                showMining(app);
                break;
            case RealTimeKind::Kekka:
                ApplyKekkaWork(model.realTime, app.raceTables.kekka);
                showKekka(app);
                break;
        }
    }
    app.changes.notify(Change::OddsApplied);
    return true;
}

void tell(UserInterface& ui, const std::string& text) {
    ui.setStatus(text);
    ui.showMessage(text, Icon::Warning);
}

// One row of a batch. False when the walk stops.
bool updateInBatch(RealTimeKind kind, Application& app, DataImportModel& model, const std::string& raceId,
                   ImportTools tools) {
    const KindSpec& spec = specOf(kind);
    clearWork(kind, model.realTime);
    const int imported = importWork(kind, model, raceId, tools);
    if (tools.pump.cancelRequested()) return false;
    if (imported != 0) return !spec.importFailureStops;
    if (usable(kind, model.realTime) && writeWork(kind, app.folders, raceId, model.realTime) != 0)
        return false;
    // Even a race without data is applied: its values of this kind are cleared on the card.
    applyToShownRace(kind, app, model, raceId);
    return true;
}

}  // namespace

int UpdateRealTime(RealTimeKind kind, Application& app, DataImportModel& model, const std::string& raceId,
                   ImportTools tools) {
    const KindSpec& spec = specOf(kind);
    CommandScope command(app.changes);
    tools.ui.setStatus(spec.importing);
    clearWork(kind, model.realTime);
    int& passedOver = model.import.session.PassedOver;
    passedOver = 0;
    if (importWork(kind, model, raceId, tools) != 0) {
        tools.ui.setStatus(spec.aborted);
        return -1;
    }
    if (!usable(kind, model.realTime)) {
        tools.ui.setStatus(WithPassedOver(spec.nothing, passedOver));
        return -1;
    }
    if (writeWork(kind, app.folders, raceId, model.realTime) != 0) {
        tools.ui.setStatus(spec.aborted);
        return -1;
    }
    applyToShownRace(kind, app, model, raceId);
    tools.ui.setStatus(WithPassedOver(spec.done, passedOver));
    return 1;
}

int UpdateOdds(Application& app, DataImportModel& model, const std::string& raceId, ImportTools tools) {
    return UpdateRealTime(RealTimeKind::Odds, app, model, raceId, tools);
}

int UpdateMining(Application& app, DataImportModel& model, const std::string& raceId, ImportTools tools) {
    return UpdateRealTime(RealTimeKind::Mining, app, model, raceId, tools);
}

int UpdateKekka(Application& app, DataImportModel& model, const std::string& raceId, ImportTools tools) {
    return UpdateRealTime(RealTimeKind::Kekka, app, model, raceId, tools);
}

RaceUpdateResults UpdateRace(Application& app, DataImportModel& model, const std::string& raceId,
                             ImportTools tools) {
    RaceUpdateResults r;
    r.mining = UpdateMining(app, model, raceId, tools);
    r.odds = UpdateOdds(app, model, raceId, tools);
    r.kekka = UpdateKekka(app, model, raceId, tools);
    return r;
}

BatchOutcome UpdateAll(RealTimeKind kind, Application& app, DataImportModel& model, ImportTools tools) {
    const KindSpec& spec = specOf(kind);
    if (app.store.DataMode != "KONSYU") return BatchOutcome::NotAvailable;
    if (!tools.ui.askYesNo(spec.question, Icon::Question, false)) return BatchOutcome::Declined;

    CommandScope command(app.changes);
    tools.pump.clearCancel();
    model.import.session.PassedOver = 0;
    const Sheet& grid = model.fpsControl;
    Progress progress(tools.ui, grid.rowCount());
    tools.ui.setStatus(spec.importing);
    bool completed = true;
    try {
        for (int r = 1; r <= grid.rowCount() && completed; ++r) {
            completed = updateInBatch(kind, app, model, grid.text(RowNo(r), kColRaceId), tools);
            if (completed) progress.step();
        }
    } catch (const std::exception&) {
        completed = false;
    }
    if (!completed) {
        tell(tools.ui, spec.aborted);
        return BatchOutcome::Aborted;
    }
    progress.finish();
    tell(tools.ui, WithPassedOver(spec.done, model.import.session.PassedOver));
    return BatchOutcome::Done;
}

BatchOutcome UpdateAllOdds(Application& app, DataImportModel& model, ImportTools tools) {
    return UpdateAll(RealTimeKind::Odds, app, model, tools);
}

BatchOutcome UpdateAllMining(Application& app, DataImportModel& model, ImportTools tools) {
    return UpdateAll(RealTimeKind::Mining, app, model, tools);
}

BatchOutcome UpdateAllKekka(Application& app, DataImportModel& model, ImportTools tools) {
    return UpdateAll(RealTimeKind::Kekka, app, model, tools);
}

}  // namespace veltrix
