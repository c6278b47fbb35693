#pragma once
// The index calculation: for every runner of the race card, which past runs
// count (period, palette, rule), their figures averaged into the runner's row,
// the R index by course and distance and the running record; then the
// race-wide figures, predictions, ranks and scores.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/select_palette.h"
#include "racecard/race_card_state.h"
#include "store/condition_table.h"
#include "store/settings.h"

namespace veltrix {

// Runs every step of the calculation for the race of card.lblRace, in order:
// the per-runner figures, then the race-wide steps. dataMode is "KONSYU" or
// "TOKUBETSU" (where the label keeps the distance).
void CalculateRace(RaceCard& card, const SelectPalette& palette, const Settings& settings,
                   const Conditions& conditions, const std::string& dataMode);

// ---- per runner ----

// The race distance of a label: 4 characters from character 26 ("KONSYU") or
// 20 ("TOKUBETSU"); empty in another mode.
std::string RaceDistanceOf(const std::string& label, const std::string& dataMode);
// Days from one YYYY/MM/DD date to a later one; nullopt when either is not a date.
std::optional<int> DaysBetween(std::string_view earlier, std::string_view later);

// Fills sheet 1 columns 8-16 and 20 and sheet 2 of every runner from its used
// past runs, and writes every stored run's UseFlag.
void CalculateUmaIndex(RaceCard& card, const SelectPalette& palette, const Settings& settings,
                       const std::string& dataMode);
// Whether run l of a runner is the first after a rest (more than 90 days after
// the run before it); the oldest stored run always is.
bool IsKyuyoake(const PastRuns& runs, int runner, int run);
// Distance step 0..6 (3 = same class) of a past run for today's distance; -1
// when either distance has no class in the past run's track type.
int GetKyoriIndex(std::string_view track, std::string_view pastDistance, std::string_view raceDistance);
// Whether run l is among the runner's best one, three or five used runs by R
// index (a later run ranks above an equal earlier one), or within two sample
// deviations of their mean (always with fewer than two used runs).
bool IsTop1(const PastRuns& runs, int runner, int run);
bool IsTop3(const PastRuns& runs, int runner, int run);
bool IsTop5(const PastRuns& runs, int runner, int run);
bool IsInSigma(const PastRuns& runs, int runner, int run);

// The running record's four counters (1st, 2nd, 3rd, 4th or worse).
struct SeisekiCounts {
    std::array<int, 4> count{};
};
// Counts a run on turf or dirt whose course, going and distance boxes are all
// checked and whose placing is above 0, and returns the record ("  1- 0- 2- 3").
// An empty course resets the counters and returns "".
std::string MakeSeisekiString(SeisekiCounts& counts, const SelectPalette& palette, std::string_view course,
                              std::string_view track, std::string_view distance, std::string_view going,
                              int placing);
// The first sheet row whose "No." reads key, or 0.
int SearchSyusoRow(const Sheet& syuso, const std::string& key);

// ---- race-wide ----

// Race level and the three pace labels from the runners with an "RL" figure.
void SetRelateValue(RaceCard& card);
// The race's condition key: surface, age and condition class and the distance.
std::string MakeConditionKey(const std::string& trackCode, const std::string& syubetsuCode,
                             const std::string& jyokenCode, const std::string& raceDistance);
// c1..c9 of the first row of the table with the key, or the defaults.
std::array<double, 9> ConditionCoefficients(const Conditions& conditions, const std::string& key);
inline constexpr std::array<double, 9> kDefaultCoefficients = {0.2, 0.7, 0.1, 0.3, 0.7, 0.1, 0.2, 0.25, 0.45};
// Sheet 1 columns 17-19 by the condition-class model; paceSlope is the pace slope label.
void CalculateAutoYosoku(Sheet& syuso, const std::array<double, 9>& c, const std::string& paceSlope);
// Sheet 1 column 21 by the tuning weights; empties sheet 3 column 11.
void CalculateYosoku(Sheet& syuso, Sheet& odds, const Settings& settings, const std::string& paceSlope);
// Sheet 3 column 11 from sheet 1 column 19 (auto tuning) or 21.
void SetYosoku(const Sheet& syuso, Sheet& odds, bool autoTuning);
// Sheet 3 column 11 as deviation scores, and its difference to the popularity figure in column 13.
void CalculateYosokuHensa(Sheet& odds);
// Rank of the arrival order (col) among the runners with a prediction, into column 17.
void PutKekkaJyuni(Sheet& odds, ColNo col);

}  // namespace veltrix
