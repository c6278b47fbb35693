#pragma once
// The import window "レース情報のインポート": the JV-Link commands, the race
// list of the imported week, the status line, the progress bar and the cancel
// button every import uses, over the program's JV-Link control JVLink1.
#include <QDialog>
#include <QPoint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/application.h"
#include "app/update_commands.h"
#include "gui/widgets/qt_host.h"
#include "jvlink/data_import.h"
#include "jvlink/jvlink.h"

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

namespace veltrix::gui {
class SheetModel;
}  // namespace veltrix::gui

namespace veltrix::gui {

class frmDataImport final : public QDialog {
    Q_OBJECT
public:
    // jv is the program's one JV-Link control, owned by the shell; it outlives the window.
    frmDataImport(Application& app, JVLink& jv, QWidget* parent = nullptr);
    ~frmDataImport() override;

    JVLink& JVLink1() { return jvLink_; }
    DataImportModel& model() { return model_; }
    // Messages and questions go to ui (tests script the user); status line and
    // progress bar stay the window's. nullptr restores the message boxes.
    void setUserInterface(UserInterface* ui);
    // Runs the activation rule (fill the list, set the buttons).
    void activate();

public slots:
    void cmdGetDataThisWeek_Click();
    void cmdGetDataTokubetsu_Click();
    void cmdGetDataOdds_Click();
    void cmdGetDataMining_Click();
    void cmdGetDataKekka_Click();
    void cmdGetRaceData_Click();
    void cmdConfigJVLink_Click();
    void cmdCancel_Click();

    // Every way of closing ends here (close box, Esc, accept, reject). While a
    // command runs the window stays and the command is cancelled; the window
    // closes when the command has stopped.
    void done(int result) override;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls();
    void fpsControl_ButtonClicked(int row, int col);
    void applyState(const ImportWindowState& state);
    void runWeekly(bool thisWeek);
    void runRealTimeBatch(RealTimeKind kind);
    void changed(Change change);
    // Command running: every command and the grid disabled, cancel enabled, wait cursor.
    void lockForImport();
    // Fills the race grid from the store (PutRaceList).
    void putRaceList();
    // Command over: idle state for the store's DataMode.
    void restoreWindow();

    Application& app_;
    Subscription subscription_;
    DataImportModel model_;
    JVLink& jvLink_;
    QtUserInterface dialogs_;
    UserInterface* messages_ = nullptr;  // dialogs_ unless a test injects its own
    std::unique_ptr<WindowUserInterface> ui_;
    SystemClock clock_;
    bool running_ = false;
    QPushButton* lastCommand_ = nullptr;
    std::optional<QPoint> lastPosition_;  // where the window was when it last closed

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

}  // namespace veltrix::gui
