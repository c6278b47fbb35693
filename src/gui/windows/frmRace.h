#pragma once
// The race model simulator window frmRace ("RACE MODEL SIMULATOR"): the full
// result of one past race from the results database with the figures of its
// own times, its result simulation on this window's course, and its race video.
#include <QWidget>
#include <array>
#include <functional>

#include "app/application.h"
#include "gui/widgets/qt_host.h"
#include "jvlink/jvlink.h"
#include "simulation/race_model.h"
#include "simulation/sim_runner.h"

class QLabel;
class QPushButton;
class QTableView;

namespace veltrix::gui {
class SheetModel;
}  // namespace veltrix::gui

namespace veltrix::gui {

class SimOverlayStage;

class frmRace final : public QWidget {
    Q_OBJECT
public:
    // jv plays the race video (may be null: the button then reports that the
    // video cannot be played); endProgram ends the program after a window
    // shape failed.
    frmRace(Application& app, JVLink* jv, std::function<void()> endProgram, QWidget* parent = nullptr);
    ~frmRace() override;

    // Loads the race file of the race id with the named horse highlighted.
    void SetRaceData(const std::string& raceId, const std::string& horseName);
    // The labels the pane's past race gives, then SetRaceData over it. True
    // when no past race was chosen.
    bool loadPastRace();

    const RaceModel& model() const { return model_; }
    SheetModel* sheetModel() const { return sheetModel_; }
    QTableView* fpsSyuso() const { return fpsSyuso_; }
    QPushButton* cmdStart() const { return cmdStart_; }
    QPushButton* cmdRacingViewer() const { return cmdRacingViewer_; }
    QPushButton* cmdClose() const { return cmdClose_; }
    QLabel* lblRace() const { return lblRace_; }
    QLabel* lblRelateValue(int i) const { return lblRelateValue_[static_cast<size_t>(i)]; }
    SimOverlayStage* stage() const { return stage_; }
    // The window's own control for each control a lock names; nullptr for one it does not have.
    QObject* lockedControl(LockedControl control) const;
    const SimResult& lastSimulation() const { return lastSimulation_; }
    void setUserInterface(UserInterface* ui) { messages_ = ui ? ui : &dialogs_; }

public slots:
    void cmdStart_Click();
    void cmdRacingViewer_Click();
    void cmdClose_Click();

signals:
    // The window went away (CLOSE or closed by the user).
    void closed();
    // A left click on one of the race figure labels while they are enabled.
    void raceFiguresClicked();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void showLabels();
    void headerClicked(int section);

    Application& app_;
    JVLink* jv_;
    RaceModel model_;
    QtUserInterface dialogs_;
    UserInterface* messages_ = &dialogs_;
    SimOverlayStage* stage_ = nullptr;
    SimResult lastSimulation_;

    QLabel* lblRace_ = nullptr;
    QLabel* lblJRV_ = nullptr;
    QLabel* lblKyori_ = nullptr;
    QLabel* lblJyokenCode_ = nullptr;
    QLabel* lblSyubetsuCode_ = nullptr;
    QLabel* lblTrackCode_ = nullptr;
    std::array<QLabel*, 3> lblRelateValue_{};
    QTableView* fpsSyuso_ = nullptr;
    SheetModel* sheetModel_ = nullptr;
    QPushButton* cmdStart_ = nullptr;
    QPushButton* cmdRacingViewer_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
};

// The key help shown on the window.
inline constexpr std::array<const char*, 6> kSimKeyHelp = {
    "[→] : 変化点移動",     "[←] : 変化点移動",     "[←]+[→] : 一時停止",
    "[↓] : スピードダウン", "[↑] : スピードアップ", "[ESC] : シミュレーション終了"};

}  // namespace veltrix::gui
