#include <gtest/gtest.h>

#include <filesystem>

#include "race_fixture.h"
#include "app/race_commands.h"
#include "racecard/race_card.h"
#include "store/race_files.h"
#include "support/fake_host.h"

namespace veltrix::test {
namespace {

namespace fs = std::filesystem;

RowNo R(int r) { return RowNo(r); }
ColNo C(int c) { return ColNo(c); }

std::vector<std::string> column(const Sheet& s, int col) {
    std::vector<std::string> out;
    for (int r = 1; r <= s.rowCount(); ++r) out.push_back(s.text(R(r), C(col)));
    return out;
}

RunnerSpec runner(int i, std::string frame = "1") {
    RunnerSpec r;
    r.umaCode = Uma(i);
    r.umaban = (i < 10 ? "0" : "") + std::to_string(i);
    r.frame = std::move(frame);
    r.name = "ホース" + std::to_string(i);
    return r;
}

// What the windows around the race card hear.
class RecordingWindows {
public:
    explicit RecordingWindows(Application& app)
        : app_(app), subscription_(app.changes.subscribe([this](Change c) { heard(c); })) {}
    std::vector<std::string> calls;

private:
    void heard(Change c) {
        switch (c) {
            case Change::CommandStarted: calls.push_back("lock"); break;
            case Change::CommandFinished: calls.push_back("restore"); break;
            case Change::RaceCardReset: calls.push_back("reset"); break;
            case Change::BetListLoaded: calls.push_back("betList"); break;
            case Change::RaceOpened: calls.push_back("raceOpened"); break;
            case Change::RunnerChosen: {
                const RowNo row = app_.raceCard.sheet(1).findRow(card::kUmaCode, app_.raceCard.lastUmaCode);
                calls.push_back("chosen " + std::to_string(row.value) + " " + app_.raceCard.lastUmaCode);
                break;
            }
            default: calls.push_back("other"); break;
        }
    }
    Application& app_;
    Subscription subscription_;
};

bool fill(Application& app, const std::string& raceId) {
    return FillRaceCard(app.raceCard, app.store, app.raceTables, raceId);
}

// ---- filling the rows ----

TEST(FillRaceCard, CommonColumnsFrameColoursAndRunnerTexts) {
    Application app;
    StoreBuilder b(app.store);
    std::vector<RunnerSpec> rs = {runner(1, "1"), runner(2, "3"), runner(3, "9")};
    rs[1].sex = "ｾﾝ";
    rs[1].age = "05";
    rs[1].futan = "000";
    rs[2].sex = "";
    rs[2].jockey = "";
    b.addRace(kRaceId, KonsyuLabel("中山", "ダ1200"), rs);
    auto& uma = app.store.UmaInfo;
    uma.at(1, 14) = "12.5";  // jockey group shown
    uma.at(1, 15) = "30";
    uma.at(1, 16) = "40.25";
    uma.at(2, 14) = "0";  // not shown, although the other two are filled
    uma.at(2, 15) = "30";
    uma.at(2, 16) = "40";
    AddMark(app.raceTables, Uma(2), "◎");

    ASSERT_FALSE(fill(app, kRaceId));
    const RaceCard& c = app.raceCard;
    EXPECT_EQ(c.RaceSyubetsuCode, "13");
    EXPECT_EQ(c.RaceJyokenCode, "005");
    EXPECT_EQ(c.RaceTrackCode, "11");
    for (int s = 1; s <= 3; ++s) {
        const Sheet& sh = c.sheet(s);
        ASSERT_EQ(sh.rowCount(), 3);
        EXPECT_EQ(column(sh, 2), (std::vector<std::string>{"1", "2", "3"}));
        EXPECT_EQ(sh.number(R(1), C(2)), 1.0);
        EXPECT_EQ(column(sh, 3), (std::vector<std::string>{Uma(1), Uma(2), Uma(3)}));
        EXPECT_EQ(column(sh, 4), (std::vector<std::string>{"", "◎", ""}));
        EXPECT_EQ(sh.text(R(1), C(5)), "ホース1");
        EXPECT_EQ(sh.cell(R(1), C(5)).fore, kWhite);
        EXPECT_EQ(sh.cell(R(1), C(5)).back, kBlack);
        EXPECT_EQ(sh.cell(R(1), C(2)).fore, kBlack);
        EXPECT_EQ(sh.cell(R(1), C(2)).back, kWhite);
        EXPECT_EQ(sh.cell(R(2), C(2)).fore, kWhite);
        EXPECT_EQ(sh.cell(R(2), C(2)).back, (Rgb{255, 0, 51}));
        EXPECT_EQ(sh.cell(R(3), C(2)).fore, kBlack);  // unknown frame: black on black
        EXPECT_EQ(sh.cell(R(3), C(2)).back, kBlack);
    }
    const Sheet& s1 = c.sheet(1);
    EXPECT_EQ(column(s1, 6), (std::vector<std::string>{"3牡", "5騙", ""}));
    EXPECT_EQ(column(s1, 7), (std::vector<std::string>{"57.0K", "", "57.0K"}));
    EXPECT_EQ(column(s1, 23), (std::vector<std::string>{"騎手", "騎手", ""}));
    EXPECT_EQ(column(s1, 28), (std::vector<std::string>{"調教", "調教", "調教"}));
    EXPECT_EQ(column(s1, 24), (std::vector<std::string>{"12.50", "", ""}));
    EXPECT_EQ(column(s1, 25), (std::vector<std::string>{"30.00", "", ""}));
    // Two decimals on screen, the full figure in the cell.
    EXPECT_EQ(column(s1, 26), (std::vector<std::string>{"40.25", "", ""}));
    EXPECT_EQ(s1.number(R(1), C(26)), 40.25);
    EXPECT_EQ(s1.cell(R(1), C(25)).fore, kWhite);
    // A runner without figures below one with figures shows empty cells.
    for (int col = 24; col <= 26; ++col) {
        EXPECT_EQ(s1.text(R(2), C(col)), "");
        EXPECT_EQ(s1.cell(R(2), C(col)).fore, kBlack);
    }
    EXPECT_EQ(s1.header(C(3)), "UMACODE");
    EXPECT_EQ(c.sheet(2).header(C(3)), "");
    EXPECT_EQ(c.sheet(2).header(C(11)), "東京");
    EXPECT_EQ(c.sheet(3).header(C(46)), "EXP");
    EXPECT_EQ(c.sheet(3).header(C(35)), "3連単12");
}

TEST(FillRaceCard, SpecialRegistrationsShowSequenceNumbersWhiteOnBlack) {
    Application app;
    StoreBuilder b(app.store, "TOKUBETSU");
    RunnerSpec r = runner(1, "");
    r.umaban = "003";
    b.addRace(kRaceId, TokubetsuLabel("中山", "芝1600"), {r}, "001");
    ASSERT_FALSE(fill(app, kRaceId));
    const Sheet& s = app.raceCard.sheet(1);
    EXPECT_EQ(s.text(R(1), C(2)), "3");
    EXPECT_EQ(s.number(R(1), C(2)), 3.0);
    EXPECT_EQ(s.cell(R(1), C(2)).fore, kWhite);
    EXPECT_EQ(s.cell(R(1), C(2)).back, kBlack);
    EXPECT_EQ(FindUmaban(app.raceCard, Uma(1)), 3);
    EXPECT_EQ(FindUmaban(app.raceCard, Uma(9)), -1);
}

TEST(FindUmaban, HorseNumberOrTheRowWhenThereIsNone) {
    RaceCard card;
    Sheet& s = card.sheet(1);
    s.setRowCount(3);
    const char* numbers[] = {"7", "0", ""};
    for (int r = 1; r <= 3; ++r) {
        s.setText(R(r), C(2), numbers[r - 1]);
        s.setText(R(r), C(3), Uma(r));
    }
    EXPECT_EQ(FindUmaban(card, Uma(1)), 7);
    EXPECT_EQ(FindUmaban(card, Uma(2)), 2);
    EXPECT_EQ(FindUmaban(card, Uma(3)), 3);
    EXPECT_EQ(FindUmaban(card, Uma(4)), -1);
}

TEST(FillRaceCard, NeverShowsTheNextRacesRunnersAndFailsForAnUnknownRace) {
    Application app;
    StoreBuilder b(app.store);
    b.addRace(kRaceId, KonsyuLabel("中山", "ダ1200"), {runner(1), runner(2)}, "03");
    b.addRace("2009011706010112", KonsyuLabel("中山", "ダ1800"), {runner(3)});
    ASSERT_FALSE(fill(app, kRaceId));
    EXPECT_EQ(column(app.raceCard.sheet(1), 3), (std::vector<std::string>{Uma(1), Uma(2)}));
    EXPECT_TRUE(fill(app, "2009011706010199"));
}

// ---- opening a race with its per-race files ----

class OpenRaceTest : public ::testing::Test {
protected:
    OpenRaceTest() : b(app.store) {
        app.folders = Folders::under(dir.path());
        fs::create_directories(app.folders.cache);
        b.addRace(kRaceId, KonsyuLabel("中山", "ダ1200"), {runner(1), runner(2), runner(3)});
        label = app.store.RaceLabel[1];
    }
    void writeOdds() {
        OddsTables o;
        o.OddsCount = 6;
        const int win[] = {25, 40, 80};
        for (int h = 1; h <= 3; ++h) {
            o.TansyoOdds(h) = {kOddsOnSale, win[h - 1]};
            o.FukusyoOdds(h) = {kOddsOnSale, 11, kOddsOnSale, 15};
            o.TansyoShijiritsu(h) = 0.2;
            o.UmarenShijiritsu(h) = 0.1;
        }
        o.TansyoOdds(2) = {kOddsCancelled, 0};
        o.OddsHensachi(1) = 60;
        o.OddsHensachi(3) = 45;
        ASSERT_EQ(WriteOddsCache(app.folders, kRaceId, o), 0);
    }
    void writeMining() {
        MiningTables m;
        m.MiningKubun = "2";
        m.MiningHensachi(1) = 65;
        m.MiningHensachi(2) = 55;
        m.MiningHensachi(3) = 48;
        ASSERT_EQ(WriteMiningCache(app.folders, kRaceId, m), 0);
    }
    void writeKekka() {
        KekkaTables k;
        k.KekkaKubun = "7";
        const double score[] = {58, 49, 43};
        const int order[] = {1, 4, 2};
        const int zenhan[] = {350, 360, 370};
        for (int h = 1; h <= 3; ++h) {
            k.KekkaHensachi(h) = score[h - 1];
            k.KekkaNyusen(h) = order[h - 1];
            k.KekkaZenhan(h) = zenhan[h - 1];
            k.KekkaAgari(h) = 360;
        }
        ASSERT_EQ(WriteKekkaCache(app.folders, kRaceId, k), 0);
    }
    bool open() { return OpenRace(app, kRaceId, label, pump); }

