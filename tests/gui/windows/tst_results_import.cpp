// The import window's "過去成績" on a generated program folder with a year of
// results, on the offscreen platform: the questions, the locked window, the
// cancel button and its question, the status line at the end.
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "app/startup.h"
#include "gui/windows/frmDataImport.h"
#include "jvlink/standin/standin_jvlink.h"
#include "qt_test_main.h"
#include "sample_program.h"
#include "store/results_db.h"

using namespace veltrix;
using namespace veltrix::gui;

namespace {

// Answers Yes to the command's question and OK to the set-up question; the
// answer to the cancel question is the test's. Sees every status line.
class ScriptedUser final : public UserInterface {
public:
    QStringList questions;
    bool cancelAnswer = true;
    std::function<void(const QString&)> onStatus;

    void showMessage(const std::string&, Icon) override {}
    bool askYesNo(const std::string& text, Icon, bool) override {
        questions << QString::fromStdString(text);
        return questions.size() == 1 ? true : cancelAnswer;
    }
    bool askOkCancel(const std::string& text, Icon) override {
        questions << QString::fromStdString(text);
        return true;
    }
    std::string askSaveFileName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    void setStatus(const std::string& text) override {
        if (onStatus) onStatus(QString::fromStdString(text));
    }
    void setProgressMax(int) override {}
    void setProgress(int) override {}
};

const QString kUpdating = QStringLiteral("成績情報データベース (");

}  // namespace

class TestResultsImport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        QProcess gen;
        gen.start(QStringLiteral(VELTRIX_BIN_DIR "/veltrix-cli"),
                  {QStringLiteral("sample"), folder_.path(), QStringLiteral("--results-years"),
                   QStringLiteral("1"), QStringLiteral("--jvlink-only")});
        QVERIFY(gen.waitForFinished(300000));
        QCOMPARE(gen.exitCode(), 0);
        std::string reason;
        QVERIFY2(!PrepareApplication(app_, toPath(folder_.path()), reason), reason.c_str());
    }

    // Cancel pressed while reading, answered No: the button comes back and the
    // build reads to the end.
    void cancelTakenBackThenBuiltToTheEnd() {
        StandinJVLink jv(StandinFolder(app_.folders.program));
        frmDataImport w(app_, jv);
        ScriptedUser user;
        user.cancelAnswer = false;
        w.setUserInterface(&user);
        jv.options().simulateDownload = false;
        w.resize(760, 520);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* cancel = w.findChild<QPushButton*>(QStringLiteral("cmdCancel"));
        auto* button = w.findChild<QPushButton*>(QStringLiteral("cmdGetRaceData"));

        int days = 0;
        bool lockedWhileRunning = false, cancelBack = false;
        user.onStatus = [&](const QString& text) {
            if (!text.startsWith(kUpdating)) return;
            ++days;
            if (days == 3) {
                lockedWhileRunning =
                    cancel->isEnabled() && !button->isEnabled() &&
                    !w.findChild<QPushButton*>(QStringLiteral("cmdGetDataThisWeek"))->isEnabled();
                QVERIFY(w.grab().save(test::ScreenshotDir() + QStringLiteral("/results_import_running.png")));
                cancel->click();
                QVERIFY(!cancel->isEnabled());
            }
            if (days == 4) cancelBack = cancel->isEnabled();
        };
        button->click();

        QCOMPARE(user.questions.size(), 3);
        QCOMPARE(user.questions[0], QStringLiteral("過去の成績情報をインポートしますか？\n成績情報は過去のレ"
                                                   "ースをシミュレーションするために必要です。"));
        QVERIFY(user.questions[1].startsWith(
            QStringLiteral("2000/01/05 以降の成績情報データベースを作成します。")));
        QCOMPARE(user.questions[2], QStringLiteral("成績情報のインポートを中止しますか？"));
        QVERIFY(lockedWhileRunning);
        QVERIFY(cancelBack);
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("lblStatus"))->text(),
                 QStringLiteral("成績情報を更新しました。"));
        auto* bar = w.findChild<QProgressBar*>(QStringLiteral("prgStatusAll"));
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
        QVERIFY(button->isEnabled());
        QVERIFY(!cancel->isEnabled());
        QVERIFY(CountSeisekiRaceFiles(app_.folders.data) > 3000);
        DatabaseInfo info;
        QCOMPARE(ReadDatabaseInfo(app_.folders.data, info), 0);
        QCOMPARE(QString::fromStdString(info.state), QStringLiteral("N"));
        QVERIFY(w.grab().save(test::ScreenshotDir() + QStringLiteral("/results_import_done.png")));
    }

    // Nothing newer to read: the build ends with the abort line; a cancel
    // confirmed Yes ends the same way.
    void abortedBuildEndsWithItsStatusLine() {
        StandinJVLink jv(StandinFolder(app_.folders.program));
        frmDataImport w(app_, jv);
        ScriptedUser user;
        w.setUserInterface(&user);
        jv.options().simulateDownload = false;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.findChild<QPushButton*>(QStringLiteral("cmdGetRaceData"))->click();
        QCOMPARE(user.questions.size(), 1);  // no set-up question once the database exists
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("lblStatus"))->text(),
                 QStringLiteral("成績情報の更新を中止しました。"));
        QVERIFY(w.findChild<QPushButton*>(QStringLiteral("cmdGetRaceData"))->isEnabled());
        QVERIFY(w.grab().save(test::ScreenshotDir() + QStringLiteral("/results_import_aborted.png")));
    }

private:
    QTemporaryDir folder_;
    Application app_;
};

VELTRIX_QTEST_MAIN(TestResultsImport)
#include "tst_results_import.moc"
