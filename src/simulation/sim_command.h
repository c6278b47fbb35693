#pragma once
// One simulation as a command runs it: the count of runners, the question, the
// window locked and the drawing surfaces put up, the animation, and the window
// given back however the animation ended.
#include <functional>
#include <string>
#include <vector>

#include "base/host.h"
#include "simulation/sim_runner.h"

namespace veltrix {

// The controls a lock disables, by the core's own names (those of the controls
// on screen). Each window maps them to its own controls, so a renamed control
// cannot silently drop out of a lock.
enum class LockedControl {
    mnuFile,
    mnuView,
    mnuHelp,
    mnuOdds,
    mnuMark,
    chkOddsFilter,
    lblRelateValue0,
    lblRelateValue1,
    lblRelateValue2,
    lblRelateValue3,
    lblRace,
    fpsSyuso,
    fpsHistory,
    cmdStart,
    cmdRacingViewer,
    cmdClose,
};
using LockedControls = std::vector<LockedControl>;

// The window a simulation runs over; it knows how to disable each control.
class SimStage {
public:
    virtual ~SimStage() = default;
    // Disables the controls and puts up the runner and change-point surfaces
    // for the course. True when a surface cannot be built; the stage has then
    // told the user and ended the program.
    virtual bool open(const LockedControls& controls, const SimGeometry& course, int lanes) = 0;
    virtual SimKeyboard& keyboard() = 0;
    virtual SimSurface& surface() = 0;
    // Unloads the surfaces and enables the controls again.
    virtual void close(const LockedControls& controls) = 0;
};

struct SimCommand {
    SimMode mode = SimMode::Yoso;
    SimGeometry course;
    int lanes = 0;                      // rows the course is drawn for
    std::string tooFew;                 // the warning for fewer than two runners
    std::string question;               // asked before it starts
    LockedControls controls;            // disabled while it runs
    std::function<void()> hideWindows;  // after the question, before the run (may be empty)
};

enum class SimOutcome { TooFew, Declined, NoStage, Ran };

// Runs the command over the entries. An error inside the animation ends it
// quietly; the stage is closed in every case it was opened.
SimOutcome RunSimulation(const std::vector<SimEntry>& entries, const SimCommand& command, UserInterface& ui,
                         SimStage& stage, Clock& clock, SimRandom& random, SimResult& result);

}  // namespace veltrix
