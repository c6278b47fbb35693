// The three graph windows of a calculated generated race: opened together from
// the menu or a race figure label along the race card's right edge, drawn from
// the core's points and labels, switched between the two schemes by a click,
// refreshed by the calculation and the pane, and opened for a past race by the
// race model window's entry point; resizable, their places kept between runs.
// Screenshots of each in both schemes and resized.
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QDir>
#include <QGraphicsLayout>
#include <QLabel>
#include <QScatterSeries>
#include <QTemporaryDir>
#include <QTest>
#include <QGraphicsScene>
#include <QValueAxis>
#include <memory>

#include "../../support/fake_host.h"
#include "app/calculate_command.h"
#include "app/pane_commands.h"
#include "app/race_commands.h"
#include "app/startup.h"
#include "engine/history_pane.h"
#include "graphs/graph_layout.h"
#include "gui/shell/attach_windows.h"
#include "gui/widgets/chart_view.h"
#include "gui/windows/frmGraphs.h"
#include "gui/windows/frmSyusohyo.h"
#include "qt_test_main.h"
#include "racecard/columns.h"
#include "sample/imported_sample.h"
#include "sample/sample_world.h"
#include "sample_program.h"
#include "store/window_geometry.h"

using namespace veltrix;
using namespace veltrix::gui;

namespace {

// The points a chart draws, in order, with their whole labels (empty for an unlabelled chart).
QList<QPair<QString, QPointF>> drawnPoints(ChartView* view) {
    QList<QPair<QString, QPointF>> out;
    const QList<DrawnLabel> labels = DrawnPointLabels(view->chart());
    for (const DrawnLabel& l : labels) out.append({l.full, l.value});
    if (!labels.isEmpty()) return out;
    for (QAbstractSeries* s : view->chart()->series())
        if (auto* scatter = qobject_cast<QScatterSeries*>(s))
            for (const QPointF& p : scatter->points()) out.append({QString(), p});
    return out;
}

// The chart's layout after new axes or a new size: done when the event loop has run it.
bool laidOut(GraphWindowBase* g) { return g->chart()->chart()->layout()->isActivated(); }

// The labels lie inside the plot and clear of each other; a shortened one is its horse number.
void checkLabels(GraphWindowBase* g) {
    const QRectF plot = g->chart()->chart()->plotArea();
    const QList<DrawnLabel> labels = DrawnPointLabels(g->chart()->chart());
    for (qsizetype i = 0; i < labels.size(); ++i) {
        QVERIFY2(plot.contains(labels[i].box), qPrintable(labels[i].full));
        if (labels[i].text != labels[i].full)
            QCOMPARE(labels[i].text, labels[i].full.section(QLatin1Char(' '), 0, 0));
        for (qsizetype j = 0; j < i; ++j)
            QVERIFY2(!labels[i].box.intersects(labels[j].box),
                     qPrintable(labels[i].full + " / " + labels[j].full));
    }
}

}  // namespace

