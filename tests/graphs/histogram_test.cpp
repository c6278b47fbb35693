// The histogram: classes of width 5 with their edges, only the pane's used
// runs with all six figures counted, the class labels.
#include "graphs/histogram.h"

#include <gtest/gtest.h>

#include "engine/history_pane.h"
#include "racecard/columns.h"

namespace veltrix {
namespace {

constexpr std::array<int, 6> kFields = {run::kRL,      run::kTZenhan, run::kTKouhan,
                                        run::kRZenhan, run::kRKouhan, run::kMD};

void addRow(Sheet& s, const std::array<std::string, 6>& figures, Rgb back) {
    const RowNo r(s.rowCount() + 1);
    s.setRowCount(r.value);
    s.setText(r, PaneColumn(run::kDate), "2008/06/01");
    for (size_t i = 0; i < kFields.size(); ++i) s.setText(r, PaneColumn(kFields[i]), figures[i]);
    for (int c = 1; c <= kPaneColumns; ++c) s.setColors(r, ColNo(c), kBlack, back);
}

TEST(Histogram, ClassEdgesBelongToTheUpperClass) {
    EXPECT_EQ(DetailClass(10), 1);
    EXPECT_EQ(DetailClass(37.4), 1);
    EXPECT_EQ(DetailClass(37.5), 2);
    EXPECT_EQ(DetailClass(42.4), 2);
    EXPECT_EQ(DetailClass(50), 4);
    EXPECT_EQ(DetailClass(62.4), 6);
    EXPECT_EQ(DetailClass(62.5), 7);
    EXPECT_EQ(DetailClass(90), 7);
    EXPECT_EQ(DetailClassLabel(1), "35");
    EXPECT_EQ(DetailClassLabel(7), "65");
}

TEST(Histogram, CountsTheUsedRunsWithAllSixFigures) {
    HistoryPane pane;
    Sheet& s = pane.fpsHistory;
    addRow(s, {"37.5", "62.5", "50.0", "45.0", "55.0", "30.0"}, kPaneUsed);
    addRow(s, {"37.4", "62.4", "50.0", "45.0", "55.0", "70.0"}, kPaneUsed);
    addRow(s, {"", "", "", "", "", ""}, kPaneUsed);                      // used, no figures
    addRow(s, {"50.0", "50.0", "", "50.0", "50.0", "50.0"}, kPaneUsed);  // one figure missing
    addRow(s, {"50.0", "50.0", "50.0", "50.0", "50.0", "50.0"}, kPaneUnused);
    addRow(s, {"50.0", "50.0", "50.0", "50.0", "50.0", "50.0"}, kPaneGrey);
    DetailGraph g;
    SetDetailGraph(g, s, "2009/01/17 中山");
    EXPECT_EQ(g.counts[0], (DetailCounts{1, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(g.counts[1], (DetailCounts{0, 0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(g.counts[2], (DetailCounts{0, 0, 0, 2, 0, 0, 0}));
    EXPECT_EQ(g.counts[5], (DetailCounts{1, 0, 0, 0, 0, 0, 1}));

    ClearForm(g);
    for (const DetailCounts& c : g.counts) EXPECT_EQ(c, DetailCounts{});
}

TEST(Histogram, NoUsedRunsOrNoRaceGiveNoBars) {
    HistoryPane pane;
    addRow(pane.fpsHistory, {"50.0", "50.0", "50.0", "50.0", "50.0", "50.0"}, kPaneUsed);
    DetailGraph g;
    SetDetailGraph(g, pane.fpsHistory, "");
    for (const DetailCounts& c : g.counts) EXPECT_EQ(c, DetailCounts{});
    HistoryPane empty;
    SetDetailGraph(g, empty.fpsHistory, "2009/01/17 中山");
    for (const DetailCounts& c : g.counts) EXPECT_EQ(c, DetailCounts{});
}

TEST(Histogram, ChartModelLabelsTheClassesAndKeepsWholeTicks) {
    DetailGraph g;
    g.counts[4] = {0, 1, 2, 9, 3, 0, 0};
    const ChartModel m = DetailChartModel(g, 4);
    EXPECT_EQ(m.title, "R後");
    ASSERT_EQ(m.categories.size(), 7u);
    EXPECT_EQ(m.categories.front(), "35");
    EXPECT_EQ(m.categories.back(), "65");
    ASSERT_EQ(m.series.size(), 1u);
    EXPECT_EQ(m.series[0].points[3].y, 9);
    EXPECT_EQ(m.y.min, 0);
    EXPECT_EQ(m.y.max, 10);
    EXPECT_EQ(m.y.tickCount, 6);  // 0, 2, ... 10
}

}  // namespace
}  // namespace veltrix
