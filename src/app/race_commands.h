#pragma once
// The race card's commands: opening a race, rebuilding it, resetting it and
// choosing a runner. Each tells the windows what changed.
#include <string>

#include "app/application.h"
#include "base/host.h"

namespace veltrix {

// The user chose a race: the secondary windows and per-race tables are cleared,
// the label goes into lblRace and the race is loaded. Returns true when an
// error ended the sequence.
bool OpenRace(Application& app, const std::string& raceId, const std::string& label, Pump& pump);
// Reads the race's per-race files and builds the race card. True when an error ended it.
bool LoadRace(Application& app, const std::string& raceId, Pump& pump);
// Rebuilds the open race from the store and the per-race tables in memory.
bool RefreshRace(Application& app, const std::string& raceId, Pump& pump);
// Clears everything shown about a race, before the data are replaced: the
// race card, its labels, the current race and the per-race tables.
void ResetData(Application& app);
// A click on the name cell of a row: chooses the runner. True when the runner changed.
bool ChooseRunner(Application& app, RowNo row);
// Another window is about to open over the race card.
void HideSecondaryWindows(Application& app);

}  // namespace veltrix
