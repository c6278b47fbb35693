// veltrix-cli export RACEID FILE [--calculate ...]: the race card export of the
// File menu, with FILE as the save dialog's answer.
#include <memory>
#include <ostream>
#include <string>
#include <utility>

#include "app/export_command.h"
#include "cli/command.h"
#include "cli/race_options.h"

namespace veltrix::cli {
namespace {

struct ExportArgs {
    std::string raceId;
    std::string file;
    CalculateArgs calc;
};

// The save dialog answers FILE; the completion note goes to standard output,
// the failure note to standard error.
class ExportAnswers final : public UserInterface {
public:
    ExportAnswers(Context& ctx, std::string file) : ctx_(ctx), file_(std::move(file)) {}
    void showMessage(const std::string& text, Icon icon) override {
        (icon == Icon::Warning ? ctx_.err : ctx_.out) << text << '\n';
        failed_ = icon == Icon::Warning;
        told_ = true;
    }
    bool askYesNo(const std::string&, Icon, bool) override { return false; }
    std::string askSaveFileName(const std::string&, const std::string&, const std::string&) override {
        return file_;
    }
    void setStatus(const std::string&) override {}
    void setProgressMax(int) override {}
    void setProgress(int) override {}
    bool failed() const { return failed_ || !told_; }
    bool told() const { return told_; }

private:
    Context& ctx_;
    std::string file_;
    bool failed_ = false;
    bool told_ = false;
};

int runExport(Context& ctx, const ExportArgs& args) {
    Application app;
    if (ShowRace(ctx, app, args.raceId, args.calc, true)) return 1;
    ExportAnswers answers(ctx, args.file);
    NullPump pump;
    ExportRaceCardCommand(app, answers, pump);
    if (!answers.failed()) return 0;
    // A race card without rows asks nothing in the window; here it is a failed export too.
    if (!answers.told()) ctx.err << kExportFailed << '\n';
    return 1;
}

void addExport(CLI::App& cli, Context& ctx) {
    auto args = std::make_shared<ExportArgs>();
    auto* cmd = cli.add_subcommand("export", "Export sheet 1 of the race card as the File menu does (CP932 CSV)");
    cmd->add_option("RACEID", args->raceId, "Race id of the stored week")->required()->check(NonEmpty());
    cmd->add_option("FILE", args->file, "The file to write (replaced)")->required()->check(NonEmpty());
    AddCalculateOptions(*cmd, args->calc);
    cmd->callback([&ctx, args] { ctx.status = runExport(ctx, *args); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addExport);

}  // namespace veltrix::cli
