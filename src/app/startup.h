#pragma once
// The core half of start-up, shared by the main window and veltrix-cli.
#include <string>

#include "app/application.h"

namespace veltrix {

// Creates the "cache" and "data" folders when missing. Returns true on failure.
bool EnsureFolders(const Folders& folders);

// Reads the weekly store the way the main window does when it opens: only when
// all three weekly files exist. A damaged store is deleted and left empty.
// Returns 0 when the store was loaded or there was nothing to load, -1 when a
// load failed (the store is then empty and its files are gone).
int LoadStoreAtStartup(Application& app);

// Folders, then settings: sets app.folders to those of programFolder, creates
// the store folders and reads the settings. Returns true on failure, with a
// one-line reason; start-up then ends.
bool PrepareApplication(Application& app, const std::filesystem::path& programFolder, std::string& reason);

}  // namespace veltrix
