// What a new user meets first: closing the import window during an import,
// damaged files and a broken settings file at start-up, the race card's frozen
// columns and splitter, Japanese buttons, and the running copy brought forward.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/race_commands.h"
#include "app/startup.h"
#include "app/startup_checks.h"
#include "gui/shell/attach_windows.h"
#include "gui/widgets/grid_view.h"
#include "gui/widgets/qt_host.h"
#include "gui/widgets/single_instance.h"
#include "gui/windows/frmDataImport.h"
#include "gui/windows/frmSyusohyo.h"
#include "jvlink/standin/standin_jvlink.h"
#include "qt_test_main.h"
#include "racecard/columns.h"
#include "sample_program.h"
#include "store/settings.h"
#include "store/window_geometry.h"

using namespace veltrix;
using namespace veltrix::gui;

namespace {

QString screenshot(const char* name) {
    return test::ScreenshotDir() + QLatin1Char('/') + QString::fromLatin1(name);
}

// The committed three-race program folder, copied so that a test may damage it.
std::filesystem::path copyGoldenProgram(const QTemporaryDir& dir) {
    const std::filesystem::path to = toPath(dir.path()) / "program";
    std::filesystem::copy(VELTRIX_TEST_DATA "/golden/program", to, std::filesystem::copy_options::recursive);
    return to;
}

// What a message box showed; filled when the box appears, then it is answered.
struct BoxSeen {
    bool shown = false;
    QString title, text;
    QStringList buttons;
};

// Watches for the next message box, records it, saves a screenshot and presses `press`.
void answerNextBox(BoxSeen& seen, const char* shot, QMessageBox::StandardButton press) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, &seen, shot, press] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible()) continue;
            timer->stop();
            timer->deleteLater();
            seen.shown = true;
            seen.title = box->windowTitle();
            seen.text = box->text();
            for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
            if (shot) box->grab().save(screenshot(shot));
            box->button(press)->click();
            return;
        }
    });
    timer->start();
}

// Records each message and whether the import window was on screen when it came.
class WatchingUser final : public UserInterface {
public:
    explicit WatchingUser(QWidget* window) : window_(window) {}
    QStringList messages;
    bool windowShownAtMessage = false;
    void showMessage(const std::string& text, Icon) override {
        messages << QString::fromStdString(text);
        windowShownAtMessage = window_->isVisible();
    }
    bool askYesNo(const std::string&, Icon, bool) override { return true; }
    std::string askSaveFileName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    void setStatus(const std::string&) override {}
    void setProgressMax(int) override {}
    void setProgress(int) override {}

private:
    QWidget* window_;
};

// The two program-folder steps of the shell, with its user interface.
class FolderSteps final : public StartupSteps {
public:
    FolderSteps(Application& app, std::filesystem::path folder) : app_(app), folder_(std::move(folder)) {}
    bool anotherCopyRunning() override { return false; }
    void screenSize(int& w, int& h) override { w = 1280, h = 1024; }
    void showSplash() override {}
    bool prepareFolders(std::string& reason) override {
        return PrepareApplication(app_, folder_, reason, false);
    }
    void processEvents() override {}
    bool readSettings(std::string& reason) override { return ReadSettings(app_.settings, folder_, &reason); }
    bool showMainWindow() override { return false; }
    void closeSplash() override {}

private:
    Application& app_;
    std::filesystem::path folder_;
};

}  // namespace

