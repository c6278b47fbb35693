#include <gtest/gtest.h>

#include "racecard/race_card.h"
#include "race_fixture.h"
#include "support/fake_host.h"

namespace veltrix::test {
namespace {

std::string pastRace(int i) {
    // Distinct, ascending race ids of past races.
    std::string n = std::to_string(i);
    return "2008" + std::string(4 - std::min<size_t>(4, n.size()), '0') + n + "06010101";
}

class PastRunsTest : public ::testing::Test {
protected:
    PastRunsTest() : b(app.store) {}
    void build(int runners) {
        std::vector<RunnerSpec> specs;
        for (int i = 1; i <= runners; ++i) {
            RunnerSpec r;
            r.umaCode = Uma(i);
            r.umaban = (i < 10 ? "0" : "") + std::to_string(i);
            specs.push_back(r);
        }
        b.addRace(kRaceId, KonsyuLabel("中山", "ダ1200"), specs);
    }
    void run() {
        ASSERT_FALSE(FillRaceCard(app.raceCard, app.store, app.raceTables, kRaceId));
        app.raceCard.pastRuns.reset(app.raceCard.sheet(1).rowCount());
        BuildPastRuns(app.raceCard, app.store, pump);
    }
    const std::string& field(int row, int slot, int f) { return app.raceCard.pastRuns.at(row, slot, f); }