    TempDir dir;
    Application app;
    StoreBuilder b;
    std::string label;
    RecordingWindows windows{app};
    FakePump pump;
};

TEST_F(OpenRaceTest, WithoutPerRaceFilesShowsTheRunnersAndHidesTheResultColumns) {
    ASSERT_FALSE(open());
    const RaceCard& c = app.raceCard;
    EXPECT_EQ(c.lblRace, label);
    EXPECT_EQ(c.RaceDate, "2009/01/17");
    EXPECT_EQ(c.sheet(3).rowCount(), 3);
    for (int col = 14; col <= 16; ++col) EXPECT_TRUE(c.sheet(3).isColumnHidden(C(col)));
    EXPECT_FALSE(c.sheet(3).isColumnHidden(C(17)));
    EXPECT_EQ(column(c.sheet(3), 6), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(c.pastRuns.rows(), 3);
    // The windows clear what they showed of the old race before the new one is on show.
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"lock", "reset", "raceOpened", "restore"}));
}

TEST_F(OpenRaceTest, OddsSheetColumnsFromOddsForecastAndResult) {
    writeOdds();
    writeMining();
    writeKekka();
    ASSERT_FALSE(open());
    const Sheet& s = app.raceCard.sheet(3);
    EXPECT_EQ(column(s, 6), (std::vector<std::string>{"60.0", "", "45.0"}));
    EXPECT_EQ(s.cell(R(2), C(6)).fore, kBlack);
    EXPECT_EQ(s.cell(R(1), C(6)).fore, kWhite);
    EXPECT_EQ(column(s, 7), (std::vector<std::string>{"1", "", "2"}));
    EXPECT_EQ(s.cell(R(2), C(7)).back, kBlack);
    EXPECT_EQ(column(s, 8), (std::vector<std::string>{"65.0", "55.0", "48.0"}));
    EXPECT_EQ(column(s, 9), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(column(s, 10), (std::vector<std::string>{"5.0", "", "3.0"}));
    for (int col = 14; col <= 16; ++col) EXPECT_FALSE(s.isColumnHidden(C(col)));
    EXPECT_EQ(column(s, 14), (std::vector<std::string>{"58.0", "49.0", "43.0"}));
    EXPECT_EQ(column(s, 15), (std::vector<std::string>{"1", "4", "2"}));
    EXPECT_EQ(s.cell(R(3), C(15)).fore, kBlack);
    EXPECT_EQ(s.cell(R(3), C(15)).back, kWhite);
    EXPECT_EQ(s.cell(R(2), C(15)).fore, kWhite);
    EXPECT_EQ(s.cell(R(2), C(15)).back, kBlack);
    EXPECT_EQ(column(s, 16), (std::vector<std::string>{"-2.0", "", "-2.0"}));
    // Shorter first-part time scores higher; equal last-furlong times all give 50.
    EXPECT_EQ(column(s, 18), (std::vector<std::string>{"60.0", "50.0", "40.0"}));
    EXPECT_EQ(column(s, 19), (std::vector<std::string>{"50.0", "50.0", "50.0"}));
    // Win and place columns without an axis.
    EXPECT_EQ(column(s, 20), (std::vector<std::string>{"2.5", "", "8.0"}));
    EXPECT_EQ(column(s, 21), (std::vector<std::string>{"20.0", "", "20.0"}));
    EXPECT_EQ(column(s, 23), (std::vector<std::string>{"1.1", "1.1", "1.1"}));
    // Popularity ranks 1, 2 against arrival orders 1, 2: full agreement.
    EXPECT_EQ(app.raceCard.lblScoreValue[0], "100.0");
    // Forecast ranks 1, 2, 3 against 1, 4, 2: S = 0 + 4 + 1, 1 - 30/24 = -0.25.
    EXPECT_EQ(app.raceCard.lblScoreValue[1], "37.5");
    EXPECT_EQ(app.raceCard.lblScoreValue[2], "");  // no prediction yet
}

TEST_F(OpenRaceTest, CancelledWinOddsStrikeTheNameOnAllSheets) {
    writeOdds();
    ASSERT_FALSE(open());
    for (int s = 1; s <= 3; ++s) {
        EXPECT_FALSE(app.raceCard.sheet(s).cell(R(1), C(5)).strikeOut);
        EXPECT_TRUE(app.raceCard.sheet(s).cell(R(2), C(5)).strikeOut) << s;
    }
    // Sorting keeps the struck-through name with its runner.
    SortRaceCard(app.raceCard, 3, C(20), SortOrder::Ascending);
    for (int s = 1; s <= 3; ++s) {
        const Sheet& sh = app.raceCard.sheet(s);
        for (int r = 1; r <= 3; ++r)
            EXPECT_EQ(sh.cell(R(r), C(5)).strikeOut, sh.text(R(r), C(3)) == Uma(2)) << s << " " << r;
    }
}

TEST_F(OpenRaceTest, DamagedForecastIsDeletedAndTheRaceStillShown) {
    writeOdds();
    WriteCp932(app.folders.cache / ("cache7" + kRaceId), "\"00\"\r\n\"10\",\"9\"\r\n");
    ASSERT_FALSE(open());
    EXPECT_FALSE(fs::exists(app.folders.cache / ("cache7" + kRaceId)));
    EXPECT_EQ(app.raceCard.sheet(1).rowCount(), 3);
    EXPECT_EQ(column(app.raceCard.sheet(3), 8), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(column(app.raceCard.sheet(3), 6), (std::vector<std::string>{"60.0", "", "45.0"}));
}

TEST_F(OpenRaceTest, MarksAndBetListAreRestored) {
    writeOdds();
    ASSERT_EQ(WriteMarkCache(app.folders, kRaceId, {{Uma(1), ""}, {Uma(2), "▲"}, {Uma(3), ""}}), 0);
    Array1<KaimeRow> bets(kKaimeRows);
    bets[1] = {"1", "03", "100"};
    ASSERT_EQ(WriteKaimeCache(app.folders, kRaceId, bets), 0);
    ASSERT_FALSE(open());
    EXPECT_EQ(column(app.raceCard.sheet(2), 4), (std::vector<std::string>{"", "▲", ""}));
    EXPECT_EQ(app.raceTables.KaimeData[1].Kumiban, "03");
    // The bet in the bet list shows black on orange.
    EXPECT_EQ(app.raceCard.sheet(3).cell(R(3), C(20)).back, (Rgb{255, 204, 102}));
    EXPECT_NE(std::find(windows.calls.begin(), windows.calls.end(), "betList"), windows.calls.end());
}

TEST_F(OpenRaceTest, RefreshKeepsTheTablesInMemoryAndTheAptitudeColours) {
    writeOdds();
    writeKekka();
    ASSERT_FALSE(open());
    fs::remove(app.folders.cache / ("cache4" + kRaceId));
    app.raceCard.HistoryUmaban = "2";
    ASSERT_FALSE(RefreshRace(app, kRaceId, pump));
    EXPECT_EQ(app.raceCard.HistoryUmaban, "");
    EXPECT_EQ(column(app.raceCard.sheet(3), 6), (std::vector<std::string>{"60.0", "", "45.0"}));
    EXPECT_FALSE(app.raceCard.sheet(3).isColumnHidden(C(14)));
    EXPECT_EQ(app.raceCard.sheet(2).cell(R(1), C(6)).fore, (Rgb{0, 255, 0}));
}

TEST_F(OpenRaceTest, ChoosingARunnerByName) {
    ASSERT_FALSE(open());
    windows.calls.clear();
    EXPECT_TRUE(ChooseRunner(app, R(2)));
    EXPECT_EQ(app.raceCard.HistoryUmaban, "2");
    for (int s = 1; s <= 3; ++s) {
        EXPECT_EQ(app.raceCard.sheet(s).cell(R(2), C(5)).fore, kBlack);
        EXPECT_EQ(app.raceCard.sheet(s).cell(R(2), C(5)).back, kWhite);
        EXPECT_EQ(app.raceCard.sheet(s).cell(R(1), C(5)).back, kBlack);
    }
    EXPECT_FALSE(ChooseRunner(app, R(2)));  // the runner shown last
    EXPECT_TRUE(ChooseRunner(app, R(3)));
    EXPECT_EQ(app.raceCard.sheet(1).cell(R(2), C(5)).back, kBlack);
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"chosen 2 " + Uma(2), "chosen 3 " + Uma(3)}));
    EXPECT_FALSE(ChooseRunner(app, R(9)));
}

