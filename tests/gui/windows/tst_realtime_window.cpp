// The import window's real-time buttons on a generated week, with the race card
// beside it, on the offscreen platform.
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "app/startup.h"
#include "gui/widgets/sheet_model.h"
#include "gui/windows/frmDataImport.h"
#include "gui/windows/frmSyusohyo.h"
#include "jvlink/standin/standin_jvlink.h"
#include "model_tester.h"
#include "qt_test_main.h"
#include "racecard/columns.h"
#include "sample_program.h"
#include "scripted_user.h"
#include "store/race_files.h"

using namespace veltrix;
using namespace veltrix::gui;

namespace {

using test::ScriptedUser;

QString cellText(const QAbstractItemModel* model, int row, ColNo col) {
    return model->index(row, col.value - 1).data().toString();
}

}  // namespace

class TestRealTimeWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        QProcess gen;
        gen.start(QStringLiteral(VELTRIX_BIN_DIR "/veltrix-cli"),
                  {QStringLiteral("sample"), folder_.path(), QStringLiteral("--results-years"),
                   QStringLiteral("0"), QStringLiteral("--jvlink-only")});
        QVERIFY(gen.waitForFinished(120000));
        QCOMPARE(gen.exitCode(), 0);
        std::string reason;
        QVERIFY2(!PrepareApplication(app_, toPath(folder_.path()), reason), reason.c_str());
    }

    void oddsBatchAndOneRaceImport() {
        frmSyusohyo main(app_, [] {});
        for (int s = 1; s <= 3; ++s) test::AttachModelTester(main.sheetModel(s));
        main.resize(1200, 720);
        main.show();
        StandinJVLink jv(StandinFolder(app_.folders.program));
        frmDataImport w(app_, jv);
        auto* grid = w.findChild<QTableView*>(QStringLiteral("fpsControl"));
        test::AttachModelTester(grid->model());
        ScriptedUser user;
        w.setUserInterface(&user);
        jv.options().simulateDownload = false;
        w.resize(760, 520);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* odds = w.findChild<QPushButton*>(QStringLiteral("cmdGetDataOdds"));
        auto* status = w.findChild<QLabel*>(QStringLiteral("lblStatus"));
        QVERIFY(!odds->isEnabled());  // no week of this week's races yet

        w.findChild<QPushButton*>(QStringLiteral("cmdGetDataThisWeek"))->click();
        QCOMPARE(QString::fromStdString(app_.store.DataMode), QStringLiteral("KONSYU"));
        QVERIFY(odds->isEnabled());
        QVERIFY(w.findChild<QPushButton*>(QStringLiteral("cmdGetDataMining"))->isEnabled());
        QVERIFY(w.findChild<QPushButton*>(QStringLiteral("cmdGetDataKekka"))->isEnabled());
        // The first race on the race card.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(0, 9)).center());
        const std::string raceId = app_.store.RaceIdList[1];
        QCOMPARE(app_.raceCard.lblRace, app_.store.RaceLabel[1]);
        const QAbstractItemModel* sheet3 = main.sheetModel(kSheetOdds);
        QVERIFY(cellText(sheet3, 0, sheet3::kTansyo).isEmpty());

        user.messages.clear();
        odds->click();
        QCOMPARE(user.questions.last(), QStringLiteral("速報オッズ情報を一括インポートしますか？"));
        QCOMPARE(user.messages, QStringList{QStringLiteral("速報オッズを更新しました。")});
        QCOMPARE(status->text(), QStringLiteral("速報オッズを更新しました。"));
        auto* bar = w.findChild<QProgressBar*>(QStringLiteral("prgStatusAll"));
        QCOMPARE(bar->maximum(), app_.store.RaceCount);
        QCOMPARE(bar->value(), bar->maximum());
        QVERIFY(odds->isEnabled());
        // Every race has its odds file; the race on show has its odds on sheet 3.
        for (int r = 1; r <= app_.store.RaceCount; ++r)
            QVERIFY(std::filesystem::exists(*RaceFilePath(app_.folders, '4', app_.store.RaceIdList[r])));
        QCOMPARE(app_.raceTables.odds.OddsCount, 6);
        QVERIFY(!cellText(sheet3, 0, sheet3::kTansyo).isEmpty());
        QVERIFY(!cellText(sheet3, 0, sheet3::kNinkiJyuni).isEmpty());
        QVERIFY(w.grab().save(test::ScreenshotDir() + QStringLiteral("/realtime_odds_batch.png")));

        // "取込" on the race on show: forecast, odds and result in this order.
        auto* view3 = main.findChild<QTableView*>(QStringLiteral("fpsSyusoSheet3"));
        QVERIFY(view3);
        QVERIFY(view3->isColumnHidden(sheet3::kKekka.value - 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(0, 8)).center());
        QCOMPARE(status->text(), QStringLiteral("レース結果情報を更新しました。"));
        QVERIFY(!app_.raceTables.mining.MiningKubun.empty());
        QVERIFY(!app_.raceTables.kekka.KekkaKubun.empty());
        QVERIFY(!view3->isColumnHidden(sheet3::kKekka.value - 1));
        QVERIFY(!cellText(sheet3, 0, sheet3::kMining).isEmpty() ||
                !cellText(sheet3, 1, sheet3::kMining).isEmpty());

        main.fpsSyuso()->setCurrentIndex(kSheetOdds - 1);
        QVERIFY(main.grab().save(test::ScreenshotDir() + QStringLiteral("/realtime_odds_sheet.png")));
        // The win and place columns beside the frozen names.
        view3->scrollTo(sheet3->index(0, sheet3::kTansyoRitsu.value - 1),
                        QAbstractItemView::PositionAtCenter);
        QVERIFY(main.grab().save(test::ScreenshotDir() + QStringLiteral("/realtime_odds_columns.png")));
        QVERIFY(w.grab().save(test::ScreenshotDir() + QStringLiteral("/realtime_race_import.png")));
    }

private:
    QTemporaryDir folder_;
    Application app_;
};

VELTRIX_QTEST_MAIN(TestRealTimeWindow)
#include "tst_realtime_window.moc"
