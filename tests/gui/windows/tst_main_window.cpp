// The main window, its menus and the shell services it uses, on the offscreen platform.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "base/encoding.h"
#include "gui/widgets/qt_host.h"
#include "gui/widgets/sheet_model.h"
#include "gui/windows/frmSplash.h"
#include "gui/windows/frmSyusohyo.h"
#include "gui/windows/frmVersion.h"
#include "jvlink/standin/standin_jvlink.h"
#include "model_tester.h"
#include "qt_test_main.h"
#include "sample_program.h"
#include "store/weekly_store.h"

using namespace veltrix;
using namespace veltrix::gui;

namespace {

struct SeenBox {
    bool seen = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QAbstractButton* defaultButton = nullptr;
    bool defaultIsNo = false;
};

// Watches for the next modal message box, records it and presses `press`.
void answerNextBox(SeenBox& seen, QMessageBox::StandardButton press) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, &seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        timer->stop();
        timer->deleteLater();
        seen.seen = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.defaultButton = box->defaultButton();
        seen.defaultIsNo = box->defaultButton() == box->button(QMessageBox::No);
        box->button(press)->click();
    });
    timer->start();
}

// One menu entry as "objectName|caption", or "-" for a separator.
QStringList entries(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + "|" + a->text());
    return out;
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Application> app_;
    int shutDowns_ = 0;
    bool loadSucceeds_ = true;
    int jvlinkCode_ = 0;

    std::unique_ptr<frmSyusohyo> makeWindow() {
        auto w = std::make_unique<frmSyusohyo>(*app_, [this] { ++shutDowns_; });
        for (int s = 1; s <= 3; ++s) test::AttachModelTester(w->sheetModel(s));
        return w;
    }

    // The window's load on a stand-in whose JVInit answers jvlinkCode_; a store
    // that must not load is damaged first.
    bool load(frmSyusohyo& w) {
        if (!loadSucceeds_) WriteFileBytes(app_->folders.cache / kCache1, "damaged");
        StandinOptions options;
        options.faults.initResult = jvlinkCode_;
        StandinJVLink jv(StandinFolder(app_->folders.program), options);
        return w.load(&jv);
    }

    // A stored week of one race without runners.
    void writeWeeklyFiles() {
        QDir().mkpath(fromPath(app_->folders.cache));
        const std::string label =
            "2009/01/17 中山 11R 15:25 芝1600 ニューイヤーＳ" + std::string(80, ' ') + "2009011706010111";
        const std::string files[] = {
            "\"0\",1,\"KONSYU\"\r\n\"1\",\"2009011706010111\",\"16\",\"13\",\"999\",\"11\",\"" + label +
                "\"\r\n",
            "\"0\",0\r\n", "\"0\",0\r\n"};
        const char* names[] = {kCache1, kCache2, kCache3};
        for (int i = 0; i < 3; ++i)
            QVERIFY(WriteFileBytes(app_->folders.cache / names[i], *Utf8ToCp932(files[i])));
    }

    // A race on show, as opening one leaves it.
    void showRace(const std::string& label) {
        app_->raceCard.lblRace = label;
        app_->changes.notify(Change::RaceOpened);
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        app_ = std::make_unique<Application>();
        app_->folders = Folders::under(toPath(dir_->path()));
        const char* marks[] = {"◎", "○", "▲", "△", "☆", "×", "注", "★", "●", "◇", "◆", "□", "■", "穴", "消"};
        for (int i = 0; i < 15; ++i) app_->settings.Mark[i] = marks[i];
        shutDowns_ = 0;
        loadSucceeds_ = true;
        jvlinkCode_ = 0;
    }

    void captionAndMenuBar() {
        auto w = makeWindow();
        QCOMPARE(w->windowTitle(), QStringLiteral("VELTRIX Version 2.8.3"));
        QStringList titles;
        for (QAction* a : w->menuBar()->actions()) titles << a->text();
        QCOMPARE(titles, (QStringList{"ファイル(&F)", "表示(&V)", "ヘルプ(&H)"}));

        QList<QAction*> bar = w->menuBar()->actions();
        QCOMPARE(entries(bar[0]->menu()),
                 (QStringList{"mnuRaceInfoImport|レース情報のインポート(&I)...", "-",
                              "mnuFileImport|分析ファイルのインポート(&D)...", "-",
                              "mnuExport|出走表のエクスポート(&E)...", "-", "mnuPrint|出走表の印刷(&P)...",
                              "mnuPrintRGraph|予測R指数グラフの印刷(&R)", "-", "mnuFileExit|終了(&X)"}));
        QCOMPARE(
            entries(bar[1]->menu()),
            (QStringList{"mnuSelect|選択パレット(&S)", "mnuRGraph|R指数グラフ(&R)",
                         "mnuDetail|ヒストグラム(&H)", "mnuHeatmap|ヒートマップ(&M)",
                         "mnuKaimeList|買い目リスト(&K)", "-", "mnuYosokuSimulator|予測シミュレーション(&Y)",
                         "mnuKekkaSimulator|結果シミュレーション(&K)", "-", "mnuTune|チューニング(&T)"}));
        QCOMPARE(entries(bar[2]->menu()), (QStringList{"mnuOpenHelp|利用ガイドを開く(&G)", "-",
                                                       "mnuOpenOrvante|ORVANTE ウェブサイト(&W)", "-",
                                                       "mnuHelpAbout|バージョン情報(&A)..."}));

        QCOMPARE(w->mnuOdds()->title(), QStringLiteral("オッズ"));
        QCOMPARE(w->mnuOdds()->actions().first()->objectName(), QStringLiteral("mnuOperationOdds"));
        QCOMPARE(w->mnuMark()->title(), QStringLiteral("印"));
        QCOMPARE(w->mnuRace()->title(), QStringLiteral("RaceModelSimulator"));
        QCOMPARE(entries(w->mnuRace()), (QStringList{"mnuOperationRace|RACE MODEL SIMULATOR を開く",
                                                     "mnuOperationRacingViewer|JRA RACING VIEWER を開く"}));
    }

    void sheetsAndEmptyStart() {
        auto w = makeWindow();
        QVERIFY(!load(*w));
        QCOMPARE(w->fpsSyuso()->objectName(), QStringLiteral("fpsSyuso"));
        QCOMPARE(w->fpsSyuso()->count(), 3);
        QCOMPARE(w->fpsSyuso()->tabText(0), QStringLiteral("出走表"));
        QCOMPARE(w->fpsSyuso()->tabText(1), QStringLiteral("競馬場"));
        QCOMPARE(w->fpsSyuso()->tabText(2), QStringLiteral("オッズ"));
        QVERIFY(w->fpsHistory());
        // No weekly files: an empty race label and no analysis-file import.
        QVERIFY(w->lblRace()->text().isEmpty());
        QVERIFY(!w->menuItem("mnuFileImport")->isEnabled());
        QVERIFY(!w->menuItem("mnuExport")->isEnabled());
    }

    void markItemsFromSettings() {
        auto w = makeWindow();
        QVERIFY(!load(*w));
        QList<QAction*> items = w->mnuMark()->actions();
        QCOMPARE(items.size(), 15);
        for (int i = 0; i < 15; ++i) {
            QCOMPARE(items[i]->objectName(), QStringLiteral("mnuOperationMark"));
            QCOMPARE(items[i]->data().toInt(), i);
            QCOMPARE(items[i]->text(), QString::fromStdString(app_->settings.Mark[i]));
        }

        // A shorter value leaves the missing items with empty captions; a second
        // load reuses the items.
        app_->settings.Mark = {};
        app_->settings.Mark[0] = "◎";
        app_->settings.Mark[1] = "&";
        app_->settings.Mark[2] = "▲";
        QVERIFY(!load(*w));
        items = w->mnuMark()->actions();
        QCOMPARE(items.size(), 15);
        QCOMPARE(items[0]->text(), QStringLiteral("◎"));
        QCOMPARE(items[1]->text(), QStringLiteral("&&"));  // shown as "&", not an access key
        QCOMPARE(items[2]->text(), QStringLiteral("▲"));
        for (int i = 3; i < 15; ++i) QVERIFY2(items[i]->text().isEmpty(), qPrintable(QString::number(i)));
    }

    void enablingRules() {
        writeWeeklyFiles();
        auto w = makeWindow();
        QVERIFY(!load(*w));
        QVERIFY(w->menuItem("mnuFileImport")->isEnabled());
        for (const char* name : {"mnuExport", "mnuPrint", "mnuPrintRGraph"})
            QVERIFY(!w->menuItem(name)->isEnabled());

        showRace("2024/06/02 東京 11R");
        QCOMPARE(w->lblRace()->text(), QStringLiteral("2024/06/02 東京 11R"));
        for (const char* name : {"mnuExport", "mnuPrint", "mnuPrintRGraph"})
            QVERIFY(w->menuItem(name)->isEnabled());

        w->ResetDataCombo();
        QVERIFY(w->lblRace()->text().isEmpty());
        for (const char* name : {"mnuExport", "mnuPrint", "mnuPrintRGraph"})
            QVERIFY(!w->menuItem(name)->isEnabled());
        QVERIFY(w->menuItem("mnuFileImport")->isEnabled());

        showRace("x");
        w->ResetData();
        QVERIFY(w->lblRace()->text().isEmpty());
        QVERIFY(!w->menuItem("mnuPrint")->isEnabled());
    }

    // The damaged week is deleted; the user is told which file it was.
    void unreadableStoreKeepsTheImportOff() {
        writeWeeklyFiles();
        loadSucceeds_ = false;
        auto w = makeWindow();
        SeenBox box;
        answerNextBox(box, QMessageBox::Ok);
        QVERIFY(!load(*w));
        QVERIFY(!w->menuItem("mnuFileImport")->isEnabled());
        QVERIFY(box.seen);
        QCOMPARE(box.title, QStringLiteral("VELTRIX"));
        QVERIFY2(box.text.contains(QStringLiteral("cache1xxxxxxxx")) &&
                     box.text.endsWith(QStringLiteral("レース情報を再度インポートしてください。")),
                 qPrintable(box.text));
        QCOMPARE(box.icon, QMessageBox::Warning);
    }

    void jvlinkFailureShowsTheMessage() {
        jvlinkCode_ = -1;
        auto w = makeWindow();
        SeenBox box;
        answerNextBox(box, QMessageBox::Ok);
        QVERIFY(load(*w));
        QVERIFY(box.seen);
        QCOMPARE(box.title, QStringLiteral("VELTRIX"));
        QCOMPARE(box.text, QStringLiteral("JV-Linkの初期化に失敗しました。"));
        QCOMPARE(box.icon, QMessageBox::Warning);
    }

    void raceLabelClickOpensTheImport() {
        auto w = makeWindow();
        QVERIFY(!load(*w));
        QWidget secondary;
        w->addSecondaryWindow(&secondary);
        w->show();
        secondary.show();
        QSignalSpy spy(w.get(), &frmSyusohyo::importWindowRequested);
        QTest::mouseClick(w->lblRace(), Qt::LeftButton);
        QCOMPARE(spy.count(), 1);
        QVERIFY(!secondary.isVisible());
        w->menuItem("mnuRaceInfoImport")->trigger();
        QCOMPARE(spy.count(), 2);
        QTest::mouseClick(w->lblRace(), Qt::RightButton);
        QCOMPARE(spy.count(), 2);
    }

    void closePath() {
        auto w = makeWindow();
        QVERIFY(!load(*w));
        auto secondary = std::make_unique<QWidget>();
        w->addSecondaryWindow(secondary.get());
        w->show();
        secondary->show();
        showRace("race");
        QVERIFY(w->close());
        QVERIFY(!w->isVisible());
        QVERIFY(!secondary->isVisible());
        QVERIFY(w->lblRace()->text().isEmpty());
        QVERIFY(!w->menuItem("mnuExport")->isEnabled());
        QCOMPARE(shutDowns_, 1);
        // A window that is already gone is skipped.
        secondary.reset();
        w->close();
        QCOMPARE(shutDowns_, 1);
    }

    void exitGoesThroughTheClosePath() {
        auto w = makeWindow();
        QVERIFY(!load(*w));
        w->show();
        w->menuItem("mnuFileExit")->trigger();
        QVERIFY(!w->isVisible());
        QCOMPARE(shutDowns_, 1);
    }

    void guideUrlOfAFolderWithSpaces() {
        QUrl url = GuideUrl(QStringLiteral("/opt/my programs/VELTRIX 2"));
        QVERIFY(url.isLocalFile());
        QCOMPARE(url.toLocalFile(), QStringLiteral("/opt/my programs/VELTRIX 2/help/Guide01.html"));
        QCOMPARE(url.toEncoded(), QByteArray("file:///opt/my%20programs/VELTRIX%202/help/Guide01.html"));
        // Japanese folder names survive as well.
        QCOMPARE(GuideUrl(QStringLiteral("/home/競馬")).toLocalFile(),
                 QStringLiteral("/home/競馬/help/Guide01.html"));
        // The guide is shipped next to the executables.
        QVERIFY(QFile::exists(GuideUrl(QStringLiteral(VELTRIX_BIN_DIR)).toLocalFile()));
        QCOMPARE(QUrl(QString::fromLatin1(kMakerSiteUrl)).scheme(), QStringLiteral("https"));
    }

    void versionWindow() {
        frmVersion v;
        QVERIFY(v.isModal());
        QCOMPARE(v.findChild<QLabel*>("lblProductName")->text(), QStringLiteral("VELTRIX"));
        QCOMPARE(v.findChild<QLabel*>("lblVersion")->text(), QStringLiteral("Version 2.8.3"));
        bool saved = false;
        QTimer::singleShot(0, &v, [&v, &saved] {
            saved = v.grab().save(test::ScreenshotDir() + QStringLiteral("/version_window.png"));
            v.cmdOK()->click();
        });
        QCOMPARE(v.exec(), int(QDialog::Accepted));
        QVERIFY(saved);
    }

    void splashShowsTheVersion() {
        frmSplash s;
        QCOMPARE(s.lblVersion()->text(), QStringLiteral("Version 2.8.3"));
        QVERIFY(s.windowFlags().testFlag(Qt::FramelessWindowHint));
    }

    void makeTopMostKeepsPlaceAndSize() {
        QWidget main;
        main.setWindowTitle("main");
        main.show();
        QWidget palette;
        palette.setWindowTitle(QStringLiteral("選択パレット"));
        palette.setGeometry(120, 140, 300, 200);
        palette.show();
        QVERIFY(QTest::qWaitForWindowExposed(&palette));
        const QRect before = palette.geometry();
        MakeTopMost(QStringLiteral("選択パレット"));
        QVERIFY(palette.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(palette.isVisible());
        QCOMPARE(palette.geometry(), before);
        QVERIFY(!main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        // A hidden window stays hidden; no window of the caption is no error.
        QWidget hidden;
        MakeTopMost(&hidden);
        QVERIFY(!hidden.isVisible());
        MakeTopMost(QStringLiteral("no such window"));
        MakeTopMost(static_cast<QWidget*>(nullptr));
    }

    void messageBoxesOfTheUserInterface() {
        QtUserInterface ui;
        SeenBox box;
        answerNextBox(box, QMessageBox::Yes);
        QVERIFY(ui.askYesNo("置き換えますか？", Icon::Warning, true));
        QCOMPARE(box.title, QStringLiteral("VELTRIX"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QVERIFY(box.defaultIsNo);

        SeenBox plain;
        answerNextBox(plain, QMessageBox::No);
        QVERIFY(!ui.askYesNo("続けますか？", Icon::Question, false));
        QCOMPARE(plain.icon, QMessageBox::Question);
        QVERIFY(!plain.defaultIsNo);
        QVERIFY(plain.defaultButton);

        SeenBox info;
        answerNextBox(info, QMessageBox::Ok);
        ui.showMessage("完了しました。", Icon::Information);
        QCOMPARE(info.text, QStringLiteral("完了しました。"));
        QCOMPARE(info.icon, QMessageBox::Information);

        // Status and progress go to the window's label and bar, and nowhere when absent.
        ui.setStatus("ignored");
        QLabel status;
        ui.setStatusLabel(&status);
        ui.setStatus("データを取り込んでいます");
        QCOMPARE(status.text(), QStringLiteral("データを取り込んでいます"));
    }

    void pumpCancelFlag() {
        QtPump pump;
        QVERIFY(!pump.cancelRequested());
        bool ran = false;
        QTimer::singleShot(0, [&] {
            ran = true;
            pump.requestCancel();
        });
        pump.processEvents();
        QVERIFY(ran);
        QVERIFY(pump.cancelRequested());
        pump.clearCancel();
        QVERIFY(!pump.cancelRequested());
    }

    // While a long loop pumps events no window takes input, but a cancel control does.
    void pumpKeepsInputOutExceptCancel() {
        QWidget window;
        auto* other = new QPushButton(QStringLiteral("other"), &window);
        auto* cancel = new QPushButton(QStringLiteral("キャンセル"), &window);
        cancel->move(0, 40);
        MarkAsCancelControl(cancel);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy otherClicks(other, &QPushButton::clicked);
        QSignalSpy cancelClicks(cancel, &QPushButton::clicked);
        QtPump pump;
        for (QPushButton* b : {other, cancel}) {
            const QPoint at = b->rect().center();
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QCoreApplication::postEvent(b, new QMouseEvent(type, at, b->mapToGlobal(at), Qt::LeftButton,
                                                               Qt::LeftButton, Qt::NoModifier));
        }
        pump.processEvents();
        QCOMPARE(otherClicks.count(), 0);
        QCOMPARE(cancelClicks.count(), 1);
        // Outside the pump the same click goes through.
        QTest::mouseClick(other, Qt::LeftButton);
        QCOMPARE(otherClicks.count(), 1);
    }

    void fileFilters() {
        QCOMPARE(toQtFileFilter("CSV ファイル (*.csv)|*.csv"), QStringLiteral("CSV ファイル (*.csv)"));
        QCOMPARE(toQtFileFilter("CSV|*.csv|すべて|*.*"), QStringLiteral("CSV (*.csv);;すべて (*.*)"));
        QCOMPARE(toQtFileFilter("Text (*.txt *.csv)"), QStringLiteral("Text (*.txt *.csv)"));
    }

    void screenshot() {
        writeWeeklyFiles();
        auto w = makeWindow();
        QVERIFY(!load(*w));
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        showRace("2024年 6月 2日（日） 東京 11R 15:40 芝2400m 東京優駿");
        QVERIFY(w->grab().save(test::ScreenshotDir() + QStringLiteral("/main_window.png")));
    }
};

VELTRIX_QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
