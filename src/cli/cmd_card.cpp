// veltrix-cli card RACEID [--sheet 1|2|3] [--calculate ...] [--axis H]
// [--second COLUMN=H]... [--filter]: one sheet of the race card as the main
// window shows it after the race was opened from the import window, after the
// palette's calculate button and after clicks on the odds sheet.
#include <filesystem>
#include <memory>
#include <ostream>

#include "cli/command.h"
#include "cli/odds_options.h"
#include "cli/race_options.h"

namespace veltrix::cli {
namespace {

struct CardArgs {
    std::string raceId;
    long long sheetNo = 1;
    CalculateArgs calc;
    OddsOptions odds;
};

int runCard(Context& ctx, const CardArgs& args) {
    const int sheetNo = static_cast<int>(args.sheetNo);
    Application app;
    if (ShowRace(ctx, app, args.raceId, args.calc)) return 1;
    if (ApplyOddsOptions(ctx, app, args.odds)) return 1;
    const Sheet& sheet = app.raceCard.sheet(sheetNo);
    for (int c = 1; c <= sheet.colCount(); ++c) ctx.out << (c > 1 ? "\t" : "") << sheet.header(ColNo(c));
    ctx.out << '\n';
    for (int r = 1; r <= sheet.rowCount(); ++r) {
        for (int c = 1; c <= sheet.colCount(); ++c)
            ctx.out << (c > 1 ? "\t" : "") << sheet.text(RowNo(r), ColNo(c));
        ctx.out << '\n';
    }
    return 0;
}

void addCard(CLI::App& cli, Context& ctx) {
    auto args = std::make_shared<CardArgs>();
    auto* cmd = cli.add_subcommand("card", "One sheet of the race card, tab-separated");
    cmd->add_option("RACEID", args->raceId, "Race id of the stored week")->required()->check(NonEmpty());
    AddNumberOption(*cmd, "--sheet", args->sheetNo, 1, 3, "1 出走表 (default), 2 競馬場, 3 オッズ");
    AddCalculateOptions(*cmd, args->calc);
    AddOddsOptions(*cmd, args->odds);
    cmd->callback([&ctx, args] { ctx.status = runCard(ctx, *args); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addCard);

}  // namespace veltrix::cli
