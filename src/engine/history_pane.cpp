#include "engine/history_pane.h"

#include <array>

#include "base/format.h"
#include "engine/calculation.h"
#include "racecard/columns.h"
#include "racecard/race_card.h"

namespace veltrix {

namespace {

// Headers by column; 1 (race id), 4, 5 and 6 (codes) carry data without one.
constexpr std::array<const char*, kPaneColumns> kPaneHeaders = {
    "",     "日付", "レース名", "",     "",     "",       "条件", "場所", "馬場", "距離",
    "状態", "頭",   "騎手",     "負担", "人気", "馬体重", "展開", "着",   "RL",   "RLZ",
    "RLA",  "P前",  "P後",      "T前",  "T後",  "R前",    "R後",  "MD",   "総合"};
constexpr std::array<int, 4> kCodeColumns = {run::kRaceId, run::kSyubetsuCode, run::kJyokenCode,
                                             run::kTrackCode};

void paintRow(Sheet& s, RowNo row, RunColour colour) {
    const Rgb back = RunColourRgb(colour);
    for (int c = 1; c <= kPaneColumns; ++c) s.setColors(row, ColNo(c), kBlack, back);
}

}  // namespace

const char* RunColourName(RunColour colour) {
    switch (colour) {
        case RunColour::Grey:
            return "grey";
        case RunColour::Used:
            return "orange";
        case RunColour::Unused:
            return "cyan";
        case RunColour::Outside:
            return "green";
    }
    return "grey";
}

Rgb RunColourRgb(RunColour colour) {
    switch (colour) {
        case RunColour::Grey:
            return kPaneGrey;
        case RunColour::Used:
            return kPaneUsed;
        case RunColour::Unused:
            return kPaneUnused;
        case RunColour::Outside:
            return kPaneOutside;
    }
    return kPaneGrey;
}

RunColour PaneRowColour(const Sheet& pane, RowNo row) {
    const CellColor back = pane.cell(row, PaneColumn(run::kDate)).back;
    for (RunColour c : {RunColour::Used, RunColour::Unused, RunColour::Outside})
        if (back == RunColourRgb(c)) return c;
    return RunColour::Grey;
}

bool PaneRowAfterRest(const Sheet& pane, RowNo row) {
    return pane.cell(row, PaneColumn(run::kDate)).topBorder;
}

HistoryPane::HistoryPane() { InitHistoryPane(*this); }

void InitHistoryPane(HistoryPane& pane) {
    Sheet& s = pane.fpsHistory;
    SheetUpdate batch(s);
    s.setRowCount(0);
    s.setColCount(kPaneColumns);
    for (int c = 1; c <= kPaneColumns; ++c) s.setHeader(ColNo(c), kPaneHeaders[static_cast<size_t>(c - 1)]);
    // The race id and the codes are kept for the right-click, not read by the user.
    for (int c : kCodeColumns) s.setColumnHidden(PaneColumn(c), true);
    pane.umaCode.clear();
    pane.runner = 0;
    pane.topRow = 1;
}

void ClearHistoryPane(HistoryPane& pane) {
    pane.fpsHistory.setRowCount(0);
    pane.umaCode.clear();
    pane.runner = 0;
    pane.topRow = 1;
}

std::string RaceDateOfLabel(const std::string& label) { return Characters(label, 1, 10); }

RunColour ColourOfRun(const PastRuns& runs, int runner, int l, std::string_view raceDate,
                      const SelectPalette& palette, int kikan) {
    auto field = [&](int f) -> const std::string& { return runs.at(runner, l, f); };
    if (field(run::kValidity) != "ON") return RunColour::Grey;
    const auto days = DaysBetween(field(run::kDate), raceDate);
    // The calculation's own tests, in its order: the period, then the palette.
    if (!days || *days >= kikan) return RunColour::Outside;
    if (!CheckSelect(palette, field(run::kCourse), field(run::kTrack), field(run::kBaba), field(run::kKyori),
                     field(run::kJyokenName), field(run::kAge), IsKyuyoake(runs, runner, l)))
        return RunColour::Outside;
    return field(run::kUseFlag) == "ON" ? RunColour::Used : RunColour::Unused;
}

bool DrawHistory(HistoryPane& pane, const RaceCard& card, const SelectPalette& palette,
                 const Settings& settings, const std::string& umaCode) {
    if (umaCode.empty()) return true;
    int runner = FindUmaban(card, umaCode);
    if (runner < 1) return true;
    const PastRuns& runs = card.pastRuns;
    // A horse number beyond the past runs' rows has none stored: an empty pane,
    // never the runs of the runner shown before.
    if (runner > runs.rows()) runner = 0;
    const int n = runner > 0 ? runs.slotCount(runner) : 0;
    const std::string raceDate = RaceDateOfLabel(card.lblRace);

    Sheet& s = pane.fpsHistory;
    SheetUpdate batch(s);
    s.setRowCount(0);
    s.setRowCount(n);
    for (int l = 1; l <= n; ++l) {
        const RowNo row(l);
        if (l > 1 && IsKyuyoake(runs, runner, l))
            for (int c = 1; c <= kPaneColumns; ++c) s.setTopBorder(row, ColNo(c), true, kPaneRestBorder);
        const int last = runs.at(runner, l, run::kRL).empty() ? run::kJyuni : run::kRIndex;
        for (int f = 1; f <= last; ++f) s.setText(row, PaneColumn(f), runs.at(runner, l, f));
        paintRow(s, row, ColourOfRun(runs, runner, l, raceDate, palette, settings.Kikan));
    }
    pane.umaCode = umaCode;
    pane.runner = runner;
    pane.topRow = n >= kPaneVisibleRows ? n - kPaneVisibleRows + 1 : 1;
    return false;
}

bool ToggleHistoryRun(HistoryPane& pane, RaceCard& card, const SelectPalette& palette,
                      const Settings& settings, RowNo row) {
    if (pane.runner < 1 || pane.runner > card.pastRuns.rows()) return true;
    const int l = row.value;
    if (l < 1 || l > pane.fpsHistory.rowCount() || l > card.pastRuns.slotCount(pane.runner)) return true;
    std::string& validity = card.pastRuns.at(pane.runner, l, run::kValidity);
    if (validity == "ON")
        validity = "OFF";
    else if (validity == "OFF")
        validity = "ON";
    // The figures stay as the last calculation left them: a run switched on
    // again counts from the next calculation.
    paintRow(
        pane.fpsHistory, row,
        ColourOfRun(card.pastRuns, pane.runner, l, RaceDateOfLabel(card.lblRace), palette, settings.Kikan));
    return false;
}

std::optional<PastRaceChoice> PastRaceOfRow(const HistoryPane& pane, const RaceCard& card, RowNo row) {
    const Sheet& s = pane.fpsHistory;
    if (row.value < 1 || row.value > s.rowCount()) return std::nullopt;
    if (s.cell(row, PaneColumn(run::kDate)).back == kPaneGrey) return std::nullopt;
    auto col = [&](int field) -> const std::string& { return s.text(row, PaneColumn(field)); };
    PastRaceChoice c;
    const Sheet& s1 = card.sheet(kSheetSyuso);
    const RowNo cardRow = s1.findRow(card::kUmaCode, pane.umaCode);
    if (cardRow.value > 0) c.umaName = s1.text(cardRow, card::kName);
    c.raceId = col(run::kRaceId);
    c.caption = col(run::kDate) + " " + col(run::kCourse) + " " + col(run::kTrack) + col(run::kKyori) + " " +
                col(run::kRaceName);
    c.distance = col(run::kKyori);
    c.jyokenCode = col(run::kJyokenCode);
    c.syubetsuCode = col(run::kSyubetsuCode);
    c.trackCode = col(run::kTrackCode);
    c.raceLevel = col(run::kRL);
    c.paceZenhan = col(run::kPZenhan);
    c.paceKouhan = col(run::kPKouhan);
    return c;
}

}  // namespace veltrix
