// veltrix-cli load: the settings and the weekly store as the main window reads them at start-up.
#include <ostream>

#include "app/startup.h"
#include "cli/command.h"
#include "cli/program_folder.h"
#include "racecard/race_card.h"

namespace veltrix::cli {
namespace {

int runLoad(Context& ctx) {
    Application app;
    StoreLoad load;
    // A damaged store is deleted and shows as empty.
    if (OpenProgramFolder(ctx, app, load)) return 1;
    const AnalysisMergeResult& merged = load.merged;
    const Store& s = app.store;
    ctx.out << "DataMode\t" << s.DataMode << "\n"
            << "RaceCount\t" << s.RaceCount << "\n"
            << "UmaCount\t" << s.UmaCount << "\n"
            << "HistoryCount\t" << s.HistoryCount << "\n"
            << "Analysis\t" << merged.analysisFiles << "\n"
            << "Conditions\t" << merged.conditionRecords << "\n";
    for (int r = 1; r <= s.RaceCount; ++r)
        ctx.out << "race\t" << s.RaceIdList[r] << "\t" << VisibleRaceLabel(s.RaceLabel[r]) << "\n";
    return 0;
}

void addLoad(CLI::App& cli, Context& ctx) {
    auto* cmd = cli.add_subcommand("load", "Settings and weekly store as read at start-up");
    cmd->callback([&ctx] { ctx.status = runLoad(ctx); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addLoad);

}  // namespace veltrix::cli
