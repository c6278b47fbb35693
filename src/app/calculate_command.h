#pragma once
// The calculate command and what the command line reads of its results.
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/application.h"
#include "base/host.h"

namespace veltrix {

// The palette's calculate button: the chosen period becomes Kikan (until the
// program ends), then every step of the calculation runs for the race on show.
// True when an error ended it.
bool Calculate(Application& app);

// After a calculation in which no runner had a run it could use: the one line
// that says why (no past run at all, no run with the analysis figures, or no
// run inside the palette's selection). nullopt when some runner had one.
std::optional<std::string> NoUsableRunMessage(const RaceCard& card);

// How the command line changes the palette that SetSelect left.
struct PaletteOptions {
    std::optional<int> periodDays;                    // 100 .. 900
    std::optional<std::string> rule;                  // ALL, TOP1, TOP3, TOP5, SIGMA
    std::vector<std::pair<std::string, bool>> boxes;  // caption as shown, checked
};
// Applies the options in order. True on failure; *error names the option.
bool ApplyPaletteOptions(SelectPalette& palette, const PaletteOptions& options, std::string* error = nullptr);

// The seven labels beside the race card: name and text as shown (empty when blank).
struct LabelLine {
    std::string name;
    std::string text;
};
std::array<LabelLine, 7> RaceCardLabelLines(const RaceCard& card);

// The filled PastRuns slots of a race card row, 32 fields each (field 32 the
// UseFlag). nullopt when the row is not on the race card.
std::optional<std::vector<std::array<std::string, 32>>> PastRunSlots(const RaceCard& card, int row);

// One race of the week after calculating it.
struct WeekRace {
    std::string raceId;
    std::string label;                      // as a person sees it
    std::vector<std::string> best;          // horse numbers of prediction ranks 1-3, ties in row order
    std::array<double, 3> scores{};         // popularity, data mining, own prediction; -1 when not computable
    std::array<std::string, 3> scoreTexts;  // as the score labels show them
};
// Opens every race of the stored week in turn and, when calculate is set,
// calculates it with the palette as SetSelect leaves it (changed by options).
// True on failure.
bool CalculateWeek(Application& app, Pump& pump, bool calculate, const PaletteOptions& options,
                   std::vector<WeekRace>& out, std::string* error = nullptr);
// The best three predictions of the race on show.
std::vector<std::string> BestPredictions(const RaceCard& card);

}  // namespace veltrix
