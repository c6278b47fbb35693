// The weekly import through the core with a scripted user and a hand-made
// stand-in folder.
#include "jvlink/weekly_import.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "app/import_commands.h"
#include "jvlink/records.h"
#include "jvlink/standin/standin_jvlink.h"
#include "sample/record_writer.h"
#include "base/encoding.h"
#include "store/weekly_store.h"
#include "support/fake_host.h"
#include "support/record_jvlink.h"

namespace veltrix::test {
namespace {

using sample::Num;
using sample::PadFull;
using sample::SetRaceKey;
using sample::WriteRecord;

std::string raRecord(char category, const std::string& id, const std::string& name = "",
                     const std::string& track = "24", const std::string& distance = "1200",
                     const std::string& start = "1005") {
    RaRecord r = sample::BlankRA();
    r.dataCategory = std::string(1, category);
    SetRaceKey(r, id);
    r.raceName = PadFull(name, 60);
    r.raceTypeCode = "12";
    r.raceSymbolCode = "A03";
    r.weightRuleCode = "3";
    r.conditionCodes[4] = "703";
    r.distance = distance;
    r.trackCode = track;
    r.startTime = start;
    r.registeredCount = "16";
    r.starterCount = "15";
    r.turfGoing = "1";
    r.dirtGoing = "3";
    return WriteRecord(r);
}

std::string seRecord(char category, const std::string& id, const std::string& umaCode, int horseNumber,
                     const std::string& name = "テストホース", const std::string& abnormality = "0",
                     const std::string& jockey = "騎手") {
    SeRecord r = sample::BlankSE();
    r.dataCategory = std::string(1, category);
    SetRaceKey(r, id);
    r.frameNumber = "3";
    r.horseNumber = Num(horseNumber, 2);
    r.umaCode = umaCode;
    r.horseName = PadFull(name, 36);
    r.sexCode = "2";
    r.age = "03";
    r.trainerCode = "01001";
    r.trainerName = PadFull("調教師", 8);
    r.weightCarried = "550";
    r.jockeyCode = "05339";
    r.jockeyName = PadFull(jockey, 8);
    r.bodyWeight = "480";
    r.weightSign = "+";
    r.weightChange = "004";
    r.abnormality = abnormality;
    r.arrivalOrder = "02";
    r.finalPlacing = "02";
    r.raceTime = "1123";
    r.cornerPositions = {"01", "02", "03", "04"};
    r.winOdds = "0123";
    r.popularity = "04";
    return WriteRecord(r);
}

struct TkHorseSpec {
    std::string umaCode;
    std::string name;
};

std::string tkRecord(char category, const std::string& id, const std::string& track,
                     const std::vector<TkHorseSpec>& horses, const std::string& name = "ニューイヤーＳ") {
    TkRecord r = sample::BlankTK();
    r.dataCategory = std::string(1, category);
    SetRaceKey(r, id);
    r.raceName = PadFull(name, 60);
    r.raceTypeCode = "13";
    r.conditionCodes[4] = "999";
    r.distance = "1600";
    r.trackCode = track;
    r.registeredCount = Num(static_cast<long long>(horses.size()), 3);
    for (size_t n = 0; n < horses.size(); ++n) {
        TkHorse& h = r.horses[n];
        h.sequence = Num(static_cast<long long>(n + 1), 3);
        h.umaCode = horses[n].umaCode;
        h.horseName = PadFull(horses[n].name, 36);
        h.horseSymbol = "00";
        h.sexCode = "1";
        h.eastWest = "1";
        h.trainerCode = "01002";
        h.trainerName = PadFull("調教", 8);
        h.weightCarried = "560";
        h.exchange = "0";
    }
    return WriteRecord(r);
}

// What the windows hear of a command: lock at its start, race card reset,
// race list refilled from the store, restore at its end.
class RecordingWindow final {
public:
    explicit RecordingWindow(ChangeNotifier& changes)
        : subscription_(changes.subscribe([this](Change c) {
              if (c == Change::CommandStarted) calls.push_back("lock");
              if (c == Change::RaceCardReset) calls.push_back("reset");
              if (c == Change::StoreReplaced) calls.push_back("put");
              if (c == Change::CommandFinished) calls.push_back("restore");
          })) {}
    std::vector<std::string> calls;

private:
    Subscription subscription_;
};

constexpr const char* kStamp = "20090115120000";
const std::string kRace1 = "2009011706010101";  // 中山 1R, no name
const std::string kRace2 = "2009011706010111";  // 中山 11R
const std::string kPast1 = "2008122806050801";
const std::string kHorseA = "2006101234";
const std::string kHorseB = "2006105678";

class WeeklyImportTest : public ::testing::Test {
protected:
    WeeklyImportTest() {
        app.folders = Folders::under(dir.path());
        std::filesystem::create_directories(folders.cache);
        StandinOptions options;
        options.simulateDownload = false;
        jv = std::make_unique<StandinJVLink>(StandinFolder(dir.path()), options);
    }

