// The grid view every window uses: frozen leading columns over a sheet, and
// columns drawn as push buttons or check boxes.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <memory>

#include "base/sheet.h"
#include "gui/widgets/cell_control_delegate.h"
#include "gui/widgets/grid_view.h"
#include "gui/widgets/sheet_model.h"
#include "model_tester.h"
#include "qt_test_main.h"
#include "sample_program.h"

using namespace veltrix;
using namespace veltrix::gui;

namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};

// The image of one cell as the view draws it.
QImage cellImage(QTableView* view, const QModelIndex& index) {
    return view->viewport()->grab(view->visualRect(index)).toImage();
}

}  // namespace

class TestGridView : public QObject {
    Q_OBJECT

    // 40 rows x 30 columns; column 1 red, column 3 blue, the rest white.
    static void fill(Sheet& sheet) {
        SheetUpdate batch(sheet);
        sheet.setRowCount(40);
        sheet.setColCount(30);
        for (int r = 1; r <= 40; ++r)
            for (int c = 1; c <= 30; ++c) {
                sheet.setNumber(RowNo(r), ColNo(c), r * 100 + c);
                sheet.setColors(RowNo(r), ColNo(c), kBlack, c == 1 ? kRed : c == 3 ? kBlue : kWhite);
            }
        for (int c = 1; c <= 30; ++c) sheet.setHeader(ColNo(c), "C" + std::to_string(c));
    }

private slots:
    void frozenColumnsStayWhileTheGridScrolls() {
        Sheet sheet;
        fill(sheet);
        sheet.setColumnHidden(ColNo(2), true);
        SheetModel model(sheet);
        test::AttachModelTester(&model);
        std::unique_ptr<GridView> view(MakeGridView(nullptr, QStringLiteral("grid"), {.frozenColumns = 3}));
        SetUpSheetView(view.get(), &model);
        view->setShowGrid(false);
        view->resize(420, 300);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        QTableView* frozen = view->frozenView();
        QVERIFY(frozen && frozen->isVisible());
        QCOMPARE(frozen->model(), &model);
        QCOMPARE(frozen->selectionModel(), view->selectionModel());

        // The frozen view shows the visible leading columns only, hidden ones stay hidden.
        QVERIFY(!frozen->isColumnHidden(0));
        QVERIFY(frozen->isColumnHidden(1));
        QVERIFY(!frozen->isColumnHidden(2));
        for (int c = 3; c < 30; ++c) QVERIFY(frozen->isColumnHidden(c));
        QCOMPARE(frozen->width(), view->columnWidth(0) + view->columnWidth(2));

        // Scrolled to the far right, the frozen columns are still drawn at the left edge.
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
        view->verticalScrollBar()->setValue(10);
        QApplication::processEvents();
        QVERIFY(view->horizontalScrollBar()->value() > 0);
        const QImage image = view->grab().toImage();
        auto pixelOf = [&](int column, int row) {
            const QRect r = frozen->visualRect(model.index(row, column));
            return image.pixelColor(
                frozen->viewport()->mapTo(view.get(), QPoint(r.left() + 2, r.center().y())));
        };
        QCOMPARE(pixelOf(0, 12), QColor(255, 0, 0));
        QCOMPARE(pixelOf(2, 12), QColor(0, 0, 255));
        QVERIFY(!view->visualRect(model.index(12, 29)).isEmpty());
        QVERIFY(view->visualRect(model.index(12, 29)).left() >= frozen->width());
        QVERIFY(image.save(test::ScreenshotDir() + QStringLiteral("/grid_frozen_columns.png")));

        // One vertical position, whichever view scrolls.
        QCOMPARE(frozen->verticalScrollBar()->value(), 10);
        QCOMPARE(frozen->rowAt(0), view->rowAt(0));
        frozen->verticalScrollBar()->setValue(4);
        QCOMPARE(view->verticalScrollBar()->value(), 4);

        // Showing a hidden column reaches the frozen view and widens it.
        sheet.setColumnHidden(ColNo(2), false);
        QVERIFY(!frozen->isColumnHidden(1));
        QCOMPARE(frozen->width(), view->columnWidth(0) + view->columnWidth(1) + view->columnWidth(2));
        view->setColumnWidth(0, 90);
        QCOMPARE(frozen->columnWidth(0), 90);
        QCOMPARE(frozen->width(), 90 + view->columnWidth(1) + view->columnWidth(2));

        // A reset (a sort) keeps the frozen columns as they were.
        sheet.sortByColumn(ColNo(4), SortOrder::Descending);
        QApplication::processEvents();
        for (int c = 0; c < 30; ++c) QCOMPARE(frozen->isColumnHidden(c), c >= 3);
        QCOMPARE(frozen->verticalScrollBar()->value(), view->verticalScrollBar()->value());
    }

