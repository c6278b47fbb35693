// The R-index timeline chart: weekly slots back from the race, the options'
// series, the fixed axis and "RL基準", and the chart model the adapter draws.
#include "graphs/timeline_chart.h"

#include <gtest/gtest.h>

#include "engine/history_pane.h"
#include "racecard/columns.h"

namespace veltrix {
namespace {

constexpr const char* kRaceDate = "2009/01/17";

// A pane of runs given as date, 総合, RL and whether the row is orange.
struct PaneRow {
    std::string date;
    std::string sogo;
    std::string rl;
    bool used = false;
};

Sheet paneOf(const std::vector<PaneRow>& rows) {
    HistoryPane pane;
    Sheet& s = pane.fpsHistory;
    s.setRowCount(static_cast<int>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        const RowNo r(static_cast<int>(i) + 1);
        s.setText(r, PaneColumn(run::kDate), rows[i].date);
        s.setText(r, PaneColumn(run::kRIndex), rows[i].sogo);
        s.setText(r, PaneColumn(run::kRL), rows[i].rl);
        for (int c = 1; c <= kPaneColumns; ++c)
            s.setColors(r, ColNo(c), kBlack, rows[i].used ? kPaneUsed : kPaneUnused);
    }
    return s;
}

double at(const TimelineChart& c, size_t series, int slot) {
    return c.series[series].values[static_cast<size_t>(slot - 1)];
}

TEST(TimelineChart, AWeekASlotBackFromTheRace) {
    EXPECT_EQ(TimelineSlot(1), 233);
    EXPECT_EQ(TimelineSlot(0), 233);
    for (int d = 2; d <= 8; ++d) EXPECT_EQ(TimelineSlot(d), 232) << d;
    EXPECT_EQ(TimelineSlot(9), 231);
    // 232 weeks back is the oldest slot; a week more is not drawn.
    for (int d = 1619; d <= 1625; ++d) EXPECT_EQ(TimelineSlot(d), 1) << d;
    EXPECT_EQ(TimelineSlot(1626), 0);
    EXPECT_EQ(TimelineSlot(5000), 0);
    // A date after the race's own week has no slot either.
    EXPECT_EQ(TimelineSlot(-5), 233);
    EXPECT_EQ(TimelineSlot(-6), 0);
}

TEST(TimelineChart, RunsLandInTheirWeekAndTheLaterRowWins) {
    TimelineChart c;
    // 2009/01/16 is 1 day back; 2009/01/12 and 2009/01/10 share the week 5-8 days back.
    PutGraph(c,
             paneOf({{"2004/08/27", "41.0", ""},  // 1604 days: slot 3
                     {"2004/07/01", "44.0", ""},  // more than 232 weeks: not drawn
                     {"2009/01/10", "52.0", ""},
                     {"2009/01/12", "53.5", ""},
                     {"2009/01/16", "", ""},  // no 総合: 0
                     {"", "99.0", ""},        // the first row without a date ends the pane
                     {"2009/01/16", "70.0", ""}}),
             kRaceDate, "");
    ASSERT_EQ(c.series.size(), 1u);
    EXPECT_EQ(at(c, 0, 232), 53.5);
    EXPECT_EQ(at(c, 0, 233), 0);
    EXPECT_EQ(at(c, 0, TimelineSlot(1604)), 41.0);
    double sum = 0;
    for (double v : c.series[0].values) sum += v;
    EXPECT_EQ(sum, 53.5 + 41.0);
}

TEST(TimelineChart, OptionsChooseTheSeriesAndTheirColours) {
    const Sheet pane = paneOf({{"2009/01/01", "55.0", "48.0", true}, {"2008/12/01", "45.0", "51.0", false}});
    const int used = TimelineSlot(16);
    const int unused = TimelineSlot(47);

    TimelineChart c;
    c.option = kGraphSogo;
    PutGraph(c, pane, kRaceDate, "");
    ASSERT_EQ(c.series.size(), 1u);
    EXPECT_EQ(c.series[0].colour, (Rgb{0, 255, 0}));
    EXPECT_EQ(at(c, 0, used), 55.0);
    EXPECT_EQ(at(c, 0, unused), 45.0);

    c.option = kGraphTaisyo;
    PutGraph(c, pane, kRaceDate, "");
    ASSERT_EQ(c.series.size(), 2u);
    EXPECT_EQ(c.series[0].colour, (Rgb{102, 255, 255}));
    EXPECT_EQ(c.series[1].colour, (Rgb{255, 204, 102}));
    EXPECT_EQ(at(c, 0, unused), 45.0);
    EXPECT_EQ(at(c, 1, unused), 0);
    EXPECT_EQ(at(c, 1, used), 55.0);
    EXPECT_EQ(at(c, 0, used), 0);

    c.option = kGraphRLSogo;
    PutGraph(c, pane, kRaceDate, "");
    ASSERT_EQ(c.series.size(), 2u);
    EXPECT_EQ(c.series[0].colour, (Rgb{255, 128, 255}));
    EXPECT_EQ(c.series[1].colour, (Rgb{0, 255, 0}));
    EXPECT_EQ(at(c, 0, used), 48.0);
    EXPECT_EQ(at(c, 1, used), 55.0);
}

TEST(TimelineChart, OnlyUnusedRunsDrawOnlyTheFirstSeries) {
    TimelineChart c;
    c.option = kGraphTaisyo;
    PutGraph(c, paneOf({{"2009/01/01", "55.0", ""}, {"2008/12/01", "45.0", ""}}), kRaceDate, "");
    for (double v : c.series[1].values) EXPECT_EQ(v, 0);
    EXPECT_EQ(at(c, 0, TimelineSlot(16)), 55.0);
}

TEST(TimelineChart, FixedAxisAndRaceLevelCentre) {
    TimelineChart c;
    ClearGraph(c, "48.6");
    EXPECT_EQ(c.axisMin, 30);
    EXPECT_EQ(c.axisMax, 70);
    c.rlBase = true;
    ClearGraph(c, "");
    EXPECT_EQ(c.axisMin, 40);
    EXPECT_EQ(c.axisMax, 60);
    ClearGraph(c, "48.6");
    EXPECT_EQ(c.axisMin, 39);
    EXPECT_EQ(c.axisMax, 59);
}

TEST(TimelineChart, ClearGraphZeroesEverySlot) {
    TimelineChart c;
    PutGraph(c, paneOf({{"2009/01/16", "55.0", ""}}), kRaceDate, "");
    ClearGraph(c, "");
    for (double v : c.series[0].values) EXPECT_EQ(v, 0);
}

TEST(TimelineChart, ModelHas233BarCategoriesOnTheAxis) {
    TimelineChart c;
    c.option = kGraphTaisyo;
    PutGraph(c, paneOf({{"2009/01/16", "55.0", "", true}}), kRaceDate, "");
    const ChartModel m = TimelineChartModel(c);
    ASSERT_EQ(m.categories.size(), 233u);
    EXPECT_EQ(m.y.min, 30);
    EXPECT_EQ(m.y.max, 70);
    ASSERT_EQ(m.series.size(), 2u);
    EXPECT_EQ(m.series[1].kind, SeriesKind::Bar);
    ASSERT_EQ(m.series[1].points.size(), 233u);
    EXPECT_EQ(m.series[1].points[232].y, 55.0);
    EXPECT_EQ(m.series[1].colour, kPaneUsed);
}

}  // namespace
}  // namespace veltrix
