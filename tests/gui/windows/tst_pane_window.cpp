// The past-performance pane and the timeline chart on the main window, over a
// generated week: a race calculated with the palette, a runner chosen, runs
// clicked and right-clicked, the chart options, the histogram and the tuning
// window opened from the menu. Screenshots of the main window, the histogram
// and the tuning window.
#include <QAction>
#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QValueAxis>
#include <filesystem>
#include <memory>
#include <numeric>

#include "../../support/fake_host.h"
#include "app/calculate_command.h"
#include "app/race_commands.h"
#include "app/startup.h"
#include "gui/shell/attach_windows.h"
#include "gui/widgets/chart_view.h"
#include "gui/widgets/grid_view.h"
#include "gui/widgets/sheet_model.h"
#include "gui/windows/frmDetail.h"
#include "gui/windows/frmSelect.h"
#include "gui/windows/frmSyusohyo.h"
#include "gui/windows/frmTuning.h"
#include "gui/windows/history_area.h"
#include "model_tester.h"
#include "qt_test_main.h"
#include "racecard/columns.h"
#include "sample/imported_sample.h"
#include "sample/sample_world.h"
#include "sample_program.h"

using namespace veltrix;
using namespace veltrix::gui;

namespace {

QColor background(const SheetModel* m, int row) {
    return m->data(m->index(row, 1), Qt::BackgroundRole).value<QColor>();
}

QColor qColor(Rgb c) { return QColor(c.r, c.g, c.b); }

// The values of the bar sets of a chart view, set by set.
QList<QList<qreal>> barValues(ChartView* view) {
    QList<QList<qreal>> out;
    for (QAbstractSeries* s : view->chart()->series())
        if (auto* bars = qobject_cast<QBarSeries*>(s))
            for (QBarSet* set : bars->barSets()) {
                QList<qreal> v;
                for (int i = 0; i < set->count(); ++i) v.append(set->at(i));
                out.append(v);
            }
    return out;
}

}  // namespace