    void write(const std::string& spec, const std::string& name, const std::vector<std::string>& records) {
        std::string bytes;
        for (const auto& r : records) bytes += r;
        auto folder = StandinFolder(dir.path()) / "stored" / spec;
        std::filesystem::create_directories(folder);
        ASSERT_TRUE(WriteFileBytes(folder / (std::string(kStamp) + "_" + name + ".txt"), bytes));
    }

    // A week of two races (delivered out of order), one runner each, and their past runs.
    void writeWeek() {
        write("RACE", "RA", {raRecord('2', kRace2, "若駒ステークス", "11", "2000", "1535"), raRecord('2', kRace1),
                             raRecord('1', "2009011806010201")});
        write("RACE", "SE", {seRecord('2', kRace2, kHorseA, 5, "アルファ"), seRecord('2', kRace1, kHorseB, 1, "ベータ"),
                             seRecord('1', "2009011806010201", kHorseB, 2)});
        write("RCOV", "RA", {raRecord('7', kPast1, "有馬記念", "10", "2500", "1525")});
        // Horse A's past run is delivered under both accepted categories.
        write("RCOV", "SE", {seRecord('7', kPast1, kHorseA, 7, "アルファ", "1"), seRecord('A', kPast1, kHorseA, 7),
                             seRecord('7', kPast1, kHorseB, 9)});
    }

    ImportOutcome runWeek() { return ImportThisWeek(app, state, {*jv, ui, pump, clock}); }
    ImportOutcome runToku() { return ImportTokubetsu(app, state, {*jv, ui, pump, clock}); }

    bool weeklyFilesExist() const {
        return std::filesystem::exists(folders.cache / kCache1) || std::filesystem::exists(folders.cache / kCache2) ||
               std::filesystem::exists(folders.cache / kCache3);
    }
    void expectEmptyStore() const {
        EXPECT_EQ(store.DataMode, "");
        EXPECT_EQ(store.RaceCount, 0);
        EXPECT_EQ(store.UmaCount, 0);
        EXPECT_EQ(store.HistoryCount, 0);
        EXPECT_FALSE(weeklyFilesExist());
    }

    TempDir dir;
    Application app;
    Folders& folders = app.folders;
    Store& store = app.store;
    FakeUserInterface ui;
    FakePump pump;
    FakeClock clock;
    std::unique_ptr<StandinJVLink> jv;
    WeeklyImportState state;
    RecordingWindow window{app.changes};
};

TEST_F(WeeklyImportTest, ThisWeekFillsTheStoreAndTheFiles) {
    writeWeek();
    for (const char* f : {"cache42009011706010101", "cache7x", "cache8x", "cachea20090117r", "cache52009011706010101",
                          "cache62009011706010101"})
        WriteCp932(folders.cache / f, "x");

    ASSERT_EQ(runWeek(), ImportOutcome::Imported);

    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "今週のレース情報をインポートしますか？");
    EXPECT_EQ(ui.questions[0].icon, Icon::Question);
    EXPECT_FALSE(ui.questions[0].defaultNo);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "今週のレース情報を更新しました。");
    EXPECT_EQ(window.calls, (std::vector<std::string>{"lock", "reset", "put", "restore"}));
    for (const char* s : {"レース情報をインポート中...", "出走馬履歴情報のインポート中...", "レース情報を展開中...",
                          "出走馬履歴情報を展開中...", "レース情報をキャッシュへ書き込み中..."})
        EXPECT_NE(std::find(ui.statuses.begin(), ui.statuses.end(), s), ui.statuses.end()) << s;

    // Odds, forecast, result and analysis files are gone; bet lists and marks stay.
    EXPECT_FALSE(std::filesystem::exists(folders.cache / "cache42009011706010101"));
    EXPECT_FALSE(std::filesystem::exists(folders.cache / "cache7x"));
    EXPECT_FALSE(std::filesystem::exists(folders.cache / "cache8x"));
    EXPECT_FALSE(std::filesystem::exists(folders.cache / "cachea20090117r"));
    EXPECT_TRUE(std::filesystem::exists(folders.cache / "cache52009011706010101"));
    EXPECT_TRUE(std::filesystem::exists(folders.cache / "cache62009011706010101"));

    EXPECT_EQ(store.DataMode, "KONSYU");
    ASSERT_EQ(store.RaceCount, 2);
    // In race-id order, whatever the delivery order.
    EXPECT_EQ(store.RaceIdList[1], kRace1);
    EXPECT_EQ(store.RaceIdList[2], kRace2);
    EXPECT_EQ(store.RaceLabel[1], "2009/01/17 中山 01R 10:05 ダ1200 サラ３歳 未勝利" + std::string(80, ' ') + kRace1);
    EXPECT_EQ(store.RaceLabel[2], "2009/01/17 中山 11R 15:35 芝2000 若駒ステークス" + std::string(80, ' ') + kRace2);
    EXPECT_EQ(store.RaceInfo.at(1, 2), "16");
    EXPECT_EQ(store.RaceInfo.at(1, 3), "12");
    EXPECT_EQ(store.RaceInfo.at(1, 4), "703");
    EXPECT_EQ(store.RaceInfo.at(1, 5), "24");

