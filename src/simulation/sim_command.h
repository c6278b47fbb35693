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

// The window a simulation runs over. The controls are named by their object
// names; the window knows how to disable each.
class SimStage {
public:
    virtual ~SimStage() = default;
    // Disables the controls and puts up the runner and change-point surfaces
    // for the course. True when a surface cannot be built; the stage has then
    // told the user and ended the program.
    virtual bool open(const std::vector<std::string>& controls, const SimGeometry& course, int lanes) = 0;
    virtual SimKeyboard& keyboard() = 0;
    virtual SimSurface& surface() = 0;
    // Unloads the surfaces and enables the controls again.
    virtual void close(const std::vector<std::string>& controls) = 0;
};

struct SimCommand {
    SimMode mode = SimMode::Yoso;
    SimGeometry course;
    int lanes = 0;                      // rows the course is drawn for
    std::string tooFew;                 // the warning for fewer than two runners
    std::string question;               // asked before it starts
    std::vector<std::string> controls;  // disabled while it runs
    std::function<void()> hideWindows;  // after the question, before the run (may be empty)
};

enum class SimOutcome { TooFew, Declined, NoStage, Ran };

// Runs the command over the entries. An error inside the animation ends it
// quietly; the stage is closed in every case it was opened.
SimOutcome RunSimulation(const std::vector<SimEntry>& entries, const SimCommand& command, UserInterface& ui,
                         SimStage& stage, Clock& clock, SimRandom& random, SimResult& result);

}  // namespace veltrix
