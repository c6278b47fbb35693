#pragma once
// Paints the printed race card onto a paged device (a QPrinter or a QPdfWriter).
#include <string>

class QPagedPaintDevice;

namespace veltrix {
class Sheet;
}

namespace veltrix::print {

// Every page: the header line, the column headers and the page's rows of the
// printed columns. True when the device could not be painted on.
bool PaintRaceCard(QPagedPaintDevice& device, const Sheet& syuso, const std::string& header);

}  // namespace veltrix::print
