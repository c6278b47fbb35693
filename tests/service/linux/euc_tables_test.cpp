// The tables of the EUC-JP conversion against glibc's iconv, every sequence:
// what the Linux program stored before the tables, it stores now, and so does
// every other system.
#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>

#include "service/japanese_text.h"

namespace veltrix::test {
namespace {

std::optional<std::string> iconvConvert(const char* to, const char* from, const std::string& in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(in.size() * 4 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || srcLeft != 0) return std::nullopt;
    out.resize(out.size() - dstLeft);
    return out;
}

std::optional<std::string> throughUnicode(const char* to, const char* from, const std::string& in) {
    const auto utf8 = iconvConvert("UTF-8", from, in);
    if (!utf8) return std::nullopt;
    return iconvConvert(to, "UTF-8", *utf8);
}

TEST(EucJpTables, EverySequenceConvertsAsIconvReadsAndWritesIt) {
    int differences = 0;
    auto check = [&](const std::string& euc) {
        const auto expected = throughUnicode("CP932", "EUC-JP-MS", euc);
        if (EucJpToCp932(euc) != expected && ++differences <= 10) ADD_FAILURE() << "EUC sequence of " << euc.size() << " bytes";
    };
    for (int k = 0xA1; k <= 0xDF; ++k) check(std::string{'\x8E', static_cast<char>(k)});
    for (int r = 0xA1; r <= 0xFE; ++r)
        for (int c = 0xA1; c <= 0xFE; ++c) {
            check(std::string{static_cast<char>(r), static_cast<char>(c)});
            check(std::string{'\x8F', static_cast<char>(r), static_cast<char>(c)});
        }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string cp{static_cast<char>(lead), static_cast<char>(trail)};
            const auto expected = throughUnicode("EUC-JP-MS", "CP932", cp);
            if (Cp932ToEucJp(cp) != expected && ++differences <= 10) ADD_FAILURE() << "CP932 code " << lead << "/" << trail;
        }
    }
    EXPECT_EQ(differences, 0);
    // Broken sequences: a cut pair, a lone single-shift, a byte no encoding has.
    EXPECT_EQ(EucJpToCp932("\xA4"), std::nullopt);
    EXPECT_EQ(EucJpToCp932("\x8E\x41"), std::nullopt);
    EXPECT_EQ(EucJpToCp932("\x8F\xA1"), std::nullopt);
    EXPECT_EQ(EucJpToCp932("\xFF\xA1"), std::nullopt);
    EXPECT_EQ(Cp932ToEucJp("\x82"), std::nullopt);
}

}  // namespace
}  // namespace veltrix::test
