#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QImage>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

#include "base/sheet.h"
#include "ui/sheet_model.h"

using namespace veltrix;

class TestSheetModel : public QObject {
    Q_OBJECT

private slots:
    void passesTheModelTesterThroughChanges() {
        Sheet sheet(3, 4);
        SheetModel model(sheet);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
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

    void resetsOncePerBatch() {
        Sheet sheet(5, 5);
        SheetModel model(sheet);
        QSignalSpy aboutToReset(&model, &QAbstractItemModel::modelAboutToBeReset);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        {
            SheetUpdate batch(sheet);
            for (int r = 1; r <= 5; ++r)
                for (int c = 1; c <= 5; ++c) sheet.setText(RowNo(r), ColNo(c), "x");
        }
        QCOMPARE(aboutToReset.count(), 1);
        QCOMPARE(reset.count(), 1);
        model.refresh();
        QCOMPARE(reset.count(), 2);
    }

    void viewFollowsHiddenColumnsAndPaintsTheTopBorder() {
        Sheet sheet(2, 3);
        sheet.setColumnHidden(ColNo(3), true);
        SheetModel model(sheet);
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

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    qputenv("QT_SCALE_FACTOR", "1");
    QApplication app(argc, argv);
    TestSheetModel t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_sheet_model.moc"
