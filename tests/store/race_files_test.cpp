#include "store/race_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "app/application.h"
#include "base/encoding.h"
#include "support/fake_host.h"

namespace veltrix {
namespace {

namespace fs = std::filesystem;

const std::string kRace = "2026120906050811";

class RaceFilesTest : public ::testing::Test {
protected:
    RaceFilesTest() : folders(Folders::under(dir.path())) { fs::create_directories(folders.cache); }

    fs::path file(char kind) const { return folders.cache / (std::string("cache") + kind + kRace); }
    bool exists(char kind) const { return fs::exists(file(kind)); }
    std::vector<std::string> lines(char kind) const {
        std::string text = test::ReadCp932(file(kind));
        std::vector<std::string> out;
        for (auto l : SplitLines(text)) out.emplace_back(l);
        return out;
    }
    void writeLines(char kind, const std::vector<std::string>& ls) const {
        std::string text;
        for (const auto& l : ls) text += l + "\r\n";
        test::WriteCp932(file(kind), text);
    }

    test::TempDir dir;
    Folders folders;
};

// Every entry different, so a value written to or read from the wrong place shows.
OddsTables sampleOdds() {
    OddsTables t;
    t.OddsCount = 6;
    for (int h = 1; h <= kHorseMax; ++h) {
        t.TansyoOdds(h) = {1, 20 + 10 * h};
        t.FukusyoOdds(h) = {1, 11 + h, 1, 15 + 2 * h};
        t.TansyoShijiritsu(h) = 0.788 / (t.TansyoOdds(h).odds - 1) * 10;
        t.OddsHensachi(h) = 70.5 - h * 1.25;
        t.UmarenShijiritsu(h) = 0.01 * h + 0.000123456789;
    }
    t.TansyoOdds(18) = {-2, -1};  // cancelled
    t.TansyoShijiritsu(18) = -1;
    for (int i = 1; i <= kHorseMax; ++i)
        for (int j = 1; j <= kHorseMax; ++j) {
            if (i < j) {
                t.UmarenOdds(i, j) = {1, 100 * i + j};
                t.WideOdds(i, j) = {1, 10 * i + j, 1, 20 * i + j};
            }
            if (i != j) t.UmatanOdds(i, j) = {1, 200 * i + j};
            for (int k = 1; k <= kHorseMax; ++k) {
                if (i < j && j < k) t.SanrenpukuOdds(i, j, k) = {1, 1000 * i + 30 * j + k};
                if (i != j && j != k && i != k) t.SanrentanOdds(i, j, k) = {1, 9000 * i + 300 * j + k};
            }
        }
    t.SanrentanOdds(1, 2, 3) = {-2, -1};
    return t;
}

void expectSameOdds(const OddsTables& a, const OddsTables& b) {
    EXPECT_EQ(a.OddsCount, b.OddsCount);
    EXPECT_TRUE(a.TansyoOdds == b.TansyoOdds);
    EXPECT_TRUE(a.FukusyoOdds == b.FukusyoOdds);
    EXPECT_TRUE(a.UmarenOdds == b.UmarenOdds);
    EXPECT_TRUE(a.WideOdds == b.WideOdds);
    EXPECT_TRUE(a.UmatanOdds == b.UmatanOdds);
    EXPECT_TRUE(a.SanrenpukuOdds == b.SanrenpukuOdds);
    EXPECT_TRUE(a.SanrentanOdds == b.SanrentanOdds);
    for (int h = 1; h <= kHorseMax; ++h) {
        // Reals are stored with 15 significant digits.
        EXPECT_NEAR(a.OddsHensachi(h), b.OddsHensachi(h), 1e-12) << h;
        EXPECT_NEAR(a.TansyoShijiritsu(h), b.TansyoShijiritsu(h), 1e-15) << h;
        EXPECT_NEAR(a.UmarenShijiritsu(h), b.UmarenShijiritsu(h), 1e-15) << h;
    }
}

void expectOddsCleared(const OddsTables& t) {
    OddsTables empty;
    expectSameOdds(t, empty);
    EXPECT_TRUE(t.UmarenKairi == empty.UmarenKairi);
    EXPECT_TRUE(t.SanrentanKairi == empty.SanrentanKairi);
}

TEST_F(RaceFilesTest, OddsFileRoundTripHasTheFixedLayout) {
    const OddsTables written = sampleOdds();
    ASSERT_EQ(WriteOddsCache(folders, kRace, written), 0);
    auto ls = lines('4');
    ASSERT_EQ(ls.size(), 6177u);
    EXPECT_EQ(ls[0], "\"00\",6");
    EXPECT_EQ(ls[1], "\"10\"");
    EXPECT_EQ(ls[2].substr(0, 8), "\"11\",1,6");
    EXPECT_EQ(ls[19], "\"11\",18,48,-1,0.180123456789,-2,-1,1,29,1,51");
    EXPECT_EQ(ls[20], "\"20\"");
    EXPECT_EQ(ls[21 + 1], "\"21\",1,2,1,102,1,12,1,22,1,202");  // (1,2)
    EXPECT_EQ(ls[21 + 18], "\"21\",2,1,0,-1,0,-1,0,-1,1,401");  // (2,1): only the exacta is sold
    EXPECT_EQ(ls[345 + 5], "\"31\",1,1,6,0,-1,0,-1");
    EXPECT_EQ(ls[6176], "\"31\",18,18,18,0,-1,0,-1");

    OddsTables read;
    ASSERT_EQ(ReadOddsCache(folders, kRace, read), 0);
    expectSameOdds(read, written);
}

TEST_F(RaceFilesTest, ReadingOddsComputesValueRatios) {
    OddsTables t;
    t.OddsCount = 6;
    t.TansyoOdds(1) = {1, 35};
    t.TansyoOdds(2) = {1, 50};
    t.TansyoOdds(3) = {1, 100};
    for (int h = 1; h <= 3; ++h) t.TansyoShijiritsu(h) = 0.788 / (t.TansyoOdds(h).odds - 1) * 10;
    t.UmarenOdds(1, 2) = {1, 80};
    t.UmatanOdds(1, 2) = {1, 120};
    t.SanrenpukuOdds(1, 2, 3) = {2, 300};  // state does not matter for the ratio
    t.SanrentanOdds(1, 2, 3) = {1, 1000};
    ASSERT_EQ(WriteOddsCache(folders, kRace, t), 0);

    OddsTables r;
    ASSERT_EQ(ReadOddsCache(folders, kRace, r), 0);
    EXPECT_NEAR(r.TansyoShijiritsu(1), 0.23176470588235296, 1e-13);
    // Hand-computed: p(h) = 0.788 / (N - 1) x 10, ratio = P / (7.38 / (N - 1)).
    EXPECT_NEAR(r.UmarenKairi(1, 2), 0.9947775476024063, 1e-9);
    EXPECT_NEAR(r.UmatanKairi(1, 2), 0.7823008136010042, 1e-9);
    EXPECT_NEAR(r.SanrenpukuKairi(1, 2, 3), 1.2706764011506615, 1e-9);
    EXPECT_NEAR(r.SanrentanKairi(1, 2, 3), 0.860587398259307, 1e-9);
    // Horse 4 has no win odds, (1,3) no quinella odds: no ratio.
    EXPECT_EQ(r.UmarenKairi(1, 4), -1);
    EXPECT_EQ(r.UmarenKairi(1, 3), -1);
    EXPECT_EQ(r.SanrentanKairi(1, 2, 4), -1);
}

TEST_F(RaceFilesTest, OddsCountZeroReadsFine) {
    OddsTables t;
    ASSERT_EQ(WriteOddsCache(folders, kRace, t), 0);
    OddsTables r = sampleOdds();
    EXPECT_EQ(ReadOddsCache(folders, kRace, r), 0);
    EXPECT_EQ(r.OddsCount, 0);
    EXPECT_TRUE(exists('4'));
}

TEST_F(RaceFilesTest, DamagedOddsFilesAreDeletedAndTablesCleared) {
    ASSERT_EQ(WriteOddsCache(folders, kRace, sampleOdds()), 0);
    const auto good = lines('4');

    auto expectRejected = [&](const std::vector<std::string>& ls, const std::string& what) {
        writeLines('4', ls);
        OddsTables r = sampleOdds();
        EXPECT_EQ(ReadOddsCache(folders, kRace, r), -1) << what;
        EXPECT_FALSE(exists('4')) << what;
        expectOddsCleared(r);
    };
    for (size_t cut : {0u, 1u, 2u, 19u, 20u, 21u, 344u, 345u, 6176u})
        expectRejected(std::vector<std::string>(good.begin(), good.begin() + cut),
                       "cut after " + std::to_string(cut));

    auto swapped = good;
    std::swap(swapped[22], swapped[23]);  // two "21" lines out of order
    expectRejected(swapped, "21 lines swapped");

    auto bad = good;
    bad[0] = "\"00\",x";
    expectRejected(bad, "count not numeric");
    bad = good;
    bad[5] = "\"11\",4,1,2,3,1,50,1,20,1,abc";
    expectRejected(bad, "odds not numeric");
    bad = good;
    bad[20] = "\"30\"";
    expectRejected(bad, "wrong tag");
    bad = good;
    bad[100] += ",1";
    expectRejected(bad, "extra field");
    bad = good;
    bad[400] = "\"31\",1,3,1,0,-1";
    expectRejected(bad, "short line");
}

TEST_F(RaceFilesTest, OddsAsRealsAreRounded) {
    OddsTables t;
    ASSERT_EQ(WriteOddsCache(folders, kRace, t), 0);
    auto ls = lines('4');
    ls[2] = "\"11\",1.0,-1,-1,-1,1,35.4,1,12.5,1,13.5";
    writeLines('4', ls);
    OddsTables r;
    ASSERT_EQ(ReadOddsCache(folders, kRace, r), 0);
    EXPECT_EQ(r.TansyoOdds(1).odds, 35);
    EXPECT_EQ(r.FukusyoOdds(1).lowOdds, 12);  // half to even
    EXPECT_EQ(r.FukusyoOdds(1).highOdds, 14);
}

TEST_F(RaceFilesTest, MiningFileStopsAtTheFirstHorseWithoutScore) {
    MiningTables t;
    t.MiningKubun = "2";
    for (int h = 1; h <= 8; ++h) t.MiningHensachi(h) = 40 + h + 0.5;
    t.MiningHensachi(5) = -1;  // no predicted time
    ASSERT_EQ(WriteMiningCache(folders, kRace, t), 0);
    auto ls = lines('7');
    ASSERT_EQ(ls.size(), 6u);
    EXPECT_EQ(ls[1], "\"10\",\"2\"");
    EXPECT_EQ(ls[5], "\"11\",4,44.5");

    MiningTables r;
    r.MiningHensachi(6) = 99;
    ASSERT_EQ(ReadMiningCache(folders, kRace, r), 0);
    EXPECT_EQ(r.MiningKubun, "2");
    EXPECT_EQ(r.MiningHensachi(4), 44.5);
    for (int h = 5; h <= kHorseMax; ++h) EXPECT_EQ(r.MiningHensachi(h), -1) << h;
}

TEST_F(RaceFilesTest, KekkaFileRoundTrip) {
    KekkaTables t;
    t.KekkaKubun = "7";
    for (int h = 1; h <= kHorseMax; ++h) {
        t.KekkaHensachi(h) = 30 + h * 1.5;
        t.KekkaNyusen(h) = 19 - h;
        t.KekkaZenhan(h) = 800 + h;
        t.KekkaAgari(h) = 340 + h;
    }
    t.KekkaHensachi(3) = 0;  // a horse without time scores 0 and is still written
    t.KekkaNyusen(3) = 0;
    ASSERT_EQ(WriteKekkaCache(folders, kRace, t), 0);
    EXPECT_EQ(lines('8').size(), 20u);
    KekkaTables r;
    ASSERT_EQ(ReadKekkaCache(folders, kRace, r), 0);
    EXPECT_EQ(r.KekkaKubun, "7");
    EXPECT_TRUE(r.KekkaHensachi == t.KekkaHensachi);
    EXPECT_TRUE(r.KekkaNyusen == t.KekkaNyusen);
    EXPECT_TRUE(r.KekkaZenhan == t.KekkaZenhan);
    EXPECT_TRUE(r.KekkaAgari == t.KekkaAgari);
}

TEST_F(RaceFilesTest, ForecastAndResultFilesWithWrongContentAreDeleted) {
    struct Case {
        char kind;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {'7', {"\"00\"", "\"10\",\"5\""}},                           // result classification in a forecast
        {'7', {"\"00\"", "\"10\",\"1\"", "\"11\",2,50"}},            // horse 2 before horse 1
        {'7', {"\"10\",\"1\""}},                                     // no "00"
        {'8', {"\"00\"", "\"10\",\"3\""}},                           // forecast classification in a result
        {'8', {"\"00\"", "\"10\",\"5\"", "\"11\",1,50,40000,1,1"}},  // arrival order beyond 16 bits
        {'8', {"\"00\"", "\"10\",\"5\"", "\"11\",1,50,1,1"}},        // field missing
    };
    for (const auto& c : cases) {
        writeLines(c.kind, c.lines);
        MiningTables m;
        m.MiningKubun = "1";
        KekkaTables k;
        k.KekkaKubun = "5";
        k.KekkaNyusen(1) = 3;
        int rc = c.kind == '7' ? ReadMiningCache(folders, kRace, m) : ReadKekkaCache(folders, kRace, k);
        EXPECT_EQ(rc, -1) << c.lines.back();
        EXPECT_FALSE(exists(c.kind)) << c.lines.back();
        if (c.kind == '7')
            EXPECT_EQ(m.MiningKubun, "");
        else
            EXPECT_EQ(k.KekkaNyusen(1), -1);
    }
}

TEST_F(RaceFilesTest, BetListRoundTripMarksEveryBetTypeAsWritten) {
    RaceTables t;
    t.odds = sampleOdds();
    const std::vector<KaimeRow> rows = {{"1", "05", "100"},     {"2", "06", "200"},   {"4", "0703", "1000"},
                                        {"5", "0102", "300"},   {"6", "0201", "400"}, {"7", "010203", "500"},
                                        {"8", "030201", "600"}, {"9", "01", "700"}};
    for (size_t i = 0; i < rows.size(); ++i) t.KaimeData[static_cast<int>(i) + 1] = rows[i];
    ASSERT_EQ(WriteKaimeCache(folders, kRace, t.KaimeData), 0);
    EXPECT_EQ(lines('5')[2], "\"4\",\"0703\",\"1000\"");
    EXPECT_FALSE(fs::exists(file('5').string() + ".tmp"));

    RaceTables r;
    r.odds = sampleOdds();
    ASSERT_EQ(ReadKaimeCache(folders, kRace, r), 0);
    EXPECT_EQ(KaimeRowCount(r), 8);
    EXPECT_EQ(r.KaimeData[3], rows[2]);  // the row stays although (7,3) carries no odds
    EXPECT_EQ(r.KaimeData[8], rows[7]);  // unknown code: kept, marks nothing
    EXPECT_EQ(r.odds.TansyoOdds(5).state, kOddsInBetList);
    EXPECT_EQ(r.odds.FukusyoOdds(6).lowState, kOddsInBetList);
    EXPECT_EQ(r.odds.FukusyoOdds(6).highState, kOddsOnSale);
    EXPECT_EQ(r.odds.UmarenOdds(7, 3), (OddsEntry{kOddsInBetList, -1}));
    EXPECT_EQ(r.odds.UmarenOdds(3, 7).state, kOddsOnSale);
    EXPECT_EQ(r.odds.WideOdds(1, 2).lowState, kOddsInBetList);
    EXPECT_EQ(r.odds.UmatanOdds(2, 1).state, kOddsInBetList);
    EXPECT_EQ(r.odds.SanrenpukuOdds(1, 2, 3).state, kOddsInBetList);
    EXPECT_EQ(r.odds.SanrentanOdds(3, 2, 1).state, kOddsInBetList);
    EXPECT_EQ(r.odds.TansyoOdds(1).state, kOddsOnSale);
}

TEST_F(RaceFilesTest, BetListWithoutRowsDeletesTheFile) {
    RaceTables t;
    t.KaimeData[1] = {"1", "01", "100"};
    ASSERT_EQ(WriteKaimeCache(folders, kRace, t.KaimeData), 0);
    ASSERT_TRUE(exists('5'));
    ClearKaimeData(t);
    EXPECT_EQ(WriteKaimeCache(folders, kRace, t.KaimeData), 0);
    EXPECT_FALSE(exists('5'));
    RaceTables r;
    LoadRaceFiles(folders, kRace, r);
    EXPECT_EQ(KaimeRowCount(r), 0);
}

TEST_F(RaceFilesTest, DamagedBetListIsDeletedWithoutLeavingMarks) {
    writeLines('5', {"\"4\",\"0102\",\"100\"", "\"4\",\"0103\",\"1,000\""});
    RaceTables r;
    r.KaimeData[1] = {"1", "01", "100"};
    EXPECT_EQ(ReadKaimeCache(folders, kRace, r), -1);
    EXPECT_FALSE(exists('5'));
    EXPECT_EQ(KaimeRowCount(r), 0);
    EXPECT_EQ(r.odds.UmarenOdds(1, 2).state, kOddsNoData);  // first line was not applied

    std::vector<std::string> tooMany(kKaimeRows + 1, "\"1\",\"01\",\"100\"");
    writeLines('5', tooMany);
    EXPECT_EQ(ReadKaimeCache(folders, kRace, r), -1);
    EXPECT_FALSE(exists('5'));
    tooMany.pop_back();
    writeLines('5', tooMany);
    EXPECT_EQ(ReadKaimeCache(folders, kRace, r), 0);
    EXPECT_EQ(KaimeRowCount(r), kKaimeRows);
}

TEST_F(RaceFilesTest, WriteKaimeStopsAtTheFirstEmptyRow) {
    RaceTables t;
    t.KaimeData[1] = {"1", "01", "100"};
    t.KaimeData[3] = {"1", "02", "100"};
    ASSERT_EQ(WriteKaimeCache(folders, kRace, t.KaimeData), 0);
    EXPECT_EQ(lines('5').size(), 1u);
}

TEST_F(RaceFilesTest, MarksRoundTripInCp932) {
    const std::vector<MarkEntry> rows = {{"2019104567", " ◎ "}, {"2019100001", ""}, {"2019100002", "▲"}};
    ASSERT_EQ(WriteMarkCache(folders, kRace, rows), 0);
    auto bytes = ReadFileBytes(file('6'));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->substr(0, 17), "\"2019104567\",\"\x81\x9d\"");  // mark trimmed, CP932

