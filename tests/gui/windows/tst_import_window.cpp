// The import window on a generated program folder, on the offscreen platform.
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/startup.h"
#include "gui/shell/attach_windows.h"
#include "gui/widgets/sheet_model.h"
#include "gui/windows/frmDataImport.h"
#include "gui/windows/frmSyusohyo.h"
#include "jvlink/standin/standin_jvlink.h"
#include "model_tester.h"
#include "qt_test_main.h"
#include "sample_program.h"
#include "scripted_user.h"
#include "store/weekly_store.h"

using namespace veltrix;
using namespace veltrix::gui;

using test::ScriptedUser;

class TestImportWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        // The generator through veltrix-cli: its record structures and the race
        // tables of Application share type names, so one file cannot include both.
        QProcess gen;
        gen.start(QStringLiteral(VELTRIX_BIN_DIR "/veltrix-cli"),
                  {QStringLiteral("sample"), folder_.path(), QStringLiteral("--results-years"),
                   QStringLiteral("0"), QStringLiteral("--jvlink-only")});
        QVERIFY(gen.waitForFinished(120000));
        QCOMPARE(gen.exitCode(), 0);
        std::string reason;
        QVERIFY2(!PrepareApplication(app_, toPath(folder_.path()), reason), reason.c_str());
    }

    void captionsAndTips() {
        StandinJVLink jv(StandinFolder(app_.folders.program));
        frmDataImport w(app_, jv);
        test::AttachModelTester(w.findChild<QTableView*>(QStringLiteral("fpsControl"))->model());
        QCOMPARE(w.windowTitle(), QStringLiteral("レース情報のインポート"));
        QStringList frames;
        for (auto* g : w.findChildren<QGroupBox*>()) frames << g->title();
        QVERIFY(frames.contains(QStringLiteral("JRA-VAN Data Lab. インポート")));
        QVERIFY(frames.contains(QStringLiteral("JV-Link の設定")));
        const struct {
            const char* name;
            const char* caption;
            const char* tip;
        } buttons[] = {
            {"cmdGetDataTokubetsu", "特別登録馬",
             "今週の特別登録馬情報をインポートします。 （ 日曜日18:30頃 ～ ）"},
            {"cmdGetDataThisWeek", "今週のレース",
             "出走表が確定したレース情報をインポートします。 ( 金曜日12:00頃 ～ )"},
            {"cmdGetDataMining", "D.M.一括",
             "データマイニング情報をインポートします。 ( 金曜日 13:00頃 ～ )"},
            {"cmdGetDataOdds", "オッズ一括", "速報オッズ情報をインポートします。 ( 土曜日 9:00頃 ～ )"},
            {"cmdGetDataKekka", "結果一括", "レース結果情報をインポートします。 （ 土曜日10:30頃 ～ ）"},
            {"cmdGetRaceData", "過去成績",
             "過去のレースをシミュレーションする場合に必要な成績情報をインポートします。 （ 月曜日14:00頃 ～ "
             "）"},
            {"cmdConfigJVLink", "ダイアログ表示...", "JV-Linkの設定ダイアログを表示します。"},
            {"cmdCancel", "キャンセル", "処理を中断します。"},
        };
        for (const auto& b : buttons) {
            auto* button = w.findChild<QPushButton*>(QString::fromLatin1(b.name));
            QVERIFY2(button, b.name);
            QCOMPARE(button->text(), QString::fromUtf8(b.caption));
            QCOMPARE(button->toolTip(), QString::fromUtf8(b.tip));
        }
        QVERIFY(w.findChild<QLabel*>(QStringLiteral("lblStatus")));
        // Nothing stored yet: empty list, real-time commands off, cancel off.
        w.activate();
        QCOMPARE(w.findChild<QTableView*>(QStringLiteral("fpsControl"))->model()->rowCount(), 0);
        QVERIFY(!w.findChild<QPushButton*>(QStringLiteral("cmdGetDataOdds"))->isEnabled());
        QVERIFY(!w.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->isEnabled());
        QVERIFY(w.findChild<QPushButton*>(QStringLiteral("cmdGetDataThisWeek"))->isEnabled());
    }

    void thisWeekFillsTheRaceList() {
        StandinJVLink jv(StandinFolder(app_.folders.program));
        frmDataImport w(app_, jv);
        test::AttachModelTester(w.findChild<QTableView*>(QStringLiteral("fpsControl"))->model());
        ScriptedUser user;
        w.setUserInterface(&user);
        jv.options().simulateDownload = false;
        w.resize(760, 520);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        w.findChild<QPushButton*>(QStringLiteral("cmdGetDataThisWeek"))->click();
        QCOMPARE(user.questions, QStringList{QStringLiteral("今週のレース情報をインポートしますか？")});
        QCOMPARE(user.messages, QStringList{QStringLiteral("今週のレース情報を更新しました。")});
        QCOMPARE(QString::fromStdString(app_.store.DataMode), QStringLiteral("KONSYU"));

        auto* grid = w.findChild<QTableView*>(QStringLiteral("fpsControl"));
        QVERIFY(app_.store.RaceCount > 0);
        QCOMPARE(grid->model()->rowCount(), app_.store.RaceCount);
        QVERIFY(grid->isColumnHidden(0) && grid->isColumnHidden(1));
        QCOMPARE(grid->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("開催日"));
        QCOMPARE(grid->model()->headerData(9, Qt::Horizontal).toString(), QStringLiteral("出走表"));
        QCOMPARE(grid->model()->index(0, 8).data().toString(), QStringLiteral("取込"));
        // The check box column is sized for its box and caption, not for "1"/"0".
        const int box = grid->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, grid);
        QVERIFY(grid->columnWidth(9) >= box + grid->fontMetrics().horizontalAdvance(QStringLiteral("表示")));
        QVERIFY(w.findChild<QPushButton*>(QStringLiteral("cmdGetDataOdds"))->isEnabled());
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("lblStatus"))->text(),
                 QStringLiteral("今週のレース情報を更新しました。"));

        // "表示" on the second race opens it.
        const QRect cell = grid->visualRect(grid->model()->index(1, 9));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(QString::fromStdString(app_.raceCard.lblRace),
                 QString::fromStdString(app_.store.RaceLabel[2]));
        QCOMPARE(grid->model()->index(1, 9).data().toString(), QStringLiteral("1"));

        QVERIFY(w.grab().save(test::ScreenshotDir() + QStringLiteral("/import_window.png")));
    }

    // The main window's import command opens the window modally; a race opened
    // from its list shows on the main window.
    void openedFromTheMainWindow() {
        frmSyusohyo main(app_, [] {});
        for (int s = 1; s <= 3; ++s) test::AttachModelTester(main.sheetModel(s));
        main.resize(1024, 700);
        main.show();
        StandinJVLink jv(StandinFolder(app_.folders.program));
        frmDataImport* w = AttachImportWindow(main, app_, jv);
        test::AttachModelTester(w->findChild<QTableView*>(QStringLiteral("fpsControl"))->model());
        ScriptedUser user;
        w->setUserInterface(&user);
        jv.options().simulateDownload = false;
        QVERIFY(!main.load(&jv));

        bool ran = false;
        QTimer::singleShot(0, w, [&] {
            ran = true;
            w->findChild<QPushButton*>(QStringLiteral("cmdGetDataThisWeek"))->click();
            auto* grid = w->findChild<QTableView*>(QStringLiteral("fpsControl"));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(0, 9)).center());
            w->grab().save(test::ScreenshotDir() + QStringLiteral("/import_window_from_main.png"));
            w->accept();
        });
        main.openImportWindow();
        QVERIFY(ran);
        QCOMPARE(user.messages.last(), QStringLiteral("今週のレース情報を更新しました。"));
        QVERIFY(app_.store.RaceCount > 0);
        QCOMPARE(app_.raceCard.lblRace, app_.store.RaceLabel[1]);
        QCOMPARE(main.lblRace()->text(), QString::fromStdString(VisibleRaceLabel(app_.store.RaceLabel[1])));
        // The race card shows the chosen race's runners.
        QCOMPARE(main.sheetModel(1)->rowCount(), std::stoi(app_.store.RaceInfo.at(1, 2)));
        QVERIFY(main.grab().save(test::ScreenshotDir() + QStringLiteral("/main_window_with_race.png")));
    }

private:
    QTemporaryDir folder_;
    Application app_;
};

VELTRIX_QTEST_MAIN(TestImportWindow)
#include "tst_import_window.moc"
