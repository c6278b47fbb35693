#pragma once
// The betting commands: the odds sheet's clicks and pop-up, "ODDS FILTER",
// marks, the bet list's editing, distributions, saving and CSV export.
#include <string>

#include "app/application.h"
#include "base/host.h"

namespace veltrix {

// A left click on a data cell of the odds sheet (axis, trio or trifecta second
// horse). True when the odds view changed.
bool ClickOddsCell(Application& app, RowNo row, ColNo col);
// The main window's "ODDS FILTER" check box.
void SetOddsFilter(Application& app, bool on);
// Caption of the odds pop-up's item for a right-click on the odds sheet; empty
// when the item is disabled.
std::string OddsMenuCaption(const Application& app, RowNo row, ColNo col);
// Caption of the bet list's pop-up for a right-click on its row; empty for the total row.
std::string KaimeListMenuCaption(const Application& app, RowNo row);
// A bet added as the odds pop-up adds it (its odds from the odds tables, the
// stake 0) or removed as either pop-up removes it, with the odds view redrawn.
// True when the add found no positive odds (the bet is marked as listed all the same).
bool AddKaime(Application& app, const std::string& shikibetsuCode, const std::string& kumiban);
void RemoveKaime(Application& app, const std::string& shikibetsuCode, const std::string& kumiban);
// Choosing the item of either pop-up: adds or removes the bet its caption names.
// True when the caption named nothing to do.
bool ToggleKaime(Application& app, const std::string& caption);

// The mark menu's item index (0-14) chosen for a race card row: the row's mark
// on all three sheets, MarkList, the marks file and the bet list's marks. True
// when the row or the index is not there.
bool MarkRunner(Application& app, RowNo row, int index);

// Text typed into the stake column of the bet list (a bet row: recomputed; the
// total row: the budget). True when the row is not in the list.
bool EditKingaku(Application& app, RowNo row, const std::string& text);
// "金額均等分配" and "払戻均等分配": true, the list unchanged, when there is no
// bet or the budget is not an amount.
bool BunpaiKin(Application& app);
bool BunpaiHarai(Application& app);
// A header click on the bet list. True when it sorted.
bool SortKaime(Application& app, ColNo header);

// "保存": the grid into KaimeData and the race's bet-list file (an empty list
// deletes it). True on failure.
bool SaveKaimeList(Application& app);
// The bet list window's "保存": SaveKaimeList, then one line for the user,
// saved or not. True on failure.
bool SaveKaimeListCommand(Application& app, UserInterface& ui);
// "CSV出力": asks for the file and writes the list; shows the outcome. True
// when nothing was written (no race, no rows, the dialog cancelled, a failure).
bool PutKaimeCsv(Application& app, UserInterface& ui);

// After new odds were copied onto the race card's tables: the bet list's odds
// and the whole odds view of sheet 3 for the current axis.
void RedrawOddsView(Application& app);

// The heat map menu: draws the map of the race on show. True when no race is shown.
bool ShowHeatMap(Application& app);
// An option (0-3) or pivot entry (0-17) of the heat map chosen.
void SelectHeatMap(Application& app, int option, int pivotEntry);

}  // namespace veltrix
