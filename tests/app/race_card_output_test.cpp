// The race card outside the program: the export lines and file (CP932, CR LF,
// replaced atomically), the menu command's dialog and messages, the print
// header line and the pages of the printed race card.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/export_command.h"
#include "base/encoding.h"
#include "base/format.h"
#include "racecard/columns.h"
#include "support/fake_host.h"

namespace veltrix {
namespace {

using test::FakePump;
using test::FakeUserInterface;
using test::TempDir;

const std::string kRaceId = "2009011706010211";
const std::string kLabel = "2009/01/17 中山 11R 15:25 芝2000 京成杯" + std::string(80, ' ') + kRaceId;

// A race card of n runners with every sheet 1 cell filled as "r-c" (padded),
// the jockey figures of row 2 empty.
void fill(RaceCard& card, int n) {
    card.lblRace = kLabel;
    Sheet& s = card.sheet(kSheetSyuso);
    s.setRowCount(n);
    for (int r = 1; r <= n; ++r)
        for (int c = 1; c <= sheet1::kColumns; ++c)
            s.setText(RowNo(r), ColNo(c), " " + std::to_string(r) + "-" + std::to_string(c) + " ");
    for (int c = 24; c <= 26; ++c) s.setText(RowNo(2), ColNo(c), "");
    s.setText(RowNo(3), card::kName, "ウオッカ");
}

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> out(1);
    for (char ch : line) {
        if (ch == ',')
            out.emplace_back();
        else
            out.back() += ch;
    }
    return out;
}

TEST(RaceCardExport, SixteenRowsGiveSixteenLinesOfTwentyFourFields) {
    Application app;
    fill(app.raceCard, 16);
    const std::string text = RaceCardExportText(app.raceCard.sheet(kSheetSyuso));
    auto lines = SplitLines(text);
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    for (std::string_view line : lines) {
        EXPECT_EQ(fieldsOf(std::string(line)).size(), 24u) << line;
        EXPECT_NE(line.back(), ',');
    }
    EXPECT_EQ(lines[0],
              "1-2,1-4,1-5,1-6,1-7,1-8,1-9,1-13,1-14,1-17,1-18,1-20,1-21,1-23,1-24,1-25,1-26,1-28,1-29,1-30,"
              "1-31,1-32,1-33,1-34");
    // Empty jockey figures are empty fields between the commas.
    const auto second = fieldsOf(std::string(lines[1]));
    EXPECT_EQ(second[13], "2-23");
    EXPECT_EQ(second[14], "");
    EXPECT_EQ(second[15], "");
    EXPECT_EQ(second[16], "");
    EXPECT_EQ(second[17], "2-28");
}

TEST(RaceCardExport, WritesCp932AndReplacesTheFile) {
    Application app;
    fill(app.raceCard, 3);
    TempDir dir;
    const auto file = dir.path() / "out.csv";
    { std::ofstream(file) << "an older and much longer file that must disappear completely\n"; }
    FakePump pump;
    ASSERT_EQ(ExportRaceCard(app.raceCard, kRaceId, file, pump), 0);
    EXPECT_EQ(pump.turns, 1);
    auto bytes = ReadFileBytes(file);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(Cp932ToUtf8(*bytes), RaceCardExportText(app.raceCard.sheet(kSheetSyuso)));
    EXPECT_NE(bytes->find(*Utf8ToCp932("ウオッカ")), std::string::npos);
    // Only the file itself is left in the folder (no temporary file).
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(RaceCardExport, AFailedExportLeavesTheUsersFileAlone) {
    Application app;
    fill(app.raceCard, 2);
    TempDir dir;
    const auto file = dir.path() / "keep.csv";
    WriteFileBytes(file, "kept\n");
    // A name CP932 cannot hold fails before anything is written.
    app.raceCard.sheet(kSheetSyuso).setText(RowNo(1), card::kName, "馬한");
    FakePump pump;
    EXPECT_EQ(ExportRaceCard(app.raceCard, kRaceId, file, pump), -1);
    EXPECT_EQ(*ReadFileBytes(file), "kept\n");
    // A folder that does not exist.
    EXPECT_EQ(ExportRaceCard(app.raceCard, kRaceId, dir.path() / "no" / "x.csv", pump), -1);
    // No race id, or no rows.
    EXPECT_EQ(ExportRaceCard(app.raceCard, "", file, pump), -1);
    app.raceCard.sheet(kSheetSyuso).setRowCount(0);
    EXPECT_EQ(ExportRaceCard(app.raceCard, kRaceId, file, pump), -1);
    EXPECT_EQ(*ReadFileBytes(file), "kept\n");
}

TEST(RaceCardExport, MenuCommandAsksAndTells) {
    Application app;
    fill(app.raceCard, 2);
    TempDir dir;
    FakeUserInterface ui;
    FakePump pump;
    // Cancelled dialog: nothing written, nothing said.
    EXPECT_FALSE(ExportRaceCardCommand(app, ui, pump));
    EXPECT_TRUE(ui.messages.empty());
    ui.saveNames.push_back((dir.path() / "a.csv").string());
    EXPECT_TRUE(ExportRaceCardCommand(app, ui, pump));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "出走表を出力しました。");
    EXPECT_EQ(ui.messages[0].icon, Icon::Information);
    ui.saveNames.push_back((dir.path() / "missing" / "a.csv").string());
    EXPECT_TRUE(ExportRaceCardCommand(app, ui, pump));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "出走表の出力を中止しました。");
    EXPECT_EQ(ui.messages[1].icon, Icon::Warning);
    // No race shown: no dialog at all.
    app.raceCard.lblRace.clear();
    ui.saveNames.push_back((dir.path() / "b.csv").string());
    EXPECT_FALSE(ExportRaceCardCommand(app, ui, pump));
    EXPECT_EQ(ui.saveNames.size(), 1u);
}

