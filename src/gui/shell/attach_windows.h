#pragma once
// The windows of the program attached to the main window: each is created
// beside it (owned by it) and connected to the menu items that show it.
namespace veltrix {
struct Application;
class JVLink;
}  // namespace veltrix

namespace veltrix::gui {

class frmAnalyzeData;
class frmDataImport;
class frmDetail;
class frmHeatmap;
class frmKaimeList;
class frmRace;
class frmSelect;
class frmSyusohyo;
class SimulationMenu;
struct GraphWindows;

// Creates the import window beside the main window, which owns it: it opens
// modally on the main window's import command (and a click on lblRace). jv is
// the program's one JV-Link control, initialised by the main window's load.
frmDataImport* AttachImportWindow(frmSyusohyo& main, Application& app, JVLink& jv);
// The bet list window, hidden until the main window's "買い目リスト(&K)"; closing it only hides it.
frmKaimeList* AttachKaimeListWindow(frmSyusohyo& main, Application& app);
// The heat map window, drawn and shown by the main window's "ヒートマップ(&M)" while a race is shown.
frmHeatmap* AttachHeatmapWindow(frmSyusohyo& main, Application& app);

// Creates the analysis-file import window, owned by the main window: it opens
// modally on the main window's mnuFileImport.
frmAnalyzeData* AttachAnalyzeWindow(frmSyusohyo& main, Application& app);

// Creates the selection palette beside the main window, which owns it; the
// main window's palette menu item shows it.
frmSelect* AttachSelectWindow(frmSyusohyo& main, Application& app);

// Creates the histogram window beside the main window, which owns it; the
// main window's histogram menu item shows it.
frmDetail* AttachDetailWindow(frmSyusohyo& main, Application& app);

// Connects the main window's tuning menu item: the secondary windows are
// hidden and the tuning window is shown modally.
void AttachTuningWindow(frmSyusohyo& main, Application& app);

// Connects "予測シミュレーション(&Y)" and "結果シミュレーション(&K)": each runs its
// simulation over the main window.
SimulationMenu* AttachSimulationMenu(frmSyusohyo& main, Application& app);

// The race model window, opened by the pane's "RACE MODEL SIMULATOR を開く" over
// the main window's top-left corner with the main window's menus, odds filter,
// relation labels and grids disabled until it closes. The race menu's "JRA
// RACING VIEWER を開く" plays the video of the pane's race through jv (may be null).
frmRace* AttachRaceWindow(frmSyusohyo& main, Application& app, JVLink* jv, const GraphWindows& graphs);

// Creates the three graph windows beside the main window and connects
// "R指数グラフ(&R)", the race figure labels, "予測R指数グラフの印刷(&R)",
// "出走表のエクスポート(&E)..." and "出走表の印刷(&P)...".
GraphWindows AttachGraphWindows(frmSyusohyo& main, Application& app);

}  // namespace veltrix::gui
