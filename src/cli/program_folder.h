#pragma once
// Opening the program folder for a command, as the program does at start-up.
#include "app/application.h"
#include "cli/command.h"

namespace veltrix::cli {

// Start-up on ctx.root (folders, settings when readSettings, weekly files,
// analysis files) for a command that needs a stored week. True on failure, with
// a one-line reason on standard error: no stored week, a week that could not be
// read, or an analysis file that failed and emptied the store.
bool OpenStoredWeek(Context& ctx, Application& app, bool readSettings);

}  // namespace veltrix::cli
