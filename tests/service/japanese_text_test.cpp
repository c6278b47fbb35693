#include "service/japanese_text.h"

#include <gtest/gtest.h>

#include <string>

#include "base/encoding.h"
#include "service/post_form.h"

namespace veltrix::test {
namespace {

// Kanji, kana, half-width kana, an NEC special (①) and an IBM extension (髙):
// the characters CP932 text carries that plain JIS lacks.
const std::string kText =
    "分析ファイルのインポート\r\n第①回 中山競馬 芝2000m ｶﾅ 髙橋騎手\r\n"
    "レース情報をインポートした後、分析ファイルをインポートしてください。\r\n"
    "END OF VELTRIX ANALYSIS DATA - (C) Brennick,Inc.\r\n";

std::string euc(const std::string& utf8) { return Cp932ToEucJp(Utf8ToCp932(utf8).value()).value(); }

TEST(ResponseText, EveryJapaneseEncodingGivesTheSameText) {
    const struct {
        const char* name;
        std::string bytes;
        JapaneseEncoding encoding;
    } forms[] = {
        {"CP932", Utf8ToCp932(kText).value(), JapaneseEncoding::ShiftJis},
        {"EUC-JP", euc(kText), JapaneseEncoding::EucJp},
        {"ISO-2022-JP", EucJpToIso2022Jp(euc(kText)).value(), JapaneseEncoding::Iso2022Jp},
        {"UTF-8", kText, JapaneseEncoding::Utf8},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + kText, JapaneseEncoding::Utf8},
    };
    for (const auto& f : forms) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(DetectJapaneseEncoding(f.bytes), f.encoding);
        EXPECT_EQ(ResponseText(f.bytes), kText);
    }
    EXPECT_EQ(DetectJapaneseEncoding("0,1\r\nEND\r\n"), JapaneseEncoding::Ascii);
}

TEST(ResponseText, LineEndsBecomeCrLf) {
    EXPECT_EQ(NormaliseLineEnds("a\r\nb\nc\rd"), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(NormaliseLineEnds("\r\r\n\n\n\r"), "\r\n\r\n\r\n\r\n\r\n");
    EXPECT_EQ(NormaliseLineEnds("no end"), "no end");
    EXPECT_EQ(ResponseText("\"0\",1\n\"1\",\"x\"\rEND"), "\"0\",1\r\n\"1\",\"x\"\r\nEND");
}

TEST(ResponseText, BytesOfNoJapaneseEncodingAreRefused) {
    // Latin-1 text, and bytes that are no text at all.
    EXPECT_EQ(ResponseText("Caf\xE9 cr\xE8me br\xFBl\xE9\x65, na\xEFve fa\xE7\x61\x64\x65 Brennick,Inc."),
              std::nullopt);
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
    EXPECT_EQ(ResponseText(binary + "Brennick,Inc."), std::nullopt);
    // Valid-looking UTF-8 cut inside a character, and a CP932 lead byte without its trail.
    EXPECT_EQ(JapaneseToUtf8(kText.substr(0, 4), JapaneseEncoding::Utf8), std::nullopt);
    EXPECT_EQ(JapaneseToUtf8("\x95", JapaneseEncoding::ShiftJis), std::nullopt);
    EXPECT_EQ(JapaneseToUtf8("caf\xE9", JapaneseEncoding::Ascii), std::nullopt);
}

TEST(Iso2022Jp, AgreesWithIconvOnPlainJisAndRejectsWhatItCannotRead) {
    const std::string plain = "今週のレース情報\r\n特別登録馬情報 ABC\r\n";
    const auto mine = EucJpToIso2022Jp(euc(plain));
    // What glibc's iconv writes for the same text in ISO-2022-JP.
    EXPECT_EQ(mine, std::string("\x1B$B:#=5$N%l!<%9>pJs\x1B(B\r\n\x1B$BFCJLEPO?GO>pJs\x1B(B ABC\r\n"));
    EXPECT_EQ(Iso2022JpToEucJp(*mine), euc(plain));
}

TEST(Iso2022Jp, UnknownEscapesEightBitBytesAndCutPairsAreRefused) {
    EXPECT_EQ(Iso2022JpToEucJp("\x1B$A0!"), std::nullopt);     // GB 2312
    EXPECT_EQ(Iso2022JpToEucJp("abc\xA4\xA2"), std::nullopt);  // 8-bit bytes
    EXPECT_EQ(Iso2022JpToEucJp("\x1B$B0"), std::nullopt);      // half a pair
    EXPECT_EQ(Iso2022JpToEucJp("\x0E"
                               "1\x0F"),
              std::nullopt);  // shift-out katakana
    EXPECT_EQ(EucJpToIso2022Jp("\xA4"), std::nullopt);
    EXPECT_EQ(EucJpToIso2022Jp("\x8E\x41"), std::nullopt);
}

TEST(ParseServiceUrl, TakesHostAndPortOnly) {
    const auto a = ParseServiceUrl("http://127.0.0.1:8765");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->host, "127.0.0.1");
    EXPECT_EQ(a->port, 8765);
    EXPECT_EQ(ParseServiceUrl("http://localhost/")->port, 80);
    EXPECT_EQ(ParseServiceUrl("http://[::1]:9000")->host, "::1");
    for (const char* bad : {"", "127.0.0.1:8765", "https://127.0.0.1", "http://", "http://:80", "http://h:0",
                            "http://h:65536", "http://h:80x", "http://h:", "http://h/path", "http://user@h",
                            "http://h?x=1", "http://a b", "http://[::1", "http://[zz]:80", "ftp://h"}) {
        EXPECT_EQ(ParseServiceUrl(bad), std::nullopt) << bad;
    }
}

}  // namespace
}  // namespace veltrix::test
