// Saving the bet list (cache5) and its CSV export.
#include <filesystem>

#include "app/betting_commands.h"
#include "base/encoding.h"
#include "betting/kaime_csv.h"
#include "betting_fixture.h"

namespace veltrix::test {
namespace {

namespace fs = std::filesystem;

class KaimeFilesTest : public BettingTest {
protected:
    void SetUp() override {
        build(8, MakeRaceOdds(8));
        open();
    }
    fs::path cache5() { return *RaceFilePath(app.folders, '5', kRaceId); }
    fs::path csv() { return dir.path() / "export" / (kRaceId + ".csv"); }
    std::string bytes(const fs::path& p) { return ReadFileBytes(p).value_or("<missing>"); }
};

TEST_F(KaimeFilesTest, ExportWritesElevenFieldsPerBetInCp932WithCrLf) {
    fs::create_directories(csv().parent_path());
    AddKaime(app, "1", "05");
    AddKaime(app, "4", "0307");
    AddKaime(app, "8", "060103");
    EditKingaku(app, RowNo(1), "500");
    EditKingaku(app, RowNo(2), "\\1,200");
    FakeUserInterface ui;
    ui.saveNames.push_back(csv().string());
    ASSERT_FALSE(PutKaimeCsv(app, ui));
    EXPECT_EQ(bytes(csv()), kRaceId + ",,0,5,0,0,500,,,,\r\n" + kRaceId + ",,3,3,7,0,1200,,,,\r\n" + kRaceId +
                                ",,7,6,1,3,0,,,,\r\n");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "買い目リストを出力しました。");
    EXPECT_EQ(ui.messages[0].icon, Icon::Information);
    // KaimeData holds the stakes as digits, as the bet-list file does.
    EXPECT_EQ(app.raceTables.KaimeData[2], (KaimeRow{"4", "0307", "1200"}));
    ASSERT_FALSE(SaveKaimeList(app));
    EXPECT_EQ(Cp932ToUtf8(bytes(cache5())).value_or(""),
              "\"1\",\"05\",\"500\"\r\n\"4\",\"0307\",\"1200\"\r\n\"8\",\"060103\",\"0\"\r\n");
}

// "保存" tells the user either way; a failure leaves the file of the last save.
TEST_F(KaimeFilesTest, SaveSaysWhetherTheListWasSaved) {
    AddKaime(app, "1", "05");
    FakeUserInterface ui;
    ASSERT_FALSE(SaveKaimeListCommand(app, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "買い目リストを保存しました。");
    const std::string saved = bytes(cache5());
    // The file's place is taken by a folder: the save cannot replace it.
    fs::remove(cache5());
    fs::create_directories(cache5() / "in the way");
    AddKaime(app, "2", "05");
    EXPECT_TRUE(SaveKaimeListCommand(app, ui));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "買い目リストを保存できませんでした。");
    EXPECT_EQ(ui.messages[1].icon, Icon::Warning);
    EXPECT_FALSE(saved.empty());
}

TEST_F(KaimeFilesTest, TypeNumbersOfEveryBetType) {
    const std::pair<const char*, const char*> rows[] = {{"1", "05"},    {"2", "05"},   {"4", "0307"},
                                                        {"5", "0307"},  {"6", "0703"}, {"7", "010306"},
                                                        {"8", "060103"}};
    const char* lines[] = {"R,,0,5,0,0,100,,,,", "R,,1,5,0,0,100,,,,", "R,,3,3,7,0,100,,,,",
                           "R,,4,3,7,0,100,,,,", "R,,5,7,3,0,100,,,,", "R,,6,1,3,6,100,,,,",
                           "R,,7,6,1,3,100,,,,"};
    for (size_t i = 0; i < 7; ++i)
        EXPECT_EQ(KaimeCsvLine("R", {rows[i].first, rows[i].second, "100"}).value_or(""), lines[i]);
    EXPECT_FALSE(KaimeCsvLine("R", {"3", "0307", "100"}));
    EXPECT_FALSE(KaimeCsvLine("R", {"4", "03", "100"}));
}

TEST_F(KaimeFilesTest, AFailedExportSaysSoAndLeavesTheOldFileAsItWas) {
    fs::create_directories(csv().parent_path());
    ASSERT_TRUE(WriteFileBytes(csv(), "old\r\n"));
    // A row whose type code is none of the seven ends the export.
    Array1<KaimeRow> rows(kKaimeRows);
    rows[1] = {"1", "05", "100"};
    rows[2] = {"3", "0307", "100"};
    EXPECT_TRUE(WriteKaimeCsv(csv(), kRaceId, rows));
    EXPECT_EQ(bytes(csv()), "old\r\n");
    // A write that fails at the very end (the rename).
    rows[2] = {"4", "0307", "100"};
    EXPECT_TRUE(WriteKaimeCsv(csv(), kRaceId, rows, [](const fs::path&) { return false; }));
    EXPECT_EQ(bytes(csv()), "old\r\n");
    EXPECT_FALSE(fs::exists(csv().string() + ".tmp"));

    // Through the command: a folder that is not there.
    AddKaime(app, "1", "05");
    FakeUserInterface ui;
    ui.saveNames.push_back((dir.path() / "missing" / "x.csv").string());
    EXPECT_TRUE(PutKaimeCsv(app, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "買い目リストの出力を中止しました。");
    EXPECT_EQ(ui.messages[0].icon, Icon::Warning);
}

TEST_F(KaimeFilesTest, NothingToExportOrACancelledDialogSaysNothing) {
    FakeUserInterface ui;
    EXPECT_TRUE(PutKaimeCsv(app, ui));  // no rows: no dialog
    AddKaime(app, "1", "05");
    EXPECT_TRUE(PutKaimeCsv(app, ui));  // the dialog is cancelled
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(fs::exists(csv()));
}

TEST_F(KaimeFilesTest, SavingAnEmptyListDeletesTheFile) {
    AddKaime(app, "1", "05");
    ASSERT_FALSE(SaveKaimeList(app));
    ASSERT_TRUE(fs::exists(cache5()));
    RemoveKaime(app, "1", "05");
    ASSERT_FALSE(SaveKaimeList(app));
    EXPECT_FALSE(fs::exists(cache5()));
    open();
    EXPECT_EQ(app.betting.kaimeList.fpsKaimeList.rowCount(), 0);
}

}  // namespace
}  // namespace veltrix::test
