#pragma once
// The File menu's race card output: export, printing of the race card and of
// the predicted R-index graph, and the graph windows of the view menu.
class QWidget;

namespace veltrix {
struct Application;
}

namespace veltrix::ui {

class frmSyusohyo;
struct GraphWindows;

// "出走表の印刷(&P)...": the secondary windows hidden, the printer dialog
// (landscape; it offers a PDF file), then the race card's pages. Errors while
// printing are ignored.
void PrintRaceCardWithDialog(Application& app, QWidget* parent);

// Creates the three graph windows beside the main window and connects
// "R指数グラフ(&R)", the race figure labels, "予測R指数グラフの印刷(&R)",
// "出走表のエクスポート(&E)..." and "出走表の印刷(&P)...".
GraphWindows AttachGraphWindows(frmSyusohyo& main, Application& app);

}  // namespace veltrix::ui
