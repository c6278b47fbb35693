#pragma once
// The File menu's race card output: export, printing of the race card and of
// the predicted R-index graph.
class QWidget;

namespace veltrix {
struct Application;
}

namespace veltrix::gui {

// "出走表の印刷(&P)...": the secondary windows hidden, the printer dialog
// (landscape; it offers a PDF file), then the race card's pages. Errors while
// printing are ignored.
void PrintRaceCardWithDialog(Application& app, QWidget* parent);

}  // namespace veltrix::gui
