// The betting windows on a generated race: the odds sheet's axis and pop-up,
// the bet list window with its distributions, saving and export, the race
// reloaded, and the heat map; screenshots of the three.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <memory>

#include "../../betting/race_odds.h"
#include "../../support/fake_host.h"
#include "app/betting_commands.h"
#include "app/startup.h"
#include "base/format.h"
#include "betting/kaime_list.h"
#include "betting/kaime_money.h"
#include "gui/shell/attach_windows.h"
#include "gui/widgets/sheet_model.h"
#include "gui/windows/frmHeatmap.h"
#include "gui/windows/frmKaimeList.h"
#include "gui/windows/frmSyusohyo.h"
#include "model_tester.h"
#include "qt_test_main.h"
#include "sample/imported_sample.h"
#include "sample/sample_world.h"
#include "sample_program.h"
#include "store/race_files.h"

using namespace veltrix;
using namespace veltrix::gui;

class TestKaimeWindow : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;  // the generated program folder, made once
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Application> app_;
    std::unique_ptr<frmSyusohyo> main_;
    frmKaimeList* list_ = nullptr;
    frmHeatmap* heatmap_ = nullptr;
    std::string raceId_, label_;
    int runners_ = 0;

    void screenshot(QWidget* w, const char* name) {
        QDir().mkpath(test::ScreenshotDir());
        QApplication::processEvents();
        QVERIFY(w->grab().save(test::ScreenshotDir() + "/" + name));
    }

    QTableView* oddsView() { return main_->findChild<QTableView*>(QStringLiteral("fpsSyusoSheet3")); }
    // Horse numbers are in row order until a sort.
    QModelIndex oddsIndex(int horse, int col) { return main_->sheetModel(3)->index(horse - 1, col - 1); }
    QPoint cellCentre(QTableView* view, const QModelIndex& index) {
        view->scrollTo(index);
        QApplication::processEvents();
        return view->visualRect(index).center();
    }
    void leftClick(int horse, int col) {
        QTableView* view = oddsView();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cellCentre(view, oddsIndex(horse, col)));
    }
    // Right-clicks an odds cell; returns the caption of the odds pop-up's item.
    QString rightClick(int horse, int col) {
        QTableView* view = oddsView();
        emit view->customContextMenuRequested(cellCentre(view, oddsIndex(horse, col)));
        QAction* item = main_->menuItem(QStringLiteral("mnuOperationOdds"));
        main_->mnuOdds()->hide();
        return item->isEnabled() ? item->text() : QString();
    }
    void addFromPopup(int horse, int col, const QString& expected) {
        const QString caption = rightClick(horse, col);
        QVERIFY2(caption.startsWith(QStringLiteral("買い目リストに追加 -> ") + expected),
                 qPrintable(caption));
        main_->menuItem(QStringLiteral("mnuOperationOdds"))->trigger();
    }
    QColor oddsBack(int horse, int col) {
        return oddsIndex(horse, col).data(Qt::BackgroundRole).value<QColor>();
    }
    QString listText(int row, int col) { return list_->model()->index(row - 1, col - 1).data().toString(); }

    void openRace() {
        QVERIFY(!main_->OpenRace(QString::fromStdString(raceId_), QString::fromStdString(label_)));
    }

