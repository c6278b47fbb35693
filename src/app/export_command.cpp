#include "app/export_command.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "app/race_commands.h"
#include "base/encoding.h"
#include "base/format.h"
#include "base/trim.h"
#include "racecard/columns.h"
#include "racecard/race_card.h"

namespace veltrix {

std::string RaceCardExportLine(const Sheet& s, RowNo row) {
    std::string line;
    for (size_t i = 0; i < kExportColumns.size(); ++i) {
        if (i > 0) line += ',';
        if (s.hasColumn(kExportColumns[i])) line += TrimSpaces(s.text(row, kExportColumns[i]));
    }
    return line;
}

std::string RaceCardExportText(const Sheet& s) {
    std::string text;
    for (int r = 1; r <= s.rowCount(); ++r) text += RaceCardExportLine(s, RowNo(r)) + "\r\n";
    return text;
}

int ExportRaceCard(const RaceCard& card, const std::string& raceId, const std::filesystem::path& file,
                   Pump& pump) {
    try {
        const Sheet& s = card.sheet(kSheetSyuso);
        if (raceId.empty() || file.empty() || s.rowCount() == 0) return -1;
        pump.processEvents();
        auto bytes = Utf8ToCp932(RaceCardExportText(s));
        if (!bytes) return -1;
        return WriteFileAtomically(file, *bytes) ? 0 : -1;
    } catch (const std::exception&) {
        return -1;
    }
}

bool ExportRaceCardCommand(Application& app, UserInterface& ui, Pump& pump) {
    CommandScope command(app.changes);
    pump.clearCancel();
    const std::string raceId = RaceIdOfLabel(app.raceCard.lblRace);
    if (raceId.empty() || app.raceCard.sheet(kSheetSyuso).rowCount() == 0) return false;
    const std::string file =
        ui.askSaveFileName("CSVファイルへ出力", "csvﾌｧｲﾙ (*.csv)|*.csv", raceId + ".csv");
    if (file.empty()) return false;
    if (ExportRaceCard(app.raceCard, raceId, std::filesystem::u8path(file), pump) == 0)
        ui.showMessage(kExportDone, Icon::Information);
    else
        ui.showMessage(kExportFailed, Icon::Warning);
    return true;
}

std::string PrintHeaderLine(const std::string& lblRace, const std::array<std::string, 4>& relate) {
    // The race id is the label's last 16 characters.
    const size_t n = CharacterCount(lblRace);
    std::string label = TrimSpaces(Characters(lblRace, 1, n > 16 ? n - 16 : 0));
    const size_t width = CharacterCount(label);
    if (width < 90) label.append(90 - width, ' ');
    return label + "RACE LEVEL：[ " + relate[0] + " ]  " + "P前：[ " + relate[1] + " ]  " + "P後：[ " +
           relate[2] + " ]  " + "P傾：[ " + relate[3] + " ]  " + "           Printed by VELTRIX";
}

std::vector<ColNo> PrintColumns(const Sheet& s) {
    std::vector<ColNo> columns;
    for (int c = 1; c <= std::min(sheet1::kColumns, s.colCount()); ++c)
        if (!s.isColumnHidden(ColNo(c))) columns.push_back(ColNo(c));
    return columns;
}

PrintPages LayoutPrintPages(const std::vector<double>& columnWidths, int rowCount, double rowHeight,
                            double headerHeight, double pageWidth, double pageHeight) {
    PrintPages pages;
    double total = 0;
    for (double w : columnWidths) total += std::max(0.0, w);
    if (total > 0 && pageWidth > 0) pages.scale = std::min(1.0, pageWidth / total);
    // The header line and the column headers (one row high) repeat on every page.
    const double body = pageHeight - headerHeight - rowHeight * pages.scale;
    const double row = rowHeight * pages.scale;
    pages.rowsPerPage = row > 0 ? std::max(1, static_cast<int>(std::floor(body / row))) : 1;
    for (int first = 1; first <= rowCount; first += pages.rowsPerPage)
        pages.rows.emplace_back(first, std::min(rowCount, first + pages.rowsPerPage - 1));
    if (pages.rows.empty())
        pages.rows.emplace_back(1, 0);  // a race card without rows still prints its header
    return pages;
}

std::string PreparePrintRaceCard(Application& app) {
    if (app.raceCard.lblRace.empty()) return {};
    HideSecondaryWindows(app);
    return PrintHeaderLine(app.raceCard.lblRace, app.raceCard.lblRelateValue);
}

PrintCell PrintCellOf(const Sheet& s, RowNo row, ColNo col) {
    const Cell& c = s.cell(row, col);
    PrintCell p;
    p.text = ScreenText(c.text);
    p.fore = c.fore.value_or(kCardFore);
    p.back = c.back.value_or(kCardBack);
    if (col == card::kName) {
        p.fore = kCardFore;
        p.back = kCardBack;
    }
    p.strikeOut = c.strikeOut;
    p.topBorder = c.topBorder;
    p.borderColor = c.borderColor.value_or(p.fore);
    p.align = s.alignment(row, col);
    if (p.align == CellAlign::Auto) p.align = c.number ? CellAlign::Right : CellAlign::Left;
    return p;
}

std::string PrintHeaderText(const Sheet& s, ColNo col) { return ScreenText(s.header(col)); }

}  // namespace veltrix
