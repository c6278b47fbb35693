// The calculate command over the application: the palette set by opening a
// race and cleared by a reset, the period, the notifications, and what the
// command line reads afterwards (labels, past-run slots, the week listing).
#include "app/calculate_command.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/race_commands.h"
#include "racecard/race_card.h"
#include "racecard/race_fixture.h"
#include "support/fake_host.h"

namespace veltrix::test {
namespace {

namespace fs = std::filesystem;

const std::string kOtherRace = "2009011706010102";

class CalculateCommandTest : public ::testing::Test {
protected:
    CalculateCommandTest() : b(app.store) {
        app.folders = Folders::under(dir.path());
        fs::create_directories(app.folders.cache);
        app.settings.Kikan = 600;
        app.settings.KyoriWeight = {10, 20, 30, 50, 30, 20, 10};
        app.settings.RaceLevel = 0.3;
        app.settings.RaceZenhan = 0.4;
        app.settings.RaceKouhan = 0.6;
        std::vector<RunnerSpec> runners;
        for (int i = 1; i <= 3; ++i) {
            RunnerSpec r;
            r.umaCode = Uma(i);
            r.umaban = "0" + std::to_string(i);
            runners.push_back(r);
        }
        b.addRace(kRaceId, KonsyuLabel("中山", "ダ1200"), runners);
        std::vector<RunnerSpec> others;
        RunnerSpec r4;
        r4.umaCode = Uma(4);
        others.push_back(r4);
        b.addRace(kOtherRace, KonsyuLabel("中山", "芝1600"), others);
        // Runner 1: a run 500 days before the race and one 200 days before;
        // runner 2: one recent run; runner 3: none; runner 4: one (dirt) run.
        b.addRun(Uma(1), {"2007090106010101"});
        b.addRun(Uma(1), {"2008070106010101"});
        b.addRun(Uma(2), {"2008100106010101"});
        b.addRun(Uma(4), {"2008100106010101"});
        app.store.HistoryInfo.at(2, 38) = "65";  // runner 1's recent run scores higher
        label = app.store.RaceLabel[1];
    }

