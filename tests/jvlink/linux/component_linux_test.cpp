#include <gtest/gtest.h>

#include "jvlink/com_jvlink.h"
#include "jvlink/component.h"
#include "support/fake_host.h"

namespace veltrix::test {
namespace {

using Kind = JVLinkChoice::Kind;

TEST(JVLinkChoiceTest, OnLinuxTheDefaultIsTheStandinAndComCannotBeMade) {
    EXPECT_FALSE(ComComponentRegistered(kJVLinkProgId));
    EXPECT_EQ(DefaultJVLinkChoice(), (JVLinkChoice{Kind::Standin, ""}));
    TempDir dir;
    std::string reason;
    EXPECT_EQ(MakeJVLink({Kind::Com, "JVDTLab.JVLink"}, dir.path(), {}, reason), nullptr);
    EXPECT_NE(reason.find("only on Windows"), std::string::npos) << reason;
    EXPECT_NE(reason.find("JVDTLab.JVLink"), std::string::npos) << reason;
}

}  // namespace
}  // namespace veltrix::test
