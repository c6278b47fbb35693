// The odds view on sheet 3: axis, composite and specific combination odds,
// colours, the filter, clicks and the odds pop-up's caption.
#include "betting/odds_view.h"

#include "app/betting_commands.h"
#include "betting_fixture.h"
#include "racecard/race_card.h"

namespace veltrix::test {
namespace {

using namespace sheet3;

class OddsViewTest : public BettingTest {
protected:
    void SetUp() override {
        build(5, MakeRaceOdds(5));
        open();
    }
    void click(int horse, ColNo col) { ClickOddsCell(app, row(horse), col); }
};

TEST_F(OddsViewTest, CompositeOddsAreOneOverTheSumOfInverseOdds) {
    click(1, kTansyo);
    // Axis 1, row horse 2: the trios (1, 2, x) and the trifectas of each pattern
    // over the free horse x = 3, 4, 5, by hand.
    EXPECT_NEAR(*oddsSheet().number(row(2), kSanrenpuku), 34.1333, 1e-4);
    EXPECT_EQ(text(2, kSanrenpuku), "34.1");
    EXPECT_EQ(text(2, kSanrenpukuExp), "");
    // 35: axis 1st, row 2nd -> (1, 2, x) = 3043, 3044, 3045.
    EXPECT_NEAR(*oddsSheet().number(row(2), kSanrentan12), 101.4667, 1e-4);
    // 43: row 1st, axis 3rd -> (2, x, 1) = 6061, 6081, 6101.
    EXPECT_NEAR(*oddsSheet().number(row(2), kSanrentan31), 202.6985, 1e-4);
    EXPECT_EQ(text(2, kSanrentan31), "202.7");
    // Composites are orange on black.
    EXPECT_EQ(cell(2, kSanrenpuku).fore, CellColor(kOddsOrange));
    EXPECT_EQ(cell(2, kSanrenpuku).back, CellColor(kBlack));

    // A third horse without odds drops out of the sum; none at all leaves the cell empty.
    EXPECT_FALSE(CompositeOdds({}).has_value());
    OddsEntry on{kOddsOnSale, 40}, listed{kOddsInBetList, 40}, cancelled{kOddsCancelled, 10}, none{};
    EXPECT_DOUBLE_EQ(*CompositeOdds({&on, &listed, &cancelled, &none}), 20.0);
}

TEST_F(OddsViewTest, AxisRowIsBlankInCombinationColumnsAndInvertedInWinAndPlace) {
    click(3, kFukusyoHi);
    EXPECT_EQ(app.raceCard.OddsUmaban, "3");
    for (int c = kUmaren.value; c <= kLastOdds.value; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(text(3, ColNo(c)), "");
        EXPECT_EQ(cell(3, ColNo(c)).back, CellColor(kWhite));
        EXPECT_EQ(cell(3, ColNo(c)).fore, CellColor(kWhite));
    }
    EXPECT_EQ(text(3, kTansyo), "5.0");
    EXPECT_EQ(cell(3, kTansyo).fore, CellColor(kBlack));
    EXPECT_EQ(cell(3, kTansyo).back, CellColor(kWhite));
    EXPECT_EQ(cell(2, kTansyo).fore, CellColor(kWhite));
    EXPECT_EQ(cell(2, kTansyo).back, CellColor(kBlack));
    // The row horses: quinella (2, 3) = 203, exacta 3 -> 5 = 605 and 5 -> 3 = 1003.
    EXPECT_EQ(text(2, kUmaren), "20.3");
    EXPECT_EQ(text(5, kUmatan1), "60.5");
    EXPECT_EQ(text(5, kUmatan2), "100.3");
    EXPECT_EQ(text(5, kWideLo), "3.5");
    EXPECT_EQ(text(5, kWideHi), "6.5");
    EXPECT_FALSE(text(5, kUmarenExp).empty());
}

TEST_F(OddsViewTest, TrioAndTrifectaSecondHorsesShowSpecificOdds) {
    click(1, kTansyo);
    click(2, kSanrenpuku);  // the trio second horse
    EXPECT_EQ(app.betting.oddsView.SecondUma[0], "2");
    EXPECT_EQ(text(4, kSanrenpuku), "102.4");  // (1, 2, 4)
    EXPECT_FALSE(text(4, kSanrenpukuExp).empty());
    EXPECT_EQ(text(2, kSanrenpuku), "");  // (1, 2, 2) is no trio

    // Column 39 (row 1st, axis 2nd) with second horse 4: (4, 1, row).
    click(4, kSanrentan21);
    EXPECT_EQ(app.betting.oddsView.SanrentanColumn, 39);
    EXPECT_EQ(text(3, kSanrentan21), "1202.3");  // 3000*4 + 20*1 + 3
    // The other pattern columns keep their composites.
    EXPECT_EQ(cell(3, kSanrentan12).fore, CellColor(kOddsOrange));

    // The axis row's empty cell returns a column to composite odds.
    click(1, kSanrenpuku);
    EXPECT_EQ(app.betting.oddsView.SecondUma[0], "");
    EXPECT_EQ(text(2, kSanrenpuku), "34.1");
    click(1, kSanrentan21);
    EXPECT_EQ(app.betting.oddsView.SecondUma[3], "");
    EXPECT_EQ(cell(3, kSanrentan21).fore, CellColor(kOddsOrange));

    // A new axis forgets every second horse.
    click(2, kSanrenpuku);
    click(5, kTansyoRitsu);
    for (const auto& s : app.betting.oddsView.SecondUma) EXPECT_EQ(s, "");
    EXPECT_EQ(app.betting.oddsView.SanrentanColumn, 0);
}

TEST_F(OddsViewTest, FilterColoursQuinellaByRatioForSaleAndListedBets) {
    click(1, kTansyo);
    ASSERT_FALSE(AddKaime(app, "4", "0103"));
    const double ratio = app.raceTables.odds.UmarenKairi(1, 3);
    ASSERT_GT(ratio, 0);
    // In the bet list: black on orange; on sale: white on black.
    EXPECT_EQ(cell(3, kUmaren).back, CellColor(kOddsOrange));
    EXPECT_EQ(cell(3, kUmaren).fore, CellColor(kBlack));
    EXPECT_EQ(cell(2, kUmaren).fore, CellColor(kWhite));

    SetOddsFilter(app, true);
    EXPECT_EQ(cell(3, kUmaren).back, CellColor(GetHeatColor(ratio)));
    EXPECT_EQ(cell(3, kUmaren).fore, CellColor(kBlack));
    EXPECT_EQ(cell(2, kUmaren).fore, CellColor(GetHeatColor(app.raceTables.odds.UmarenKairi(1, 2))));
    EXPECT_EQ(cell(2, kUmaren).back, CellColor(kBlack));
    // Wide has no ratio and keeps its colours.
    EXPECT_EQ(cell(2, kWideLo).fore, CellColor(kWhite));

    SetOddsFilter(app, false);
    EXPECT_EQ(cell(3, kUmaren).back, CellColor(kOddsOrange));
}

TEST_F(OddsViewTest, CancelledWinOddsShowNothingAndStrikeTheName) {
    OddsTables o = MakeRaceOdds(5);
    o.TansyoOdds(4) = {kOddsCancelled, -1};
    ASSERT_EQ(WriteOddsCache(app.folders, kRaceId, o), 0);
    open();
    EXPECT_EQ(text(4, kTansyo), "");
    for (int s = 1; s <= 3; ++s) {
        EXPECT_TRUE(app.raceCard.sheet(s).cell(row(4), card::kName).strikeOut);
        EXPECT_FALSE(app.raceCard.sheet(s).cell(row(3), card::kName).strikeOut);
    }
}

TEST_F(OddsViewTest, PopupCaptionsNameTheBetAndItsState) {
    click(3, kTansyo);
    // Quinella 3-7 does not exist in a 5-runner field; 1-3 at 10.3 does.
    EXPECT_EQ(OddsMenuCaption(app, row(1), kUmaren), "買い目リストに追加 -> 馬連 01-03 ( 10.3 )");
    EXPECT_EQ(OddsMenuCaption(app, row(5), kUmatan2), "買い目リストに追加 -> 馬単 05-03 ( 100.3 )");
    EXPECT_EQ(OddsMenuCaption(app, row(2), kWideHi), "買い目リストに追加 -> ワイド 02-03 ( 2.3 )");
    EXPECT_EQ(OddsMenuCaption(app, row(2), kFukusyoHi), "買い目リストに追加 -> 複勝 02 ( 1.3 )");
    EXPECT_EQ(OddsMenuCaption(app, row(3), kTansyo), "買い目リストに追加 -> 単勝 03 ( 5.0 )");
    // Blank, composite and ratio cells build nothing.
    EXPECT_EQ(OddsMenuCaption(app, row(3), kUmaren), "");
    EXPECT_EQ(OddsMenuCaption(app, row(1), kSanrenpuku), "");
    EXPECT_EQ(OddsMenuCaption(app, row(1), kUmarenExp), "");
    click(5, kSanrenpuku);
    EXPECT_EQ(OddsMenuCaption(app, row(1), kSanrenpuku), "買い目リストに追加 -> 3連複 01-03-05 ( 103.5 )");
    click(1, kSanrentan32);  // row 2nd, axis 3rd; second horse 1 takes 2nd: (row, 1, 3)
    EXPECT_EQ(OddsMenuCaption(app, row(4), kSanrentan32), "買い目リストに追加 -> 3連単 04-01-03 ( 1202.3 )");

    ASSERT_FALSE(AddKaime(app, "4", "0103"));
    EXPECT_EQ(OddsMenuCaption(app, row(1), kUmaren), "買い目リストから削除 -> 馬連 01-03 ( 10.3 )");
}

TEST(OddsCaption, QuinellaOnThreeAndSevenAtTwelvePointThree) {
    RaceCard card;
    Sheet& s = card.sheet(kSheetOdds);
    s.setRowCount(7);
    for (int h = 1; h <= 7; ++h) s.setNumber(RowNo(h), card::kNo, h, std::to_string(h));
    OddsTables o;
    o.UmarenOdds(3, 7) = {kOddsOnSale, 123};
    card.OddsUmaban = "7";
    OddsView view;
    PutUmarenOdds(card, o, view);
    EXPECT_EQ(OddsPopupCaption(card, o, view, RowNo(3), kUmaren),
              "買い目リストに追加 -> 馬連 03-07 ( 12.3 )");
    // A combination without odds (state 0) offers no menu.
    EXPECT_EQ(OddsPopupCaption(card, o, view, RowNo(4), kUmaren), "");
}

class OddsClickRules : public BettingTest {};

TEST_F(OddsClickRules, ThreeOddsKindsAllowTrioButNoTrifectaClicks) {
    build(5, MakeRaceOdds(5, 3));
    open();
    EXPECT_TRUE(ClickOddsCell(app, row(1), kTansyo));
    EXPECT_TRUE(ClickOddsCell(app, row(2), kSanrenpuku));
    EXPECT_EQ(app.betting.oddsView.SecondUma[0], "2");
    const std::string before = text(3, kSanrentan12);
    for (ColNo col : kSanrentanColumns) EXPECT_FALSE(ClickOddsCell(app, row(3), col));
    EXPECT_EQ(app.betting.oddsView.SanrentanColumn, 0);
    EXPECT_EQ(text(3, kSanrentan12), before);
}

TEST_F(OddsClickRules, SpecialRegistrationsIgnoreTrioAndTrifectaClicks) {
    build(5, MakeRaceOdds(5), "TOKUBETSU");
    open();
    EXPECT_TRUE(ClickOddsCell(app, row(1), kTansyo));
    EXPECT_FALSE(ClickOddsCell(app, row(2), kSanrenpuku));
    EXPECT_FALSE(ClickOddsCell(app, row(2), kSanrentan12));
    for (const auto& s : app.betting.oddsView.SecondUma) EXPECT_EQ(s, "");
}

TEST_F(OddsClickRules, NoOddsSetsTheAxisButDrawsNothingAndOtherColumnsIgnoreClicks) {
    build(5, MakeRaceOdds(5, 0));
    open();
    EXPECT_TRUE(ClickOddsCell(app, row(2), kTansyo));
    EXPECT_EQ(app.raceCard.OddsUmaban, "2");
    EXPECT_EQ(text(1, kUmaren), "");
    EXPECT_FALSE(ClickOddsCell(app, row(2), kSanrenpuku));
    EXPECT_FALSE(ClickOddsCell(app, row(2), kUmaren));
    EXPECT_FALSE(ClickOddsCell(app, row(9), kTansyo));
}

TEST_F(OddsClickRules, NewOddsRedrawTheAxisAndTheBetListOdds) {
    build(5, MakeRaceOdds(5));
    open();
    ClickOddsCell(app, row(1), kTansyo);
    ClickOddsCell(app, row(2), kSanrenpuku);
    AddKaime(app, "4", "0102");
    // New odds arrive: the quinella is on sale again at other odds.
    OddsTables fresh = MakeRaceOdds(5);
    fresh.UmarenOdds(1, 2) = {kOddsOnSale, 77};
    fresh.TansyoOdds(3) = {kOddsCancelled, -1};
    app.raceTables.odds = fresh;
    RedrawOddsView(app);
    EXPECT_EQ(app.raceTables.odds.UmarenOdds(1, 2).state, kOddsInBetList);
    EXPECT_EQ(app.betting.kaimeList.fpsKaimeList.text(RowNo(1), ColNo(7)), "7.7");
    EXPECT_EQ(text(2, kUmaren), "7.7");
    EXPECT_EQ(cell(2, kUmaren).back, CellColor(kOddsOrange));
    EXPECT_EQ(app.betting.oddsView.SecondUma[0], "");
    EXPECT_EQ(cell(2, kSanrenpuku).fore, CellColor(kOddsOrange));  // composite again
    EXPECT_TRUE(app.raceCard.sheet(kSheetSyuso).cell(row(3), card::kName).strikeOut);
}

}  // namespace
}  // namespace veltrix::test
