// veltrix-cli bets RACEID [ACTION]...: the race's bet list as the bet list
// window holds it after the race was opened, after the actions given.
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/betting_commands.h"
#include "base/fields.h"
#include "betting/kaime_list.h"
#include "cli/command.h"
#include "cli/race_on_card.h"

namespace veltrix::cli {
namespace {

struct BetsArgs {
    std::string raceId;
    std::vector<std::string> actions;
};

// Answers the save dialog with the file the command was given; keeps the message.
class ExportAnswer final : public UserInterface {
public:
    explicit ExportAnswer(std::string file) : file_(std::move(file)) {}
    std::string message;
    void showMessage(const std::string& text, Icon) override { message = text; }
    bool askYesNo(const std::string&, Icon, bool) override { return false; }
    std::string askSaveFileName(const std::string&, const std::string&, const std::string&) override {
        return file_;
    }
    void setStatus(const std::string&) override {}
    void setProgressMax(int) override {}
    void setProgress(int) override {}

private:
    std::string file_;
};

// A bet as the command line names it: a type code and its combination of
// two-digit horse numbers.
bool validBet(const std::string& code, const std::string& kumiban) {
    const int horses = KaimeHorseCount(code);
    if (horses == 0 || kumiban.size() != 2 * static_cast<size_t>(horses)) return false;
    for (int i = 1; i <= horses; ++i)
        if (!KumibanHorse(kumiban, i)) return false;
    return true;
}

// Runs one action from actions[i]; advances i past it. A one-line reason when it fails.
bool runAction(Context& ctx, Application& app, const std::vector<std::string>& a, size_t& i) {
    const std::string& name = a[i++];
    auto need = [&](size_t n) {
        if (i + n <= a.size()) return true;
        ctx.err << "bets: " << name << " needs " << n << (n == 1 ? " argument\n" : " arguments\n");
        return false;
    };
    if (name == "add" || name == "remove") {
        if (!need(2)) return true;
        const std::string& code = a[i];
        const std::string& kumiban = a[i + 1];
        i += 2;
        if (!validBet(code, kumiban)) {
            ctx.err << "bets: not a bet: " << code << " " << kumiban << "\n";
            return true;
        }
        if (name == "add")
            AddKaime(app, code, kumiban);
        else
            RemoveKaime(app, code, kumiban);
        return false;
    }
    if (name == "stake") {
        if (!need(2)) return true;
        const std::string& rowText = a[i];
        const std::string& amount = a[i + 1];
        i += 2;
        const KaimeList& list = app.betting.kaimeList;
        RowNo row(0);
        if (rowText == "T" && list.fpsKaimeList.rowCount() > 0) row = RowNo(list.fpsKaimeList.rowCount());
        if (auto n = ParseInteger(rowText); n && *n >= 1 && *n <= KaimeBetCount(list))
            row = RowNo(static_cast<int>(*n));
        if (row.value == 0) {
            ctx.err << "bets: no row " << rowText << " in the bet list\n";
            return true;
        }
        EditKingaku(app, row, amount);
        return false;
    }
    if (name == "equal-stake") {
        BunpaiKin(app);
        return false;
    }
    if (name == "equal-payout") {
        BunpaiHarai(app);
        return false;
    }
    if (name == "save") {
        if (!SaveKaimeList(app)) return false;
        ctx.err << "bets: the bet list could not be saved\n";
        return true;
    }
    if (name == "export") {
        if (!need(1)) return true;
        ExportAnswer answer(a[i++]);
        if (!PutKaimeCsv(app, answer)) return false;
        ctx.err << "bets: " << (answer.message.empty() ? "nothing to export" : answer.message) << "\n";
        return true;
    }
    ctx.err << "bets: unknown action: " << name << "\n";
    return true;
}

int runBets(Context& ctx, const BetsArgs& args) {
    Application app;
    if (OpenRaceOnCard(ctx, app, args.raceId, false)) return 1;
    for (size_t i = 0; i < args.actions.size();)
        if (runAction(ctx, app, args.actions, i)) return 1;
    const KaimeList& list = app.betting.kaimeList;
    const Sheet& s = list.fpsKaimeList;
    for (int r = 1; r <= s.rowCount(); ++r) {
        ctx.out << KaimeRowHeader(list, RowNo(r));
        for (int c = 1; c <= s.colCount(); ++c) ctx.out << '\t' << s.text(RowNo(r), ColNo(c));
        ctx.out << '\n';
    }
    return 0;
}

void addBets(CLI::App& cli, Context& ctx) {
    auto args = std::make_shared<BetsArgs>();
    auto* cmd = cli.add_subcommand("bets", "The race's bet list after the actions, tab-separated");
    cmd->add_option("RACEID", args->raceId, "Race id of the stored week")->required()->check(NonEmpty());
    cmd->add_option("ACTION", args->actions,
                    "add TYPE COMBINATION | remove TYPE COMBINATION | stake ROW|T AMOUNT | equal-stake | "
                    "equal-payout | save | export FILE");
    cmd->callback([&ctx, args] { ctx.status = runBets(ctx, *args); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addBets);

}  // namespace veltrix::cli
