#pragma once
// Opening the program folder for a command, as the program does at start-up.
#include "app/application.h"
#include "app/startup.h"
#include "cli/command.h"

namespace veltrix::cli {

// Start-up on ctx.root (folders, settings when readSettings, weekly files,
// analysis files) for a command that needs a stored week. True on failure, with
// a one-line reason on standard error: no stored week, a week that could not be
// read, or an analysis file that failed and emptied the store.
bool OpenStoredWeek(Context& ctx, Application& app, bool readSettings);

// Start-up on ctx.root as the main window's load does it. True on failure (the
// folders or the settings), with the reason on standard error. A damaged file
// that was deleted is not a failure: its message goes to standard error, as the
// program shows it in a message box.
bool OpenProgramFolder(Context& ctx, Application& app, StoreLoad& load, bool readSettings = true);

}  // namespace veltrix::cli
