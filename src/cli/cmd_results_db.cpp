// veltrix-cli results-db: the import window's "過去成績" against the JV-Link
// stand-in of the program folder, and what the results database holds.
#include <limits>
#include <memory>
#include <ostream>
#include <string>

#include "app/results_commands.h"
#include "app/startup.h"
#include "cli/command.h"
#include "cli/console_host.h"
#include "cli/jvlink_option.h"
#include "jvlink/standin/standin_jvlink.h"
#include "store/results_db.h"

namespace veltrix::cli {
namespace {

struct BuildArgs {
    long long cancelAt = 0;  // read turn at which the cancel request is raised; 0: never
    bool continueAfterCancel = false;
};

// Prints every question and status line. The command's question is answered
// Yes and the set-up question OK; the questions after them confirm a cancel and
// are answered Yes (abort) or, when told, No (go on reading).
class BuildConsole final : public UserInterface {
public:
    BuildConsole(std::ostream& out, bool continueAfterCancel)
        : console_(out), continueAfterCancel_(continueAfterCancel) {}
    void showMessage(const std::string& text, Icon icon) override { console_.showMessage(text, icon); }
    bool askYesNo(const std::string& text, Icon icon, bool defaultNo) override {
        console_.askYesNo(text, icon, defaultNo);
        return questions_++ == 0 || !continueAfterCancel_;
    }
    bool askOkCancel(const std::string& text, Icon icon) override { return console_.askOkCancel(text, icon); }
    std::string askSaveFileName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    void setStatus(const std::string& text) override { console_.setStatus(text); }
    void setProgressMax(int) override {}
    void setProgress(int) override {}

private:
    ConsoleUserInterface console_;
    bool continueAfterCancel_;
    int questions_ = 0;
};

int runBuild(Context& ctx, const BuildArgs& args) {
    Application app;
    std::string reason;
    // The database needs the folders only; the settings are not read.
    if (PrepareApplication(app, ctx.root, reason, false)) {
        ctx.err << reason << "\n";
        return 1;
    }
    BuildConsole ui(ctx.out, args.continueAfterCancel);
    // Every file counts as downloaded already, so each turn of the pump is a read turn.
    StandinOptions options;
    options.simulateDownload = false;
    std::unique_ptr<JVLink> jv = OpenJVLink(ctx, options);
    if (!jv || InitJVLinkAtStartup(*jv, ui) != 0) return 1;

    CountingPump pump(args.cancelAt);
    SystemClock clock;
    SessionState session;
    const RaceDataOutcome outcome = GetRaceData(app, session, ImportTools{*jv, ui, pump, clock});
    return outcome == RaceDataOutcome::Updated ? 0 : 1;
}

int runInfo(Context& ctx) {
    Application app;
    std::string reason;
    if (PrepareApplication(app, ctx.root, reason, false)) {
        ctx.err << reason << "\n";
        return 1;
    }
    DatabaseInfo info;
    if (ReadDatabaseInfo(app.folders.data, info) < 0) {
        ctx.err << "cannot write " << (app.folders.data / kDatabaseInfoName).string() << "\n";
        return 1;
    }
    ctx.out << info.stamp << "\t" << info.state << "\n"
            << "races\t" << CountSeisekiRaceFiles(app.folders.data) << "\n";
    return 0;
}

void addResultsDb(CLI::App& cli, Context& ctx) {
    auto* db =
        cli.add_subcommand("results-db", "The results database: build it from the stand-in, or show it");
    db->require_subcommand(1);

    auto args = std::make_shared<BuildArgs>();
    auto* build = db->add_subcommand(
        "build", "The import window's 過去成績 against the JV-Link stand-in, answering Yes and OK");
    AddNumberOption(*build, "--cancel-after", args->cancelAt, 1, std::numeric_limits<long long>::max(),
                    "Raise the cancel request at the N-th read turn and confirm it");
    build->add_flag("--continue-after-cancel", args->continueAfterCancel,
                    "Answer the cancel question No and read on");
    build->callback([&ctx, args] { ctx.status = runBuild(ctx, *args); });

    auto* info = db->add_subcommand("info", "The state file's stamp and state, and the race files present");
    info->callback([&ctx] { ctx.status = runInfo(ctx); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addResultsDb);

}  // namespace veltrix::cli
