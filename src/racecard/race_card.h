#pragma once
// The race card: filling its three sheets from the store and the per-race
// tables, its past runs, sorting, the chosen runner and the aptitude colours.
// Each routine takes what it touches; opening a race as a whole is a command
// over the application.
#include <array>
#include <optional>
#include <string>

#include "base/host.h"
#include "racecard/columns.h"
#include "racecard/race_card_state.h"
#include "store/race_tables.h"
#include "store/store.h"

namespace veltrix {

// Column counts of the three sheets.
inline constexpr std::array<int, 3> kSheetColumns = {sheet1::kColumns, sheet2::kColumns, sheet3::kColumns};

// The race id of a label: its last 16 characters (empty when shorter).
std::string RaceIdOfLabel(const std::string& label);
// What a person sees of a race label: the text before the padding spaces and the race id.
std::string VisibleRaceLabel(const std::string& label);

// Sets up an empty grid: three sheets with their columns and headers, 0 rows.
void InitRaceCardSheets(RaceCard& card);
// Empties the grid, the labels and the current race.
void ResetRaceCard(RaceCard& card);
// Empties the three sheets (their columns stay).
void EmptySheets(RaceCard& card);
// Sheet 3 columns 14-16 are shown only while a quick result is loaded.
void ShowKekkaColumns(RaceCard& card, bool shown);

// Fills the rows of the three sheets from the store, with the marks of the
// per-race tables. True on failure (the race is not in the store).
bool FillRaceCard(RaceCard& card, const Store& store, const RaceTables& tables, const std::string& raceId);
// Fills PastRuns for every row of sheet 1 from scratch.
void BuildPastRuns(RaceCard& card, const Store& store, Pump& pump);

void ClearOdds(RaceTables& tables);
void ClearMining(RaceTables& tables);
void ClearKekka(RaceTables& tables);
void ClearRelateLabel(RaceCard& card);
void ClearScoreLabel(RaceCard& card);

// Odds sheet columns from the per-race tables.
void FillPopularityColumns(Sheet& oddsSheet, const OddsTables& odds);  // 6, 7 (clears 6-17 first)
void FillMiningColumns(Sheet& oddsSheet, const MiningTables& mining);  // 8, 9, 10
// 14-16, 18-19 as deviation scores, and the score labels.
void FillKekkaColumns(RaceCard& card, const KekkaTables& kekka);
// The per-race columns 6-19 of the tables that were read. The odds columns
// from 20 on are the odds view's (src/betting).
void FillPerRaceColumns(RaceCard& card, const RaceTables& tables, bool odds, bool mining, bool kekka);

// The colour scale of value ratios, red (low) through yellow and green to blue
// (high), in bands of 0.1 around 1.0: the odds view's "ODDS FILTER" colours and
// the heat map.
Rgb GetHeatColor(double value);

// Helpers.
std::string CircledNumber(int n);
std::string CornerText(const std::string& corners);
std::string IjyoName(const std::string& code);
int FindUmaban(const RaceCard& card, const std::string& umaCode);
// The horse number of a row (column 2) when it can index the per-race tables.
std::optional<int> HorseOfRow(const Sheet& sheet, RowNo row);
int BabaIndex(const std::string& going);
int CourseIndex(const std::string& course);
// Body weight text of a past run from its weight (kg) and change fields.
std::string BodyWeightText(const std::string& weight, const std::string& change);

// Column helpers. A cell has a value when it is not empty and its number is not 0.
std::optional<double> CellValue(const Sheet& sheet, RowNo row, ColNo col);
// Replaces the values of a column by deviation scores (sign -1: smaller scores
// higher). One value gives 50; when every value is equal (no spread) every one
// gives 50 as well. Cells without a value become empty.
void CalculateHensa(Sheet& sheet, ColNo col, int sign);
// Rank of each value of a column into the next column (equal values share a rank).
void PutJyuni(Sheet& sheet, ColNo col);

// Scores of the agreement with the result (-1 when not computable):
// [0] popularity, [1] data mining, [2] own prediction.
std::array<double, 3> CalculateScore(const Sheet& oddsSheet);
// Shows the scores in the score labels ("#.0", blank when negative).
void ShowScores(RaceCard& card, const std::array<double, 3>& scores);

// Sorting by a header: the order a header click sorts by, nullopt when the
// column is not sortable.
std::optional<SortOrder> SortableOrder(int sheetNo, ColNo col);
// Sorts sheet sheetNo (1..3) by col and brings the other two into the same order.
void SortRaceCard(RaceCard& card, int sheetNo, ColNo col, SortOrder order);
// A header click: sorts when the column is sortable. True when it sorted.
bool ClickHeader(RaceCard& card, int sheetNo, ColNo col);

// Marks the runner of a row as chosen (its name cell black on white on every
// sheet, HistoryUmaban). False when the row has no UmaCode or is the runner
// chosen last.
bool MarkChosenRunner(RaceCard& card, RowNo row);

// Colours the aptitude columns of sheet 2 for the race of the label.
void SetRaceJyoken(Sheet& keibajoSheet, const std::string& label, const std::string& dataMode);

}  // namespace veltrix
