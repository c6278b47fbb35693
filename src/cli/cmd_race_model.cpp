// veltrix-cli race-model RACEID [HORSE NAME]: the race model window's grid for a
// race of the results database, as SetRaceData fills it.
#include <memory>
#include <ostream>

#include "app/startup.h"
#include "cli/command.h"
#include "simulation/race_model.h"

namespace veltrix::cli {
namespace {

struct RaceModelArgs {
    std::string raceId;
    std::string horse;
};

int runRaceModel(Context& ctx, const RaceModelArgs& args) {
    Application app;
    std::string reason;
    if (PrepareApplication(app, ctx.root, reason, false)) {
        ctx.err << reason << "\n";
        return 1;
    }
    RaceModel model;
    const SeisekiFileStatus status = SetRaceData(model, app.folders.data, args.raceId, args.horse);
    if (status == SeisekiFileStatus::Damaged) {
        ctx.err << "the race file is damaged: " << args.raceId << "\n";
        return 1;
    }
    const Sheet& g = model.fpsSyuso;
    for (int c = 1; c <= g.colCount(); ++c) ctx.out << (c > 1 ? "\t" : "") << g.header(ColNo(c));
    ctx.out << '\n';
    for (int r = 1; r <= g.rowCount(); ++r) {
        for (int c = 1; c <= g.colCount(); ++c) ctx.out << (c > 1 ? "\t" : "") << g.text(RowNo(r), ColNo(c));
        ctx.out << '\n';
    }
    return 0;
}

void addRaceModel(CLI::App& cli, Context& ctx) {
    auto args = std::make_shared<RaceModelArgs>();
    auto* cmd = cli.add_subcommand("race-model", "The race model window's grid for a results-database race");
    cmd->add_option("RACEID", args->raceId, "Race id of the results database")->required()->check(NonEmpty());
    cmd->add_option("HORSE", args->horse, "Horse name to highlight");
    cmd->callback([&ctx, args] { ctx.status = runRaceModel(ctx, *args); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addRaceModel);

}  // namespace veltrix::cli