    // Clicks on the frozen columns are the grid's clicks; a cell right of them
    // is scrolled clear of them.
    void frozenColumnsPassClicksOnAndKeepCellsClear() {
        Sheet sheet;
        fill(sheet);
        SheetModel model(sheet);
        test::AttachModelTester(&model);
        std::unique_ptr<GridView> view(MakeGridView(nullptr, QStringLiteral("grid")));
        SetUpSheetView(view.get(), &model);
        view->setFrozenColumns(2);  // after the model: the frozen view follows it
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        view->resize(420, 300);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        QTableView* frozen = view->frozenView();
        QVERIFY(frozen);

        QSignalSpy clicked(view.get(), &QAbstractItemView::clicked);
        QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {},
                          frozen->visualRect(model.index(3, 1)).center());
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked[0][0].toModelIndex(), model.index(3, 1));
        QCOMPARE(view->currentIndex(), model.index(3, 1));

        QSignalSpy headerClicked(view->horizontalHeader(), &QHeaderView::sectionClicked);
        QHeaderView* frozenHeader = frozen->horizontalHeader();
        QTest::mouseClick(frozenHeader->viewport(), Qt::LeftButton, {},
                          QPoint(frozenHeader->sectionViewportPosition(0) + 5, frozenHeader->height() / 2));
        QCOMPARE(headerClicked.count(), 1);
        QCOMPARE(headerClicked[0][0].toInt(), 0);

        // Far right, then back to column 3: it ends beside the frozen columns, not under them.
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
        view->scrollTo(model.index(5, 2));
        QCOMPARE(view->visualRect(model.index(5, 2)).left(), frozen->width());
        // A context menu over a frozen cell is asked for by the grid, at a
        // position the grid maps to that cell.
        QSignalSpy menu(view.get(), &QWidget::customContextMenuRequested);
        const QPoint at = frozen->visualRect(model.index(6, 1)).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, frozen->viewport()->mapToGlobal(at));
        QApplication::sendEvent(frozen->viewport(), &event);
        QCOMPARE(menu.count(), 1);
        QCOMPARE(view->indexAt(menu[0][0].toPoint()), model.index(6, 1));
        QCOMPARE(view->indexAt(view->visualRect(model.index(6, 3)).center()), model.index(6, 3));

        // A frozen cell scrolls only vertically.
        const int sideways = view->horizontalScrollBar()->value();
        view->scrollTo(model.index(39, 0));
        QCOMPARE(view->horizontalScrollBar()->value(), sideways);
        QVERIFY(view->rowAt(view->viewport()->height() - 1) >= 38 ||
                view->rowAt(view->viewport()->height() - 1) < 0);
        QCOMPARE(frozen->rowAt(0), view->rowAt(0));

        view->setFrozenColumns(0);
        QVERIFY(!frozen->isVisible());
    }

    // Push buttons show the cell text; check boxes are checked by "1" only; both
    // work on frozen columns too, and a click on them is the view's click.
    void controlColumnsPaintAndClick() {
        Sheet sheet(4, 4);
        for (int r = 1; r <= 4; ++r) {
            sheet.setText(RowNo(r), ColNo(1), "取込");
            sheet.setText(RowNo(r), ColNo(2), r == 4 ? "" : "取込");
        }
        sheet.setText(RowNo(1), ColNo(3), "1");
        sheet.setText(RowNo(2), ColNo(3), "0");
        sheet.setText(RowNo(3), ColNo(3), "");
        sheet.setText(RowNo(4), ColNo(3), "11");
        SheetModel model(sheet);
        test::AttachModelTester(&model);
        std::unique_ptr<GridView> view(MakeGridView(nullptr, QStringLiteral("grid"), {.frozenColumns = 2}));
        SetUpSheetView(view.get(), &model);
        ShowColumnAsButtons(view.get(), ColNo(2));
        ShowColumnAsCheckBoxes(view.get(), ColNo(3), QStringLiteral("表示"));
        view->resizeColumnsToContents();
        view->resize(400, 200);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        QTableView* frozen = view->frozenView();

        // Each view has delegates of its own.
        auto* mainButtons = qobject_cast<CellControlDelegate*>(view->itemDelegateForColumn(1));
        auto* frozenButtons = qobject_cast<CellControlDelegate*>(frozen->itemDelegateForColumn(1));
        QVERIFY(mainButtons && frozenButtons && mainButtons != frozenButtons);
        QVERIFY(qobject_cast<SheetDelegate*>(frozen->itemDelegate()));

        // The box column is wide enough for the box and its caption.
        const int box = view->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, view.get());
        QVERIFY(view->columnWidth(2) >= box + view->fontMetrics().horizontalAdvance(QStringLiteral("表示")));

        view->setColumnWidth(0, view->columnWidth(1));
        QApplication::processEvents();
        // A button (drawn by the frozen view) is not the plain text; its caption is drawn.
        const QImage button = cellImage(frozen, model.index(0, 1));
        QVERIFY(button != cellImage(frozen, model.index(0, 0)));
        QVERIFY(button != cellImage(frozen, model.index(3, 1)));
        // Only "1" checks the box.
        const QImage unchecked = cellImage(view.get(), model.index(1, 2));
        QVERIFY(cellImage(view.get(), model.index(0, 2)) != unchecked);
        QCOMPARE(cellImage(view.get(), model.index(2, 2)), unchecked);
        QCOMPARE(cellImage(view.get(), model.index(3, 2)), unchecked);
        QVERIFY(view->grab().save(test::ScreenshotDir() + QStringLiteral("/grid_control_columns.png")));

        QSignalSpy clicked(view.get(), &QAbstractItemView::clicked);
        QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {},
                          frozen->visualRect(model.index(2, 1)).center());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(model.index(1, 2)).center());
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(clicked[0][0].toModelIndex(), model.index(2, 1));
        QCOMPARE(clicked[1][0].toModelIndex(), model.index(1, 2));
        // Drawing only: the click changed no cell.
        QCOMPARE(model.index(1, 2).data().toString(), QStringLiteral("0"));

        // A plain table view takes the same delegates.
        QTableView plain;
        plain.setModel(&model);
        ShowColumnAsCheckBoxes(&plain, ColNo(3), QStringLiteral("表示"));
        QVERIFY(qobject_cast<CellControlDelegate*>(plain.itemDelegateForColumn(2)));
    }
};

VELTRIX_QTEST_MAIN(TestGridView)
#include "tst_grid_view.moc"