    TempDir dir;
    Application app;
    StoreBuilder b;
    std::string label;
    FakePump pump;
};

TEST_F(CalculateCommandTest, OpeningSetsThePaletteAndCalculatingFillsTheCard) {
    ASSERT_FALSE(OpenRace(app, kRaceId, label, pump));
    EXPECT_EQ(app.palette.optRule1, kRuleAll);
    EXPECT_TRUE(app.palette.chkDKyori[DirtBoxIndex("1200")].value);
    EXPECT_EQ(app.palette.greenJo, CourseBoxIndex("中山"));
    EXPECT_EQ(app.raceCard.sheet(kSheetSyuso).text(RowNo(1), sheet1::kRL), "");

    std::vector<Change> heard;
    auto sub = app.changes.subscribe([&](Change c) { heard.push_back(c); });
    ASSERT_FALSE(Calculate(app));
    EXPECT_NE(std::find(heard.begin(), heard.end(), Change::CalculationDone), heard.end());
    EXPECT_EQ(heard.front(), Change::CommandStarted);
    EXPECT_EQ(heard.back(), Change::CommandFinished);

    const Sheet& s1 = app.raceCard.sheet(kSheetSyuso);
    EXPECT_EQ(s1.text(RowNo(1), sheet1::kRL), "52.5");
    EXPECT_EQ(s1.text(RowNo(1), sheet1::kSeiseki), "  0- 0- 2- 0");
    EXPECT_EQ(s1.text(RowNo(3), sheet1::kRL), "");
    auto slots = PastRunSlots(app.raceCard, 1);
    ASSERT_TRUE(slots);
    ASSERT_EQ(slots->size(), 2u);
    EXPECT_EQ((*slots)[0][run::kUseFlag - 1], "ON");
    EXPECT_EQ((*slots)[0][run::kDate - 1], "2007/09/01");
    EXPECT_EQ((*slots)[1][run::kCourse - 1], "中山");
    EXPECT_TRUE(PastRunSlots(app.raceCard, 3)->empty());
    EXPECT_FALSE(PastRunSlots(app.raceCard, 4));
    EXPECT_FALSE(PastRunSlots(app.raceCard, 0));

    auto lines = RaceCardLabelLines(app.raceCard);
    EXPECT_EQ(lines[0].name, "レースレベル");
    EXPECT_EQ(lines[3].name, "ペース傾き");
    EXPECT_EQ(lines[6].name, "VELTRIX スコア");
    EXPECT_EQ(lines[0].text, app.raceCard.lblRelateValue[0]);
    EXPECT_FALSE(lines[0].text.empty());
    EXPECT_EQ(lines[4].text, "");  // no result: no score
    EXPECT_EQ(BestPredictions(app.raceCard), (std::vector<std::string>{"1", "2"}));
}

TEST_F(CalculateCommandTest, ThePeriodChosenInThePaletteStays) {
    ASSERT_FALSE(OpenRace(app, kRaceId, label, pump));
    // No entry chosen: the period stays as it is.
    ASSERT_FALSE(Calculate(app));
    EXPECT_EQ(app.settings.Kikan, 600);
    ASSERT_FALSE(SetPalettePeriod(app.palette, 300));
    ASSERT_FALSE(Calculate(app));
    EXPECT_EQ(app.settings.Kikan, 300);
    EXPECT_EQ(app.raceCard.pastRuns.at(1, 1, run::kUseFlag), "OFF");
    EXPECT_EQ(app.raceCard.pastRuns.at(1, 2, run::kUseFlag), "ON");
    // Opening another race keeps the entry and the period.
    ASSERT_FALSE(OpenRace(app, kRaceId, label, pump));
    EXPECT_EQ(app.palette.cboKikan, 2);
    EXPECT_EQ(app.settings.Kikan, 300);
}

// A calculation says why when no runner had a run to use, and nothing otherwise.
TEST_F(CalculateCommandTest, NoUsableRunIsToldWithItsReason) {
    ASSERT_FALSE(OpenRace(app, kRaceId, label, pump));
    ASSERT_FALSE(Calculate(app));
    EXPECT_FALSE(NoUsableRunMessage(app.raceCard));

    // No distance box ticked: the runs are there, none is in the selection.
    for (auto& box : app.palette.chkDKyori) box.value = false;
    for (auto& box : app.palette.chkSKyori) box.value = false;
    ASSERT_FALSE(Calculate(app));
    auto reason = NoUsableRunMessage(app.raceCard);
    ASSERT_TRUE(reason);
    EXPECT_NE(reason->find("選択パレットの条件に合う過去の成績がない"), std::string::npos);

    // Runs without the analysis figures (a new import before the analysis files).
    for (int row = 1; row <= app.raceCard.pastRuns.rows(); ++row)
        for (int l = 1; l <= app.raceCard.pastRuns.slotCount(row); ++l)
            app.raceCard.pastRuns.at(row, l, run::kRL).clear();
    reason = NoUsableRunMessage(app.raceCard);
    ASSERT_TRUE(reason);
    EXPECT_NE(reason->find("分析ファイルをインポートしてください。"), std::string::npos);
}

TEST_F(CalculateCommandTest, ResetClearsThePaletteSoNothingCounts) {
    ASSERT_FALSE(OpenRace(app, kRaceId, label, pump));
    ResetData(app);
    EXPECT_EQ(app.palette.optRule1, kRuleNone);
    EXPECT_FALSE(app.palette.chkDKyori[0].tag);
    EXPECT_FALSE(app.palette.chkJo[5]);
    ASSERT_FALSE(Calculate(app));                    // no race on show: nothing to do, nothing breaks
    EXPECT_FALSE(NoUsableRunMessage(app.raceCard));  // and nothing to tell
    EXPECT_EQ(app.raceCard.sheet(kSheetSyuso).rowCount(), 0);
}

TEST_F(CalculateCommandTest, PaletteOptions) {
    ASSERT_FALSE(OpenRace(app, kRaceId, label, pump));
    PaletteOptions o;
    o.periodDays = 300;
    o.rule = "TOP1";
    o.boxes = {{"中山", false}};
    ASSERT_FALSE(ApplyPaletteOptions(app.palette, o));
    ASSERT_FALSE(Calculate(app));
    EXPECT_EQ(app.raceCard.sheet(kSheetSyuso).text(RowNo(1), sheet1::kRL), "");
    std::string error;
    o.boxes = {{"中山", true}, {"ダ1250", true}};
    EXPECT_TRUE(ApplyPaletteOptions(app.palette, o, &error));
    EXPECT_EQ(error, "box ダ1250");
    o.boxes.clear();
    o.rule = "TOP2";
    EXPECT_TRUE(ApplyPaletteOptions(app.palette, o, &error));
    o.rule.reset();
    o.periodDays = 1000;
    EXPECT_TRUE(ApplyPaletteOptions(app.palette, o, &error));
    EXPECT_EQ(error, "period 1000");
}

TEST_F(CalculateCommandTest, WeekListsEveryRaceWithItsBestPredictions) {
    std::vector<WeekRace> week;
    ASSERT_FALSE(CalculateWeek(app, pump, true, {}, week));
    ASSERT_EQ(week.size(), 2u);
    EXPECT_EQ(week[0].raceId, kRaceId);
    EXPECT_EQ(week[0].label, "2009/01/17 中山 01R 10:05 ダ1200 テスト");
    EXPECT_EQ(week[0].best, (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(week[0].scores[2], -1);
    // The turf race's palette leaves dirt runs out.
    EXPECT_EQ(week[1].raceId, kOtherRace);
    EXPECT_TRUE(week[1].best.empty());
    PaletteOptions o;
    o.boxes = {{"ダ1200", true}};
    ASSERT_FALSE(CalculateWeek(app, pump, true, o, week));
    EXPECT_EQ(week[1].best, (std::vector<std::string>{"1"}));
    o.boxes = {{"ダ999", true}};
    std::string error;
    EXPECT_TRUE(CalculateWeek(app, pump, true, o, week, &error));
    EXPECT_EQ(error, "box ダ999");
}

}  // namespace
}  // namespace veltrix::test
