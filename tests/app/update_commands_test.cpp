// The real-time updates over the application: one race, the race on show, and
// the batches of the import window.
#include "app/update_commands.h"

#include <gtest/gtest.h>

#include "app/race_commands.h"
#include "jvlink/realtime_records.h"
#include "jvlink/standin/standin_jvlink.h"
#include "racecard/race_card.h"
#include "racecard/race_fixture.h"
#include "store/race_files.h"
#include "support/fake_host.h"

namespace veltrix::test {
namespace {

const std::string kRaceA = "2026121206050301";
const std::string kRaceB = "2026121206050302";
const std::string kRaceC = "2026121206050303";

class UpdateTest : public ::testing::Test {
protected:
    UpdateTest() {
        app.folders = Folders::under(dir.path());
        std::filesystem::create_directories(app.folders.cache);
        StoreBuilder b(app.store);
        int uma = 0;
        for (const std::string& id : {kRaceA, kRaceB, kRaceC}) {
            std::vector<RunnerSpec> runners;
            for (const char* umaban : {"01", "02", "03"}) {
                RunnerSpec r;
                r.umaCode = Uma(++uma);
                r.umaban = umaban;
                runners.push_back(r);
            }
            b.addRace(id, KonsyuLabel("中山", "ダ1200"), runners);
            WriteRealTimeRecords(jvlink(), "0B30", id, SixOddsRecords(id));
            WriteRealTimeRecords(jvlink(), "0B13", id, {MiningRecord(id)});
            WriteRealTimeRecords(jvlink(), "0B12", id, KekkaRecords(id));
        }
        PutRaceList(model.fpsControl, app.store, "");
        subscription = app.changes.subscribe([this](Change c) {
            if (c == Change::OddsApplied) ++applied;
        });
    }

    std::filesystem::path jvlink() const { return dir.path() / "jvlink"; }
    ImportTools tools() { return {jv, ui, pump, clock}; }
    bool fileExists(char kind, const std::string& raceId) const {
        return std::filesystem::exists(*RaceFilePath(app.folders, kind, raceId));
    }
    void show(const std::string& raceId) {
        const int row = model.fpsControl.findRow(kColRaceId, raceId).value;
        ASSERT_FALSE(OpenRace(app, raceId, model.fpsControl.text(RowNo(row), kColLabel), pump));
    }
    const Sheet& oddsSheet() const { return app.raceCard.sheet(kSheetOdds); }
    std::string cell(int row, ColNo col) const { return oddsSheet().text(RowNo(row), col); }
    std::vector<std::string> sheetTexts() const {
        std::vector<std::string> texts;
        for (const Sheet& s : app.raceCard.sheets)
            for (int r = 1; r <= s.rowCount(); ++r)
                for (int c = 1; c <= s.colCount(); ++c) texts.push_back(s.text(RowNo(r), ColNo(c)));
        return texts;
    }

