#include "gui/windows/frmDetail.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <exception>

#include "app/pane_commands.h"
#include "graphs/histogram.h"
#include "gui/widgets/chart_view.h"
#include "gui/widgets/qt_host.h"

namespace veltrix::gui {

namespace {
constexpr std::array<const char*, kDetailCharts> kChartNames = {
    "mscRaceLevel", "mscTimeZenhan", "mscTimeKouhan", "mscRaceZenhan", "mscRaceKouhan", "mscRaceMd"};
}

frmDetail::frmDetail(Application& app, QWidget* raceCard)
    : QWidget(raceCard, Qt::Tool), app_(app), raceCard_(raceCard) {
    setObjectName(QStringLiteral("frmDetail"));
    setWindowTitle(QStringLiteral("ヒストグラム"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(4);
    for (int n = 0; n < kDetailCharts; ++n) {
        auto* chart = new ChartView(this);
        chart->setObjectName(QString::fromLatin1(kChartNames[static_cast<size_t>(n)]));
        chart->setMinimumSize(200, 160);
        grid->addWidget(chart, n / 3, n % 3);
        charts_[static_cast<size_t>(n)] = chart;
    }
    resize(720, 440);
    subscription_ = app_.changes.subscribe([this](Change c) {
        switch (c) {
            case Change::RunnerChosen:
            case Change::CalculationDone:
            case Change::PaneChanged:
            case Change::RaceCardReset:
            case Change::RaceOpened:
                showCounts();
                break;
            default:
                break;
        }
    });
    showCounts();
}

void frmDetail::showCounts() {
    for (int n = 0; n < kDetailCharts; ++n)
        charts_[static_cast<size_t>(n)]->setChartModel(DetailChartModel(app_.detail, n));
}

void frmDetail::openFromMenu() {
    if (app_.raceCard.lblRace.empty()) return;
    Quietly([&] {
        if (raceCard_) move(raceCard_->frameGeometry().topLeft() + QPoint(kDetailOffsetX, kDetailOffsetY));
        showNormal();
        raise();
        RecountHistogram(app_);
        showCounts();
    });
}

void frmDetail::closeEvent(QCloseEvent* event) {
    // Closing only hides it: it is the one histogram window, shown again from the menu.
    event->ignore();
    hide();
}

}  // namespace veltrix::gui
