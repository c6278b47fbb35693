#pragma once
// The race card: opening a race, filling its three sheets from the store and
// the per-race tables, its past runs, sorting, choosing a runner and the
// aptitude colours.
#include <array>
#include <optional>
#include <string>

#include "app/application.h"
#include "app/host.h"
#include "racecard/race_card_state.h"
#include "store/race_files.h"

namespace veltrix {

// Column counts of the three sheets.
inline constexpr std::array<int, 3> kSheetColumns = {34, 29, 46};

// The windows around the race card that a race load must reset or feed. The main
// window implements it; headless callers pass NoRaceCardWindows.
class RaceCardWindows {
public:
    virtual ~RaceCardWindows() = default;
    // Selection palette, histogram, heat map, predicted R-index graph, R-index
    // history graph and bet list window lose what they showed of the old race.
    virtual void clearSecondaryWindows() = 0;
    // The chart area of the main window is cleared and redrawn.
    virtual void clearChart() = 0;
    // The past-performance grid is emptied.
    virtual void clearHistoryPane() = 0;
    // The bet list was read: the bet list window is rebuilt from KaimeData.
    virtual void betListLoaded() = 0;
    // The selection palette is set for the race of this label.
    virtual void setSelect(const std::string& label) = 0;
    // The commands that need an open race are enabled.
    virtual void raceOpened() = 0;
    // A runner was chosen by its name cell: its past runs and graphs are shown.
    virtual void runnerChosen(int row, const std::string& umaCode) = 0;
};

class NoRaceCardWindows final : public RaceCardWindows {
public:
    void clearSecondaryWindows() override {}
    void clearChart() override {}
    void clearHistoryPane() override {}
    void betListLoaded() override {}
    void setSelect(const std::string&) override {}
    void raceOpened() override {}
    void runnerChosen(int, const std::string&) override {}
};

// The race id of a label: its last 16 characters (empty when shorter).
std::string RaceIdOfLabel(const std::string& label);
// What a person sees of a race label: the text before the padding spaces and the race id.
std::string VisibleRaceLabel(const std::string& label);

// The user chose a race. Returns true when an error ended the sequence.
bool OpenRace(Application& app, const std::string& raceId, const std::string& label, RaceCardWindows& windows,
              Pump& pump);
// Reads the per-race files and builds the race card. True when an error ended it.
bool LoadRace(Application& app, const std::string& raceId, RaceCardWindows& windows, Pump& pump);
// Rebuilds the open race from the store and the per-race tables in memory.
bool RefreshRace(Application& app, const std::string& raceId, RaceCardWindows& windows, Pump& pump);
// Fills the rows of the three sheets from the store. True on failure.
bool FillRaceCard(Application& app, const std::string& raceId);
// Fills PastRuns for every row of sheet 1 (PastRuns must be sized to the rows).
void BuildPastRuns(Application& app, Pump& pump);
// Empties the grid, the labels, the current race and the per-race tables.
void ResetRaceCard(Application& app);

// Sets up an empty grid: three sheets with their columns and headers, 0 rows.
void InitRaceCardSheets(RaceCard& card);

void ClearOdds(RaceTables& tables);
void ClearMining(RaceTables& tables);
void ClearKekka(RaceTables& tables);
void ClearRelateLabel(RaceCard& card);
void ClearScoreLabel(RaceCard& card);

// Odds sheet columns from the per-race tables.
void FillPopularityColumns(Application& app);  // 6, 7 (clears 6-17 first)
void FillMiningColumns(Application& app);      // 8, 9, 10
void FillKekkaColumns(Application& app);       // 14-16, 18-19 as deviation scores, the scores
// Win and place columns (20-24) without an axis, and the struck-through names
// of horses whose win sale was cancelled (on all three sheets).
void PutTansyoOdds(Application& app);
void PutFukusyoOdds(Application& app);

// Helpers.
std::string CircledNumber(int n);
std::string CornerText(const std::string& corners);
std::string IjyoName(const std::string& code);
int FindUmaban(const RaceCard& card, const std::string& umaCode);
int BabaIndex(const std::string& going);
int CourseIndex(const std::string& course);
// Body weight text of a past run from its weight (kg) and change fields.
std::string BodyWeightText(const std::string& weight, const std::string& change);

// Column helpers. A cell has a value when it is not empty and its number is not 0.
std::optional<double> CellValue(const Sheet& sheet, int row, int col);
// Replaces the values of a column by deviation scores (sign -1: smaller scores
// higher). One value gives 50; when every value is equal (no spread) every one
// gives 50 as well. Cells without a value become empty.
void CalculateHensa(Sheet& sheet, int col, int sign);
// Rank of each value of a column into the next column (equal values share a rank).
void PutJyuni(Sheet& sheet, int col);

// Scores of the agreement with the result (-1 when not computable):
// [0] popularity, [1] data mining, [2] own prediction.
std::array<double, 3> CalculateScore(const Sheet& oddsSheet);
// Shows the scores in the score labels ("#.0", blank when negative).
void ShowScores(RaceCard& card, const std::array<double, 3>& scores);

// Sorting by a header: the order a header click sorts by, nullopt when the
// column is not sortable.
std::optional<SortOrder> SortableOrder(int sheetNo, int col);
// Sorts sheet sheetNo (1..3) by col and brings the other two into the same order.
void SortRaceCard(RaceCard& card, int sheetNo, int col, SortOrder order);
// A header click: sorts when the column is sortable. True when it sorted.
bool ClickHeader(RaceCard& card, int sheetNo, int col);

// A click on the name cell (column 5) of a row: chooses the runner. True when
// the runner changed.
bool ChooseRunner(Application& app, int row, RaceCardWindows& windows);

// Colours the aptitude columns of sheet 2 for the race of lblRace.
void SetRaceJyoken(Application& app);

}  // namespace veltrix