    TempDir dir;
    Application app;
    DataImportModel model;
    StandinJVLink jv{dir.path() / "jvlink", WithoutInit()};
    FakeUserInterface ui;
    FakePump pump;
    FakeClock clock;
    int applied = 0;
    Subscription subscription;
};

TEST_F(UpdateTest, ARaceNotOnTheCardGetsItsFileAndTheCardStaysAsItWas) {
    show(kRaceA);
    const auto before = sheetTexts();
    EXPECT_EQ(UpdateOdds(app, model, kRaceB, tools()), 1);
    EXPECT_EQ(UpdateMining(app, model, kRaceB, tools()), 1);
    EXPECT_EQ(UpdateKekka(app, model, kRaceB, tools()), 1);
    EXPECT_EQ(ui.statuses,
              (std::vector<std::string>{
                  "速報オッズ情報をインポート中...", "速報オッズを更新しました。",
                  "データマイニング情報をインポート中...", "データマイニング情報を更新しました。",
                  "レース結果情報をインポート中...", "レース結果情報を更新しました。"}));
    EXPECT_TRUE(fileExists('4', kRaceB));
    EXPECT_TRUE(fileExists('7', kRaceB));
    EXPECT_TRUE(fileExists('8', kRaceB));
    EXPECT_EQ(sheetTexts(), before);
    EXPECT_EQ(app.raceTables.odds.OddsCount, 0);
    EXPECT_EQ(applied, 0);
    EXPECT_TRUE(ui.messages.empty());

    // The written file is what the race shows when it is opened.
    OddsTables read;
    ASSERT_EQ(ReadOddsCache(app.folders, kRaceB, read), 0);
    EXPECT_EQ(read.OddsCount, 6);
    EXPECT_NEAR(read.OddsHensachi(1), 58.888948902382324, 1e-9);
}

TEST_F(UpdateTest, TheRaceOnShowGetsItsDataOnSheetThree) {
    show(kRaceA);
    EXPECT_TRUE(oddsSheet().isColumnHidden(sheet3::kKekka));
    const RaceUpdateResults r = UpdateRace(app, model, kRaceA, tools());
    EXPECT_TRUE(r.allUpdated());
    EXPECT_EQ(applied, 3);
    EXPECT_EQ(ui.statuses.back(), "レース結果情報を更新しました。");

    EXPECT_EQ(app.raceTables.odds.OddsCount, 6);
    EXPECT_EQ(app.raceTables.mining.MiningKubun, "3");
    EXPECT_EQ(app.raceTables.kekka.KekkaKubun, "7");
    // Row r is horse r: popularity, forecast and result with their ranks.
    EXPECT_EQ(cell(1, sheet3::kNinkiJyuni), "1");
    EXPECT_EQ(cell(3, sheet3::kNinkiJyuni), "3");
    EXPECT_EQ(cell(1, sheet3::kMiningJyuni), "1");
    EXPECT_FALSE(cell(2, sheet3::kMiningSa).empty());
    EXPECT_EQ(cell(1, sheet3::kTansyo), "2.0");
    EXPECT_EQ(cell(3, sheet3::kTansyo), "10.0");
    EXPECT_FALSE(oddsSheet().isColumnHidden(sheet3::kKekka));
    EXPECT_TRUE(app.raceCard.kekkaLoaded);
    EXPECT_EQ(cell(2, sheet3::kKekkaNyusen), "1");
    EXPECT_FALSE(cell(1, sheet3::kKekkaAgari).empty());
    // Popularity and forecast scores against the arrival order; the own
    // prediction's needs a calculation.
    EXPECT_FALSE(app.raceCard.lblScoreValue[0].empty());
    EXPECT_FALSE(app.raceCard.lblScoreValue[1].empty());
    EXPECT_TRUE(app.raceCard.lblScoreValue[2].empty());
    EXPECT_TRUE(app.raceTables.odds.UmarenKairi(1, 2) > 0);

    // Opening the race again shows the same cells from the written files.
    const auto shown = sheetTexts();
    show(kRaceA);
    EXPECT_EQ(sheetTexts(), shown);
}

TEST_F(UpdateTest, NothingUsableAndFailedSessionsWriteNothingAndLeaveTheCard) {
    show(kRaceA);
    ASSERT_EQ(UpdateOdds(app, model, kRaceA, tools()), 1);
    const auto before = sheetTexts();
    ui.statuses.clear();

    // A forecast of another race only, and a result of a category without data.
    WriteRealTimeRecords(jvlink(), "0B13", kRaceA, {MiningRecord(kRaceB)});
    WriteRealTimeRecords(jvlink(), "0B12", kRaceA, KekkaRecords(kRaceA, "2"));
    EXPECT_EQ(UpdateMining(app, model, kRaceA, tools()), -1);
    EXPECT_EQ(UpdateKekka(app, model, kRaceA, tools()), -1);
    // A session that fails half-way.
    jv.options().faults.readFailureCode = -502;
    jv.options().faults.readFailureAt = 3;
    EXPECT_EQ(UpdateOdds(app, model, kRaceA, tools()), -1);
    EXPECT_EQ(ui.statuses,
              (std::vector<std::string>{
                  "データマイニング情報をインポート中...", "取得可能なデータマイニング情報はありません。",
                  "レース結果情報をインポート中...", "取得可能なレース結果情報はありません。",
                  "速報オッズ情報をインポート中...", "速報オッズ情報の更新を中止しました。"}));
    EXPECT_FALSE(fileExists('7', kRaceA));
    EXPECT_FALSE(fileExists('8', kRaceA));
    EXPECT_EQ(sheetTexts(), before);
    EXPECT_EQ(app.raceTables.odds.OddsCount, 6);
    EXPECT_EQ(applied, 1);

    // A file that cannot be written is an abort too.
    jv.options().faults.readFailureCode = 0;
    std::filesystem::create_directories(*RaceFilePath(app.folders, '4', kRaceB) / "x");
    EXPECT_EQ(UpdateOdds(app, model, kRaceB, tools()), -1);
    EXPECT_EQ(ui.statuses.back(), "速報オッズ情報の更新を中止しました。");
}

TEST_F(UpdateTest, BatchesAskAndNeedThisWeeksRaces) {
    ui.answers = {false};
    EXPECT_EQ(UpdateAllOdds(app, model, tools()), BatchOutcome::Declined);
    EXPECT_EQ(ui.questions.at(0).text, "速報オッズ情報を一括インポートしますか？");
    EXPECT_EQ(ui.questions.at(0).icon, Icon::Question);
    EXPECT_FALSE(ui.questions.at(0).defaultNo);
    EXPECT_EQ(jv.calls().rtOpen, 0);

    app.store.DataMode = "TOKUBETSU";
    EXPECT_EQ(UpdateAllMining(app, model, tools()), BatchOutcome::NotAvailable);
    EXPECT_EQ(ui.questions.size(), 1u);
}

TEST_F(UpdateTest, OddsBatchGoesOnPastARaceWithoutDataAndKeepsItsCard) {
    show(kRaceB);
    ASSERT_EQ(UpdateOdds(app, model, kRaceB, tools()), 1);
    const auto before = sheetTexts();
    std::filesystem::remove(jvlink() / "realtime" / "0B30" / (kRaceB + ".txt"));
    pump.requestCancel();  // lowered when the batch starts

    EXPECT_EQ(UpdateAllOdds(app, model, tools()), BatchOutcome::Done);
    EXPECT_TRUE(fileExists('4', kRaceA));
    EXPECT_TRUE(fileExists('4', kRaceC));
    // The race on show had no data this time: its card keeps the odds it had.
    EXPECT_EQ(sheetTexts(), before);
    EXPECT_EQ(app.raceTables.odds.OddsCount, 6);
    EXPECT_EQ(ui.progressMax, 3);
    EXPECT_EQ(ui.progress, 3);
    EXPECT_EQ(ui.statuses.front(), "速報オッズ情報をインポート中...");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "速報オッズを更新しました。");
}

// Damaged records (a byte too many, or cut short) are passed over: the rest of
// the race's data is used and the final line says how many were passed over, for
// one race and for a batch over all of its races.
TEST_F(UpdateTest, PassedOverRecordsAreCountedOnTheFinalLine) {
    auto odds = SixOddsRecords(kRaceA);
    odds[1].insert(60, "\n");  // O2 one byte too long
    odds[3].erase(100, 1);     // O4 one byte short
    WriteRealTimeRecords(jvlink(), "0B30", kRaceA, odds);
    auto kekka = KekkaRecords(kRaceB);
    kekka[2].insert(45, "\r");  // runner 2's name holds a carriage return
    WriteRealTimeRecords(jvlink(), "0B12", kRaceB, kekka);

    EXPECT_EQ(UpdateOdds(app, model, kRaceA, tools()), 1);
    EXPECT_EQ(ui.statuses.back(), "速報オッズを更新しました。 ( 不正なレコード 2 件を読み飛ばしました )");
    OddsTables read;
    ASSERT_EQ(ReadOddsCache(app.folders, kRaceA, read), 0);
    EXPECT_EQ(read.OddsCount, 4);
    EXPECT_EQ(UpdateOdds(app, model, kRaceC, tools()), 1);
    EXPECT_EQ(ui.statuses.back(), "速報オッズを更新しました。");

    EXPECT_EQ(UpdateKekka(app, model, kRaceB, tools()), 1);
    EXPECT_EQ(ui.statuses.back(), "レース結果情報を更新しました。 ( 不正なレコード 1 件を読み飛ばしました )");

    ui = FakeUserInterface();
    EXPECT_EQ(UpdateAllOdds(app, model, tools()), BatchOutcome::Done);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "速報オッズを更新しました。 ( 不正なレコード 2 件を読み飛ばしました )");
}

