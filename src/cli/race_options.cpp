#include "cli/race_options.h"

#include <ostream>

#include "app/race_commands.h"
#include "base/fields.h"
#include "cli/program_folder.h"
#include "racecard/columns.h"

namespace veltrix::cli {

PaletteOptions CalculateArgs::options() const {
    PaletteOptions o;
    if (periodDays > 0) o.periodDays = static_cast<int>(periodDays);
    if (!rule.empty()) o.rule = rule;
    for (const std::string& box : boxes) {
        const size_t eq = box.rfind('=');
        o.boxes.emplace_back(box.substr(0, eq), box.substr(eq + 1) == "1");
    }
    return o;
}

void AddCalculateOptions(CLI::App& cmd, CalculateArgs& args) {
    CLI::Option* calculate =
        cmd.add_flag("--calculate", args.calculate, "Press the selection palette's calculate button");
    AddNumberOption(cmd, "--period", args.periodDays, 100, 900, "Period in days (100-900, in hundreds)")
        ->needs(calculate);
    cmd.add_option("--rule", args.rule, "Rule: ALL, TOP1, TOP3, TOP5 or SIGMA")
        ->check(CLI::IsMember({"ALL", "TOP1", "TOP3", "TOP5", "SIGMA"}))
        ->needs(calculate);
    cmd.add_option("--box", args.boxes, "CAPTION=0|1: a palette box by its caption, unchecked or checked")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                const size_t eq = text.rfind('=');
                if (eq == std::string::npos || eq == 0 || (text.substr(eq + 1) != "0" && text.substr(eq + 1) != "1"))
                    return "expected CAPTION=0 or CAPTION=1, got " + text;
                return {};
            },
            "CAPTION=0|1"))
        ->needs(calculate);
}

bool ShowRace(Context& ctx, Application& app, const std::string& raceId, const CalculateArgs& calc,
              bool readSettings) {
    if (OpenStoredWeek(ctx, app, calc.calculate || readSettings)) return true;
    std::string label;
    for (int r = 1; r <= app.store.RaceCount; ++r)
        if (app.store.RaceIdList[r] == raceId) label = app.store.RaceLabel[r];
    if (label.empty()) {
        ctx.err << "unknown race id: " << raceId << "\n";
        return true;
    }
    NullPump pump;
    if (OpenRace(app, raceId, label, pump)) {
        ctx.err << "the race could not be shown: " << raceId << "\n";
        return true;
    }
    if (!calc.calculate) return false;
    std::string error;
    if (ApplyPaletteOptions(app.palette, calc.options(), &error)) {
        ctx.err << "the palette has no " << error << "\n";
        return true;
    }
    if (Calculate(app)) {
        ctx.err << "the calculation ended with an error: " << raceId << "\n";
        return true;
    }
    return false;
}

bool ChooseHorse(Context& ctx, Application& app, long long horse) {
    const Sheet& s1 = app.raceCard.sheet(kSheetSyuso);
    for (int r = 1; r <= s1.rowCount(); ++r) {
        if (ParseInteger(s1.text(RowNo(r), card::kNo)) != horse) continue;
        // The runner shown already stays chosen.
        if (s1.text(RowNo(r), card::kUmaCode) != app.raceCard.lastUmaCode) ChooseRunner(app, RowNo(r));
        if (!app.pane.umaCode.empty()) return false;
        break;
    }
    ctx.err << "no runner with horse number " << horse << " on the race card\n";
    return true;
}

}  // namespace veltrix::cli
