#pragma once
// The core half of start-up, the one routine behind the main window's load and
// every command of veltrix-cli: folders, settings, JV-Link, the weekly files
// and the analysis files.
#include <filesystem>
#include <string>

#include "app/application.h"
#include "base/host.h"
#include "jvlink/jvlink.h"
#include "store/analysis_files.h"

namespace veltrix {

// Folders, then settings: sets app.folders to those of programFolder, creates
// the store folders and, when readSettings is set, reads the settings. Returns
// true on failure, with a one-line reason; start-up then ends.
bool PrepareApplication(Application& app, const std::filesystem::path& programFolder, std::string& reason,
                        bool readSettings = true);

struct StoreLoad {
    bool jvlinkFailed = false;  // JVInit failed: the message was shown and nothing was read
    bool weekPresent = false;   // all three weekly files were in the cache folder
    bool storeRead = false;     // and they were read: the analysis-file import is offered
    AnalysisMergeResult merged;
    // What the user was told about a damaged file that was deleted (empty when none).
    std::string damagedMessage;
};

// The message for a damaged weekly file (the week was deleted with it) and for
// a damaged analysis or condition file: which file, and what to do about it.
std::string DamagedWeeklyFileMessage(const std::filesystem::path& file);
std::string DamagedAnalysisFileMessage(const std::filesystem::path& file);

// The main window's load: JV-Link initialised with the software id (when jv is
// given), then the weekly files when all three exist, then the analysis files.
// A damaged file is deleted and leaves an empty store; the race card is reset
// then and the user is told which file it was (StoreLoad::damagedMessage). Any
// other error ends the load with what has been read so far.
// Windows hear StoreReplaced.
StoreLoad LoadStoreAtStartup(Application& app, JVLink* jv, UserInterface& ui, Pump& pump);

// Both halves for callers without windows or JV-Link (nobody is asked or shown
// anything; the caller prints load.damagedMessage). True on failure, with a
// one-line reason, when the folders or settings failed.
bool StartApplication(Application& app, const std::filesystem::path& programFolder, StoreLoad& load,
                      std::string& reason, bool readSettings = true);

}  // namespace veltrix
