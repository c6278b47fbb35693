#include "gui/windows/history_area.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>
#include <exception>

#include "app/pane_commands.h"
#include "graphs/timeline_chart.h"
#include "gui/widgets/chart_view.h"
#include "gui/widgets/qt_host.h"
#include "gui/widgets/sheet_model.h"
#include "racecard/columns.h"

namespace veltrix::gui {

HistoryArea::HistoryArea(Application& app, QTableView* fpsHistory, QFrame* fraChart, QMenu* mnuRace,
                         QLabel* lblJRV, QObject* parent)
    : QObject(parent), app_(app), view_(fpsHistory), mnuRace_(mnuRace), lblJRV_(lblJRV) {
    model_ = new SheetModel(app_.pane.fpsHistory, view_);
    SetUpSheetView(view_, model_);
    view_->horizontalHeader()->setDefaultSectionSize(44);
    view_->setColumnWidth(run::kDate - 1, 84);
    view_->setColumnWidth(run::kRaceName - 1, 150);
    view_->setColumnWidth(run::kJyokenName - 1, 80);
    view_->setColumnWidth(run::kKisyu - 1, 64);
    view_->setColumnWidth(run::kBataiju - 1, 80);
    view_->setColumnWidth(run::kCorners - 1, 72);
    view_->setSelectionMode(QAbstractItemView::NoSelection);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QTableView::clicked, this, &HistoryArea::clicked);
    connect(view_, &QWidget::customContextMenuRequested, this, &HistoryArea::menuRequested);

    auto* layout = new QVBoxLayout(fraChart);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    auto* row = new QHBoxLayout;
    options_ = new QButtonGroup(this);
    for (int i = 0; i < kTimelineOptions; ++i) {
        auto* opt = new QRadioButton(QString::fromUtf8(kTimelineCaptions[static_cast<size_t>(i)]), fraChart);
        opt->setObjectName(QStringLiteral("OptGraphOption%1").arg(i));
        options_->addButton(opt, i);
        row->addWidget(opt);
        optGraphOption_[static_cast<size_t>(i)] = opt;
    }
    chkGraphOption_ = new QCheckBox(QString::fromUtf8(kTimelineRLCaption), fraChart);
    chkGraphOption_->setObjectName(QStringLiteral("chkGraphOption"));
    row->addWidget(chkGraphOption_);
    row->addStretch();
    layout->addLayout(row);
    mscGraph_ = new ChartView(fraChart);
    mscGraph_->setObjectName(QStringLiteral("mscGraph"));
    layout->addWidget(mscGraph_, 1);
    connect(options_, &QButtonGroup::idClicked, this, &HistoryArea::optionClicked);
    connect(chkGraphOption_, &QCheckBox::clicked, this, &HistoryArea::optionClicked);

    subscription_ = app_.changes.subscribe([this](Change c) { changed(c); });
    PutGraph();
}

void HistoryArea::PutGraph() {
    const TimelineChart& chart = app_.timeline;
    if (QAbstractButton* opt = options_->button(chart.option)) opt->setChecked(true);
    chkGraphOption_->setChecked(chart.rlBase);
    mscGraph_->setChartModel(TimelineChartModel(chart));
}

void HistoryArea::scrollToLastRuns() {
    const int rows = model_->rowCount();
    if (rows == 0) return;
    view_->scrollTo(model_->index(app_.pane.topRow - 1, run::kDate - 1), QAbstractItemView::PositionAtTop);
    // A pane too low for ten rows still shows the last run.
    view_->scrollTo(model_->index(rows - 1, run::kDate - 1), QAbstractItemView::EnsureVisible);
}

void HistoryArea::clicked(const QModelIndex& index) {
    if (!index.isValid()) return;
    Quietly([&] { ClickHistoryRun(app_, RowNo(index.row() + 1)); });
}

void HistoryArea::menuRequested(const QPoint& pos) {
    const QModelIndex index = view_->indexAt(pos);
    if (!index.isValid()) return;
    Quietly([&] {
        auto choice = RightClickHistoryRun(app_, RowNo(index.row() + 1));
        if (!choice) return;  // a grey run offers nothing
        lblJRV_->setText(toQString(choice->raceId));
        mnuRace_->popup(view_->viewport()->mapToGlobal(pos));
    });
}

void HistoryArea::optionClicked() {
    Quietly([&] {
        SetGraphOption(app_, options_->checkedId() < 0 ? 0 : options_->checkedId(),
                       chkGraphOption_->isChecked());
    });
}

void HistoryArea::changed(Change change) {
    switch (change) {
        case Change::RunnerChosen:
        case Change::CalculationDone:
            scrollToLastRuns();
            PutGraph();
            break;
        case Change::PaneChanged:
        case Change::RaceCardReset:
        case Change::RaceOpened:
            PutGraph();
            break;
        default:
            break;
    }
}

}  // namespace veltrix::gui
