#include "gui/windows/frmHeatmap.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>
#include <exception>

#include "app/betting_commands.h"
#include "graphs/heatmap.h"
#include "gui/widgets/grid_view.h"
#include "gui/widgets/qt_host.h"
#include "gui/widgets/sheet_model.h"

namespace veltrix::gui {

frmHeatmap::frmHeatmap(Application& app, QWidget* mainWindow) : QWidget(mainWindow, Qt::Window), app_(app) {
    setObjectName(QStringLiteral("frmHeatmap"));
    setWindowTitle(QStringLiteral("ヒートマップ"));
    buildControls();
    showOptions();
    subscription_ = app_.changes.subscribe([this](Change c) {
        if (c == Change::RaceCardReset) showOptions();
    });
}

frmHeatmap::~frmHeatmap() = default;

void frmHeatmap::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* options = new QHBoxLayout;
    auto* group = new QButtonGroup(this);
    const char* captions[] = {"馬連", "馬単", "3連複", "3連単"};
    for (int i = 0; i < 4; ++i) {
        optShikibetsu_[static_cast<size_t>(i)] = new QRadioButton(QString::fromUtf8(captions[i]), this);
        optShikibetsu_[static_cast<size_t>(i)]->setObjectName(QStringLiteral("optShikibetsu%1").arg(i));
        group->addButton(optShikibetsu_[static_cast<size_t>(i)], i);
        options->addWidget(optShikibetsu_[static_cast<size_t>(i)]);
    }
    options->addSpacing(16);
    options->addWidget(new QLabel(QStringLiteral("軸"), this));
    cboJiku_ = new QComboBox(this);
    cboJiku_->setObjectName(QStringLiteral("cboJiku"));
    for (int h = 1; h <= kHorseMax; ++h) cboJiku_->addItem(QString::number(h));
    options->addWidget(cboJiku_);
    options->addStretch();
    layout->addLayout(options);
    connect(group, &QButtonGroup::idClicked, this, [this](int) { SetHeatMap(); });
    connect(cboJiku_, &QComboBox::currentIndexChanged, this, [this](int) { SetHeatMap(); });

    fpsHeatmap_ = MakeGridView(this, QStringLiteral("fpsHeatmap"));
    sheetModel_ = new SheetModel(app_.heatmap.fpsHeatmap, fpsHeatmap_);
    SetUpSheetView(fpsHeatmap_, sheetModel_);
    fpsHeatmap_->horizontalHeader()->setDefaultSectionSize(40);
    fpsHeatmap_->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    layout->addWidget(fpsHeatmap_, 1);
    resize(800, 470);
}

void frmHeatmap::showOptions() {
    showing_ = true;
    const Heatmap& h = app_.heatmap;
    optShikibetsu_[static_cast<size_t>(h.optShikibetsu)]->setChecked(true);
    cboJiku_->setCurrentIndex(h.cboJiku);
    cboJiku_->setEnabled(h.cboJikuEnabled);
    showing_ = false;
}

void frmHeatmap::SetHeatMap() {
    if (showing_) return;  // a change the program made itself draws nothing
    int option = 0;
    for (int i = 0; i < 4; ++i)
        if (optShikibetsu_[static_cast<size_t>(i)]->isChecked()) option = i;
    Quietly([&] { SelectHeatMap(app_, option, cboJiku_->currentIndex()); });
    showOptions();
}

void frmHeatmap::mnuHeatmap_Click(const QPoint& anchor) {
    // No race on show, or nothing drawn: the window stays as it was.
    if (Quietly(true, [&] { return ShowHeatMap(app_); })) return;
    showOptions();
    move(anchor + QPoint(12, 381));
    showNormal();
    MakeTopMost(this);
}

}  // namespace veltrix::gui
