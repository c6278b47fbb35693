#include "print/race_card_printer.h"

#include <QByteArray>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QSaveFile>
#include <algorithm>
#include <exception>
#include <memory>
#include <vector>

#include "app/export_command.h"
#include "base/sheet.h"
#include "print/race_card_painter.h"
#include "racecard/race_card.h"

namespace veltrix::print {

namespace {

QColor toQColor(const Rgb& c) { return QColor(c.r, c.g, c.b); }

Qt::Alignment toQtAlignment(CellAlign align) {
    switch (align) {
        case CellAlign::Center:
            return Qt::AlignHCenter;
        case CellAlign::Right:
            return Qt::AlignRight;
        default:
            return Qt::AlignLeft;
    }
}

// The Japanese face named first: a family the system lacks falls back to its sans serif.
QFont printFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Sans Serif")});
    font.setPointSizeF(8);
    // Shaped, the CJK face gives digits after Latin letters ("11R 14:25", "RL 44.1")
    // alternate glyphs the font maps no code point to: the PDF would hold no text
    // for them. Japanese needs no shaping; one glyph per character keeps them.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

bool isRadicalOrStroke(uint c) { return (c >= 0x2E80 && c <= 0x2FDF) || (c >= 0x31C0 && c <= 0x31EF); }
bool isUnifiedIdeograph(uint c) { return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF); }

// Radical or stroke -> the ideograph drawn with the same glyph of the print font.
QHash<uint, uint> radicalIdeographs() {
    QHash<uint, uint> out;
    const QRawFont raw = QRawFont::fromFont(printFont());
    if (!raw.isValid()) return out;
    QHash<quint32, uint> radicalOfGlyph;
    for (uint c = 0x2E80; c <= 0x31EF; ++c) {
        if (!isRadicalOrStroke(c)) continue;
        const QList<quint32> g = raw.glyphIndexesForString(QString(QChar(static_cast<char16_t>(c))));
        if (!g.isEmpty() && g[0] != 0 && !radicalOfGlyph.contains(g[0])) radicalOfGlyph.insert(g[0], c);
    }
    for (uint c = 0x3400; c <= 0x9FFF; ++c) {
        if (!isUnifiedIdeograph(c)) continue;
        const QList<quint32> g = raw.glyphIndexesForString(QString(QChar(static_cast<char16_t>(c))));
        if (g.isEmpty() || g[0] == 0) continue;
        const auto radical = radicalOfGlyph.constFind(g[0]);
        if (radical != radicalOfGlyph.cend() && !out.contains(*radical)) out.insert(*radical, c);
    }
    return out;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "<XXXX>" at i: its value, or -1.
int hex4At(const QByteArray& text, qsizetype i) {
    if (i + 6 > text.size() || text[i] != '<' || text[i + 5] != '>') return -1;
    int v = 0;
    for (qsizetype k = 1; k <= 4; ++k) {
        const int d = hexValue(text[i + k]);
        if (d < 0) return -1;
        v = v * 16 + d;
    }
    return v;
}

void putHex4(QByteArray& text, qsizetype i, uint v) {
    static const char digits[] = "0123456789ABCDEF";
    for (int k = 4; k >= 1; --k, v >>= 4) text[i + k] = digits[v & 15];
}

// One bfrange line "<a> <b> <u>" or "<a> <b> [<u> ...]" from i to its end.
void repairRangeLine(QByteArray& pdf, qsizetype i, qsizetype end, const QHash<uint, uint>& ideographs) {
    const int first = hex4At(pdf, i);
    const int last = hex4At(pdf, i + 7);
    if (first < 0 || last < 0) return;
    qsizetype k = i + 14;
    if (k < end && pdf[k] == '[') {
        for (++k; k + 6 <= end; ++k) {
            const int u = hex4At(pdf, k);
            if (u < 0) continue;
            if (const auto to = ideographs.constFind(static_cast<uint>(u)); to != ideographs.cend())
                putHex4(pdf, k, *to);
            k += 5;
        }
        return;
    }
    // A run of consecutive code points stays: only a single character is one glyph's.
    const int u = hex4At(pdf, k);
    if (u >= 0 && first == last)
        if (const auto to = ideographs.constFind(static_cast<uint>(u)); to != ideographs.cend())
            putHex4(pdf, k, *to);
}

}  // namespace

QByteArray RepairToUnicodeMaps(const QByteArray& source) {
    QByteArray pdf = source;
    const QHash<uint, uint> ideographs = radicalIdeographs();
    if (ideographs.isEmpty()) return pdf;
    for (qsizetype at = pdf.indexOf("beginbfrange\n"); at >= 0; at = pdf.indexOf("beginbfrange\n", at)) {
        at += 13;
        const qsizetype end = pdf.indexOf("endbfrange", at);
        if (end < 0) break;
        for (qsizetype line = at; line < end;) {
            qsizetype next = pdf.indexOf('\n', line);
            if (next < 0 || next > end) next = end;
            repairRangeLine(pdf, line, next, ideographs);
            line = next + 1;
        }
        at = end;
    }
    return pdf;
}

bool RepairPdfTextLayer(const QString& pdfFile) {
    QFile in(pdfFile);
    if (!in.open(QIODevice::ReadOnly)) return true;
    const QByteArray before = in.readAll();
    in.close();
    const QByteArray after = RepairToUnicodeMaps(before);
    if (after == before) return false;
    // Replaced whole or not at all: the printed file stays readable either way.
    QSaveFile out(pdfFile);
    if (!out.open(QIODevice::WriteOnly) || out.write(after) != after.size()) return true;
    return !out.commit();
}

bool PaintRaceCard(QPagedPaintDevice& device, const Sheet& s, const std::string& headerText) {
    QPainter painter;
    if (!painter.begin(&device)) return true;
    const QFont font = printFont();
    painter.setFont(font);
    const QFontMetricsF fm(font, &device);
    const double pad = fm.averageCharWidth();
    const double rowHeight = fm.height() * 1.35;

    const std::vector<ColNo> columns = PrintColumns(s);
    std::vector<double> widths;
    for (ColNo c : columns) {
        double w = fm.horizontalAdvance(QString::fromStdString(PrintHeaderText(s, c)));
        for (int r = 1; r <= s.rowCount(); ++r)
            w = std::max(w, fm.horizontalAdvance(QString::fromStdString(PrintCellOf(s, RowNo(r), c).text)));
        widths.push_back(w + 2 * pad);
    }
    const double pageWidth = device.width();
    const double pageHeight = device.height();
    const double headerHeight = rowHeight * 2;  // the header line and a gap
    const PrintPages pages =
        LayoutPrintPages(widths, s.rowCount(), rowHeight, headerHeight, pageWidth, pageHeight);

    const QString header = QString::fromStdString(headerText);
    QFont headerFont = font;
    // The header line is long (a label of 90 characters and the figures): narrowed to the page width.
    const double headerWidth = fm.horizontalAdvance(header);
    if (headerWidth > pageWidth) headerFont.setPointSizeF(8 * pageWidth / headerWidth * 0.98);

    auto drawCell = [&](const QRectF& rect, const QString& text, const QColor& fore, const QColor& back,
                        Qt::Alignment align, bool strikeOut) {
        painter.fillRect(rect, back);
        painter.setPen(QColor(160, 160, 160));
        painter.drawRect(rect);
        QFont f = font;
        f.setStrikeOut(strikeOut);
        painter.setFont(f);
        painter.setPen(fore);
        painter.drawText(rect.adjusted(pad, 0, -pad, 0), static_cast<int>(align | Qt::AlignVCenter), text);
    };

    bool first = true;
    for (const auto& [top, bottom] : pages.rows) {
        if (!first && !device.newPage()) break;
        first = false;
        painter.resetTransform();
        painter.setFont(headerFont);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, 0, pageWidth, rowHeight), Qt::AlignLeft | Qt::AlignVCenter, header);
        painter.translate(0, headerHeight);
        painter.scale(pages.scale, pages.scale);
        double x = 0;
        for (size_t i = 0; i < columns.size(); ++i) {
            drawCell(QRectF(x, 0, widths[i], rowHeight),
                     QString::fromStdString(PrintHeaderText(s, columns[i])), Qt::black, QColor(224, 224, 224),
                     Qt::AlignHCenter, false);
            x += widths[i];
        }
        double y = rowHeight;
        for (int r = top; r <= bottom; ++r) {
            x = 0;
            for (size_t i = 0; i < columns.size(); ++i) {
                const PrintCell cell = PrintCellOf(s, RowNo(r), columns[i]);
                const QRectF rect(x, y, widths[i], rowHeight);
                drawCell(rect, QString::fromStdString(cell.text), toQColor(cell.fore), toQColor(cell.back),
                         toQtAlignment(cell.align), cell.strikeOut);
                if (cell.topBorder) {
                    painter.setPen(QPen(toQColor(cell.borderColor), 2));
                    painter.drawLine(rect.topLeft(), rect.topRight());
                }
                x += widths[i];
            }
            y += rowHeight;
        }
    }
    return !painter.end();
}

