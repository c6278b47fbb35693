// veltrix-cli import: the weekly import commands of the import window against
// the JV-Link stand-in of the program folder, with every question answered Yes.
#include <limits>
#include <memory>
#include <ostream>
#include <string>

#include "app/import_commands.h"
#include "app/startup.h"
#include "cli/command.h"
#include "cli/console_host.h"
#include "cli/program_folder.h"
#include "cli/jvlink_option.h"
#include "jvlink/standin/standin_jvlink.h"

namespace veltrix::cli {
namespace {

struct ImportArgs {
    std::string which;       // "week" or "toku"
    long long cancelAt = 0;  // turn at which the cancel flag is raised; 0: never
};

int runImport(Context& ctx, const ImportArgs& args) {
    const std::string& which = args.which;
    Application app;
    StoreLoad load;
    // The stored week decides which question is asked.
    if (OpenProgramFolder(ctx, app, load)) return 1;

    ConsoleUserInterface ui(ctx.out);
    std::unique_ptr<JVLink> jv = OpenJVLink(ctx);
    if (!jv || InitJVLinkAtStartup(*jv, ui) != 0) return 1;

    CountingPump pump(args.cancelAt);
    SystemClock clock;
    WeeklyImportState state;
    const ImportTools tools{*jv, ui, pump, clock};
    const ImportOutcome outcome =
        which == "week" ? ImportThisWeek(app, state, tools) : ImportTokubetsu(app, state, tools);
    return outcome == ImportOutcome::Imported ? 0 : 1;
}

void addImport(CLI::App& cli, Context& ctx) {
    auto args = std::make_shared<ImportArgs>();
    auto* cmd =
        cli.add_subcommand("import", "Weekly import from the JV-Link stand-in, answering every question Yes");
    cmd->add_option("WHAT", args->which, "week (this week's races) or toku (the special registrations)")
        ->required()
        ->check(CLI::IsMember({"week", "toku"}));
    AddNumberOption(*cmd, "--cancel-after", args->cancelAt, 1, std::numeric_limits<long long>::max(),
                    "Raise the cancel flag at the N-th turn of the long loops");
    cmd->callback([&ctx, args] { ctx.status = runImport(ctx, *args); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addImport);

}  // namespace veltrix::cli
