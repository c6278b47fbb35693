#include "base/fields.h"

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "support/fake_host.h"

namespace veltrix {
namespace {

TEST(Encoding, Cp932RoundTripKeepsCircledNumbersAndDoubleByteText) {
    const std::string utf8 = "①⑱ 中山 ｾﾝ ダ1200 ～";
    auto bytes = Utf8ToCp932(utf8);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->substr(0, 2), "\x87\x40");  // ① is an NEC extension, only in CP932
    auto back = Cp932ToUtf8(*bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, utf8);
}

TEST(Encoding, InvalidOrTruncatedBytesAreRejected) {
    EXPECT_FALSE(Cp932ToUtf8("abc\x82"));        // lead byte cut at the end
    EXPECT_FALSE(Utf8ToCp932("\xF0\x9F\x98\x80"));  // emoji has no CP932 form
}

TEST(Encoding, SplitLinesAcceptsCrLfAndMissingFinalBreak) {
    auto lines = SplitLines("a\r\nb\nc");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(lines[1], "b");
    EXPECT_EQ(lines[2], "c");
    EXPECT_EQ(SplitLines("a\r\n").size(), 1u);
}

TEST(FieldReader, QuotedAndBareFieldsAcrossLines) {
    FieldReader r("\"0\",36,\"KONSYU\"\r\n\"1\",\"a,b\" junk , 12 \r\n\"\"");
    std::vector<std::string> got;
    std::vector<bool> ends;
    std::string f;
    while (r.read(f)) {
        got.push_back(f);
        ends.push_back(r.lastEndedLine());
    }
    EXPECT_EQ(got, (std::vector<std::string>{"0", "36", "KONSYU", "1", "a,b", "12", ""}));
    EXPECT_EQ(ends, (std::vector<bool>{false, false, true, false, false, true, true}));
    EXPECT_TRUE(r.eof());
    EXPECT_FALSE(r.read(f));  // past the end
}

TEST(FieldReader, RecordsKeepLineBoundaries) {
    FieldReader r("\"1\",\"x\"\r\n\"1\",\"y\",\"z\"\r\n");
    std::vector<std::string> rec;
    ASSERT_TRUE(r.readRecord(rec));
    EXPECT_EQ(rec.size(), 2u);
    ASSERT_TRUE(r.readRecord(rec));
    EXPECT_EQ(rec.size(), 3u);
    EXPECT_FALSE(r.readRecord(rec));
}

TEST(FieldWriter, QuotedCellsWriteAsOneFieldEach) {
    const std::vector<std::string> cells = {"a", "", "中山", "1,2"};
    FieldWriter one, many;
    for (const auto& c : cells) one.quoted(c);
    one.endLine().quoted("1");
    for (const auto& c : cells) one.quoted(c);
    one.quoted(std::span<const std::string>()).endLine();
    many.quoted(cells).endLine().quoted("1").quoted(cells).quoted(std::span<const std::string>()).endLine();
    EXPECT_EQ(many.text(), one.text());
    EXPECT_EQ(many.text(), "\"a\",\"\",\"中山\",\"1,2\"\r\n\"1\",\"a\",\"\",\"中山\",\"1,2\"\r\n");
}

// Either way of writing quoted cells cleans them alike; each cell reads back
// as one field of its own line.
TEST(FieldWriter, QuotesAndLineBreaksInCellsBecomeSpaces) {
    const std::vector<std::string> cells = {"AB\"C,D", "ネ\nパ", "\r\n", "\"", "中山"};
    FieldWriter one, many;
    for (const auto& c : cells) one.quoted(c);
    one.endLine();
    many.quoted(cells).endLine();
    EXPECT_EQ(one.text(), many.text());
    EXPECT_EQ(one.text(), "\"AB C,D\",\"ネ パ\",\"  \",\" \",\"中山\"\r\n");
    FieldReader back(one.text());
    std::vector<std::string> record;
    ASSERT_TRUE(back.readRecord(record));
    EXPECT_EQ(record, (std::vector<std::string>{"AB C,D", "ネ パ", "  ", " ", "中山"}));
    EXPECT_TRUE(back.eof());

    std::string cell = "a\"b\rc\nd";
    CleanTextCell(cell);
    EXPECT_EQ(cell, "a b c d");
}

TEST(FieldWriter, WritesQuotedTextBareNumbersAndCp932) {
    test::TempDir dir;
    FieldWriter w;
    w.quoted("0").integer(36).quoted("KONSYU").endLine();
    w.quoted("中山").real(0.5).real(-1).real(50.123456789012345).endLine();
    EXPECT_EQ(w.text(), "\"0\",36,\"KONSYU\"\r\n\"中山\",0.5,-1,50.1234567890123\r\n");
    ASSERT_TRUE(w.save(dir.path() / "f"));
    auto back = FieldReader::FromFile(dir.path() / "f");
    ASSERT_TRUE(back);
    back->next();
    back->next();
    back->next();
    EXPECT_EQ(back->next(), "中山");
}

TEST(Numbers, StrictParsing) {
    EXPECT_EQ(ParseReal(" -1.5 "), -1.5);
    EXPECT_EQ(ParseReal("35"), 35.0);
    EXPECT_FALSE(ParseReal(""));
    EXPECT_FALSE(ParseReal("1.2.3"));
    EXPECT_FALSE(ParseReal("--"));
    EXPECT_EQ(ParseInteger("0012"), 12);
    EXPECT_FALSE(ParseInteger("12a"));
    EXPECT_FALSE(ParseInteger("1.0"));
}

}  // namespace
}  // namespace veltrix
