// veltrix-cli pane RACEID HORSE [--calculate ...] [--toggle N]...: the
// past-performance pane of one runner with each row's colour and rest mark.
#include <memory>
#include <ostream>
#include <vector>

#include "app/pane_commands.h"
#include "base/fields.h"
#include "cli/command.h"
#include "cli/race_options.h"

namespace veltrix::cli {
namespace {

struct PaneArgs {
    std::string raceId;
    long long horse = 0;
    CalculateArgs calc;
    std::vector<std::string> toggles;  // run numbers, checked
};

int runPane(Context& ctx, const PaneArgs& args) {
    Application app;
    // The colours test the period, which comes from the settings.
    if (ShowRace(ctx, app, args.raceId, args.calc, true)) return 1;
    if (ChooseHorse(ctx, app, args.horse)) return 1;
    for (const std::string& text : args.toggles) {
        const long long n = ParseInteger(text).value_or(0);
        if (ClickHistoryRun(app, RowNo(static_cast<int>(n)))) {
            ctx.err << "no run " << n << " in the pane\n";
            return 1;
        }
    }
    const Sheet& s = app.pane.fpsHistory;
    for (int r = 1; r <= s.rowCount(); ++r) {
        for (int c = 1; c <= kPaneColumns; ++c) ctx.out << s.text(RowNo(r), ColNo(c)) << '\t';
        ctx.out << RunColourName(PaneRowColour(s, RowNo(r))) << '\t'
                << (PaneRowAfterRest(s, RowNo(r)) ? "rest" : "") << '\n';
    }
    return 0;
}

void addPane(CLI::App& cli, Context& ctx) {
    auto args = std::make_shared<PaneArgs>();
    auto* cmd = cli.add_subcommand("pane", "The past-performance pane of one runner, with row colours");
    cmd->add_option("RACEID", args->raceId, "Race id of the stored week")->required()->check(NonEmpty());
    AddNumberOption(*cmd, "HORSE", args->horse, 0, 99, "Horse number of the runner")->required();
    AddCalculateOptions(*cmd, args->calc);
    cmd->add_option("--toggle", args->toggles,
                    "Click run N of the pane before printing (repeatable, in order)")
        ->type_name("N")
        ->allow_extra_args(false)
        ->check(CLI::Validator(
            [](std::string& text) {
                const auto n = ParseInteger(text);
                return n && *n >= 1 && *n <= kPastRunSlots
                           ? std::string()
                           : "invalid value " + text + ", expected a whole number from 1 to 150";
            },
            ""));
    cmd->callback([&ctx, args] { ctx.status = runPane(ctx, *args); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addPane);

}  // namespace veltrix::cli
