// veltrix-cli graph timeline | histogram: the charts drawn from the
// past-performance pane of one runner, as numbers.
#include <memory>
#include <ostream>

#include "app/pane_commands.h"
#include "base/format.h"
#include "cli/command.h"
#include "cli/graph_command.h"
#include "cli/race_options.h"

namespace veltrix::cli {

CLI::App& GraphCommand(CLI::App& cli) {
    for (CLI::App* sub : cli.get_subcommands([](CLI::App* a) { return a->get_name() == "graph"; }))
        return *sub;
    auto* graph = cli.add_subcommand("graph", "The numbers behind a chart");
    graph->require_subcommand(1);
    return *graph;
}

namespace {

struct GraphArgs {
    std::string raceId;
    long long horse = 0;
    long long option = 0;
    bool rl = false;
    CalculateArgs calc;
};

// The race shown, calculated when asked, and the runner chosen: the pane and
// its charts as the window shows them.
bool showRunner(Context& ctx, Application& app, const GraphArgs& args) {
    return ShowRace(ctx, app, args.raceId, args.calc, true) || ChooseHorse(ctx, app, args.horse);
}

std::string value(double v) { return FormatNumber(v, "0.0"); }

int runTimeline(Context& ctx, const GraphArgs& args) {
    Application app;
    if (showRunner(ctx, app, args)) return 1;
    SetGraphOption(app, static_cast<int>(args.option), args.rl);
    const TimelineChart& chart = app.timeline;
    ctx.out << "axis\t" << value(chart.axisMin) << '\t' << value(chart.axisMax) << '\n';
    for (int slot = 1; slot <= kTimelineSlots; ++slot) {
        const size_t i = static_cast<size_t>(slot - 1);
        ctx.out << slot << '\t' << value(chart.series[0].values[i]) << '\t'
                << (chart.series.size() > 1 ? value(chart.series[1].values[i]) : std::string()) << '\n';
    }
    return 0;
}

int runHistogram(Context& ctx, const GraphArgs& args) {
    Application app;
    if (showRunner(ctx, app, args)) return 1;
    for (size_t n = 0; n < app.detail.counts.size(); ++n) {
        ctx.out << kDetailChartNames[n];
        for (int count : app.detail.counts[n]) ctx.out << '\t' << count;
        ctx.out << '\n';
    }
    return 0;
}

void addRunnerArgs(CLI::App& cmd, GraphArgs& args) {
    cmd.add_option("RACEID", args.raceId, "Race id of the stored week")->required()->check(NonEmpty());
    AddNumberOption(cmd, "HORSE", args.horse, 0, 99, "Horse number of the runner")->required();
    AddCalculateOptions(cmd, args.calc);
}

void addGraph(CLI::App& cli, Context& ctx) {
    CLI::App& graph = GraphCommand(cli);

    auto timeline = std::make_shared<GraphArgs>();
    auto* t = graph.add_subcommand("timeline", "The R-index timeline chart: axis, then 233 weekly slots");
    addRunnerArgs(*t, *timeline);
    AddNumberOption(*t, "--option", timeline->option, 0, 2, "0 総合能力, 1 対象ﾚｰｽ, 2 RL/総合");
    t->add_flag("--rl", timeline->rl, "RL基準: centre the axis on the race level");
    t->callback([&ctx, timeline] { ctx.status = runTimeline(ctx, *timeline); });

    auto histogram = std::make_shared<GraphArgs>();
    auto* h = graph.add_subcommand("histogram", "The histogram: six charts of seven class counts");
    addRunnerArgs(*h, *histogram);
    h->callback([&ctx, histogram] { ctx.status = runHistogram(ctx, *histogram); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addGraph);

}  // namespace veltrix::cli
