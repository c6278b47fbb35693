#pragma once
// The main window's "予測シミュレーション(&Y)" and "結果シミュレーション(&K)": each
// runs one command over the race on show, with the runners drawn over the main
// window.
#include <QObject>
#include <functional>

#include "app/application.h"
#include "simulation/sim_command.h"

namespace veltrix::gui {

class SimOverlayStage;
class frmSyusohyo;

class SimulationMenu final : public QObject {
    Q_OBJECT
public:
    // The main window is drawn over and its controls are locked; ui asks and
    // warns; endProgram ends the program after a window shape failed.
    SimulationMenu(Application& app, frmSyusohyo& mainWindow, UserInterface& ui,
                   std::function<void()> endProgram);

    SimOutcome run(SimMode mode);
    SimOverlayStage* stage() const { return stage_; }
    const SimResult& lastSimulation() const { return last_; }

private:
    Application& app_;
    UserInterface& ui_;
    SimOverlayStage* stage_;
    SimResult last_;
};

}  // namespace veltrix::gui
