#include "app/betting_commands.h"

#include <vector>

#include "betting/betting.h"
#include "betting/kaime_csv.h"
#include "betting/kaime_money.h"
#include "graphs/heatmap.h"
#include "racecard/race_card.h"
#include "store/race_files.h"

namespace veltrix {

namespace {

// The race on show: the last 16 characters of lblRace, trimmed.
std::string raceIdOnShow(const Application& app) {
    std::string id = RaceIdOfLabel(app.raceCard.lblRace);
    const size_t b = id.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return id.substr(b, id.find_last_not_of(' ') - b + 1);
}

}  // namespace

bool ClickOddsCell(Application& app, RowNo row, ColNo col) {
    CommandScope command(app.changes);
    return ClickOddsSheet(app.raceCard, app.raceTables.odds, app.betting.oddsView, app.store.DataMode, row,
                          col);
}

void SetOddsFilter(Application& app, bool on) {
    CommandScope command(app.changes);
    SetOddsFilter(app.raceCard, app.raceTables.odds, app.betting.oddsView, on);
}

std::string OddsMenuCaption(const Application& app, RowNo row, ColNo col) {
    if (col.value < sheet3::kTansyo.value || col.value > sheet3::kSanrentan32.value) return {};
    return OddsPopupCaption(app.raceCard, app.raceTables.odds, app.betting.oddsView, row, col);
}

std::string KaimeListMenuCaption(const Application& app, RowNo row) {
    return KaimeListPopupCaption(app.betting.kaimeList, row);
}

bool AddKaime(Application& app, const std::string& code, const std::string& kumiban) {
    CommandScope command(app.changes);
    return !AddKaimeFromOdds(app.betting, app.raceCard, app.raceTables.odds, code, kumiban, "", true);
}

void RemoveKaime(Application& app, const std::string& code, const std::string& kumiban) {
    CommandScope command(app.changes);
    DeleteKaimeFromOdds(app.betting, app.raceCard, app.raceTables.odds, code, kumiban, true);
}

bool ToggleKaime(Application& app, const std::string& caption) {
    CommandScope command(app.changes);
    return ToggleKaimeFromCaption(app.betting, app.raceCard, app.raceTables.odds, caption);
}

bool MarkRunner(Application& app, RowNo row, int index) {
    RaceCard& card = app.raceCard;
    Sheet& syuso = card.sheet(kSheetSyuso);
    if (row.value < 1 || row.value > syuso.rowCount() || index < 0 ||
        index >= static_cast<int>(app.settings.Mark.size()))
        return true;
    CommandScope command(app.changes);
    const std::string& symbol = app.settings.Mark[static_cast<size_t>(index)];
    for (Sheet& s : card.sheets) s.setText(row, card::kMark, symbol);
    AddMark(app.raceTables, syuso.text(row, card::kUmaCode), syuso.text(row, card::kMark));
    std::vector<MarkEntry> rows;
    for (int r = 1; r <= syuso.rowCount(); ++r)
        rows.push_back({syuso.text(RowNo(r), card::kUmaCode), syuso.text(RowNo(r), card::kMark)});
    // A marks file that cannot be written keeps the one before; the card shows
    // the new mark either way, as nothing is said.
    WriteMarkCache(app.folders, raceIdOnShow(app), rows);
    PutMark(app.betting.kaimeList, syuso);
    return false;
}

bool EditKingaku(Application& app, RowNo row, const std::string& text) {
    CommandScope command(app.changes);
    return SetKingaku(app.betting.kaimeList, row, text);
}

bool BunpaiKin(Application& app) {
    CommandScope command(app.changes);
    return CalculateToshiKinto(app.betting.kaimeList);
}

bool BunpaiHarai(Application& app) {
    CommandScope command(app.changes);
    return CalculateHaraimodoshiKinto(app.betting.kaimeList);
}

bool SortKaime(Application& app, ColNo header) {
    CommandScope command(app.changes);
    return SortKaimeList(app.betting.kaimeList, header);
}

bool SaveKaimeList(Application& app) {
    CommandScope command(app.changes);
    const std::string raceId = raceIdOnShow(app);
    if (!IsRaceId(raceId)) return true;
    RebuildKaimeData(app.betting.kaimeList, app.raceTables.KaimeData);
    return WriteKaimeCache(app.folders, raceId, app.raceTables.KaimeData) != 0;
}

bool SaveKaimeListCommand(Application& app, UserInterface& ui) {
    if (SaveKaimeList(app)) {
        ui.showMessage("買い目リストを保存できませんでした。", Icon::Warning);
        return true;
    }
    ui.showMessage("買い目リストを保存しました。", Icon::Information);
    return false;
}

bool PutKaimeCsv(Application& app, UserInterface& ui) {
    CommandScope command(app.changes);
    const std::string raceId = raceIdOnShow(app);
    if (raceId.empty() || app.betting.kaimeList.fpsKaimeList.rowCount() == 0) return true;
    const std::string file =
        ui.askSaveFileName("CSVファイルへ出力", "csvﾌｧｲﾙ (*.csv)|*.csv", raceId + ".csv");
    if (file.empty()) return true;
    RebuildKaimeData(app.betting.kaimeList, app.raceTables.KaimeData);
    if (WriteKaimeCsv(file, raceId, app.raceTables.KaimeData)) {
        ui.showMessage("買い目リストの出力を中止しました。", Icon::Warning);
        return true;
    }
    ui.showMessage("買い目リストを出力しました。", Icon::Information);
    return false;
}

void RedrawOddsView(Application& app) { RedrawOddsView(app.betting, app.raceCard, app.raceTables.odds); }

bool ShowHeatMap(Application& app) {
    if (app.raceCard.lblRace.empty()) return true;
    CommandScope command(app.changes);
    SetHeatMap(app.heatmap, app.raceTables.odds);
    return false;
}

void SelectHeatMap(Application& app, int option, int pivotEntry) {
    CommandScope command(app.changes);
    if (option >= 0 && option < 4) app.heatmap.optShikibetsu = option;
    if (pivotEntry >= 0 && pivotEntry < kHorseMax) app.heatmap.cboJiku = pivotEntry;
    SetHeatMap(app.heatmap, app.raceTables.odds);
}

}  // namespace veltrix
