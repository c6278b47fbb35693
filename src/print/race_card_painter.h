#pragma once
// Paints the printed race card onto a paged device (a QPrinter or a QPdfWriter).
#include <functional>
#include <string>

class QByteArray;
class QPagedPaintDevice;
class QString;

namespace veltrix {
struct Application;
class Sheet;
}  // namespace veltrix

namespace veltrix::print {

// Every page: the header line, the column headers and the page's rows of the
// printed columns. True when the device could not be painted on.
bool PaintRaceCard(QPagedPaintDevice& device, const Sheet& syuso, const std::string& header);

// mnuPrint and `veltrix-cli print` alike: the core's preparation (secondary
// windows hidden, the header line), then chooseDevice (the printer dialog;
// false stops), then the pages. When the device writes the PDF file pdfFile,
// its text layer is repaired afterwards (RepairPdfTextLayer). 0 printed,
// 1 nothing to print or stopped, -1 failure.
int PrintRaceCard(Application& app, QPagedPaintDevice& device, const std::function<bool()>& chooseDevice,
                  const std::function<QString()>& pdfFile);

// Qt maps a glyph back to the lowest code point the font gives it, and the CJK
// fonts give many kanji glyphs to a radical as well (馬 to ⾺ U+2FBA): the
// PDF's text layer would read the radical. Every radical or stroke of a
// ToUnicode map that shares its glyph with a unified ideograph of the print
// font is rewritten as that ideograph, keeping the file's length and offsets.
QByteArray RepairToUnicodeMaps(const QByteArray& pdf);
// The file replaced with its repaired text layer. True on failure.
bool RepairPdfTextLayer(const QString& pdfFile);

}  // namespace veltrix::print
