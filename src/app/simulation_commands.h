#pragma once
// The main window's two simulations of the race on show, and the race model
// window opened from a past run of the pane.
#include <string>
#include <vector>

#include "app/application.h"
#include "app/graph_commands.h"
#include "simulation/race_model.h"
#include "simulation/sim_command.h"

namespace veltrix {

// The scores of race card rows 1 to 18 for a mode: prediction ("予測", R前) or
// quick result ("結果", its R前).
std::vector<SimEntry> RaceCardSimEntries(const RaceCard& card, SimMode mode);

// Main-window controls a simulation disables: the menus, the two pop-up menus,
// the odds filter, the four relation labels, the race caption and both grids.
const LockedControls& SimulationControls();
// The same without the race caption: what the race model window disables.
const LockedControls& RaceModelWindowControls();

// mnuYosokuSimulator / mnuKekkaSimulator: at least two runners, the question,
// the secondary windows hidden, the main window locked for the run and given
// back at its end.
SimOutcome RunRaceSimulation(Application& app, SimMode mode, UserInterface& ui, SimStage& stage, Clock& clock,
                             SimRandom& random, SimResult& result);

// mnuOperationRace: the race model of the past race last chosen in the pane,
// loaded from the results database. Hides the secondary windows. True when no
// past race was chosen.
bool OpenRaceModel(Application& app, RaceModel& model);

// The race model window's race figure labels: what the pace graph and the
// predicted R-index graph of that race take from the window's labels and rows.
PastRaceGraphs RaceModelGraphs(const RaceModel& model);

}  // namespace veltrix
