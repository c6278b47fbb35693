// Printing to PDF files: the race card of a calculated generated race through
// the menu's road and the command line's (every row with the texts of the
// command line's card, a text layer that reads back as written, landscape) and the predicted R-index graph
// (drawn into the printer's painter, in the print box at 1100 twips, the
// window left in place). The first page of each
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
#include "graphs/label_layout.h"
#include "gui/windows/frmGraphs.h"
#include "gui/windows/frmSyusohyo.h"
#include "gui/windows/race_card_output.h"
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

// pdftotext -layout of a PDF, line by line.
QStringList pdfText(const QString& pdf) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) return {};
    QProcess p;
    p.start(tool, {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf,
                   QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
}

QString squeezed(QString text) {
    text.remove(QLatin1Char(' '));
    text.remove(QChar(0x3000));
    return text;
}

}  // namespace

class TestPrintRaceCard : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<Application> app_;
    std::string raceId_;

    // veltrix-cli on the test's program folder: its standard output, line by line.
    QStringList runCli(QStringList args) {
        args.prepend(dir_.path());
        args.prepend(QStringLiteral("--root"));
        QProcess p;
        p.start(QStringLiteral(VELTRIX_BIN_DIR "/veltrix-cli"), args);
        if (!p.waitForFinished(120000) || p.exitCode() != 0) return {};
        QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(QStringLiteral("\n"));
        for (QString& line : lines)
            if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
        return lines;
    }

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
            raceId_ = app_->store.RaceIdList[r];
            if (app_->raceCard.sheet(kSheetSyuso).rowCount() == best) break;
        }
        QVERIFY(!Calculate(*app_));
    }

    void raceCardToPdf() {
        // A runner chosen, as on screen: its inverted name is not printed.
        QVERIFY(ChooseRunner(*app_, RowNo(1)));
        const QString file = dir_.filePath(QStringLiteral("race_card.pdf"));
        // The menu's road, its printer told to write a file as the dialog's "print to file" does.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setPageOrientation(QPageLayout::Landscape);
        bool asked = false;
        QCOMPARE(PrintRaceCardOn(*app_, printer, [&] { return asked = true; }), 0);
        QVERIFY(asked);
        QVERIFY(QFile(file).size() > 1000);
        const QImage page = firstPageAsPng(file, QStringLiteral("print_race_card"));
        QVERIFY(!page.isNull());
        QVERIFY(page.width() > page.height());  // landscape

        // Every row reads back with the name and the running record the command line's card shows.
        const QStringList printed = pdfText(file);
        const QStringList card =
            runCli({QStringLiteral("card"), QString::fromStdString(raceId_), QStringLiteral("--calculate")});
        QVERIFY(card.size() > 2);
        int records = 0;
        for (qsizetype i = 1; i < card.size(); ++i) {
            const QStringList cells = card[i].split(QLatin1Char('\t'));
            QVERIFY(cells.size() >= sheet1::kSeiseki.value);
            const QString name = squeezed(cells[card::kName.value - 1]);
            const QString record = squeezed(cells[sheet1::kSeiseki.value - 1]);
            if (!record.isEmpty()) ++records;
            bool found = false;
            for (const QString& line : printed) {
                const QString row = squeezed(line);
                const qsizetype at = row.indexOf(name);
                if (at >= 0 && row.indexOf(record, at + name.size()) >= 0) found = true;
            }
            QVERIFY2(found, qPrintable(QStringLiteral("row %1: %2 %3").arg(i).arg(name, record)));
        }
        QVERIFY2(records > 0, "no runner of the race has a running record");
        // The race label's kanji read back as written, not as radicals.
        const QString label = QString::fromStdString(app_->raceCard.lblRace).left(20).simplified();
        QVERIFY(!label.isEmpty());
        QVERIFY2(squeezed(printed.join(QString())).contains(squeezed(label)),
                 qPrintable(label + QStringLiteral(" / ") + printed.value(0)));
        for (const QString& line : printed)
            for (QChar c : line) QVERIFY2(c.unicode() < 0x2E80 || c.unicode() > 0x2FDF, qPrintable(line));

        // The command line's file: the same road on a PDF writer; a folder that does not exist.
        const QString cliFile = dir_.filePath(QStringLiteral("cli.pdf"));
        QCOMPARE(PrintRaceCardToPdf(*app_, cliFile.toStdString()), 0);
        QVERIFY(!firstPageAsPng(cliFile, QStringLiteral("print_race_card_cli")).isNull());
        QVERIFY(squeezed(pdfText(cliFile).join(QString())).contains(squeezed(label)));
        QCOMPARE(
            PrintRaceCardToPdf(*app_, dir_.filePath(QStringLiteral("no/such/folder/x.pdf")).toStdString()),
            -1);
    }

    // The grid's colours over the card's base, money with the yen sign, the
    // chosen runner's name as every other name.
    void printedCells() {
        Sheet s(3, sheet1::kColumns);
        s.setText(RowNo(1), sheet1::kSeiseki, " 0- 0- 0- 2");
        s.setColors(RowNo(1), sheet1::kSeiseki, kWhite, std::nullopt);
        s.setText(RowNo(2), card::kName, "ベガ");
        s.setColors(RowNo(2), card::kName, kBlack, kWhite);
        s.setText(RowNo(3), ColNo(23), "\\1,200");
        const PrintCell record = PrintCellOf(s, RowNo(1), sheet1::kSeiseki);
        QCOMPARE(record.fore, kWhite);
        QCOMPARE(record.back, kCardBack);
        const PrintCell chosen = PrintCellOf(s, RowNo(2), card::kName);
        QCOMPARE(chosen.fore, kCardFore);
        QCOMPARE(chosen.back, kCardBack);
        QCOMPARE(PrintCellOf(s, RowNo(3), ColNo(23)).text, std::string("¥1,200"));
    }

    // Only radicals that share a glyph with an ideograph become it; the bytes keep their places.
    void toUnicodeRepair() {
        const QByteArray pdf =
            "x\n2 beginbfrange\n<0000> <0000> <0000>\n<0001> <0003> [<2FBA> <540D> <2F2D> ]\n"
            "<0004> <0004> <2F47>\n<0005> <000F> <2F00>\nendbfrange\n<2FBA>";
        const QByteArray fixed = RepairToUnicodeMaps(pdf);
        QCOMPARE(fixed.size(), pdf.size());
        QVERIFY(fixed.contains("[<99AC> <540D> <5C71> ]"));
        QVERIFY(fixed.contains("<0004> <0004> <65E5>"));
        QVERIFY(fixed.contains("<0005> <000F> <2F00>"));  // a run of code points is left alone
        QVERIFY(fixed.endsWith("<2FBA>"));                // outside the maps nothing changes
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
        QVERIFY(w.race->PrintGraph(printer));
        QVERIFY(!QFile::exists(file));

        OpenGraphWindows(w, *app_, &raceCard);
        QVERIFY(QTest::qWaitForWindowExposed(w.race));
        QVERIFY(!app_->raceGraph.entries.empty());
        const QPoint before = w.race->pos();
        QVERIFY(!w.race->PrintGraph(printer));
        QCOMPARE(w.race->pos(), before);  // printing leaves the window where it was
        // Drawn, not grabbed: the captions and the runners' labels are text on the page.
        const QString text = pdfText(file).join(QLatin1Char(' '));
        QVERIFY2(text.contains(QStringLiteral("R前")) && text.contains(QStringLiteral("R後")),
                 qPrintable(text));
        const std::string first = ShortPointLabel(app_->raceGraph.entries.front().label);
        QVERIFY2(text.contains(QString::fromStdString(first)), qPrintable(text));
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