    ASSERT_EQ(store.UmaCount, 2);  // the category "1" runner is not kept
    EXPECT_EQ(store.UmaInfo.at(1, 1), kRace2);  // runners stay in delivery order
    EXPECT_EQ(store.UmaInfo.at(1, 2), kHorseA);
    EXPECT_EQ(store.UmaInfo.at(1, 3), "3");
    EXPECT_EQ(store.UmaInfo.at(1, 4), "05");
    EXPECT_EQ(store.UmaInfo.at(1, 5), "アルファ");
    EXPECT_EQ(store.UmaInfo.at(1, 6), "牝");
    EXPECT_EQ(store.UmaInfo.at(1, 9), "騎手");
    EXPECT_EQ(store.UmaInfo.at(1, 10), "調教師");
    EXPECT_EQ(store.UmaInfo.at(1, 11), "05339");
    EXPECT_EQ(store.UmaKey[1], kRace2 + "05");

    // Horse A's run delivered twice gives one row.
    ASSERT_EQ(store.HistoryCount, 2);
    EXPECT_EQ(store.HistoryKey[1], kHorseA + kPast1);
    EXPECT_EQ(store.HistoryKey[2], kHorseB + kPast1);
    const auto& h = store.HistoryInfo;
    EXPECT_EQ(h.at(2, 3), "2008/12/28");
    EXPECT_EQ(h.at(2, 4), "有馬記念");
    EXPECT_EQ(h.at(2, 5), "サラ３歳");
    EXPECT_EQ(h.at(2, 8), "未勝利");
    EXPECT_EQ(h.at(2, 11), "芝");
    EXPECT_EQ(h.at(2, 15), "良");  // turf going for a turf race
    EXPECT_EQ(h.at(2, 16), "15");
    EXPECT_EQ(h.at(2, 18), "09");
    EXPECT_EQ(h.at(2, 24), "+004");
    EXPECT_EQ(h.at(2, 29), "01020304");
    EXPECT_EQ(h.at(2, 43), "ON");

    Store reread;
    ASSERT_FALSE(LoadRaceCache(reread, folders));
    EXPECT_EQ(reread.RaceLabel, store.RaceLabel);
    EXPECT_EQ(reread.HistoryInfo, store.HistoryInfo);
}

// JV-Data text may hold a double quote or a line feed (valid CP932, of the
// field's length). The week is still imported, written and read back, each
// such character a space and every other cell in its own column.
TEST_F(WeeklyImportTest, QuotesAndLineFeedsInDeliveredTextKeepEveryCellInPlace) {
    const std::string kHorseC = "2006100009";
    // Records as JVRead hands them over, straight from memory.
    RecordJVLink delivery;
    delivery.records["RACE"] = {
        raRecord('2', kRace2, "若駒\"Ｓ\"", "11", "2000", "1535"), raRecord('2', kRace1),
        // A name with a line feed first, a name with a quote and a comma last.
        seRecord('2', kRace2, kHorseA, 5, "ネ\nパ"), seRecord('2', kRace2, kHorseC, 6, "ガンマ"),
        seRecord('2', kRace1, kHorseB, 1, "AB\"C,D", "0", "J\"K,L")};
    delivery.records["RCOV"] = {raRecord('7', kPast1, "有馬\"記念", "10", "2500", "1525"),
                                seRecord('7', kPast1, kHorseA, 7, "ネ\nパ", "0", "騎\n手"),
                                seRecord('7', kPast1, kHorseB, 9, "AB\"C,D", "0", "J\"K,L")};

    ASSERT_EQ(ImportThisWeek(app, state, {delivery, ui, pump, clock}), ImportOutcome::Imported);
    ASSERT_EQ(store.RaceCount, 2);
    EXPECT_EQ(store.RaceLabel[2], "2009/01/17 中山 11R 15:35 芝2000 若駒 Ｓ " + std::string(80, ' ') + kRace2);
    ASSERT_EQ(store.UmaCount, 3);
    const auto& u = store.UmaInfo;
    EXPECT_EQ(u.at(1, 5), "ネ パ");
    EXPECT_EQ(u.at(1, 9), "騎手");
    EXPECT_EQ(u.at(1, 10), "調教師");
    EXPECT_EQ(u.at(2, 5), "ガンマ");
    EXPECT_EQ(u.at(2, 6), "牝");
    EXPECT_EQ(u.at(2, 10), "調教師");
    EXPECT_EQ(u.at(3, 5), "AB C,D");
    EXPECT_EQ(u.at(3, 8), "550");
    EXPECT_EQ(u.at(3, 9), "J K,L");
    EXPECT_EQ(u.at(3, 10), "調教師");
    EXPECT_EQ(u.at(3, 12), "01001");
    EXPECT_EQ(store.UmaKey[3], kRace1 + "01");
    ASSERT_EQ(store.HistoryCount, 2);
    const auto& h = store.HistoryInfo;
    EXPECT_EQ(h.at(1, 4), "有馬 記念");
    EXPECT_EQ(h.at(1, 22), "騎 手");
    EXPECT_EQ(h.at(1, 23), "480");
    EXPECT_EQ(h.at(2, 22), "J K,L");
    EXPECT_EQ(h.at(2, 31), "04");

    Store reread;
    ASSERT_FALSE(LoadRaceCache(reread, folders));
    EXPECT_EQ(reread.RaceLabel, store.RaceLabel);
    EXPECT_EQ(reread.UmaInfo, store.UmaInfo);
    EXPECT_EQ(reread.HistoryInfo, store.HistoryInfo);
}

