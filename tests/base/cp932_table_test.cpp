// Every CP932 code, single bytes and every lead/trail pair, read as the
// committed table says (made once with glibc's iconv by tools/charset_tables):
// the same bytes on every system, whatever converter the system has.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "base/encoding.h"

namespace veltrix::test {
namespace {

std::string fromHex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

TEST(Cp932Table, EveryCodeReadsAsTheTableSaysAndWritesBack) {
    std::ifstream in(std::string(VELTRIX_TEST_DATA) + "/cp932_table.txt", std::ios::binary);
    ASSERT_TRUE(in) << "tests/data/cp932_table.txt";
    std::string line;
    int codes = 0;
    int mismatches = 0;
    std::ostringstream report;
    while (std::getline(in, line)) {
        const auto space = line.find(' ');
        ASSERT_NE(space, std::string::npos) << line;
        const std::string code = fromHex(line.substr(0, space));
        const std::string expected = line.substr(space + 1);
        ++codes;
        const auto utf8 = Cp932ToUtf8(code);
        const std::string got = utf8 ? (utf8->empty() ? "" : [&] {
            std::string h;
            char buf[3];
            for (unsigned char c : *utf8) {
                std::snprintf(buf, sizeof buf, "%02X", c);
                h += buf;
            }
            return h;
        }())
                                     : "-";
        if (got != expected) {
            if (++mismatches <= 20) report << line.substr(0, space) << ": " << got << " (table " << expected << ")\n";
            continue;
        }
        // A code that reads writes back as a code that reads the same (NEC and
        // IBM duplicates write as one of their forms).
        if (utf8) {
            const auto back = Utf8ToCp932(*utf8);
            if (!back || Cp932ToUtf8(*back) != utf8) {
                if (++mismatches <= 20) report << line.substr(0, space) << ": does not write back\n";
            }
        }
    }
    EXPECT_EQ(codes, 256 + 60 * 188);
    EXPECT_EQ(mismatches, 0) << report.str();
}

}  // namespace
}  // namespace veltrix::test
