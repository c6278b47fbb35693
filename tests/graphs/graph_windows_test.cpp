// The three small graphs: the pace points (labels, standard entries with their
// sign codes), the predicted graph's runners, the history graph's labels and
// used runs, and what the windows share (places, captions, print box).
#include <gtest/gtest.h>

#include "engine/history_pane.h"
#include "graphs/graph_layout.h"
#include "graphs/pace_graph.h"
#include "graphs/race_graph.h"
#include "graphs/race_history_graph.h"
#include "racecard/columns.h"

namespace veltrix {
namespace {

Conditions conditionsWith(const std::string& key, const std::string& v2, const std::string& v3) {
    Conditions c;
    c.ConditionCount = 2;
    c.ConditionKey[1] = "1190999";
    c.ConditionTable.at(1, 2) = "05.0";
    c.ConditionTable.at(1, 3) = "05.0";
    c.ConditionKey[2] = key;
    c.ConditionTable.at(2, 2) = v2;
    c.ConditionTable.at(2, 3) = v3;
    return c;
}

TEST(PaceGraph, StandardValuesCarryASignCode) {
    EXPECT_DOUBLE_EQ(StandardPace("13.5"), -3.5);
    EXPECT_DOUBLE_EQ(StandardPace("03.5"), 3.5);
    EXPECT_DOUBLE_EQ(StandardPace("23.5"), 99);
    EXPECT_DOUBLE_EQ(StandardPace(""), 99);
    EXPECT_DOUBLE_EQ(StandardPace("1"), 99);
}

TEST(PaceGraph, RaceAndStandardPoints) {
    const Conditions c = conditionsWith("1271600", "13.5", "02.25");
    PaceGraph g;
    SetPaceGraph(g, "+1.5", "-2.0", "1271600", c);
    EXPECT_DOUBLE_EQ(g.dblPaceZenhan, 1.5);
    EXPECT_DOUBLE_EQ(g.dblPaceKouhan, -2.0);
    EXPECT_DOUBLE_EQ(g.dblPaceZenhanKijyun, -3.5);
    EXPECT_DOUBLE_EQ(g.dblPaceKouhanKijyun, 2.25);
    EXPECT_TRUE(RacePointShown(g));
    EXPECT_TRUE(StandardPointShown(g));
    const ChartModel m = PaceChartModel(g);
    ASSERT_EQ(m.series.size(), 2u);
    EXPECT_LE(m.x.min, -3.5);
    EXPECT_GE(m.y.max, 2.25);
    EXPECT_DOUBLE_EQ(m.x.min, -m.x.max);  // centred on the average pace
}

TEST(PaceGraph, NoRaceFiguresHideTheRacePoint) {
    const Conditions c = conditionsWith("1271600", "00.5", "10.5");
    PaceGraph g;
    SetPaceGraph(g, "", "", "1271600", c);  // no runner had figures: blank labels
    EXPECT_FALSE(RacePointShown(g));
    EXPECT_TRUE(StandardPointShown(g));
    SetPaceGraph(g, "+1.0", "", "1271600", c);  // one label alone is not a point either
    EXPECT_FALSE(RacePointShown(g));
    const ChartModel m = PaceChartModel(g);
    ASSERT_EQ(m.series.size(), 1u);
    EXPECT_EQ(m.series[0].name, "standard");
}

TEST(PaceGraph, AMissingKeyOrABadSignCodeHidesTheStandardPoint) {
    PaceGraph g;
    SetPaceGraph(g, "+1.0", "-1.0", "2131800", conditionsWith("1271600", "13.5", "03.5"));
    EXPECT_TRUE(RacePointShown(g));
    EXPECT_FALSE(StandardPointShown(g));
    SetPaceGraph(g, "+1.0", "-1.0", "1271600", conditionsWith("1271600", "13.5", "x3.5"));
    EXPECT_FALSE(StandardPointShown(g));
    SetPaceGraph(g, "+1.0", "-1.0", "1271600", Conditions{});  // no statistics imported
    EXPECT_FALSE(StandardPointShown(g));
    EXPECT_EQ(PaceChartModel(g).series.size(), 1u);
}

TEST(PaceGraph, SchemesColourBackdropTicksAndLabels) {
    PaceGraph g;
    EXPECT_TRUE(g.dark);
    EXPECT_EQ(PaceChartModel(g).backdrop, (Rgb{96, 96, 96}));
    EXPECT_EQ(PaceChartModel(g).tickLabelColour, kWhite);
    SwitchScheme(g.dark);
    EXPECT_EQ(PaceChartModel(g).backdrop, kWhite);
    EXPECT_EQ(PaceChartModel(g).tickLabelColour, kBlack);
}

Sheet syusoWith(const std::vector<std::array<std::string, 4>>& rows) {
    Sheet s(static_cast<int>(rows.size()), sheet1::kColumns);
    for (size_t i = 0; i < rows.size(); ++i) {
        const RowNo r(static_cast<int>(i) + 1);
        s.setText(r, card::kNo, rows[i][0]);
        s.setText(r, card::kName, rows[i][1]);
        s.setText(r, sheet1::kRZenhan, rows[i][2]);
        s.setText(r, sheet1::kRKouhan, rows[i][3]);
    }
    return s;
}

TEST(RaceGraph, RunnersWithBothFiguresInRowOrder) {
    const Sheet s = syusoWith({{" 3", "アグネス ", "55.2", "48.1"},
                               {"1", "ベガ", "", "50.0"},
                               {"12", "ウオッカ", "61.0", "57.5"}});
    RaceGraph g;
    SetRaceGraph(g, s);
    ASSERT_EQ(g.entries.size(), 2u);
    EXPECT_EQ(g.entries[0].label, "3 アグネス");
    EXPECT_DOUBLE_EQ(g.entries[0].x, 55.2);
    EXPECT_DOUBLE_EQ(g.entries[0].y, 48.1);
    EXPECT_EQ(g.entries[1].label, "12 ウオッカ");
    const ChartModel m = RaceChartModel(g);
    ASSERT_EQ(m.series.size(), 1u);
    EXPECT_EQ(m.series[0].labels, (std::vector<std::string>{"3 アグネス", "12 ウオッカ"}));
    EXPECT_EQ(m.series[0].labelColour, kWhite);
    EXPECT_LE(m.x.min, 40);
    EXPECT_GE(m.x.max, 61);
}

TEST(RaceGraph, NoRunnerWithBothFiguresClearsTheChart) {
    RaceGraph g;
    PutRaceGraph(g, {{"1 ベガ", 50, 50}});
    SetRaceGraph(g, syusoWith({{"1", "ベガ", "", "50.0"}, {"2", "ダイナ", "50.0", ""}}));
    EXPECT_TRUE(g.entries.empty());
    EXPECT_TRUE(RaceChartModel(g).series.empty());
}

TEST(RaceGraph, PastRaceRunnersWithoutFiguresAreHandedOverButNotDrawn) {
    const RaceGraphEntry none = PastRaceGraphEntry("1", "ベガ", "", "49.0");
    EXPECT_EQ(none.label, "");
    EXPECT_DOUBLE_EQ(none.x, 99);
    EXPECT_DOUBLE_EQ(none.y, 99);
    const RaceGraphEntry some = PastRaceGraphEntry(" 2", " ダイナ", "51.0", "49.0");
    EXPECT_EQ(some.label, "2 ダイナ");
    const ChartModel m = RaceChartModel({none, some}, false);
    ASSERT_EQ(m.series.size(), 1u);
    EXPECT_EQ(m.series[0].points.size(), 1u);
    EXPECT_EQ(m.series[0].labelColour, kBlack);
    EXPECT_LT(m.x.max, 99);
}

TEST(RaceHistoryGraph, PointLabels) {
    EXPECT_EQ(RaceHistoryLabel("2008/12/27", "52.3", "有馬記念", "武豊", "1"), "08.12.27 RL52.3 有馬記念 武豊 1着");
    // Half-width, and the "ステークス" ending shortened.
    EXPECT_EQ(RaceHistoryLabel("2009/05/03", " 48.0 ", "ＮＨＫマイルカップステークス", "横山典", "12"),
              "09.05.03 RL48.0 NHKﾏｲﾙｶｯﾌﾟS 横山典 12着");
    // A condition race loses "以上 " (the full-width space is narrowed first).
    EXPECT_EQ(ShortRaceName("３歳以上　５００万下"), "3歳500万下");
    EXPECT_EQ(ShortRaceName("4歳以上 1000万下 以上 特別"), "4歳1000万下 特別");
    // "以上 " stays in a stakes race's name; only the ending changes.
    EXPECT_EQ(ShortRaceName("以上 ステークス"), "以上 S");
}

void addPaneRow(Sheet& s, Rgb back, const std::string& date, const std::string& zenhan, const std::string& kouhan) {
    const RowNo r(s.rowCount() + 1);
    s.setRowCount(r.value);
    s.setText(r, PaneColumn(run::kDate), date);
    s.setText(r, PaneColumn(run::kRaceName), "京都新聞杯");
    s.setText(r, PaneColumn(run::kKisyu), "四位");
    s.setText(r, PaneColumn(run::kJyuni), "3");
    s.setText(r, PaneColumn(run::kRL), "50.5");
    s.setText(r, PaneColumn(run::kRZenhan), zenhan);
    s.setText(r, PaneColumn(run::kRKouhan), kouhan);
    for (int c = 1; c <= kPaneColumns; ++c) s.setColors(r, ColNo(c), kBlack, back);
}

TEST(RaceHistoryGraph, UsedRunsWithBothFiguresOldestFirst) {
    HistoryPane pane;
    Sheet& s = pane.fpsHistory;
    addPaneRow(s, kPaneUsed, "2008/05/10", "51.0", "49.0");
    addPaneRow(s, kPaneUnused, "2008/06/10", "52.0", "48.0");
    addPaneRow(s, kPaneUsed, "2008/07/10", "", "48.0");
    addPaneRow(s, kPaneUsed, "2008/12/27", "55.5", "53.0");
    RaceHistoryGraph g;
    SetRaceHistoryGraph(g, s);
    ASSERT_EQ(g.entries.size(), 2u);
    EXPECT_EQ(g.entries[0].label, "08.05.10 RL50.5 京都新聞杯 四位 3着");
    EXPECT_EQ(g.entries[1].label, "08.12.27 RL50.5 京都新聞杯 四位 3着");
    EXPECT_DOUBLE_EQ(g.entries[1].x, 55.5);
    EXPECT_DOUBLE_EQ(g.entries[1].y, 53.0);
}

TEST(RaceHistoryGraph, NoUsedFiguresOrNoRunnerClearsTheChart) {
    HistoryPane pane;
    RaceHistoryGraph g;
    PutRaceHistoryGraph(g, {{"x", 50, 50}});
    SetRaceHistoryGraph(g, pane.fpsHistory);  // nobody in the pane
    EXPECT_TRUE(g.entries.empty());
    addPaneRow(pane.fpsHistory, kPaneUsed, "2008/05/10", "", "");
    PutRaceHistoryGraph(g, {{"x", 50, 50}});
    SetRaceHistoryGraph(g, pane.fpsHistory);
    EXPECT_TRUE(g.entries.empty());
}

TEST(GraphLayout, WindowsStandAlongTheRaceCardsRightEdge) {
    // 96 DPI: 2900 twips are 193 pixels, 1150 are 77.
    const auto at96 = GraphWindowPlaces(100, 50, 1200, 96);
    EXPECT_EQ(at96[0].left, 100 + 1200 - 193);
    EXPECT_EQ(at96[0].top, 50 + 77);
    EXPECT_EQ(at96[1].top, 50 + TwipsToPixels(1150 + 3195, 96));
    EXPECT_EQ(at96[2].top, 50 + TwipsToPixels(1150 + 6390, 96));
    EXPECT_EQ(at96[2].left, at96[0].left);
    // A HiDPI screen's logical DPI makes the windows bigger in pixels, the same in inches.
    EXPECT_EQ(TwipsToPixels(kGraphWindowWidth, 96), 193);
    EXPECT_EQ(TwipsToPixels(kGraphWindowWidth, 192), 387);
    EXPECT_EQ(PixelsToTwips(TwipsToPixels(kGraphWindowHeight, 144), 144), kGraphWindowHeight);
}

TEST(GraphLayout, CaptionFramesNeedTwoThousandTwipsEachWay) {
    EXPECT_TRUE(CaptionFramesShown(kGraphWindowWidth, kGraphWindowHeight));
    EXPECT_TRUE(CaptionFramesShown(2000, 2000));
    EXPECT_FALSE(CaptionFramesShown(1999, 3200));
    EXPECT_FALSE(CaptionFramesShown(2900, 1999));
}

TEST(GraphLayout, PrintBoxKeepsThePicturesProportion) {
    // A4 portrait in twips: 11906 x 16838; the box is 9524.8 x 13470.4.
    const PrintSize wide = GraphPrintSize(400, 200, 11906, 16838);
    EXPECT_DOUBLE_EQ(wide.width, 11906 / 1.25);
    EXPECT_DOUBLE_EQ(wide.height, 11906 / 1.25 / 2);
    // A graph window (193 x 213) is wider than a portrait page's proportion.
    const PrintSize window = GraphPrintSize(193, 213, 11906, 16838);
    EXPECT_DOUBLE_EQ(window.width, 11906 / 1.25);
    EXPECT_DOUBLE_EQ(window.height, 11906 / 1.25 * 213 / 193);
    const PrintSize taller = GraphPrintSize(100, 300, 11906, 16838);
    EXPECT_DOUBLE_EQ(taller.height, 16838 / 1.25);
    EXPECT_DOUBLE_EQ(taller.width, 16838 / 1.25 / 3);
    // Equal proportions fill the box's height (and so its width).
    const PrintSize same = GraphPrintSize(11906, 16838, 11906, 16838);
    EXPECT_DOUBLE_EQ(same.height, 16838 / 1.25);
    EXPECT_DOUBLE_EQ(GraphPrintSize(0, 10, 100, 100).width, 0);
}

TEST(GraphLayout, ScatterAxisCoversTheValuesWithFewTicks) {
    // Deviation scores: every 10 once a step of 5 would crowd the window.
    const ChartAxis a = ScatterAxis({38.2, 61.0, 99, 150}, 50, 10);
    EXPECT_DOUBLE_EQ(a.min, 30);
    EXPECT_DOUBLE_EQ(a.max, 70);
    EXPECT_EQ(a.tickCount, 5);
    // Paces: every 5 around 0.
    const ChartAxis p = ScatterAxis({-3.5, 2.0}, 0, 5);
    EXPECT_DOUBLE_EQ(p.min, -5);
    EXPECT_DOUBLE_EQ(p.max, 5);
    EXPECT_EQ(p.tickCount, 3);
    // A point is never on the edge.
    const ChartAxis edge = ScatterAxis({-5, 5}, 0, 5);
    EXPECT_LT(edge.min, -5);
    EXPECT_GT(edge.max, 5);
    // A wide spread gets a tick every 20.
    const ChartAxis wide = ScatterAxis({0, 96}, 50, 10);
    EXPECT_DOUBLE_EQ(wide.min, -20);
    EXPECT_DOUBLE_EQ(wide.max, 100);
    EXPECT_EQ(wide.tickCount, 7);
}

}  // namespace
}  // namespace veltrix
