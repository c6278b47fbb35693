#pragma once
// The printed race card: sheet 1 with its header line on every page, in the
// grid's colours, fitted to the page width. One painter for the printer
// dialog's printer and for the command line's PDF file. This header names no
// Qt type, so the command line can include it.
#include <string>

namespace veltrix {
class Sheet;
}

namespace veltrix::print {

// Writes the race card to a PDF file (A4 landscape) through the same page
// layout as the printer. Starts Qt's GUI library on the offscreen platform when
// no application object exists. 0 on success, -1 on failure.
int PrintRaceCardToPdf(const Sheet& syuso, const std::string& header, const std::string& path);

}  // namespace veltrix::print
