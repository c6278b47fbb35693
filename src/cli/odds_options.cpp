#include "cli/odds_options.h"

#include <ostream>

#include "app/betting_commands.h"
#include "base/fields.h"
#include "cli/race_on_card.h"
#include "racecard/columns.h"

namespace veltrix::cli {

namespace {

struct SecondClick {
    int col = 0;
    long long horse = 0;
};

// "COLUMN=H" with COLUMN 33 or an odd column from 35 to 45.
std::optional<SecondClick> parseSecond(const std::string& text) {
    const size_t eq = text.find('=');
    if (eq == std::string::npos) return std::nullopt;
    auto col = ParseInteger(text.substr(0, eq));
    auto horse = ParseInteger(text.substr(eq + 1));
    if (!col || !horse || *horse < 1 || *horse > 18) return std::nullopt;
    if (*col != 33 && !(*col >= 35 && *col <= 45 && *col % 2 == 1)) return std::nullopt;
    return SecondClick{static_cast<int>(*col), *horse};
}

}  // namespace

void AddOddsOptions(CLI::App& cmd, OddsOptions& options) {
    AddNumberOption(cmd, "--axis", options.axis, 1, 18, "Sheet 3: click column 20 (単勝) of horse H");
    cmd.add_option("--second", options.seconds,
                   "Sheet 3: click COLUMN (33, or 35, 37, ..., 45) on horse H's row, in the order given")
        ->type_name("COLUMN=H")
        ->check(CLI::Validator(
            [](std::string& text) {
                return parseSecond(text) ? std::string()
                                         : "expected COLUMN=H with COLUMN 33 or 35-45 odd, H 1-18";
            },
            ""));
    cmd.add_flag("--filter", options.filter, "Sheet 3: switch ODDS FILTER on");
}

bool ApplyOddsOptions(Context& ctx, Application& app, const OddsOptions& options) {
    if (options.axis > 0) {
        auto row = RowOfHorse(ctx, app, options.axis);
        if (!row) return true;
        ClickOddsCell(app, *row, sheet3::kTansyo);
    }
    for (const std::string& text : options.seconds) {
        auto click = parseSecond(text);
        auto row = click ? RowOfHorse(ctx, app, click->horse) : std::nullopt;
        if (!row) return true;
        ClickOddsCell(app, *row, ColNo(click->col));
    }
    if (options.filter) SetOddsFilter(app, true);
    return false;
}

}  // namespace veltrix::cli
