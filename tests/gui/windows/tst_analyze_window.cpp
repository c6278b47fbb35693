// The analysis-file import window against the local analysis-file service
// (its executable on a free loopback port), on the offscreen platform.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "app/startup.h"
#include "gui/shell/attach_windows.h"
#include "gui/windows/frmAnalyzeData.h"
#include "gui/windows/frmSyusohyo.h"
#include "qt_test_main.h"
#include "sample_program.h"
#include "service/post_form.h"
#include "store/store.h"
// Only its scripted user, which is all inline.
#include "../../support/fake_host.h"

using namespace veltrix;
using namespace veltrix::gui;
using veltrix::test::FakeUserInterface;
namespace fs = std::filesystem;

namespace {

// The local service on a port the system chooses; its first line is its URL.
class LocalService {
public:
    bool start(const QString& files, const QStringList& extra = {}) {
        process_.start(QStringLiteral(VELTRIX_BIN_DIR "/veltrix-analysis-service"),
                       QStringList{QStringLiteral("--files"), files} + extra);
        if (!process_.waitForStarted(10000)) return false;
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(10000)) return false;
        url_ = QString::fromUtf8(process_.readLine()).trimmed();
        return url_.startsWith(QStringLiteral("http://127.0.0.1:"));
    }
    ~LocalService() {
        process_.terminate();
        if (!process_.waitForFinished(10000)) process_.kill();
    }
    const QString& url() const { return url_; }

private:
    QProcess process_;
    QString url_;
};

QString screenshot(const char* name) {
    return test::ScreenshotDir() + QLatin1Char('/') + QString::fromLatin1(name);
}

}  // namespace

class TestAnalyzeWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(program_.isValid() && files_.isValid());
        // The committed week on two dates; its analysis files go to the service.
        const fs::path program = fs::path(program_.path().toStdString());
        fs::copy(fs::path(VELTRIX_TEST_DATA) / "golden/program", program,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        for (const auto& e : fs::directory_iterator(program / "cache"))
            if (e.path().filename().string().rfind("cachea", 0) == 0)
                fs::rename(e.path(), fs::path(files_.path().toStdString()) / e.path().filename());
        QVERIFY(service_.start(files_.path()));
        qputenv(kServiceUrlVariable, service_.url().toUtf8());
        std::string reason;
        StoreLoad load;
        QVERIFY2(!StartApplication(app_, program, load, reason), reason.c_str());
        QCOMPARE(app_.store.DataMode, std::string("KONSYU"));
    }

    void captionsAndTips() {
        frmAnalyzeData w(app_);
        QCOMPARE(w.windowTitle(), QStringLiteral("分析ファイルのインポート"));
        QVERIFY(w.isModal());
        auto* import = w.findChild<QPushButton*>(QStringLiteral("cmdAnalyzeFileImport"));
        auto* cancel = w.findChild<QPushButton*>(QStringLiteral("cmdCancel"));
        QVERIFY(import && cancel);
        QCOMPARE(import->text(), QStringLiteral("インポート"));
        QCOMPARE(import->toolTip(), QStringLiteral("ORVANTE サーバーから分析ファイルをダウンロードします。"));
        QCOMPARE(cancel->text(), QStringLiteral("キャンセル"));
        QCOMPARE(cancel->toolTip(), QStringLiteral("処理を中断します。"));
        QVERIFY(import->isEnabled());
        QVERIFY(!cancel->isEnabled());
        QVERIFY(w.findChild<QProgressBar*>(QStringLiteral("prgStatusAll")));
        QVERIFY(w.findChild<QPlainTextEdit*>(QStringLiteral("txtStatus"))->isReadOnly());
    }

    void fullImportShowsEveryStep() {
        frmAnalyzeData w(app_);
        FakeUserInterface user;  // answers Yes
        w.setUserInterface(&user);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* import = w.findChild<QPushButton*>(QStringLiteral("cmdAnalyzeFileImport"));
        // While it runs, the import button is off and the cancel button on.
        bool lockedWhileRunning = false;
        auto sub = app_.changes.subscribe([&](Change c) {
            if (c == Change::StoreReplaced)
                lockedWhileRunning = !import->isEnabled() &&
                                     w.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->isEnabled();
        });
        import->click();
        QCOMPARE(user.questions.size(), size_t(1));
        QCOMPARE(user.questions[0].text, std::string("今週のレース情報の分析ファイルをインポートしますか？"));
        QVERIFY(user.messages.empty());
        QCOMPARE(w.statusText(),
                 QStringLiteral("分析ファイルをダウンロードしました。 ( 今週のレース情報：統計データ )\r\n"
                                "分析ファイルをインポートしました。 ( 今週のレース情報：統計データ )\r\n"
                                "分析ファイルをダウンロードしました。 ( 今週のレース情報：2026/12/12 )\r\n"
                                "分析ファイルをインポートしました。 ( 今週のレース情報：2026/12/12 )\r\n"
                                "分析ファイルをダウンロードしました。 ( 今週のレース情報：2026/12/13 )\r\n"
                                "分析ファイルをインポートしました。 ( 今週のレース情報：2026/12/13 )\r\n"));
        QVERIFY(lockedWhileRunning);
        QVERIFY(import->isEnabled());
        QVERIFY(!w.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->isEnabled());
        auto* bar = w.findChild<QProgressBar*>(QStringLiteral("prgStatusAll"));
        QCOMPARE(bar->maximum(), app_.store.RaceCount);
        QCOMPARE(bar->value(), bar->maximum());
        // The figures are in the store: some past run has them.
        bool merged = false;
        for (int r = 1; r <= app_.store.HistoryCount; ++r) merged |= app_.store.HistoryInfo.at(r, 32) == "1";
        QVERIFY(merged);
        QVERIFY(w.grab().save(screenshot("analyze_window_full_import.png")));
    }

    void closingTheWindowCancelsTheImport() {
        LocalService slow;
        QVERIFY(slow.start(files_.path(), {QStringLiteral("--answer"), QStringLiteral("slow")}));
        qputenv(kServiceUrlVariable, slow.url().toUtf8());
        frmAnalyzeData w(app_);
        FakeUserInterface user;  // answers Yes
        w.setUserInterface(&user);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // The window stays, with its status box, until the import has stopped.
        bool stayedWhileRunning = false;
        QTimer::singleShot(150, &w, [&w, &stayedWhileRunning] {
            QVERIFY(w.importing());
            w.close();
            stayedWhileRunning = w.isVisible();
        });
        w.findChild<QPushButton*>(QStringLiteral("cmdAnalyzeFileImport"))->click();
        qputenv(kServiceUrlVariable, service_.url().toUtf8());
        QVERIFY(stayedWhileRunning);
        QTRY_VERIFY(!w.isVisible());
        QVERIFY(w.statusText().endsWith(QStringLiteral("分析ファイルのインポートを中断しました。\r\n")));
        QVERIFY(!w.importing());
    }

    void mnuFileImportOpensTheWindow() {
        frmSyusohyo main(app_, [] {});
        AttachAnalyzeWindow(main, app_);
        QVERIFY(!main.load(nullptr));
        QAction* item = main.menuItem(QStringLiteral("mnuFileImport"));
        QVERIFY(item->isEnabled());
        QString shown;
        QTimer::singleShot(0, &main, [&] {
            auto* w = main.findChild<frmAnalyzeData*>();
            if (w && w->isVisible()) {
                shown = w->windowTitle();
                QVERIFY(w->grab().save(screenshot("analyze_window_from_main.png")));
                w->close();
            }
        });
        item->trigger();
        QCOMPARE(shown, QStringLiteral("分析ファイルのインポート"));
    }

private:
    QTemporaryDir program_, files_;
    LocalService service_;
    Application app_;
};

VELTRIX_QTEST_MAIN(TestAnalyzeWindow)
#include "tst_analyze_window.moc"
