#include "gui/shell/shell.h"

#include <QApplication>
#include <QScreen>
#include <exception>
#include <memory>

#include "app/application.h"
#include "app/program_folder.h"
#include "app/startup.h"
#include "app/startup_checks.h"
#include "gui/shell/attach_windows.h"
#include "gui/widgets/qt_host.h"
#include "gui/widgets/single_instance.h"
#include "gui/windows/frmGraphs.h"
#include "gui/windows/frmSplash.h"
#include "gui/windows/frmSyusohyo.h"
#include "jvlink/component.h"
#include "jvlink/session.h"
#include "jvlink/standin/standin_jvlink.h"
#include "store/settings.h"
#include "store/weekly_store.h"

namespace veltrix::gui {

namespace {

// Owns the program's state and windows from start-up to ShutDown.
class Shell final : public StartupSteps {
public:
    // firstStartNote, when not empty, goes to the main window's status line once it shows.
    Shell(const QString& programFolder, std::string firstStartNote)
        : firstStartNote_(std::move(firstStartNote)) {
        app_.folders = Folders::under(toPath(programFolder));
        StandinOptions options;
        ReadStandinFaults(StandinFolder(app_.folders.program), options.faults);
        std::string reason;
        jvLink_ = MakeJVLink(DefaultJVLinkChoice(), app_.folders.program, options, reason);
        if (!jvLink_) LogLine(reason);
    }

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
        // A component that cannot even be created fails as its initialisation would.
        if (!jvLink_) {
            QtUserInterface ui;
            ui.showMessage(kJVLinkInitFailedMessage, Icon::Warning);
            return true;
        }
        logged_ = app_.changes.subscribe([](Change c) { LogLine(std::string("change: ") + ChangeName(c)); });
        main_ = std::make_unique<frmSyusohyo>(app_, [this] { ShutDown(); });
        // The import window exists from here on (hidden), owned by the main window;
        // the main window's load initialises the JV-Link control.
        AttachImportWindow(*main_, app_, *jvLink_);
        AttachAnalyzeWindow(*main_, app_);
        AttachSelectWindow(*main_, app_);
        AttachKaimeListWindow(*main_, app_);
        AttachHeatmapWindow(*main_, app_);
        AttachDetailWindow(*main_, app_);
        graphWindows_ = AttachGraphWindows(*main_, app_);
        AttachTuningWindow(*main_, app_);
        AttachSimulationMenu(*main_, app_);
        AttachRaceWindow(*main_, app_, jvLink_.get(), graphWindows_);
        if (main_->load(jvLink_.get())) return true;
        main_->restoreWindowGeometry();
        main_->show();
        if (!firstStartNote_.empty()) main_->showStatusLine(firstStartNote_);
        return false;
    }

    void closeSplash() override {
        if (splash_) splash_->close();
        splash_.reset();
    }

    // Ends the program: releases every window without close events, empties the store.
    void ShutDown() {
        Quietly([&] {
            for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
            splash_.reset();
            ClearRaceCache(app_.store);
        });
        QCoreApplication::exit(0);  // when start-up fails there is no loop yet; RunVeltrix returns
    }

private:
    std::string firstStartNote_;
    Application app_;
    // The program's one JV-Link control: JV-Link when it is registered, else the
    // stand-in over the program folder's "jvlink".
    std::unique_ptr<JVLink> jvLink_;
    Subscription logged_;
    GraphWindows graphWindows_;  // owned by the main window; the race model window opens two
    InstanceLock lock_;
    RaiseServer raiseServer_;
    std::unique_ptr<frmSplash> splash_;
    std::unique_ptr<frmSyusohyo> main_;
};

int runOn(QApplication& app, const QString& programFolder, const std::string& firstStartNote) {
    Shell shell(programFolder, firstStartNote);
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

void prepareQt(QApplication& app) {
    app.setApplicationName(QStringLiteral("VELTRIX"));
    // Missing translations leave Qt's button texts in English; the program runs all the same.
    InstallJapaneseTranslations(app);
}

}  // namespace

int RunVeltrix(QApplication& app) {
    prepareQt(app);
    ProgramFolderChoice choice = ChooseProgramFolder();
    if (choice.folder.empty()) choice.folder = toPath(QCoreApplication::applicationDirPath());
    bool firstStart = false;
    std::string reason;
    if (PrepareProgramFolder(choice, firstStart, reason)) {
        QtUserInterface ui;
        ui.showMessage(StartupFailureMessage(reason), Icon::Warning);
        return 1;
    }
    return runOn(app, fromPath(choice.folder), firstStart ? FirstStartMessage(choice.folder) : std::string());
}

int RunVeltrix(QApplication& app, const QString& programFolder) {
    prepareQt(app);
    return runOn(app, programFolder, std::string());
}

}  // namespace veltrix::gui
