// veltrix-cli graph timeline | histogram | history: the charts drawn from the
// past-performance pane of one runner; graph pace | race: the race's graphs.
// All as numbers, as the windows draw them.
#include <memory>
#include <ostream>

#include "app/graph_commands.h"
#include "app/pane_commands.h"
#include "base/fields.h"
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
    std::vector<std::string> toggles;  // pane runs clicked, in order
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

// A figure as the graph places it: as many decimals as it has, at least one.
std::string coordinate(double v) { return FormatNumber(v, "0.0####"); }

int runPace(Context& ctx, const GraphArgs& args) {
    Application app;
    if (ShowRace(ctx, app, args.raceId, args.calc, true)) return 1;
    OpenGraphWindows(app);
    const PaceGraph& g = app.paceGraph;
    ctx.out << "race\t" << coordinate(g.dblPaceZenhan) << '\t' << coordinate(g.dblPaceKouhan) << '\t'
            << (RacePointShown(g) ? "shown" : "hidden") << '\n';
    ctx.out << "standard\t" << coordinate(g.dblPaceZenhanKijyun) << '\t' << coordinate(g.dblPaceKouhanKijyun)
            << '\t' << (StandardPointShown(g) ? "shown" : "hidden") << '\n';
    return 0;
}

void printEntries(Context& ctx, const std::vector<RaceGraphEntry>& entries) {
    for (const RaceGraphEntry& e : entries)
        ctx.out << e.label << '\t' << coordinate(e.x) << '\t' << coordinate(e.y) << '\n';
}

int runRaceGraph(Context& ctx, const GraphArgs& args) {
    Application app;
    if (ShowRace(ctx, app, args.raceId, args.calc, true)) return 1;
    OpenGraphWindows(app);
    printEntries(ctx, app.raceGraph.entries);
    return 0;
}

int runHistoryGraph(Context& ctx, const GraphArgs& args) {
    Application app;
    if (showRunner(ctx, app, args)) return 1;
    for (const std::string& text : args.toggles) {
        const long long n = ParseInteger(text).value_or(0);
        if (ClickHistoryRun(app, RowNo(static_cast<int>(n)))) {
            ctx.err << "no run " << n << " in the pane\n";
            return 1;
        }
    }
    printEntries(ctx, app.historyGraph.entries);
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

    auto pace = std::make_shared<GraphArgs>();
    auto* p = graph.add_subcommand("pace", "The pace graph: the race point and the standard point");
    p->add_option("RACEID", pace->raceId, "Race id of the stored week")->required()->check(NonEmpty());
    AddCalculateOptions(*p, pace->calc);
    p->callback([&ctx, pace] { ctx.status = runPace(ctx, *pace); });

    auto race = std::make_shared<GraphArgs>();
    auto* r = graph.add_subcommand("race", "The predicted R-index graph: one labelled point per runner");
    r->add_option("RACEID", race->raceId, "Race id of the stored week")->required()->check(NonEmpty());
    AddCalculateOptions(*r, race->calc);
    r->callback([&ctx, race] { ctx.status = runRaceGraph(ctx, *race); });

    auto history = std::make_shared<GraphArgs>();
    auto* hi = graph.add_subcommand("history", "The R-index history graph: one labelled point per used run");
    addRunnerArgs(*hi, *history);
    hi->add_option("--toggle", history->toggles, "Click run N of the pane first (repeatable, in order)")
        ->type_name("N")
        ->allow_extra_args(false)
        ->check(CLI::Range(1, kPastRunSlots));
    hi->callback([&ctx, history] { ctx.status = runHistoryGraph(ctx, *history); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addGraph);

}  // namespace veltrix::cli