class TestPaneWindow : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<Application> app_;
    std::string raceId_, label_;
    int row_ = 0;  // race card row of the runner with the most past runs

    // A flat race of the generated week and its runner with the most stored runs.
    void pickRace() {
        Application probe;
        StoreLoad load;
        std::string reason;
        QVERIFY2(!StartApplication(probe, dir_.path().toStdString(), load, reason), reason.c_str());
        NullPump pump;
        int best = -1;
        for (int r = 1; r <= probe.store.RaceCount; ++r) {
            const std::string& label = probe.store.RaceLabel[r];
            if (label.find(" 障") != std::string::npos || label.find("３歳以上") == std::string::npos)
                continue;
            QVERIFY(!OpenRace(probe, probe.store.RaceIdList[r], label, pump));
            QVERIFY(!Calculate(probe));
            // Used runs first, then runs in all: a pane with every colour and a full histogram.
            for (int row = 1; row <= probe.raceCard.sheet(kSheetSyuso).rowCount(); ++row) {
                const int runner = FindUmaban(
                    probe.raceCard, probe.raceCard.sheet(kSheetSyuso).text(RowNo(row), card::kUmaCode));
                if (runner < 1 || runner > probe.raceCard.pastRuns.rows()) continue;
                const int n = probe.raceCard.pastRuns.slotCount(runner);
                int used = 0;
                for (int l = 1; l <= n; ++l)
                    used += probe.raceCard.pastRuns.at(runner, l, run::kUseFlag) == "ON";
                if (used * 1000 + n > best)
                    best = used * 1000 + n, raceId_ = probe.store.RaceIdList[r], label_ = label, row_ = row;
            }
        }
        QVERIFY2(best >= 2000, "no runner with two used runs in the generated week");
    }

    void openRace(frmSyusohyo& main) {
        QVERIFY(!main.OpenRace(QString::fromStdString(raceId_), QString::fromStdString(label_)));
    }

    // The palette's calculate button, as the user presses it.
    void calculate(frmSyusohyo& main) {
        main.menuItem(QStringLiteral("mnuSelect"))->trigger();
        auto* palette = main.findChild<frmSelect*>();
        QVERIFY(palette && palette->isVisible());
        test::FakeUserInterface user;  // a race without a usable run says so
        palette->setUserInterface(&user);
        QTest::mouseClick(palette->cmdCalculate(), Qt::LeftButton);
        palette->setUserInterface(nullptr);
    }

    // A click on the runner's name cell, on the frozen columns where the user sees it.
    void chooseRunner(frmSyusohyo& main, int row) {
        auto* view = main.findChild<GridView*>(QStringLiteral("fpsSyusoSheet1"));
        main.fpsSyuso()->setCurrentIndex(0);
        QApplication::processEvents();
        QTableView* frozen = view->frozenView();
        const QModelIndex name = main.sheetModel(1)->index(row - 1, card::kName.value - 1);
        frozen->scrollTo(name);
        QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {}, frozen->visualRect(name).center());
    }

    void clickRun(frmSyusohyo& main, int row, Qt::MouseButton button = Qt::LeftButton) {
        QTableView* pane = main.fpsHistory();
        const QModelIndex index = pane->model()->index(row, run::kDate - 1);
        pane->scrollTo(index);
        const QPoint at = pane->visualRect(index).center();
        if (button == Qt::LeftButton)
            QTest::mouseClick(pane->viewport(), button, {}, at);
        else  // the context menu comes from the view's own request
            emit pane->customContextMenuRequested(at);
    }

    int firstRowColoured(const SheetModel* m, Rgb colour) {
        for (int r = 0; r < m->rowCount(); ++r)
            if (background(m, r) == qColor(colour)) return r;
        return -1;
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

    void calculatedRunnerPaneClicksAndChart() {
        frmSyusohyo main(*app_, [] {});
        AttachSelectWindow(main, *app_);
        main.resize(1260, 980);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        auto* model = main.historyArea()->model();
        test::AttachModelTester(model);
        openRace(main);
        calculate(main);
        chooseRunner(main, row_);
        QCOMPARE(app_->raceCard.lastUmaCode,
                 app_->raceCard.sheet(kSheetSyuso).text(RowNo(row_), card::kUmaCode));

        const int runner = app_->pane.runner;
        const int runs = app_->raceCard.pastRuns.slotCount(runner);
        QCOMPARE(model->rowCount(), runs);
        QCOMPARE(model->columnCount(), 29);
        QCOMPARE(model->headerData(28, Qt::Horizontal).toString(), QStringLiteral("総合"));
        for (int c : {0, 3, 4, 5}) QVERIFY(main.fpsHistory()->isColumnHidden(c));
        // Each row painted as the calculation treated its run.
        for (int r = 0; r < runs; ++r) {
            const std::string& use = app_->raceCard.pastRuns.at(runner, r + 1, run::kUseFlag);
            if (use == "ON") QCOMPARE(background(model, r), qColor(kPaneUsed));
            if (background(model, r) == qColor(kPaneUsed)) QCOMPARE(use, std::string("ON"));
        }
        // The last ten runs are in view.
        QTableView* pane = main.fpsHistory();
        const QRect viewport = pane->viewport()->rect();
        QVERIFY(viewport.intersects(pane->visualRect(model->index(runs - 1, 1))));
        QVERIFY(viewport.intersects(pane->visualRect(model->index(app_->pane.topRow - 1, 1))));

        // Option "対象ﾚｰｽ": two series; the used runs in the second.
        QTest::mouseClick(main.historyArea()->optGraphOption(1), Qt::LeftButton);
        QCOMPARE(app_->timeline.option, 1);
        QList<QList<qreal>> bars = barValues(main.historyArea()->mscGraph());
        QCOMPARE(bars.size(), 2);
        QCOMPARE(bars[1].size(), 233);

        // A used run clicked: grey at once, and gone from the chart's used series.
        const int used = firstRowColoured(model, kPaneUsed);
        QVERIFY2(used >= 0, "the runner has no used run");
        const double usedSum = std::accumulate(bars[1].begin(), bars[1].end(), 0.0);
        clickRun(main, used);
        QCOMPARE(background(model, used), qColor(kPaneGrey));
        QCOMPARE(app_->raceCard.pastRuns.at(runner, used + 1, run::kValidity), std::string("OFF"));
        bars = barValues(main.historyArea()->mscGraph());
        QVERIFY(std::accumulate(bars[1].begin(), bars[1].end(), 0.0) < usedSum ||
                app_->pane.fpsHistory.text(RowNo(used + 1), ColNo(run::kRIndex)).empty());

        // Right-click: a grey run offers nothing; another opens the race menu.
        QMenu* mnuRace = main.mnuRace();
        clickRun(main, used, Qt::RightButton);
        QVERIFY(!mnuRace->isVisible());
        QVERIFY(main.lblJRV()->text().isEmpty());
        clickRun(main, used);  // on again: no calculation since, so used as before
        QCOMPARE(background(model, used), qColor(kPaneUsed));
        clickRun(main, used, Qt::RightButton);
        QTRY_VERIFY(mnuRace->isVisible());
        QCOMPARE(main.lblJRV()->text(),
                 QString::fromStdString(app_->pane.fpsHistory.text(RowNo(used + 1), ColNo(run::kRaceId))));
        QVERIFY(main.menuItem(QStringLiteral("mnuOperationRace"))->isEnabled());
        mnuRace->hide();

        // "RL基準" centres the axis on the race level.
        QTest::mouseClick(main.historyArea()->chkGraphOption(), Qt::LeftButton);
        QVERIFY(app_->timeline.rlBase);
        auto* axis =
            qobject_cast<QValueAxis*>(main.historyArea()->mscGraph()->chart()->axes(Qt::Vertical).value(0));
        QVERIFY(axis);
        QCOMPARE(axis->max() - axis->min(), 20.0);
        QTest::mouseClick(main.historyArea()->chkGraphOption(), Qt::LeftButton);

        QVERIFY(main.grab().save(test::ScreenshotDir() + QStringLiteral("/pane_main_window.png")));
    }

    void histogramFromTheMenuFollowsThePane() {
        frmSyusohyo main(*app_, [] {});
        AttachSelectWindow(main, *app_);
        frmDetail* detail = AttachDetailWindow(main, *app_);
        main.resize(1260, 980);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QAction* mnuDetail = main.menuItem(QStringLiteral("mnuDetail"));
        QVERIFY(!mnuDetail->isEnabled());  // no race: nothing to count
        openRace(main);
        QVERIFY(mnuDetail->isEnabled());
        calculate(main);
        chooseRunner(main, row_);

        mnuDetail->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(detail));
        QCOMPARE(detail->windowTitle(), QStringLiteral("ヒストグラム"));
        QCOMPARE(detail->frameGeometry().topLeft(), main.frameGeometry().topLeft() + QPoint(12, 381));
        auto countsShown = [&] {
            for (int n = 0; n < 6; ++n) {
                const QList<QList<qreal>> bars = barValues(detail->chart(n));
                if (bars.size() != 1 || bars[0].size() != 7) return false;
                for (int k = 0; k < 7; ++k)
                    if (bars[0][k] != app_->detail.counts[static_cast<size_t>(n)][static_cast<size_t>(k)])
                        return false;
            }
            return true;
        };
        QVERIFY(countsShown());
        int total = 0;
        for (int c : app_->detail.counts[0]) total += c;
        QVERIFY2(total > 0, "the chosen runner has no used run with figures");
        QVERIFY(detail->grab().save(test::ScreenshotDir() + QStringLiteral("/histogram.png")));

        // A used run switched off leaves the histogram at once.
        const int used = firstRowColoured(main.historyArea()->model(), kPaneUsed);
        clickRun(main, used);
        int after = 0;
        for (int c : app_->detail.counts[0]) after += c;
        QVERIFY(after < total || app_->pane.fpsHistory.text(RowNo(used + 1), ColNo(run::kRL)).empty());
        QVERIFY(countsShown());

        // Closing hides it; the tuning command hides it too.
        detail->close();
        QVERIFY(!detail->isVisible());
        mnuDetail->trigger();
        QVERIFY(detail->isVisible());
    }

    void tuningFromTheMenuHidesTheSecondaryWindowsAndApplies() {
        frmSyusohyo main(*app_, [] {});
        AttachSelectWindow(main, *app_);
        frmDetail* detail = AttachDetailWindow(main, *app_);
        AttachTuningWindow(main, *app_);
        main.resize(1260, 980);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        openRace(main);
        calculate(main);
        chooseRunner(main, row_);
        main.menuItem(QStringLiteral("mnuDetail"))->trigger();
        auto* palette = main.findChild<frmSelect*>();
        QVERIFY(palette->isVisible() && detail->isVisible());
        QVERIFY(!app_->raceCard.sheet(kSheetSyuso).text(RowNo(row_), sheet1::kSogo).empty());

        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto* tuning = qobject_cast<frmTuning*>(QApplication::activeModalWidget());
            if (!tuning) return;
            seen = true;
            QCOMPARE(tuning->windowTitle(), QStringLiteral("チューニング"));
            QVERIFY(!palette->isVisible());
            QVERIFY(!detail->isVisible());
            QCOMPARE(tuning->weightField(kTuneRaceLevel)->text(), QStringLiteral("0.30"));
            QVERIFY(tuning->grab().save(test::ScreenshotDir() + QStringLiteral("/tuning_window.png")));
            tuning->weightField(kTuneRaceLevel)->selectAll();
            QTest::keyClicks(tuning->weightField(kTuneRaceLevel), QStringLiteral("15"));
            QTest::mouseClick(tuning->cmdSet(), Qt::LeftButton);
        });
        main.menuItem(QStringLiteral("mnuTune"))->trigger();
        QVERIFY(seen);
        QCOMPARE(app_->settings.RaceLevel, 1.5);
        // The race was rebuilt: its figures wait for the next calculation, the pane is empty.
        QCOMPARE(app_->raceCard.sheet(kSheetSyuso).rowCount() > 0, true);
        QVERIFY(app_->raceCard.sheet(kSheetSyuso).text(RowNo(row_), sheet1::kSogo).empty());
        QCOMPARE(main.historyArea()->model()->rowCount(), 0);
    }
};

VELTRIX_QTEST_MAIN(TestPaneWindow)
#include "tst_pane_window.moc"
