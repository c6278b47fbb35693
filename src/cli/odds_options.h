#pragma once
// card --axis H --second COLUMN=H... --filter: the odds sheet's clicks and
// "ODDS FILTER" as the main window takes them.
#include <string>
#include <vector>

#include "app/application.h"
#include "cli/command.h"

namespace veltrix::cli {

struct OddsOptions {
    long long axis = 0;                // 0: no click
    std::vector<std::string> seconds;  // "33=5", in the order given
    bool filter = false;
};

// Adds the three options to the card command.
void AddOddsOptions(CLI::App& cmd, OddsOptions& options);
// Clicks column 20 of the axis horse, then each COLUMN on its horse's row, then
// switches the filter on. True on failure, with a one-line reason.
bool ApplyOddsOptions(Context& ctx, Application& app, const OddsOptions& options);

}  // namespace veltrix::cli
