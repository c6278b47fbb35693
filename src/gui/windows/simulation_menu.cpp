#include "gui/windows/simulation_menu.h"

#include <QDateTime>
#include <QWidget>
#include <exception>

#include "app/simulation_commands.h"
#include "gui/widgets/qt_host.h"
#include "gui/windows/frmSyusohyo.h"
#include "gui/windows/sim_overlay.h"

namespace veltrix::gui {

SimulationMenu::SimulationMenu(Application& app, frmSyusohyo& mainWindow, UserInterface& ui,
                               std::function<void()> endProgram)
    : QObject(&mainWindow),
      app_(app),
      ui_(ui),
      stage_(new SimOverlayStage(
          &mainWindow, [&mainWindow](LockedControl c) { return mainWindow.lockedControl(c); }, ui,
          std::move(endProgram))) {}

SimOutcome SimulationMenu::run(SimMode mode) {
    PumpingClock clock;
    SimRandom random(static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch()));
    SimOutcome outcome = SimOutcome::Declined;
    Quietly([&] { outcome = RunRaceSimulation(app_, mode, ui_, *stage_, clock, random, last_); });
    LogSimulationEnd(outcome, last_);
    SharedPump().clearCancel();
    return outcome;
}

}  // namespace veltrix::gui
