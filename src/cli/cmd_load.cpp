// veltrix-cli load: the settings and the weekly store as the main window reads them at start-up.
#include <ostream>

#include "app/startup.h"
#include "cli/command.h"

namespace veltrix::cli {
namespace {

// The chooser label without the padding spaces and the race id that follow the text.
std::string visibleLabel(const std::string& label, const std::string& raceId) {
    std::string text = label;
    if (!raceId.empty() && text.size() >= raceId.size() && text.ends_with(raceId))
        text.resize(text.size() - raceId.size());
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

int runLoad(Context& ctx) {
    if (!ctx.args.empty()) {
        ctx.err << "usage: veltrix-cli [--root DIR] load\n";
        return 1;
    }
    Application app;
    std::string reason;
    if (PrepareApplication(app, ctx.root, reason)) {
        ctx.err << reason << "\n";
        return 1;
    }
    LoadStoreAtStartup(app);  // a damaged store is deleted and shows as empty
    const Store& s = app.store;
    ctx.out << "DataMode\t" << s.DataMode << "\n"
            << "RaceCount\t" << s.RaceCount << "\n"
            << "UmaCount\t" << s.UmaCount << "\n"
            << "HistoryCount\t" << s.HistoryCount << "\n";
    for (int r = 1; r <= s.RaceCount; ++r)
        ctx.out << "race\t" << s.RaceIdList[r] << "\t" << visibleLabel(s.RaceLabel[r], s.RaceIdList[r])
                << "\n";
    return 0;
}

}  // namespace

VELTRIX_CLI_COMMAND(load, "load", "load                 settings and weekly store as read at start-up",
                    runLoad);

}  // namespace veltrix::cli