TEST_F(UpdateTest, MiningBatchStopsAtAFailedImport) {
    std::filesystem::remove(jvlink() / "realtime" / "0B13" / (kRaceB + ".txt"));
    EXPECT_EQ(UpdateAllMining(app, model, tools()), BatchOutcome::Aborted);
    EXPECT_TRUE(fileExists('7', kRaceA));
    EXPECT_FALSE(fileExists('7', kRaceC));
    EXPECT_EQ(ui.progress, 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "データマイニング情報の更新を中止しました。");
    EXPECT_EQ(ui.statuses.back(), "データマイニング情報の更新を中止しました。");
}

TEST_F(UpdateTest, CancelInTheMiddleOfABatchStopsItAndAppliesNoPartOfARace) {
    show(kRaceB);
    ASSERT_EQ(UpdateOdds(app, model, kRaceB, tools()), 1);
    const auto before = sheetTexts();
    // The turns one race's odds session takes, then cancel during the second race's.
    const int start = pump.turns;
    ASSERT_EQ(UpdateOdds(app, model, kRaceC, tools()), 1);
    const int perRace = pump.turns - start;
    std::filesystem::remove(*RaceFilePath(app.folders, '4', kRaceC));
    // Cancel once two of the race's six records are read.
    pump.cancelAt = pump.turns + perRace + 3;

    EXPECT_EQ(UpdateAllOdds(app, model, tools()), BatchOutcome::Aborted);
    EXPECT_EQ(ui.progress, 1);
    EXPECT_EQ(ui.messages.back().text, "速報オッズ情報の更新を中止しました。");
    EXPECT_TRUE(fileExists('4', kRaceA));
    EXPECT_FALSE(fileExists('4', kRaceC));
    // Neither the card nor the file of the cancelled race has its two records alone.
    EXPECT_EQ(sheetTexts(), before);
    EXPECT_EQ(app.raceTables.odds.OddsCount, 6);
    OddsTables file;
    ASSERT_EQ(ReadOddsCache(app.folders, kRaceB, file), 0);
    EXPECT_EQ(file.OddsCount, 6);
    EXPECT_EQ(jv.calls().rtOpen, 4);
}

