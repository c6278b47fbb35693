// The bet list's money columns: the hundred-yen rule, amounts as typed, the
// rates and the two distributions of a budget.
#include "betting/kaime_money.h"

#include <gtest/gtest.h>

#include "betting/kaime_list.h"

namespace veltrix {
namespace {

using namespace kaime_col;

// A bet list of bets with the given odds in tenths (win bets on horses 1, 2, ...).
KaimeList listWithOdds(std::initializer_list<long long> odds) {
    KaimeList list;
    Sheet noMarks;
    int h = 0;
    for (long long o : odds) {
        ++h;
        AddKaime(list, noMarks, "1", (h < 10 ? "0" : "") + std::to_string(h), o, "");
    }
    return list;
}

std::string at(const KaimeList& list, int r, ColNo c) { return list.fpsKaimeList.text(RowNo(r), c); }
std::string total(const KaimeList& list) { return at(list, list.fpsKaimeList.rowCount(), kKingaku); }

TEST(HundredYen, RoundsHalvesToTheEvenHundred) {
    EXPECT_EQ(HundredYen(250), 200);
    EXPECT_EQ(HundredYen(350), 400);
    EXPECT_EQ(HundredYen(249), 200);
    EXPECT_EQ(HundredYen(251), 300);
    EXPECT_EQ(HundredYen(50), 0);
    EXPECT_EQ(HundredYen(150), 200);
    EXPECT_EQ(HundredYen(333.33), 300);
}

TEST(ReadAmount, YenSignsAndSeparatorsAreDroppedAndBadAmountsRefused) {
    EXPECT_EQ(ReadAmount("\\1,200"), 1200);
    EXPECT_EQ(ReadAmount(" 1,200 "), 1200);
    EXPECT_EQ(ReadAmount("¥3,000"), 3000);
    EXPECT_EQ(ReadAmount("￥500"), 500);
    EXPECT_EQ(ReadAmount("999999999"), 999999999);
    EXPECT_FALSE(ReadAmount("1000000000"));  // ten digits
    EXPECT_FALSE(ReadAmount("-100"));
    EXPECT_FALSE(ReadAmount("abc"));
    EXPECT_FALSE(ReadAmount(""));
    EXPECT_EQ(FormatYen(1234567), "\\1,234,567");
    EXPECT_EQ(FormatRate(1.6), "160.0%");
}

TEST(CalculateRate, StakesRoundToHundredsAndRatesFollowTheTotal) {
    KaimeList list = listWithOdds({20, 80});  // 2.0 and 8.0
    ASSERT_FALSE(SetKingaku(list, RowNo(1), "250"));
    EXPECT_EQ(at(list, 1, kKingaku), "\\200");
    EXPECT_EQ(at(list, 1, kKingakuValue), "200");
    ASSERT_FALSE(SetKingaku(list, RowNo(2), "350"));
    EXPECT_EQ(at(list, 2, kKingaku), "\\400");
    EXPECT_EQ(total(list), "\\600");
    EXPECT_EQ(at(list, 1, kHiritsu), "33.3%");
    EXPECT_EQ(at(list, 2, kHarai), "\\3,200");
    EXPECT_EQ(at(list, 2, kHaraiValue), "3200");
    EXPECT_EQ(at(list, 2, kKaisyu), "533.3%");
    // Typing into the total row sets a budget and recomputes nothing.
    ASSERT_FALSE(SetKingaku(list, RowNo(3), "5000"));
    EXPECT_EQ(total(list), "5000");
    EXPECT_EQ(at(list, 1, kKingaku), "\\200");
    EXPECT_TRUE(SetKingaku(list, RowNo(4), "1"));
}

TEST(CalculateRate, AllStakesZeroGiveZeroEverywhere) {
    KaimeList list = listWithOdds({20, 35, 80});
    CalculateRate(list);
    EXPECT_EQ(total(list), "\\0");
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(at(list, r, kHiritsu), "0.0%");
        EXPECT_EQ(at(list, r, kHarai), "\\0");
        EXPECT_EQ(at(list, r, kKaisyu), "0.0%");
    }
}

TEST(CalculateRate, AStakeThatIsNoAmountCountsZeroAndTheOthersGoOn) {
    KaimeList list = listWithOdds({20, 30, 40, 50});
    SetKingaku(list, RowNo(1), "500");
    SetKingaku(list, RowNo(2), "abc");
    SetKingaku(list, RowNo(3), "-300");
    SetKingaku(list, RowNo(4), "12345678901");
    EXPECT_EQ(at(list, 1, kKingaku), "\\500");
    for (int r = 2; r <= 4; ++r) EXPECT_EQ(at(list, r, kKingaku), "\\0") << r;
    EXPECT_EQ(total(list), "\\500");
    EXPECT_EQ(at(list, 1, kKaisyu), "200.0%");
}

TEST(Distributions, EqualStakeOfABudget) {
    KaimeList list = listWithOdds({20, 30, 40});
    SetKingaku(list, RowNo(4), "\\1,000");
    ASSERT_FALSE(CalculateToshiKinto(list));
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(at(list, r, kKingaku), "\\300");
    EXPECT_EQ(total(list), "\\900");
    EXPECT_EQ(at(list, 3, kHarai), "\\1,200");

    SetKingaku(list, RowNo(4), "100");
    ASSERT_FALSE(CalculateToshiKinto(list));
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(at(list, r, kKingaku), "\\100");
    EXPECT_EQ(total(list), "\\300");
}

TEST(Distributions, EqualPayoutOfABudget) {
    KaimeList list = listWithOdds({20, 80});
    SetKingaku(list, RowNo(3), "1000");
    ASSERT_FALSE(CalculateHaraimodoshiKinto(list));
    EXPECT_EQ(at(list, 1, kKingaku), "\\800");
    EXPECT_EQ(at(list, 2, kKingaku), "\\200");
    EXPECT_EQ(at(list, 1, kHarai), "\\1,600");
    EXPECT_EQ(at(list, 2, kHarai), "\\1,600");
    EXPECT_EQ(at(list, 1, kKaisyu), "160.0%");
    EXPECT_EQ(at(list, 2, kKaisyu), "160.0%");
    EXPECT_EQ(total(list), "\\1,000");
}

TEST(Distributions, ABetWhoseOddsShowZeroGetsTheMinimumAndTheOthersShareTheBudget) {
    KaimeList list = listWithOdds({20, 80, 50});
    // New odds marked horse 3 scratched: its odds show as 0.0.
    list.fpsKaimeList.setText(RowNo(3), kOddsText, "0.0");
    SetKingaku(list, RowNo(4), "1000");
    ASSERT_FALSE(CalculateHaraimodoshiKinto(list));
    EXPECT_EQ(at(list, 1, kKingaku), "\\800");
    EXPECT_EQ(at(list, 2, kKingaku), "\\200");
    EXPECT_EQ(at(list, 3, kKingaku), "\\100");
    EXPECT_EQ(at(list, 3, kHarai), "\\0");
    EXPECT_EQ(total(list), "\\1,100");
}

TEST(Distributions, NoBetsOrABudgetThatIsNoAmountLeaveTheListAlone) {
    KaimeList empty;
    EXPECT_TRUE(CalculateToshiKinto(empty));
    EXPECT_TRUE(CalculateHaraimodoshiKinto(empty));
    EXPECT_EQ(empty.fpsKaimeList.rowCount(), 0);

    KaimeList list = listWithOdds({20, 80});
    SetKingaku(list, RowNo(1), "300");
    SetKingaku(list, RowNo(3), "たくさん");
    const std::uint64_t revision = list.fpsKaimeList.revision();
    EXPECT_TRUE(CalculateToshiKinto(list));
    EXPECT_TRUE(CalculateHaraimodoshiKinto(list));
    SetKingaku(list, RowNo(3), "-1000");
    EXPECT_TRUE(CalculateToshiKinto(list));
    EXPECT_EQ(at(list, 1, kKingaku), "\\300");
    EXPECT_EQ(list.fpsKaimeList.revision(), revision + 1);  // only the typed budget changed
}

}  // namespace
}  // namespace veltrix
