#include "app/startup.h"

#include <exception>

#include "app/analysis_commands.h"
#include "app/startup_checks.h"
#include "jvlink/session.h"
#include "store/weekly_store.h"

namespace veltrix {

bool PrepareApplication(Application& app, const std::filesystem::path& programFolder, std::string& reason,
                        bool readSettings) {
    app.folders = Folders::under(programFolder);
    if (CreateStoreFolders(app.folders)) {
        reason = "cannot create the folders cache and data under " + programFolder.string();
        return true;
    }
    return readSettings && ReadSettings(app.settings, programFolder, &reason);
}

StoreLoad LoadStoreAtStartup(Application& app, JVLink* jv, UserInterface& ui, Pump& pump) {
    StoreLoad load;
    if (jv && InitJVLinkAtStartup(*jv, ui) != 0) {
        load.jvlinkFailed = true;
        return load;
    }
    try {
        load.weekPresent = WeeklyFilesPresent(app.folders);
        if (load.weekPresent) {
            load.storeRead = !LoadRaceCache(app.store, app.folders);
        } else {
            ClearRaceCache(app.store);
        }
        load.merged = MergeAnalysisFiles(app, pump);
    } catch (const std::exception&) {
        // Start-up goes on with what was read so far, as after a failed step of
        // the load; StoreLoad tells the caller which steps completed.
    }
    app.changes.notify(Change::StoreReplaced);
    return load;
}

bool StartApplication(Application& app, const std::filesystem::path& programFolder, StoreLoad& load,
                      std::string& reason, bool readSettings) {
    if (PrepareApplication(app, programFolder, reason, readSettings)) return true;
    NullUserInterface ui;
    NullPump pump;
    load = LoadStoreAtStartup(app, nullptr, ui, pump);
    return false;
}

}  // namespace veltrix
