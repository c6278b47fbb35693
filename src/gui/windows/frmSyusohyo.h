#pragma once
// The main window: race card, past-performance grid, chart area, race label,
// and the menus from which every other window is reached.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <vector>

#include "app/application.h"
#include "gui/widgets/qt_host.h"
#include "jvlink/jvlink.h"
#include "racecard/race_card.h"
#include "simulation/sim_command.h"

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QSplitter;
class QTabWidget;
class QTableView;
class QModelIndex;

namespace veltrix::gui {
class SheetModel;
}  // namespace veltrix::gui

namespace veltrix::gui {

class HistoryArea;

class frmSyusohyo final : public QMainWindow {
    Q_OBJECT
public:
    // shutDown ends the program; the close path calls it last.
    frmSyusohyo(Application& app, std::function<void()> shutDown, QWidget* parent = nullptr);
    ~frmSyusohyo() override;

    // The load step: JV-Link (jv, when given), weekly files, analysis files, mark items.
    // Returns true on failure (JV-Link could not be initialised; the message was shown).
    bool load(JVLink* jv);
    // Size, place and splitter as the window was last closed ("VELTRIX.geometry");
    // without a usable file the window keeps its default size.
    void restoreWindowGeometry();
    // Saved by the close path.
    void saveWindowGeometry();

    // Empties lblRace and disables the commands that need an open race.
    void ResetDataCombo();
    // Clears everything shown about a race, before the data are replaced.
    void ResetData();
    // Shows the race card's labels (race, relation, score) as the core holds them.
    void showRaceCardLabels();
    // One line at the foot of the window (the first start says there where the data live).
    void showStatusLine(const std::string& text);
    SheetModel* sheetModel(int sheetNo) const { return sheetModels_[static_cast<size_t>(sheetNo - 1)]; }

    // Secondary windows are hidden when another window opens over the race card
    // and closed by the close path.
    void addSecondaryWindow(QWidget* window);
    void hideSecondaryWindows();

    QAction* menuItem(const QString& objectName) const;
    QMenu* mnuOdds() const { return mnuOdds_; }
    QMenu* mnuMark() const { return mnuMark_; }
    QMenu* mnuRace() const { return mnuRace_; }
    // "ODDS FILTER": the odds sheet's combination odds coloured by their value ratio.
    QCheckBox* chkOddsFilter() const { return chkOddsFilter_; }
    QLabel* lblRace() const { return lblRace_; }
    QTabWidget* fpsSyuso() const { return fpsSyuso_; }
    // Between the race card and the lower area.
    QSplitter* mainSplitter() const { return mainSplitter_; }
    QTableView* fpsHistory() const { return fpsHistory_; }
    // The pane's model and the timeline chart beside it.
    HistoryArea* historyArea() const { return historyArea_; }
    QLabel* lblJRV() const { return lblJRV_; }
    QtUserInterface& userInterface() { return ui_; }
    // The window's own control for each control a lock names; nullptr for one it does not have.
    QObject* lockedControl(LockedControl control) const;

public slots:
    // The import window's race list chose a race: opens it on the race card.
    // Returns true when an error ended the opening (the window stays usable).
    bool OpenRace(const QString& raceId, const QString& raceLabel);
    // Rebuilds the race on show (race id from lblRace) after the settings or the
    // analysis data changed. Returns true when an error ended it.
    bool RefreshRace();
    // mnuRaceInfoImport and a click on lblRace.
    void openImportWindow();
    // mnuFileImport.
    void openAnalyzeWindow();
    void openHelp();
    void openMakerSite();
    void showVersionWindow();

signals:
    // A runner was chosen by its name cell (row of the race card, 1-based).
    void runnerSelected(int row, const QString& umaCode);
    // The import window is shown modally by whoever owns it.
    void importWindowRequested();
    // The same for the analysis-file import window.
    void analyzeWindowRequested();
    // A race figure label (lblRelateValue) was clicked: the graph windows open.
    void raceFiguresClicked();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildPopupMenus();
    void buildCentralArea();
    void setMarkItems();
    void ClearRelateLabel();
    void ClearScoreLabel();
    void headerClicked(int sheetNo, int section);
    void cellClicked(int sheetNo, const QModelIndex& index);
    // A right-click on a race card sheet: the mark menu on the mark and name
    // columns, the odds menu on the odds sheet's odds columns.
    void contextMenuRequested(int sheetNo, const QPoint& pos);
    void changed(Change change);
    // The commands that need an open race follow lblRace.
    void enableRaceCommands(bool enabled);

    Application& app_;
    std::function<void()> shutDown_;
    Subscription subscription_;
    QtUserInterface ui_;
    bool closing_ = false;
    bool storeRead_ = false;

    QMenu* mnuFile_ = nullptr;
    QMenu* mnuView_ = nullptr;
    QMenu* mnuHelp_ = nullptr;
    QMenu* mnuOdds_ = nullptr;
    QMenu* mnuMark_ = nullptr;
    QMenu* mnuRace_ = nullptr;
    QCheckBox* chkOddsFilter_ = nullptr;
    RowNo markRow_;  // the row the mark menu was opened on
    QLabel* lblRace_ = nullptr;
    QLabel* lblJRV_ = nullptr;
    QTabWidget* fpsSyuso_ = nullptr;
    QSplitter* mainSplitter_ = nullptr;
    std::array<QTableView*, 3> sheets_{};
    std::array<SheetModel*, 3> sheetModels_{};
    QTableView* fpsHistory_ = nullptr;
    QFrame* chartArea_ = nullptr;
    HistoryArea* historyArea_ = nullptr;
    std::array<QLabel*, 4> lblRelateValue_{};
    std::array<QLabel*, 3> lblScoreValue_{};
    std::vector<QPointer<QWidget>> secondaryWindows_;
    QPointer<QWidget> versionWindow_;
};

// The maker's web site, opened from the help menu.
inline constexpr const char* kMakerSiteUrl = "https://www.orvante.example/";
// The race card sheets, in tab order.
inline constexpr std::array<const char*, 3> kSheetNames = {"出走表", "競馬場", "オッズ"};

}  // namespace veltrix::gui
