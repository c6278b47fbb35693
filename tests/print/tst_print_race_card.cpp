// Printing to PDF files: the race card of a calculated generated race (every
// row, header line on every page, landscape) and the predicted R-index graph
// (captured directly, in the print box at 1100 twips). The first page of each
// is converted to PNG (pdftoppm) beside the screenshots.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/calculate_command.h"
#include "app/export_command.h"
#include "app/graph_commands.h"
#include "app/race_commands.h"
#include "app/startup.h"
#include "gui/windows/frmGraphs.h"
#include "gui/windows/frmSyusohyo.h"
#include "print/race_card_painter.h"
#include "print/race_card_printer.h"
#include "qt_test_main.h"
#include "racecard/columns.h"
#include "sample/imported_sample.h"
#include "sample/sample_world.h"
#include "sample_program.h"

using namespace veltrix;
using namespace veltrix::gui;
using namespace veltrix::print;

namespace {

// The first page of a PDF as a PNG beside the screenshots; the image read back.
QImage firstPageAsPng(const QString& pdf, const QString& name) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (tool.isEmpty()) return {};
    const QString prefix = test::ScreenshotDir() + QLatin1Char('/') + name;
    QProcess p;
    p.start(tool, {QStringLiteral("-png"), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                   QStringLiteral("1"), QStringLiteral("-r"), QStringLiteral("80"),
                   QStringLiteral("-singlefile"), pdf, prefix});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
    return QImage(prefix + QStringLiteral(".png"));
}

}  // namespace

class TestPrintRaceCard : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<Application> app_;

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty(),
                 "pdftoppm (poppler-utils) is needed");
        const std::string made = test::MakeSampleProgramFolder(dir_.path().toStdString(), 7);
        QVERIFY2(made.empty(), made.c_str());
        app_ = std::make_unique<Application>();
        const std::string started = test::StartOn(*app_, dir_.path().toStdString());
        QVERIFY2(started.empty(), started.c_str());
        // The biggest field of the week, calculated.
        int best = 0;
        for (int r = 1; r <= app_->store.RaceCount; ++r) {
            NullPump pump;
            QVERIFY(!OpenRace(*app_, app_->store.RaceIdList[r], app_->store.RaceLabel[r], pump));
            best = std::max(best, app_->raceCard.sheet(kSheetSyuso).rowCount());
        }
        for (int r = 1; r <= app_->store.RaceCount; ++r) {
            NullPump pump;
            QVERIFY(!OpenRace(*app_, app_->store.RaceIdList[r], app_->store.RaceLabel[r], pump));
            if (app_->raceCard.sheet(kSheetSyuso).rowCount() == best) break;
        }
        QVERIFY(!Calculate(*app_));
    }

    void raceCardToPdf() {
        const std::string header = PreparePrintRaceCard(*app_);
        QVERIFY(header.find("Printed by VELTRIX") != std::string::npos);
        const QString file = dir_.filePath(QStringLiteral("race_card.pdf"));
        // The menu's printer, told to write a file as the dialog's "print to file" does.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setPageOrientation(QPageLayout::Landscape);
        QVERIFY(!PaintRaceCard(printer, app_->raceCard.sheet(kSheetSyuso), header));
        QVERIFY(QFile(file).size() > 1000);
        const QImage page = firstPageAsPng(file, QStringLiteral("print_race_card"));
        QVERIFY(!page.isNull());
        QVERIFY(page.width() > page.height());  // landscape

        // The command line's file: the same painter on a PDF writer, and a folder that does not exist.
        const QString cliFile = dir_.filePath(QStringLiteral("cli.pdf"));
        QCOMPARE(PrintRaceCardToPdf(app_->raceCard.sheet(kSheetSyuso), header, cliFile.toStdString()), 0);
        QVERIFY(!firstPageAsPng(cliFile, QStringLiteral("print_race_card_cli")).isNull());
        QCOMPARE(PrintRaceCardToPdf(app_->raceCard.sheet(kSheetSyuso), header,
                                    dir_.filePath(QStringLiteral("no/such/folder/x.pdf")).toStdString()),
                 -1);
    }

    void graphToPdf() {
        QWidget raceCard;
        raceCard.setGeometry(30, 30, 1200, 860);
        raceCard.show();
        const GraphWindows w = MakeGraphWindows(*app_, &raceCard);
        const QString file = dir_.filePath(QStringLiteral("graph.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        // Hidden: nothing is printed.
        QVERIFY(w.race->PrintGraph(printer, &raceCard));
        QVERIFY(!QFile::exists(file));

        OpenGraphWindows(w, *app_, &raceCard);
        QVERIFY(QTest::qWaitForWindowExposed(w.race));
        QVERIFY(!app_->raceGraph.entries.empty());
        QVERIFY(!w.race->PrintGraph(printer, &raceCard));
        // Moved to the race card's bottom-right corner first.
        QCOMPARE(w.race->frameGeometry().bottomRight(), raceCard.frameGeometry().bottomRight());
        const QImage page = firstPageAsPng(file, QStringLiteral("print_race_graph"));
        QVERIFY(!page.isNull());
        // The picture starts at 1100 twips (about 0.76 inch) from the corner and fills the box's
        // width: the page is mostly white above it and coloured inside it.
        const int inch = 80;
        QCOMPARE(page.pixelColor(inch / 2, inch / 2), QColor(Qt::white));
        const QColor inside = page.pixelColor(page.width() / 2, static_cast<int>(inch * 0.76) + 20);
        QVERIFY2(inside != QColor(Qt::white), "the graph is not where the print box puts it");
    }
};

VELTRIX_QTEST_MAIN(TestPrintRaceCard)
#include "tst_print_race_card.moc"
