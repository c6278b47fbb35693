// The tuning window: fields filled from the parameters, typing into the masked
// fields, the default button, saving (parameters untouched), the auto tuning
// box, applying, captions and tips as the system shows them.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/application.h"
#include "base/encoding.h"
#include "gui/windows/frmTuning.h"
#include "qt_test_main.h"
#include "sample/sample_world.h"

using namespace veltrix;
using namespace veltrix::gui;

class TestTuningWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Application> app_;

    std::filesystem::path settingsFile() const { return app_->folders.program / kSettingsFileName; }

    // Replaces a masked field's text as the user types it.
    static void type(QLineEdit* field, const QString& keys) {
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        field->home(false);
        QTest::keyClicks(field, keys);
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        app_ = std::make_unique<Application>();
        app_->folders = Folders::under(std::filesystem::path(dir_->path().toStdString()));
        const std::string_view delivered = sample::DefaultSettingsFile();
        QVERIFY(WriteFileBytes(settingsFile(), delivered));
        QVERIFY(!ReadSettings(app_->settings, app_->folders.program));
        app_->settings.RaceLevel = 1.25;
        app_->settings.KyoriWeight[3] = 45;
        app_->settings.Kikan = 300;
    }

    void showsTheParametersWithTheSystemsCaptions() {
        frmTuning w(*app_);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("チューニング"));
        QVERIFY(w.isModal());
        QCOMPARE(w.weightField(kTuneRaceLevel)->objectName(), QStringLiteral("mskedRaceLevel"));
        QCOMPARE(w.weightField(kTuneCombi)->objectName(), QStringLiteral("mskedKisCho"));
        QCOMPARE(w.weightField(kTuneRaceLevel)->text(), QStringLiteral("1.25"));
        QCOMPARE(w.weightField(kTunePace)->text(), QStringLiteral("0.10"));
        QCOMPARE(w.kyoriField(3)->text(), QStringLiteral("4.5"));
        QCOMPARE(w.kyoriField(0)->text(), QStringLiteral("1.0"));
        QCOMPARE(w.cboKikan()->currentText(), QStringLiteral("300日"));
        QCOMPARE(w.cboKikan()->count(), 9);
        QCOMPARE(w.cboKikan()->itemText(8), QStringLiteral("900日"));
        QCOMPARE(w.chkAutoTuning()->text(), QStringLiteral("予測自動調整ON"));
        QCOMPARE(w.cmdInit()->text(), QStringLiteral("初期値に戻す"));
        QCOMPARE(w.cmdInit()->toolTip(), QStringLiteral("チューニング・パラメータを初期値に戻します。"));
        QCOMPARE(w.cmdSet()->text(), QStringLiteral("適用"));
        QCOMPARE(w.cmdSet()->toolTip(), QStringLiteral("表示中のチューニング・パラメータを適用します。"));
        QCOMPARE(w.cmdSave()->text(), QStringLiteral("保存"));
        QCOMPARE(w.cmdSave()->toolTip(), QStringLiteral("表示中のチューニング・パラメータを保存します。"));
        QStringList groups;
        for (auto* g : w.findChildren<QGroupBox*>()) groups << g->title();
        for (const char* g : {"タイム重み", "騎手・調教師重み", "距離重み", "対象期間"})
            QVERIFY2(groups.contains(QString::fromUtf8(g)), g);
        QStringList captions;
        for (auto* l : w.findChildren<QLabel*>()) captions << l->text();
        for (const char* c :
             {"RL", "T前", "T後", "R前", "R後", "MD", "P傾", "騎X", "調X", "共X", "距離 -3", "距離 +3"})
            QVERIFY2(captions.contains(QString::fromUtf8(c)), c);
    }

    void typedDigitsFillTheFieldFromTheLeft() {
        frmTuning w(*app_);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        type(w.weightField(kTuneRaceLevel), QStringLiteral("1"));
        type(w.weightField(kTuneTimeZenhan), QStringLiteral("15"));
        type(w.weightField(kTuneTimeKouhan), QStringLiteral("105"));
        type(w.weightField(kTuneRaceZenhan), QString());
        type(w.kyoriField(0), QStringLiteral("1"));
        type(w.kyoriField(1), QStringLiteral("15"));
        // Only digits go in: a letter is refused by the mask.
        type(w.weightField(kTuneRaceKouhan), QStringLiteral("x2"));
        QCOMPARE(w.weightField(kTuneRaceKouhan)->text(), QStringLiteral("2."));

        QTest::mouseClick(w.cmdSet(), Qt::LeftButton);
        const Settings& s = app_->settings;
        QCOMPARE(s.RaceLevel, 1.0);
        QCOMPARE(s.TimeZenhan, 1.5);
        QCOMPARE(s.TimeKouhan, 1.05);
        QCOMPARE(s.RaceZenhan, 0.0);
        QCOMPARE(s.RaceKouhan, 2.0);
        QCOMPARE(s.KyoriWeight[0], 10.0);
        QCOMPARE(s.KyoriWeight[1], 15.0);
        QCOMPARE(s.Kikan, short(300));
        // No race on show: nothing to rebuild, and the window closes.
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QVERIFY(!w.isVisible());
    }

    void initAndSaveWriteTheDefaultsLeavingTheParameters() {
        frmTuning w(*app_);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseClick(w.chkAutoTuning(), Qt::LeftButton);
        QVERIFY(app_->settings.AutoTuning);  // at once
        QTest::mouseClick(w.cmdInit(), Qt::LeftButton);
        QCOMPARE(w.weightField(kTuneRaceLevel)->text(), QStringLiteral("0.30"));
        QCOMPARE(w.kyoriField(3)->text(), QStringLiteral("5.0"));
        QCOMPARE(w.cboKikan()->currentText(), QStringLiteral("600日"));
        QVERIFY(w.chkAutoTuning()->isChecked());  // the box is not a field
        w.cboKikan()->setCurrentIndex(0);
        QTest::mouseClick(w.cmdSave(), Qt::LeftButton);
        QVERIFY(w.isVisible());

        QCOMPARE(app_->settings.RaceLevel, 1.25);
        QCOMPARE(app_->settings.Kikan, short(300));
        Settings saved;
        QVERIFY(!ReadSettings(saved, app_->folders.program));
        QVERIFY(saved.AutoTuning);
        QCOMPARE(saved.RaceLevel, 0.30);
        QCOMPARE(saved.Kikan, short(100));
        QCOMPARE(saved.KyoriWeight[3], 50.0);
        const std::string bytes = ReadFileBytes(settingsFile()).value_or("");
        QVERIFY(bytes.find("Kikan=100\r\n") != std::string::npos);
        QVERIFY(bytes.find("KyoriWeight=10203050302010\r\n") != std::string::npos);
        QVERIFY(bytes.find("[MarkInfo]") != std::string::npos);
    }
};

VELTRIX_QTEST_MAIN(TestTuningWindow)
#include "tst_tuning_window.moc"
