// The bet list: rows and the total row, adding and removing from the odds
// view, restoring with the race, captions, sorting and the marks.
#include "app/betting_commands.h"
#include "betting/betting.h"
#include "betting/kaime_money.h"
#include "betting_fixture.h"
#include "racecard/race_card.h"
#include "store/race_files.h"

namespace veltrix::test {
namespace {

using namespace kaime_col;

class KaimeListTest : public BettingTest {
protected:
    void SetUp() override {
        build(8, MakeRaceOdds(8));
        open();
    }
    const KaimeList& list() { return app.betting.kaimeList; }
    const Sheet& grid() { return app.betting.kaimeList.fpsKaimeList; }
    std::string at(int r, ColNo c) { return grid().text(RowNo(r), c); }
    std::vector<std::string> row(int r) {
        std::vector<std::string> cells;
        for (int c = 1; c <= kColumns; ++c) cells.push_back(at(r, ColNo(c)));
        return cells;
    }
};

TEST_F(KaimeListTest, FirstBetCreatesTheTotalRowAndDeletingTheOnlyBetEmptiesTheGrid) {
    ASSERT_EQ(grid().rowCount(), 0);
    ASSERT_FALSE(AddKaime(app, "4", "0307"));
    ASSERT_EQ(grid().rowCount(), 2);
    EXPECT_EQ(row(1), (std::vector<std::string>{"40307", "307", "0", "0", "馬連", "03-07", "30.7", "□－□",
                                                "\\0", "0.0%", "\\0", "0.0%"}));
    EXPECT_EQ(KaimeRowHeader(list(), RowNo(1)), "1");
    EXPECT_EQ(KaimeRowHeader(list(), RowNo(2)), "T");
    EXPECT_EQ(at(2, kKey), "TOTAL");
    EXPECT_EQ(at(2, kKingaku), "\\0");
    // Colours: the stake yellow on every row, the total row grey besides.
    EXPECT_EQ(grid().cell(RowNo(1), kKingaku).back, CellColor(kKingakuYellow));
    EXPECT_EQ(grid().cell(RowNo(2), kKingaku).back, CellColor(kKingakuYellow));
    EXPECT_EQ(grid().cell(RowNo(2), kMark).back, CellColor(kTotalGrey));
    EXPECT_EQ(grid().cell(RowNo(1), kMark).back, std::nullopt);
    EXPECT_EQ(app.raceTables.odds.UmarenOdds(3, 7).state, kOddsInBetList);

    RemoveKaime(app, "4", "0307");
    EXPECT_EQ(grid().rowCount(), 0);
    EXPECT_EQ(app.raceTables.odds.UmarenOdds(3, 7).state, kOddsOnSale);
}

TEST_F(KaimeListTest, EveryTypeTakesItsOddsAndPlaceAndWideTheLowOnes) {
    const std::pair<const char*, const char*> bets[] = {{"1", "02"},    {"2", "02"},   {"4", "0105"},
                                                        {"5", "0105"},  {"6", "0501"}, {"7", "010305"},
                                                        {"8", "050301"}};
    for (auto [code, kumiban] : bets) ASSERT_FALSE(AddKaime(app, code, kumiban)) << code;
    EXPECT_EQ(at(1, kOddsText), "4.0");   // win 40
    EXPECT_EQ(at(2, kOddsText), "1.3");   // place low 13 (high 19)
    EXPECT_EQ(at(3, kOddsText), "10.5");  // quinella 105
    EXPECT_EQ(at(4, kOddsText), "1.5");   // wide low 15
    EXPECT_EQ(at(5, kOddsText), "100.1");
    EXPECT_EQ(at(6, kOddsText), "103.5");
    EXPECT_EQ(at(7, kOddsText), "1506.1");
    const char* names[] = {"単勝", "複勝", "馬連", "ワイド", "馬単", "3連複", "3連単"};
    const char* shown[] = {"02", "02", "01-05", "01-05", "05-01", "01-03-05", "05-03-01"};
    for (int r = 1; r <= 7; ++r) {
        EXPECT_EQ(at(r, kShikibetsu), names[r - 1]);
        EXPECT_EQ(at(r, kKumiban), shown[r - 1]);
    }
    EXPECT_EQ(app.raceTables.odds.FukusyoOdds(2).lowState, kOddsInBetList);
    EXPECT_EQ(app.raceTables.odds.WideOdds(1, 5).lowState, kOddsInBetList);
    EXPECT_EQ(app.raceTables.odds.SanrentanOdds(5, 3, 1).state, kOddsInBetList);
    EXPECT_EQ(KaimeTypeName("3"), "");
}

TEST_F(KaimeListTest, ABetWithoutOddsIsNotListedButMarkedAllTheSame) {
    // 8 -> 8 is no exacta: no odds, no row, but the state is that of a listed bet.
    EXPECT_TRUE(AddKaime(app, "6", "0808"));
    EXPECT_EQ(grid().rowCount(), 0);
    EXPECT_EQ(app.raceTables.odds.UmatanOdds(8, 8).state, kOddsInBetList);
}

TEST_F(KaimeListTest, TwentyFiveBetsShowRowsSixToTwentyFive) {
    int added = 0;
    for (int i = 1; i <= 8 && added < 25; ++i)
        for (int j = 1; j <= 8 && added < 25; ++j)
            if (i != j) {
                std::string k = "0" + std::to_string(i) + "0" + std::to_string(j);
                ASSERT_FALSE(AddKaime(app, "6", k));
                ++added;
                EXPECT_EQ(list().TopRow, grid().rowCount() > 20 ? grid().rowCount() - 20 : 1);
            }
    EXPECT_EQ(grid().rowCount(), 26);
    EXPECT_EQ(list().TopRow, 6);
    // Deleting renumbers the rows; the total row keeps its "T".
    RemoveKaime(app, "6", "0102");
    EXPECT_EQ(grid().rowCount(), 25);
    EXPECT_EQ(at(1, kKumiban), "01-03");
    EXPECT_EQ(KaimeRowHeader(list(), RowNo(24)), "24");
    EXPECT_EQ(KaimeRowHeader(list(), RowNo(25)), "T");
    EXPECT_LE(list().TopRow, 5);
}

TEST_F(KaimeListTest, CaptionsOfTheBetListAndTheirParsing) {
    ASSERT_FALSE(AddKaime(app, "7", "010305"));
    EXPECT_EQ(KaimeListMenuCaption(app, RowNo(1)), "買い目リストから削除 -> 3連複 01-03-05 ( 103.5 )");
    EXPECT_EQ(KaimeListMenuCaption(app, RowNo(2)), "");  // the total row has no menu
    EXPECT_FALSE(ToggleKaime(app, KaimeListMenuCaption(app, RowNo(1))));
    EXPECT_EQ(grid().rowCount(), 0);

    struct Case {
        const char* caption;
        const char* code;
        const char* kumiban;
        bool add;
    };
    const Case cases[] = {
        {"買い目リストに追加 -> 単勝 05 ( 3.5 )", "1", "05", true},
        {"買い目リストから削除 -> 複勝 12 ( 1.1 )", "2", "12", false},
        {"買い目リストに追加 -> 馬連 03-07 ( 12.3 )", "4", "0307", true},
        {"買い目リストに追加 -> ワイド 03-07 ( 4.0 )", "5", "0307", true},
        {"買い目リストから削除 -> 馬単 07-03 ( 30.0 )", "6", "0703", false},
        {"買い目リストに追加 -> 3連複 01-03-06 ( 88.1 )", "7", "010306", true},
        {"買い目リストから削除 -> 3連単 06-01-03 ( 1234.5 )", "8", "060103", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        auto k = ParseKaimeCaption(c.caption);
        ASSERT_TRUE(k);
        EXPECT_EQ(k->ShikibetsuCode, c.code);
        EXPECT_EQ(k->Kumiban, c.kumiban);
        EXPECT_EQ(k->add, c.add);
    }
    EXPECT_FALSE(ParseKaimeCaption(""));
    EXPECT_FALSE(ParseKaimeCaption("馬連 03-07"));  // neither add nor remove
    EXPECT_TRUE(ToggleKaime(app, "買い目リストに追加 -> 枠連 3-7 ( 5.0 )"));
}

TEST_F(KaimeListTest, ToggleFromTheOddsPopupAddsThenRemovesAndRedrawsTheView) {
    ClickOddsCell(app, RowNo(3), sheet3::kTansyo);
    const std::string add = OddsMenuCaption(app, RowNo(7), sheet3::kUmaren);
    ASSERT_EQ(add, "買い目リストに追加 -> 馬連 03-07 ( 30.7 )");
    EXPECT_FALSE(ToggleKaime(app, add));
    EXPECT_EQ(app.raceCard.sheet(kSheetOdds).cell(RowNo(7), sheet3::kUmaren).back, CellColor(kOddsOrange));
    const std::string remove = OddsMenuCaption(app, RowNo(7), sheet3::kUmaren);
    EXPECT_EQ(remove, "買い目リストから削除 -> 馬連 03-07 ( 30.7 )");
    EXPECT_FALSE(ToggleKaime(app, remove));
    EXPECT_EQ(grid().rowCount(), 0);
    EXPECT_EQ(app.raceCard.sheet(kSheetOdds).cell(RowNo(7), sheet3::kUmaren).back, CellColor(kBlack));
}

TEST_F(KaimeListTest, SortingKeepsTheTotalRowLast) {
    AddKaime(app, "4", "0203");
    AddKaime(app, "1", "05");
    AddKaime(app, "6", "0201");
    EditKingaku(app, RowNo(1), "300");
    EditKingaku(app, RowNo(3), "800");
    EXPECT_TRUE(SortKaime(app, ColNo(9)));  // stake, descending
    EXPECT_EQ(at(1, kKey), "60201");
    EXPECT_EQ(at(2, kKey), "40203");
    EXPECT_EQ(at(4, kKey), "TOTAL");
    EXPECT_TRUE(SortKaime(app, ColNo(5)));  // type and combination, ascending
    EXPECT_EQ(at(1, kKey), "105");
    EXPECT_EQ(at(3, kKey), "60201");
    EXPECT_TRUE(SortKaime(app, ColNo(7)));  // odds ascending: win 7.0, quinella 20.3, exacta 40.1
    EXPECT_EQ(at(1, kKey), "105");
    EXPECT_EQ(at(3, kKey), "60201");
    EXPECT_FALSE(SortKaime(app, ColNo(8)));  // marks do not sort
    EXPECT_EQ(at(4, kKey), "TOTAL");
}

TEST_F(KaimeListTest, SavedListComesBackWithTheRaceWithItsOrangeCells) {
    AddKaime(app, "4", "0203");
    AddKaime(app, "2", "05");
    EditKingaku(app, RowNo(1), "\\1,200");
    ASSERT_FALSE(SaveKaimeList(app));
    open();
    ASSERT_EQ(grid().rowCount(), 3);
    EXPECT_EQ(at(1, kKingaku), "\\1,200");
    EXPECT_EQ(at(2, kKumiban), "05");
    EXPECT_EQ(at(3, kKingaku), "\\1,200");
    EXPECT_EQ(at(1, kHiritsu), "100.0%");
    EXPECT_EQ(app.raceCard.sheet(kSheetOdds).cell(RowNo(5), sheet3::kFukusyoLo).back, CellColor(kOddsOrange));
    ClickOddsCell(app, RowNo(2), sheet3::kTansyo);
    EXPECT_EQ(app.raceCard.sheet(kSheetOdds).cell(RowNo(3), sheet3::kUmaren).back, CellColor(kOddsOrange));

    // Another race load starts from an empty list when there is no file.
    std::filesystem::remove(*RaceFilePath(app.folders, '5', kRaceId));
    open();
    EXPECT_EQ(grid().rowCount(), 0);
}

TEST_F(KaimeListTest, AListedBetWhoseHorseWasScratchedShowsNoOdds) {
    // The saved list holds a quinella whose sale was cancelled by the odds since.
    OddsTables o = MakeRaceOdds(8);
    o.UmarenOdds(1, 2) = {kOddsCancelled, -1};
    ASSERT_EQ(WriteOddsCache(app.folders, kRaceId, o), 0);
    Array1<KaimeRow> rows(kKaimeRows);
    rows[1] = {"4", "0102", "100"};
    rows[2] = {"4", "0103", "100"};
    ASSERT_EQ(WriteKaimeCache(app.folders, kRaceId, rows), 0);
    open();
    ASSERT_EQ(grid().rowCount(), 2);  // only the bet with odds is in the grid
    EXPECT_EQ(app.raceTables.odds.UmarenOdds(1, 2).state, kOddsInBetList);
    ClickOddsCell(app, RowNo(1), sheet3::kTansyo);
    EXPECT_EQ(app.raceCard.sheet(kSheetOdds).text(RowNo(2), sheet3::kUmaren), "");
    EXPECT_EQ(app.raceCard.sheet(kSheetOdds).text(RowNo(2), sheet3::kUmarenExp), "");
    EXPECT_EQ(app.raceCard.sheet(kSheetOdds).text(RowNo(3), sheet3::kUmaren), "10.3");
    EXPECT_EQ(OddsMenuCaption(app, RowNo(2), sheet3::kUmaren), "");
}

// ---- marks ----

TEST_F(KaimeListTest, MarksGoOnEverySheetIntoTheFileAndIntoTheBetList) {
    AddKaime(app, "8", "010203");
    AddKaime(app, "7", "010203");
    ASSERT_FALSE(MarkRunner(app, RowNo(1), 0));  // ◎
    ASSERT_FALSE(MarkRunner(app, RowNo(3), 2));  // ▲
    for (int s = 1; s <= 3; ++s) EXPECT_EQ(app.raceCard.sheet(s).text(RowNo(1), card::kMark), "◎");
    // The unmarked second horse shows "□"; trifecta joins with "→", trio with "－".
    EXPECT_EQ(at(1, kMark), "◎→□→▲");
    EXPECT_EQ(at(2, kMark), "◎－□－▲");

    // Marking the same runner twice: two entries, the card and the file hold the latest.
    ASSERT_FALSE(MarkRunner(app, RowNo(1), 1));  // ○
    int entries = 0;
    for (const MarkEntry& m : app.raceTables.MarkList) entries += m.UmaCode == Uma(1);
    EXPECT_EQ(entries, 2);
    EXPECT_EQ(app.raceCard.sheet(kSheetOdds).text(RowNo(1), card::kMark), "○");
    RaceTables read;
    ASSERT_EQ(ReadMarkCache(app.folders, kRaceId, read), 0);
    EXPECT_EQ(read.MarkList[1], (MarkEntry{Uma(1), "○"}));
    EXPECT_EQ(read.MarkList[3], (MarkEntry{Uma(3), "▲"}));
    EXPECT_EQ(read.MarkList[2], (MarkEntry{Uma(2), ""}));

    // A blank symbol is stored as no mark: after a reload the runner shows none.
    ASSERT_FALSE(MarkRunner(app, RowNo(3), 14));
    EXPECT_EQ(app.raceCard.sheet(kSheetSyuso).text(RowNo(3), card::kMark), " ");
    EXPECT_EQ(at(1, kMark), "○→□→□");
    open();
    EXPECT_EQ(app.raceCard.sheet(kSheetSyuso).text(RowNo(3), card::kMark), "");
    EXPECT_EQ(app.raceCard.sheet(kSheetKeibajo).text(RowNo(1), card::kMark), "○");

    EXPECT_TRUE(MarkRunner(app, RowNo(9), 0));
    EXPECT_TRUE(MarkRunner(app, RowNo(1), 15));
}

}  // namespace
}  // namespace veltrix::test
