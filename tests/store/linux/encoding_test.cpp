#include "base/encoding.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>
#include <vector>

namespace veltrix {
namespace {

// iconv called directly on the whole text: what Utf8ToCp932 must give.
std::optional<std::string> iconvToCp932(const std::string& text) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(text.size() * 2 + 16, '\0');
    char* src = const_cast<char*>(text.data());
    size_t srcLeft = text.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || srcLeft != 0) return std::nullopt;
    out.resize(out.size() - dstLeft);
    return out;
}

// Every character CP932 can decode, one UTF-8 string each.
std::vector<std::string> allCp932Characters() {
    std::vector<std::string> chars;
    for (int b = 0x20; b <= 0xFF; ++b) {
        if (auto c = Cp932ToUtf8(std::string(1, static_cast<char>(b)))) chars.push_back(*c);
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead)
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const char pair[] = {static_cast<char>(lead), static_cast<char>(trail)};
            if (auto c = Cp932ToUtf8(std::string_view(pair, 2))) chars.push_back(*c);
        }
    return chars;
}

TEST(Encoding, Utf8ToCp932GivesIconvsBytesForEveryCharacter) {
    const auto chars = allCp932Characters();
    ASSERT_GT(chars.size(), 7000u);
    std::string all;
    for (const auto& c : chars) {
        ASSERT_EQ(Utf8ToCp932(c), iconvToCp932(c)) << c;
        all += c;
        all += ",\"1\"";
    }
    EXPECT_EQ(Utf8ToCp932(all), iconvToCp932(all));

    // ASCII runs of every length around the eight-byte steps, between and at
    // the ends of other characters.
    std::string mixed;
    for (size_t run = 0; run <= 20; ++run) {
        mixed += std::string(run, static_cast<char>('a' + run));
        mixed += chars[run * 97 % chars.size()];
        EXPECT_EQ(Utf8ToCp932(mixed), iconvToCp932(mixed)) << mixed;
        EXPECT_EQ(Utf8ToCp932(mixed + std::string(run, '0')), iconvToCp932(mixed + std::string(run, '0')));
    }
}

TEST(Encoding, Utf8ToCp932RefusesWhatIconvRefuses) {
    const std::vector<std::string> inputs = {
        "ok \xF0\x9F\x98\x80",      // emoji: no CP932 form
        "\xC3\xA9t\xC3\xA9",        // é
        "abc\xE3\x81",              // sequence cut at the end
        "\xE3\x81 x",               // sequence cut by ASCII
        "\x80 stray trail byte",
        "\xC0\xAF overlong",
        "\xED\xA0\x80 surrogate",
        "\xEF\xBF\xBF", "\xF4\x90\x80\x80", "\xFF",
        "中山\xF0\x9F\x98\x80中山",
    };
    // Twice: the second time the characters' forms are already known.
    for (int round = 0; round < 2; ++round)
        for (const auto& text : inputs) EXPECT_EQ(Utf8ToCp932(text), iconvToCp932(text)) << text;
}

}  // namespace
}  // namespace veltrix
