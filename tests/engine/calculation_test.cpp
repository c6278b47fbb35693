// The per-runner calculation on hand-made runners: which runs count, their
// figures, the tallies by course and distance and the running record.
#include <gtest/gtest.h>

#include "calc_fixture.h"

namespace veltrix::test {
namespace {

TEST(UseFlag, PeriodBoundaryAndUnusableRuns) {
    CardBuilder b(1);
    const int exact = b.add(1, "2007/05/28", 50);   // exactly 600 days before 2009/01/17
    const int inside = b.add(1, "2007/05/29", 52);  // one day less
    RunFields out;
    out.date = "2008/01/01";
    out.validity = "OUT";
    const int outRun = b.add(1, out);
    const int zero = b.add(1, "2008/02/01", 0);
    RunFields none;
    none.date = "2008/03/01";
    none.hasFigures = false;
    const int noFigures = b.add(1, none);
    RunFields local;
    local.date = "2008/04/01";
    local.course = "大井";
    const int localRun = b.add(1, local);
    RunFields steeple;
    steeple.date = "2008/05/01";
    steeple.track = "障";
    const int steepleRun = b.add(1, steeple);
    b.calculateUmaIndex();
    EXPECT_EQ(b.useFlag(1, exact), "OFF");
    EXPECT_EQ(b.useFlag(1, inside), "ON");
    EXPECT_EQ(b.useFlag(1, outRun), "OFF");
    EXPECT_EQ(b.useFlag(1, zero), "OFF");
    EXPECT_EQ(b.useFlag(1, noFigures), "OFF");
    EXPECT_EQ(b.useFlag(1, localRun), "OFF");
    EXPECT_EQ(b.useFlag(1, steepleRun), "OFF");
    EXPECT_EQ(CellNumber(b.s1(), 1, sheet1::kRL), 52);
    EXPECT_EQ(b.s1().text(RowNo(1), sheet1::kRL), "52.0");
    EXPECT_EQ(b.s1().cell(RowNo(1), sheet1::kSeiseki).fore, kWhite);
    // Slots after the last run are not touched.
    EXPECT_EQ(b.useFlag(1, steepleRun + 1), "");

    b.settings.Kikan = 100;
    b.calculateUmaIndex();
    EXPECT_EQ(b.useFlag(1, inside), "OFF");
}

TEST(UseFlag, AfterRest) {
    CardBuilder b(1);
    b.add(1, "2008/06/01", 50);
    b.add(1, "2008/08/30", 50);  // 90 days later
    b.add(1, "2008/11/29", 50);  // 91 days later
    EXPECT_TRUE(IsKyuyoake(b.card.pastRuns, 1, 1));
    EXPECT_FALSE(IsKyuyoake(b.card.pastRuns, 1, 2));
    EXPECT_TRUE(IsKyuyoake(b.card.pastRuns, 1, 3));
    ASSERT_FALSE(SetPaletteBox(b.palette, "休養明", true));
    b.calculateUmaIndex();
    EXPECT_EQ(b.useFlag(1, 1), "OFF");
    EXPECT_EQ(b.useFlag(1, 2), "ON");
    EXPECT_EQ(b.useFlag(1, 3), "OFF");
}

TEST(Rules, TopAndSigma) {
    CardBuilder b(1);
    b.add(1, "2008/06/01", 55);
    b.add(1, "2008/07/01", 60);
    b.add(1, "2008/08/01", 60);
    b.add(1, "2008/09/01", 45);
    // Before the rule pass every eligible run is "ON".
    for (int l = 1; l <= 4; ++l) b.card.pastRuns.at(1, l, run::kUseFlag) = "ON";
    EXPECT_FALSE(IsTop1(b.card.pastRuns, 1, 2));
    EXPECT_TRUE(IsTop1(b.card.pastRuns, 1, 3));
    EXPECT_TRUE(IsTop3(b.card.pastRuns, 1, 1));
    EXPECT_FALSE(IsTop3(b.card.pastRuns, 1, 4));
    EXPECT_TRUE(IsTop5(b.card.pastRuns, 1, 4));

    ASSERT_FALSE(SetPaletteRule(b.palette, "TOP1"));
    b.calculateUmaIndex();
    EXPECT_EQ(b.useFlag(1, 1), "OFF");
    EXPECT_EQ(b.useFlag(1, 2), "OFF");
    EXPECT_EQ(b.useFlag(1, 3), "ON");
    EXPECT_EQ(CellNumber(b.s1(), 1, sheet1::kRL), 60);

    ASSERT_FALSE(SetPaletteRule(b.palette, "TOP3"));
    b.calculateUmaIndex();
    EXPECT_EQ(b.useFlag(1, 4), "OFF");
    EXPECT_NEAR(CellNumber(b.s1(), 1, sheet1::kRL), (55 + 60 + 60) / 3.0, 1e-9);
}

TEST(Rules, SigmaKeepsASingleRunAndDropsAnOutlier) {
    CardBuilder b(2);
    b.add(1, "2008/06/01", 50);
    for (int m = 1; m <= 9; ++m) b.add(2, "2008/0" + std::to_string(m) + "/01", 50 + (m % 2));
    b.add(2, "2008/10/01", 90);
    EXPECT_TRUE(IsInSigma(b.card.pastRuns, 1, 1));  // no used run: n < 2
    ASSERT_FALSE(SetPaletteRule(b.palette, "SIGMA"));
    b.calculateUmaIndex();
    EXPECT_EQ(b.useFlag(1, 1), "ON");
    EXPECT_EQ(b.useFlag(2, 10), "OFF");
    EXPECT_EQ(b.useFlag(2, 1), "ON");
}

TEST(Figures, DistanceWeightsAndTheirFallback) {
    CardBuilder b(1);  // dirt 1200 race
    RunFields same;
    same.date = "2008/06/01";
    same.figure = 60;
    same.rIndex = 60;
    RunFields longer = same;
    longer.date = "2008/07/01";
    longer.distance = "1800";  // class 6: four classes longer, step 6
    longer.figure = 40;
    longer.rIndex = 40;
    ASSERT_FALSE(SetPaletteBox(b.palette, "ダ1800", true));
    b.add(1, same);
    b.add(1, longer);
    b.calculateUmaIndex();
    const double weighted = (60.0 * 50 + 40.0 * 10) / 60;
    EXPECT_NEAR(CellNumber(b.s1(), 1, sheet1::kTZenhan), weighted, 1e-9);
    EXPECT_NEAR(CellNumber(b.s1(), 1, sheet1::kRZ), weighted, 1e-9);
    EXPECT_NEAR(CellNumber(b.s1(), 1, sheet1::kMD), weighted, 1e-9);
    EXPECT_EQ(CellNumber(b.s1(), 1, sheet1::kRL), 50);
    EXPECT_EQ(CellNumber(b.s1(), 1, sheet1::kRLN), 50);
    EXPECT_NEAR(CellNumber(b.s2(), 1, sheet2::kNakayama), weighted, 1e-9);
    EXPECT_NEAR(CellNumber(b.s2(), 1, sheet2::kMigiMawari), weighted, 1e-9);
    EXPECT_EQ(CellNumber(b.s2(), 1, sheet2::kKyori1200), 60);
    EXPECT_EQ(CellNumber(b.s2(), 1, sheet2::kKyori1800), 40);
    EXPECT_FALSE(b.s2().number(RowNo(1), sheet2::kTokyo));

    b.settings.KyoriWeight.fill(0);
    b.calculateUmaIndex();
    EXPECT_EQ(CellNumber(b.s1(), 1, sheet1::kTZenhan), 50);
    EXPECT_EQ(CellNumber(b.s1(), 1, sheet1::kRA), 50);
    EXPECT_EQ(CellNumber(b.s2(), 1, sheet2::kNakayama), 50);
}

TEST(Figures, GetKyoriIndex) {
    EXPECT_EQ(GetKyoriIndex("ダ", "1200", "1150"), 3);
    EXPECT_EQ(GetKyoriIndex("ダ", "1800", "1200"), 6);
    EXPECT_EQ(GetKyoriIndex("ダ", "1000", "2400"), 0);
    EXPECT_EQ(GetKyoriIndex("芝", "1400", "1600"), 2);
    EXPECT_EQ(GetKyoriIndex("芝", "1200", "1150"), -1);
    EXPECT_EQ(GetKyoriIndex("障", "3000", "3000"), -1);
    EXPECT_EQ(GetKyoriIndex("ダ", "1200", ""), -1);
}

TEST(Figures, RunWithoutDistanceStepCountsWithoutWeight) {
    CardBuilder b(1, "ダ1150");
    ASSERT_FALSE(SetPaletteBox(b.palette, "芝1200", true));
    RunFields turf;
    turf.date = "2008/06/01";
    turf.track = "芝";
    turf.distance = "1200";
    turf.figure = 70;
    turf.rIndex = 70;
    turf.placing = "01";
    RunFields dirt = turf;
    dirt.date = "2008/07/01";
    dirt.track = "ダ";
    dirt.distance = "1150";
    dirt.figure = 50;
    dirt.rIndex = 50;
    dirt.placing = "05";
    b.add(1, turf);
    b.add(1, dirt);
    b.calculateUmaIndex();
    EXPECT_EQ(b.useFlag(1, 1), "ON");
    EXPECT_EQ(b.useFlag(1, 2), "ON");
    EXPECT_EQ(CellNumber(b.s1(), 1, sheet1::kRL), 60);       // plain mean of both
    EXPECT_EQ(CellNumber(b.s1(), 1, sheet1::kTZenhan), 50);  // only the dirt run weighs
    EXPECT_EQ(CellNumber(b.s2(), 1, sheet2::kNakayama), 50);
    EXPECT_EQ(CellNumber(b.s2(), 1, sheet2::kKyori1200), 60);  // 1150 and 1200 share the heading
    EXPECT_EQ(b.s1().text(RowNo(1), sheet1::kSeiseki), "  1- 0- 0- 1");
}

TEST(Figures, DistanceBucketsAndCourseGroups) {
    CardBuilder b(1, "芝2500", "東京");
    RunFields f;
    f.track = "芝";
    f.course = "東京";
    f.distance = "2600";
    f.date = "2008/06/01";
    f.rIndex = 58;
    b.add(1, f);
    f.course = "札幌";
    f.distance = "2500";
    f.date = "2008/07/01";
    f.rIndex = 54;
    f.placing = "12";
    b.add(1, f);
    f.course = "新潟";
    f.date = "2008/08/01";
    f.rIndex = 50;
    f.going = "不";
    f.placing = "02";
    b.add(1, f);
    b.calculateUmaIndex();
    EXPECT_EQ(CellNumber(b.s2(), 1, sheet2::kKyori2500), (58 + 54 + 50) / 3.0);
    EXPECT_EQ(CellNumber(b.s2(), 1, sheet2::kTokyo), 58);
    EXPECT_EQ(CellNumber(b.s2(), 1, sheet2::kHidariMawari), 54);  // 東京 and 新潟
    EXPECT_EQ(CellNumber(b.s2(), 1, sheet2::kLocal), 54);
    EXPECT_FALSE(b.s2().number(RowNo(1), sheet2::kMigiMawari));
    EXPECT_EQ(b.s1().text(RowNo(1), sheet1::kSeiseki), "  0- 1- 1- 1");
    EXPECT_EQ(b.s1().text(RowNo(1), sheet1::kRL), "50.0");
}

TEST(Figures, RunnerWithoutRunsIsEmptiedAndRowFoundByHorseNumber) {
    CardBuilder b(2);
    b.add(2, "2008/06/01", 56);
    Sheet& s1 = b.card.sheet(kSheetSyuso);
    s1.setNumber(RowNo(1), sheet1::kRL, 77, "77.0");
    s1.setText(RowNo(1), sheet1::kSeiseki, "old");
    // The sheets were sorted: horse 2 is on row 1.
    ASSERT_TRUE(ClickHeader(b.card, 1, sheet1::kRL));
    ASSERT_EQ(s1.text(RowNo(1), card::kNo), "1");
    SortRaceCard(b.card, 1, card::kNo, SortOrder::Descending);
    ASSERT_EQ(s1.text(RowNo(1), card::kNo), "2");
    b.calculateUmaIndex();
    EXPECT_EQ(CellNumber(s1, 1, sheet1::kRL), 56);
    EXPECT_EQ(CellNumber(b.s2(), 1, sheet2::kNakayama), 56);
    EXPECT_EQ(s1.text(RowNo(2), sheet1::kRL), "");
    EXPECT_EQ(s1.text(RowNo(2), sheet1::kSeiseki), "");
    EXPECT_EQ(s1.cell(RowNo(2), sheet1::kSeiseki).fore, kBlack);
    EXPECT_EQ(SearchSyusoRow(s1, "1"), 2);
    EXPECT_EQ(SearchSyusoRow(s1, "3"), 0);
}

TEST(Figures, EmptyLabelStopsAtOnce) {
    CardBuilder b(1);
    b.add(1, "2008/06/01", 56);
    b.card.lblRace = "   ";
    b.calculateUmaIndex();
    EXPECT_EQ(b.useFlag(1, 1), "");
    EXPECT_EQ(b.s1().text(RowNo(1), sheet1::kRL), "");
}

TEST(Seiseki, CountersAndWidths) {
    SelectPalette p;
    SetSelect(p, "2009/01/17 中山 01R 10:05 ダ1200 テスト", "KONSYU");
    SeisekiCounts c;
    EXPECT_EQ(MakeSeisekiString(c, p, "", "", "", "", 0), "");
    EXPECT_EQ(MakeSeisekiString(c, p, "中山", "ダ", "1200", "良", 1), "  1- 0- 0- 0");
    for (int i = 0; i < 12; ++i) MakeSeisekiString(c, p, "中山", "ダ", "1200", "良", 9);
    EXPECT_EQ(MakeSeisekiString(c, p, "中山", "ダ", "1200", "良", 0), "  1- 0- 0-12");
    EXPECT_EQ(MakeSeisekiString(c, p, "中山", "芝", "1200", "良", 2), "  1- 0- 0-12");  // box unchecked
    EXPECT_EQ(MakeSeisekiString(c, p, "", "", "", "", 0), "");
    EXPECT_EQ(MakeSeisekiString(c, p, "阪神", "ダ", "1000", "稍", 3), "  0- 0- 1- 0");
}

TEST(Dates, RealCalendar) {
    EXPECT_EQ(DaysBetween("2008/02/28", "2008/03/01"), 2);
    EXPECT_EQ(DaysBetween("2009/02/28", "2009/03/01"), 1);
    EXPECT_FALSE(DaysBetween("2009/02/30", "2009/03/01"));
    EXPECT_FALSE(DaysBetween("", "2009/03/01"));
    EXPECT_EQ(RaceDistanceOf("2009/01/17 中山 01R 10:05 ダ1200 テスト", "KONSYU"), "1200");
    EXPECT_EQ(RaceDistanceOf("2009/01/17 中山 11R 芝2400 テスト", "TOKUBETSU"), "2400");
    EXPECT_EQ(RaceDistanceOf("2009/01/17 中山 11R 芝2400 テスト", ""), "");
}

}  // namespace
}  // namespace veltrix::test