TEST(RaceCardPrint, HeaderLinePadsTheLabelToNinetyCharacters) {
    const std::array<std::string, 4> figures = {"51.2", "+1.5", "-0.5", "-2.0"};
    const std::string label40 = "2009/01/17 中山 11R 15:25 芝2000 京成杯ステークスG3";
    ASSERT_EQ(CharacterCount(label40), 40u);
    const std::string line = PrintHeaderLine(label40 + std::string(80, ' ') + kRaceId, figures);
    EXPECT_EQ(line, label40 + std::string(50, ' ') +
                        "RACE LEVEL：[ 51.2 ]  P前：[ +1.5 ]  P後：[ -0.5 ]  P傾：[ -2.0 ]             Printed by VELTRIX");
    // 90 characters and more: no padding.
    const std::string label95(95, 'A');
    EXPECT_EQ(PrintHeaderLine(label95 + "   " + kRaceId, figures).substr(0, 96), label95 + "R");
    const std::string label90(90, 'B');
    EXPECT_EQ(PrintHeaderLine(label90 + kRaceId, figures).substr(0, 91), label90 + "R");
}

TEST(RaceCardPrint, PagesFitTheWidthAndRepeatTheHeader) {
    // 34 columns of 100 on a page 1700 wide: scaled by one half.
    const std::vector<double> widths(34, 100.0);
    const PrintPages p = LayoutPrintPages(widths, 18, 20, 40, 1700, 1000);
    EXPECT_DOUBLE_EQ(p.scale, 0.5);
    // (1000 - 40 - 10) / 10 = 95 rows fit: one page.
    EXPECT_EQ(p.rowsPerPage, 95);
    ASSERT_EQ(p.rows.size(), 1u);
    EXPECT_EQ(p.rows[0], std::make_pair(1, 18));
    // A narrow card is not enlarged; a low page splits the rows.
    const PrintPages q = LayoutPrintPages(std::vector<double>(5, 10.0), 18, 20, 40, 1700, 200);
    EXPECT_DOUBLE_EQ(q.scale, 1.0);
    EXPECT_EQ(q.rowsPerPage, 7);
    ASSERT_EQ(q.rows.size(), 3u);
    EXPECT_EQ(q.rows[2], std::make_pair(15, 18));
}

TEST(RaceCardPrint, PrintedColumnsSkipTheHiddenOnes) {
    RaceCard card;
    Sheet& s = card.sheet(kSheetSyuso);
    const auto all = PrintColumns(s);
    for (ColNo c : all) EXPECT_LE(c.value, sheet1::kColumns);
    s.setColumnHidden(sheet1::kSeirei, false);
    s.setColumnHidden(sheet1::kFutan, true);
    const auto some = PrintColumns(s);
    EXPECT_EQ(std::count(some.begin(), some.end(), sheet1::kFutan), 0);
    EXPECT_EQ(std::count(some.begin(), some.end(), sheet1::kSeirei), 1);
}

}  // namespace
}  // namespace veltrix
