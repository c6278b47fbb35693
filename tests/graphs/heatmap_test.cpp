// The heat map: which combination each cell shows, availability and the colour scale.
#include "graphs/heatmap.h"

#include <gtest/gtest.h>

#include "app/betting_commands.h"
#include "betting/betting_fixture.h"
#include "racecard/race_card.h"

namespace veltrix::test {
namespace {

using Combination = std::array<int, 3>;

TEST(HeatmapCombination, EachTypeReadsItsCellAsTheTablesStoreIt) {
    // Quinella: the pair, ascending, either way round.
    EXPECT_EQ(HeatmapCombination("4", 0, 5, 2), (Combination{2, 5, 0}));
    EXPECT_EQ(HeatmapCombination("4", 0, 2, 5), (Combination{2, 5, 0}));
    // Exacta: the column's horse first, the row's second.
    EXPECT_EQ(HeatmapCombination("6", 0, 5, 2), (Combination{2, 5, 0}));
    EXPECT_EQ(HeatmapCombination("6", 0, 2, 5), (Combination{5, 2, 0}));
    // Trio: pivot, row and column ascending.
    EXPECT_EQ(HeatmapCombination("7", 9, 5, 2), (Combination{2, 5, 9}));
    // Trifecta: pivot first, column second, row third.
    EXPECT_EQ(HeatmapCombination("8", 9, 5, 2), (Combination{9, 2, 5}));
    // A combination repeating a horse has no cell: the diagonal, the pivot's row and column.
    EXPECT_FALSE(HeatmapCombination("4", 0, 3, 3));
    EXPECT_FALSE(HeatmapCombination("7", 3, 3, 5));
    EXPECT_FALSE(HeatmapCombination("8", 5, 3, 5));
    EXPECT_FALSE(HeatmapCombination("7", 0, 3, 5));  // no pivot
    EXPECT_FALSE(HeatmapCombination("5", 0, 3, 5));
}

TEST(GetHeatColor, BandsOfOneTenthWithTheirEdges) {
    EXPECT_EQ(GetHeatColor(1.05), (Rgb{153, 255, 0}));
    EXPECT_EQ(GetHeatColor(1.0500001), (Rgb{0, 255, 0}));
    // 0.65 to 0.85 share one yellow.
    EXPECT_EQ(GetHeatColor(0.66), (Rgb{255, 255, 0}));
    EXPECT_EQ(GetHeatColor(0.8), (Rgb{255, 255, 0}));
    EXPECT_EQ(GetHeatColor(0.85), (Rgb{255, 255, 0}));
    EXPECT_EQ(GetHeatColor(0.86), (Rgb{204, 255, 0}));
    EXPECT_EQ(GetHeatColor(2.5), (Rgb{51, 0, 255}));
    EXPECT_EQ(GetHeatColor(0.05), (Rgb{255, 0, 0}));
    EXPECT_EQ(GetHeatColor(-1), (Rgb{255, 0, 0}));
    EXPECT_EQ(GetHeatColor(0.2), (Rgb{255, 102, 0}));
    EXPECT_EQ(GetHeatColor(0.1), (Rgb{255, 51, 0}));
}

class HeatmapTest : public BettingTest {
protected:
    void SetUp() override {
        build(6, MakeRaceOdds(6));
        open();
    }
    const Sheet& grid() { return app.heatmap.fpsHeatmap; }
};

TEST_F(HeatmapTest, CellsShowTheRatiosOfTheirCombinationsAndGreyTheRest) {
    const OddsTables& o = app.raceTables.odds;
    SelectHeatMap(app, 1, 0);  // 馬単
    EXPECT_FALSE(app.heatmap.cboJikuEnabled);
    const double exacta = o.UmatanKairi(2, 5);
    ASSERT_GT(exacta, 0);
    EXPECT_EQ(grid().number(RowNo(5), ColNo(2)), exacta);
    EXPECT_EQ(grid().cell(RowNo(5), ColNo(2)).back, CellColor(GetHeatColor(exacta)));
    EXPECT_EQ(grid().cell(RowNo(5), ColNo(2)).fore, CellColor(kBlack));
    EXPECT_EQ(grid().text(RowNo(3), ColNo(3)), "");
    EXPECT_EQ(grid().cell(RowNo(3), ColNo(3)).back, CellColor(kHeatmapGrey));
    // Horses that do not run (7-18) have no odds: grey.
    EXPECT_EQ(grid().cell(RowNo(8), ColNo(2)).back, CellColor(kHeatmapGrey));

    SelectHeatMap(app, 3, 3);  // 3連単, pivot horse 4
    EXPECT_TRUE(app.heatmap.cboJikuEnabled);
    EXPECT_EQ(grid().number(RowNo(1), ColNo(6)), o.SanrentanKairi(4, 6, 1));
    EXPECT_EQ(grid().text(RowNo(4), ColNo(6)), "");

    SelectHeatMap(app, 2, 3);  // 3連複, pivot horse 4
    EXPECT_EQ(grid().number(RowNo(6), ColNo(1)), o.SanrenpukuKairi(1, 4, 6));
    SelectHeatMap(app, 0, 3);  // 馬連; the pivot is ignored
    EXPECT_FALSE(app.heatmap.cboJikuEnabled);
    EXPECT_EQ(grid().number(RowNo(6), ColNo(1)), o.UmarenKairi(1, 6));
    EXPECT_EQ(grid().number(RowNo(1), ColNo(6)), o.UmarenKairi(1, 6));
}

TEST_F(HeatmapTest, ListedBetsShowAndOtherStatesDoNot) {
    AddKaime(app, "4", "0102");
    app.raceTables.odds.UmarenOdds(1, 3).state = kOddsCancelled;
    SelectHeatMap(app, 0, 0);
    EXPECT_FALSE(grid().text(RowNo(1), ColNo(2)).empty());
    EXPECT_EQ(grid().text(RowNo(1), ColNo(3)), "");
}

TEST_F(HeatmapTest, ANewRaceClearsTheMapAndItsOptions) {
    SelectHeatMap(app, 3, 5);
    open();
    EXPECT_EQ(app.heatmap.optShikibetsu, 0);
    EXPECT_EQ(app.heatmap.cboJiku, 0);
    EXPECT_EQ(grid().text(RowNo(5), ColNo(2)), "");
    EXPECT_EQ(grid().cell(RowNo(5), ColNo(2)).back, std::nullopt);
    EXPECT_FALSE(ShowHeatMap(app));
    EXPECT_FALSE(grid().text(RowNo(5), ColNo(2)).empty());
    ResetData(app);
    EXPECT_TRUE(ShowHeatMap(app));  // no race on show
}

}  // namespace
}  // namespace veltrix::test
