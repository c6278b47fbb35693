// veltrix-cli mark RACEID HORSE INDEX: gives a runner a mark as the mark menu does.
#include <memory>
#include <ostream>

#include "app/betting_commands.h"
#include "cli/command.h"
#include "cli/race_on_card.h"
#include "racecard/columns.h"

namespace veltrix::cli {
namespace {

struct MarkArgs {
    std::string raceId;
    long long horse = 0;
    long long index = 0;
};

int runMark(Context& ctx, const MarkArgs& args) {
    Application app;
    if (OpenRaceOnCard(ctx, app, args.raceId, true)) return 1;
    auto row = RowOfHorse(ctx, app, args.horse);
    if (!row) return 1;
    if (MarkRunner(app, *row, static_cast<int>(args.index))) {
        ctx.err << "the mark could not be given\n";
        return 1;
    }
    // The runners with their marks as the race card shows them now.
    const Sheet& s = app.raceCard.sheet(kSheetSyuso);
    for (int r = 1; r <= s.rowCount(); ++r)
        ctx.out << s.text(RowNo(r), card::kNo) << '\t' << s.text(RowNo(r), card::kUmaCode) << '\t'
                << s.text(RowNo(r), card::kMark) << '\n';
    return 0;
}

void addMark(CLI::App& cli, Context& ctx) {
    auto args = std::make_shared<MarkArgs>();
    auto* cmd = cli.add_subcommand("mark", "Gives a runner a mark of the settings, as the mark menu does");
    cmd->add_option("RACEID", args->raceId, "Race id of the stored week")->required()->check(NonEmpty());
    AddNumberOption(*cmd, "HORSE", args->horse, 1, 18, "Horse number")->required();
    AddNumberOption(*cmd, "INDEX", args->index, 0, 14, "Mark number 0-14 (the settings' Mark symbols)")
        ->required();
    cmd->callback([&ctx, args] { ctx.status = runMark(ctx, *args); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addMark);

}  // namespace veltrix::cli
