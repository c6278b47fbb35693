#include "app/import_commands.h"

#include <exception>

#include "app/race_commands.h"
#include "app/update_commands.h"
#include "store/cache_files.h"
#include "store/weekly_store.h"

namespace veltrix {

namespace {

// The texts and steps that differ between the two commands.
struct CommandSpec {
    const char* importedOther;  // question when the other kind of week is stored
    const char* importedSame;   // question when the same kind of week is stored
    const char* firstTime;      // question otherwise
    const char* otherMode;
    const char* mode;
    const char* historySpec;
    const char* noData;
    const char* aborted;
    const char* done;
    bool konsyu;
};

constexpr CommandSpec kThisWeek{
    "特別登録馬情報をインポート済みです。今週のレース情報をインポートしますか？",
    "今週のレース情報をインポート済みです。今週のレース情報を更新しますか？",
    "今週のレース情報をインポートしますか？",
    "TOKUBETSU",
    "KONSYU",
    "RCOV",
    "取得可能な今週のレース情報はありません。",
    "レース情報の更新を中止しました。",
    "今週のレース情報を更新しました。",
    true};

constexpr CommandSpec kTokubetsu{
    "今週のレース情報をインポート済みです。特別登録馬情報をインポートしますか？",
    "特別登録馬情報をインポート済みです。特別登録馬情報を更新しますか？",
    "特別登録馬情報をインポートしますか？",
    "KONSYU",
    "TOKUBETSU",
    "TCOV",
    "取得可能な特別登録馬情報はありません。",
    "特別登録馬情報の更新を中止しました。",
    "特別登録馬情報を更新しました。",
    false};

bool ask(const CommandSpec& spec, const Store& store, UserInterface& ui) {
    // Replacing a stored week is confirmed with No preselected.
    if (store.DataMode == spec.otherMode) return ui.askYesNo(spec.importedOther, Icon::Warning, true);
    if (store.DataMode == spec.mode) return ui.askYesNo(spec.importedSame, Icon::Warning, true);
    return ui.askYesNo(spec.firstTime, Icon::Question, false);
}

void tell(UserInterface& ui, const std::string& text) {
    ui.setStatus(text);
    ui.showMessage(text, Icon::Warning);
}

// Reads, expands, sorts and writes the week. false on any failure or cancel;
// *nothing is set when JV-Link delivered no usable race.
bool importWeek(const CommandSpec& spec, WeeklyImportState& state, ImportContext& ctx, bool* nothing) {
    ImportLists& lists = state.lists;
    const int read = spec.konsyu ? ImportRaceInfo(state, ctx) : ImportTokubetsuInfo(state, ctx);
    if (read < 0) return false;
    // The count of this command: ImportRaceInfo / ImportTokubetsuInfo start it at 0.
    const int kept = spec.konsyu ? lists.WeekRaceList.count : lists.TokuList.count;
    if (kept == 0) {
        *nothing = true;
        return false;
    }
    if (ImportUmaHistory(state, ctx, spec.historySpec) < 0) return false;
    if (SortHRaceKeys(lists, ctx.pump) < 0 || SortHUmaKeys(lists, ctx.pump) < 0) return false;
    if ((spec.konsyu ? ExpandRaceInfo(state, ctx) : ExpandTokubetsuInfo(state, ctx)) < 0) return false;
    if (spec.konsyu && SortRaceInfo(ctx.store, ctx.pump) < 0) return false;
    if (SortHistoryInfo(ctx) < 0) return false;
    ClearImportLists(lists);
    ctx.store.DataMode = spec.mode;
    if (SaveRaceCache(ctx.store, ctx.folders, ctx.ui, ctx.pump)) return false;
    // Writing processes events too: a cancel pressed meanwhile still counts.
    ctx.pump.processEvents();
    if (ctx.pump.cancelRequested()) return false;
    // The main window works on the tables as start-up reads them from the files.
    return !LoadRaceCache(ctx.store, ctx.folders);
}

ImportOutcome runCommand(const CommandSpec& spec, Application& app, WeeklyImportState& state, ImportTools tools) {
    ImportContext ctx{app.store, app.folders, tools.jv, tools.ui, tools.pump, tools.clock};
    if (!ask(spec, ctx.store, ctx.ui)) return ImportOutcome::Declined;
    CommandScope command(app.changes);
    ctx.store.DataMode.clear();
    ctx.pump.clearCancel();
    state.session.PassedOver = 0;

    bool nothing = false;
    bool ok = false;
    try {
        // Weekly, odds, forecast, result and analysis files go; bet lists and marks stay.
        for (char kind : {'1', '2', '3', '4', '7', '8', 'a'}) DeleteCache(ctx.folders, kind, "*");
        // The tables go with their files, so no step below can leave the old week
        // in memory beside an empty folder.
        ClearRaceCache(ctx.store);
        ResetData(app);
        ok = importWeek(spec, state, ctx, &nothing);
    } catch (...) {
        ok = false;
    }

    if (ok) {
        app.changes.notify(Change::StoreReplaced);
        tell(ctx.ui, WithPassedOver(spec.done, state.session.PassedOver));
        return ImportOutcome::Imported;
    }
    ClearImportLists(state.lists);
    if (nothing) {
        tell(ctx.ui, WithPassedOver(spec.noData, state.session.PassedOver));
    } else {
        tell(ctx.ui, spec.aborted);
        // A failure after writing may have left weekly files behind.
        for (char kind : {'1', '2', '3'}) DeleteCache(ctx.folders, kind, "*");
    }
    ClearRaceCache(ctx.store);
    app.changes.notify(Change::StoreReplaced);
    return nothing ? ImportOutcome::NoData : ImportOutcome::Aborted;
}

}  // namespace

std::string WithPassedOver(const std::string& text, int passedOver) {
    if (passedOver <= 0) return text;
    return text + " ( 不正なレコード " + std::to_string(passedOver) + " 件を読み飛ばしました )";
}

ImportOutcome ImportThisWeek(Application& app, WeeklyImportState& state, ImportTools tools) {
    return runCommand(kThisWeek, app, state, tools);
}

ImportOutcome ImportTokubetsu(Application& app, WeeklyImportState& state, ImportTools tools) {
    return runCommand(kTokubetsu, app, state, tools);
}

RaceListClick ClickRaceList(Application& app, DataImportModel& model, RowNo row, ColNo col, ImportTools tools) {
    UserInterface& ui = tools.ui;
    Pump& pump = tools.pump;
    Sheet& grid = model.fpsControl;
    if (model.busy) return RaceListClick::Ignored;
    if (row.value < 1 || row.value > grid.rowCount() || (col != kColImport && col != kColShow))
        return RaceListClick::Ignored;

    model.busy = true;
    RaceListClick result = RaceListClick::Ignored;
    try {
        CommandScope command(app.changes);
        pump.clearCancel();
        const std::string raceId = grid.text(row, kColRaceId);
        if (col == kColImport) {
            // All three run, whatever each returns; the status line keeps the last message.
            UpdateRace(app, model, raceId, tools);
            result = RaceListClick::Imported;
        } else {
            const bool checked = grid.text(row, kColShow) != "1";
            grid.setText(row, kColShow, checked ? "1" : "0");
            if (!checked) {
                result = RaceListClick::Unchecked;
            } else {
                // One race is shown at a time.
                {
                    SheetUpdate batch(grid);
                    for (int r = 1; r <= grid.rowCount(); ++r)
                        if (r != row.value && grid.text(RowNo(r), kColShow) == "1")
                            grid.setText(RowNo(r), kColShow, "0");
                }
                OpenRace(app, raceId, grid.text(row, kColLabel), pump);
                result = RaceListClick::Opened;
            }
        }
    } catch (...) {
        // The window stays usable; what was half done is not reported.
        ui.setStatus("");
        result = RaceListClick::Ignored;
    }
    model.busy = false;
    return result;
}

}  // namespace veltrix
