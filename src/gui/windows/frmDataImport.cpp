#include "gui/windows/frmDataImport.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/import_commands.h"
#include "app/results_commands.h"
#include "app/update_commands.h"
#include "gui/widgets/cell_control_delegate.h"
#include "gui/widgets/grid_view.h"
#include "gui/widgets/sheet_model.h"

namespace veltrix::gui {

frmDataImport::frmDataImport(Application& app, JVLink& jv, QWidget* parent)
    : QDialog(parent), app_(app), jvLink_(jv), dialogs_(this), messages_(&dialogs_) {
    setObjectName(QStringLiteral("frmDataImport"));
    setWindowTitle(QString::fromUtf8(kDataImportCaption));
    buildControls();
    dialogs_.setStatusLabel(lblStatus_);
    dialogs_.setProgressBar(prgStatusAll_);
    ui_ = std::make_unique<WindowUserInterface>(
        messages_, dialogs_, [this](const std::string& text) { dialogs_.setStatus(text); }, prgStatusAll_);
    applyState(ImportWindowStateFor(ImportPhase::Idle, app_.store.DataMode));
    subscription_ = app_.changes.subscribe([this](Change c) { changed(c); });
}

frmDataImport::~frmDataImport() {
    // The grid's model observes the race list of model_, a member that goes
    // before the window's children: the grid goes first.
    delete fpsControl_;
}

void frmDataImport::changed(Change change) {
    switch (change) {
        case Change::CommandStarted:
            lockForImport();
            break;
        case Change::CommandFinished:
            restoreWindow();
            // Asked to close while the command ran: it has stopped now. Queued, so
            // that the command returns before the window's event loop ends.
            if (TakePendingClose(model_.close))
                QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
            break;
        case Change::StoreReplaced:
            putRaceList();
            break;
        case Change::CancelWithdrawn:
            if (running_) cmdCancel_->setEnabled(true);
            break;
        default:
            break;
    }
}

void frmDataImport::buildControls() {
    fraImport_ = new QGroupBox(QStringLiteral("JRA-VAN Data Lab. インポート"), this);
    fraImport_->setObjectName(QStringLiteral("fraImport"));
    cmdGetDataTokubetsu_ = MakeButton(fraImport_, "cmdGetDataTokubetsu", "特別登録馬",
                                      "今週の特別登録馬情報をインポートします。 （ 日曜日18:30頃 ～ ）");
    cmdGetDataThisWeek_ = MakeButton(fraImport_, "cmdGetDataThisWeek", "今週のレース",
                                     "出走表が確定したレース情報をインポートします。 ( 金曜日12:00頃 ～ )");
    cmdGetDataMining_ = MakeButton(fraImport_, "cmdGetDataMining", "D.M.一括",
                                   "データマイニング情報をインポートします。 ( 金曜日 13:00頃 ～ )");
    cmdGetDataOdds_ = MakeButton(fraImport_, "cmdGetDataOdds", "オッズ一括",
                                 "速報オッズ情報をインポートします。 ( 土曜日 9:00頃 ～ )");
    cmdGetDataKekka_ = MakeButton(fraImport_, "cmdGetDataKekka", "結果一括",
                                  "レース結果情報をインポートします。 （ 土曜日10:30頃 ～ ）");
    cmdGetRaceData_ = MakeButton(
        fraImport_, "cmdGetRaceData", "過去成績",
        "過去のレースをシミュレーションする場合に必要な成績情報をインポートします。 （ 月曜日14:00頃 ～ ）");
    auto* importLayout = new QGridLayout(fraImport_);
    importLayout->addWidget(cmdGetDataTokubetsu_, 0, 0);
    importLayout->addWidget(cmdGetDataThisWeek_, 0, 1);
    importLayout->addWidget(cmdGetDataMining_, 0, 2);
    importLayout->addWidget(cmdGetDataOdds_, 1, 0);
    importLayout->addWidget(cmdGetDataKekka_, 1, 1);
    importLayout->addWidget(cmdGetRaceData_, 1, 2);

    fraConfig_ = new QGroupBox(QStringLiteral("JV-Link の設定"), this);
    fraConfig_->setObjectName(QStringLiteral("fraConfig"));
    cmdConfigJVLink_ = MakeButton(fraConfig_, "cmdConfigJVLink", "ダイアログ表示...",
                                  "JV-Linkの設定ダイアログを表示します。");
    auto* configLayout = new QVBoxLayout(fraConfig_);
    configLayout->addWidget(cmdConfigJVLink_);
    configLayout->addStretch();

    fpsControl_ = MakeGridView(this, QStringLiteral("fpsControl"));
    fpsModel_ = new SheetModel(model_.fpsControl, fpsControl_);
    SetUpSheetView(fpsControl_, fpsModel_);
    // Clicks on the buttons and boxes are the list's button events (clicked below).
    ShowColumnAsButtons(fpsControl_, kColImport);
    ShowColumnAsCheckBoxes(fpsControl_, kColShow, QString::fromUtf8(kShowCheckCaption));
    fpsControl_->setSelectionMode(QAbstractItemView::SingleSelection);
    fpsControl_->setSelectionBehavior(QAbstractItemView::SelectRows);
    fpsControl_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fpsControl_->verticalHeader()->setDefaultSectionSize(22);
    fpsControl_->horizontalHeader()->setStretchLastSection(false);
    fpsControl_->setMinimumSize(620, 300);
    connect(fpsControl_, &QTableView::clicked, this, [this](const QModelIndex& index) {
        fpsControl_ButtonClicked(index.row() + 1, index.column() + 1);
    });

    lblStatus_ = new QLabel(this);
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    lblStatus_->setFrameShape(QFrame::Panel);
    lblStatus_->setFrameShadow(QFrame::Sunken);
    prgStatusAll_ = new QProgressBar(this);
    prgStatusAll_->setObjectName(QStringLiteral("prgStatusAll"));
    prgStatusAll_->setTextVisible(false);
    cmdCancel_ = MakeButton(this, "cmdCancel", "キャンセル", "処理を中断します。");
    MarkAsCancelControl(cmdCancel_);
    LetEscapeCancel(this);  // Esc goes through done(), which cancels while a command runs

    auto* top = new QHBoxLayout;
    top->addWidget(fraImport_, 3);
    top->addWidget(fraConfig_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(prgStatusAll_, 1);
    bottom->addWidget(cmdCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(fpsControl_, 1);
    layout->addWidget(lblStatus_);
    layout->addLayout(bottom);

    connect(cmdGetDataThisWeek_, &QPushButton::clicked, this, &frmDataImport::cmdGetDataThisWeek_Click);
    connect(cmdGetDataTokubetsu_, &QPushButton::clicked, this, &frmDataImport::cmdGetDataTokubetsu_Click);
    connect(cmdGetRaceData_, &QPushButton::clicked, this, &frmDataImport::cmdGetRaceData_Click);
    connect(cmdConfigJVLink_, &QPushButton::clicked, this, &frmDataImport::cmdConfigJVLink_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmDataImport::cmdCancel_Click);
    connect(cmdGetDataOdds_, &QPushButton::clicked, this, &frmDataImport::cmdGetDataOdds_Click);
    connect(cmdGetDataMining_, &QPushButton::clicked, this, &frmDataImport::cmdGetDataMining_Click);
    connect(cmdGetDataKekka_, &QPushButton::clicked, this, &frmDataImport::cmdGetDataKekka_Click);
}

void frmDataImport::setUserInterface(UserInterface* ui) { messages_ = ui ? ui : &dialogs_; }

void frmDataImport::applyState(const ImportWindowState& s) {
    for (QPushButton* b : {cmdGetDataTokubetsu_, cmdGetDataThisWeek_, cmdGetRaceData_, cmdConfigJVLink_})
        b->setEnabled(s.importButtons);
    for (QPushButton* b : {cmdGetDataMining_, cmdGetDataOdds_, cmdGetDataKekka_})
        b->setEnabled(s.realTimeButtons);
    fpsControl_->setEnabled(s.grid);
    cmdCancel_->setEnabled(s.cancel);
    if (s.waitCursor)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void frmDataImport::activate() {
    if (running_) return;
    model_.busy = true;
    putRaceList();
    model_.busy = false;
    applyState(ImportWindowStateFor(ImportPhase::Idle, app_.store.DataMode));
}

void frmDataImport::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // Message boxes of a running command activate the window again: not a new activation.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !running_ && !model_.busy)
        activate();
}

void frmDataImport::done(int result) {
    // A running import stops at its next check; the store it filled stays.
    if (!ImportWindowMayClose(model_.close, running_, SharedPump())) {
        cmdCancel_->setEnabled(false);
        return;
    }
    QDialog::done(result);
}

void frmDataImport::showEvent(QShowEvent* event) {
    // The first time the window centres on its owner; after that it opens where it was left.
    if (lastPosition_) move(*lastPosition_);
    QDialog::showEvent(event);
    fpsControl_->scrollToTop();
}

void frmDataImport::hideEvent(QHideEvent* event) {
    lastPosition_ = pos();
    QDialog::hideEvent(event);
}

void frmDataImport::cmdCancel_Click() {
    cmdCancel_->setEnabled(false);
    SharedPump().requestCancel();
}

void frmDataImport::cmdGetDataThisWeek_Click() {
    lastCommand_ = cmdGetDataThisWeek_;
    runWeekly(true);
}

void frmDataImport::cmdGetDataTokubetsu_Click() {
    lastCommand_ = cmdGetDataTokubetsu_;
    runWeekly(false);
}

void frmDataImport::runWeekly(bool thisWeek) {
    if (running_) return;
    const ImportTools tools{jvLink_, *ui_, SharedPump(), clock_};
    try {
        if (thisWeek)
            ImportThisWeek(app_, model_.import, tools);
        else
            ImportTokubetsu(app_, model_.import, tools);
    } catch (...) {
        // The import handles its own failures (message, empty store); what gets
        // here came from the window's side, which only needs its buttons back.
        restoreWindow();
    }
    SharedPump().clearCancel();
}

void frmDataImport::cmdGetDataOdds_Click() {
    lastCommand_ = cmdGetDataOdds_;
    runRealTimeBatch(RealTimeKind::Odds);
}

void frmDataImport::cmdGetDataMining_Click() {
    lastCommand_ = cmdGetDataMining_;
    runRealTimeBatch(RealTimeKind::Mining);
}

void frmDataImport::cmdGetDataKekka_Click() {
    lastCommand_ = cmdGetDataKekka_;
    runRealTimeBatch(RealTimeKind::Kekka);
}

void frmDataImport::runRealTimeBatch(RealTimeKind kind) {
    if (running_) return;
    try {
        UpdateAll(kind, app_, model_, ImportTools{jvLink_, *ui_, SharedPump(), clock_});
    } catch (...) {
        // The batch reports its own failures; what gets here came from the
        // window's side, which only needs its buttons back.
        restoreWindow();
    }
    SharedPump().clearCancel();
}

void frmDataImport::cmdGetRaceData_Click() {
    lastCommand_ = cmdGetRaceData_;
    if (running_) return;
    try {
        GetRaceData(app_, model_.import.session, ImportTools{jvLink_, *ui_, SharedPump(), clock_});
    } catch (...) {
        // The build reports its own outcome on the status line; what gets here
        // came from the window's side, which only needs its buttons back.
        restoreWindow();
    }
    SharedPump().clearCancel();
}

void frmDataImport::cmdConfigJVLink_Click() {
    lastCommand_ = cmdConfigJVLink_;
    ConfigJVLink(jvLink_, *ui_);
}

void frmDataImport::fpsControl_ButtonClicked(int row, int col) {
    if (col != kColImport.value && col != kColShow.value) return;
    lastCommand_ = nullptr;
    ClickRaceList(app_, model_, RowNo(row), ColNo(col), ImportTools{jvLink_, *ui_, SharedPump(), clock_});
    SharedPump().clearCancel();
    fpsControl_->setFocus();
}

void frmDataImport::lockForImport() {
    running_ = true;
    applyState(ImportWindowStateFor(ImportPhase::Running, app_.store.DataMode));
}

void frmDataImport::putRaceList() {
    const int row = PutRaceList(model_.fpsControl, app_.store, app_.raceCard.lblRace);
    // The control columns size for their buttons and boxes, not for "1"/"0".
    fpsControl_->resizeColumnsToContents();
    fpsControl_->scrollToTop();
    if (row > 0) fpsControl_->scrollTo(fpsModel_->index(row - 1, kColShow.value - 1));
}

void frmDataImport::restoreWindow() {
    running_ = false;
    applyState(ImportWindowStateFor(ImportPhase::Idle, app_.store.DataMode));
    if (lastCommand_ && lastCommand_->isEnabled()) lastCommand_->setFocus();
}

}  // namespace veltrix::gui
