#include "store/weekly_store.h"

#include <gtest/gtest.h>

#include "store/cache_files.h"
#include "base/encoding.h"
#include "support/fake_host.h"
#include "support/synthetic_store.h"

namespace veltrix {
namespace {

namespace fs = std::filesystem;

std::string pad80(const std::string& text, const std::string& id) { return text + std::string(80, ' ') + id; }

const std::string kRace1 = "2009011706010101";
const std::string kRace2 = "2009011706010111";

// Two races, three runners, four past runs, written by hand.
std::string cache1Text() {
    return "\"0\",2,\"KONSYU\"\r\n"
           "\"1\",\"" +
           kRace1 + "\",\"02\",\"12\",\"703\",\"24\",\"" +
           pad80("2009/01/17 中山 01R 10:05 ダ1200 サラ３歳 未勝利", kRace1) + "\"\r\n" + "\"1\",\"" +
           kRace2 + "\",\"01\",\"13\",\"999\",\"11\",\"" +
           pad80("2009/01/17 中山 11R 15:25 芝1600 ニューイヤーＳ", kRace2) + "\"\r\n";
}

std::string runner(const std::string& race, const std::string& uma, const std::string& num,
                   const std::string& name) {
    return "\"1\",\"" + race + "\",\"" + uma + "\",\"1\",\"" + num + "\",\"" + name +
           "\",\"牡\",\"03\",\"560\",\"武豊\",\"角居勝彦\",\"00666\",\"01002\"\r\n";
}

std::string cache2Text() {
    return "\"0\",3\r\n" + runner(kRace1, "2006100001", "01", "サクラヴィクトリー") +
           runner(kRace1, "2006100002", "02", "メジロパーマー") +
           runner(kRace2, "2005100003", "01", "ガーネット");
}

// Columns 1-31 of a past run; course (9), track type (11) and abnormality (25) vary.
std::string pastRun(const std::string& uma, const std::string& race, const std::string& course,
                    const std::string& track, const std::string& abnormal,
                    const std::string& name = "有馬記念") {
    std::string s = "\"1\",\"" + uma + "\",\"" + race + "\",\"2008/12/28\",\"" + name +
                    "\",\"サラ３歳以上\",\"A24\",\"3\",\"オープン\",\"" + course + "\",\"2500\",\"" + track +
                    "\",\"13\",\"999\",\"11\",\"良\",\"16\",\"8\",\"16\",\"牡\",\"04\",\"570\",\"武豊\","
                    "\"480\",\"+002\",\"" +
                    abnormal + "\",\"01\",\"01\",\"2321\",\"03030201\",\"0045\",\"02\"\r\n";
    return s;
}

std::string cache3Text() {
    return "\"0\",4\r\n" + pastRun("2005100003", "2008122806050810", "06", "芝", "0") +
           pastRun("2006100001", "2008110105040311", "05", "芝", "0") +
           pastRun("2006100001", "2008112905050711", "05", "芝", "5") +
           pastRun("2006100002", "2008120944010111", "44", "ダ", "0");
}

class WeeklyStore : public ::testing::Test {
protected:
    void SetUp() override {
        folders = Folders::under(dir.path());
        fs::create_directories(folders.cache);
        test::WriteCp932(folders.cache / kCache1, cache1Text());
        test::WriteCp932(folders.cache / kCache2, cache2Text());
        test::WriteCp932(folders.cache / kCache3, cache3Text());
    }
    bool weeklyFilesGone() const {
        return !fs::exists(folders.cache / kCache1) && !fs::exists(folders.cache / kCache2) &&
               !fs::exists(folders.cache / kCache3);
    }
    static bool isEmpty(const Store& s) {
        return s.DataMode.empty() && s.RaceCount == 0 && s.UmaCount == 0 && s.HistoryCount == 0 &&
               s.RaceInfo.rows() == 0 && s.UmaInfo.rows() == 0 && s.HistoryInfo.rows() == 0 &&
               s.RaceLabel.empty() && s.RaceIdList.empty() && s.UmaKey.empty() && s.HistoryKey.empty();
    }
    test::TempDir dir;
    Folders folders;
    Store store;
};

TEST_F(WeeklyStore, LoadFillsTablesKeysAndLoadFlag) {
    ASSERT_FALSE(LoadRaceCache(store, folders));
    EXPECT_EQ(store.DataMode, "KONSYU");
    ASSERT_EQ(store.RaceCount, 2);
    EXPECT_EQ(store.RaceIdList[2], kRace2);
    EXPECT_EQ(store.RaceInfo.at(1, 4), "703");
    EXPECT_EQ(store.RaceLabel[1], pad80("2009/01/17 中山 01R 10:05 ダ1200 サラ３歳 未勝利", kRace1));
    ASSERT_EQ(store.UmaCount, 3);
    EXPECT_EQ(store.UmaInfo.cols(), 35);
    EXPECT_EQ(store.UmaInfo.at(1, 5), "サクラヴィクトリー");
    EXPECT_EQ(store.UmaInfo.at(3, 12), "01002");
    EXPECT_EQ(store.UmaKey[3], kRace2 + "01");
    ASSERT_EQ(store.HistoryCount, 4);
    EXPECT_EQ(store.HistoryInfo.cols(), 43);
    EXPECT_EQ(store.HistoryKey[2], "20061000012008110105040311");
    EXPECT_EQ(store.HistoryInfo.at(1, 31), "02");
    // Central course, normal finish and abnormality 5 stay in; a local course is out.
    EXPECT_EQ(store.HistoryInfo.at(1, 43), "ON");
    EXPECT_EQ(store.HistoryInfo.at(3, 43), "ON");
    EXPECT_EQ(store.HistoryInfo.at(4, 43), "OUT");
}

TEST_F(WeeklyStore, LoadFlagOfCourseJumpAndAbnormality) {
    std::string text = "\"0\",9\r\n";
    struct Case {
        const char* course;
        const char* track;
        const char* abnormal;
        const char* flag;
    };
    const Case cases[] = {{"01", "芝", "0", "ON"},  {"10", "ダ", "7", "ON"},  {"11", "芝", "0", "OUT"},
                          {"30", "ダ", "0", "OUT"}, {"06", "障", "0", "OUT"}, {"06", "芝", "1", "OUT"},
                          {"06", "芝", "4", "OUT"}, {"06", "芝", "6", "OUT"}, {"1", "芝", "0", "OUT"}};
    for (const auto& c : cases)
        text += pastRun("2006100001", "2008110105040311", c.course, c.track, c.abnormal);
    test::WriteCp932(folders.cache / kCache3, text);
    ASSERT_FALSE(LoadRaceCache(store, folders));
    for (int r = 1; r <= 9; ++r) EXPECT_EQ(store.HistoryInfo.at(r, 43), cases[r - 1].flag) << "case " << r;
}

TEST_F(WeeklyStore, RecordsBeyondTheCountAreIgnored) {
    auto bytes = Utf8ToCp932(cache2Text() + "garbage,\"x\r\n\"2\"\r\n");
    ASSERT_TRUE(WriteFileBytes(folders.cache / kCache2, *bytes + "\x82\x20"));  // never read
    ASSERT_FALSE(LoadRaceCache(store, folders));
    EXPECT_EQ(store.UmaCount, 3);
}

TEST_F(WeeklyStore, OnlyTheRaceCountIsSixteenBit) {
    std::string races = "\"0\",32767,\"TOKUBETSU\"\r\n";
    std::string line = "\"1\",\"" + kRace1 + "\",\"002\",\"12\",\"703\",\"24\",\"x\"\r\n";
    for (int i = 0; i < 32767; ++i) races += line;
    std::string runners = "\"0\",40000\r\n";
    for (int i = 0; i < 40000; ++i)
        runners += "\"1\",\"r\",\"u\",\"\",\"001\",\"n\",\"\",\"3\",\"000\",\"\",\"t\",\"\",\"00001\"\r\n";
    test::WriteCp932(folders.cache / kCache1, races);
    test::WriteCp932(folders.cache / kCache2, runners);
    ASSERT_FALSE(LoadRaceCache(store, folders));
    EXPECT_EQ(store.RaceCount, 32767);
    EXPECT_EQ(store.UmaCount, 40000);
    EXPECT_EQ(store.DataMode, "TOKUBETSU");

    races.replace(races.find("32767"), 5, "32768");
    races += line;
    test::WriteCp932(folders.cache / kCache1, races);
    test::WriteCp932(folders.cache / kCache2, runners);
    EXPECT_TRUE(LoadRaceCache(store, folders));
    EXPECT_TRUE(weeklyFilesGone());
    EXPECT_TRUE(isEmpty(store));
}

// Every damaged file fails the load, deletes all three weekly files and
// leaves an empty store; other files of the cache folder stay.
TEST_F(WeeklyStore, DamagedFilesDeleteTheWeekAndEmptyTheStore) {
    struct Damage {
        const char* what;
        const char* file;
        std::string text;  // empty: the file is missing
    };
    std::string c1 = cache1Text(), c3 = cache3Text();
    const Damage damages[] = {
        {"missing file", kCache2, ""},
        {"wrong header", kCache1, "\"1\"" + c1.substr(3)},
        {"wrong mode", kCache1, std::string(c1).replace(c1.find("KONSYU"), 6, "KONSYUU")},
        {"wrong tag", kCache3, std::string(c3).replace(c3.rfind("\"1\",\"2006100002\""), 3, "\"2\"")},
        {"premature end of file", kCache3, std::string(c3).replace(0, 7, "\"0\",5\r\n")},
        {"record cut short", kCache2, cache2Text().substr(0, cache2Text().size() - 9)},
        {"count 32768", kCache1, std::string(c1).replace(4, 1, "32768")},
        {"non-numeric count", kCache2, "\"0\",3x\r\n" + cache2Text().substr(7)},
        {"empty count", kCache3, "\"0\",\r\n" + c3.substr(7)},
        {"negative count", kCache3, "\"0\",-1\r\n"},
        {"absurd count", kCache3, "\"0\",2000000000\r\n" + c3.substr(7)},
        {"undecodable bytes", kCache2, "written below"},
        {"empty file", kCache1, "\r\n"},
        // As an older writer left a name with a line feed: the cells after it would shift.
        {"line feed in a cell", kCache2,
         std::string(cache2Text()).replace(cache2Text().find("メジロ"), 9, "メジ\nロ")},
    };
    for (const auto& d : damages) {
        SetUp();
        test::WriteCp932(folders.cache / "cache4" += kRace1, "\"00\",1\r\n");
        if (d.text.empty()) {
            fs::remove(folders.cache / d.file);
        } else if (d.what == std::string("undecodable bytes")) {
            // A horse name whose double-byte character is cut.
            auto bytes = Utf8ToCp932(cache2Text());
            auto name = Utf8ToCp932("ガーネット");
            bytes->replace(bytes->find(*name), name->size(), "\x82\x20");
            ASSERT_TRUE(WriteFileBytes(folders.cache / d.file, *bytes));
        } else {
            test::WriteCp932(folders.cache / d.file, d.text);
        }
        ASSERT_FALSE(LoadRaceCache(store, folders) == false) << d.what;
        EXPECT_TRUE(weeklyFilesGone()) << d.what;
        EXPECT_TRUE(isEmpty(store)) << d.what;
        EXPECT_TRUE(fs::exists(folders.cache / ("cache4" + kRace1))) << d.what;
    }
}

TEST_F(WeeklyStore, SaveWritesTheFormatAndReportsProgress) {
    ASSERT_FALSE(LoadRaceCache(store, folders));
    store.HistoryInfo.at(2, 4) = "ＪＣ\"記念\"＂ﾀﾞｰﾋﾞｰ　Ｓ";
    test::FakeUserInterface ui;
    test::FakePump pump;
    ASSERT_FALSE(SaveRaceCache(store, folders, ui, pump));
    EXPECT_EQ(ui.statuses, (std::vector<std::string>{"レース情報をキャッシュへ書き込み中...",
                                                     "出走馬履歴情報をキャッシュへ書き込み中..."}));
    EXPECT_EQ(ui.progressMax, 9);
    EXPECT_EQ(ui.progress, 9);
    EXPECT_EQ(pump.turns, 9);  // once per record
    // The quote is cleaned in the table itself, then written.
    EXPECT_EQ(store.HistoryInfo.at(2, 4), "ＪＣ 記念  ダービー Ｓ");

    EXPECT_EQ(test::ReadCp932(folders.cache / kCache1), cache1Text());
    EXPECT_EQ(test::ReadCp932(folders.cache / kCache2), cache2Text());
    std::string c3 = test::ReadCp932(folders.cache / kCache3);
    EXPECT_EQ(c3.substr(0, 7), "\"0\",4\r\n");
    EXPECT_NE(c3.find("\"ＪＣ 記念  ダービー Ｓ\""), std::string::npos);

    Store back;
    ASSERT_FALSE(LoadRaceCache(back, folders));
    EXPECT_EQ(back.HistoryInfo, store.HistoryInfo);
}

TEST_F(WeeklyStore, TokubetsuEmptyColumnsAreWrittenAsEmptyQuotedFields) {
    ASSERT_FALSE(LoadRaceCache(store, folders));
    store.DataMode = "TOKUBETSU";
    for (int r = 1; r <= store.UmaCount; ++r) {
        store.UmaInfo.at(r, 3) = store.UmaInfo.at(r, 9) = store.UmaInfo.at(r, 11) = "";
        store.UmaInfo.at(r, 4) = "00" + std::to_string(r);
    }
    test::FakeUserInterface ui;
    test::FakePump pump;
    ASSERT_FALSE(SaveRaceCache(store, folders, ui, pump));
    std::string c2 = test::ReadCp932(folders.cache / kCache2);
    EXPECT_NE(c2.find("\"1\",\"" + kRace1 +
                      "\",\"2006100001\",\"\",\"001\",\"サクラヴィクトリー\",\"牡\",\"03\",\"560\","
                      "\"\",\"角居勝彦\",\"\",\"01002\"\r\n"),
              std::string::npos);
    Store back;
    ASSERT_FALSE(LoadRaceCache(back, folders));
    EXPECT_EQ(back.DataMode, "TOKUBETSU");
    EXPECT_EQ(back.UmaInfo, store.UmaInfo);
    EXPECT_EQ(back.UmaKey[2], kRace1 + "002");
}

TEST_F(WeeklyStore, FailedSaveZeroesCountsAndLeavesNoMixedWeek) {
    ASSERT_FALSE(LoadRaceCache(store, folders));
    store.UmaInfo.at(2, 5) = "\xF0\x9F\x90\x8E";  // a horse CP932 cannot write
    test::FakeUserInterface ui;
    test::FakePump pump;
    EXPECT_TRUE(SaveRaceCache(store, folders, ui, pump));
    EXPECT_EQ(store.RaceCount + store.UmaCount + store.HistoryCount, 0);
    EXPECT_TRUE(weeklyFilesGone());
}

TEST(WeeklyStoreRoundTrip, RealSizeWeekComesBackIdentical) {
    test::TempDir dir;
    Folders folders = Folders::under(dir.path());
    fs::create_directories(folders.cache);
    Store week = test::MakeSyntheticStore(7);
    ASSERT_EQ(week.RaceCount, 72);
    ASSERT_GT(week.UmaCount, 900);
    ASSERT_GT(week.HistoryCount, 25000);
    const Store original = week;
    test::FakeUserInterface ui;
    test::FakePump pump;
    ASSERT_FALSE(SaveRaceCache(week, folders, ui, pump));
    EXPECT_EQ(week.HistoryInfo, original.HistoryInfo);  // the generated names need no cleaning

    Store back;
    ASSERT_FALSE(LoadRaceCache(back, folders));
    EXPECT_EQ(back.DataMode, original.DataMode);
    EXPECT_EQ(back.RaceCount, original.RaceCount);
    EXPECT_EQ(back.UmaCount, original.UmaCount);
    EXPECT_EQ(back.HistoryCount, original.HistoryCount);
    EXPECT_TRUE(back.RaceInfo == original.RaceInfo);
    EXPECT_TRUE(back.RaceLabel == original.RaceLabel);
    EXPECT_TRUE(back.RaceIdList == original.RaceIdList);
    EXPECT_TRUE(back.UmaInfo == original.UmaInfo);
    EXPECT_TRUE(back.UmaKey == original.UmaKey);
    EXPECT_TRUE(back.HistoryInfo == original.HistoryInfo);
    EXPECT_TRUE(back.HistoryKey == original.HistoryKey);
}

TEST(SortKeys, QuicksortOrderOfEqualKeys) {
    // Traced by hand: pivot B(3) of 1..5 leaves A4 A2 | B3 | B1 C5; the parts
    // are already in place, so equal keys end up in this (unstable) order.
    Array1<std::string> keys;
    Array1<int> pos;
    for (const char* k : {"B", "A", "B", "A", "C"}) keys.push_back(k);
    for (int p : {1, 2, 3, 4, 5}) pos.push_back(p);
    test::FakePump pump;
    EXPECT_FALSE(SortKeys(keys, pos, 1, 5, pump));
    EXPECT_EQ(keys.raw(), (std::vector<std::string>{"A", "A", "B", "B", "C"}));
    EXPECT_EQ(pos.raw(), (std::vector<int>{4, 2, 3, 1, 5}));
}

TEST(SortKeys, SortsOnlyTheRangeAndCopesWithManyEqualKeys) {
    Array1<std::string> keys;
    Array1<int> pos;
    for (const char* k : {"9", "3", "1", "2", "0"}) keys.push_back(k);
    for (int p : {1, 2, 3, 4, 5}) pos.push_back(p);
    test::FakePump pump;
    SortKeys(keys, pos, 2, 4, pump);
    EXPECT_EQ(keys.raw(), (std::vector<std::string>{"9", "1", "2", "3", "0"}));
    EXPECT_EQ(pos.raw(), (std::vector<int>{1, 3, 4, 2, 5}));
    SortKeys(keys, pos, 3, 3, pump);  // a single element: nothing to do
    EXPECT_EQ(pos.raw(), (std::vector<int>{1, 3, 4, 2, 5}));

    const int n = 3000;
    Array1<std::string> same(n);
    Array1<int> p(n);
    for (int i = 1; i <= n; ++i) same[i] = "2006100001", p[i] = i;
    SortKeys(same, p, 1, n, pump);
    std::vector<int> sorted = p.raw();
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < n; ++i) ASSERT_EQ(sorted[static_cast<size_t>(i)], i + 1);
}

TEST_F(WeeklyStore, KeySearches) {
    ASSERT_FALSE(LoadRaceCache(store, folders));
    EXPECT_EQ(FindFirstRunner(store, kRace2, 1, 3), 3);
    EXPECT_EQ(FindFirstRunner(store, kRace1, 2, 3), 2);
    EXPECT_EQ(FindFirstRunner(store, kRace2, 1, 2), -1);
    EXPECT_EQ(FindFirstHistory(store, "2006100001", 1, 4), 2);
    EXPECT_EQ(FindFirstHistory(store, "2006100001", 3, 4), 3);
    EXPECT_EQ(FindFirstHistory(store, "2006100009", 1, 4), -1);
    EXPECT_EQ(FindUmaKey(store, kRace1 + "02", 1, 3), 2);
    EXPECT_EQ(FindUmaKey(store, kRace1 + "02", 3, 3), -1);
    for (int r = 1; r <= 4; ++r) EXPECT_EQ(FindHistoryKey(store, store.HistoryKey[r], 1, 4), r);
    EXPECT_EQ(FindHistoryKey(store, "20061000012008110105040312", 1, 4), -1);
    EXPECT_EQ(FindHistoryKey(store, "0", 1, 4), -1);
    EXPECT_EQ(FindHistoryKey(store, "9", 1, 4), -1);
    EXPECT_EQ(FindHistoryKey(store, store.HistoryKey[1], 1, 0), -1);
}

TEST(CourseName, CodesAndUnknown) {
    EXPECT_EQ(CourseName("01"), "札幌");
    EXPECT_EQ(CourseName("06"), "中山");
    EXPECT_EQ(CourseName("48"), "名古屋");
    EXPECT_EQ(CourseName("61"), "中京");
    EXPECT_EQ(CourseName("11"), "");
    EXPECT_EQ(CourseName("6"), "");
}

TEST(DeleteCache, PatternSingleFileAndUnsafeNames) {
    test::TempDir dir;
    Folders folders = Folders::under(dir.path());
    fs::create_directories(folders.cache);
    for (const char* n : {"cache1xxxxxxxx", "cache1xxxxxxxx.tmp",
                          "cache4"
                          "2009011706010111",
                          "cache42009011706010112",
                          "cache5"
                          "2009011706010111",
                          "other"})
        test::WriteCp932(folders.cache / n, "x");
    test::WriteCp932(dir.path() / "cache4", "outside");
    DeleteCache(folders, '1', "*");
    EXPECT_FALSE(fs::exists(folders.cache / "cache1xxxxxxxx"));
    EXPECT_FALSE(fs::exists(folders.cache / "cache1xxxxxxxx.tmp"));
    DeleteCache(folders, '4', "2009011706010111");
    EXPECT_FALSE(fs::exists(folders.cache / "cache42009011706010111"));
    EXPECT_TRUE(fs::exists(folders.cache / "cache42009011706010112"));
    DeleteCache(folders, '4', "9999");      // missing: ignored
    DeleteCache(folders, '4', "/../../x");  // not a plain name: nothing happens
    EXPECT_TRUE(fs::exists(dir.path() / "cache4"));
    EXPECT_TRUE(fs::exists(folders.cache / "cache52009011706010111"));
    EXPECT_TRUE(fs::exists(folders.cache / "other"));
    Folders missing = Folders::under(dir.path() / "nowhere");
    DeleteCache(missing, '1', "*");  // a missing folder is no error
}

}  // namespace
}  // namespace veltrix
