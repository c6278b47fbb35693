// The simulations on screen: a prediction simulation over the main window on a
// generated, calculated race with keys pressed on the runner window (faster,
// then the change point moved), and the race model window opened from a past
// race with its grid, sorting, START ended by Esc and CLOSE. Screenshots of the
// start, the change point, the finish and the race model window.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <set>

#include "app/calculate_command.h"
#include "app/race_commands.h"
#include "app/simulation_commands.h"
#include "app/startup.h"
#include "gui/shell/attach_windows.h"
#include "gui/widgets/sheet_model.h"
#include "gui/windows/frmGraphs.h"
#include "gui/windows/frmRace.h"
#include "gui/windows/frmSyusohyo.h"
#include "gui/windows/sim_overlay.h"
#include "gui/windows/simulation_menu.h"
#include "model_tester.h"
#include "qt_test_main.h"
#include "racecard/columns.h"
#include "sample/imported_sample.h"
#include "sample/sample_world.h"
#include "sample_program.h"
#include "simulation/sim_script.h"
#include "store/results_db.h"

using namespace veltrix;
using namespace veltrix::gui;

namespace {

void save(const QImage& image, const QString& name) {
    QVERIFY(image.save(test::ScreenshotDir() + "/" + name + ".png"));
}

struct SeenBox {
    bool seen = false;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Answers the next modal message box with press.
void answerNextBox(SeenBox& seen, QMessageBox::StandardButton press) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, &seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        timer->stop();
        timer->deleteLater();
        seen.seen = true;
        seen.text = box->text();
        seen.icon = box->icon();
        box->button(press)->click();
    });
    timer->start();
}

// 16 runners of a past race: times 1.34.0 + 0.1 x (n - 1), one withdrawn.
std::vector<SeisekiRecord> pastRace() {
    std::vector<SeisekiRecord> out;
    const char* names[] = {"アオノカゼ", "ベニスズメ", "シロガネ", "クロフネノユメ"};
    for (int i = 1; i <= 16; ++i) {
        const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
        const std::string name = std::string(names[i % 4]) + n;
        const std::string place = n;
        out.push_back({std::to_string((i + 1) / 2), n, i == 7 ? "1" : "0", name, std::to_string(i % 3 + 1),
                       "04", "0570", "480", i % 2 ? "+004" : "-002", "騎手" + n, "調教" + n,
                       "1" + std::to_string(339 + i), std::to_string(340 + 3 * (i % 5)),
                       "0" + std::to_string(i % 9 + 1) + "030201", place, place,
                       "0" + std::to_string(100 + 17 * i), n});
    }
    return out;
}

}  // namespace

