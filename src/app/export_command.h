#pragma once
// The race card outside the program: the comma-separated export of sheet 1
// and what the printed race card needs of the core (its header line and pages).
#include <array>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/application.h"
#include "base/host.h"

namespace veltrix {

// The sheet 1 columns an export line holds, in order: No., 印, 馬名, 性齢, 負担,
// 成績, RL, T前, T後, R前, R後, MD, 総合, 騎手 and its three figures, 調教師 and
// its three figures, and the three jockey-trainer figures.
inline constexpr std::array<ColNo, 24> kExportColumns = {
    ColNo(2),  ColNo(4),  ColNo(5),  ColNo(6),  ColNo(7),  ColNo(8),  ColNo(9),  ColNo(13),
    ColNo(14), ColNo(17), ColNo(18), ColNo(20), ColNo(21), ColNo(23), ColNo(24), ColNo(25),
    ColNo(26), ColNo(28), ColNo(29), ColNo(30), ColNo(31), ColNo(32), ColNo(33), ColNo(34)};

// One row as the grid shows it: the 24 cells trimmed, joined by "," without quoting.
std::string RaceCardExportLine(const Sheet& syuso, RowNo row);
// Every row in the order shown, each line ended by CR LF (UTF-8).
std::string RaceCardExportText(const Sheet& syuso);

// Writes the export of sheet 1 to file as CP932, replacing it through a
// temporary file so a failure never leaves half a file. 0 on success, -1 on
// failure (no race id, nothing to write, a character CP932 lacks, a write error).
int ExportRaceCard(const RaceCard& card, const std::string& raceId, const std::filesystem::path& file,
                   Pump& pump);

// mnuExport: asks for the file ("CSVファイルへ出力", proposing race id + ".csv"),
// exports and tells the user how it went. False when nothing was asked (no
// race shown, no rows) or the user cancelled.
bool ExportRaceCardCommand(Application& app, UserInterface& ui, Pump& pump);

inline constexpr const char* kExportDone = "出走表を出力しました。";
inline constexpr const char* kExportFailed = "出走表の出力を中止しました。";

// ---- printing ----

// The page header of the printed race card: the race label without its race id,
// trimmed and padded to 90 characters, the four race figures, "Printed by VELTRIX".
std::string PrintHeaderLine(const std::string& lblRace, const std::array<std::string, 4>& relate);

// The printed columns: 1 to 34 of sheet 1, less the columns the grid hides.
std::vector<ColNo> PrintColumns(const Sheet& syuso);

// How the printed race card falls onto pages, all measures in one unit (the
// printer's): the columns scaled to fit the page width (never enlarged), and
// the rows of each page below the header line and the column headers.
struct PrintPages {
    double scale = 1;
    int rowsPerPage = 1;
    std::vector<std::pair<int, int>> rows;  // first and last row of each page, 1-based
};
PrintPages LayoutPrintPages(const std::vector<double>& columnWidths, int rowCount, double rowHeight,
                            double headerHeight, double pageWidth, double pageHeight);

// mnuPrint's core part: hides the secondary windows and returns the header
// line. Empty when no race is shown (nothing is printed).
std::string PreparePrintRaceCard(Application& app);

// The race card's base, as the grid shows a cell that sets no colour of its own.
inline constexpr Rgb kCardFore = kWhite;
inline constexpr Rgb kCardBack = kBlack;

// One printed cell as the grid shows it: the screen's text (the yen sign for
// money), the cell's colours over the card's base. The chosen runner's
// inverted name is where the pane is, not part of the card: every name prints
// in the colours of the unchosen ones.
struct PrintCell {
    std::string text;
    Rgb fore;
    Rgb back;
    bool strikeOut = false;
    bool topBorder = false;
    Rgb borderColor;
    CellAlign align = CellAlign::Left;
};
PrintCell PrintCellOf(const Sheet& syuso, RowNo row, ColNo col);
// A column header as the grid shows it.
std::string PrintHeaderText(const Sheet& syuso, ColNo col);

}  // namespace veltrix
