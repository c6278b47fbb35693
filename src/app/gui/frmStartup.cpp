#include "app/gui/frmStartup.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTabWidget>
#include <exception>
#include <memory>

#include "app/application.h"
#include "app/gui/frmSplash.h"
#include "app/gui/frmSyusohyo.h"
#include "app/simulation_commands.h"
#include "ui/race_card_output.h"
#include "app/startup.h"
#include "app/startup_checks.h"
#include "betting/gui/frmKaimeList.h"
#include "engine/gui/frmSelect.h"
#include "engine/gui/frmTuning.h"
#include "graphs/gui/frmDetail.h"
#include "graphs/gui/frmHeatmap.h"
#include "graphs/gui/frmGraphs.h"
#include "jvlink/gui/frmDataImport.h"
#include "jvlink/session.h"
#include "service/gui/frmAnalyzeData.h"
#include "simulation/gui/frmRace.h"
#include "ui/sim_overlay.h"
#include "ui/simulation_menu.h"
#include "store/settings.h"
#include "store/weekly_store.h"
#include "ui/qt_host.h"
#include "ui/single_instance.h"

namespace veltrix::ui {

namespace {

// Owns the program's state and windows from start-up to ShutDown.
class Shell final : public StartupSteps {
public:
    explicit Shell(const QString& programFolder) { app_.folders = Folders::under(toPath(programFolder)); }

    bool anotherCopyRunning() override {
        // When the lock file cannot be made nothing is known; start, and let the
        // folder step decide whether the program folder is usable.
        const QString channel = InstanceServerName(fromPath(app_.folders.program));
        if (lock_.tryAcquire(app_.folders.program / kLockFileName) == InstanceLock::State::HeldElsewhere) {
            // The user started us to see the program: bring the running copy to the
            // front. If it does not answer there is nothing more to do; end all the same.
            AskRunningCopyToRaise(channel);
            return true;
        }
        // Without the channel the program still runs; a second copy then only ends.
        if (!raiseServer_.listen(channel))
            QObject::connect(&raiseServer_, &RaiseServer::raiseRequested, [this] {
                if (main_) BringToFront(main_.get());
            });
        return false;
    }

    void screenSize(int& width, int& height) override {
        width = height = 0;
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QSize pixels = screen->size() * screen->devicePixelRatio();
            width = pixels.width();
            height = pixels.height();
        }
    }

    void showSplash() override {
        splash_ = std::make_unique<frmSplash>();
        splash_->show();
    }

    bool prepareFolders(std::string& reason) override {
        return PrepareApplication(app_, app_.folders.program, reason, false);
    }

    void processEvents() override { QCoreApplication::processEvents(); }

    bool readSettings(std::string& reason) override {
        return ReadSettings(app_.settings, app_.folders.program, &reason);
    }

    bool showMainWindow() override {
        main_ = std::make_unique<frmSyusohyo>(app_, [this] { ShutDown(); });
        // The import window exists from here on (hidden), owned by the main window: its
        // JV-Link control is the only one, and the main window's load initialises it.
        importWindow_ = AttachImportWindow(*main_, app_);
        AttachAnalyzeWindow(*main_, app_);
        AttachSelectWindow(*main_, app_);
        AttachKaimeListWindow(*main_, app_);
        AttachHeatmapWindow(*main_, app_);
        AttachDetailWindow(*main_, app_);
        graphWindows_ = AttachGraphWindows(*main_, app_);
        AttachTuningWindow(*main_, app_);
        AttachSimulationMenu(*main_, app_);
        AttachRaceWindow(*main_, app_, &importWindow_->JVLink1(), graphWindows_);
        if (main_->load(&importWindow_->JVLink1())) return true;
        main_->restoreWindowGeometry();
        main_->show();
        return false;
    }

    void closeSplash() override {
        if (splash_) splash_->close();
        splash_.reset();
    }

    // Ends the program: releases every window without close events, empties the store.
    void ShutDown() {
        try {
            for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
            splash_.reset();
            ClearRaceCache(app_.store);
        } catch (const std::exception&) {
            // The event loop is left below whatever failed while releasing.
        }
        QCoreApplication::exit(0);  // when start-up fails there is no loop yet; RunVeltrix returns
    }

private:
    Application app_;
    frmDataImport* importWindow_ = nullptr;  // owned by the main window
    GraphWindows graphWindows_;              // owned by the main window; the race model window opens two
    InstanceLock lock_;
    RaiseServer raiseServer_;
    std::unique_ptr<frmSplash> splash_;
    std::unique_ptr<frmSyusohyo> main_;
};

}  // namespace

frmDataImport* AttachImportWindow(frmSyusohyo& main, Application& app) {
    auto* window = new frmDataImport(app, &main);
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
    auto* menu = new SimulationMenu(app, &main, main.userInterface(), [&main] { main.close(); });
    if (QAction* item = main.menuItem(QStringLiteral("mnuYosokuSimulator")))
        QObject::connect(item, &QAction::triggered, menu, [menu] { menu->run(SimMode::Yoso); });
    if (QAction* item = main.menuItem(QStringLiteral("mnuKekkaSimulator")))
        QObject::connect(item, &QAction::triggered, menu, [menu] { menu->run(SimMode::Kekka); });
    return menu;
}

frmRace* AttachRaceWindow(frmSyusohyo& main, Application& app, JVLink* jv, const GraphWindows& graphs) {
    auto* window = new frmRace(
        app, jv, [&main] { main.close(); }, &main);
    if (QAction* item = main.menuItem(QStringLiteral("mnuOperationRace")))
        QObject::connect(item, &QAction::triggered, window, [window, &main] {
            if (window->loadPastRace()) return;  // no past race chosen
            SetNamedControlsEnabled(&main, RaceModelWindowControls(), false);
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
    QObject::connect(window, &frmRace::closed, &main, [&main, graphs] {
        for (QWidget* graph : {static_cast<QWidget*>(graphs.pace), static_cast<QWidget*>(graphs.race),
                               static_cast<QWidget*>(graphs.history)})
            if (graph) graph->hide();
        SetNamedControlsEnabled(&main, RaceModelWindowControls(), true);
    });
    if (QAction* item = main.menuItem(QStringLiteral("mnuOperationRacingViewer")))
        QObject::connect(item, &QAction::triggered, &main, [&main, jv] {
            if (!jv || main.lblJRV()->text().isEmpty()) return;  // no past race chosen
            try {
                PlayRaceVideo(*jv, main.userInterface(), main.lblJRV()->text().toStdString());
            } catch (const std::exception&) {
                // The video did not start; the window stays usable.
            }
        });
    return window;
}

int RunVeltrix(QApplication& app) { return RunVeltrix(app, QCoreApplication::applicationDirPath()); }

int RunVeltrix(QApplication& app, const QString& programFolder) {
    app.setApplicationName(QStringLiteral("VELTRIX"));
    // Missing translations leave Qt's button texts in English; the program runs all the same.
    InstallJapaneseTranslations(app);
    Shell shell(programFolder);
    QtUserInterface ui;
    switch (RunStartup(shell, ui)) {
        case StartupResult::Running:
            return app.exec();
        case StartupResult::AnotherCopy:
            return 0;
        case StartupResult::ScreenTooSmall:
            return 1;
        case StartupResult::Failed:
            shell.ShutDown();
            return 1;
    }
    return 1;
}

}  // namespace veltrix::ui
