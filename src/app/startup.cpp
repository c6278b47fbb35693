#include "app/startup.h"

#include <system_error>

#include "store/weekly_store.h"

namespace veltrix {

bool EnsureFolders(const Folders& folders) {
    for (const auto& dir : {folders.cache, folders.data}) {
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        if (!std::filesystem::is_directory(dir, ec)) return true;
    }
    return false;
}

int LoadStoreAtStartup(Application& app) {
    std::error_code ec;
    for (const char* name : {kCache1, kCache2, kCache3}) {
        if (!std::filesystem::is_regular_file(app.folders.cache / name, ec)) {
            ClearRaceCache(app.store);
            return 0;
        }
    }
    return LoadRaceCache(app.store, app.folders) ? -1 : 0;
}

bool PrepareApplication(Application& app, const std::filesystem::path& programFolder, std::string& reason) {
    app.folders = Folders::under(programFolder);
    if (EnsureFolders(app.folders)) {
        reason = "cannot create the folders cache and data under " + programFolder.string();
        return true;
    }
    return ReadSettings(app.settings, programFolder, &reason);
}

}  // namespace veltrix
