#pragma once
// The printed race card: sheet 1 with its header line on every page, in the
// grid's colours, fitted to the page width. One road for the printer dialog's
// printer and for the command line's PDF file. This header names no Qt type,
// so the command line can include it.
#include <string>

namespace veltrix {
struct Application;
}

namespace veltrix::print {

// The race card on show written to a PDF file (A4 landscape) as the File menu
// prints it. Starts Qt's GUI library on the offscreen platform when no
// application object exists. 0 on success, -1 on failure (no race shown, the
// file cannot be written).
int PrintRaceCardToPdf(Application& app, const std::string& path);

}  // namespace veltrix::print
