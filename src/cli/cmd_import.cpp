// veltrix-cli import: the weekly import commands of the import window against
// the JV-Link stand-in of the program folder, with every question answered Yes.
#include <ostream>
#include <string>

#include "app/import_commands.h"
#include "app/startup.h"
#include "base/fields.h"
#include "cli/command.h"
#include "jvlink/standin/standin_jvlink.h"

namespace veltrix::cli {
namespace {

// Prints what the window would show: questions, status lines (each once), messages.
class ConsoleUserInterface final : public UserInterface {
public:
    explicit ConsoleUserInterface(std::ostream& out) : out_(out) {}
    void showMessage(const std::string& text, Icon) override {
        if (text != lastStatus_) out_ << text << "\n";
    }
    bool askYesNo(const std::string& text, Icon, bool) override {
        out_ << text << "\n";
        return true;
    }
    std::string askSaveFileName(const std::string&, const std::string&, const std::string&) override { return {}; }
    void setStatus(const std::string& text) override {
        if (text == lastStatus_) return;
        lastStatus_ = text;
        out_ << text << "\n";
    }
    void setProgressMax(int) override {}
    void setProgress(int) override {}

private:
    std::ostream& out_;
    std::string lastStatus_;
};

// Counts the turns of the long loops; raises the cancel flag at turn cancelAt (0: never).
class CountingPump final : public Pump {
public:
    explicit CountingPump(long long cancelAt) : cancelAt_(cancelAt) {}
    void processEvents() override {
        if (++turns_ == cancelAt_) requestCancel();
    }

private:
    long long cancelAt_;
    long long turns_ = 0;
};

constexpr const char* kUsage = "usage: veltrix-cli [--root DIR] import week|toku [--cancel-after N]\n";

int runImport(Context& ctx) {
    std::string which;
    long long cancelAt = 0;
    for (size_t i = 0; i < ctx.args.size(); ++i) {
        const std::string& a = ctx.args[i];
        if (a == "--cancel-after" && i + 1 < ctx.args.size()) {
            auto n = ParseInteger(ctx.args[++i]);
            if (!n || *n < 1) {
                ctx.err << kUsage;
                return 1;
            }
            cancelAt = *n;
        } else if ((a == "week" || a == "toku") && which.empty()) {
            which = a;
        } else {
            ctx.err << kUsage;
            return 1;
        }
    }
    if (which.empty()) {
        ctx.err << kUsage;
        return 1;
    }

    Application app;
    std::string reason;
    StoreLoad load;
    // The stored week decides which question is asked.
    if (!StartApplication(app, ctx.root, load, reason)) {
        ctx.err << reason << "\n";
        return 1;
    }

    ConsoleUserInterface ui(ctx.out);
    StandinJVLink jv(StandinFolder(ctx.root));
    if (InitJVLinkAtStartup(jv, ui) != 0) return 1;

    CountingPump pump(cancelAt);
    SystemClock clock;
    WeeklyImportState state;
    const ImportTools tools{jv, ui, pump, clock};
    const ImportOutcome outcome =
        which == "week" ? ImportThisWeek(app, state, tools) : ImportTokubetsu(app, state, tools);
    return outcome == ImportOutcome::Imported ? 0 : 1;
}

}  // namespace

VELTRIX_CLI_COMMAND(import, "import",
                    "import week|toku [--cancel-after N]   weekly import from the stand-in, answering Yes",
                    runImport);

}  // namespace veltrix::cli