class TestSimulation : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<Application> app_;
    std::string raceId_, label_;
    const std::string pastId_ = "2025052504010211";

    void pickRace() {
        Application probe;
        StoreLoad load;
        std::string reason;
        QVERIFY2(!StartApplication(probe, dir_.path().toStdString(), load, reason), reason.c_str());
        NullPump pump;
        for (int r = 1; r <= probe.store.RaceCount && raceId_.empty(); ++r) {
            QVERIFY(!OpenRace(probe, probe.store.RaceIdList[r], probe.store.RaceLabel[r], pump));
            QVERIFY(!Calculate(probe));
            if (CountSimTargets(RaceCardSimEntries(probe.raceCard, SimMode::Yoso)) >= 8)
                raceId_ = probe.store.RaceIdList[r], label_ = probe.store.RaceLabel[r];
        }
        QVERIFY2(!raceId_.empty(), "no race with eight predicted runners in the generated week");
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        const std::string made = test::MakeSampleProgramFolder(dir_.path().toStdString(), 5);
        QVERIFY2(made.empty(), made.c_str());
        pickRace();
        QCOMPARE(AppendSeisekiRaceFile(std::filesystem::path(dir_.path().toStdString()) / "data", pastId_,
                                       pastRace()),
                 0);
    }

    void init() {
        app_ = std::make_unique<Application>();
        const std::string started = test::StartOn(*app_, dir_.path().toStdString());
        QVERIFY2(started.empty(), started.c_str());
    }

    void regionsFromRectangleLists() {
        QVERIFY(RegionFromRects({}).isEmpty());
        const SimRect bad{0, 0, 0, 5};
        QVERIFY(RegionFromRects(std::span<const SimRect>(&bad, 1)).isEmpty());
        const QRegion marker = RegionFromRects(MarkerShape());
        QVERIFY(!marker.isEmpty());
        QVERIFY(marker.contains(QPoint(0, 100)));   // the pole
        QVERIFY(marker.contains(QPoint(10, 0)));    // the pennant
        QVERIFY(!marker.contains(QPoint(10, 20)));  // beside the pole: see-through
    }

    // Every control a lock names is a control of the window it locks, and each
    // one is a control of that window alone.
    void everyLockedControlIsAControlOfItsWindow() {
        frmSyusohyo main(*app_, [] {});
        frmRace race(
            *app_, nullptr, [] {}, &main);
        auto check = [](const LockedControls& lock, const std::function<QObject*(LockedControl)>& window,
                        QWidget* owner) {
            std::set<QObject*> seen;
            for (LockedControl c : lock) {
                QObject* control = window(c);
                QVERIFY2(control, qPrintable(QStringLiteral("no control for lock entry %1").arg(int(c))));
                QVERIFY(seen.insert(control).second);
                auto* w = qobject_cast<QWidget*>(control);
                if (w && !qobject_cast<QMenu*>(w)) QCOMPARE(w->window(), owner);
            }
        };
        auto mainControls = [&main](LockedControl c) { return main.lockedControl(c); };
        auto raceControls = [&race](LockedControl c) { return race.lockedControl(c); };
        check(SimulationControls(), mainControls, &main);
        check(RaceModelWindowControls(), mainControls, &main);
        check(RaceModelSimulationControls(), raceControls, &race);
    }

    void predictionOverTheMainWindow() {
        frmSyusohyo main(*app_, [] {});
        SimulationMenu* menu = AttachSimulationMenu(main, *app_);
        main.resize(1260, 980);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QVERIFY(!main.OpenRace(QString::fromStdString(raceId_), QString::fromStdString(label_)));
        QVERIFY(!Calculate(*app_));

        // The same race headless with the same keys: the frame the first runner
        // finishes. The keys that only change the speed do not move anybody.
        int finishFrame = 0;
        {
            std::vector<KeyStep> steps;
            std::string reason;
            QVERIFY(!ParseKeyScript("60=left", steps, reason));
            ScriptedKeyboard keys(steps);
            VirtualClock clock;
            NullSurface nothing;
            SimRandom random(1);
            SimState state = PrepareRunners(RaceCardSimEntries(app_->raceCard, SimMode::Yoso), SimMode::Yoso,
                                            kMainWindowCourse);
            const SimResult headless =
                RunSimulationLoop(state, kMainWindowCourse, SimDevices{keys, clock, nothing, random});
            finishFrame = headless.order.at(0).frame;
        }

        SimOverlayStage* stage = menu->stage();
        bool shotFinish = false;
        int markerStill = 0, lastMarkerX = -1;
        bool shotStart = false, shotChange = false, checkedLock = false;
        connect(stage, &SimOverlayStage::frameShown, this, [&](int frame) {
            SimCanvasWindow* runners = stage->runnerWindow();
            if (!checkedLock) {
                checkedLock = true;
                QVERIFY(runners && runners->isVisible());
                QVERIFY(stage->markerWindow()->isVisible());
                QVERIFY(!main.fpsSyuso()->isEnabled());
                QVERIFY(!main.fpsHistory()->isEnabled());
                QVERIFY(!main.lblRace()->isEnabled());
                QVERIFY(!main.chkOddsFilter()->isEnabled());
                QVERIFY(!main.mnuOdds()->isEnabled());
                QVERIFY(!main.findChild<QMenu*>(QStringLiteral("mnuFile"))->menuAction()->isEnabled());
                QVERIFY(!main.findChild<QLabel*>(QStringLiteral("lblRelateValue3"))->isEnabled());
            }
            if (frame == 2) QTest::keyPress(runners, Qt::Key_Up);  // held: faster every frame
            if (frame == 12) QTest::keyRelease(runners, Qt::Key_Up);
            if (frame == 56 && !shotStart) {
                shotStart = true;
                save(stage->composite(), "simulation_1_start");
            }
            // From frame 60 the change point moves toward the runners until the first passes it.
            if (frame == 60) QTest::keyPress(runners, Qt::Key_Left);
            const int x = stage->markerWindow()->pos().x();
            if (frame > 60 && !shotChange) {
                markerStill = x == lastMarkerX ? markerStill + 1 : 0;
                if (markerStill == 2) {
                    shotChange = true;
                    QTest::keyRelease(runners, Qt::Key_Left);
                    save(stage->composite(), "simulation_2_change_point");
                }
            }
            lastMarkerX = x;
            if (frame == finishFrame) {
                shotFinish = true;
                save(stage->composite(), "simulation_3_finish");
            }
        });

        SeenBox question;
        answerNextBox(question, QMessageBox::Yes);
        main.menuItem(QStringLiteral("mnuYosokuSimulator"))->trigger();
        QVERIFY(question.seen);
        QCOMPARE(question.text, QStringLiteral("予測シミュレーションを開始しますか？"));
        QVERIFY(shotStart);
        QVERIFY(shotChange);
        const SimResult& result = menu->lastSimulation();
        QVERIFY(!result.escaped);
        QCOMPARE(result.interval, 8);
        QCOMPARE(static_cast<int>(result.order.size()),
                 CountSimTargets(RaceCardSimEntries(app_->raceCard, SimMode::Yoso)));
        QCOMPARE(result.order[0].frame, finishFrame);
        QVERIFY(shotFinish);
        // Everything given back, the surfaces gone.
        QVERIFY(!stage->runnerWindow());
        QVERIFY(main.fpsSyuso()->isEnabled());
        QVERIFY(main.lblRace()->isEnabled());
        QVERIFY(main.mnuOdds()->isEnabled());
        QVERIFY(main.findChild<QMenu*>(QStringLiteral("mnuFile"))->menuAction()->isEnabled());

        // A race card without quick results has no runner for the result simulation.
        QVERIFY(CountSimTargets(RaceCardSimEntries(app_->raceCard, SimMode::Kekka)) < 2);
        SeenBox warning;
        answerNextBox(warning, QMessageBox::Ok);
        main.menuItem(QStringLiteral("mnuKekkaSimulator"))->trigger();
        QVERIFY(warning.seen);
        QCOMPARE(warning.icon, QMessageBox::Warning);
        QCOMPARE(warning.text,
                 QStringLiteral("結果シミュレーションを行うには、２頭以上の対象馬が必要です。"));
    }

    void escEndsThePrediction() {
        frmSyusohyo main(*app_, [] {});
        SimulationMenu* menu = AttachSimulationMenu(main, *app_);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QVERIFY(!main.OpenRace(QString::fromStdString(raceId_), QString::fromStdString(label_)));
        QVERIFY(!Calculate(*app_));
        connect(menu->stage(), &SimOverlayStage::frameShown, this, [&](int frame) {
            if (frame == 5) QTest::keyClick(menu->stage()->runnerWindow(), Qt::Key_Escape);
        });
        SeenBox question;
        answerNextBox(question, QMessageBox::Yes);
        main.menuItem(QStringLiteral("mnuYosokuSimulator"))->trigger();
        QVERIFY(menu->lastSimulation().escaped);
        QCOMPARE(menu->lastSimulation().frames, 5);
        QVERIFY(main.fpsSyuso()->isEnabled());
    }

    void raceModelWindow() {
        frmSyusohyo main(*app_, [] {});
        const GraphWindows graphs = AttachGraphWindows(main, *app_);
        frmRace* race = AttachRaceWindow(main, *app_, nullptr, graphs);
        main.resize(1260, 980);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        test::AttachModelTester(race->sheetModel());
        // The pane's right-click on a past run chose this race.
        PastRaceChoice choice;
        choice.umaName = "アオノカゼ04";
        choice.raceId = pastId_;
        choice.caption = "2025/05/25 東京 芝1600 ＮＨＫマイルＣ";
        choice.distance = "1600";
        choice.jyokenCode = "999";
        choice.syubetsuCode = "11";
        choice.trackCode = "11";
        choice.raceLevel = "52.3";
        choice.paceZenhan = "48.1";
        choice.paceKouhan = "55.0";
        app_->pane.pastRace = choice;
        main.lblJRV()->setText(QString::fromStdString(pastId_));
        main.menuItem(QStringLiteral("mnuOperationRace"))->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(race));
        QCOMPARE(race->windowTitle(), QStringLiteral("RACE MODEL SIMULATOR"));
        QCOMPARE(race->pos(), main.geometry().topLeft());
        QVERIFY(!main.fpsSyuso()->isEnabled());
        QVERIFY(!main.fpsHistory()->isEnabled());
        QVERIFY(!main.chkOddsFilter()->isEnabled());
        QVERIFY(!main.findChild<QMenu*>(QStringLiteral("mnuView"))->menuAction()->isEnabled());
        QVERIFY(main.lblRace()->isEnabled());  // the race caption stays

        QCOMPARE(race->lblRace()->text(), QString::fromStdString(choice.caption));
        QCOMPARE(race->lblRelateValue(1)->text(), QStringLiteral("48.1"));
        QVERIFY(!race->cmdRacingViewer()->isEnabled());  // no JV-Link given here

        // Only the main window's controls of those names are locked, not the race model window's own.
        QVERIFY(race->fpsSyuso()->isEnabled());
        QVERIFY(race->lblRelateValue(0)->isEnabled());
        // A race figure label opens this race's pace and predicted graphs along the window's right edge.
        QTest::mouseClick(race->lblRelateValue(0), Qt::LeftButton);
        QVERIFY(graphs.pace->isVisible());
        QVERIFY(graphs.race->isVisible());
        QVERIFY(!graphs.history->isVisible());
        QCOMPARE(graphs.pace->frameGeometry().left(), race->frameGeometry().right() + 1);
        QCOMPARE(graphs.race->frameGeometry().top(), graphs.pace->frameGeometry().bottom() + 1);
        QCOMPARE(app_->raceGraph.entries.size(), size_t{16});
        QCOMPARE(app_->raceGraph.entries[0].label, std::string("1 ベニスズメ01"));
        QCOMPARE(app_->raceGraph.entries[6].label, std::string());  // withdrawn: no figures
        SheetModel* m = race->sheetModel();
        QCOMPARE(m->rowCount(), 16);
        QCOMPARE(m->columnCount(), 18);
        QCOMPARE(m->headerData(17, Qt::Horizontal).toString(), QStringLiteral("MD"));
        QCOMPARE(m->data(m->index(6, 9)).toString(), QStringLiteral("出走取消"));
        QVERIFY(m->data(m->index(6, 1), Qt::FontRole).value<QFont>().strikeOut());
        QCOMPARE(m->data(m->index(3, 1), Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
        QCOMPARE(m->data(m->index(0, 12)).toString(), QStringLiteral("1.34.0"));
        for (size_t i = 0; i < kSimKeyHelp.size(); ++i)
            QCOMPARE(race->findChild<QLabel*>(QStringLiteral("lblKeyHelp%1").arg(i))->text(),
                     QString::fromUtf8(kSimKeyHelp[i]));
        // The first lane runs along the grid's first row.
        const QRect firstRow = race->fpsSyuso()->visualRect(m->index(0, 0));
        QCOMPARE(race->fpsSyuso()->viewport()->mapTo(race, firstRow.topLeft()).y(), 76);
        save(race->grab().toImage(), "race_model_window");

        // "R全" sorts descending: the fastest first.
        race->fpsSyuso()->horizontalHeader()->sectionClicked(16);
        QCOMPARE(m->data(m->index(0, 1)).toString(), QString::fromStdString(pastRace()[0][3]));

        // START: the question, then Esc after a few frames; the window comes back.
        bool locked = false;
        connect(race->stage(), &SimOverlayStage::frameShown, this, [&](int frame) {
            if (frame == 3) {
                locked = !race->cmdStart()->isEnabled() && !race->cmdClose()->isEnabled() &&
                         !race->fpsSyuso()->isEnabled() && !race->lblRelateValue(0)->isEnabled();
                save(race->stage()->composite(), "race_model_simulation");
            }
            if (frame == 3) QTest::keyClick(race->stage()->runnerWindow(), Qt::Key_Escape);
        });
        SeenBox question;
        answerNextBox(question, QMessageBox::Yes);
        QTest::mouseClick(race->cmdStart(), Qt::LeftButton);
        QVERIFY(question.seen);
        QCOMPARE(question.text, QStringLiteral("結果シミュレーションを開始しますか？"));
        QVERIFY(locked);
        QVERIFY(race->lastSimulation().escaped);
        QVERIFY(race->cmdStart()->isEnabled());
        QVERIFY(race->fpsSyuso()->isEnabled());

        // CLOSE gives the main window back.
        QTest::mouseClick(race->cmdClose(), Qt::LeftButton);
        QVERIFY(!race->isVisible());
        QVERIFY(!graphs.pace->isVisible());  // the graphs of the past race go with it
        QVERIFY(!graphs.race->isVisible());
        QVERIFY(main.fpsSyuso()->isEnabled());
        QVERIFY(main.findChild<QMenu*>(QStringLiteral("mnuView"))->menuAction()->isEnabled());

        // A race that is not in the database: an empty grid and START refuses.
        choice.raceId = "2025052504010299";
        app_->pane.pastRace = choice;
        main.menuItem(QStringLiteral("mnuOperationRace"))->trigger();
        QCOMPARE(m->rowCount(), 0);
        SeenBox refused;
        answerNextBox(refused, QMessageBox::Ok);
        QTest::mouseClick(race->cmdStart(), Qt::LeftButton);
        QVERIFY(refused.seen);
        QCOMPARE(refused.text, QStringLiteral("結果シミュレーションを行うには、２頭の対象馬が必要です。"));
        race->close();
    }
};

VELTRIX_QTEST_MAIN(TestSimulation)
#include "tst_simulation.moc"
