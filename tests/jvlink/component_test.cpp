#include "jvlink/component.h"

#include <gtest/gtest.h>

#include "jvlink/session.h"
#include "standin_folder.h"

namespace veltrix::test {
namespace {

using Kind = JVLinkChoice::Kind;

TEST(JVLinkChoiceTest, ReadsTheThreeFormsAndWritesThemBack) {
    std::string reason;
    EXPECT_EQ(ParseJVLinkChoice("standin", reason), (JVLinkChoice{Kind::Standin, ""}));
    EXPECT_EQ(ParseJVLinkChoice("com", reason), (JVLinkChoice{Kind::Com, "JVDTLab.JVLink"}));
    EXPECT_EQ(ParseJVLinkChoice("com:VELTRIX.TestJVLink", reason), (JVLinkChoice{Kind::Com, "VELTRIX.TestJVLink"}));
    EXPECT_EQ(ParseJVLinkChoice("com:My_Lib.Thing.2", reason), (JVLinkChoice{Kind::Com, "My_Lib.Thing.2"}));
    for (const char* text : {"standin", "com:JVDTLab.JVLink", "com:VELTRIX.TestJVLink"}) {
        auto choice = ParseJVLinkChoice(text, reason);
        ASSERT_TRUE(choice) << text;
        EXPECT_EQ(JVLinkChoiceText(*choice), text);
    }
}

TEST(JVLinkChoiceTest, RejectsOtherTextWithOneLine) {
    for (const char* text : {"", "Standin", "COM", "stand-in", "com:", "com:1Lib.Thing", "com:.Lib", "com:Lib Thing",
                             "com:{6B0E8C52-3F4A-4D7B-9E21-5A6C7D8E9F10}", "com:A123456789012345678901234567890123456789",
                             " com", "com :X"}) {
        std::string reason;
        EXPECT_FALSE(ParseJVLinkChoice(text, reason)) << text;
        EXPECT_FALSE(reason.empty()) << text;
        EXPECT_EQ(reason.find('\n'), std::string::npos) << text;
    }
    std::string reason;
    ParseJVLinkChoice("jvlink", reason);
    EXPECT_NE(reason.find("\"jvlink\""), std::string::npos) << reason;
    // 39 characters is the longest ProgID.
    EXPECT_TRUE(ParseJVLinkChoice("com:A" + std::string(38, 'b'), reason));
}

TEST(JVLinkChoiceTest, DefaultIsJVLinkWhenRegisteredElseTheStandin) {
    std::vector<std::string> asked;
    auto registered = [&](bool answer) {
        return [&asked, answer](const std::string& id) {
            asked.push_back(id);
            return answer;
        };
    };
    EXPECT_EQ(DefaultJVLinkChoice(registered(true)), (JVLinkChoice{Kind::Com, "JVDTLab.JVLink"}));
    EXPECT_EQ(DefaultJVLinkChoice(registered(false)), (JVLinkChoice{Kind::Standin, ""}));
    EXPECT_EQ(asked, (std::vector<std::string>{"JVDTLab.JVLink", "JVDTLab.JVLink"}));
}

TEST(JVLinkChoiceTest, TheStandinServesTheProgramFoldersJVLinkFolderWithTheGivenOptions) {
    TempDir dir;
    WriteStored(StandinFolder(dir.path()), "RACE", "20250104000000", "a", {"RA"});
    StandinOptions options;
    options.simulateDownload = false;
    std::string reason;
    auto jv = MakeJVLink({Kind::Standin, ""}, dir.path(), options, reason);
    ASSERT_NE(jv, nullptr) << reason;
    ASSERT_EQ(jv->JVInit(SoftwareId), 0);
    int reads = 0, downloads = -1;
    std::string last;
    EXPECT_EQ(jv->JVOpen("RACE", "19860101000000", 2, reads, downloads, last), 0);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(downloads, 0);
    std::string buff, file;
    EXPECT_EQ(jv->JVRead(buff, kReadBufferStored, file), 4);
    EXPECT_EQ(buff, "RA\r\n");
}

}  // namespace
}  // namespace veltrix::test
