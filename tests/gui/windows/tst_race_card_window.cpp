// The race card on the main window: a race opened as the import window opens
// it, its three sheets, header sorting, runner choice; screenshots of each sheet.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <memory>

#include "../../racecard/race_fixture.h"
#include "gui/widgets/grid_view.h"
#include "gui/widgets/qt_host.h"
#include "gui/widgets/sheet_model.h"
#include "gui/windows/frmSyusohyo.h"
#include "model_tester.h"
#include "qt_test_main.h"
#include "racecard/race_card.h"
#include "sample_program.h"
#include "store/race_files.h"

using namespace veltrix;
using namespace veltrix::gui;
using namespace veltrix::test;

class TestRaceCardWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Application> app_;
    std::string label_;

    static constexpr int kRunners = 12;

    void buildRace() {
        app_ = std::make_unique<Application>();
        app_->folders = Folders::under(std::filesystem::path(dir_->path().toStdString()));
        std::filesystem::create_directories(app_->folders.cache);
        StoreBuilder b(app_->store);
        std::vector<RunnerSpec> runners;
        const char* names[] = {"サクラノカゼ", "ミドリノオカ", "ハヤテマル", "ゴールドリボン",
                               "シンセイ",     "アオバ",       "カゼノウタ", "テンクウ",
                               "ホシノミチ",   "ユキワリソウ", "ツバサ",     "ナツゾラ"};
        for (int i = 1; i <= kRunners; ++i) {
            RunnerSpec r;
            r.umaCode = Uma(i);
            r.umaban = (i < 10 ? "0" : "") + std::to_string(i);
            r.frame = std::to_string((i + 1) / 2 > 8 ? 8 : (i + 1) / 2);
            r.name = names[i - 1];
            r.sex = i % 3 == 0 ? "牝" : (i % 5 == 0 ? "ｾﾝ" : "牡");
            runners.push_back(r);
        }
        b.addRace(kRaceId, KonsyuLabel("中山", "ダ1200"), runners);
        for (int u = 1; u <= kRunners; ++u) {
            app_->store.UmaInfo.at(u, 14) = u % 4 == 0 ? "0" : std::to_string(10 + u);
            app_->store.UmaInfo.at(u, 15) = "35.5";
            app_->store.UmaInfo.at(u, 16) = "48";
        }
        label_ = app_->store.RaceLabel[1];
        OddsTables o;
        o.OddsCount = 6;
        for (int h = 1; h <= kRunners; ++h) {
            o.TansyoOdds(h) = {kOddsOnSale, 20 + 25 * h};
            o.FukusyoOdds(h) = {kOddsOnSale, 11 + h, kOddsOnSale, 15 + 3 * h};
            o.TansyoShijiritsu(h) = 0.788 / (o.TansyoOdds(h).odds - 1) * 10;
            o.OddsHensachi(h) = 66.0 - 2.5 * h;
            o.UmarenShijiritsu(h) = 0.25 / h;
        }
        o.TansyoOdds(4) = {kOddsCancelled, 0};
        o.OddsHensachi(4) = -1;
        QCOMPARE(WriteOddsCache(app_->folders, kRaceId, o), 0);
        KekkaTables k;
        k.KekkaKubun = "7";
        for (int h = 1; h <= kRunners; ++h) {
            k.KekkaHensachi(h) = 65 - 2 * h;
            k.KekkaNyusen(h) = h == 4 ? 0 : h;
            k.KekkaZenhan(h) = 600 + 2 * h;
            k.KekkaAgari(h) = 350 + h % 4;
        }
        QCOMPARE(WriteKekkaCache(app_->folders, kRaceId, k), 0);
    }

    std::unique_ptr<frmSyusohyo> makeWindow() {
        auto w = std::make_unique<frmSyusohyo>(*app_, [] {});
        for (int s = 1; s <= 3; ++s) test::AttachModelTester(w->sheetModel(s));
        w->show();
        return w;
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        buildRace();
    }

    void opensARaceOnAllThreeSheets() {
        auto w = makeWindow();
        QVERIFY(!w->OpenRace(QString::fromStdString(kRaceId), QString::fromStdString(label_)));
        QCOMPARE(w->lblRace()->text(), QString::fromStdString(VisibleRaceLabel(label_)));
        QCOMPARE(w->fpsSyuso()->count(), 3);
        QCOMPARE(w->fpsSyuso()->tabText(0), QStringLiteral("出走表"));
        QCOMPARE(w->fpsSyuso()->tabText(1), QStringLiteral("競馬場"));
        QCOMPARE(w->fpsSyuso()->tabText(2), QStringLiteral("オッズ"));
        for (int s = 1; s <= 3; ++s) {
            SheetModel* m = w->sheetModel(s);
            QCOMPARE(m->rowCount(), kRunners);
            QCOMPARE(m->index(0, 1).data().toString(), QStringLiteral("1"));
            // The cancelled win odds of horse 4 strike its name on every sheet.
            QVERIFY(m->index(3, 4).data(Qt::FontRole).value<QFont>().strikeOut());
            QVERIFY(!m->index(2, 4).data(Qt::FontRole).value<QFont>().strikeOut());
        }
        QCOMPARE(w->sheetModel(3)->headerData(5, Qt::Horizontal).toString(), QStringLiteral("人気"));
        QVERIFY(!w->findChild<QTableView*>(QStringLiteral("fpsSyusoSheet3"))->isColumnHidden(13));
        QVERIFY(!w->findChild<QLabel*>(QStringLiteral("lblScoreValue0"))->text().isEmpty());

        // Screenshots of each sheet.
        QDir().mkpath(test::ScreenshotDir());
        w->resize(1260, 700);
        for (int i = 0; i < 3; ++i) {
            w->fpsSyuso()->setCurrentIndex(i);
            QApplication::processEvents();
            const QString file = test::ScreenshotDir() + QStringLiteral("/race_card_sheet%1.png").arg(i + 1);
            QVERIFY(w->grab().save(file));
        }
    }

    void headerClickSortsAllSheetsAndNameClickChooses() {
        auto w = makeWindow();
        QVERIFY(!w->OpenRace(QString::fromStdString(kRaceId), QString::fromStdString(label_)));
        auto* view3 = w->findChild<QTableView*>(QStringLiteral("fpsSyusoSheet3"));
        w->fpsSyuso()->setCurrentIndex(2);
        QApplication::processEvents();
        // 単勝 (column 20) sorts ascending: the cancelled horse goes last.
        emit view3->horizontalHeader()->sectionClicked(19);
        for (int s = 1; s <= 3; ++s)
            QCOMPARE(w->sheetModel(s)->index(kRunners - 1, 1).data().toString(), QStringLiteral("4"));
        emit view3->horizontalHeader()->sectionClicked(1);  // No.
        for (int s = 1; s <= 3; ++s)
            QCOMPARE(w->sheetModel(s)->index(3, 1).data().toString(), QStringLiteral("4"));

        QSignalSpy chosen(w.get(), &frmSyusohyo::runnerSelected);
        auto* view1 = w->findChild<QTableView*>(QStringLiteral("fpsSyusoSheet1"));
        w->fpsSyuso()->setCurrentIndex(0);
        QApplication::processEvents();
        QRect rect = view1->visualRect(w->sheetModel(1)->index(2, 4));
        QTest::mouseClick(view1->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(1).toString(), QString::fromStdString(Uma(3)));
        QCOMPARE(app_->raceCard.HistoryUmaban, std::string("3"));
        QCOMPARE(w->sheetModel(2)->index(2, 4).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    }

    // A header click that arrives while a command's long loop pumps events is
    // dropped: the sheets keep their order until the command has finished.
    void headerClickDuringALongLoopDoesNotSort() {
        auto w = makeWindow();
        QVERIFY(!w->OpenRace(QString::fromStdString(kRaceId), QString::fromStdString(label_)));
        auto* view3 = w->findChild<QTableView*>(QStringLiteral("fpsSyusoSheet3"));
        w->fpsSyuso()->setCurrentIndex(2);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        view3->scrollTo(w->sheetModel(3)->index(0, 19));
        QApplication::processEvents();
        QHeaderView* header = view3->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(19) + header->sectionSize(19) / 2,
                        header->height() / 2);
        auto postClick = [&] {
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QCoreApplication::postEvent(header->viewport(),
                                            new QMouseEvent(type, at, header->viewport()->mapToGlobal(at),
                                                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        };
        const QString lastBefore = w->sheetModel(1)->index(kRunners - 1, 1).data().toString();
        postClick();
        SharedPump().processEvents();  // as BuildPastRuns does once per run
        QCOMPARE(w->sheetModel(1)->index(kRunners - 1, 1).data().toString(), lastBefore);
        // The same click outside a command sorts by 単勝: the cancelled horse goes last.
        postClick();
        QApplication::processEvents();
        QCOMPARE(w->sheetModel(1)->index(kRunners - 1, 1).data().toString(), QStringLiteral("4"));
    }

    // No., 印 and 馬名 stay in view while a sheet scrolls sideways, on every
    // sheet; a name clicked there chooses the runner.
    void frozenColumnsStayWhileTheSheetScrolls() {
        auto w = makeWindow();
        w->resize(900, 600);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY(!w->OpenRace(QString::fromStdString(kRaceId), QString::fromStdString(label_)));
        for (int s = 1; s <= 3; ++s) {
            auto* view = w->findChild<GridView*>(QStringLiteral("fpsSyusoSheet%1").arg(s));
            QVERIFY(view);
            QCOMPARE(view->frozenColumns(), 5);
            QVERIFY(view->frozenView());
            for (int c = 0; c < w->sheetModel(s)->columnCount(); ++c)
                QCOMPARE(view->frozenView()->isColumnHidden(c), c >= 5);
        }

        auto* view = w->findChild<GridView*>(QStringLiteral("fpsSyusoSheet1"));
        QTableView* frozen = view->frozenView();
        w->fpsSyuso()->setCurrentIndex(0);
        QApplication::processEvents();
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
        QApplication::processEvents();
        QVERIFY(view->horizontalScrollBar()->value() > 0);
        QVERIFY(frozen->isVisible());
        int width = 0;
        for (int c = 0; c < 5; ++c) width += view->columnWidth(c);
        QCOMPARE(frozen->width(), width);
        QCOMPARE(frozen->x(), view->viewport()->x());
        // The last column is in view beside the frozen names.
        const int last = w->sheetModel(1)->columnCount() - 1;
        QVERIFY(view->visualRect(w->sheetModel(1)->index(0, last)).left() >= width);
        const QRect name = frozen->visualRect(w->sheetModel(1)->index(2, 4));
        QVERIFY(frozen->viewport()->rect().contains(name));

        const int sideways = view->horizontalScrollBar()->value();
        QSignalSpy chosen(w.get(), &frmSyusohyo::runnerSelected);
        QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {}, name.center());
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(1).toString(), QString::fromStdString(Uma(3)));
        QCOMPARE(view->horizontalScrollBar()->value(), sideways);

        QDir().mkpath(test::ScreenshotDir());
        QVERIFY(w->grab().save(test::ScreenshotDir() + QStringLiteral("/race_card_frozen_columns.png")));
    }

    void refreshRebuildsTheRaceOnShow() {
        auto w = makeWindow();
        QVERIFY(!w->OpenRace(QString::fromStdString(kRaceId), QString::fromStdString(label_)));
        app_->store.UmaInfo.at(1, 5) = "カイメイ";  // the store changed under the race card
        QVERIFY(!w->RefreshRace());
        QCOMPARE(w->sheetModel(1)->index(0, 4).data().toString(), QStringLiteral("カイメイ"));
        QCOMPARE(w->sheetModel(3)->rowCount(), kRunners);
        QVERIFY(w->sheetModel(2)->index(3, 4).data(Qt::FontRole).value<QFont>().strikeOut());
    }

    void resetDataEmptiesTheCard() {
        auto w = makeWindow();
        QVERIFY(!w->OpenRace(QString::fromStdString(kRaceId), QString::fromStdString(label_)));
        w->ResetData();
        QVERIFY(w->lblRace()->text().isEmpty());
        for (int s = 1; s <= 3; ++s) QCOMPARE(w->sheetModel(s)->rowCount(), 0);
        QVERIFY(w->findChild<QLabel*>(QStringLiteral("lblScoreValue0"))->text().isEmpty());
    }
};

VELTRIX_QTEST_MAIN(TestRaceCardWindow)
#include "tst_race_card_window.moc"