// ---- sorting ----

TEST_F(OpenRaceTest, SortingSheet2ReordersTheOthersAndNoRestores) {
    ASSERT_FALSE(open());
    RaceCard& c = app.raceCard;
    const double tokyo[] = {40, 60, 50};
    for (int r = 1; r <= 3; ++r) c.sheet(2).setNumber(R(r), C(11), tokyo[r - 1]);
    EXPECT_TRUE(ClickHeader(c, 2, C(11)));
    for (int s = 1; s <= 3; ++s) {
        EXPECT_EQ(column(c.sheet(s), 3), (std::vector<std::string>{Uma(2), Uma(3), Uma(1)})) << s;
        EXPECT_EQ(column(c.sheet(s), 1), (std::vector<std::string>{"1", "2", "3"}));
    }
    EXPECT_EQ(column(c.sheet(2), 11), (std::vector<std::string>{"60", "50", "40"}));
    EXPECT_FALSE(ClickHeader(c, 1, C(6)));  // not sortable
    EXPECT_TRUE(ClickHeader(c, 1, C(2)));
    for (int s = 1; s <= 3; ++s)
        EXPECT_EQ(column(c.sheet(s), 2), (std::vector<std::string>{"1", "2", "3"})) << s;
    EXPECT_EQ(column(c.sheet(2), 11), (std::vector<std::string>{"40", "60", "50"}));
}

