#pragma once
// What the commands that show a race share: opening it as the import window's
// list does and, with --calculate, pressing the palette's calculate button.
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/calculate_command.h"
#include "cli/command.h"

namespace veltrix::cli {

// --calculate with the palette options --period DAYS, --rule NAME and
// --box CAPTION=0|1 (repeatable), which change the palette SetSelect leaves.
struct CalculateArgs {
    bool calculate = false;
    long long periodDays = 0;  // 0: as the palette stands
    std::string rule;          // empty: as the palette stands
    std::vector<std::string> boxes;
    PaletteOptions options() const;
};
void AddCalculateOptions(CLI::App& cmd, CalculateArgs& args);

// Start-up (with the settings when calculating or when readSettings is set),
// then the race opened and, with --calculate, calculated. True on failure, with
// one line on standard error.
bool ShowRace(Context& ctx, Application& app, const std::string& raceId, const CalculateArgs& calc,
              bool readSettings = false);

// Chooses the runner with horse number horse on the race card, as a click on its
// name does. True on failure (no such runner), with one line on standard error.
bool ChooseHorse(Context& ctx, Application& app, long long horse);

}  // namespace veltrix::cli
