#include "app/startup.h"

#include <system_error>

#include "app/main_window_load.h"
#include "app/startup_checks.h"
#include "store/weekly_store.h"

namespace veltrix {

int LoadStoreAtStartup(Application& app) {
    if (!WeeklyFilesPresent(app.folders)) {
        ClearRaceCache(app.store);
        return 0;
    }
    return LoadRaceCache(app.store, app.folders) ? -1 : 0;
}

bool PrepareApplication(Application& app, const std::filesystem::path& programFolder, std::string& reason) {
    app.folders = Folders::under(programFolder);
    if (CreateStoreFolders(app.folders)) {
        reason = "cannot create the folders cache and data under " + programFolder.string();
        return true;
    }
    return ReadSettings(app.settings, programFolder, &reason);
}

}  // namespace veltrix
