// veltrix-cli print RACEID FILE.pdf [--calculate ...]: the printed race card of
// the File menu as a PDF file, through the printer's page layout. Built with
// the windows (it needs Qt's GUI library, on the offscreen platform).
#include <memory>
#include <ostream>

#include "cli/command.h"
#include "cli/race_options.h"
#include "print/race_card_printer.h"

namespace veltrix::cli {
namespace {

struct PrintArgs {
    std::string raceId;
    std::string file;
    CalculateArgs calc;
};

int runPrint(Context& ctx, const PrintArgs& args) {
    Application app;
    if (ShowRace(ctx, app, args.raceId, args.calc, true)) return 1;
    if (print::PrintRaceCardToPdf(app, args.file) != 0) {
        ctx.err << "the PDF file could not be written: " << args.file << '\n';
        return 1;
    }
    return 0;
}

void addPrint(CLI::App& cli, Context& ctx) {
    auto args = std::make_shared<PrintArgs>();
    auto* cmd = cli.add_subcommand("print", "Print the race card as the File menu does, to a PDF file");
    cmd->add_option("RACEID", args->raceId, "Race id of the stored week")->required()->check(NonEmpty());
    cmd->add_option("FILE", args->file, "The PDF file to write (replaced)")->required()->check(NonEmpty());
    AddCalculateOptions(*cmd, args->calc);
    cmd->callback([&ctx, args] { ctx.status = runPrint(ctx, *args); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addPrint);

}  // namespace veltrix::cli
