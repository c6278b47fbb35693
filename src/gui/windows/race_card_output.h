#pragma once
// The File menu's race card output: export, printing of the race card and of
// the predicted R-index graph.
#include <functional>

class QPrinter;
class QWidget;

namespace veltrix {
struct Application;
}

namespace veltrix::gui {

// "出走表の印刷(&P)...": the secondary windows hidden, the printer dialog
// (landscape; it offers a PDF file), then the race card's pages. Errors while
// printing are ignored.
void PrintRaceCardWithDialog(Application& app, QWidget* parent);
// Its road past the dialog (chooseDevice: false stops), the printer's PDF file
// included. 0 printed, 1 nothing to print or stopped, -1 failure.
int PrintRaceCardOn(Application& app, QPrinter& printer, const std::function<bool()>& chooseDevice);

}  // namespace veltrix::gui
