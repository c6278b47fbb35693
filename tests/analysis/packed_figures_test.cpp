#include <gtest/gtest.h>

#include "store/analysis_files.h"

namespace veltrix {
namespace {

std::string group4(const std::string& g) { return DecodeGroup4(g, 1).value_or("<none>"); }
std::string group5(const std::string& g) { return DecodeGroup5(g, 1).value_or("<none>"); }

TEST(PackedFigures, FourCharacterGroupsAreLowByteFirstSignedHundredths) {
    EXPECT_EQ(group4("0000"), "0");
    EXPECT_EQ(group4("0100"), "0.01");     // 0x0001
    EXPECT_EQ(group4("3213"), "49.14");    // 0x1332 = 4914
    EXPECT_EQ(group4("FF7F"), "327.67");   // 0x7FFF
    EXPECT_EQ(group4("0080"), "-327.68");  // 0x8000
    EXPECT_EQ(group4("FFFF"), "-0.01");
    EXPECT_EQ(group4("1027"), "100");    // 0x2710 = 10000: no trailing zeros, no point
    EXPECT_EQ(group4("F401"), "5");      // 0x01F4 = 500
    EXPECT_EQ(group4("EA01"), "4.9");    // 0x01EA = 490
    EXPECT_EQ(group4("0CFE"), "-5");     // 0xFE0C = -500
    EXPECT_EQ(group4("3a12"), "46.66");  // lower-case digits: 0x123A = 4666
}

TEST(PackedFigures, FiveCharacterGroupsArePlainHexTenThousandths) {
    EXPECT_EQ(group5("00000"), "0");
    EXPECT_EQ(group5("186A0"), "10");        // 100000
    EXPECT_EQ(group5("FFFFF"), "104.8575");  // 1048575
    EXPECT_EQ(group5("007D0"), "0.2");       // 2000
    EXPECT_EQ(group5("00001"), "0.0001");
}

TEST(PackedFigures, GroupsAreTakenAtTheirPositionAndDamageIsRejected) {
    EXPECT_EQ(DecodeGroup4("00003213", 5).value_or(""), "49.14");
    EXPECT_EQ(DecodeGroup5("xx186A0", 3).value_or(""), "10");
    EXPECT_FALSE(DecodeGroup4("321", 1));   // cut short
    EXPECT_FALSE(DecodeGroup4("0000", 2));  // runs past the end
    EXPECT_FALSE(DecodeGroup4("32G3", 1));  // not hexadecimal
    EXPECT_FALSE(DecodeGroup4(" 0 0", 1));
    EXPECT_FALSE(DecodeGroup5("-0001", 1));
    EXPECT_FALSE(DecodeGroup4("0000", 0));
}

TEST(PackedFigures, SignCodedGroupPutsTheCodeBeforeTheNumber) {
    // value 2 of the condition table: characters 11-14 the group, 15 the sign code
    const std::string data =
        "0000000000"
        "3213"
        "1";
    EXPECT_EQ(DecodeSignedGroup(data, 11).value_or(""), "149.14");
    EXPECT_EQ(DecodeSignedGroup("F4010", 1).value_or(""), "05");
    EXPECT_FALSE(DecodeSignedGroup("F401", 1));  // sign code missing
}

TEST(PackedFigures, EncodersWriteWhatTheDecodersRead) {
    for (int v : {0, 1, -1, 4914, 10000, 32767, -32768, -500, 255, 256}) {
        const std::string g = EncodeGroup4(static_cast<std::int16_t>(v));
        ASSERT_EQ(g.size(), 4u);
        auto text = DecodeGroup4(g, 1);
        ASSERT_TRUE(text);
        EXPECT_DOUBLE_EQ(std::stod(*text), v / 100.0) << g;
    }
    EXPECT_EQ(EncodeGroup4(4914), "3213");
    EXPECT_EQ(EncodeGroup4(-1), "FFFF");
    EXPECT_EQ(EncodeGroup5(100000), "186A0");
    EXPECT_EQ(EncodeGroup5(0xFFFFF), "FFFFF");
}

}  // namespace
}  // namespace veltrix