    Application app;
    StoreBuilder b;
    FakePump pump;
};

TEST_F(PastRunsTest, RunnerWithoutPastRunsGetsNoSlot) {
    build(2);
    b.addRun(Uma(2), {pastRace(1)});
    run();
    EXPECT_EQ(field(1, 1, 2), "");
    EXPECT_EQ(app.raceCard.pastRuns.slotCount(1), 0);
    EXPECT_EQ(app.raceCard.pastRuns.slotCount(2), 1);
}

TEST_F(PastRunsTest, FieldsOfANormalRun) {
    build(1);
    b.addRun(Uma(1), {pastRace(1), "0", "00040302"});
    run();
    EXPECT_EQ(field(1, 1, 1), pastRace(1));
    EXPECT_EQ(field(1, 1, 2), "2008/00/01");  // column 3 as stored
    EXPECT_EQ(field(1, 1, 3), "テスト特別");
    EXPECT_EQ(field(1, 1, 8), "中山");
    EXPECT_EQ(field(1, 1, 10), "1200");
    EXPECT_EQ(field(1, 1, 14), "56.0");
    EXPECT_EQ(field(1, 1, 16), " 478 (-4)");
    EXPECT_EQ(field(1, 1, 17), "　④③②");
    EXPECT_EQ(field(1, 1, 18), "03");
    EXPECT_EQ(field(1, 1, 19), "52.5");
    EXPECT_EQ(field(1, 1, 22), "-2.5");  // c35 47.5
    EXPECT_EQ(field(1, 1, 23), "+2.5");  // c36 52.5
    EXPECT_EQ(field(1, 1, 24), "55.0");
    // (0.4*55 + 0.6*52.5 + 0.6*55 + 0.4*55 + 0.6*55) / 2.6
    EXPECT_EQ(field(1, 1, 29), "54.4");
    EXPECT_EQ(field(1, 1, 30), "03");
    EXPECT_EQ(field(1, 1, 31), "ON");
    EXPECT_EQ(field(1, 1, 32), "");
}

TEST_F(PastRunsTest, EveryFigureComesFromItsOwnColumn) {
    build(1);
    int h = b.addRun(Uma(1), {pastRace(1)});
    auto& t = app.store.HistoryInfo;
    const char* values[] = {"61.2", "47.4", "38.42", "63.27", "1", "58.06", "44.3", "70.14", "36.8", "0.46"};
    for (int c = 33; c <= 42; ++c) t.at(h, c) = values[c - 33];
    t.at(h, 21) = "548";
    run();
    EXPECT_EQ(field(1, 1, 14), "54.8");
    EXPECT_EQ(field(1, 1, 19), "54.3");  // (61.2 + 47.4) / 2
    EXPECT_EQ(field(1, 1, 20), "61.2");
    EXPECT_EQ(field(1, 1, 21), "47.4");
    EXPECT_EQ(field(1, 1, 22), "-11.6");
    EXPECT_EQ(field(1, 1, 23), "+13.3");
    EXPECT_EQ(field(1, 1, 24), "58.1");
    EXPECT_EQ(field(1, 1, 25), "44.3");
    EXPECT_EQ(field(1, 1, 26), "70.1");
    EXPECT_EQ(field(1, 1, 27), "36.8");
    EXPECT_EQ(field(1, 1, 28), ".5");  // no leading zero below 1
    // (0.4 x 58.06 + 0.6 x 54.3 + 0.6 x 44.3 + 0.4 x 70.14 + 0.6 x 36.8) / 2.6 = 132.52 / 2.6 = 50.969
    EXPECT_EQ(field(1, 1, 29), "51.0");
}

TEST_F(PastRunsTest, RaceNameFallsBackToTypeAndCondition) {
    build(1);
    int h = b.addRun(Uma(1), {pastRace(1)});
    app.store.HistoryInfo.at(h, 4) = "";
    run();
    EXPECT_EQ(field(1, 1, 3), "サラ３歳以上 500万");
}

TEST_F(PastRunsTest, WithdrawnRunsTakeNoSlotAndStoppedRunsHaveNoFigures) {
    build(1);
    b.addRun(Uma(1), {pastRace(1), "1"});
    b.addRun(Uma(1), {pastRace(2), "2"});
    b.addRun(Uma(1), {pastRace(3), "3"});
    b.addRun(Uma(1), {pastRace(4), "0"});
    b.addRun(Uma(1), {pastRace(5), "4"});
    b.addRun(Uma(1), {pastRace(6), "5"});
    run();
    ASSERT_EQ(app.raceCard.pastRuns.slotCount(1), 3);
    EXPECT_EQ(field(1, 1, 1), pastRace(4));
    EXPECT_EQ(field(1, 2, 1), pastRace(5));
    EXPECT_EQ(field(1, 2, 17), "競走中止");
    EXPECT_EQ(field(1, 2, 18), "");
    for (int f = 19; f <= 29; ++f) EXPECT_EQ(field(1, 2, f), "") << f;
    EXPECT_EQ(field(1, 2, 10), "1200");  // the race fields stay
    EXPECT_EQ(field(1, 2, 31), "ON");
    EXPECT_EQ(field(1, 3, 1), pastRace(6));
    EXPECT_EQ(field(1, 3, 29), "54.4");
}

TEST_F(PastRunsTest, MissingAnalysisFlagLeavesFiguresEmpty) {
    build(1);
    b.addRun(Uma(1), {pastRace(1), "0", "01020304", "1", "0"});
    b.addRun(Uma(1), {pastRace(2), "0", "01020304", "", "1"});
    run();
    for (int slot = 1; slot <= 2; ++slot) {
        for (int f = 19; f <= 29; ++f) EXPECT_EQ(field(1, slot, f), "") << slot << " " << f;
        EXPECT_EQ(field(1, slot, 17), "①②③④");
        EXPECT_EQ(field(1, slot, 18), "03");
        EXPECT_EQ(field(1, slot, 30), "03");
        EXPECT_EQ(field(1, slot, 31), "ON");
    }
}

TEST_F(PastRunsTest, KeepsTheOldest150RunsAndStopsAtTheNextHorse) {
    build(2);
    for (int i = 1; i <= 160; ++i) b.addRun(Uma(1), {pastRace(i)});
    b.addRun(Uma(2), {pastRace(1)});
    run();
    EXPECT_EQ(app.raceCard.pastRuns.slotCount(1), 150);
    EXPECT_EQ(field(1, 1, 1), pastRace(1));
    EXPECT_EQ(field(1, 150, 1), pastRace(150));
    EXPECT_EQ(app.raceCard.pastRuns.slotCount(2), 1);
    EXPECT_GE(pump.turns, 151);  // the loop yields once per run
}

TEST(PastRunHelpers, BodyWeightText) {
    EXPECT_EQ(BodyWeightText("478", "-004"), " 478 (-4)");
    EXPECT_EQ(BodyWeightText("486", "+006"), " 486 (+6)");
    EXPECT_EQ(BodyWeightText("486", "+000"), " 486 (+0)");
    EXPECT_EQ(BodyWeightText("486", " 999"), " 486");
    EXPECT_EQ(BodyWeightText("486", "   "), " 486");
    EXPECT_EQ(BodyWeightText("", "+006"), "");
}

TEST(PastRunHelpers, CircledNumbersAndCorners) {
    EXPECT_EQ(CircledNumber(0), "　");
    EXPECT_EQ(CircledNumber(1), "①");
    EXPECT_EQ(CircledNumber(20), "⑳");
    EXPECT_EQ(CircledNumber(21), "");
    EXPECT_EQ(CircledNumber(-1), "");
    EXPECT_EQ(CornerText("00040302"), "　④③②");
    EXPECT_EQ(CornerText("18171615"), "⑱⑰⑯⑮");
    EXPECT_EQ(CornerText("00000000"), "　　　　");
}

TEST(PastRunHelpers, NamesAndIndexes) {
    EXPECT_EQ(IjyoName("1"), "出走取消");
    EXPECT_EQ(IjyoName("2"), "発走除外");
    EXPECT_EQ(IjyoName("3"), "競走除外");
    EXPECT_EQ(IjyoName("4"), "競走中止");
    EXPECT_EQ(IjyoName("5"), "");
    EXPECT_EQ(BabaIndex("良"), 0);
    EXPECT_EQ(BabaIndex("稍重"), 1);
    EXPECT_EQ(BabaIndex("稍"), 1);
    EXPECT_EQ(BabaIndex("重"), 2);
    EXPECT_EQ(BabaIndex("不良"), 3);
    EXPECT_EQ(BabaIndex(""), -1);
    EXPECT_EQ(CourseIndex("札幌"), 0);
    EXPECT_EQ(CourseIndex("小倉"), 9);
    EXPECT_EQ(CourseIndex("大井"), -1);
}

}  // namespace
}  // namespace veltrix::test
