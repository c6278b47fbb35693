// veltrix-cli week [--calculate ...]: every race of the stored week with the
// horse numbers of its three best predictions and its three scores.
#include <memory>
#include <ostream>

#include "cli/command.h"
#include "cli/program_folder.h"
#include "cli/race_options.h"

namespace veltrix::cli {
namespace {

int runWeek(Context& ctx, const CalculateArgs& calc) {
    Application app;
    if (OpenStoredWeek(ctx, app, calc.calculate)) return 1;
    NullPump pump;
    std::vector<WeekRace> week;
    std::string error;
    if (CalculateWeek(app, pump, calc.calculate, calc.options(), week, &error)) {
        ctx.err << "the week could not be listed: " << error << "\n";
        return 1;
    }
    for (const WeekRace& race : week) {
        ctx.out << race.raceId << '\t' << race.label;
        for (size_t i = 0; i < 3; ++i) ctx.out << '\t' << (i < race.best.size() ? race.best[i] : std::string());
        for (const std::string& score : race.scoreTexts) ctx.out << '\t' << score;
        ctx.out << '\n';
    }
    return 0;
}

void addWeek(CLI::App& cli, Context& ctx) {
    auto calc = std::make_shared<CalculateArgs>();
    auto* cmd = cli.add_subcommand("week", "Every race of the stored week: best three predictions and scores");
    AddCalculateOptions(*cmd, *calc);
    cmd->callback([&ctx, calc] { ctx.status = runWeek(ctx, *calc); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addWeek);

}  // namespace veltrix::cli