TEST_F(UpdateTest, ABatchClearsTheShownRaceWhenItsDataIsGone) {
    show(kRaceA);
    ASSERT_EQ(UpdateKekka(app, model, kRaceA, tools()), 1);
    ASSERT_FALSE(oddsSheet().isColumnHidden(sheet3::kKekka));
    // The result was withdrawn: the session completes with no runner of the race.
    WriteRealTimeRecords(jvlink(), "0B12", kRaceA, {KekkaRecords(kRaceA).front()});
    applied = 0;

    EXPECT_EQ(UpdateAllKekka(app, model, tools()), BatchOutcome::Done);
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(app.raceTables.kekka.KekkaKubun, "");
    EXPECT_TRUE(oddsSheet().isColumnHidden(sheet3::kKekka));
    EXPECT_TRUE(cell(2, sheet3::kKekkaNyusen).empty());
    EXPECT_TRUE(fileExists('8', kRaceB));
}

TEST_F(UpdateTest, AFileThatCannotBeWrittenStopsTheBatch) {
    std::filesystem::create_directories(*RaceFilePath(app.folders, '8', kRaceB) / "x");
    EXPECT_EQ(UpdateAllKekka(app, model, tools()), BatchOutcome::Aborted);
    EXPECT_TRUE(fileExists('8', kRaceA));
    EXPECT_FALSE(fileExists('8', kRaceC));
    EXPECT_EQ(ui.messages.back().text, "レース結果情報の更新を中止しました。");
}

}  // namespace
}  // namespace veltrix::test