private slots:
    void initTestCase() {
        // A generated week, imported once: every test copies its program folder.
        QVERIFY(folder_.isValid());
        const std::filesystem::path root(folder_.path().toStdString());
        const std::string made = test::MakeSampleProgramFolder(root);
        QVERIFY2(made.empty(), made.c_str());
    }

    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        std::filesystem::copy(folder_.path().toStdString(), dir_->path().toStdString(),
                              std::filesystem::copy_options::recursive);
        app_ = std::make_unique<Application>();
        const std::string started = test::StartOn(*app_, dir_->path().toStdString());
        QVERIFY2(started.empty(), started.c_str());
        // The first race of the week with a field of at least eight, with odds for its runners.
        for (int r = 1; r <= app_->store.RaceCount && raceId_.empty(); ++r) {
            const int n = std::stoi(app_->store.RaceInfo.at(r, 2));
            if (n < 8) continue;
            raceId_ = app_->store.RaceIdList[r];
            label_ = app_->store.RaceLabel[r];
            runners_ = n;
        }
        QVERIFY(!raceId_.empty());
        QCOMPARE(WriteOddsCache(app_->folders, raceId_, test::MakeMarketOdds(runners_)), 0);

        main_ = std::make_unique<frmSyusohyo>(*app_, [] {});
        list_ = AttachKaimeListWindow(*main_, *app_);
        heatmap_ = AttachHeatmapWindow(*main_, *app_);
        for (int s = 1; s <= 3; ++s) test::AttachModelTester(main_->sheetModel(s));
        test::AttachModelTester(list_->sheetModel());
        test::AttachModelTester(list_->model());
        test::AttachModelTester(heatmap_->sheetModel());
        main_->resize(1260, 760);
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
        openRace();
        main_->fpsSyuso()->setCurrentIndex(2);
        QApplication::processEvents();
    }

    void cleanup() {
        main_.reset();
        app_.reset();
        raceId_.clear();
    }

    void betsOfEveryTypeDistributedSavedAndRestored() {
        leftClick(1, 20);  // the axis
        QCOMPARE(app_->raceCard.OddsUmaban, std::string("1"));
        QVERIFY(!oddsIndex(2, 25).data().toString().isEmpty());

        addFromPopup(2, 20, QStringLiteral("単勝 02"));
        addFromPopup(3, 23, QStringLiteral("複勝 03"));
        addFromPopup(2, 25, QStringLiteral("馬連 01-02"));
        addFromPopup(3, 31, QStringLiteral("ワイド 01-03"));
        addFromPopup(4, 27, QStringLiteral("馬単 01-04"));
        leftClick(2, 33);  // trio second horse 2
        addFromPopup(3, 33, QStringLiteral("3連複 01-02-03"));
        leftClick(2, 35);  // trifecta: axis 1st, second horse 2nd
        addFromPopup(5, 35, QStringLiteral("3連単 01-02-05"));
        // A composite or blank cell offers nothing.
        QCOMPARE(rightClick(3, 37), QString());
        QCOMPARE(rightClick(1, 25), QString());

        QCOMPARE(list_->model()->rowCount(), 8);
        QCOMPARE(list_->model()->headerData(7, Qt::Vertical).toString(), QStringLiteral("T"));
        QCOMPARE(listText(7, 5), QStringLiteral("3連単"));
        QCOMPARE(oddsBack(2, 25), QColor(255, 204, 102));
        QCOMPARE(oddsBack(5, 35), QColor(255, 204, 102));
        // The filter colours the listed quinella by its ratio.
        main_->chkOddsFilter()->setChecked(true);
        QVERIFY(oddsBack(2, 25) != QColor(255, 204, 102));
        oddsView()->scrollTo(oddsIndex(1, 20), QAbstractItemView::PositionAtTop);
        QApplication::processEvents();
        screenshot(main_.get(), "odds_sheet_filter.png");
        main_->chkOddsFilter()->setChecked(false);
        screenshot(main_.get(), "odds_sheet_with_bets.png");

        // The bet list from the menu, at the bottom-left of the main window.
        main_->menuItem(QStringLiteral("mnuKaimeList"))->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(list_));
        QCOMPARE(list_->windowTitle(), QStringLiteral("買い目リスト"));

        // A stake typed into a bet row, then budgets into the total row.
        QAbstractItemModel* m = list_->model();
        QVERIFY(m->flags(m->index(0, 8)) & Qt::ItemIsEditable);
        QVERIFY(!(m->flags(m->index(0, 6)) & Qt::ItemIsEditable));
        QVERIFY(m->setData(m->index(0, 8), QStringLiteral("250")));
        QCOMPARE(listText(1, 9), QStringLiteral("¥200"));
        QCOMPARE(listText(8, 9), QStringLiteral("¥200"));
        QVERIFY(m->setData(m->index(7, 8), QStringLiteral("¥10,000")));  // as the cell shows it
        list_->findChild<QPushButton*>(QStringLiteral("cmdBunpaiKin"))->click();
        for (int r = 1; r <= 7; ++r) QCOMPARE(listText(r, 9), QStringLiteral("¥1,400"));
        QCOMPARE(listText(8, 9), QStringLiteral("¥9,800"));
        QVERIFY(m->setData(m->index(7, 8), QStringLiteral("10000")));
        list_->findChild<QPushButton*>(QStringLiteral("cmdBunpaiHarai"))->click();
        long long total = 0;
        for (int r = 1; r <= 7; ++r) {
            const long long stake = listText(r, 3).toLongLong();
            QVERIFY(stake >= 100 && stake % 100 == 0);
            total += stake;
        }
        QCOMPARE(listText(8, 9), QString::fromStdString(ScreenText(FormatYen(static_cast<double>(total)))));
        QVERIFY(list_->isEnabled());
        for (int r = 0; r < 8; ++r)
            QCOMPARE(m->index(r, 8).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 153));
        screenshot(list_, "kaime_list.png");

        // CSV with a scripted dialog, then saving.
        test::FakeUserInterface ui;
        const QString csv = dir_->path() + QStringLiteral("/bets.csv");
        ui.saveNames.push_back(csv.toStdString());
        list_->setUserInterface(&ui);
        list_->findChild<QPushButton*>(QStringLiteral("cmdPutCSV"))->click();
        QCOMPARE(ui.messages.size(), size_t(1));
        QCOMPARE(QString::fromStdString(ui.messages[0].text), QStringLiteral("買い目リストを出力しました。"));
        QVERIFY(QFile::exists(csv));
        {
            // The yen sign is drawn, never written: the file holds the stakes as before.
            QFile f(csv);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            QVERIFY(!bytes.isEmpty());
            QVERIFY(!bytes.contains("\xc2\xa5"));  // U+00A5 in UTF-8
            QVERIFY(!bytes.contains("\x81\x8f"));  // the full-width yen of CP932
        }
        list_->findChild<QPushButton*>(QStringLiteral("cmdSave"))->click();
        list_->setUserInterface(nullptr);
        QVERIFY(std::filesystem::exists(*RaceFilePath(app_->folders, '5', raceId_)));
        QCOMPARE(ui.messages.size(), size_t(2));
        QCOMPARE(QString::fromStdString(ui.messages[1].text), QStringLiteral("買い目リストを保存しました。"));

        // The race again: the list and the orange cells come back.
        openRace();
        QCOMPARE(list_->model()->rowCount(), 8);
        QCOMPARE(listText(1, 5), QStringLiteral("単勝"));
        QCOMPARE(listText(8, 9), QString::fromStdString(ScreenText(FormatYen(static_cast<double>(total)))));
        QCOMPARE(oddsBack(2, 20), QColor(255, 204, 102));
        QCOMPARE(oddsBack(3, 23), QColor(255, 204, 102));
        leftClick(1, 20);
        QCOMPARE(oddsBack(2, 25), QColor(255, 204, 102));
        QCOMPARE(oddsBack(4, 27), QColor(255, 204, 102));

        // The bet list's pop-up removes a bet; the total row has none.
        QTableView* grid = list_->fpsKaimeList();
        emit grid->customContextMenuRequested(cellCentre(grid, m->index(7, 5)));
        QVERIFY(!list_->mnuKaime()->isVisible());
        emit grid->customContextMenuRequested(cellCentre(grid, m->index(0, 5)));
        QAction* remove = list_->findChild<QAction*>(QStringLiteral("mnuOperationKaime"));
        QVERIFY(remove->text().startsWith(QStringLiteral("買い目リストから削除 -> 単勝 02 ( ")));
        list_->mnuKaime()->hide();
        remove->trigger();
        QCOMPARE(list_->model()->rowCount(), 7);
        QVERIFY(oddsBack(2, 20) != QColor(255, 204, 102));

        // Closing only hides the list.
        list_->close();
        QVERIFY(!list_->isVisible());
        main_->menuItem(QStringLiteral("mnuKaimeList"))->trigger();
        QVERIFY(list_->isVisible());
    }

    void heatMapFromTheMenu() {
        main_->menuItem(QStringLiteral("mnuHeatmap"))->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(heatmap_));
        QCOMPARE(heatmap_->windowTitle(), QStringLiteral("ヒートマップ"));
        QVERIFY(!heatmap_->cboJiku()->isEnabled());
        QAbstractItemModel* m = heatmap_->sheetModel();
        QCOMPARE(m->rowCount(), 18);
        QVERIFY(!m->index(1, 0).data().toString().isEmpty());  // quinella 1-2
        QCOMPARE(m->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(192, 192, 192));

        heatmap_->optShikibetsu(3)->click();  // 3連単
        QVERIFY(heatmap_->cboJiku()->isEnabled());
        heatmap_->cboJiku()->setCurrentIndex(2);  // pivot horse 3
        QCOMPARE(app_->heatmap.cboJiku, 2);
        QCOMPARE(m->index(2, 0).data().toString(), QString());  // the pivot's row
        QVERIFY(!m->index(1, 0).data().toString().isEmpty());   // 3, 1, 2
        screenshot(heatmap_, "heatmap.png");

        // Another race clears the map and its options.
        openRace();
        QVERIFY(heatmap_->optShikibetsu(0)->isChecked());
        QVERIFY(!heatmap_->cboJiku()->isEnabled());
        QVERIFY(m->index(1, 0).data().toString().isEmpty());
    }

    void marksFromThePopup() {
        auto* view = main_->findChild<QTableView*>(QStringLiteral("fpsSyusoSheet1"));
        main_->fpsSyuso()->setCurrentIndex(0);
        QApplication::processEvents();
        QCOMPARE(main_->mnuMark()->actions().size(), 0);  // built by the load step
        // The load step's mark items, from the settings.
        QVERIFY(!main_->load(nullptr));
        QCOMPARE(main_->mnuMark()->actions().size(), 15);
        openRace();
        emit view->customContextMenuRequested(cellCentre(view, main_->sheetModel(1)->index(1, 4)));
        QVERIFY(main_->mnuMark()->isVisible());
        screenshot(main_->mnuMark(), "mark_menu.png");
        main_->mnuMark()->hide();
        main_->mnuMark()->actions().at(0)->trigger();
        for (int s = 1; s <= 3; ++s)
            QCOMPARE(main_->sheetModel(s)->index(1, 3).data().toString(),
                     QString::fromStdString(app_->settings.Mark[0]));
        screenshot(main_.get(), "race_card_marked.png");
        QVERIFY(std::filesystem::exists(*RaceFilePath(app_->folders, '6', raceId_)));
    }
};

VELTRIX_QTEST_MAIN(TestKaimeWindow)
#include "tst_kaime_window.moc"