TEST_F(WeeklyImportTest, NoRaceOfTheWeekLeavesAnEmptyStore) {
    // Only a race of another category; a stored week exists before.
    write("RACE", "RA", {raRecord('1', kRace1)});
    write("RACE", "SE", {seRecord('2', kRace1, kHorseA, 1)});
    store.DataMode = "KONSYU";
    store.RaceCount = 5;
    WriteCp932(folders.cache / kCache1, "x");

    EXPECT_EQ(runWeek(), ImportOutcome::NoData);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "今週のレース情報をインポート済みです。今週のレース情報を更新しますか？");
    EXPECT_EQ(ui.questions[0].icon, Icon::Warning);
    EXPECT_TRUE(ui.questions[0].defaultNo);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "取得可能な今週のレース情報はありません。");
    expectEmptyStore();
    EXPECT_EQ(window.calls.back(), "restore");
}

TEST_F(WeeklyImportTest, SecondImportThatReceivesNothingReportsNoRaces) {
    writeWeek();
    ASSERT_EQ(runWeek(), ImportOutcome::Imported);
    // JV-Link now delivers an empty session.
    std::filesystem::remove_all(StandinFolder(dir.path()) / "stored");
    write("RACE", "EMPTY", {});
    jv->options().noDataResult = 0;
    ui.messages.clear();
    ui.answers = {true};

    EXPECT_EQ(runWeek(), ImportOutcome::NoData);
    EXPECT_EQ(ui.questions.back().text, "今週のレース情報をインポート済みです。今週のレース情報を更新しますか？");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "取得可能な今週のレース情報はありません。");
    expectEmptyStore();
}

TEST_F(WeeklyImportTest, AnsweringNoChangesNothing) {
    writeWeek();
    WriteCp932(folders.cache / kCache1, "x");
    store.DataMode = "TOKUBETSU";
    ui.answers = {false};
    EXPECT_EQ(runWeek(), ImportOutcome::Declined);
    EXPECT_EQ(ui.questions[0].text, "特別登録馬情報をインポート済みです。今週のレース情報をインポートしますか？");
    EXPECT_TRUE(ui.questions[0].defaultNo);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(window.calls.empty());  // nothing was locked, nothing to restore
    EXPECT_TRUE(std::filesystem::exists(folders.cache / kCache1));
    EXPECT_EQ(store.DataMode, "TOKUBETSU");
}

TEST_F(WeeklyImportTest, PastRunWithoutItsRaceAbortsTheImport) {
    writeWeek();
    write("RCOV", "SE2", {seRecord('7', "2008010105010101", kHorseA, 1)});
    EXPECT_EQ(runWeek(), ImportOutcome::Aborted);
    EXPECT_EQ(ui.messages.back().text, "レース情報の更新を中止しました。");
    expectEmptyStore();
}

TEST_F(WeeklyImportTest, OpenFailureAbortsWithTheCommandsMessage) {
    // Nothing at all to deliver: JV-Link's open fails.
    EXPECT_EQ(runToku(), ImportOutcome::Aborted);
    EXPECT_EQ(ui.messages.back().text, "特別登録馬情報の更新を中止しました。");
    expectEmptyStore();
}

TEST_F(WeeklyImportTest, ListsGrowBeyondTheirInitialSize) {
    std::vector<std::string> races, runners;
    for (int i = 1; i <= 80; ++i) {
        std::string id = "200901170601" + Num(i, 4);
        races.push_back(raRecord('2', id));
    }
    write("RACE", "RA", races);
    write("RCOV", "RA", {raRecord('7', kPast1)});
    ASSERT_EQ(runWeek(), ImportOutcome::Imported);
    EXPECT_EQ(store.RaceCount, 80);
    for (int r = 2; r <= store.RaceCount; ++r) EXPECT_LE(store.RaceIdList[r - 1], store.RaceIdList[r]);
}

