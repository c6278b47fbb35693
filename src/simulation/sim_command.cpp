#include "simulation/sim_command.h"

#include <exception>

namespace veltrix {

namespace {

// Gives the window back however the run ends.
class StageGuard {
public:
    StageGuard(SimStage& stage, const LockedControls& controls) : stage_(stage), controls_(controls) {}
    ~StageGuard() {
        try {
            stage_.close(controls_);
        } catch (...) {
            // Closing is the last step; nothing is left for a failure to stop.
        }
    }
    StageGuard(const StageGuard&) = delete;
    StageGuard& operator=(const StageGuard&) = delete;

private:
    SimStage& stage_;
    const LockedControls& controls_;
};

}  // namespace

SimOutcome RunSimulation(const std::vector<SimEntry>& entries, const SimCommand& command, UserInterface& ui,
                         SimStage& stage, Clock& clock, SimRandom& random, SimResult& result) {
    result = {};
    if (CountSimTargets(entries) < 2) {
        ui.showMessage(command.tooFew, Icon::Warning);
        return SimOutcome::TooFew;
    }
    if (!ui.askYesNo(command.question, Icon::Question, false)) return SimOutcome::Declined;
    if (command.hideWindows) command.hideWindows();
    if (stage.open(command.controls, command.course, command.lanes)) return SimOutcome::NoStage;
    StageGuard guard(stage, command.controls);
    try {
        SimState state = PrepareRunners(entries, command.mode, command.course);
        result = RunSimulationLoop(state, command.course,
                                   SimDevices{stage.keyboard(), clock, stage.surface(), random});
    } catch (const std::exception&) {
        // The animation only shows; a failure in it ends it and the window comes back.
    }
    return SimOutcome::Ran;
}

}  // namespace veltrix