TEST(SortableColumns, Table) {
    EXPECT_EQ(SortableOrder(1, C(2)), SortOrder::Ascending);
    EXPECT_EQ(SortableOrder(1, C(21)), SortOrder::Descending);
    EXPECT_EQ(SortableOrder(1, C(22)), std::nullopt);
    EXPECT_EQ(SortableOrder(1, C(15)), std::nullopt);
    EXPECT_EQ(SortableOrder(2, C(29)), SortOrder::Descending);
    EXPECT_EQ(SortableOrder(2, C(5)), std::nullopt);
    EXPECT_EQ(SortableOrder(3, C(15)), SortOrder::Ascending);
    EXPECT_EQ(SortableOrder(3, C(14)), SortOrder::Descending);
    EXPECT_EQ(SortableOrder(3, C(17)), std::nullopt);
    EXPECT_EQ(SortableOrder(3, C(25)), std::nullopt);
}

// ---- deviation scores, ranks, scores ----

Sheet valueSheet(const std::vector<std::string>& values) {
    Sheet s(static_cast<int>(values.size()), 3);
    for (int r = 1; r <= s.rowCount(); ++r) s.setText(R(r), C(2), values[static_cast<size_t>(r - 1)]);
    return s;
}

TEST(CalculateHensa, DeviationScores) {
    Sheet s = valueSheet({"10", "", "20", "0", "30"});
    CalculateHensa(s, C(2), 1);
    EXPECT_EQ(column(s, 2), (std::vector<std::string>{"40.0", "", "50.0", "", "60.0"}));
    Sheet down = valueSheet({"10", "20", "30"});
    CalculateHensa(down, C(2), -1);
    EXPECT_EQ(column(down, 2), (std::vector<std::string>{"60.0", "50.0", "40.0"}));
    EXPECT_DOUBLE_EQ(*down.number(R(1), C(2)), 60.0);
}