class TestGraphWindows : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<Application> app_;
    std::string raceId_, label_;
    int row_ = 0;  // a runner with at least two used runs

    void pickRace() {
        Application probe;
        StoreLoad load;
        std::string reason;
        QVERIFY2(!StartApplication(probe, dir_.path().toStdString(), load, reason), reason.c_str());
        NullPump pump;
        for (int r = 1; r <= probe.store.RaceCount && row_ == 0; ++r) {
            const std::string& label = probe.store.RaceLabel[r];
            if (label.find(" 障") != std::string::npos) continue;
            QVERIFY(!OpenRace(probe, probe.store.RaceIdList[r], label, pump));
            QVERIFY(!Calculate(probe));
            if (RaceGraphEntries(probe.raceCard.sheet(kSheetSyuso)).size() < 6) continue;
            for (int row = 1; row <= probe.raceCard.sheet(kSheetSyuso).rowCount() && row_ == 0; ++row) {
                if (!ChooseRunner(probe, RowNo(row))) continue;
                if (probe.historyGraph.entries.size() >= 2) {
                    raceId_ = probe.store.RaceIdList[r];
                    label_ = label;
                    row_ = row;
                }
            }
        }
        QVERIFY2(row_ > 0, "no calculated race with a runner of two used runs in the generated week");
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        const std::string made = test::MakeSampleProgramFolder(dir_.path().toStdString(), 5);
        QVERIFY2(made.empty(), made.c_str());
        pickRace();
    }

    void init() {
        app_ = std::make_unique<Application>();
        const std::string started = test::StartOn(*app_, dir_.path().toStdString());
        QVERIFY2(started.empty(), started.c_str());
    }

    void threeWindowsOfACalculatedRaceInBothSchemes() {
        frmSyusohyo main(*app_, [] {});
        const GraphWindows w = AttachGraphWindows(main, *app_);
        main.setGeometry(40, 40, 1260, 900);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        {
            // Printing the predicted graph while it is closed says what to do.
            test::FakeUserInterface user;
            PrintRaceGraphWithDialog(*w.race, &main, user);
            QCOMPARE(user.messages.size(), size_t(1));
            QCOMPARE(user.messages[0].text, std::string(kRaceGraphClosedMessage));
        }

        // No race: nothing opens.
        main.menuItem(QStringLiteral("mnuRGraph"))->trigger();
        QVERIFY(!w.pace->isVisible() && !w.race->isVisible() && !w.history->isVisible());

        QVERIFY(!main.OpenRace(QString::fromStdString(raceId_), QString::fromStdString(label_)));
        QVERIFY(!Calculate(*app_));
        QVERIFY(ChooseRunner(*app_, RowNo(row_)));

        // A click on a race figure label opens all three.
        auto* figure = main.findChild<QLabel*>(QStringLiteral("lblRelateValue1"));
        QVERIFY(figure);
        QTest::mouseClick(figure, Qt::LeftButton);
        for (GraphWindowBase* g :
             {static_cast<GraphWindowBase*>(w.pace), static_cast<GraphWindowBase*>(w.race),
              static_cast<GraphWindowBase*>(w.history)}) {
            QVERIFY(g->isVisible());
            QVERIFY(QTest::qWaitForWindowExposed(g));
            QCOMPARE(g->size(),
                     QSize(TwipsToPixels(kGraphWindowWidth, 96), TwipsToPixels(kGraphWindowHeight, 96)));
            QVERIFY(g->captionX()->isVisible() && g->captionY()->isVisible());
        }
        QCOMPARE(w.pace->windowTitle(), QStringLiteral("ペースグラフ"));
        QCOMPARE(w.race->windowTitle(), QStringLiteral("予測R指数グラフ"));
        QCOMPARE(w.history->windowTitle(), QStringLiteral("R指数遷移グラフ"));
        QCOMPARE(w.pace->captionX()->text(), QStringLiteral("P前"));
        QCOMPARE(w.race->captionY()->text(), QStringLiteral("R後"));
        const QRect card = main.frameGeometry();
        const auto places = GraphWindowPlaces(card.left(), card.top(), card.width(), 96);
        QCOMPARE(w.pace->pos(), QPoint(places[0].left, places[0].top));
        QCOMPARE(w.race->pos(), QPoint(places[1].left, places[1].top));
        QCOMPARE(w.history->pos(), QPoint(places[2].left, places[2].top));

        // What the core computed is what the charts draw.
        const auto entries = RaceGraphEntries(app_->raceCard.sheet(kSheetSyuso));
        const auto racePoints = drawnPoints(w.race->chart());
        QCOMPARE(racePoints.size(), static_cast<qsizetype>(entries.size()));
        for (size_t i = 0; i < entries.size(); ++i) {
            QCOMPARE(racePoints[static_cast<qsizetype>(i)].first, QString::fromStdString(entries[i].label));
            QCOMPARE(racePoints[static_cast<qsizetype>(i)].second, QPointF(entries[i].x, entries[i].y));
        }
        const auto historyPoints = drawnPoints(w.history->chart());
        QCOMPARE(historyPoints.size(), static_cast<qsizetype>(app_->historyGraph.entries.size()));
        QVERIFY(historyPoints[0].first.contains(QStringLiteral(" RL")));
        QVERIFY(historyPoints[0].first.endsWith(QStringLiteral("着")));
        QCOMPARE(drawnPoints(w.pace->chart()).size(),
                 qsizetype(RacePointShown(app_->paceGraph)) + qsizetype(StandardPointShown(app_->paceGraph)));
        QVERIFY(RacePointShown(app_->paceGraph));

        // Dark first, light after a click, dark after another.
        auto backdrop = [](GraphWindowBase* g) { return g->chart()->chart()->backgroundBrush().color(); };
        const QString names[] = {QStringLiteral("pace_graph"), QStringLiteral("race_graph"),
                                 QStringLiteral("history_graph")};
        GraphWindowBase* all[] = {w.pace, w.race, w.history};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(backdrop(all[i]), QColor(96, 96, 96));
            QVERIFY(
                all[i]->grab().save(test::ScreenshotDir() + QStringLiteral("/%1_dark.png").arg(names[i])));
            QTest::mouseClick(all[i]->chart()->viewport(), Qt::LeftButton);
            QCOMPARE(backdrop(all[i]), QColor(Qt::white));
            QTRY_VERIFY(laidOut(all[i]));
            QVERIFY(all[i]->captionX()->styleSheet().contains(QStringLiteral("#000000")));
            QVERIFY(
                all[i]->grab().save(test::ScreenshotDir() + QStringLiteral("/%1_light.png").arg(names[i])));
        }
        QCOMPARE(DrawnPointLabels(w.race->chart()->chart()).value(0).colour, QColor(Qt::black));
        QTest::mouseClick(w.race->chart()->viewport(), Qt::LeftButton);
        QCOMPARE(backdrop(w.race), QColor(96, 96, 96));
        QCOMPARE(DrawnPointLabels(w.race->chart()->chart()).value(0).colour, QColor(Qt::white));

        // The axes a redraw replaced go with the event loop's deferred deletes, as in the program.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // Resizable: the charts follow, the labels are laid out again for the new plot.
        const QSize bigger[] = {QSize(420, 380), QSize(560, 460), QSize(480, 300)};
        for (int i = 0; i < 3; ++i) {
            all[i]->resize(bigger[i]);
            QCOMPARE(all[i]->chart()->size(), bigger[i]);
            QTRY_VERIFY(laidOut(all[i]));
            checkLabels(all[i]);
            // The resize's own posted events (the view's scene rect, its repaint) before the picture.
            QCoreApplication::sendPostedEvents();
            QVERIFY(
                all[i]->grab().save(test::ScreenshotDir() + QStringLiteral("/%1_resized.png").arg(names[i])));
        }
        // Small as it opens, with its labels still inside and apart.
        w.race->resize(TwipsToPixels(kGraphWindowWidth, 96), TwipsToPixels(kGraphWindowHeight, 96));
        QTRY_VERIFY(laidOut(w.race));
        checkLabels(w.race);
        w.race->resize(bigger[1]);
        QTRY_VERIFY(laidOut(w.race));

        // A window below 2000 twips hides its caption frames.
        w.pace->resize(TwipsToPixels(1900, 96), w.pace->height());
        QVERIFY(!w.pace->captionX()->isVisible() && !w.pace->captionY()->isVisible());

        // The pane's switches redraw the history graph.
        const qsizetype before = drawnPoints(w.history->chart()).size();
        int usedRow = 0;
        for (int r = 1; r <= app_->pane.fpsHistory.rowCount() && usedRow == 0; ++r)
            if (app_->pane.fpsHistory.cell(RowNo(r), PaneColumn(run::kDate)).back == kPaneUsed &&
                !app_->pane.fpsHistory.text(RowNo(r), PaneColumn(run::kRZenhan)).empty() &&
                !app_->pane.fpsHistory.text(RowNo(r), PaneColumn(run::kRKouhan)).empty())
                usedRow = r;
        QVERIFY(usedRow > 0);
        QVERIFY(!ClickHistoryRun(*app_, RowNo(usedRow)));
        QCOMPARE(drawnPoints(w.history->chart()).size(), before - 1);

        // A new race empties them; the menu opens them again on the race.
        ResetData(*app_);
        QCOMPARE(drawnPoints(w.race->chart()).size(), qsizetype(0));
        QCOMPARE(drawnPoints(w.history->chart()).size(), qsizetype(0));
        // Hidden, each keeps its place and size beside the main window's layout, which stays.
        const WindowGeometry mainLayout{50, 60, 1200, 880, false, {500, 300}};
        QVERIFY(!WriteWindowGeometry(app_->folders.program, mainLayout));
        // Moved by the user onto the (800 x 600) offscreen screen.
        for (int i = 0; i < 3; ++i) all[i]->move(20 + i * 60, 30 + i * 40);
        const QRect kept[] = {QRect(w.pace->pos(), w.pace->size()), QRect(w.race->pos(), w.race->size()),
                              QRect(w.history->pos(), w.history->size())};
        HideSecondaryWindows(*app_);
        QVERIFY(!w.pace->isVisible() && !w.race->isVisible() && !w.history->isVisible());
        QCOMPARE(ReadWindowGeometry(app_->folders.program), std::optional<WindowGeometry>(mainLayout));
        const GraphWindows again = MakeGraphWindows(*app_, &main);
        QVERIFY(!main.OpenRace(QString::fromStdString(raceId_), QString::fromStdString(label_)));
        OpenGraphWindows(again, *app_, &main);
        GraphWindowBase* reopened[] = {again.pace, again.race, again.history};
        for (int i = 0; i < 3; ++i) {
            QVERIFY(reopened[i]->isVisible());
            QCOMPARE(QRect(reopened[i]->pos(), reopened[i]->size()), kept[i]);
        }
        HideSecondaryWindows(*app_);
    }

    void pastRaceEntryPointOpensTwoGraphsBesideAWindow() {
        QWidget host;
        const GraphWindows w = MakeGraphWindows(*app_, &host);
        app_->conditions.ConditionCount = 1;
        app_->conditions.ConditionKey[1] = "1341600";
        app_->conditions.ConditionTable.at(1, 2) = "11.5";
        app_->conditions.ConditionTable.at(1, 3) = "00.5";
        PastRaceGraphs race{
            "+2.0",
            "-1.0",
            "10",
            "13",
            "005",
            "1600",
            {PastRaceGraphEntry("1", "ベガ", "55.0", "45.0"), PastRaceGraphEntry("2", "ダイナ", "", "")}};
        const QRect frame(20, 30, 600, 400);
        OpenPastRaceGraphs(w, *app_, race, "   ", frame);  // no race caption: nothing
        QVERIFY(!w.pace->isVisible());
        OpenPastRaceGraphs(w, *app_, race, "2008/05/04 京都 11R", frame);
        QVERIFY(w.pace->isVisible() && w.race->isVisible() && !w.history->isVisible());
        QCOMPARE(w.pace->pos(), QPoint(620, 30));
        QCOMPARE(w.race->pos(), QPoint(620, 30 + w.pace->frameGeometry().height()));
        QCOMPARE(app_->paceGraph.dblPaceZenhanKijyun, -1.5);
        QCOMPARE(app_->paceGraph.dblPaceKouhan, -1.0);
        const auto points = drawnPoints(w.race->chart());
        QCOMPARE(points.size(), qsizetype(1));
        QCOMPARE(points[0].first, QStringLiteral("1 ベガ"));
    }
};

VELTRIX_QTEST_MAIN(TestGraphWindows)
#include "tst_graph_windows.moc"
