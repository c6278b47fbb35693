// Course and distance tables, and the selection palette state.
#include <gtest/gtest.h>

#include "engine/course_tables.h"
#include "engine/select_palette.h"

namespace veltrix {
namespace {

TEST(CourseTables, BoxesClassesAndInverses) {
    EXPECT_EQ(CourseBoxIndex("札幌"), 0);
    EXPECT_EQ(CourseBoxIndex("小倉"), 9);
    EXPECT_EQ(CourseBoxIndex("大井"), -1);
    EXPECT_EQ(CourseOfBox(5), "中山");
    EXPECT_EQ(CourseOfBox(10), "");
    EXPECT_EQ(BabaBoxIndex("稍"), 1);
    EXPECT_EQ(BabaBoxIndex("稍重"), 1);
    EXPECT_EQ(BabaBoxIndex("不良"), 3);
    EXPECT_EQ(BabaBoxIndex(""), -1);
    // The two lists are separate: turf 2300 is box 9, dirt 2300 box 11.
    EXPECT_EQ(SibaBoxIndex("2300"), 9);
    EXPECT_EQ(DirtBoxIndex("2300"), 11);
    EXPECT_EQ(DirtBoxIndex("1150"), 1);
    EXPECT_EQ(SibaBoxIndex("1150"), -1);
    EXPECT_EQ(SibaKyori(16), "3600");
    EXPECT_EQ(SibaKyori(17), "");
    EXPECT_EQ(DirtKyori(12), "2400");
    EXPECT_EQ(DirtKyori(-1), "");
    for (int b = 0; b < kSibaBoxes; ++b) EXPECT_EQ(SibaBoxIndex(SibaKyori(b)), b);
    for (int b = 0; b < kDirtBoxes; ++b) EXPECT_EQ(DirtBoxIndex(DirtKyori(b)), b);
    // Shared classes.
    EXPECT_EQ(KyoriClass("ダ", "1150"), 2);
    EXPECT_EQ(KyoriClass("ダ", "1200"), 2);
    EXPECT_EQ(KyoriClass("芝", "1400"), KyoriClass("芝", "1500"));
    EXPECT_EQ(KyoriClass("芝", "2300"), 8);
    EXPECT_EQ(KyoriClass("芝", "2400"), 8);
    EXPECT_EQ(KyoriClass("芝", "3600"), 12);
    EXPECT_EQ(KyoriClass("ダ", "2400"), 9);
    EXPECT_EQ(KyoriClass("障", "3000"), -1);
    EXPECT_EQ(KyoriClass("芝", "1150"), -1);
}

TEST(CourseTables, Similarity) {
    EXPECT_EQ(SibaSimilarity("1600", "2000"), 1);
    EXPECT_EQ(SibaSimilarity("1600", "2200"), 0);
    EXPECT_EQ(SibaSimilarity("3600", "2300"), 0);
    EXPECT_EQ(SibaSimilarity("3400", "2300"), 1);
    EXPECT_EQ(DirtSimilarity("1150", "1400"), 1);
    EXPECT_EQ(DirtSimilarity("1200", "1600"), 0);
    EXPECT_EQ(DirtSimilarity("2300", "1800"), 1);
    EXPECT_EQ(DirtSimilarity("2400", "1700"), 0);
    // A race distance without a row: every call of the surface gives 255.
    EXPECT_EQ(SibaSimilarity("1150", "1200"), kNoSimilarityRow);
    EXPECT_EQ(DirtSimilarity("2500", "2400"), kNoSimilarityRow);
    EXPECT_EQ(DirtSimilarity("", "1000"), kNoSimilarityRow);
}

std::string label(const std::string& course, const std::string& trackDistance) {
    return "2009/01/17 " + course + " 01R 10:05 " + trackDistance + " テスト" + std::string(80, ' ') +
           "2009011706010101";
}

std::vector<std::string> checkedSiba(const SelectPalette& p) {
    std::vector<std::string> out;
    for (int b = 0; b < kSibaBoxes; ++b)
        if (p.chkSKyori[static_cast<size_t>(b)].value) out.push_back(SibaKyori(b));
    return out;
}
std::vector<std::string> checkedDirt(const SelectPalette& p) {
    std::vector<std::string> out;
    for (int b = 0; b < kDirtBoxes; ++b)
        if (p.chkDKyori[static_cast<size_t>(b)].value) out.push_back(DirtKyori(b));
    return out;
}

TEST(SelectPalette, SetSelectForTurfAndDirtRaces) {
    SelectPalette p;
    ClearForm(p);
    p.chkJoken = {true, true, true, true, true};
    SetSelect(p, label("東京", "芝1600"), "KONSYU");
    EXPECT_EQ(checkedSiba(p),
              (std::vector<std::string>{"1200", "1400", "1500", "1600", "1700", "1800", "2000"}));
    EXPECT_TRUE(checkedDirt(p).empty());
    for (bool b : p.chkJo) EXPECT_TRUE(b);
    for (bool b : p.chkBaba) EXPECT_TRUE(b);
    for (bool b : p.chkJoken) EXPECT_FALSE(b);
    EXPECT_TRUE(p.chkSKyori[0].tag);
    EXPECT_TRUE(p.chkDKyori[0].tag);
    EXPECT_EQ(p.optRule1, kRuleAll);
    EXPECT_EQ(p.greenJo, CourseBoxIndex("東京"));
    EXPECT_EQ(p.greenSKyori, SibaBoxIndex("1600"));
    EXPECT_EQ(p.greenDKyori, -1);
    // Past dirt runs do not count until the user checks dirt boxes.
    EXPECT_TRUE(CheckSelect(p, "中山", "芝", "良", "1800", "500万", "04", false));
    EXPECT_FALSE(CheckSelect(p, "中山", "ダ", "良", "1800", "500万", "04", false));

    ClearForm(p);
    SetSelect(p, "2009/01/17 中山 11R ダ1150 テスト", "TOKUBETSU");
    EXPECT_EQ(checkedDirt(p), (std::vector<std::string>{"1000", "1150", "1200", "1300", "1400"}));
    EXPECT_TRUE(checkedSiba(p).empty());
    EXPECT_EQ(p.greenDKyori, 1);
}

TEST(SelectPalette, SteeplechaseAndDistanceWithoutRow) {
    SelectPalette p;
    ClearForm(p);
    SetSelect(p, label("中山", "障3200"), "KONSYU");
    EXPECT_TRUE(checkedSiba(p).empty());
    EXPECT_TRUE(checkedDirt(p).empty());
    EXPECT_TRUE(p.chkSKyori[0].tag && p.chkDKyori[12].tag);
    EXPECT_FALSE(CheckSelect(p, "中山", "芝", "良", "2000", "500万", "04", false));

    // Turf 1150 has no row: turf boxes stay unchecked and SetSelect runs to its end.
    ClearForm(p);
    p.chkJoken[4] = true;
    SetSelect(p, label("中山", "芝1150"), "KONSYU");
    EXPECT_TRUE(checkedSiba(p).empty());
    EXPECT_EQ(p.greenSKyori, -1);
    EXPECT_EQ(p.optRule1, kRuleAll);
    EXPECT_FALSE(p.chkJoken[4]);
    EXPECT_TRUE(p.chkDKyori[0].tag);
}

TEST(SelectPalette, ClearFormLowersFlagsSoNothingCounts) {
    SelectPalette p;
    SetSelect(p, label("中山", "ダ1200"), "KONSYU");
    ClearForm(p);
    EXPECT_EQ(p.optRule1, kRuleNone);
    EXPECT_EQ(p.greenJo, -1);
    EXPECT_TRUE(checkedDirt(p).empty());
    ASSERT_FALSE(SetPaletteBox(p, "中山", true));
    ASSERT_FALSE(SetPaletteBox(p, "良", true));
    ASSERT_FALSE(SetPaletteBox(p, "ダ1200", true));
    EXPECT_FALSE(CheckSelect(p, "中山", "ダ", "良", "1200", "500万", "04", false));
    SetSelect(p, label("中山", "ダ1200"), "KONSYU");
    EXPECT_TRUE(CheckSelect(p, "中山", "ダ", "良", "1200", "500万", "04", false));
}

TEST(SelectPalette, ExcludedConditions) {
    SelectPalette p;
    SetSelect(p, label("中山", "ダ1200"), "KONSYU");
    auto pass = [&](std::string_view cond, std::string_view age, bool rest) {
        return CheckSelect(p, "中山", "ダ", "稍", "1200", cond, age, rest);
    };
    EXPECT_TRUE(pass("新馬", "02", true));
    ASSERT_FALSE(SetPaletteBox(p, "新馬 未勝利", true));
    EXPECT_FALSE(pass("新馬", "03", false));
    EXPECT_FALSE(pass("未出走", "03", false));
    EXPECT_TRUE(pass("500万", "03", false));
    ASSERT_FALSE(SetPaletteBox(p, "２歳以下", true));
    EXPECT_FALSE(pass("500万", "02", false));
    EXPECT_TRUE(pass("500万", "03", false));
    ASSERT_FALSE(SetPaletteBox(p, "３歳以下", true));
    EXPECT_FALSE(pass("500万", "03", false));
    ASSERT_FALSE(SetPaletteBox(p, "休養明", true));
    EXPECT_FALSE(pass("500万", "04", true));
    EXPECT_TRUE(pass("500万", "04", false));
    ASSERT_FALSE(SetPaletteBox(p, "条件戦", true));
    EXPECT_FALSE(pass("500万", "04", false));
    EXPECT_TRUE(pass("オープン", "04", false));
    // Course, going or distance without a box.
    EXPECT_FALSE(CheckSelect(p, "大井", "ダ", "良", "1200", "オープン", "04", false));
    EXPECT_FALSE(CheckSelect(p, "中山", "ダ", "", "1200", "オープン", "04", false));
    EXPECT_FALSE(CheckSelect(p, "中山", "ダ", "良", "1250", "オープン", "04", false));
    ASSERT_FALSE(SetPaletteBox(p, "稍重", false));
    EXPECT_FALSE(CheckSelect(p, "中山", "ダ", "稍", "1200", "オープン", "04", false));
}

TEST(SelectPalette, BoxesRulesAndPeriodByName) {
    SelectPalette p;
    EXPECT_FALSE(SetPaletteBox(p, "芝1600", true));
    EXPECT_TRUE(p.chkSKyori[4].value);
    EXPECT_FALSE(SetPaletteBox(p, "ダ1150", true));
    EXPECT_TRUE(p.chkDKyori[1].value);
    EXPECT_FALSE(SetPaletteBox(p, "ダ1150", false));
    EXPECT_FALSE(p.chkDKyori[1].value);
    EXPECT_TRUE(SetPaletteBox(p, "芝1150", true));
    EXPECT_TRUE(SetPaletteBox(p, "稍", true));
    EXPECT_TRUE(SetPaletteBox(p, "", true));
    EXPECT_TRUE(SetPaletteBox(p, "新馬", true));
    EXPECT_FALSE(SetPaletteRule(p, "SIGMA"));
    EXPECT_EQ(p.optRule1, kRuleSigma);
    EXPECT_FALSE(SetPaletteRule(p, "TOP3"));
    EXPECT_EQ(p.optRule1, kRuleTop3);
    EXPECT_TRUE(SetPaletteRule(p, "±2σ"));
    EXPECT_FALSE(SetPalettePeriod(p, 100));
    EXPECT_EQ(p.cboKikan, 0);
    EXPECT_FALSE(SetPalettePeriod(p, 900));
    EXPECT_EQ(p.cboKikan, 8);
    EXPECT_TRUE(SetPalettePeriod(p, 1000));
    EXPECT_TRUE(SetPalettePeriod(p, 150));
    EXPECT_TRUE(SetPalettePeriod(p, 0));
    EXPECT_EQ(p.cboKikan, 8);
    EXPECT_EQ(KikanCaption(0), "100日");
    EXPECT_EQ(KikanEntryOf(600), 5);
}

}  // namespace
}  // namespace veltrix
