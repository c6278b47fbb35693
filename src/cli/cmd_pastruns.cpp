// veltrix-cli pastruns RACEID ROW [--calculate ...]: the past runs of one race
// card row with their figures and, after a calculation, which of them it used.
#include <memory>
#include <ostream>

#include "cli/command.h"
#include "cli/race_options.h"

namespace veltrix::cli {
namespace {

struct PastRunsArgs {
    std::string raceId;
    long long row = 0;
    CalculateArgs calc;
};

int runPastRuns(Context& ctx, const PastRunsArgs& args) {
    Application app;
    if (ShowRace(ctx, app, args.raceId, args.calc)) return 1;
    auto slots = PastRunSlots(app.raceCard, static_cast<int>(args.row));
    if (!slots) {
        ctx.err << "no row " << args.row << " on the race card of " << args.raceId << "\n";
        return 1;
    }
    for (const auto& fields : *slots) {
        for (size_t f = 0; f < fields.size(); ++f) ctx.out << (f ? "\t" : "") << fields[f];
        ctx.out << '\n';
    }
    return 0;
}

void addPastRuns(CLI::App& cli, Context& ctx) {
    auto args = std::make_shared<PastRunsArgs>();
    auto* cmd = cli.add_subcommand("pastruns", "The PastRuns slots of one race card row, 32 fields each");
    cmd->add_option("RACEID", args->raceId, "Race id of the stored week")->required()->check(NonEmpty());
    AddNumberOption(*cmd, "ROW", args->row, 1, 1000, "Row of the race card (1 = the first)")->required();
    AddCalculateOptions(*cmd, args->calc);
    cmd->callback([&ctx, args] { ctx.status = runPastRuns(ctx, *args); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addPastRuns);

}  // namespace veltrix::cli
