#pragma once
// The import window "レース情報のインポート": the JV-Link commands, the race
// list of the imported week, the status line, the progress bar and the cancel
// button every import uses, and the JV-Link control JVLink1.
#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "app/application.h"
#include "jvlink/data_import.h"
#include "jvlink/standin/standin_jvlink.h"
#include "ui/qt_host.h"

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

namespace veltrix {
class SheetModel;
}

namespace veltrix::ui {

// What the import window needs from the other windows.
struct DataImportServices {
    // The main window's ResetData and the bet list window's CrearForm, before a weekly import.
    std::function<void()> resetRaceCard;
    // The caption of the main window's lblRace (the race on the race card).
    std::function<std::string()> shownRaceLabel;
    // Opens a race on the race card. Until the race card is built, the main
    // window only shows the race's label.
    std::function<void(const std::string& raceId, const std::string& label)> openRace;
    // The one-race real-time updates of the "取込" button; empty: nothing to import yet.
    std::function<int(const std::string& raceId)> updateMining, updateOdds, updateKekka;
};

class frmDataImport final : public QDialog, private WeeklyImportWindow {
    Q_OBJECT
public:
    frmDataImport(Application& app, DataImportServices services, QWidget* parent = nullptr);
    ~frmDataImport() override;

    // The JV-Link control: the stand-in over the program folder's "jvlink".
    StandinJVLink& JVLink1() { return *jvLink_; }
    DataImportModel& model() { return model_; }
    // Messages and questions go to ui (tests script the user); status line and
    // progress bar stay the window's. nullptr restores the message boxes.
    void setUserInterface(UserInterface* ui);
    // Runs the activation rule (fill the list, set the buttons).
    void activate();

public slots:
    void cmdGetDataThisWeek_Click();
    void cmdGetDataTokubetsu_Click();
    void cmdConfigJVLink_Click();
    void cmdCancel_Click();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class WindowUi;

    void buildControls();
    void fpsControl_ButtonClicked(int row, int col);
    void applyState(const ImportWindowState& state);
    void runWeekly(bool thisWeek);
    RaceListActions raceListActions();

    // WeeklyImportWindow
    void lockForImport() override;
    void resetRaceCard() override;
    void putRaceList() override;
    void restoreWindow() override;

    Application& app_;
    DataImportServices services_;
    DataImportModel model_;
    std::unique_ptr<StandinJVLink> jvLink_;
    QtUserInterface dialogs_;
    UserInterface* messages_ = nullptr;  // dialogs_ unless a test injects its own
    std::unique_ptr<WindowUi> ui_;
    QtPump pump_;
    SystemClock clock_;
    bool running_ = false;
    QPushButton* lastCommand_ = nullptr;

    QGroupBox* fraImport_ = nullptr;
    QGroupBox* fraConfig_ = nullptr;
    QPushButton* cmdGetDataTokubetsu_ = nullptr;
    QPushButton* cmdGetDataThisWeek_ = nullptr;
    QPushButton* cmdGetDataMining_ = nullptr;
    QPushButton* cmdGetDataOdds_ = nullptr;
    QPushButton* cmdGetDataKekka_ = nullptr;
    QPushButton* cmdGetRaceData_ = nullptr;
    QPushButton* cmdConfigJVLink_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QTableView* fpsControl_ = nullptr;
    SheetModel* fpsModel_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    QProgressBar* prgStatusAll_ = nullptr;
};

inline constexpr const char* kDataImportCaption = "レース情報のインポート";

class frmSyusohyo;

// Creates the import window for the main window: it opens modally on the main
// window's import command (and a click on lblRace), resets the main window's
// race card before a weekly import, and opens races by putting their label
// into lblRace. The main window owns it. Its JV-Link control is the one the
// main window initialises at start-up (InitJVLinkAtStartup(w->JVLink1(), ui)).
frmDataImport* AttachImportWindow(frmSyusohyo& main, Application& app);

}  // namespace veltrix::ui