TEST_F(WeeklyImportTest, TokubetsuKeepsFlatRacesInDeliveryOrder) {
    const std::string late = "2009012506010811";
    const std::string early = "2009012406010711";
    write("TOKU", "TK", {tkRecord('1', late, "17", {{"2005100001", "ガンマ"}, {"2004100002", "デルタ"}}),
                         tkRecord('2', early, "24", {{"2005100003", "イプシロン"}}, ""),
                         tkRecord('1', "2009012406010708", "54", {{"2003100009", "ジャンパー"}}),
                         tkRecord('3', "2009012406010709", "17", {{"2003100010", "ソノタ"}})});
    write("TCOV", "RA", {raRecord('A', kPast1)});
    write("TCOV", "SE", {seRecord('A', kPast1, "2005100001", 3)});

    ASSERT_EQ(runToku(), ImportOutcome::Imported);
    EXPECT_EQ(ui.questions[0].text, "特別登録馬情報をインポートしますか？");
    EXPECT_EQ(ui.messages.back().text, "特別登録馬情報を更新しました。");
    EXPECT_EQ(store.DataMode, "TOKUBETSU");
    // The jump race and the other category are ignored; the order is the delivery order.
    ASSERT_EQ(store.RaceCount, 2);
    EXPECT_EQ(store.RaceIdList[1], late);
    EXPECT_EQ(store.RaceIdList[2], early);
    EXPECT_EQ(store.RaceLabel[1], "2009/01/25 中山 11R 芝1600 ニューイヤーＳ" + std::string(80, ' ') + late);
    EXPECT_EQ(store.RaceLabel[2], "2009/01/24 中山 11R ダ1600 サラ３歳以上 オープン" + std::string(80, ' ') + early);
    EXPECT_EQ(store.RaceInfo.at(1, 2), "002");

    ASSERT_EQ(store.UmaCount, 3);
    for (int u = 1; u <= 3; ++u) {
        EXPECT_EQ(store.UmaInfo.at(u, 3), "");
        EXPECT_EQ(store.UmaInfo.at(u, 9), "");
        EXPECT_EQ(store.UmaInfo.at(u, 11), "");
    }
    EXPECT_EQ(store.UmaInfo.at(2, 4), "002");
    EXPECT_EQ(store.UmaInfo.at(2, 5), "デルタ");
    EXPECT_EQ(store.UmaInfo.at(2, 7), "5");  // 2009 - 2004
    EXPECT_EQ(store.UmaInfo.at(2, 10), "調教");
    EXPECT_EQ(store.UmaInfo.at(2, 12), "01002");
    EXPECT_EQ(store.UmaKey[2], late + "002");
    EXPECT_EQ(store.HistoryCount, 1);

    // The file holds the empty columns as empty text fields.
    const std::string cache2 = ReadCp932(folders.cache / kCache2);
    EXPECT_NE(cache2.find("\"1\",\"" + late + "\",\"2005100001\",\"\",\"001\""), std::string::npos);
}

TEST_F(WeeklyImportTest, CancelAtAnyTurnAbortsWithAnEmptyStore) {
    writeWeek();
    ASSERT_EQ(runWeek(), ImportOutcome::Imported);
    const int turns = pump.turns;
    ASSERT_GT(turns, 10);
    for (int n = 1; n <= turns; ++n) {
        SCOPED_TRACE(n);
        FakeUserInterface freshUi;
        FakePump freshPump;
        freshPump.cancelAt = n;
        EXPECT_EQ(ImportThisWeek(app, state, {*jv, freshUi, freshPump, clock}), ImportOutcome::Aborted);
        ASSERT_FALSE(freshUi.messages.empty());
        EXPECT_EQ(freshUi.messages.back().text, "レース情報の更新を中止しました。");
        expectEmptyStore();
        EXPECT_FALSE(jv->sessionOpen());
    }
}

TEST_F(WeeklyImportTest, DamagedRecordsArePassedOver) {
    writeWeek();
    std::string shortRace = raRecord('2', "2009011706010105");
    shortRace.erase(100, 10);  // ten bytes missing
    std::string badText = seRecord('2', kRace1, kHorseA, 2);
    // The horse name (bytes 41-76) ends in a lead byte without its second byte.
    badText[74] = ' ';
    badText[75] = '\x81';
    // Not a record of any JV-Data kind, after the file's first record: damage, not another kind of file.
    std::string garbage = "\x8a\x9b" + std::string(200, 'x') + "\r\n";
    write("RACE", "BAD", {shortRace, badText, garbage, seRecord('2', kRace1, kHorseA, 3)});
    ASSERT_EQ(runWeek(), ImportOutcome::Imported);
    EXPECT_EQ(store.RaceCount, 2);
    EXPECT_EQ(store.UmaCount, 3);  // the runner after the damage arrives
    const std::string done = "今週のレース情報を更新しました。 ( 不正なレコード 3 件を読み飛ばしました )";
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, done);
    EXPECT_EQ(ui.statuses.back(), done);

    // The count is the command's own: a clean week afterwards says nothing of it.
    std::filesystem::remove_all(StandinFolder(dir.path()) / "stored" / "RACE");
    writeWeek();
    ASSERT_EQ(runWeek(), ImportOutcome::Imported);
    EXPECT_EQ(ui.messages.back().text, "今週のレース情報を更新しました。");
}