TEST(CalculateHensa, SingleValueAndNoSpreadGive50) {
    Sheet one = valueSheet({"", "42.5", "0"});
    CalculateHensa(one, C(2), 1);
    EXPECT_EQ(column(one, 2), (std::vector<std::string>{"", "50.0", ""}));
    Sheet equal = valueSheet({"7", "7", "7"});
    CalculateHensa(equal, C(2), -1);
    EXPECT_EQ(column(equal, 2), (std::vector<std::string>{"50.0", "50.0", "50.0"}));
}

TEST(PutJyuni, EqualValuesShareARankAndTheNextIsSkipped) {
    Sheet s = valueSheet({"10", "20", "20", "", "5", "3"});
    PutJyuni(s, C(2));
    EXPECT_EQ(column(s, 3), (std::vector<std::string>{"3", "1", "1", "", "4", "5"}));
    EXPECT_EQ(s.cell(R(1), C(3)).fore, kBlack);
    EXPECT_EQ(s.cell(R(1), C(3)).back, kWhite);
    EXPECT_EQ(s.cell(R(5), C(3)).fore, kWhite);
    EXPECT_EQ(s.cell(R(5), C(3)).back, kBlack);
    EXPECT_EQ(s.cell(R(4), C(3)).back, kBlack);
}

