#pragma once
// The bet list window "買い目リスト": the grid fpsKaimeList over the core's bet
// list, the two distribution buttons, "保存" and "CSV出力". Closing only hides it.
#include <QWidget>

#include "app/application.h"
#include "gui/widgets/qt_host.h"

class QAbstractItemModel;
class QAction;
class QMenu;
class QPushButton;
class QTableView;

namespace veltrix::gui {
class SheetModel;
}  // namespace veltrix::gui

namespace veltrix::gui {

class frmKaimeList final : public QWidget {
    Q_OBJECT
public:
    // mainWindow: the race card's window, which the list opens beside.
    frmKaimeList(Application& app, QWidget* mainWindow);
    ~frmKaimeList() override;

    QTableView* fpsKaimeList() const { return fpsKaimeList_; }
    SheetModel* sheetModel() const { return sheetModel_; }
    // What the grid shows: the sheet with its row headers and the editable stake column.
    QAbstractItemModel* model() const { return model_; }
    QMenu* mnuKaime() const { return mnuKaime_; }
    // Messages and the save dialog go to ui (tests script the user); nullptr restores the dialogs.
    void setUserInterface(UserInterface* ui);

public slots:
    void cmdBunpaiKin_Click();
    void cmdBunpaiHarai_Click();
    void cmdSave_Click();
    void cmdPutCSV_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    // Runs a command with the window disabled and the wait cursor.
    template <class Command>
    void locked(Command command);
    void contextMenuRequested(const QPoint& pos);
    void scrollToTopRow();

    Application& app_;
    QWidget* mainWindow_;
    Subscription subscription_;
    QtUserInterface dialogs_;
    UserInterface* ui_;
    bool placed_ = false;

    QTableView* fpsKaimeList_ = nullptr;
    SheetModel* sheetModel_ = nullptr;
    QAbstractItemModel* model_ = nullptr;
    QMenu* mnuKaime_ = nullptr;
    QAction* mnuOperationKaime_ = nullptr;
};

}  // namespace veltrix::gui
