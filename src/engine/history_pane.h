#pragma once
// The past-performance pane fpsHistory: the past runs of one runner with their
// figures, each row coloured by how the calculation treats the run, a red line
// over the first run after a rest. Clicking a run switches it off or on.
#include <optional>
#include <string>
#include <string_view>

#include "base/sheet.h"
#include "engine/select_palette.h"
#include "racecard/race_card_state.h"
#include "store/settings.h"

namespace veltrix {

// Pane column j shows PastRuns field j.
inline constexpr int kPaneColumns = 29;
inline constexpr ColNo PaneColumn(int field) { return ColNo(field); }

// Rows that are not shown scroll away once the pane holds more than this many.
inline constexpr int kPaneVisibleRows = 10;

// Row backgrounds.
inline constexpr Rgb kPaneGrey{220, 220, 220};     // not countable, or switched off
inline constexpr Rgb kPaneUsed{255, 204, 102};     // used by the last calculation
inline constexpr Rgb kPaneUnused{102, 255, 255};   // in the period and the palette, not used
inline constexpr Rgb kPaneOutside{220, 255, 220};  // valid, outside the period or the palette
inline constexpr Rgb kPaneRestBorder{255, 0, 0};

enum class RunColour { Grey, Used, Unused, Outside };
const char* RunColourName(RunColour colour);  // "grey", "orange", "cyan", "green"
Rgb RunColourRgb(RunColour colour);

// What the race model window needs of a past race chosen in the pane.
struct PastRaceChoice {
    std::string umaName;  // the runner's name on the race card
    std::string raceId;   // also the race-video key
    std::string caption;  // "date course track+distance race name"
    std::string distance;
    std::string jyokenCode;
    std::string syubetsuCode;
    std::string trackCode;
    std::string raceLevel;   // the run's "RL"
    std::string paceZenhan;  // "P前"
    std::string paceKouhan;  // "P後"
};
struct HistoryPane {
    Sheet fpsHistory;
    std::string umaCode;  // the runner shown; empty when none
    int runner = 0;       // its PastRuns row, 0 when none
    int topRow = 1;       // the first row the view scrolls to
    // The past race last chosen by a right click (lblJRV shows its race id).
    std::optional<PastRaceChoice> pastRace;
    HistoryPane();
};

// Sets the pane up with its columns and headers and no rows, showing no runner.
void InitHistoryPane(HistoryPane& pane);
void ClearHistoryPane(HistoryPane& pane);

// The race date of a race label (its first ten characters).
std::string RaceDateOfLabel(const std::string& label);

// How the calculation treats run l of a runner: not countable, used, eligible
// but not used (dropped by the rule or without figures), or outside the period
// or the palette. raceDate is YYYY/MM/DD.
RunColour ColourOfRun(const PastRuns& runs, int runner, int l, std::string_view raceDate,
                      const SelectPalette& palette, int kikan);

// The colour a pane row is painted in.
RunColour PaneRowColour(const Sheet& pane, RowNo row);
// Whether a pane row carries the red line of a run after a rest.
bool PaneRowAfterRest(const Sheet& pane, RowNo row);

// Fills the pane with the runs of the runner whose UmaCode is umaCode. True when
// the runner is not on the race card (the pane keeps what it showed).
bool DrawHistory(HistoryPane& pane, const RaceCard& card, const SelectPalette& palette,
                 const Settings& settings, const std::string& umaCode);

// A left click on pane row r: a countable run is switched off and turns grey, a
// switched-off one is switched on again and repainted; a run that never counts
// stays as it is. The figures are not recalculated. True when nothing was clicked
// (no runner shown, or a row outside the pane).
bool ToggleHistoryRun(HistoryPane& pane, RaceCard& card, const SelectPalette& palette,
                      const Settings& settings, RowNo row);

// The past race of pane row r, or nullopt for a grey row or a row outside the pane.
std::optional<PastRaceChoice> PastRaceOfRow(const HistoryPane& pane, const RaceCard& card, RowNo row);

}  // namespace veltrix
