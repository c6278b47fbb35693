// The race-wide steps: race labels, the two predictions, their deviation
// scores and ranks, the condition key and the scores.
#include <gtest/gtest.h>

#include <cmath>

#include "calc_fixture.h"

namespace veltrix::test {
namespace {

void put(Sheet& s, int row, ColNo col, double v) { s.setNumber(RowNo(row), col, v, FormatNumber(v, "0.0")); }

TEST(RaceLabels, LevelAndPace) {
    CardBuilder b(2);
    Sheet& s = b.card.sheet(kSheetSyuso);
    for (int r = 1; r <= 2; ++r) put(s, r, sheet1::kRL, 50);
    put(s, 1, sheet1::kTZenhan, 49), put(s, 2, sheet1::kTZenhan, 51);
    put(s, 1, sheet1::kTKouhan, 52), put(s, 2, sheet1::kTKouhan, 52);
    put(s, 1, sheet1::kRZ, 52), put(s, 2, sheet1::kRZ, 54);
    put(s, 1, sheet1::kRA, 48), put(s, 2, sheet1::kRA, 48);
    SetRelateValue(b.card);
    EXPECT_EQ(b.card.lblRelateValue[0], "51.0");
    EXPECT_EQ(b.card.lblRelateValue[1], "+3.0");
    EXPECT_EQ(b.card.lblRelateValue[2], "-2.0");
    EXPECT_EQ(b.card.lblRelateValue[3], "-5.0");

    put(s, 1, sheet1::kRZ, 50), put(s, 2, sheet1::kRZ, 50);
    put(s, 1, sheet1::kRA, 50), put(s, 2, sheet1::kRA, 50);
    SetRelateValue(b.card);
    EXPECT_EQ(b.card.lblRelateValue[1], "0.0");
    EXPECT_EQ(b.card.lblRelateValue[3], "+0.0");

    // A row without "RL" does not count; none at all blanks the labels.
    s.clearValue(RowNo(1), sheet1::kRL);
    s.clearValue(RowNo(2), sheet1::kRL);
    SetRelateValue(b.card);
    for (const auto& l : b.card.lblRelateValue) EXPECT_EQ(l, "");
}

TEST(ConditionKey, ClassesAndCoefficients) {
    EXPECT_EQ(MakeConditionKey("23", "11", "701", "1200"), "2111200");
    EXPECT_EQ(MakeConditionKey("27", "12", "005", "1800"), "9241800");
    EXPECT_EQ(MakeConditionKey("10", "13", "010", "2000"), "1352000");
    EXPECT_EQ(MakeConditionKey("22", "14", "016", "2000"), "1362000");
    EXPECT_EQ(MakeConditionKey("09", "18", "999", "3000"), "2973000");
    EXPECT_EQ(MakeConditionKey("26", "19", "703", "1000"), "2931000");
    EXPECT_EQ(MakeConditionKey("51", "11", "702", ""), "912");

    Conditions c;
    EXPECT_EQ(ConditionCoefficients(c, "1351600"), kDefaultCoefficients);
    c.ConditionCount = 2;
    c.ConditionKey[1] = "2111200";
    c.ConditionKey[2] = "1351600";
    for (int k = 1; k <= 13; ++k) c.ConditionTable.at(2, k) = std::to_string(k);
    auto found = ConditionCoefficients(c, "1351600");
    EXPECT_EQ(found[0], 5);
    EXPECT_EQ(found[8], 13);
    EXPECT_EQ(ConditionCoefficients(c, "1351601"), kDefaultCoefficients);
}

TEST(Predictions, AutoYosokuFormulaAndZeroSums) {
    CardBuilder b(2);
    Sheet& s = b.card.sheet(kSheetSyuso);
    put(s, 1, sheet1::kRLZ, 60), put(s, 1, sheet1::kRLA, 40), put(s, 1, sheet1::kRZ, 55),
        put(s, 1, sheet1::kRA, 45);
    const auto& c = kDefaultCoefficients;
    CalculateAutoYosoku(s, c, "+2.6");
    const double p = 2.6;
    EXPECT_NEAR(CellNumber(s, 1, sheet1::kRZenhan), (0.7 * 55 + 0.2 * 60 + 0.1 * 45) / 1.0, 1e-9);
    EXPECT_NEAR(CellNumber(s, 1, sheet1::kRKouhan), (0.7 * 45 + 0.3 * 40) / 1.0, 1e-9);
    EXPECT_NEAR(CellNumber(s, 1, sheet1::kYosoku),
                ((p / 130 + 0.25) * 55 + 0.1 * 60 + 0.2 * 40 + (0.45 - p / 130) * 45) / 1.0, 1e-9);
    EXPECT_EQ(s.text(RowNo(2), sheet1::kYosoku), "");  // no RLZ

    // An empty pace slope, or coefficients summing to 0: nobody gets a prediction.
    CalculateAutoYosoku(s, c, "");
    EXPECT_EQ(s.text(RowNo(1), sheet1::kYosoku), "");
    auto zero = c;
    zero[3] = zero[4] = 0;
    CalculateAutoYosoku(s, c, "+0.0");
    ASSERT_NE(s.text(RowNo(1), sheet1::kYosoku), "");
    CalculateAutoYosoku(s, zero, "+0.0");
    for (ColNo col : {sheet1::kRZenhan, sheet1::kRKouhan, sheet1::kYosoku})
        EXPECT_EQ(s.text(RowNo(1), col), "");
}

TEST(Predictions, TuningWeightsPaceAndZeroWeights) {
    CardBuilder b(1);
    Sheet& s = b.card.sheet(kSheetSyuso);
    Sheet& odds = b.s3();
    put(s, 1, sheet1::kRLN, 60), put(s, 1, sheet1::kTZenhan, 52), put(s, 1, sheet1::kTKouhan, 48);
    put(s, 1, sheet1::kRZ, 55), put(s, 1, sheet1::kRA, 45), put(s, 1, sheet1::kMD, 50);
    put(odds, 1, sheet3::kYosoku, 99);
    Settings w = b.settings;  // RL 0.3, R前 0.4, R後 0.6, pace 0.1
    CalculateYosoku(s, odds, w, "+0.0");
    const double noPace = (0.3 * 60 + 0.4 * 55 + 0.6 * 45) / 1.3;
    EXPECT_NEAR(CellNumber(s, 1, sheet1::kSogo), noPace, 1e-9);
    EXPECT_EQ(odds.text(RowNo(1), sheet3::kYosoku), "");
    // A zero slope has no effect whatever the pace weight.
    w.Pace = 5;
    CalculateYosoku(s, odds, w, "+0.0");
    EXPECT_NEAR(CellNumber(s, 1, sheet1::kSogo), noPace, 1e-9);
    CalculateYosoku(s, odds, w, "-2.0");
    const double o = 5 * -2.0 / 10;
    EXPECT_NEAR(CellNumber(s, 1, sheet1::kSogo), (0.3 * 60 + (0.4 + o) * 55 + (0.6 - o) * 45) / 1.3, 1e-9);
    // Pace alone, or no weights at all, or no slope: 0.
    Settings paceOnly;
    paceOnly.Pace = 0.1;
    CalculateYosoku(s, odds, paceOnly, "-2.0");
    EXPECT_EQ(CellNumber(s, 1, sheet1::kSogo), 0);
    EXPECT_EQ(s.text(RowNo(1), sheet1::kSogo), "0.0");
    CalculateYosoku(s, odds, Settings{}, "-2.0");
    EXPECT_EQ(CellNumber(s, 1, sheet1::kSogo), 0);
    CalculateYosoku(s, odds, b.settings, "");
    EXPECT_EQ(CellNumber(s, 1, sheet1::kSogo), 0);
    // A 0 prediction is no value for the odds sheet.
    SetYosoku(s, odds, false);
    EXPECT_EQ(odds.text(RowNo(1), sheet3::kYosoku), "");
}

TEST(Predictions, DeviationRanksAndResultRanks) {
    CardBuilder b(4);
    Sheet& s = b.card.sheet(kSheetSyuso);
    Sheet& odds = b.s3();
    put(s, 1, sheet1::kSogo, 60), put(s, 2, sheet1::kSogo, 60), put(s, 3, sheet1::kSogo, 40);
    put(s, 1, sheet1::kYosoku, 10);
    put(odds, 1, sheet3::kNinki, 55);
    for (int r = 1; r <= 4; ++r) put(odds, r, sheet3::kKekkaNyusen, 5 - r);
    SetYosoku(s, odds, false);
    CalculateYosokuHensa(odds);
    const double sd =
        std::sqrt((2 * (60 - 160 / 3.0) * (60 - 160 / 3.0) + (40 - 160 / 3.0) * (40 - 160 / 3.0)) / 2);
    const double f = (60 - 160 / 3.0) / sd * 10 + 50;
    EXPECT_NEAR(CellNumber(odds, 1, sheet3::kYosoku), f, 1e-9);
    EXPECT_NEAR(CellNumber(odds, 1, sheet3::kYosokuSa), f - 55, 1e-9);
    EXPECT_EQ(odds.text(RowNo(2), sheet3::kYosokuSa), "");
    EXPECT_EQ(odds.text(RowNo(4), sheet3::kYosoku), "");
    PutJyuni(odds, sheet3::kYosoku);
    EXPECT_EQ(CellNumber(odds, 1, sheet3::kYosokuJyuni), 1);
    EXPECT_EQ(CellNumber(odds, 2, sheet3::kYosokuJyuni), 1);
    EXPECT_EQ(CellNumber(odds, 3, sheet3::kYosokuJyuni), 3);
    // Arrival orders 4, 3, 2 among the predicted runners rank 3, 2, 1; row 4 has none.
    PutKekkaJyuni(odds, sheet3::kKekkaNyusen);
    EXPECT_EQ(CellNumber(odds, 1, sheet3::kKekkaJyuni), 3);
    EXPECT_EQ(CellNumber(odds, 3, sheet3::kKekkaJyuni), 1);
    EXPECT_EQ(odds.text(RowNo(4), sheet3::kKekkaJyuni), "");

    // Auto tuning reads column 19; equal values without spread all become 50.
    SetYosoku(s, odds, true);
    CalculateYosokuHensa(odds);
    EXPECT_EQ(CellNumber(odds, 1, sheet3::kYosoku), 50);
    EXPECT_EQ(odds.text(RowNo(2), sheet3::kYosoku), "");
    put(odds, 2, sheet3::kYosoku, 61), put(odds, 3, sheet3::kYosoku, 61);
    put(odds, 1, sheet3::kYosoku, 61);
    CalculateYosokuHensa(odds);
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(CellNumber(odds, r, sheet3::kYosoku), 50);
}

TEST(WholeRace, SingleRunnerGetsFiftiesAndNoScores) {
    CardBuilder b(1);
    b.add(1, "2008/06/01", 58);
    b.calculate();
    for (ColNo col : {sheet1::kRLZ, sheet1::kRLA, sheet1::kRLN, sheet1::kRZ, sheet1::kRA, sheet1::kMD,
                      sheet1::kRZenhan, sheet1::kRKouhan})
        EXPECT_EQ(CellNumber(b.s1(), 1, col), 50) << col.value;
    EXPECT_EQ(b.s1().text(RowNo(1), sheet1::kRLZ), "50.0");
    EXPECT_EQ(CellNumber(b.s3(), 1, sheet3::kYosoku), 50);
    EXPECT_EQ(CellNumber(b.s3(), 1, sheet3::kYosokuJyuni), 1);
    EXPECT_EQ(b.card.lblRelateValue[3], "+0.0");
    for (const auto& l : b.card.lblScoreValue) EXPECT_EQ(l, "");
}

TEST(WholeRace, NoRunnerWithFigures) {
    CardBuilder b(3);
    RunFields none;
    none.date = "2008/06/01";
    none.hasFigures = false;
    b.add(1, none);
    b.card.lblRelateValue[0] = "old";
    b.calculate();
    for (const auto& l : b.card.lblRelateValue) EXPECT_EQ(l, "");
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(b.s1().text(RowNo(r), sheet1::kYosoku), "");
        EXPECT_EQ(b.s1().text(RowNo(r), sheet1::kSogo), "");
        EXPECT_EQ(b.s3().text(RowNo(r), sheet3::kYosoku), "");
        EXPECT_EQ(b.s3().text(RowNo(r), sheet3::kYosokuJyuni), "");
    }
}

TEST(WholeRace, EqualRunnersShareTheirRankAndTheScoresFollowTheResult) {
    CardBuilder b(3);
    b.add(1, "2008/06/01", 60);
    b.add(2, "2008/06/01", 60);
    RunFields slow;
    slow.date = "2008/06/01";
    slow.figure = 40;
    slow.rIndex = 40;
    b.add(3, slow);
    for (int r = 1; r <= 3; ++r) put(b.s3(), r, sheet3::kKekkaNyusen, r);
    b.calculate();
    EXPECT_EQ(CellNumber(b.s3(), 1, sheet3::kYosokuJyuni), 1);
    EXPECT_EQ(CellNumber(b.s3(), 2, sheet3::kYosokuJyuni), 1);
    EXPECT_EQ(CellNumber(b.s3(), 3, sheet3::kYosokuJyuni), 3);
    EXPECT_EQ(CellNumber(b.s3(), 3, sheet3::kKekkaJyuni), 3);
    // Ranks 1, 1, 3 against 1, 2, 3: S = 1, n = 3 -> (1 - 6/24) x 50 + 50.
    EXPECT_EQ(b.card.lblScoreValue[2], "87.5");
    EXPECT_EQ(b.card.lblScoreValue[0], "");
    // The condition class model from the defaults fills column 19.
    EXPECT_NE(b.s1().text(RowNo(1), sheet1::kYosoku), "");
}

}  // namespace
}  // namespace veltrix::test
