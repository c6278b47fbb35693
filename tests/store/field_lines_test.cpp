#include <gtest/gtest.h>

#include "base/fields.h"

namespace veltrix {
namespace {

TEST(FieldReader, ReadLineTakesTheLineAsItStandsAndReadingGoesOnBelowIt) {
    FieldReader r("\"1\",\"a\"\r\n  x,\"y\" Brennick,Inc.  \r\n\"9\",2\r\nlast");
    std::vector<std::string> f;
    ASSERT_TRUE(r.readRecord(f));
    std::string line;
    ASSERT_TRUE(r.readLine(line));
    EXPECT_EQ(line, "  x,\"y\" Brennick,Inc.  ");
    ASSERT_TRUE(r.readRecord(f));
    EXPECT_EQ(f, (std::vector<std::string>{"9", "2"}));
    ASSERT_TRUE(r.readLine(line));
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(r.readLine(line));
}

}  // namespace
}  // namespace veltrix
