// veltrix-cli labels RACEID [--calculate ...]: the seven labels beside the race
// card, as the main window shows them.
#include <memory>
#include <ostream>

#include "cli/command.h"
#include "cli/race_options.h"

namespace veltrix::cli {
namespace {

struct LabelsArgs {
    std::string raceId;
    CalculateArgs calc;
};

int runLabels(Context& ctx, const LabelsArgs& args) {
    Application app;
    if (ShowRace(ctx, app, args.raceId, args.calc)) return 1;
    for (const LabelLine& line : RaceCardLabelLines(app.raceCard)) ctx.out << line.name << '\t' << line.text << '\n';
    return 0;
}

void addLabels(CLI::App& cli, Context& ctx) {
    auto args = std::make_shared<LabelsArgs>();
    auto* cmd = cli.add_subcommand("labels", "The race and score labels beside the race card");
    cmd->add_option("RACEID", args->raceId, "Race id of the stored week")->required()->check(NonEmpty());
    AddCalculateOptions(*cmd, args->calc);
    cmd->callback([&ctx, args] { ctx.status = runLabels(ctx, *args); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addLabels);

}  // namespace veltrix::cli
