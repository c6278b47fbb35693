#pragma once
// The race model simulator window's model: the full result of one past race
// from the results database with four figures computed from that race's own
// times, and the result simulation over its rows.
#include <array>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "base/sheet.h"
#include "engine/history_pane.h"
#include "simulation/sim_command.h"
#include "store/results_db.h"

namespace veltrix {

inline constexpr int kRaceModelRows = 30;
inline constexpr int kRaceModelColumns = 18;

// Columns of the race model grid.
namespace race_model {
inline constexpr ColNo kNo{1};        // "No.": horse number on the frame colour
inline constexpr ColNo kName{2};      // "馬名"
inline constexpr ColNo kSeirei{3};    // "性齢"
inline constexpr ColNo kFutan{4};     // "負担"
inline constexpr ColNo kKisyu{5};     // "騎手"
inline constexpr ColNo kChokyo{6};    // "調教師"
inline constexpr ColNo kTansyo{7};    // "単勝"
inline constexpr ColNo kNinki{8};     // "人気"
inline constexpr ColNo kBataiju{9};   // "馬体重"
inline constexpr ColNo kTenkai{10};   // "展開": corners or the abnormality
inline constexpr ColNo kNyusen{11};   // "入線"
inline constexpr ColNo kKakutei{12};  // "確定"
inline constexpr ColNo kTime{13};     // "タイム"
inline constexpr ColNo kAgari{14};    // "上3F"
inline constexpr ColNo kRZenhan{15};  // "R前"
inline constexpr ColNo kRKouhan{16};  // "R後"
inline constexpr ColNo kRZentai{17};  // "R全"
inline constexpr ColNo kMD{18};       // "MD"
}  // namespace race_model

struct RaceModel {
    Sheet fpsSyuso;
    // Set from the past-performance pane before the window shows.
    std::string lblRace;  // caption of the race
    std::string lblJRV;   // race id of the race video
    std::string lblKyori;
    std::string lblJyokenCode;
    std::string lblSyubetsuCode;
    std::string lblTrackCode;
    std::array<std::string, 3> lblRelateValue;  // "RL", "P前", "P後" of the run
    std::string umaName;
    RaceModel();
};

// Empties the grid to its 18 headed columns and no rows.
void InitRaceModel(RaceModel& model);
// The labels of a past race chosen in the pane.
void SetRaceModelLabels(RaceModel& model, const PastRaceChoice& race);

// Loads the race file of the race id and fills the grid with the named horse
// highlighted, then computes columns 15 to 18. A missing file leaves the grid
// empty; a damaged one is reported as such and the grid stays empty too.
SeisekiFileStatus SetRaceData(RaceModel& model, const std::filesystem::path& dataFolder,
                              const std::string& raceId, const std::string& horseName);

// Fills the grid from the records up to the first without a frame number (at
// most 30), columns 15 to 17 in tenths of a second.
void FillRaceModelGrid(Sheet& grid, std::span<const SeisekiRecord> records, const std::string& horseName);
// Columns 17, 15 and 16 as deviation scores (a shorter time scores higher),
// column 18 from them, then as a deviation score.
void CalculateRaceModelFigures(Sheet& grid);
// "MD" of a row from its R前 l and R後 m, given the correlation r of the two
// columns; nullopt when r * r is 1 (the two columns say the same).
std::optional<double> MdValue(double l, double m, double r);

// Texts of the grid.
std::string RaceModelWeightText(const std::string& weight, const std::string& change);
std::string RaceTimeText(const std::string& time);  // "0587" -> " 58.7", "1345" -> "1.34.5"
std::string Last3FText(const std::string& last3f);  // "345" -> "34.5"
Rgb FrameBackColour(const std::string& frame);
Rgb FrameForeColour(const std::string& frame);

// A header click: some columns sort ascending, some descending, the others not
// at all. True when the column does not sort.
bool ClickRaceModelHeader(Sheet& grid, ColNo col);

// The rows as runners of a result simulation: total score R全, first part R前.
std::vector<SimEntry> RaceModelSimEntries(const Sheet& grid);

// Controls of the race model window that a simulation disables.
const LockedControls& RaceModelSimulationControls();
// cmdStart: the result simulation over the window's rows, on the window's own course.
SimOutcome StartRaceModelSimulation(const RaceModel& model, UserInterface& ui, SimStage& stage, Clock& clock,
                                    SimRandom& random, SimResult& result);

}  // namespace veltrix
