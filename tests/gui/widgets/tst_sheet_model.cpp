#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>
#include <memory>

#include "base/sheet.h"
#include "gui/widgets/sheet_model.h"
#include "model_tester.h"
#include "qt_test_main.h"

using namespace veltrix;
using namespace veltrix::gui;

class TestSheetModel : public QObject {
    Q_OBJECT

private slots:
    void passesTheModelTesterThroughChanges() {
        Sheet sheet(3, 4);
        SheetModel model(sheet);
        test::AttachModelTester(&model);
        {
            SheetUpdate batch(sheet);
            sheet.setRowCount(18);
            for (int r = 1; r <= 18; ++r) sheet.setNumber(RowNo(r), ColNo(2), 19 - r);
        }
        QCOMPARE(model.rowCount(), 18);
        sheet.sortByColumn(ColNo(2), SortOrder::Ascending);
        QCOMPARE(model.data(model.index(0, 1)).toString(), QString("1"));
        sheet.setColCount(2);
        sheet.setRowCount(0);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 2);
    }

    void servesEveryRole() {
        Sheet sheet(2, 3);
        sheet.setHeader(ColNo(2), "馬名");
        sheet.setNumber(RowNo(1), ColNo(1), 57, "57.0K");
        sheet.setText(RowNo(2), ColNo(1), "ｾﾝ");
        sheet.setColors(RowNo(1), ColNo(2), Rgb{255, 0, 51}, kBlack);
        sheet.setStrikeOut(RowNo(1), ColNo(2), true);
        sheet.setTopBorder(RowNo(2), ColNo(3), true);
        SheetModel model(sheet);
        test::AttachModelTester(&model);

        const QModelIndex a = model.index(0, 0), b = model.index(1, 0), c = model.index(0, 1);
        QCOMPARE(model.data(a).toString(), QString("57.0K"));
        QCOMPARE(model.data(a, SheetModel::SortRole).toDouble(), 57.0);
        QCOMPARE(model.data(b, SheetModel::SortRole).toString(), QString("ｾﾝ"));
        QCOMPARE(model.data(c, Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 51));
        QCOMPARE(model.data(c, Qt::BackgroundRole).value<QColor>(), QColor(0, 0, 0));
        QVERIFY(!model.data(a, Qt::ForegroundRole).isValid());  // default colours stay the view's
        QVERIFY(model.data(c, Qt::FontRole).value<QFont>().strikeOut());
        QVERIFY(!model.data(a, Qt::FontRole).isValid());
        QVERIFY(model.data(model.index(1, 2), SheetModel::TopBorderRole).toBool());
        QVERIFY(!model.data(a, SheetModel::TopBorderRole).toBool());
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString("馬名"));
        QCOMPARE(model.headerData(1, Qt::Vertical).toInt(), 2);
    }

    // Cells and headers arrive as one dataChanged / headerDataChanged per batch;
    // only shape, order and hidden columns reset the model.
    void eachBatchIsOneSignalOfItsKind() {
        Sheet sheet(5, 5);
        SheetModel model(sheet);
        test::AttachModelTester(&model);
        QSignalSpy aboutToReset(&model, &QAbstractItemModel::modelAboutToBeReset);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QSignalSpy data(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
        {
            SheetUpdate batch(sheet);
            for (int r = 2; r <= 4; ++r)
                for (int c = 3; c <= 5; ++c) sheet.setText(RowNo(r), ColNo(c), "x");
            sheet.setColors(RowNo(3), ColNo(2), kBlack, kWhite);
        }
        QCOMPARE(reset.count(), 0);
        QCOMPARE(data.count(), 1);
        QCOMPARE(data[0][0].toModelIndex(), model.index(1, 1));
        QCOMPARE(data[0][1].toModelIndex(), model.index(3, 4));

        {
            SheetUpdate batch(sheet);
            sheet.setHeader(ColNo(4), "N");
            sheet.setHeader(ColNo(2), "馬名");
        }
        QCOMPARE(headers.count(), 1);
        QCOMPARE(headers[0][0].value<Qt::Orientation>(), Qt::Horizontal);
        QCOMPARE(headers[0][1].toInt(), 1);
        QCOMPARE(headers[0][2].toInt(), 3);
        QCOMPARE(reset.count(), 0);

        {
            SheetUpdate batch(sheet);
            sheet.setText(RowNo(1), ColNo(1), "y");
            sheet.setRowCount(6);
            sheet.setText(RowNo(6), ColNo(1), "z");
        }
        QCOMPARE(aboutToReset.count(), 1);
        QCOMPARE(reset.count(), 1);
        QCOMPARE(data.count(), 1);
        QCOMPARE(model.rowCount(), 6);
        model.refresh();
        QCOMPARE(reset.count(), 2);
    }

    // A cell update leaves the user where they were; a sort starts afresh.
    void selectionAndScrollSurviveACellUpdate() {
        Sheet sheet(60, 30);
        for (int r = 1; r <= 60; ++r) sheet.setNumber(RowNo(r), ColNo(1), 61 - r);
        SheetModel model(sheet);
        test::AttachModelTester(&model);
        QTableView view;
        SetUpSheetView(&view, &model);
        view.resize(320, 240);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QModelIndex chosen = model.index(40, 20);
        view.setCurrentIndex(chosen);
        view.selectionModel()->select(model.index(41, 20), QItemSelectionModel::Select);
        view.verticalScrollBar()->setValue(35);
        view.horizontalScrollBar()->setValue(15);
        const QModelIndexList selected = view.selectionModel()->selectedIndexes();
        QCOMPARE(selected.size(), 2);

        {
            SheetUpdate batch(sheet);
            for (int r = 1; r <= 60; ++r) {
                sheet.setColors(RowNo(r), ColNo(21), kWhite, kBlack);
                sheet.setText(RowNo(r), ColNo(22), "更新");
            }
        }
        QApplication::processEvents();
        QCOMPARE(view.currentIndex(), chosen);
        QCOMPARE(view.selectionModel()->selectedIndexes(), selected);
        QCOMPARE(view.verticalScrollBar()->value(), 35);
        QCOMPARE(view.horizontalScrollBar()->value(), 15);
        QCOMPARE(model.index(40, 21).data().toString(), QStringLiteral("更新"));

        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        sheet.sortByColumn(ColNo(1), SortOrder::Ascending);
        QCOMPARE(reset.count(), 1);
        QVERIFY(!view.currentIndex().isValid());
        QVERIFY(view.selectionModel()->selectedIndexes().isEmpty());
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("1"));
    }

    void servesTheAlignment() {
        Sheet sheet(2, 3);
        sheet.setNumber(RowNo(1), ColNo(1), 57, "57.0K");
        sheet.setText(RowNo(2), ColNo(1), "ｾﾝ");
        sheet.setColumnAlignment(ColNo(2), CellAlign::Center);
        sheet.setAlignment(RowNo(2), ColNo(3), CellAlign::Right);
        SheetModel model(sheet);
        test::AttachModelTester(&model);
        auto align = [&model](int r, int c) { return model.index(r, c).data(Qt::TextAlignmentRole).toInt(); };
        QCOMPARE(align(0, 0), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(align(1, 0), int(Qt::AlignLeft | Qt::AlignVCenter));
        QCOMPARE(align(0, 1), int(Qt::AlignHCenter | Qt::AlignVCenter));
        QCOMPARE(align(1, 2), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(align(0, 2), int(Qt::AlignLeft | Qt::AlignVCenter));

        // The delegate places the text by it: a right-aligned number ends at the cell's right edge.
        sheet.setNumber(RowNo(1), ColNo(2), 8, "8");
        sheet.setColumnAlignment(ColNo(2), CellAlign::Auto);
        QTableView view;
        SetUpSheetView(&view, &model);
        view.setShowGrid(false);
        view.setColumnWidth(1, 120);
        view.resize(400, 120);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QRect cell = view.visualRect(model.index(0, 1));
        const QImage image = view.viewport()->grab().toImage();
        const QColor base = image.pixelColor(cell.center().x(), cell.top() + 1);
        auto inkIn = [&](int from, int to) {
            for (int x = from; x < to; ++x)
                for (int y = cell.top(); y <= cell.bottom(); ++y)
                    if (image.pixelColor(x, y) != base) return true;
            return false;
        };
        QVERIFY(inkIn(cell.right() - 20, cell.right()));
        QVERIFY(!inkIn(cell.left(), cell.left() + 60));
    }

    // Two adapters on one sheet both follow it; one going away leaves the other.
    void twoModelsOnOneSheet() {
        Sheet sheet(3, 3);
        auto first = std::make_unique<SheetModel>(sheet);
        test::AttachModelTester(first.get());
        SheetModel second(sheet);
        test::AttachModelTester(&second);
        QSignalSpy firstData(first.get(), &QAbstractItemModel::dataChanged);
        QSignalSpy secondData(&second, &QAbstractItemModel::dataChanged);
        sheet.setText(RowNo(2), ColNo(2), "a");
        QCOMPARE(firstData.count(), 1);
        QCOMPARE(secondData.count(), 1);
        first.reset();
        sheet.setRowCount(5);
        sheet.setText(RowNo(5), ColNo(1), "b");
        QCOMPARE(second.rowCount(), 5);
        QCOMPARE(secondData.count(), 2);
    }

    void viewFollowsHiddenColumnsAndPaintsTheTopBorder() {
        Sheet sheet(2, 3);
        sheet.setColumnHidden(ColNo(3), true);
        SheetModel model(sheet);
        test::AttachModelTester(&model);
        QTableView view;
        SetUpSheetView(&view, &model);
        QVERIFY(view.isColumnHidden(2));
        QVERIFY(!view.isColumnHidden(0));
        {
            SheetUpdate batch(sheet);
            sheet.setColumnHidden(ColNo(3), false);
            sheet.setColumnHidden(ColNo(1), true);
        }
        QVERIFY(!view.isColumnHidden(2));
        QVERIFY(view.isColumnHidden(0));

        // A red top border on a white cell of row 2, column 2.
        sheet.setColors(RowNo(2), ColNo(2), Rgb{255, 0, 0}, kWhite);
        sheet.setTopBorder(RowNo(2), ColNo(2), true);
        view.setShowGrid(false);
        view.resize(400, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QRect rect = view.visualRect(model.index(1, 1));
        const QImage image = view.viewport()->grab().toImage();
        QCOMPARE(QColor(image.pixel(rect.center().x(), rect.top())), QColor(255, 0, 0));
        QCOMPARE(QColor(image.pixel(rect.center().x(), rect.top() + 3)), QColor(255, 255, 255));
    }
};

VELTRIX_QTEST_MAIN(TestSheetModel)
#include "tst_sheet_model.moc"