// A record ends at CR LF only. A line feed or carriage return inside a horse
// name is part of its record: a record of the right length arrives whole, one
// made longer by the byte is passed over and counted; either way every other
// runner of the file arrives.
TEST_F(WeeklyImportTest, LineBreakBytesInsideARecordDoNotCutTheFile) {
    write("RACE", "RA", {raRecord('2', kRace1), raRecord('2', kRace2)});
    std::vector<std::string> runners;
    for (int h = 1; h <= 16; ++h)
        runners.push_back(seRecord('2', kRace1, "20061000" + Num(h, 2), h, "ホース" + std::to_string(h)));
    // Horse 3: a line feed in place of a padding byte (right length).
    runners[2] = seRecord('2', kRace1, "2006100003", 3, "ネ\nパ");
    // Horse 5: a line feed added inside the name (one byte too long).
    runners[4].insert(45, "\n");
    // Horse 9: a carriage return added; horse 12: an LF CR pair added (not a record end).
    runners[8].insert(50, "\r");
    runners[11].insert(44, "\n\r");
    write("RACE", "SE", runners);
    write("RCOV", "RA", {raRecord('7', kPast1)});
    write("RCOV", "SE", {seRecord('7', kPast1, "2006100001", 4)});

    ASSERT_EQ(runWeek(), ImportOutcome::Imported);
    ASSERT_EQ(store.UmaCount, 13);
    std::vector<std::string> numbers;
    for (int u = 1; u <= store.UmaCount; ++u) numbers.push_back(store.UmaInfo.at(u, 4));
    EXPECT_EQ(numbers, (std::vector<std::string>{"01", "02", "03", "04", "06", "07", "08", "10", "11", "13",
                                                 "14", "15", "16"}));
    EXPECT_EQ(store.UmaInfo.at(3, 5), "ネ パ");
    EXPECT_EQ(store.UmaInfo.at(13, 5), "ホース16");
    EXPECT_EQ(store.HistoryCount, 1);
    const std::string done = "今週のレース情報を更新しました。 ( 不正なレコード 3 件を読み飛ばしました )";
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, done);
    EXPECT_EQ(ui.statuses.back(), done);
    Store reread;
    ASSERT_FALSE(LoadRaceCache(reread, folders));
    EXPECT_EQ(reread.UmaInfo, store.UmaInfo);
}

// Every race record damaged: the user hears that nothing could be imported, and why.
TEST_F(WeeklyImportTest, NoDataMessageCountsThePassedOverRecords) {
    std::string ra = raRecord('2', kRace1);
    ra.insert(40, "\n");
    write("RACE", "RA", {ra});
    EXPECT_EQ(runWeek(), ImportOutcome::NoData);
    EXPECT_EQ(ui.messages.back().text,
              "取得可能な今週のレース情報はありません。 ( 不正なレコード 1 件を読み飛ばしました )");
    expectEmptyStore();
}

TEST_F(WeeklyImportTest, TokubetsuCancelAtAnyTurn) {
    write("TOKU", "TK", {tkRecord('1', kRace2, "17", {{kHorseA, "アルファ"}, {kHorseB, "ベータ"}})});
    write("TCOV", "RA", {raRecord('A', kPast1)});
    write("TCOV", "SE", {seRecord('A', kPast1, kHorseA, 3), seRecord('A', kPast1, kHorseB, 4)});
    ASSERT_EQ(runToku(), ImportOutcome::Imported);
    const int turns = pump.turns;
    for (int n = 1; n <= turns; ++n) {
        SCOPED_TRACE(n);
        FakeUserInterface freshUi;
        FakePump freshPump;
        freshPump.cancelAt = n;
        EXPECT_EQ(ImportTokubetsu(app, state, {*jv, freshUi, freshPump, clock}), ImportOutcome::Aborted);
        ASSERT_FALSE(freshUi.messages.empty());
        EXPECT_EQ(freshUi.messages.back().text, "特別登録馬情報の更新を中止しました。");
        expectEmptyStore();
    }
}

TEST_F(WeeklyImportTest, CancelDuringTheDownloadWait) {
    writeWeek();
    jv->options().simulateDownload = true;
    pump.cancelAt = 3;
    EXPECT_EQ(runWeek(), ImportOutcome::Aborted);
    EXPECT_EQ(ui.statuses.back(), "レース情報の更新を中止しました。");
    EXPECT_NE(std::find(ui.statuses.begin(), ui.statuses.end(), "レース情報をダウンロード中..."), ui.statuses.end());
    EXPECT_EQ(jv->calls().read, 0);  // cancelled while waiting: nothing read
    EXPECT_EQ(jv->calls().close, 1);
    expectEmptyStore();
}

