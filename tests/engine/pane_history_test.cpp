// The past-performance pane: row colours by how the calculation treats each
// run, the rest line, switching runs off and on across calculations, the
// scroll to the last ten runs, the right-click's past race, and the commands
// that redraw it with the histogram and the timeline chart.
#include <gtest/gtest.h>

#include "app/calculate_command.h"
#include "app/pane_commands.h"
#include "app/race_commands.h"
#include "calc_fixture.h"
#include "engine/history_pane.h"

namespace veltrix {
namespace {

using test::CardBuilder;
using test::RunFields;

// A race card of two runners (UmaCodes U1, U2) inside an application.
struct PaneApp {
    explicit PaneApp(CardBuilder& b) {
        for (Sheet& s : b.card.sheets)
            for (int r = 1; r <= s.rowCount(); ++r) {
                s.setText(RowNo(r), card::kUmaCode, "U" + std::to_string(r));
                s.setText(RowNo(r), card::kName, "ウマ" + std::to_string(r));
            }
        app.raceCard = b.card;
        app.palette = b.palette;
        app.settings = b.settings;
        app.store.DataMode = "KONSYU";
    }
    // A click on the runner's name cell.
    void choose(int row) { ChooseRunner(app, RowNo(row)); }
    RunColour colour(int row) const { return PaneRowColour(app.pane.fpsHistory, RowNo(row)); }
    const std::string& text(int row, int field) const {
        return app.pane.fpsHistory.text(RowNo(row), ColNo(field));
    }
    const std::string& raceRL(int row) const {
        return app.raceCard.sheet(kSheetSyuso).text(RowNo(row), sheet1::kRL);
    }
    Application app;
};

RunFields runOn(const std::string& date, double figure = 50) {
    RunFields f;
    f.date = date;
    f.figure = figure;
    f.rIndex = figure;
    return f;
}

TEST(HistoryPane, ColoursEachRunByHowTheCalculationTreatsIt) {
    CardBuilder b(2);
    RunFields out = runOn("2008/03/01");
    out.validity = "OUT";
    b.add(1, out);                             // 1 never countable: grey
    b.add(1, runOn("2007/01/06"));             // 2 more than 600 days back: green
    RunFields hakodate = runOn("2008/05/01");  // 3 a course the palette leaves out: green
    hakodate.course = "函館";
    b.add(1, hakodate);
    b.add(1, runOn("2008/06/01", 60));  // 4 used: orange
    RunFields bare = runOn("2008/07/01");
    bare.hasFigures = false;
    b.add(1, bare);  // 5 eligible without figures: cyan
    SetPaletteBox(b.palette, "函館", false);
    PaneApp p(b);
    Calculate(p.app);
    p.choose(1);

    ASSERT_EQ(p.app.pane.fpsHistory.rowCount(), 5);
    EXPECT_EQ(p.colour(1), RunColour::Grey);
    EXPECT_EQ(p.colour(2), RunColour::Outside);
    EXPECT_EQ(p.colour(3), RunColour::Outside);
    EXPECT_EQ(p.colour(4), RunColour::Used);
    EXPECT_EQ(p.colour(5), RunColour::Unused);
    // Every column carries the row's colour, on black text.
    for (int c = 1; c <= kPaneColumns; ++c) {
        EXPECT_EQ(p.app.pane.fpsHistory.cell(RowNo(4), ColNo(c)).back, kPaneUsed) << c;
        EXPECT_EQ(p.app.pane.fpsHistory.cell(RowNo(4), ColNo(c)).fore, kBlack) << c;
    }
    // The run without figures shows its race, not a figure.
    EXPECT_EQ(p.text(5, run::kDate), "2008/07/01");
    EXPECT_EQ(p.text(5, run::kCourse), "中山");
    for (int f = run::kRL; f <= run::kRIndex; ++f) EXPECT_EQ(p.text(5, f), "") << f;
    EXPECT_EQ(p.text(4, run::kRIndex), "60.0");
}

TEST(HistoryPane, BeforeAnyCalculationEligibleRunsAreCyan) {
    CardBuilder b(1);
    b.add(1, runOn("2008/06/01"));
    PaneApp p(b);
    p.choose(1);
    EXPECT_EQ(p.colour(1), RunColour::Unused);
}

TEST(HistoryPane, RedLineOverTheFirstRunAfterARestButNeverTheFirstRun) {
    CardBuilder b(1);
    b.add(1, runOn("2008/01/05"));
    b.add(1, runOn("2008/02/05"));  // 31 days
    b.add(1, runOn("2008/06/05"));  // 121 days: after a rest
    PaneApp p(b);
    p.choose(1);
    const Sheet& s = p.app.pane.fpsHistory;
    EXPECT_FALSE(PaneRowAfterRest(s, RowNo(1)));
    EXPECT_FALSE(PaneRowAfterRest(s, RowNo(2)));
    ASSERT_TRUE(PaneRowAfterRest(s, RowNo(3)));
    for (int c = 1; c <= kPaneColumns; ++c) {
        EXPECT_TRUE(s.cell(RowNo(3), ColNo(c)).topBorder) << c;
        EXPECT_EQ(s.cell(RowNo(3), ColNo(c)).borderColor, kPaneRestBorder) << c;
    }
}

TEST(HistoryPane, ASwitchedOffRunStaysOutUntilSwitchedOnAndCountsFromTheNextCalculation) {
    CardBuilder b(1);
    b.add(1, runOn("2008/06/01", 60));
    b.add(1, runOn("2008/07/01", 40));
    b.add(1, runOn("2008/08/01", 50));
    PaneApp p(b);
    Calculate(p.app);
    p.choose(1);
    ASSERT_EQ(p.colour(1), RunColour::Used);
    EXPECT_EQ(p.raceRL(1), "50.0");

    // Off: grey at once, the figures untouched until the next calculation.
    ASSERT_FALSE(ClickHistoryRun(p.app, RowNo(1)));
    EXPECT_EQ(p.colour(1), RunColour::Grey);
    EXPECT_EQ(p.app.raceCard.pastRuns.at(1, 1, run::kValidity), "OFF");
    EXPECT_EQ(p.raceRL(1), "50.0");
    Calculate(p.app);
    EXPECT_EQ(p.colour(1), RunColour::Grey);
    EXPECT_EQ(p.raceRL(1), "45.0");

    // On again: cyan until the calculation uses it, then orange.
    ASSERT_FALSE(ClickHistoryRun(p.app, RowNo(1)));
    EXPECT_EQ(p.colour(1), RunColour::Unused);
    EXPECT_EQ(p.app.raceCard.pastRuns.at(1, 1, run::kValidity), "ON");
    Calculate(p.app);
    EXPECT_EQ(p.colour(1), RunColour::Used);
    EXPECT_EQ(p.raceRL(1), "50.0");
}

TEST(HistoryPane, ARunThatNeverCountsStaysGreyWhenClicked) {
    CardBuilder b(1);
    RunFields out = runOn("2008/06/01");
    out.validity = "OUT";
    b.add(1, out);
    PaneApp p(b);
    p.choose(1);
    for (int click = 0; click < 2; ++click) {
        ClickHistoryRun(p.app, RowNo(1));
        EXPECT_EQ(p.colour(1), RunColour::Grey);
        EXPECT_EQ(p.app.raceCard.pastRuns.at(1, 1, run::kValidity), "OUT");
    }
}

TEST(HistoryPane, ClicksOutsideThePaneChangeNothing) {
    CardBuilder b(1);
    b.add(1, runOn("2008/06/01"));
    PaneApp p(b);
    EXPECT_TRUE(ClickHistoryRun(p.app, RowNo(1)));  // no runner shown yet
    p.choose(1);
    EXPECT_TRUE(ClickHistoryRun(p.app, RowNo(0)));
    EXPECT_TRUE(ClickHistoryRun(p.app, RowNo(2)));
    EXPECT_EQ(p.app.raceCard.pastRuns.at(1, 1, run::kValidity), "ON");
}

TEST(HistoryPane, ScrollsToTheLastTenRuns) {
    for (auto [runs, top] : {std::pair{12, 3}, {10, 1}, {9, 1}, {0, 1}}) {
        CardBuilder b(1);
        for (int l = 1; l <= runs; ++l)
            b.add(1, runOn("2008/" + std::string(l < 10 ? "0" : "") + std::to_string(l) + "/01"));
        PaneApp p(b);
        p.choose(1);
        EXPECT_EQ(p.app.pane.fpsHistory.rowCount(), runs);
        EXPECT_EQ(p.app.pane.topRow, top) << runs << " runs";
    }
}

TEST(HistoryPane, ChoosingAnotherRunnerRedrawsAndTheSameRunnerDoesNothing) {
    CardBuilder b(2);
    b.add(1, runOn("2008/06/01"));
    b.add(2, runOn("2008/06/01"));
    b.add(2, runOn("2008/07/01"));
    PaneApp p(b);
    p.choose(1);
    EXPECT_EQ(p.app.pane.fpsHistory.rowCount(), 1);
    ClickHistoryRun(p.app, RowNo(1));
    p.choose(2);
    EXPECT_EQ(p.app.pane.fpsHistory.rowCount(), 2);
    EXPECT_EQ(p.app.pane.umaCode, "U2");
    EXPECT_EQ(p.app.raceCard.HistoryUmaban, "2");
    // Back to runner 1: its switched-off run is still off.
    p.choose(1);
    EXPECT_EQ(p.colour(1), RunColour::Grey);
    const uint64_t revision = p.app.pane.fpsHistory.revision();
    p.choose(1);
    EXPECT_EQ(p.app.pane.fpsHistory.revision(), revision);
}

TEST(HistoryPane, ARunnerWithoutStoredRunsEmptiesThePane) {
    CardBuilder b(2);
    b.add(1, runOn("2008/06/01"));
    PaneApp p(b);
    p.choose(1);
    p.choose(2);
    EXPECT_EQ(p.app.pane.fpsHistory.rowCount(), 0);
    EXPECT_EQ(p.app.pane.umaCode, "U2");
    // A horse number past the rows of the past runs has none either.
    p.app.raceCard.sheet(kSheetSyuso).setText(RowNo(1), card::kNo, "7");
    p.choose(1);
    EXPECT_EQ(p.app.pane.fpsHistory.rowCount(), 0);
    EXPECT_EQ(p.app.pane.umaCode, "U1");
    EXPECT_TRUE(ClickHistoryRun(p.app, RowNo(1)));
    // An UmaCode not on the race card changes nothing.
    EXPECT_TRUE(DrawHistory(p.app.pane, p.app.raceCard, p.app.palette, p.app.settings, "U9"));
    EXPECT_EQ(p.app.pane.umaCode, "U1");
}

TEST(HistoryPane, RebuildingTheRaceEmptiesThePane) {
    CardBuilder b(1);
    b.add(1, runOn("2008/06/01"));
    PaneApp p(b);
    p.choose(1);
    ResetData(p.app);
    EXPECT_EQ(p.app.pane.fpsHistory.rowCount(), 0);
    EXPECT_EQ(p.app.pane.umaCode, "");
    EXPECT_TRUE(ClickHistoryRun(p.app, RowNo(1)));
}

TEST(HistoryPane, HeadersAndHiddenCodeColumns) {
    HistoryPane pane;
    const Sheet& s = pane.fpsHistory;
    ASSERT_EQ(s.colCount(), 29);
    EXPECT_EQ(s.header(ColNo(2)), "日付");
    EXPECT_EQ(s.header(ColNo(18)), "着");
    EXPECT_EQ(s.header(ColNo(22)), "P前");
    EXPECT_EQ(s.header(ColNo(29)), "総合");
    for (int c : {1, 4, 5, 6}) {
        EXPECT_EQ(s.header(ColNo(c)), "") << c;
        EXPECT_TRUE(s.isColumnHidden(ColNo(c))) << c;
    }
}

TEST(HistoryPane, RightClickGathersThePastRaceAndGreyRowsOfferNothing) {
    CardBuilder b(1);
    RunFields r = runOn("2008/06/01", 55);
    b.add(1, r);
    RunFields out = runOn("2008/07/01");
    out.validity = "OUT";
    b.add(1, out);
    auto& runs = b.card.pastRuns;
    runs.at(1, 1, run::kRaceId) = "2008060106030811";
    runs.at(1, 1, run::kRaceName) = "テスト特別";
    runs.at(1, 1, run::kSyubetsuCode) = "13";
    runs.at(1, 1, run::kJyokenCode) = "005";
    runs.at(1, 1, run::kTrackCode) = "24";
    runs.at(1, 1, run::kPZenhan) = "+1.5";
    runs.at(1, 1, run::kPKouhan) = "-0.5";
    PaneApp p(b);
    p.choose(1);

    EXPECT_FALSE(RightClickHistoryRun(p.app, RowNo(2)));
    EXPECT_FALSE(p.app.pane.pastRace);
    auto c = RightClickHistoryRun(p.app, RowNo(1));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->umaName, "ウマ1");
    EXPECT_EQ(c->raceId, "2008060106030811");
    EXPECT_EQ(c->caption, "2008/06/01 中山 ダ1200 テスト特別");
    EXPECT_EQ(c->distance, "1200");
    EXPECT_EQ(c->jyokenCode, "005");
    EXPECT_EQ(c->syubetsuCode, "13");
    EXPECT_EQ(c->trackCode, "24");
    EXPECT_EQ(c->raceLevel, "55.0");
    EXPECT_EQ(c->paceZenhan, "+1.5");
    EXPECT_EQ(c->paceKouhan, "-0.5");
    ASSERT_TRUE(p.app.pane.pastRace);
    EXPECT_EQ(p.app.pane.pastRace->raceId, "2008060106030811");
}

// The pane's charts follow it: the histogram on every redraw and click, the
// timeline chart on a click only while "対象ﾚｰｽ" is chosen.
TEST(HistoryPane, ClicksRefreshTheHistogramAndTheTimelineChartOfUsedRuns) {
    CardBuilder b(1);
    b.add(1, runOn("2008/12/01", 60));
    PaneApp p(b);
    Calculate(p.app);
    p.choose(1);
    const size_t slot = static_cast<size_t>(TimelineSlot(47) - 1);  // 2008/12/01 to 2009/01/17
    EXPECT_EQ(p.app.detail.counts[0][static_cast<size_t>(DetailClass(60) - 1)], 1);
    EXPECT_EQ(p.app.timeline.series[0].values[slot], 60);

    ASSERT_FALSE(SetGraphOption(p.app, kGraphTaisyo, false));
    EXPECT_EQ(p.app.timeline.series[1].values[slot], 60);
    ClickHistoryRun(p.app, RowNo(1));
    EXPECT_EQ(p.app.detail.counts[0][static_cast<size_t>(DetailClass(60) - 1)], 0);
    EXPECT_EQ(p.app.timeline.series[1].values[slot], 0);
    EXPECT_EQ(p.app.timeline.series[0].values[slot], 60);

    // Under another option a click leaves the chart as it was drawn.
    ClickHistoryRun(p.app, RowNo(1));
    Calculate(p.app);
    ASSERT_FALSE(SetGraphOption(p.app, kGraphRLSogo, false));
    const auto before = p.app.timeline.series[0].values;
    ClickHistoryRun(p.app, RowNo(1));
    EXPECT_EQ(p.app.timeline.series[0].values, before);
    EXPECT_TRUE(SetGraphOption(p.app, 3, false));
}

TEST(HistoryPane, ClicksAndOptionsTellTheWindows) {
    CardBuilder b(1);
    b.add(1, runOn("2008/12/01", 60));
    PaneApp p(b);
    p.choose(1);
    int heard = 0;
    Subscription sub = p.app.changes.subscribe([&](Change c) { heard += c == Change::PaneChanged; });
    ClickHistoryRun(p.app, RowNo(1));
    SetGraphOption(p.app, kGraphSogo, true);
    ClickHistoryRun(p.app, RowNo(5));  // nothing there: nothing to tell
    EXPECT_EQ(heard, 2);
}

}  // namespace
}  // namespace veltrix
