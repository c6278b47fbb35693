#include "gui/shell/attach_windows.h"

#include <QAction>
#include <QLabel>
#include <exception>

#include "app/export_command.h"
#include "app/simulation_commands.h"
#include "gui/widgets/qt_host.h"
#include "gui/windows/frmAnalyzeData.h"
#include "gui/windows/frmDataImport.h"
#include "gui/windows/frmDetail.h"
#include "gui/windows/frmGraphs.h"
#include "gui/windows/frmHeatmap.h"
#include "gui/windows/frmKaimeList.h"
#include "gui/windows/frmRace.h"
#include "gui/windows/frmSelect.h"
#include "gui/windows/frmSyusohyo.h"
#include "gui/windows/frmTuning.h"
#include "gui/windows/race_card_output.h"
#include "gui/windows/sim_overlay.h"
#include "gui/windows/simulation_menu.h"

namespace veltrix::gui {

frmDataImport* AttachImportWindow(frmSyusohyo& main, Application& app, JVLink& jv) {
    auto* window = new frmDataImport(app, jv, &main);
    QObject::connect(&main, &frmSyusohyo::importWindowRequested, window, [window] { window->exec(); });
    return window;
}

frmAnalyzeData* AttachAnalyzeWindow(frmSyusohyo& main, Application& app) {
    auto* window = new frmAnalyzeData(app, &main);
    QObject::connect(&main, &frmSyusohyo::analyzeWindowRequested, window, [window] { window->exec(); });
    return window;
}

frmSelect* AttachSelectWindow(frmSyusohyo& main, Application& app) {
    auto* window = new frmSelect(app, &main);
    main.addSecondaryWindow(window);
    if (QAction* item = main.menuItem(QStringLiteral("mnuSelect")))
        QObject::connect(item, &QAction::triggered, window, [window] {
            window->show();
            window->raise();
            window->activateWindow();
        });
    return window;
}

frmKaimeList* AttachKaimeListWindow(frmSyusohyo& main, Application& app) {
    auto* window = new frmKaimeList(app, &main);
    main.addSecondaryWindow(window);
    if (QAction* item = main.menuItem(QStringLiteral("mnuKaimeList")))
        QObject::connect(item, &QAction::triggered, window, [window] {
            window->showNormal();
            MakeTopMost(window);
        });
    return window;
}

frmHeatmap* AttachHeatmapWindow(frmSyusohyo& main, Application& app) {
    auto* window = new frmHeatmap(app, &main);
    main.addSecondaryWindow(window);
    if (QAction* item = main.menuItem(QStringLiteral("mnuHeatmap")))
        QObject::connect(item, &QAction::triggered, window, [window, &main] {
            window->mnuHeatmap_Click(main.fpsSyuso()->mapToGlobal(QPoint(0, 0)));
        });
    return window;
}

frmDetail* AttachDetailWindow(frmSyusohyo& main, Application& app) {
    auto* window = new frmDetail(app, &main);
    main.addSecondaryWindow(window);
    if (QAction* item = main.menuItem(QStringLiteral("mnuDetail")))
        QObject::connect(item, &QAction::triggered, window, &frmDetail::openFromMenu);
    return window;
}

void AttachTuningWindow(frmSyusohyo& main, Application& app) {
    if (QAction* item = main.menuItem(QStringLiteral("mnuTune")))
        QObject::connect(item, &QAction::triggered, &main, [&main, &app] { ShowTuningWindow(app, &main); });
}

SimulationMenu* AttachSimulationMenu(frmSyusohyo& main, Application& app) {
    auto* menu = new SimulationMenu(app, main, main.userInterface(), [&main] { main.close(); });
    if (QAction* item = main.menuItem(QStringLiteral("mnuYosokuSimulator")))
        QObject::connect(item, &QAction::triggered, menu, [menu] { menu->run(SimMode::Yoso); });
    if (QAction* item = main.menuItem(QStringLiteral("mnuKekkaSimulator")))
        QObject::connect(item, &QAction::triggered, menu, [menu] { menu->run(SimMode::Kekka); });
    return menu;
}

frmRace* AttachRaceWindow(frmSyusohyo& main, Application& app, JVLink* jv, const GraphWindows& graphs) {
    auto* window = new frmRace(
        app, jv, [&main] { main.close(); }, &main);
    const ControlLookup locks = [&main](LockedControl c) { return main.lockedControl(c); };
    if (QAction* item = main.menuItem(QStringLiteral("mnuOperationRace")))
        QObject::connect(item, &QAction::triggered, window, [window, &main, locks] {
            if (window->loadPastRace()) return;  // no past race chosen
            SetControlsEnabled(locks, RaceModelWindowControls(), false);
            window->move(main.geometry().topLeft());
            window->show();
            window->raise();
            window->activateWindow();
        });
    QObject::connect(window, &frmRace::raceFiguresClicked, window, [window, graphs, &app] {
        OpenPastRaceGraphs(graphs, app, RaceModelGraphs(window->model()), window->model().lblRace,
                           window->frameGeometry());
    });
    // The graphs then show the past race: they go with the window.
    QObject::connect(window, &frmRace::closed, &main, [graphs, locks] {
        for (QWidget* graph : {static_cast<QWidget*>(graphs.pace), static_cast<QWidget*>(graphs.race),
                               static_cast<QWidget*>(graphs.history)})
            if (graph) graph->hide();
        SetControlsEnabled(locks, RaceModelWindowControls(), true);
    });
    if (QAction* item = main.menuItem(QStringLiteral("mnuOperationRacingViewer")))
        QObject::connect(item, &QAction::triggered, &main, [&main, jv] {
            if (!jv || main.lblJRV()->text().isEmpty()) return;  // no past race chosen
            Quietly([&] { PlayRaceVideo(*jv, main.userInterface(), main.lblJRV()->text().toStdString()); });
        });
    return window;
}

GraphWindows AttachGraphWindows(frmSyusohyo& main, Application& app) {
    const GraphWindows windows = MakeGraphWindows(app, &main);
    main.addSecondaryWindow(windows.pace);
    main.addSecondaryWindow(windows.race);
    main.addSecondaryWindow(windows.history);
    auto open = [windows, &app, &main] { OpenGraphWindows(windows, app, &main); };
    if (QAction* item = main.menuItem(QStringLiteral("mnuRGraph")))
        QObject::connect(item, &QAction::triggered, &main, open);
    QObject::connect(&main, &frmSyusohyo::raceFiguresClicked, &main, open);
    if (QAction* item = main.menuItem(QStringLiteral("mnuPrintRGraph")))
        QObject::connect(item, &QAction::triggered, &main, [windows, &main] {
            PrintRaceGraphWithDialog(*windows.race, &main, main.userInterface());
        });
    if (QAction* item = main.menuItem(QStringLiteral("mnuExport")))
        QObject::connect(item, &QAction::triggered, &main, [&app, &main] {
            Quietly([&] { ExportRaceCardCommand(app, main.userInterface(), SharedPump()); });
        });
    if (QAction* item = main.menuItem(QStringLiteral("mnuPrint")))
        QObject::connect(item, &QAction::triggered, &main,
                         [&app, &main] { PrintRaceCardWithDialog(app, &main); });
    return windows;
}

}  // namespace veltrix::gui