TEST(WeeklyImportNames, Tables) {
    EXPECT_EQ(TrackName("10"), "芝");
    EXPECT_EQ(TrackName("22"), "芝");
    EXPECT_EQ(TrackName("23"), "ダ");
    EXPECT_EQ(TrackName("26"), "ダ");
    EXPECT_EQ(TrackName("27"), "");
    EXPECT_EQ(TrackName("51"), "障");
    EXPECT_EQ(TrackName("59"), "障");
    EXPECT_EQ(TrackName("A1"), "");
    EXPECT_EQ(TrackName(""), "");
    EXPECT_EQ(BabaName("4"), "不");
    EXPECT_EQ(BabaName("0"), "");
    EXPECT_EQ(SyubetuName("19"), "サラ障害４歳以上");
    EXPECT_EQ(SyubetuName("15"), "");
    EXPECT_EQ(JyokenName("010"), "1000万");
    EXPECT_EQ(JyokenName("999"), "オープン");
    EXPECT_EQ(JyokenName("000"), "");
    EXPECT_EQ(SexName("3"), "ｾﾝ");
    EXPECT_EQ(SexName("4"), "");
    EXPECT_EQ(TrimField("\xE3\x80\x80 名前 \xE3\x80\x80\xE3\x80\x80 "), "名前");
    EXPECT_EQ(TrimField("　　"), "");
}

TEST(WeeklyImportKeys, SortAndSearch) {
    ImportLists lists;
    lists.HRaceKey = Array1<std::string>(5);
    const char* keys[] = {"c", "a", "d", "b"};
    for (int i = 1; i <= 4; ++i) lists.HRaceKey[i] = keys[i - 1];
    lists.HRaceList.count = 4;
    NullPump pump;
    ASSERT_EQ(SortHRaceKeys(lists, pump), 0);
    ASSERT_EQ(lists.HRaceIndex.size(), 5);
    EXPECT_EQ(lists.HRaceIndex[1], 2);  // "a" was at 2
    EXPECT_EQ(lists.HRaceIndex[4], 3);  // "d" was at 3
    EXPECT_EQ(lists.HRaceIndex[5], 5);  // beyond the count: untouched
    EXPECT_EQ(SearchHRaceIndex(lists, "c", 1, 4), 3);
    EXPECT_EQ(SearchHRaceIndex(lists, "a", 1, 4), 1);
    EXPECT_EQ(SearchHRaceIndex(lists, "e", 1, 4), -1);
    EXPECT_EQ(SearchHRaceIndex(lists, "d", 1, 3), -1);
}

// Race ids of 16 digits are searched as numbers: every search, found or not,
// over any range, answers as the search of the texts does, duplicates included.
TEST(WeeklyImportKeys, RaceIdSearchAgreesWithTheTexts) {
    ImportLists digits;
    const std::vector<std::string> ids = {"2008122806050810", "2008120706040211", "2007122306050810",
                                          "2008120706040211", "2009010506010111", "1999123109121212"};
    for (const auto& id : ids) digits.HRaceKey.push_back(id);
    digits.HRaceList.count = static_cast<int>(ids.size());
    NullPump pump;
    SortHRaceKeys(digits, pump);
    ASSERT_EQ(digits.HRaceNumber.size(), digits.HRaceKey.size());

    ImportLists texts = digits;  // the same sorted keys, searched as texts
    texts.HRaceNumber.clear();
    std::vector<std::string> probes = ids;
    for (const char* other : {"2008122806050811", "0000000000000000", "9999999999999999", "200812280605081",
                              "20081228060508100", "2008122806O50810", ""})
        probes.push_back(other);
    const int n = digits.HRaceKey.size();
    for (const auto& key : probes)
        for (int low = 0; low <= n + 1; ++low)
            for (int high = low - 1; high <= n + 1; ++high)
                ASSERT_EQ(SearchHRaceIndex(digits, key, low, high), SearchHRaceIndex(texts, key, low, high))
                    << key << " " << low << ".." << high;
    EXPECT_GT(SearchHRaceIndex(digits, ids[0], 1, n), 0);

    // One key that is not 16 digits: every key is searched as text.
    digits.HRaceKey.push_back("2008A20806050810");
    digits.HRaceList.count = n + 1;
    SortHRaceKeys(digits, pump);
    EXPECT_TRUE(digits.HRaceNumber.empty());
    const int found = SearchHRaceIndex(digits, "2008A20806050810", 1, n + 1);
    ASSERT_GT(found, 0);
    EXPECT_EQ(digits.HRaceKey[found], "2008A20806050810");
    EXPECT_EQ(digits.HRaceKey[SearchHRaceIndex(digits, ids[4], 1, n + 1)], ids[4]);
}

}  // namespace
}  // namespace veltrix::test

