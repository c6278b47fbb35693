#include "app/main_window_load.h"

#include <exception>

#include "app/startup_checks.h"
#include "store/weekly_store.h"

namespace veltrix {

bool WeeklyFilesPresent(const Folders& folders) {
    return FileExists(folders.cache / kCache1) && FileExists(folders.cache / kCache2) &&
           FileExists(folders.cache / kCache3);
}

MainWindowLoadResult LoadMainWindowData(Application& app, const MainWindowServices& services,
                                        UserInterface& ui) {
    MainWindowLoadResult result;
    if (!services.initJVLink || services.initJVLink(app) != 0) {
        ui.showMessage(kJVLinkInitFailedMessage, Icon::Warning);
        result.jvlinkFailed = true;
        return result;
    }
    // Any other error ends the load with what has been read so far; the window
    // still opens (with no race shown).
    try {
        if (WeeklyFilesPresent(app.folders) && services.loadRaceCache) {
            result.storeRead = !services.loadRaceCache(app);
        }
        if (services.mergeAnalysisFiles) services.mergeAnalysisFiles(app);
    } catch (const std::exception&) {
    }
    return result;
}

}  // namespace veltrix
