// The histogram window and the chart adapter under it: six charts of seven
// labelled bars drawn from the core's counts, redrawn when the core says the
// pane changed, emptied with the race card; opened only over a race.
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QLineSeries>
#include <QScatterSeries>
#include <QTest>
#include <QValueAxis>

#include "app/application.h"
#include "app/race_commands.h"
#include "graphs/histogram.h"
#include "gui/widgets/chart_view.h"
#include "gui/windows/frmDetail.h"
#include "qt_test_main.h"

using namespace veltrix;
using namespace veltrix::gui;

namespace {

QBarSet* onlySet(ChartView* view) {
    const auto series = view->chart()->series();
    if (series.size() != 1) return nullptr;
    auto* bars = qobject_cast<QBarSeries*>(series[0]);
    return bars && bars->count() == 1 ? bars->barSets()[0] : nullptr;
}

}  // namespace

class TestDetailWindow : public QObject {
    Q_OBJECT

private slots:
    void drawsTheCoreCountsAndFollowsTheChanges() {
        Application app;
        frmDetail w(app);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("ヒストグラム"));
        const char* names[] = {"mscRaceLevel",  "mscTimeZenhan", "mscTimeKouhan",
                               "mscRaceZenhan", "mscRaceKouhan", "mscRaceMd"};
        for (int n = 0; n < 6; ++n) {
            QCOMPARE(w.chart(n)->objectName(), QString::fromLatin1(names[n]));
            auto* axis = qobject_cast<QBarCategoryAxis*>(w.chart(n)->chart()->axes(Qt::Horizontal).value(0));
            QVERIFY(axis);
            QCOMPARE(axis->categories(), (QStringList{"35", "40", "45", "50", "55", "60", "65"}));
            QBarSet* set = onlySet(w.chart(n));
            QVERIFY(set);
            QCOMPARE(set->count(), 7);
            for (int k = 0; k < 7; ++k) QCOMPARE(set->at(k), 0.0);
        }

        app.detail.counts[2] = {0, 1, 3, 0, 0, 0, 2};
        app.changes.notify(Change::PaneChanged);
        QBarSet* set = onlySet(w.chart(2));
        QVERIFY(set);
        QCOMPARE(set->at(2), 3.0);
        QCOMPARE(set->at(6), 2.0);
        QCOMPARE(w.chart(2)->chart()->title(), QStringLiteral("T後"));

        ResetData(app);  // a new race or an import: the charts go back to 0
        set = onlySet(w.chart(2));
        QVERIFY(set);
        QCOMPARE(set->at(2), 0.0);

        w.close();
        QVERIFY(!w.isVisible());
    }

    void opensOnlyOverARace() {
        Application app;
        QWidget raceCard;
        raceCard.setGeometry(100, 80, 800, 600);
        raceCard.show();
        frmDetail w(app, &raceCard);
        w.openFromMenu();
        QVERIFY(!w.isVisible());
        app.raceCard.lblRace = "2009/01/17 中山 01R";
        w.openFromMenu();
        QVERIFY(w.isVisible());
        QCOMPARE(w.frameGeometry().topLeft(), raceCard.frameGeometry().topLeft() + QPoint(12, 381));
    }

    // The adapter draws line and scatter series over value axes as well.
    void adapterDrawsXYSeriesAndReplacesWhatItHad() {
        ChartView view;
        ChartModel m;
        m.x = {0, 10, 6, "%.0f", "x", true, true};
        m.y = {30, 70, 5, "%.0f", "", true, true};
        m.series.push_back({"line", SeriesKind::Line, Rgb{255, 0, 0}, {{0, 40}, {5, 50}, {10, 60}}, {}, {}});
        m.series.push_back({"dots", SeriesKind::Scatter, Rgb{0, 0, 255}, {{2, 45}}, {}, {}});
        m.legend = true;
        view.setChartModel(m);
        const auto series = view.chart()->series();
        QCOMPARE(series.size(), 2);
        auto* line = qobject_cast<QLineSeries*>(series[0]);
        QVERIFY(line && !qobject_cast<QScatterSeries*>(series[0]));
        QCOMPARE(line->count(), 3);
        QCOMPARE(line->color(), QColor(255, 0, 0));
        QVERIFY(qobject_cast<QScatterSeries*>(series[1]));
        auto* y = qobject_cast<QValueAxis*>(view.chart()->axes(Qt::Vertical).value(0));
        QVERIFY(y);
        QCOMPARE(y->min(), 30.0);
        QCOMPARE(y->max(), 70.0);
        QVERIFY(view.chart()->legend()->isVisible());

        view.setChartModel(ChartModel{});
        QCOMPARE(view.chart()->series().size(), 0);
        QCOMPARE(view.chart()->axes().size(), 2);
    }
};

VELTRIX_QTEST_MAIN(TestDetailWindow)
#include "tst_detail_window.moc"