TEST(CalculateScore, RankCorrelationAndLabels) {
    Sheet s(4, 17);
    const char* own[] = {"1", "2", "3", "4"};
    const char* pop[] = {"4", "3", "2", "1"};
    const char* arrival[] = {"1", "2", "3", "4"};
    for (int r = 1; r <= 4; ++r) {
        s.setText(R(r), C(12), own[r - 1]);
        s.setText(R(r), C(17), arrival[r - 1]);
        s.setText(R(r), C(7), pop[r - 1]);
        s.setText(R(r), C(15), arrival[r - 1]);
    }
    s.setText(R(1), C(9), "1");  // one data-mining pair only
    s.setText(R(1), C(15), "1");
    auto scores = CalculateScore(s);
    EXPECT_DOUBLE_EQ(scores[0], 0.0);
    EXPECT_DOUBLE_EQ(scores[1], -1.0);
    EXPECT_DOUBLE_EQ(scores[2], 100.0);
    RaceCard card;
    ShowScores(card, scores);
    EXPECT_EQ(card.lblScoreValue[0], ".0");
    EXPECT_EQ(card.lblScoreValue[1], "");
    EXPECT_EQ(card.lblScoreValue[2], "100.0");
    ClearScoreLabel(card);
    EXPECT_EQ(card.lblScoreValue[2], "");
}

