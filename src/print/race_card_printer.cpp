#include "print/race_card_printer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <exception>
#include <memory>
#include <vector>

#include "app/export_command.h"
#include "base/sheet.h"
#include "print/race_card_painter.h"

namespace veltrix::print {

namespace {

QColor toQColor(const Rgb& c) { return QColor(c.r, c.g, c.b); }

Qt::Alignment alignmentOf(const Sheet& s, RowNo row, ColNo col) {
    switch (s.alignment(row, col)) {
        case CellAlign::Left:
            return Qt::AlignLeft;
        case CellAlign::Center:
            return Qt::AlignHCenter;
        case CellAlign::Right:
            return Qt::AlignRight;
        case CellAlign::Auto:
            break;
    }
    return s.cell(row, col).number ? Qt::AlignRight : Qt::AlignLeft;
}

}  // namespace

bool PaintRaceCard(QPagedPaintDevice& device, const Sheet& s, const std::string& headerText) {
    QPainter painter;
    if (!painter.begin(&device)) return true;
    QFont font(QStringLiteral("Sans Serif"));
    font.setPointSizeF(8);
    painter.setFont(font);
    const QFontMetricsF fm(font, &device);
    const double pad = fm.averageCharWidth();
    const double rowHeight = fm.height() * 1.35;

    const std::vector<ColNo> columns = PrintColumns(s);
    std::vector<double> widths;
    for (ColNo c : columns) {
        double w = fm.horizontalAdvance(QString::fromStdString(s.header(c)));
        for (int r = 1; r <= s.rowCount(); ++r)
            w = std::max(w, fm.horizontalAdvance(QString::fromStdString(s.text(RowNo(r), c))));
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
            drawCell(QRectF(x, 0, widths[i], rowHeight), QString::fromStdString(s.header(columns[i])),
                     Qt::black, QColor(224, 224, 224), Qt::AlignHCenter, false);
            x += widths[i];
        }
        double y = rowHeight;
        for (int r = top; r <= bottom; ++r) {
            const RowNo row(r);
            x = 0;
            for (size_t i = 0; i < columns.size(); ++i) {
                const Cell& cell = s.cell(row, columns[i]);
                const QRectF rect(x, y, widths[i], rowHeight);
                const QColor fore = cell.fore ? toQColor(*cell.fore) : QColor(Qt::black);
                drawCell(rect, QString::fromStdString(cell.text), fore,
                         cell.back ? toQColor(*cell.back) : QColor(Qt::white),
                         alignmentOf(s, row, columns[i]), cell.strikeOut);
                if (cell.topBorder) {
                    painter.setPen(QPen(cell.borderColor ? toQColor(*cell.borderColor) : fore, 2));
                    painter.drawLine(rect.topLeft(), rect.topRight());
                }
                x += widths[i];
            }
            y += rowHeight;
        }
    }
    return !painter.end();
}

int PrintRaceCardToPdf(const Sheet& syuso, const std::string& header, const std::string& path) {
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
        QPdfWriter writer(QString::fromStdString(path));
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        writer.setCreator(QStringLiteral("VELTRIX"));
        return PaintRaceCard(writer, syuso, header) ? -1 : 0;
    } catch (const std::exception&) {
        return -1;
    }
}

}  // namespace veltrix::print
