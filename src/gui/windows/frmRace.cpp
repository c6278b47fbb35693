#include "gui/windows/frmRace.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <algorithm>
#include <exception>

#include "app/simulation_commands.h"
#include "gui/widgets/grid_view.h"
#include "gui/widgets/qt_host.h"
#include "gui/widgets/sheet_model.h"
#include "gui/windows/sim_overlay.h"
#include "jvlink/session.h"

namespace veltrix::gui {

namespace {

// The grid's rows are the lanes: row 1 starts where the course's first lane is.
constexpr int kGridLeft = 12;
constexpr int kHeaderHeight = 20;
constexpr int kRowHeight = 15;
constexpr int kGridTop = 76 - kHeaderHeight - 1;  // first lane less the header and the frame
constexpr std::array<int, kRaceModelColumns> kColumnWidths = {30, 130, 50, 52, 70, 70, 50, 40, 80,
                                                              80, 36,  36, 56, 44, 44, 44, 44, 44};
constexpr std::array<const char*, 3> kRelateCaptions = {"RL", "P前", "P後"};

QLabel* hiddenLabel(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->hide();
    return l;
}

}  // namespace

frmRace::frmRace(Application& app, JVLink* jv, std::function<void()> endProgram, QWidget* parent)
    : QWidget(parent, Qt::Window), app_(app), jv_(jv), dialogs_(this) {
    setObjectName(QStringLiteral("frmRace"));
    setWindowTitle(QStringLiteral("RACE MODEL SIMULATOR"));
    buildControls();
    stage_ = new SimOverlayStage(
        this, [this](LockedControl c) { return lockedControl(c); }, dialogs_, std::move(endProgram));
}

frmRace::~frmRace() {
    // The grid's model observes model_'s sheet, a member that goes before the
    // window's children: the grid goes first.
    delete fpsSyuso_;
}

QObject* frmRace::lockedControl(LockedControl control) const {
    switch (control) {
        case LockedControl::cmdStart:
            return cmdStart_;
        case LockedControl::cmdRacingViewer:
            return cmdRacingViewer_;
        case LockedControl::cmdClose:
            return cmdClose_;
        case LockedControl::fpsSyuso:
            return fpsSyuso_;
        case LockedControl::lblRace:
            return lblRace_;
        case LockedControl::lblRelateValue0:
            return lblRelateValue_[0];
        case LockedControl::lblRelateValue1:
            return lblRelateValue_[1];
        case LockedControl::lblRelateValue2:
            return lblRelateValue_[2];
        default:
            return nullptr;  // the main window's menus and grids are not this window's
    }
}

void frmRace::buildControls() {
    int gridWidth = 2;
    for (int w : kColumnWidths) gridWidth += w;
    setFixedSize(kGridLeft * 2 + gridWidth, 610);

    lblRace_ = new QLabel(this);
    lblRace_->setObjectName(QStringLiteral("lblRace"));
    lblRace_->setFrameShape(QFrame::StyledPanel);
    lblRace_->setFrameShadow(QFrame::Sunken);
    lblRace_->setGeometry(kGridLeft, 12, 690, 26);
    lblJRV_ = hiddenLabel(this, "lblJRV");
    lblKyori_ = hiddenLabel(this, "lblKyori");
    lblJyokenCode_ = hiddenLabel(this, "lblJyokenCode");
    lblSyubetsuCode_ = hiddenLabel(this, "lblSyubetsuCode");
    lblTrackCode_ = hiddenLabel(this, "lblTrackCode");
    for (size_t i = 0; i < lblRelateValue_.size(); ++i) {
        const int x = 720 + static_cast<int>(i) * 100;
        auto* caption = new QLabel(QString::fromUtf8(kRelateCaptions[i]), this);
        caption->setGeometry(x, 12, 30, 26);
        auto* value = new QLabel(this);
        value->setObjectName(QStringLiteral("lblRelateValue%1").arg(i));
        value->setFrameShape(QFrame::StyledPanel);
        value->setFrameShadow(QFrame::Sunken);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setGeometry(x + 30, 12, 60, 26);
        value->installEventFilter(this);
        lblRelateValue_[i] = value;
    }

    fpsSyuso_ = MakeGridView(this, QStringLiteral("fpsSyuso"));
    QFont small = fpsSyuso_->font();
    small.setPixelSize(11);
    fpsSyuso_->setFont(small);
    fpsSyuso_->setStyleSheet(QStringLiteral("QTableView { background-color: black; color: white; }"));
    sheetModel_ = new SheetModel(model_.fpsSyuso, fpsSyuso_);
    SetUpSheetView(fpsSyuso_, sheetModel_);
    fpsSyuso_->verticalHeader()->hide();
    fpsSyuso_->verticalHeader()->setMinimumSectionSize(kRowHeight);
    fpsSyuso_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    fpsSyuso_->horizontalHeader()->setFixedHeight(kHeaderHeight);
    fpsSyuso_->horizontalHeader()->setSectionsClickable(true);
    fpsSyuso_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fpsSyuso_->setSelectionMode(QAbstractItemView::NoSelection);
    for (int c = 0; c < kRaceModelColumns; ++c)
        fpsSyuso_->setColumnWidth(c, kColumnWidths[static_cast<size_t>(c)]);
    fpsSyuso_->setGeometry(kGridLeft, kGridTop, gridWidth, kHeaderHeight + 2 + kRaceModelRows * kRowHeight);
    connect(fpsSyuso_->horizontalHeader(), &QHeaderView::sectionClicked, this, &frmRace::headerClicked);

    const int buttonsTop = kGridTop + kHeaderHeight + 2 + kRaceModelRows * kRowHeight + 14;
    cmdStart_ = new QPushButton(QStringLiteral("START"), this);
    cmdStart_->setObjectName(QStringLiteral("cmdStart"));
    cmdStart_->setGeometry(kGridLeft, buttonsTop, 130, 34);
    cmdRacingViewer_ = new QPushButton(QStringLiteral("JRA RACING VIEWER"), this);
    cmdRacingViewer_->setObjectName(QStringLiteral("cmdRacingViewer"));
    cmdRacingViewer_->setGeometry(kGridLeft + 140, buttonsTop, 190, 34);
    cmdRacingViewer_->setEnabled(jv_ != nullptr);
    cmdClose_ = new QPushButton(QStringLiteral("CLOSE"), this);
    cmdClose_->setObjectName(QStringLiteral("cmdClose"));
    cmdClose_->setGeometry(kGridLeft + 340, buttonsTop, 110, 34);
    connect(cmdStart_, &QPushButton::clicked, this, &frmRace::cmdStart_Click);
    connect(cmdRacingViewer_, &QPushButton::clicked, this, &frmRace::cmdRacingViewer_Click);
    connect(cmdClose_, &QPushButton::clicked, this, &frmRace::cmdClose_Click);

    for (size_t i = 0; i < kSimKeyHelp.size(); ++i) {
        auto* help = new QLabel(QString::fromUtf8(kSimKeyHelp[i]), this);
        help->setObjectName(QStringLiteral("lblKeyHelp%1").arg(i));
        help->setGeometry(kGridLeft + 480 + static_cast<int>(i / 3) * 200,
                          buttonsTop - 6 + static_cast<int>(i % 3) * 18, 195, 18);
    }
}

void frmRace::showLabels() {
    lblRace_->setText(toQString(model_.lblRace));
    lblJRV_->setText(toQString(model_.lblJRV));
    lblKyori_->setText(toQString(model_.lblKyori));
    lblJyokenCode_->setText(toQString(model_.lblJyokenCode));
    lblSyubetsuCode_->setText(toQString(model_.lblSyubetsuCode));
    lblTrackCode_->setText(toQString(model_.lblTrackCode));
    for (size_t i = 0; i < lblRelateValue_.size(); ++i)
        lblRelateValue_[i]->setText(toQString(model_.lblRelateValue[i]));
}

void frmRace::SetRaceData(const std::string& raceId, const std::string& horseName) {
    Quietly([&] { veltrix::SetRaceData(model_, app_.folders.data, raceId, horseName); });
    showLabels();
}

bool frmRace::loadPastRace() {
    bool none = true;
    Quietly([&] { none = OpenRaceModel(app_, model_); });
    showLabels();
    fpsSyuso_->scrollToTop();
    return none;
}

void frmRace::headerClicked(int section) {
    Quietly([&] { ClickRaceModelHeader(model_.fpsSyuso, ColNo(section + 1)); });
}

void frmRace::cmdStart_Click() {
    PumpingClock clock;
    SimRandom random(static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch()));
    fpsSyuso_->scrollToTop();  // the lanes are the rows from the first
    SimOutcome outcome = SimOutcome::Declined;
    Quietly([&] {
        outcome = StartRaceModelSimulation(model_, *messages_, *stage_, clock, random, lastSimulation_);
    });
    LogSimulationEnd(outcome, lastSimulation_);
    SharedPump().clearCancel();
}

void frmRace::cmdRacingViewer_Click() {
    if (!jv_) return;
    Quietly([&] { PlayRaceVideo(*jv_, *messages_, model_.lblJRV); });
}

void frmRace::cmdClose_Click() { close(); }

bool frmRace::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        std::find(lblRelateValue_.begin(), lblRelateValue_.end(), watched) != lblRelateValue_.end() &&
        static_cast<QWidget*>(watched)->isEnabled()) {
        emit raceFiguresClicked();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmRace::closeEvent(QCloseEvent* event) {
    event->accept();
    hide();
    emit closed();
}

}  // namespace veltrix::gui