// ---- aptitude colours ----

class AptitudeTest : public ::testing::Test {
protected:
    std::vector<int> greenColumns(const std::string& mode, const std::string& label) {
        Application app;
        StoreBuilder b(app.store, mode);
        b.addRace(kRaceId, label, {runner(1), runner(2)});
        EXPECT_FALSE(fill(app, kRaceId));
        app.raceCard.lblRace = app.store.RaceLabel[1];
        SetRaceJyoken(app.raceCard.sheet(2), app.raceCard.lblRace, app.store.DataMode);
        std::vector<int> green;
        const Sheet& s = app.raceCard.sheet(2);
        for (int c = 6; c <= 29; ++c) {
            const CellColor fore = s.cell(R(2), C(c)).fore;
            EXPECT_EQ(s.cell(R(1), C(c)).fore, fore);
            if (fore == Rgb{0, 255, 0})
                green.push_back(c);
            else
                EXPECT_EQ(fore, kWhite) << c;
        }
        return green;
    }
};

TEST_F(AptitudeTest, CourseDirectionLocalAndDistanceColumns) {
    EXPECT_EQ(greenColumns("KONSYU", KonsyuLabel("中山", "ダ1200")), (std::vector<int>{6, 9, 20}));
    EXPECT_EQ(greenColumns("KONSYU", KonsyuLabel("新潟", "芝2000")), (std::vector<int>{10, 13, 18, 25}));
    EXPECT_EQ(greenColumns("KONSYU", KonsyuLabel("小倉", "芝1150")), (std::vector<int>{9, 17, 18, 20}));
    EXPECT_EQ(greenColumns("KONSYU", KonsyuLabel("東京", "芝3400")), (std::vector<int>{11, 13, 29}));
}

TEST_F(AptitudeTest, UnknownDistanceCourseOrModeColourNothingExtra) {
    EXPECT_EQ(greenColumns("KONSYU", KonsyuLabel("京都", "芝2800")), (std::vector<int>{7, 9}));
    EXPECT_EQ(greenColumns("KONSYU", KonsyuLabel("大井", "ダ1200")), (std::vector<int>{}));
    EXPECT_EQ(greenColumns("", KonsyuLabel("中山", "ダ1200")), (std::vector<int>{}));
}

TEST_F(AptitudeTest, SpecialRegistrationLabelsHaveNoStartTime) {
    EXPECT_EQ(greenColumns("TOKUBETSU", TokubetsuLabel("阪神", "芝1600")), (std::vector<int>{8, 9, 22}));
    // A KONSYU reading of the same label would miss the distance.
    EXPECT_EQ(greenColumns("KONSYU", TokubetsuLabel("阪神", "芝1600")), (std::vector<int>{8, 9}));
}

TEST(ResetRaceCard, EmptiesGridLabelsAndTables) {
    Application app;
    StoreBuilder b(app.store);
    b.addRace(kRaceId, KonsyuLabel("中山", "ダ1200"), {runner(1)});
    ASSERT_FALSE(fill(app, kRaceId));
    app.raceCard.lblRace = "x";
    app.raceCard.lblScoreValue[0] = "50.0";
    app.raceTables.odds.OddsCount = 3;
    ResetData(app);
    EXPECT_EQ(app.raceCard.lblRace, "");
    EXPECT_EQ(app.raceCard.sheet(1).rowCount(), 0);
    EXPECT_EQ(app.raceCard.sheet(1).colCount(), 34);
    EXPECT_EQ(app.raceCard.lblScoreValue[0], "");
    EXPECT_EQ(app.raceTables.odds.OddsCount, 0);
}

}  // namespace
}  // namespace veltrix::test
