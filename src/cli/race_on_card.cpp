#include "cli/race_on_card.h"

#include <ostream>

#include "app/race_commands.h"
#include "cli/program_folder.h"
#include "racecard/columns.h"

namespace veltrix::cli {

bool OpenRaceOnCard(Context& ctx, Application& app, const std::string& raceId, bool readSettings) {
    if (OpenStoredWeek(ctx, app, readSettings)) return true;
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
    return false;
}

std::optional<RowNo> RowOfHorse(Context& ctx, const Application& app, long long horse) {
    const Sheet& s = app.raceCard.sheet(kSheetOdds);
    for (int r = 1; r <= s.rowCount(); ++r)
        if (s.number(RowNo(r), card::kNo) == static_cast<double>(horse)) return RowNo(r);
    ctx.err << "no horse " << horse << " in the race\n";
    return std::nullopt;
}

}  // namespace veltrix::cli
