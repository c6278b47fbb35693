// veltrix-cli card RACEID [--sheet 1|2|3]: one sheet of the race card as the
// main window shows it after the race was opened from the import window.
#include <filesystem>
#include <ostream>

#include "app/race_commands.h"
#include "cli/command.h"
#include "cli/program_folder.h"

namespace veltrix::cli {
namespace {

constexpr const char* kUsage = "usage: veltrix-cli [--root DIR] card RACEID [--sheet 1|2|3]\n";

int runCard(Context& ctx) {
    std::string raceId;
    int sheetNo = 1;
    for (size_t i = 0; i < ctx.args.size(); ++i) {
        const std::string& a = ctx.args[i];
        if (a == "--sheet" && i + 1 < ctx.args.size()) {
            const std::string& v = ctx.args[++i];
            if (v != "1" && v != "2" && v != "3") {
                ctx.err << kUsage;
                return 1;
            }
            sheetNo = v[0] - '0';
        } else if (raceId.empty() && !a.starts_with("--")) {
            raceId = a;
        } else {
            ctx.err << kUsage;
            return 1;
        }
    }
    if (raceId.empty()) {
        ctx.err << kUsage;
        return 1;
    }
    Application app;
    if (!OpenStoredWeek(ctx, app, false)) return 1;
    std::string label;
    for (int r = 1; r <= app.store.RaceCount; ++r)
        if (app.store.RaceIdList[r] == raceId) label = app.store.RaceLabel[r];
    if (label.empty()) {
        ctx.err << "unknown race id: " << raceId << "\n";
        return 1;
    }
    NullPump pump;
    if (OpenRace(app, raceId, label, pump)) {
        ctx.err << "the race could not be shown: " << raceId << "\n";
        return 1;
    }
    const Sheet& sheet = app.raceCard.sheet(sheetNo);
    for (int c = 1; c <= sheet.colCount(); ++c) ctx.out << (c > 1 ? "\t" : "") << sheet.header(ColNo(c));
    ctx.out << '\n';
    for (int r = 1; r <= sheet.rowCount(); ++r) {
        for (int c = 1; c <= sheet.colCount(); ++c) ctx.out << (c > 1 ? "\t" : "") << sheet.text(RowNo(r), ColNo(c));
        ctx.out << '\n';
    }
    return 0;
}

}  // namespace

VELTRIX_CLI_COMMAND(card, "card", "card RACEID [--sheet 1|2|3]   one sheet of the race card, tab-separated", runCard);

}  // namespace veltrix::cli
