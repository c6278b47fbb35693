#include "cli/program_folder.h"

#include <ostream>

#include "app/startup.h"
#include "store/weekly_store.h"

namespace veltrix::cli {

bool OpenProgramFolder(Context& ctx, Application& app, StoreLoad& load, bool readSettings) {
    std::string reason;
    if (StartApplication(app, ctx.root, load, reason, readSettings)) {
        ctx.err << reason << "\n";
        return true;
    }
    if (!load.damagedMessage.empty()) ctx.err << load.damagedMessage << "\n";
    return false;
}

bool OpenStoredWeek(Context& ctx, Application& app, bool readSettings) {
    StoreLoad load;
    if (OpenProgramFolder(ctx, app, load, readSettings)) return true;
    // A damaged file was deleted: its message above is the one line.
    if (!load.damagedMessage.empty()) return true;
    if (!load.weekPresent) {
        for (const char* name : {kCache1, kCache2, kCache3}) {
            if (FileExists(app.folders.cache / name)) continue;
            ctx.err << "no stored week: " << (app.folders.cache / name).string() << " is missing\n";
            break;
        }
        return true;
    }
    if (!load.storeRead) {
        ctx.err << "the weekly race files could not be read and were deleted\n";
        return true;
    }
    if (load.merged.ended && app.store.RaceCount == 0) {
        ctx.err << "an analysis file could not be read and was deleted; the store is empty\n";
        return true;
    }
    return false;
}

}  // namespace veltrix::cli