    RaceTables r;
    ASSERT_EQ(ReadMarkCache(folders, kRace, r), 0);
    EXPECT_EQ(r.MarkList[1], (MarkEntry{"2019104567", "◎"}));
    EXPECT_EQ(r.MarkList[2], (MarkEntry{"2019100001", ""}));
    EXPECT_EQ(r.MarkList[3], (MarkEntry{"2019100002", "▲"}));
    EXPECT_EQ(r.MarkList[4].UmaCode, "");

    EXPECT_EQ(WriteMarkCache(folders, kRace, {}), 0);  // a race card without rows
    EXPECT_FALSE(exists('6'));
}

// A UmaCode as delivered may hold a quote or a line break: the marks file keeps
// one record a line and two cells a record, each such character a space.
TEST_F(RaceFilesTest, MarksOfCodesWithQuotesOrLineBreaksReadBackInPlace) {
    const std::vector<MarkEntry> rows = {
        {"20191\"0456", "◎"}, {"2019\r\n00001", "○"}, {"2019100002\"", "▲"}, {"2019100003", "△"}};
    ASSERT_EQ(WriteMarkCache(folders, kRace, rows), 0);
    EXPECT_EQ(lines('6').size(), 4u);
    RaceTables r;
    ASSERT_EQ(ReadMarkCache(folders, kRace, r), 0);
    EXPECT_EQ(r.MarkList[1], (MarkEntry{"20191 0456", "◎"}));
    EXPECT_EQ(r.MarkList[2], (MarkEntry{"2019  00001", "○"}));
    EXPECT_EQ(r.MarkList[3], (MarkEntry{"2019100002 ", "▲"}));
    EXPECT_EQ(r.MarkList[4], (MarkEntry{"2019100003", "△"}));
    EXPECT_EQ(r.MarkList[5].UmaCode, "");
}

TEST_F(RaceFilesTest, FailedWritesDropDerivedFilesButKeepTheUsersWork) {
    ASSERT_EQ(WriteMarkCache(folders, kRace, {{"2019104567", "◎"}}), 0);
    const std::string before = test::ReadCp932(file('6'));
    // A character CP932 cannot hold makes the write fail.
    EXPECT_EQ(WriteMarkCache(folders, kRace, {{"2019104567", "\xF0\x9F\x98\x80"}}), -1);
    EXPECT_EQ(test::ReadCp932(file('6')), before);
    RaceTables t;
    t.KaimeData[1] = {"1", "01", "\xF0\x9F\x98\x80"};
    writeLines('5', {"\"1\",\"02\",\"100\""});
    EXPECT_EQ(WriteKaimeCache(folders, kRace, t.KaimeData), -1);
    EXPECT_EQ(lines('5'), (std::vector<std::string>{"\"1\",\"02\",\"100\""}));

    MiningTables m;
    m.MiningKubun = "1";
    ASSERT_EQ(WriteMiningCache(folders, kRace, m), 0);
    m.MiningKubun = "\xF0\x9F\x98\x80";
    EXPECT_EQ(WriteMiningCache(folders, kRace, m), -1);
    EXPECT_FALSE(exists('7'));
}

TEST_F(RaceFilesTest, TwoCharacterMarkDeletesTheMarksFile) {
    writeLines('6', {"\"2019104567\",\"◎\"", "\"2019100001\",\"◎○\""});
    RaceTables r;
    EXPECT_EQ(ReadMarkCache(folders, kRace, r), -1);
    EXPECT_FALSE(exists('6'));
    EXPECT_EQ(r.MarkList[1].UmaCode, "");

    writeLines('6', std::vector<std::string>(kMarkEntries + 1, "\"2019104567\",\"◎\""));
    EXPECT_EQ(ReadMarkCache(folders, kRace, r), -1);
    EXPECT_FALSE(exists('6'));
}

TEST(RaceTables, AddMarkTakesTheFirstFreeEntryAndOverwritesTheLast) {
    RaceTables t;
    AddMark(t, "A", "◎");
    AddMark(t, "A", "○");  // the same runner again: a second entry
    EXPECT_EQ(t.MarkList[1], (MarkEntry{"A", "◎"}));
    EXPECT_EQ(t.MarkList[2], (MarkEntry{"A", "○"}));
    for (int i = 3; i <= 299; ++i) AddMark(t, "X" + std::to_string(i), "▲");
    EXPECT_EQ(t.MarkList[300].UmaCode, "");  // entry 300 is only a last resort
    AddMark(t, "Y", "△");
    AddMark(t, "Z", "×");
    EXPECT_EQ(t.MarkList[300], (MarkEntry{"Z", "×"}));
    EXPECT_EQ(t.MarkList[299].UmaCode, "X299");
}

TEST(RaceTables, GetOddsSelectors) {
    OddsTables t = sampleOdds();
    EXPECT_EQ(GetOdds(t, "2", "05", "LOW"), 16);
    EXPECT_EQ(GetOdds(t, "2", "05", ""), 25);
    EXPECT_EQ(GetOdds(t, "1", "05", "LOW"), 70);
    EXPECT_EQ(GetOdds(t, "4", "0307", ""), 307);
    EXPECT_EQ(GetOdds(t, "4", "0703", ""), -1);  // taken as written: no odds at (7,3)
    EXPECT_EQ(GetOdds(t, "5", "0307", "LOW"), 37);
    EXPECT_EQ(GetOdds(t, "5", "0307", "low"), 67);
    EXPECT_EQ(GetOdds(t, "6", "0703", ""), 1403);
    EXPECT_EQ(GetOdds(t, "7", "010203", ""), 1063);
    EXPECT_EQ(GetOdds(t, "8", "020103", ""), 18303);
    EXPECT_EQ(GetOdds(t, "3", "0102", ""), 0);
    EXPECT_EQ(GetOdds(t, "", "01", ""), 0);
    EXPECT_EQ(GetOdds(t, "1", "ab", ""), -1);
    EXPECT_EQ(GetOdds(t, "1", "19", ""), -1);
    EXPECT_EQ(GetOdds(t, "1", "00", ""), -1);
    EXPECT_EQ(GetOdds(t, "4", "01", ""), -1);  // second horse missing
    EXPECT_EQ(GetOdds(t, "8", "01020", ""), -1);
}

TEST(RaceTables, KumibanHorseReadsTwoDigitsPerHorse) {
    EXPECT_EQ(KumibanHorse("030106", 1), 3);
    EXPECT_EQ(KumibanHorse("030106", 3), 6);
    EXPECT_EQ(KumibanHorse("030106", 4), std::nullopt);
    EXPECT_EQ(KumibanHorse("0319", 2), std::nullopt);
    EXPECT_EQ(KumibanHorse("0301", 0), std::nullopt);
    // Positions far out of range are refused without overflowing (UBSan in the asan preset).
    EXPECT_EQ(KumibanHorse("0301", std::numeric_limits<int>::max()), std::nullopt);
    EXPECT_EQ(KumibanHorse("0301", std::numeric_limits<int>::min()), std::nullopt);
}

TEST_F(RaceFilesTest, LoadReadsInOrderAndDropsOnlyDamagedFiles) {
    ASSERT_EQ(WriteOddsCache(folders, kRace, sampleOdds()), 0);
    writeLines('7', {"\"00\"", "\"10\",\"9\""});  // damaged
    KekkaTables k;
    k.KekkaKubun = "5";
    k.KekkaHensachi(1) = 60;
    ASSERT_EQ(WriteKekkaCache(folders, kRace, k), 0);
    writeLines('5', {"\"1\",\"03\",\"100\""});
    ASSERT_EQ(WriteMarkCache(folders, kRace, {{"2019104567", "◎"}}), 0);

    RaceTables t;
    t.mining.MiningKubun = "1";
    AddMark(t, "stale", "×");
    RaceFilesRead read = LoadRaceFiles(folders, kRace, t);
    EXPECT_TRUE(read.odds);
    EXPECT_FALSE(read.mining);
    EXPECT_TRUE(read.kekka);
    EXPECT_TRUE(read.kaime);
    EXPECT_TRUE(read.marks);
    EXPECT_EQ(t.odds.OddsCount, 6);
    EXPECT_EQ(t.odds.TansyoOdds(3).state, kOddsInBetList);  // the bet list was read after the odds
    EXPECT_EQ(t.mining.MiningKubun, "");
    EXPECT_FALSE(exists('7'));
    EXPECT_EQ(t.kekka.KekkaHensachi(1), 60);
    EXPECT_EQ(t.MarkList[1].UmaCode, "2019104567");

    // Another race without files: everything back to no data.
    Application app;
    app.folders = folders;
    app.raceTables = t;
    RaceFilesRead none = LoadRaceFiles(app.folders, "2026120906050812", app.raceTables);
    EXPECT_FALSE(none.odds || none.mining || none.kekka || none.kaime || none.marks);
    expectOddsCleared(app.raceTables.odds);
    EXPECT_EQ(app.raceTables.kekka.KekkaKubun, "");
    EXPECT_EQ(KaimeRowCount(app.raceTables), 0);
    EXPECT_EQ(app.raceTables.MarkList[1].UmaCode, "");
}

TEST_F(RaceFilesTest, OnlyRaceIdsNameFiles) {
    OddsTables t;
    EXPECT_EQ(WriteOddsCache(folders, "../../evil000000", t), -1);
    EXPECT_EQ(WriteMarkCache(folders, "12345", {{"A", "◎"}}), -1);
    EXPECT_EQ(ReadOddsCache(folders, "", t), -1);
    EXPECT_TRUE(fs::is_empty(folders.cache));
}

}  // namespace
}  // namespace veltrix
