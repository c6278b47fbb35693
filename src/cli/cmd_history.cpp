// veltrix-cli history UMACODE: the past runs of one horse with their merged
// analysis figures, as the program holds them after start-up.
#include <algorithm>
#include <filesystem>
#include <memory>
#include <ostream>

#include "cli/command.h"
#include "cli/program_folder.h"
#include "store/store.h"

namespace veltrix::cli {
namespace {

int runHistory(Context& ctx, const std::string& umaCode) {
    Application app;
    if (OpenStoredWeek(ctx, app, false)) return 1;

    const Store& s = app.store;
    bool known = false;
    for (int u = 1; u <= std::min(s.UmaCount, s.UmaInfo.rows()) && !known; ++u)
        known = s.UmaInfo.at(u, 2) == umaCode;
    const int rows = std::min(s.HistoryCount, s.HistoryInfo.rows());
    for (int h = 1; h <= rows; ++h) {
        if (s.HistoryInfo.at(h, 1) != umaCode) continue;
        known = true;
        for (int c = 1; c <= kHistoryInfoCols; ++c) {
            if (c > 1) ctx.out << '\t';
            ctx.out << s.HistoryInfo.at(h, c);
        }
        ctx.out << '\n';
    }
    if (!known) {
        ctx.err << "unknown UmaCode: " << umaCode << "\n";
        return 1;
    }
    return 0;
}

void addHistory(CLI::App& cli, Context& ctx) {
    auto umaCode = std::make_shared<std::string>();
    auto* cmd = cli.add_subcommand("history", "Past runs of one horse with their figures (43 columns)");
    cmd->add_option("UMACODE", *umaCode, "The horse's UmaCode")->required()->check(NonEmpty());
    cmd->callback([&ctx, umaCode] { ctx.status = runHistory(ctx, *umaCode); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addHistory);

}  // namespace veltrix::cli