namespace veltrix::test {
namespace {

// A context over an empty folder for the routines that need no JV-Link data.
struct BareContext {
    explicit BareContext(Store& store) : ctx{store, folders, jv, ui, pump, clock} {}
    TempDir dir;
    Folders folders = Folders::under(dir.path());
    StandinJVLink jv{StandinFolder(dir.path())};
    FakeUserInterface ui;
    FakePump pump;
    FakeClock clock;
    ImportContext ctx;
};

// Rows out of key order (as a table from elsewhere may be) are sorted and duplicates dropped.
TEST(WeeklyImportSort, HistoryRowsOutOfOrder) {
    Store store;
    const char* keys[] = {"B2", "A1", "B2", "A0", "A1"};
    store.HistoryCount = 5;
    store.HistoryInfo.resize(5, kHistoryInfoCols);
    store.HistoryKey = Array1<std::string>(5);
    for (int r = 1; r <= 5; ++r) {
        store.HistoryKey[r] = keys[r - 1];
        store.HistoryInfo.at(r, 1) = keys[r - 1];
        store.HistoryInfo.at(r, 43) = std::to_string(r);
    }
    BareContext bare(store);
    ImportContext& ctx = bare.ctx;
    FakeUserInterface& ui = bare.ui;
    FakePump& pump = bare.pump;
    ASSERT_EQ(SortHistoryInfo(ctx), 0);
    ASSERT_EQ(store.HistoryCount, 3);
    ASSERT_EQ(store.HistoryInfo.rows(), 3);
    EXPECT_EQ(store.HistoryKey[1], "A0");
    EXPECT_EQ(store.HistoryKey[2], "A1");
    EXPECT_EQ(store.HistoryKey[3], "B2");
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(store.HistoryInfo.at(r, 1), store.HistoryKey[r]);
    EXPECT_EQ(store.HistoryInfo.at(1, 43), "4");
    EXPECT_EQ(ui.progressMax, 10);

    // A cancel while sorting fails and leaves the counts at 0.
    store.HistoryCount = 3;
    pump.cancelAt = pump.turns + 2;
    EXPECT_LT(SortHistoryInfo(ctx), 0);
    EXPECT_EQ(store.HistoryCount, 0);
}

// Duplicate past runs with different contents, delivered out of order: the
// expansion keeps, for each key, the run the key sort puts first, as sorting
// all expanded rows and dropping the later duplicates would.
TEST(WeeklyImportSort, DuplicateRunKeepsTheOneTheSortPutsFirst) {
    WeeklyImportState state;
    ImportLists& lists = state.lists;
    auto race = [](const std::string& id) {
        ImportRace ra;
        ra.raceId = id;
        ra.year = id.substr(0, 4);
        ra.monthDay = id.substr(4, 4);
        ra.courseCode = id.substr(8, 2);
        ra.trackCode = "10";
        return ra;
    };
    const std::string r1 = "2008122806050810", r2 = "2008120706040211";
    for (const auto& id : {r1, r2}) {
        lists.HRaceList.items.push_back(race(id));
        lists.HRaceKey.push_back(id);
    }
    lists.HRaceList.count = 2;
    // Horse, race and finishing position of each delivered run.
    const std::vector<std::tuple<std::string, std::string, std::string>> runs = {
        {"2005100002", r1, "01"}, {"2005100001", r1, "02"}, {"2005100002", r1, "03"}, {"2005100001", r2, "04"},
        {"2005100001", r1, "05"}, {"2005100002", r2, "06"}, {"2005100002", r1, "07"}, {"2005100001", r2, "08"}};
    for (const auto& [uma, id, placing] : runs) {
        ImportRunner se;
        se.umaCode = uma;
        se.raceId = id;
        se.finalPlacing = placing;
        se.abnormality = "0";
        lists.HUmaList.items.push_back(se);
        lists.HUmaKey.push_back(uma + id);
    }
    lists.HUmaList.count = static_cast<int>(runs.size());

    // The oracle: the key sort's own order, first of each key.
    Array1<std::string> keys = lists.HUmaKey;
    Array1<int> order(keys.size());
    for (int i = 1; i <= order.size(); ++i) order[i] = i;
    NullPump quiet;
    SortKeys(keys, order, 1, keys.size(), quiet);
    std::vector<std::string> expected;
    for (int i = 1; i <= keys.size(); ++i)
        if (i == 1 || keys[i] != keys[i - 1]) expected.push_back(std::get<2>(runs[static_cast<size_t>(order[i] - 1)]));

    Store store;
    BareContext bare(store);
    ImportContext& ctx = bare.ctx;
    SortHRaceKeys(lists, bare.pump);
    SortHUmaKeys(lists, bare.pump);
    ASSERT_EQ(ExpandRaceInfo(state, ctx), 0);
    ASSERT_EQ(SortHistoryInfo(ctx), 0);
    ASSERT_EQ(store.HistoryCount, 4);
    std::vector<std::string> kept;
    for (int r = 1; r <= store.HistoryCount; ++r) {
        kept.push_back(store.HistoryInfo.at(r, 27));
        EXPECT_EQ(store.HistoryKey[r], store.HistoryInfo.at(r, 1) + store.HistoryInfo.at(r, 2));
    }
    EXPECT_EQ(kept, expected);
    EXPECT_EQ(store.HistoryKey[1], "2005100001" + r2);
    EXPECT_EQ(store.HistoryKey[4], "2005100002" + r1);
}

}  // namespace
}  // namespace veltrix::test
