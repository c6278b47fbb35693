#pragma once
// Opening one race of the stored week on the race card, for the commands that
// work on the race on show (bets, mark, heatmap).
#include <optional>
#include <string>

#include "app/application.h"
#include "cli/command.h"

namespace veltrix::cli {

// Start-up on ctx.root (settings when readSettings) and the race opened as the
// import window's race list opens it. True on failure, with a one-line reason.
bool OpenRaceOnCard(Context& ctx, Application& app, const std::string& raceId, bool readSettings);

// The race card row of a horse number; nullopt with a one-line reason when the
// race has no such runner.
std::optional<RowNo> RowOfHorse(Context& ctx, const Application& app, long long horse);

}  // namespace veltrix::cli
