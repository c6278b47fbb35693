#include "app/tuning_command.h"

#include <exception>

#include "app/race_commands.h"
#include "racecard/race_card.h"

namespace veltrix {

bool ApplyTuningFields(Application& app, const TuningFields& fields, Pump& pump) {
    try {
        if (ApplyTuning(app.settings, fields)) return true;
        return RefreshRace(app, RaceIdOfLabel(app.raceCard.lblRace), pump);
    } catch (const std::exception&) {
        return true;
    }
}

void SetAutoTuning(Application& app, bool on) { app.settings.AutoTuning = on; }

bool SaveTuningFields(Application& app, const TuningFields& fields, const BeforeReplace& beforeReplace) {
    try {
        return SaveTuning(app.folders.program, fields, app.settings.AutoTuning, beforeReplace);
    } catch (const std::exception&) {
        return true;
    }
}

}  // namespace veltrix
