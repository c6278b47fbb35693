#include "app/startup.h"

#include <exception>

#include "app/analysis_commands.h"
#include "app/startup_checks.h"
#include "jvlink/session.h"
#include "store/weekly_store.h"

namespace veltrix {

std::string DamagedWeeklyFileMessage(const std::filesystem::path& file) {
    return "レース情報のファイル「" + file.string() +
           "」が壊れていたため、レース情報を削除しました。レース情報を再度インポートしてください。";
}

std::string DamagedAnalysisFileMessage(const std::filesystem::path& file) {
    return "分析ファイル「" + file.string() +
           "」が壊れていたため削除しました。分析ファイルを再度インポートしてください。";
}

bool PrepareApplication(Application& app, const std::filesystem::path& programFolder, std::string& reason,
                        bool readSettings) {
    app.folders = Folders::under(programFolder);
    if (CreateStoreFolders(app.folders, &reason)) return true;
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
            std::filesystem::path damaged;
            load.storeRead = !LoadRaceCache(app.store, app.folders, &damaged);
            if (!load.storeRead) load.damagedMessage = DamagedWeeklyFileMessage(damaged);
        } else {
            ClearRaceCache(app.store);
        }
        load.merged = MergeAnalysisFiles(app, pump);
        if (load.merged.failed && load.damagedMessage.empty())
            load.damagedMessage = DamagedAnalysisFileMessage(load.merged.damagedFile);
    } catch (const std::exception&) {
        // Start-up goes on with what was read so far, as after a failed step of
        // the load; StoreLoad tells the caller which steps completed.
    }
    app.changes.notify(Change::StoreReplaced);
    // Deleting the user's week without a word would look like data lost for no reason.
    if (!load.damagedMessage.empty()) ui.showMessage(load.damagedMessage, Icon::Warning);
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
