#include "ui/simulation_menu.h"

#include <QDateTime>
#include <QWidget>
#include <exception>

#include "app/simulation_commands.h"
#include "ui/sim_overlay.h"
#include "ui/qt_host.h"

namespace veltrix::ui {

SimulationMenu::SimulationMenu(Application& app, QWidget* mainWindow, UserInterface& ui,
                               std::function<void()> endProgram)
    : QObject(mainWindow),
      app_(app),
      ui_(ui),
      stage_(new SimOverlayStage(mainWindow, ui, std::move(endProgram))) {}

SimOutcome SimulationMenu::run(SimMode mode) {
    PumpingClock clock;
    SimRandom random(static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch()));
    SimOutcome outcome = SimOutcome::Declined;
    try {
        outcome = RunRaceSimulation(app_, mode, ui_, *stage_, clock, random, last_);
    } catch (const std::exception&) {
        // The command gave the window back; the menu stays usable.
    }
    SharedPump().clearCancel();
    return outcome;
}

}  // namespace veltrix::ui
