// The selection palette beside the race card: opened from the menu, set for
// the race, the calculate button, hiding on close, the reset; screenshots of
// the palette and of the three calculated sheets.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <memory>

#include "../../racecard/race_fixture.h"
#include "../../support/fake_host.h"
#include "gui/shell/attach_windows.h"
#include "gui/widgets/sheet_model.h"
#include "gui/windows/frmSelect.h"
#include "gui/windows/frmSyusohyo.h"
#include "qt_test_main.h"
#include "racecard/race_card.h"
#include "sample_program.h"
#include "store/race_files.h"

using namespace veltrix;
using namespace veltrix::gui;
using namespace veltrix::test;

class TestSelectWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Application> app_;
    std::string label_;

    static constexpr int kRunners = 10;

    // A dirt 1200 race at Nakayama whose runners have six past runs each with
    // figures that differ by runner and run, and a quick result.
    void buildRace() {
        app_ = std::make_unique<Application>();
        app_->folders = Folders::under(std::filesystem::path(dir_->path().toStdString()));
        std::filesystem::create_directories(app_->folders.cache);
        app_->settings.Kikan = 600;
        app_->settings.KyoriWeight = {10, 20, 30, 50, 30, 20, 10};
        app_->settings.RaceLevel = 0.3;
        app_->settings.RaceZenhan = 0.4;
        app_->settings.RaceKouhan = 0.6;
        app_->settings.Pace = 0.1;
        StoreBuilder b(app_->store);
        std::vector<RunnerSpec> runners;
        const char* names[] = {"サクラノカゼ", "ミドリノオカ", "ハヤテマル", "ゴールドリボン",
                               "シンセイ",     "アオバ",       "カゼノウタ", "テンクウ",
                               "ホシノミチ",   "ユキワリソウ"};
        for (int i = 1; i <= kRunners; ++i) {
            RunnerSpec r;
            r.umaCode = Uma(i);
            r.umaban = (i < 10 ? "0" : "") + std::to_string(i);
            r.frame = std::to_string((i + 1) / 2);
            r.name = names[i - 1];
            runners.push_back(r);
        }
        b.addRace(kRaceId, KonsyuLabel("中山", "ダ1200"), runners);
        const char* courses[] = {"06", "05", "08", "09", "06", "10"};
        const char* distances[] = {"1200", "1150", "1400", "1000", "1800", "1700"};
        for (int i = 1; i <= kRunners; ++i) {
            for (int m = 1; m <= 6; ++m) {
                const std::string month = std::to_string(m + 3);
                int h = b.addRun(Uma(i), {"20080" + month + "01" + courses[m - 1] + "010101"});
                auto& t = app_->store.HistoryInfo;
                t.at(h, 9) = courses[m - 1];
                t.at(h, 10) = distances[m - 1];
                t.at(h, 27) = "0" + std::to_string((i + m) % 9 + 1);
                for (int c = 33; c <= 42; ++c)
                    if (c != 37) t.at(h, c) = std::to_string(42 + (i * 7 + m * 3 + c) % 17) + ".5";
            }
        }
        label_ = app_->store.RaceLabel[1];
        KekkaTables k;
        k.KekkaKubun = "7";
        for (int h = 1; h <= kRunners; ++h) {
            k.KekkaHensachi(h) = 65 - 2 * h;
            k.KekkaNyusen(h) = (h * 3) % kRunners + 1;
            k.KekkaZenhan(h) = 600 + 2 * h;
            k.KekkaAgari(h) = 350 + h % 4;
        }
        QCOMPARE(WriteKekkaCache(app_->folders, kRaceId, k), 0);
    }

    template <class T>
    static T* child(QWidget* w, const QString& name) {
        T* c = w->findChild<T*>(name);
        if (!c) qFatal("no child %s", qPrintable(name));
        return c;
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        buildRace();
    }

    void showsThePaletteForTheRaceAndCalculates() {
        frmSyusohyo main(*app_, [] {});
        main.resize(1260, 720);
        main.show();
        frmSelect* palette = AttachSelectWindow(main, *app_);
        QVERIFY(!main.OpenRace(QString::fromStdString(kRaceId), QString::fromStdString(label_)));
        QVERIFY(!palette->isVisible());
        main.menuItem(QStringLiteral("mnuSelect"))->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(palette));
        QCOMPARE(palette->windowTitle(), QStringLiteral("選択パレット"));
        QVERIFY(palette->windowFlags().testFlag(Qt::Tool));

        QStringList groups;
        for (auto* g : palette->findChildren<QGroupBox*>()) groups << g->title();
        QCOMPARE(groups, (QStringList{"競馬場", "馬場", "芝距離", "ダート距離", "対象外条件", "集計ルール"}));
        QCOMPARE(child<QCheckBox>(palette, "chkJo5")->text(), QStringLiteral("中山"));
        QCOMPARE(child<QCheckBox>(palette, "chkBaba1")->text(), QStringLiteral("稍重"));
        QCOMPARE(child<QCheckBox>(palette, "chkSKyori4")->text(), QStringLiteral("芝1600"));
        QCOMPARE(child<QCheckBox>(palette, "chkDKyori1")->text(), QStringLiteral("ダ1150"));
        QCOMPARE(child<QCheckBox>(palette, "chkJoken0")->text(), QStringLiteral("新馬 未勝利"));
        QCOMPARE(child<QRadioButton>(palette, "optRule14")->text(), QStringLiteral("±2σ"));
        QCOMPARE(palette->cboKikan()->count(), 9);
        QCOMPARE(palette->cboKikan()->itemText(8), QStringLiteral("900日"));

        // Set for a dirt 1200 race: its similar dirt distances, every course and going, "ALL".
        for (int i = 0; i < kDirtBoxes; ++i)
            QCOMPARE(child<QCheckBox>(palette, QStringLiteral("chkDKyori%1").arg(i))->isChecked(), i <= 4);
        for (int i = 0; i < kSibaBoxes; ++i)
            QVERIFY(!child<QCheckBox>(palette, QStringLiteral("chkSKyori%1").arg(i))->isChecked());
        QVERIFY(child<QCheckBox>(palette, "chkJo0")->isChecked());
        QVERIFY(child<QRadioButton>(palette, "optRule10")->isChecked());
        const QColor green(0, 255, 0);
        QCOMPARE(child<QCheckBox>(palette, "chkJo5")->palette().color(QPalette::WindowText), green);
        QCOMPARE(child<QCheckBox>(palette, "chkDKyori2")->palette().color(QPalette::WindowText), green);
        QVERIFY(child<QCheckBox>(palette, "chkJo4")->palette().color(QPalette::WindowText) != green);
        // Placed at the bottom-right corner of the race card.
        QCOMPARE(palette->frameGeometry().right(), main.frameGeometry().right());
        QCOMPARE(palette->frameGeometry().bottom(), main.frameGeometry().bottom());

        // The period list shows Kikan when the palette is activated.
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(palette, &activate);
        QCOMPARE(palette->cboKikan()->currentIndex(), 5);

        test::FakeUserInterface user;
        palette->setUserInterface(&user);
        QTest::mouseClick(palette->cmdCalculate(), Qt::LeftButton);
        QVERIFY(palette->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(user.messages.empty());  // a calculation with figures says nothing
        SheetModel* s1 = main.sheetModel(1);
        QVERIFY(!s1->index(0, sheet1::kRL.value - 1).data().toString().isEmpty());
        QVERIFY(!s1->index(0, sheet1::kSeiseki.value - 1).data().toString().isEmpty());
        QVERIFY(!main.sheetModel(2)->index(0, sheet2::kNakayama.value - 1).data().toString().isEmpty());
        QVERIFY(!main.sheetModel(3)->index(0, sheet3::kYosokuJyuni.value - 1).data().toString().isEmpty());
        QVERIFY(!child<QLabel>(&main, "lblRelateValue0")->text().isEmpty());
        QVERIFY(!child<QLabel>(&main, "lblScoreValue2")->text().isEmpty());

        QDir().mkpath(test::ScreenshotDir());
        QVERIFY(palette->grab().save(test::ScreenshotDir() + QStringLiteral("/select_palette.png")));
        for (int i = 0; i < 3; ++i) {
            main.fpsSyuso()->setCurrentIndex(i);
            QApplication::processEvents();
            QVERIFY(main.grab().save(test::ScreenshotDir() +
                                     QStringLiteral("/calculated_sheet%1.png").arg(i + 1)));
        }

        // A header click sorts a calculated column like any other: "RL" descending.
        main.fpsSyuso()->setCurrentIndex(0);
        auto* view1 = child<QTableView>(&main, "fpsSyusoSheet1");
        emit view1->horizontalHeader()->sectionClicked(sheet1::kRL.value - 1);
        for (int r = 1; r < kRunners; ++r)
            QVERIFY(s1->index(r - 1, sheet1::kRL.value - 1).data().toDouble() >=
                    s1->index(r, sheet1::kRL.value - 1).data().toDouble());
    }

    void boxesPeriodCloseAndReset() {
        frmSyusohyo main(*app_, [] {});
        main.show();
        frmSelect* palette = AttachSelectWindow(main, *app_);
        QVERIFY(!main.OpenRace(QString::fromStdString(kRaceId), QString::fromStdString(label_)));
        main.menuItem(QStringLiteral("mnuSelect"))->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(palette));

        // A box click goes to the core state; a rule and a period as well.
        QTest::mouseClick(child<QCheckBox>(palette, "chkJo5"), Qt::LeftButton);
        QVERIFY(!app_->palette.chkJo[5]);
        QTest::mouseClick(child<QRadioButton>(palette, "optRule11"), Qt::LeftButton);
        QCOMPARE(app_->palette.optRule1, static_cast<int>(kRuleTop1));
        palette->cboKikan()->setCurrentIndex(0);
        emit palette->cboKikan()->activated(0);
        test::FakeUserInterface user;
        palette->setUserInterface(&user);
        QTest::mouseClick(palette->cmdCalculate(), Qt::LeftButton);
        palette->setUserInterface(nullptr);
        QCOMPARE(app_->settings.Kikan, static_cast<short>(100));

        // Closing only hides it; the settings stay.
        palette->close();
        QVERIFY(!palette->isVisible());
        main.menuItem(QStringLiteral("mnuSelect"))->trigger();
        QVERIFY(palette->isVisible());
        QVERIFY(!child<QCheckBox>(palette, "chkJo5")->isChecked());
        QVERIFY(child<QRadioButton>(palette, "optRule11")->isChecked());

        // Opening a race sets the palette again; a reset clears it.
        QVERIFY(!main.OpenRace(QString::fromStdString(kRaceId), QString::fromStdString(label_)));
        QVERIFY(child<QCheckBox>(palette, "chkJo5")->isChecked());
        main.ResetData();
        QVERIFY(!child<QCheckBox>(palette, "chkJo5")->isChecked());
        QVERIFY(!child<QCheckBox>(palette, "chkDKyori2")->isChecked());
        for (int i = 0; i < kRuleOptions; ++i)
            QVERIFY(!child<QRadioButton>(palette, QStringLiteral("optRule1%1").arg(i))->isChecked());
    }
};

VELTRIX_QTEST_MAIN(TestSelectWindow)
#include "tst_select_window.moc"
