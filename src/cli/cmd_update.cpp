// veltrix-cli update odds|mining|kekka|all RACEID|week [--cancel-after N]: the
// import window's real-time updates against the JV-Link stand-in of the program
// folder, for one race ("取込" for all) or for the whole stored week (the batch
// buttons), with every question answered Yes.
#include <limits>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/update_commands.h"
#include "cli/command.h"
#include "cli/console_host.h"
#include "cli/program_folder.h"
#include "cli/jvlink_option.h"
#include "jvlink/standin/standin_jvlink.h"

namespace veltrix::cli {
namespace {

struct UpdateArgs {
    std::string what;        // odds, mining, kekka or all
    std::string target;      // a race id of the stored week, or "week"
    long long cancelAt = 0;  // turn at which the cancel flag is raised; 0: never
};

// "all" runs the three kinds in the order of the race list's "取込".
std::vector<RealTimeKind> kindsOf(const std::string& what) {
    if (what == "odds") return {RealTimeKind::Odds};
    if (what == "mining") return {RealTimeKind::Mining};
    if (what == "kekka") return {RealTimeKind::Kekka};
    return {RealTimeKind::Mining, RealTimeKind::Odds, RealTimeKind::Kekka};
}

int runUpdate(Context& ctx, const UpdateArgs& args) {
    Application app;
    if (OpenStoredWeek(ctx, app, false)) return 1;
    DataImportModel model;
    PutRaceList(model.fpsControl, app.store, app.raceCard.lblRace);
    const bool week = args.target == "week";
    if (!week && model.fpsControl.findRow(kColRaceId, args.target).value == 0) {
        ctx.err << "unknown race id: " << args.target << "\n";
        return 1;
    }
    if (week && app.store.DataMode != "KONSYU") {
        ctx.err << "real-time data is only for this week's races (DataMode KONSYU)\n";
        return 1;
    }

    ConsoleUserInterface ui(ctx.out);
    std::unique_ptr<JVLink> jv = OpenJVLink(ctx);
    if (!jv || InitJVLinkAtStartup(*jv, ui) != 0) return 1;
    CountingPump pump(args.cancelAt);
    SystemClock clock;
    const ImportTools tools{*jv, ui, pump, clock};

    bool allSucceeded = true;
    if (week) {
        // Each kind ends with its own message; a stopped batch does not stop the next kind.
        for (RealTimeKind kind : kindsOf(args.what))
            if (UpdateAll(kind, app, model, tools) != BatchOutcome::Done) allSucceeded = false;
    } else {
        // As "取込": the cancel flag is lowered once, before the first update.
        pump.clearCancel();
        for (RealTimeKind kind : kindsOf(args.what))
            if (UpdateRealTime(kind, app, model, args.target, tools) != 1) allSucceeded = false;
    }
    return allSucceeded ? 0 : 1;
}

void addUpdate(CLI::App& cli, Context& ctx) {
    auto args = std::make_shared<UpdateArgs>();
    auto* cmd = cli.add_subcommand(
        "update", "Real-time update of odds, data-mining forecast or quick result from the JV-Link stand-in");
    cmd->add_option("WHAT", args->what, "odds, mining, kekka, or all (mining, odds, kekka in this order)")
        ->required()
        ->check(CLI::IsMember({"odds", "mining", "kekka", "all"}));
    cmd->add_option("TARGET", args->target,
                    "A race id of the stored week, or week (every race in list order)")
        ->required()
        ->check(NonEmpty());
    AddNumberOption(*cmd, "--cancel-after", args->cancelAt, 1, std::numeric_limits<long long>::max(),
                    "Raise the cancel flag at the N-th turn of the sessions' loops");
    cmd->callback([&ctx, args] { ctx.status = runUpdate(ctx, *args); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addUpdate);

}  // namespace veltrix::cli
