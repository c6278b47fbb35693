#include "base/format.h"

#include <gtest/gtest.h>

namespace veltrix {
namespace {

TEST(FormatNumber, DigitPlaceholdersAndDecimalPoint) {
    EXPECT_EQ(FormatNumber(0.5, "#.0"), ".5");
    EXPECT_EQ(FormatNumber(0.5, "0.0"), "0.5");
    EXPECT_EQ(FormatNumber(0, "#"), "");
    EXPECT_EQ(FormatNumber(0, "0"), "0");
    EXPECT_EQ(FormatNumber(7, "00"), "07");
    EXPECT_EQ(FormatNumber(123, "00"), "123");
    EXPECT_EQ(FormatNumber(12.3, "##.0"), "12.3");
    EXPECT_EQ(FormatNumber(0.3, "0.00"), "0.30");
    EXPECT_EQ(FormatNumber(1.5, "0.##"), "1.5");
    EXPECT_EQ(FormatNumber(1, "0.##"), "1.");  // the point stays, as the platform shows it
    EXPECT_EQ(FormatNumber(1200, "#"), "1200");
}

TEST(FormatNumber, RoundsHalfAwayFromZeroAtTheLastShownDigit) {
    EXPECT_EQ(FormatNumber(0.5, "0"), "1");
    EXPECT_EQ(FormatNumber(1.5, "0"), "2");
    EXPECT_EQ(FormatNumber(2.5, "0"), "3");
    EXPECT_EQ(FormatNumber(-2.5, "0"), "-3");
    EXPECT_EQ(FormatNumber(2.675, "0.00"), "2.68");  // binary 2.67499999... still rounds up
    EXPECT_EQ(FormatNumber(0.125, "0.00"), "0.13");
    EXPECT_EQ(FormatNumber(9.96, "0.0"), "10.0");  // carry into a new digit
    EXPECT_EQ(FormatNumber(99.95, "#.0"), "100.0");
    EXPECT_EQ(FormatNumber(0.04, "#.0"), ".0");
    EXPECT_EQ(FormatNumber(0.0049, "0.00"), "0.00");
    EXPECT_EQ(FormatNumber(0.05, "0.00"), "0.05");
    EXPECT_EQ(FormatNumber(1e-9, "0.0"), "0.0");
}

TEST(FormatNumber, NegativeGroupingPercentAndLiterals) {
    EXPECT_EQ(FormatNumber(-1.25, "0.0"), "-1.3");
    EXPECT_EQ(FormatNumber(-0.5, "#.0"), "-.5");
    EXPECT_EQ(FormatNumber(-0.01, "0.0"), "0.0");  // rounds to zero: no sign
    EXPECT_EQ(FormatNumber(1234567.5, "#,##0"), "1,234,568");
    EXPECT_EQ(FormatNumber(999.5, "#,##0"), "1,000");
    EXPECT_EQ(FormatNumber(-1234, "#,##0"), "-1,234");
    EXPECT_EQ(FormatNumber(12, "#,##0"), "12");
    EXPECT_EQ(FormatNumber(0, "#,##0"), "0");
    EXPECT_EQ(FormatNumber(0.295, "0%"), "30%");
    EXPECT_EQ(FormatNumber(0.1234, "0.0%"), "12.3%");
    EXPECT_EQ(FormatNumber(1500, "\\\\#,##0"), "\\1,500");  // escaped yen mark
    EXPECT_EQ(FormatNumber(3, "0倍"), "3倍");
    EXPECT_EQ(FormatNumber(12345678901234.0, "#,##0"), "12,345,678,901,234");
}

TEST(Width, AsciiAndSpacesBothWays) {
    EXPECT_EQ(ToHalfWidth("ＡＢＣ１２３！～　ｚ"), "ABC123!~ z");
    EXPECT_EQ(ToFullWidth("AB c1!~"), "ＡＢ　ｃ１！～");
    EXPECT_EQ(ToHalfWidth("＂Ｘ＂"), "\"X\"");
    EXPECT_EQ(ToHalfWidth("“Ｘ”"), "\"X\"");         // the CP932 full-width quotes
    EXPECT_EQ(ToHalfWidth("有馬記念"), "有馬記念");  // no half-width form: unchanged
    EXPECT_EQ(ToFullWidth("有馬記念"), "有馬記念");
}

TEST(Width, KatakanaWithVoicedMarksAndPunctuation) {
    EXPECT_EQ(ToHalfWidth("ガパヴァッー"), "ｶﾞﾊﾟｳﾞｧｯｰ");
    EXPECT_EQ(ToFullWidth("ｶﾞﾊﾟｳﾞｧｯｰ"), "ガパヴァッー");
    EXPECT_EQ(ToHalfWidth("ダービー卿ＣＴ"), "ﾀﾞｰﾋﾞｰ卿CT");
    EXPECT_EQ(ToFullWidth("ﾀﾞｰﾋﾞｰ卿CT"), "ダービー卿ＣＴ");
    EXPECT_EQ(ToHalfWidth("。「」、・゛゜"), "｡｢｣､･ﾞﾟ");
    EXPECT_EQ(ToFullWidth("｡｢｣､･"), "。「」、・");
    // A mark that cannot combine stays a mark of its own.
    EXPECT_EQ(ToFullWidth("ｱﾞﾏﾟﾞ"), "ア゛マ゜゛");
    EXPECT_EQ(ToFullWidth("ﾎﾟﾜﾞｦﾞ"), "ポヷヺ");
    EXPECT_EQ(ToHalfWidth("ヰヱヵ"), "ヰヱヵ");
}

TEST(Width, InvalidUtf8PassesThrough) {
    EXPECT_EQ(ToHalfWidth(std::string("a\xE3\x82") + "Ａ"), std::string("a\xE3\x82") + "A");
    EXPECT_EQ(ToFullWidth(std::string("\xFF") + "a"), std::string("\xFF") + "ａ");
}

TEST(Characters, CountAndPick) {
    EXPECT_EQ(CharacterCount("◎○▲"), 3u);
    EXPECT_EQ(CharacterAt("◎○▲", 2), "○");
    EXPECT_EQ(CharacterAt("◎○▲", 4), "");
    EXPECT_EQ(CharacterAt("a◎", 1), "a");
}

// The yen sign is the byte 0x5C in CP932: drawn as "¥", every other byte as it is.
TEST(ScreenText, BackslashIsTheYenSign) {
    EXPECT_EQ(ScreenText("\\2,000"), "¥2,000");
    EXPECT_EQ(ScreenText("合計 \\100 / \\"), "合計 ¥100 / ¥");
    EXPECT_EQ(ScreenText("ダ1200"), "ダ1200");
    EXPECT_EQ(ScreenText(""), "");
}

}  // namespace
}  // namespace veltrix
