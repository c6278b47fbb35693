#include "gui/windows/frmSyusohyo.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "app/betting_commands.h"
#include "app/race_commands.h"
#include "app/startup.h"
#include "gui/widgets/grid_view.h"
#include "gui/widgets/qt_host.h"
#include "gui/widgets/sheet_model.h"
#include "gui/windows/frmVersion.h"
#include "gui/windows/history_area.h"
#include "store/window_geometry.h"
#include "veltrix_version.h"

namespace veltrix::gui {

namespace {

QAction* addItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QLabel* valueLabel(QWidget* parent, const QString& name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameShape(QFrame::StyledPanel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setFixedWidth(72);
    return l;
}

QFrame* separatorLine(QWidget* parent, const char* name) {
    auto* line = new QFrame(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

frmSyusohyo::frmSyusohyo(Application& app, std::function<void()> shutDown, QWidget* parent)
    : QMainWindow(parent), app_(app), shutDown_(std::move(shutDown)), ui_(this) {
    setObjectName(QStringLiteral("frmSyusohyo"));
    setWindowTitle(QStringLiteral("VELTRIX Version " VELTRIX_VERSION_TEXT));
    buildMenus();
    buildPopupMenus();
    buildCentralArea();
    ResetDataCombo();
    menuItem(QStringLiteral("mnuFileImport"))->setEnabled(false);
    subscription_ = app_.changes.subscribe([this](Change c) { changed(c); });

    QSize size(1260, 980);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size);
}

frmSyusohyo::~frmSyusohyo() = default;

QObject* frmSyusohyo::lockedControl(LockedControl control) const {
    switch (control) {
        case LockedControl::mnuFile:
            return mnuFile_;
        case LockedControl::mnuView:
            return mnuView_;
        case LockedControl::mnuHelp:
            return mnuHelp_;
        case LockedControl::mnuOdds:
            return mnuOdds_;
        case LockedControl::mnuMark:
            return mnuMark_;
        case LockedControl::chkOddsFilter:
            return chkOddsFilter_;
        case LockedControl::lblRelateValue0:
            return lblRelateValue_[0];
        case LockedControl::lblRelateValue1:
            return lblRelateValue_[1];
        case LockedControl::lblRelateValue2:
            return lblRelateValue_[2];
        case LockedControl::lblRelateValue3:
            return lblRelateValue_[3];
        case LockedControl::lblRace:
            return lblRace_;
        case LockedControl::fpsSyuso:
            return fpsSyuso_;
        case LockedControl::fpsHistory:
            return fpsHistory_;
        default:
            return nullptr;  // the race model window's buttons are not this window's
    }
}

void frmSyusohyo::buildMenus() {
    QMenu* file = mnuFile_ = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->setObjectName(QStringLiteral("mnuFile"));
    connect(addItem(file, "mnuRaceInfoImport", QStringLiteral("レース情報のインポート(&I)...")),
            &QAction::triggered, this, &frmSyusohyo::openImportWindow);
    file->addSeparator();
    connect(addItem(file, "mnuFileImport", QStringLiteral("分析ファイルのインポート(&D)...")),
            &QAction::triggered, this, &frmSyusohyo::openAnalyzeWindow);
    file->addSeparator();
    addItem(file, "mnuExport", QStringLiteral("出走表のエクスポート(&E)..."));
    file->addSeparator();
    addItem(file, "mnuPrint", QStringLiteral("出走表の印刷(&P)..."));
    addItem(file, "mnuPrintRGraph", QStringLiteral("予測R指数グラフの印刷(&R)"));
    file->addSeparator();
    // Through the close path, so that secondary windows close as they do when the window is closed.
    connect(addItem(file, "mnuFileExit", QStringLiteral("終了(&X)")), &QAction::triggered, this,
            &QWidget::close);

    QMenu* view = mnuView_ = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    view->setObjectName(QStringLiteral("mnuView"));
    addItem(view, "mnuSelect", QStringLiteral("選択パレット(&S)"));
    addItem(view, "mnuRGraph", QStringLiteral("R指数グラフ(&R)"));
    addItem(view, "mnuDetail", QStringLiteral("ヒストグラム(&H)"));
    addItem(view, "mnuHeatmap", QStringLiteral("ヒートマップ(&M)"));
    addItem(view, "mnuKaimeList", QStringLiteral("買い目リスト(&K)"));
    view->addSeparator();
    addItem(view, "mnuYosokuSimulator", QStringLiteral("予測シミュレーション(&Y)"));
    addItem(view, "mnuKekkaSimulator", QStringLiteral("結果シミュレーション(&K)"));
    view->addSeparator();
    addItem(view, "mnuTune", QStringLiteral("チューニング(&T)"));

    QMenu* help = mnuHelp_ = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    connect(addItem(help, "mnuOpenHelp", QStringLiteral("利用ガイドを開く(&G)")), &QAction::triggered, this,
            &frmSyusohyo::openHelp);
    help->addSeparator();
    connect(addItem(help, "mnuOpenOrvante", QStringLiteral("ORVANTE ウェブサイト(&W)")), &QAction::triggered,
            this, &frmSyusohyo::openMakerSite);
    help->addSeparator();
    connect(addItem(help, "mnuHelpAbout", QStringLiteral("バージョン情報(&A)...")), &QAction::triggered, this,
            &frmSyusohyo::showVersionWindow);
}

void frmSyusohyo::buildPopupMenus() {
    // Opened from the race card by right-clicks; not on the menu bar.
    mnuOdds_ = new QMenu(QStringLiteral("オッズ"), this);
    mnuOdds_->setObjectName(QStringLiteral("mnuOdds"));
    // Its caption is built for the clicked cell; without one it stays disabled.
    QAction* odds = addItem(mnuOdds_, "mnuOperationOdds", QString());
    odds->setEnabled(false);
    connect(odds, &QAction::triggered, this,
            [this, odds] { Quietly([&] { ToggleKaime(app_, odds->data().toString().toStdString()); }); });

    mnuMark_ = new QMenu(QStringLiteral("印"), this);
    mnuMark_->setObjectName(QStringLiteral("mnuMark"));
    connect(mnuMark_, &QMenu::triggered, this,
            [this](QAction* item) { Quietly([&] { MarkRunner(app_, markRow_, item->data().toInt()); }); });

    mnuRace_ = new QMenu(QStringLiteral("RaceModelSimulator"), this);
    mnuRace_->setObjectName(QStringLiteral("mnuRace"));
    addItem(mnuRace_, "mnuOperationRace", QStringLiteral("RACE MODEL SIMULATOR を開く"));
    // Both are connected by the race model window's attach step (frmStartup).
    addItem(mnuRace_, "mnuOperationRacingViewer", QStringLiteral("JRA RACING VIEWER を開く"));
}

void frmSyusohyo::buildCentralArea() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralArea"));
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(6, 4, 6, 6);
    outer->setSpacing(4);

    lblRace_ = new QLabel(central);
    lblRace_->setObjectName(QStringLiteral("lblRace"));
    lblRace_->setFrameShape(QFrame::StyledPanel);
    lblRace_->setFrameShadow(QFrame::Sunken);
    lblRace_->setMinimumHeight(26);
    lblRace_->setCursor(Qt::PointingHandCursor);
    lblRace_->setToolTip(QStringLiteral("クリックするとレース情報のインポートを開きます"));
    lblRace_->installEventFilter(this);
    lblJRV_ = new QLabel(central);
    lblJRV_->setObjectName(QStringLiteral("lblJRV"));
    lblJRV_->hide();
    outer->addWidget(lblRace_);
    outer->addWidget(separatorLine(central, "linSeparator1"));

    // The race card above, the past performances below: the user shares the height out.
    mainSplitter_ = new QSplitter(Qt::Vertical, central);
    mainSplitter_->setObjectName(QStringLiteral("splMain"));
    mainSplitter_->setChildrenCollapsible(false);
    auto* upper = new QWidget(mainSplitter_);
    upper->setObjectName(QStringLiteral("fraUpper"));

    // Race card with the relation and score labels beside it.
    auto* cardRow = new QHBoxLayout(upper);
    cardRow->setContentsMargins(0, 0, 0, 0);
    fpsSyuso_ = new QTabWidget(upper);
    fpsSyuso_->setObjectName(QStringLiteral("fpsSyuso"));
    fpsSyuso_->setTabPosition(QTabWidget::South);
    for (int i = 0; i < 3; ++i) {
        const int sheetNo = i + 1;
        // SORT, No., UMACODE, 印 and 馬名 stay in view while the sheet scrolls sideways.
        sheets_[i] = MakeGridView(fpsSyuso_, QStringLiteral("fpsSyusoSheet%1").arg(sheetNo),
                                  GridViewOptions{.frozenColumns = card::kName.value});
        // The race card's base is white text on black.
        sheets_[i]->setStyleSheet(QStringLiteral("QTableView { background-color: black; color: white; }"));
        sheets_[i]->verticalHeader()->hide();
        sheets_[i]->horizontalHeader()->setDefaultSectionSize(52);
        sheets_[i]->horizontalHeader()->setSectionsClickable(true);
        sheetModels_[i] = new SheetModel(app_.raceCard.sheet(sheetNo), sheets_[i]);
        SetUpSheetView(sheets_[i], sheetModels_[i]);
        sheets_[i]->setColumnWidth(2, 96);  // UMACODE
        // The longest horse name, 18 double-byte characters, in full.
        sheets_[i]->setColumnWidth(
            card::kName.value - 1,
            sheets_[i]->fontMetrics().horizontalAdvance(QString(18, QChar(0x99AC))) + 12);
        // The running record "  1- 0- 2-12" in full.
        if (sheetNo == kSheetSyuso)
            sheets_[i]->setColumnWidth(
                sheet1::kSeiseki.value - 1,
                sheets_[i]->fontMetrics().horizontalAdvance(QStringLiteral("000-00-00-00")) + 16);
        connect(sheets_[i]->horizontalHeader(), &QHeaderView::sectionClicked, this,
                [this, sheetNo](int section) { headerClicked(sheetNo, section); });
        connect(sheets_[i], &QTableView::clicked, this,
                [this, sheetNo](const QModelIndex& index) { cellClicked(sheetNo, index); });
        sheets_[i]->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(sheets_[i], &QWidget::customContextMenuRequested, this,
                [this, sheetNo](const QPoint& pos) { contextMenuRequested(sheetNo, pos); });
        fpsSyuso_->addTab(sheets_[i], QString::fromUtf8(kSheetNames[i]));
    }
    cardRow->addWidget(fpsSyuso_, 1);

    auto* side = new QVBoxLayout;
    auto* relate = new QGroupBox(QStringLiteral("RACE"), upper);
    relate->setObjectName(QStringLiteral("fraRelate"));
    auto* relateGrid = new QGridLayout(relate);
    const char* relateCaptions[] = {"レースレベル", "前半ペース", "後半ペース", "ペース傾き"};
    for (int i = 0; i < 4; ++i) {
        relateGrid->addWidget(new QLabel(QString::fromUtf8(relateCaptions[i]), relate), i, 0);
        lblRelateValue_[i] = valueLabel(relate, QStringLiteral("lblRelateValue%1").arg(i));
        lblRelateValue_[i]->installEventFilter(this);
        relateGrid->addWidget(lblRelateValue_[i], i, 1);
    }
    auto* score = new QGroupBox(QStringLiteral("SCORE"), upper);
    score->setObjectName(QStringLiteral("fraScore"));
    auto* scoreGrid = new QGridLayout(score);
    const char* scoreCaptions[] = {"人気スコア", "D.M. スコア", "VELTRIX スコア"};
    for (int i = 0; i < 3; ++i) {
        scoreGrid->addWidget(new QLabel(QString::fromUtf8(scoreCaptions[i]), score), i, 0);
        lblScoreValue_[i] = valueLabel(score, QStringLiteral("lblScoreValue%1").arg(i));
        scoreGrid->addWidget(lblScoreValue_[i], i, 1);
    }
    side->addWidget(relate);
    side->addWidget(score);
    chkOddsFilter_ = new QCheckBox(QStringLiteral("ODDS FILTER"), upper);
    chkOddsFilter_->setObjectName(QStringLiteral("chkOddsFilter"));
    connect(chkOddsFilter_, &QCheckBox::toggled, this,
            [this](bool on) { Quietly([&] { SetOddsFilter(app_, on); }); });
    side->addWidget(chkOddsFilter_);
    side->addStretch();
    cardRow->addLayout(side);

    // Past performances of the chosen runner, and the chart area.
    auto* lower = new QSplitter(Qt::Horizontal, mainSplitter_);
    lower->setObjectName(QStringLiteral("splLower"));
    fpsHistory_ = MakeGridView(lower, QStringLiteral("fpsHistory"));
    chartArea_ = new QFrame(lower);
    chartArea_->setObjectName(QStringLiteral("fraChart"));
    chartArea_->setFrameShape(QFrame::StyledPanel);
    chartArea_->setMinimumWidth(380);
    lower->addWidget(fpsHistory_);
    lower->addWidget(chartArea_);
    lower->setStretchFactor(0, 3);
    lower->setStretchFactor(1, 2);
    mainSplitter_->addWidget(upper);
    mainSplitter_->addWidget(lower);
    mainSplitter_->setStretchFactor(0, 3);
    mainSplitter_->setStretchFactor(1, 2);
    outer->addWidget(mainSplitter_, 1);
    historyArea_ = new HistoryArea(app_, fpsHistory_, chartArea_, mnuRace_, lblJRV_, this);

    setCentralWidget(central);
}

bool frmSyusohyo::load(JVLink* jv) {
    const StoreLoad result = LoadStoreAtStartup(app_, jv, ui_, SharedPump());
    if (result.jvlinkFailed) return true;
    storeRead_ = result.storeRead;
    menuItem(QStringLiteral("mnuFileImport"))->setEnabled(storeRead_);
    ResetDataCombo();
    setMarkItems();
    return false;
}

void frmSyusohyo::setMarkItems() {
    QList<QAction*> items = mnuMark_->actions();
    for (int i = 0; i < static_cast<int>(app_.settings.Mark.size()); ++i) {
        QAction* item = i < items.size() ? items[i] : addItem(mnuMark_, "mnuOperationMark", QString());
        item->setData(i);
        // A mark "&" is a symbol here, not an access key.
        QString caption = toQString(app_.settings.Mark[static_cast<size_t>(i)]);
        item->setText(caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
    }
}

QAction* frmSyusohyo::menuItem(const QString& objectName) const {
    // This window's own menus only: the windows it owns have items of their own.
    for (QMenu* menu : {mnuFile_, mnuView_, mnuHelp_, mnuOdds_, mnuMark_, mnuRace_}) {
        if (!menu) continue;
        if (QAction* item = menu->findChild<QAction*>(objectName, Qt::FindDirectChildrenOnly)) return item;
    }
    return nullptr;
}

void frmSyusohyo::ResetDataCombo() {
    lblRace_->clear();
    enableRaceCommands(false);
}

void frmSyusohyo::enableRaceCommands(bool enabled) {
    // The histogram shows the pane of a race on show: without one it has nothing to open on.
    for (const char* name : {"mnuExport", "mnuPrint", "mnuPrintRGraph", "mnuDetail"})
        menuItem(QString::fromLatin1(name))->setEnabled(enabled);
    if (enabled) menuItem(QStringLiteral("mnuFileImport"))->setEnabled(true);
}

void frmSyusohyo::ResetData() {
    Quietly([&] { veltrix::ResetData(app_); });
}

bool frmSyusohyo::OpenRace(const QString& raceId, const QString& raceLabel) {
    return Quietly(true, [&] {
        return veltrix::OpenRace(app_, raceId.toStdString(), raceLabel.toStdString(), SharedPump());
    });
}

bool frmSyusohyo::RefreshRace() {
    return Quietly(
        true, [&] { return veltrix::RefreshRace(app_, RaceIdOfLabel(app_.raceCard.lblRace), SharedPump()); });
}

void frmSyusohyo::showStatusLine(const std::string& text) {
    LogLine("status: " + text);
    statusBar()->showMessage(toQString(text));
}

void frmSyusohyo::showRaceCardLabels() {
    lblRace_->setText(toQString(VisibleRaceLabel(app_.raceCard.lblRace)));
    for (size_t i = 0; i < lblRelateValue_.size(); ++i)
        lblRelateValue_[i]->setText(toQString(app_.raceCard.lblRelateValue[i]));
    for (size_t i = 0; i < lblScoreValue_.size(); ++i)
        lblScoreValue_[i]->setText(toQString(app_.raceCard.lblScoreValue[i]));
}

void frmSyusohyo::changed(Change change) {
    switch (change) {
        case Change::RaceCardReset:
            // A new race starts at its first columns, whatever the last one scrolled to.
            for (QTableView* sheet : sheets_) sheet->horizontalScrollBar()->setValue(0);
            showRaceCardLabels();
            enableRaceCommands(!app_.raceCard.lblRace.empty());
            chartArea_->update();
            break;
        case Change::RaceOpened:
            showRaceCardLabels();
            enableRaceCommands(true);
            chartArea_->update();
            break;
        case Change::CalculationDone:
        case Change::OddsApplied:
            showRaceCardLabels();
            break;
        case Change::RunnerChosen: {
            const RowNo row =
                app_.raceCard.sheet(kSheetSyuso).findRow(card::kUmaCode, app_.raceCard.lastUmaCode);
            emit runnerSelected(row.value, toQString(app_.raceCard.lastUmaCode));
            break;
        }
        case Change::HideSecondaryWindows:
            hideSecondaryWindows();
            break;
        default:
            break;
    }
}

void frmSyusohyo::headerClicked(int sheetNo, int section) {
    Quietly([&] { ClickHeader(app_.raceCard, sheetNo, ColNo(section + 1)); });
}

void frmSyusohyo::cellClicked(int sheetNo, const QModelIndex& index) {
    if (!index.isValid()) return;
    const RowNo row(index.row() + 1);
    const ColNo col(index.column() + 1);
    Quietly([&] {
        if (col == card::kName)
            ChooseRunner(app_, row);
        else if (sheetNo == kSheetOdds)
            ClickOddsCell(app_, row, col);
    });
}

void frmSyusohyo::contextMenuRequested(int sheetNo, const QPoint& pos) {
    QTableView* view = sheets_[static_cast<size_t>(sheetNo - 1)];
    const QModelIndex index = view->indexAt(pos);
    if (!index.isValid() || !isEnabled()) return;
    const RowNo row(index.row() + 1);
    const ColNo col(index.column() + 1);
    const QPoint global = view->viewport()->mapToGlobal(pos);
    if (col == card::kMark || col == card::kName) {
        markRow_ = row;
        view->setCurrentIndex(index);
        mnuMark_->popup(global);
        return;
    }
    if (sheetNo != kSheetOdds || col.value < sheet3::kTansyo.value || col.value > sheet3::kSanrentan32.value)
        return;
    std::string caption;
    Quietly([&] { caption = OddsMenuCaption(app_, row, col); });
    QAction* item = menuItem(QStringLiteral("mnuOperationOdds"));
    item->setText(toQString(caption));
    item->setData(toQString(caption));
    item->setEnabled(!caption.empty());
    mnuOdds_->popup(global);
}

void frmSyusohyo::ClearRelateLabel() {
    for (QLabel* l : lblRelateValue_) l->clear();
}

void frmSyusohyo::ClearScoreLabel() {
    for (QLabel* l : lblScoreValue_) l->clear();
}

void frmSyusohyo::addSecondaryWindow(QWidget* window) {
    if (window) secondaryWindows_.emplace_back(window);
}

void frmSyusohyo::hideSecondaryWindows() {
    for (const auto& w : secondaryWindows_) {
        if (w) w->hide();
    }
}

void frmSyusohyo::openImportWindow() {
    veltrix::HideSecondaryWindows(app_);
    emit importWindowRequested();
}

void frmSyusohyo::openAnalyzeWindow() {
    veltrix::HideSecondaryWindows(app_);
    emit analyzeWindowRequested();
}

void frmSyusohyo::openHelp() {
    veltrix::HideSecondaryWindows(app_);
    const QUrl guide = GuideUrl(fromPath(app_.folders.program));
    if (OpenWithShell(guide))
        ui_.showMessage("利用ガイド「" + guide.toLocalFile().toStdString() + "」を開けませんでした。",
                        Icon::Warning);
}

void frmSyusohyo::openMakerSite() {
    veltrix::HideSecondaryWindows(app_);
    if (OpenWithShell(QUrl(QString::fromLatin1(kMakerSiteUrl))))
        ui_.showMessage(std::string("ウェブサイト「") + kMakerSiteUrl + "」を開けませんでした。",
                        Icon::Warning);
}

void frmSyusohyo::showVersionWindow() {
    veltrix::HideSecondaryWindows(app_);
    frmVersion window(this);
    versionWindow_ = &window;
    window.exec();
}

bool frmSyusohyo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblRace_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && isEnabled()) {
        openImportWindow();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && isEnabled() &&
        std::find(lblRelateValue_.begin(), lblRelateValue_.end(), watched) != lblRelateValue_.end()) {
        emit raceFiguresClicked();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmSyusohyo::restoreWindowGeometry() {
    const auto saved = ReadWindowGeometry(app_.folders.program);
    if (!saved) return;  // none yet, or damaged: the default place
    const QRect frame(saved->left, saved->top, saved->width, saved->height);
    // A layout from a screen that is gone would open the window out of reach.
    QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (!screen) return;
    setGeometry(QRect(frame.topLeft(), frame.size().boundedTo(screen->availableGeometry().size())));
    if (saved->splitter.size() == 2) mainSplitter_->setSizes({saved->splitter[0], saved->splitter[1]});
    if (saved->maximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void frmSyusohyo::saveWindowGeometry() {
    WindowGeometry g;
    const QRect normal = isMaximized() ? normalGeometry() : geometry();
    g.left = normal.x();
    g.top = normal.y();
    g.width = normal.width();
    g.height = normal.height();
    g.maximized = isMaximized();
    for (int size : mainSplitter_->sizes()) g.splitter.push_back(size);
    // The layout is a convenience: a write that fails only means the default place next time.
    WriteWindowGeometry(app_.folders.program, g);
}

void frmSyusohyo::closeEvent(QCloseEvent* event) {
    event->accept();
    if (closing_) return;
    closing_ = true;
    Quietly([&] {
        if (isVisible()) saveWindowGeometry();
        hide();
        for (const auto& w : secondaryWindows_) {
            if (w) w->close();
        }
        if (versionWindow_) versionWindow_->close();
        ResetDataCombo();
    });
    if (shutDown_) shutDown_();
}

}  // namespace veltrix::gui