int PrintRaceCard(Application& app, QPagedPaintDevice& device, const std::function<bool()>& chooseDevice,
                  const std::function<QString()>& pdfFile) {
    const std::string header = PreparePrintRaceCard(app);
    if (header.empty()) return 1;
    if (chooseDevice && !chooseDevice()) return 1;
    if (PaintRaceCard(device, app.raceCard.sheet(kSheetSyuso), header)) return -1;
    const QString file = pdfFile ? pdfFile() : QString();
    if (!file.isEmpty() && RepairPdfTextLayer(file)) return -1;
    return 0;
}

int PrintRaceCardToPdf(Application& app, const std::string& path) {
    try {
        // Made here and ended before returning: an application object left to the
        // exit handlers would outlive the Qt state it needs.
        std::unique_ptr<QGuiApplication> gui;
        if (!QCoreApplication::instance()) {
            // Printing to a file needs no display.
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
            static int argc = 1;
            static char name[] = "veltrix-cli";
            static char* argv[] = {name, nullptr};
            gui = std::make_unique<QGuiApplication>(argc, argv);
        }
        const QString file = QString::fromStdString(path);
        int result = -1;
        {
            QPdfWriter writer(file);
            writer.setResolution(300);
            writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                             QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
            writer.setCreator(QStringLiteral("VELTRIX"));
            result = PrintRaceCard(app, writer, {}, {});
        }
        // The writer closes its file when it goes: only then is the text layer complete.
        if (result == 0 && RepairPdfTextLayer(file)) return -1;
        return result == 0 ? 0 : -1;
    } catch (const std::exception&) {
        return -1;
    }
}

}  // namespace veltrix::print