class TestFirstContact : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallJapaneseTranslations(*qApp); }

    // Esc during an import cancels it as the close box does: the window stays,
    // the abort message shows over it, and it closes once the import stopped.
    void escDuringImportCancelsIt() {
        QTemporaryDir folder;
        QProcess gen;
        gen.start(QStringLiteral(VELTRIX_BIN_DIR "/veltrix-cli"),
                  {QStringLiteral("sample"), folder.path(), QStringLiteral("--results-years"),
                   QStringLiteral("0"), QStringLiteral("--jvlink-only")});
        QVERIFY(gen.waitForFinished(120000));
        QCOMPARE(gen.exitCode(), 0);
        Application app;
        std::string reason;
        QVERIFY2(!PrepareApplication(app, toPath(folder.path()), reason), reason.c_str());

        StandinJVLink jv(StandinFolder(app.folders.program));
        frmDataImport w(app, jv);
        WatchingUser user(&w);
        w.setUserInterface(&user);
        jv.options().simulateDownload = false;
        w.resize(760, 520);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        bool pressed = false, visibleAfterEsc = false;
        QTimer::singleShot(0, &w, [&] {
            // The import pumps events; Esc arrives where the keyboard focus is.
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &w;
            QTest::keyClick(target, Qt::Key_Escape);
            pressed = true;
            visibleAfterEsc = w.isVisible();
            w.grab().save(screenshot("import_window_esc_during_import.png"));
        });
        w.findChild<QPushButton*>(QStringLiteral("cmdGetDataThisWeek"))->click();
        QVERIFY(pressed);
        QVERIFY(visibleAfterEsc);
        QCOMPARE(user.messages, QStringList{QStringLiteral("レース情報の更新を中止しました。")});
        QVERIFY(user.windowShownAtMessage);
        QCOMPARE(app.store.RaceCount, 0);
        QTRY_VERIFY(!w.isVisible());

        // Idle, Esc closes at once, and the next command is not cancelled by the old request.
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
        w.show();
        w.findChild<QPushButton*>(QStringLiteral("cmdGetDataThisWeek"))->click();
        QCOMPARE(user.messages.last(), QStringLiteral("今週のレース情報を更新しました。"));
        QVERIFY(w.isVisible());
        // The list starts at its top.
        auto* grid = w.findChild<QTableView*>(QStringLiteral("fpsControl"));
        QCOMPARE(grid->verticalScrollBar()->value(), 0);
    }

    // A damaged analysis file at start-up: one message naming it, and an empty race list.
    void damagedAnalysisFileAtStartup() {
        QTemporaryDir dir;
        const auto program = copyGoldenProgram(dir);
        const auto damaged = program / "cache" / "cachea20261213r";
        {
            std::ofstream out(damaged, std::ios::binary | std::ios::trunc);
            out << "\"1\",\"garbage\"\r\n";
        }
        Application app;
        std::string reason;
        QVERIFY2(!PrepareApplication(app, program, reason), reason.c_str());
        frmSyusohyo main(app, [] {});
        StandinJVLink jv(StandinFolder(app.folders.program));
        frmDataImport* importWindow = AttachImportWindow(main, app, jv);
        BoxSeen seen;
        answerNextBox(seen, "startup_damaged_analysis_file.png", QMessageBox::Ok);
        QVERIFY(!main.load(&jv));
        QVERIFY(seen.shown);
        QCOMPARE(seen.title, QStringLiteral("VELTRIX"));
        QCOMPARE(seen.text, QString::fromStdString(DamagedAnalysisFileMessage(damaged)));
        QVERIFY(seen.text.endsWith(QStringLiteral("分析ファイルを再度インポートしてください。")));
        QVERIFY(!std::filesystem::exists(damaged));
        QCOMPARE(app.store.RaceCount, 0);
        importWindow->activate();
        QCOMPARE(importWindow->findChild<QTableView*>(QStringLiteral("fpsControl"))->model()->rowCount(), 0);
    }

    // A broken settings file ends the start-up with one message that says where.
    void brokenSettingsShowTheReason() {
        QTemporaryDir dir;
        const auto program = copyGoldenProgram(dir);
        {
            std::ofstream out(program / kSettingsFileName, std::ios::binary | std::ios::trunc);
            out << "[TuneInfo]\r\nRaceLevel=0.50\r\nPace=fast\r\n";
        }
        Application app;
        FolderSteps steps(app, program);
        QtUserInterface ui;
        BoxSeen seen;
        answerNextBox(seen, "startup_broken_settings.png", QMessageBox::Ok);
        QCOMPARE(RunStartup(steps, ui), StartupResult::Failed);
        QVERIFY(seen.shown);
        QCOMPARE(seen.title, QStringLiteral("VELTRIX"));
        QVERIFY2(seen.text.contains(QStringLiteral("3 行目")) &&
                     seen.text.contains(QStringLiteral("「Pace」")) &&
                     seen.text.contains(fromPath(program / kSettingsFileName)),
                 qPrintable(seen.text));
        QCOMPARE(seen.buttons.size(), 1);
    }

    // SORT, No., UMACODE, 印 and 馬名 stay in view on every sheet after scrolling
    // right; a new race opens scrolled to the left; the name fits 18 characters.
    void frozenColumnsStayInView() {
        QTemporaryDir dir;
        const auto program = copyGoldenProgram(dir);
        Application app;
        std::string reason;
        QVERIFY2(!PrepareApplication(app, program, reason), reason.c_str());
        frmSyusohyo main(app, [] {});
        QVERIFY(!main.load(nullptr));
        main.resize(1024, 740);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QVERIFY(!OpenRace(app, app.store.RaceIdList[1], app.store.RaceLabel[1], SharedPump()));

        for (int sheetNo = 3; sheetNo >= 1; --sheetNo) {
            main.fpsSyuso()->setCurrentIndex(sheetNo - 1);
            auto* view = qobject_cast<GridView*>(main.fpsSyuso()->currentWidget());
            QVERIFY(view);
            QCOMPARE(view->frozenColumns(), card::kName.value);
            QVERIFY(view->columnWidth(card::kName.value - 1) >=
                    view->fontMetrics().horizontalAdvance(QString(18, QChar(0x99AC))));
            QScrollBar* bar = view->horizontalScrollBar();
            QVERIFY(bar->maximum() > 0);
            bar->setValue(bar->maximum());
            QApplication::processEvents();
            QTableView* frozen = view->frozenView();
            QVERIFY(frozen && frozen->isVisible());
            // The name column is drawn at its place, left of the scrolled columns.
            const int nameRight = frozen->columnViewportPosition(card::kName.value - 1) +
                                  frozen->columnWidth(card::kName.value - 1);
            QVERIFY(frozen->width() >= nameRight);
            QCOMPARE(frozen->columnViewportPosition(0), 0);
            if (sheetNo == 1) QVERIFY(main.grab().save(screenshot("race_card_frozen_scrolled_right.png")));
        }

        // Another race opens at the first columns.
        QVERIFY(!OpenRace(app, app.store.RaceIdList[2], app.store.RaceLabel[2], SharedPump()));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(qobject_cast<QTableView*>(main.fpsSyuso()->widget(i))->horizontalScrollBar()->value(),
                     0);
    }

    // The splitter between the race card and the lower area, and the window's
    // place, come back at the next start.
    void geometryRestoredAtTheNextStart() {
        QTemporaryDir dir;
        const auto program = copyGoldenProgram(dir);
        Application app;
        std::string reason;
        QVERIFY2(!PrepareApplication(app, program, reason), reason.c_str());
        QList<int> sizes;
        QRect placed;
        {
            frmSyusohyo main(app, [] {});
            main.setGeometry(20, 30, 780, 560);
            main.show();
            QVERIFY(QTest::qWaitForWindowExposed(&main));
            QSplitter* splitter = main.mainSplitter();
            QVERIFY(splitter && splitter->orientation() == Qt::Vertical);
            const int total = splitter->sizes().value(0) + splitter->sizes().value(1);
            splitter->setSizes({total - 150, 150});  // the user gives the grid more room
            sizes = splitter->sizes();
            placed = main.geometry();
            main.close();  // the close path saves the layout
        }
        QVERIFY(ReadWindowGeometry(program));
        frmSyusohyo next(app, [] {});
        next.restoreWindowGeometry();
        next.show();
        QVERIFY(QTest::qWaitForWindowExposed(&next));
        QCOMPARE(next.geometry(), placed);
        QCOMPARE(next.mainSplitter()->sizes(), sizes);
        next.grab().save(screenshot("main_window_restored_layout.png"));

        // A damaged file is ignored: the default size, no error.
        {
            std::ofstream out(program / kGeometryFileName, std::ios::binary | std::ios::trunc);
            out << "Left=oops\r\n";
        }
        frmSyusohyo fresh(app, [] {});
        const QSize defaultSize = fresh.size();
        fresh.restoreWindowGeometry();
        QCOMPARE(fresh.size(), defaultSize);
    }

    // Qt's standard buttons in Japanese.
    void questionBoxHasJapaneseButtons() {
        QtUserInterface ui;
        BoxSeen seen;
        answerNextBox(seen, "question_box_japanese_buttons.png", QMessageBox::No);
        QVERIFY(!ui.askYesNo("今週のレース情報をインポートしますか？", Icon::Question, true));
        QVERIFY(seen.shown);
        QCOMPARE(seen.title, QStringLiteral("VELTRIX"));
        // Qt's translation keeps the access key: "はい(&Y)".
        const QString buttons = seen.buttons.join(QLatin1Char(','));
        QVERIFY2(seen.buttons.size() == 2 && buttons.contains(QStringLiteral("はい")) &&
                     buttons.contains(QStringLiteral("いいえ")),
                 qPrintable(buttons));
    }

    // A second copy asks the first to come to the front.
    void secondCopyRaisesTheFirst() {
        QTemporaryDir dir;
        const QString name = InstanceServerName(dir.path());
        QCOMPARE(InstanceServerName(dir.path()), name);
        QVERIFY(InstanceServerName(dir.path() + QStringLiteral("/other")) != name);
        QVERIFY(AskRunningCopyToRaise(name, 200));  // nobody listening yet

        RaiseServer first;
        int raised = 0;
        connect(&first, &RaiseServer::raiseRequested, this, [&raised] { ++raised; });
        QVERIFY(!first.listen(name));
        QWidget window;
        window.resize(300, 200);
        connect(&first, &RaiseServer::raiseRequested, &window, [&window] { BringToFront(&window); });
        window.showMinimized();
        QVERIFY(!AskRunningCopyToRaise(name));
        QTRY_COMPARE(raised, 1);
        QVERIFY(window.isVisible());
        QVERIFY(!(window.windowState() & Qt::WindowMinimized));
    }
};

VELTRIX_QTEST_MAIN(TestFirstContact)
#include "tst_first_contact.moc"
