// veltrix-cli heatmap RACEID TYPE [PIVOT]: the heat map of the race as its
// window draws it for a bet type and pivot horse.
#include <memory>
#include <ostream>

#include "app/betting_commands.h"
#include "cli/command.h"
#include "cli/race_on_card.h"
#include "graphs/heatmap.h"

namespace veltrix::cli {
namespace {

struct HeatmapArgs {
    std::string raceId;
    long long type = 0;
    long long pivot = 1;
};

int runHeatmap(Context& ctx, const HeatmapArgs& args) {
    int option = -1;
    for (int o = 0; o < 4; ++o)
        if (HeatmapShikibetsuCode(o) == std::to_string(args.type)) option = o;
    if (option < 0) {
        ctx.err << "heatmap: TYPE is 4, 6, 7 or 8\n";
        return 1;
    }
    Application app;
    if (OpenRaceOnCard(ctx, app, args.raceId, false)) return 1;
    SelectHeatMap(app, option, static_cast<int>(args.pivot) - 1);
    const Sheet& s = app.heatmap.fpsHeatmap;
    for (int r = 1; r <= s.rowCount(); ++r) {
        for (int c = 1; c <= s.colCount(); ++c) ctx.out << (c > 1 ? "\t" : "") << s.text(RowNo(r), ColNo(c));
        ctx.out << '\n';
    }
    return 0;
}

void addHeatmap(CLI::App& cli, Context& ctx) {
    auto args = std::make_shared<HeatmapArgs>();
    auto* cmd =
        cli.add_subcommand("heatmap", "The heat map of a bet type: 18 lines of 18 cells, tab-separated");
    cmd->add_option("RACEID", args->raceId, "Race id of the stored week")->required()->check(NonEmpty());
    AddNumberOption(*cmd, "TYPE", args->type, 4, 8, "Bet type code: 4 馬連, 6 馬単, 7 3連複, 8 3連単")
        ->required();
    AddNumberOption(*cmd, "PIVOT", args->pivot, 1, 18, "Pivot horse of 3連複 and 3連単 (default 1)");
    cmd->callback([&ctx, args] { ctx.status = runHeatmap(ctx, *args); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addHeatmap);

}  // namespace veltrix::cli
