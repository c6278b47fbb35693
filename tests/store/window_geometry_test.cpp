#include "store/window_geometry.h"

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "support/fake_host.h"

namespace veltrix {
namespace {

WindowGeometry sample() { return WindowGeometry{40, -8, 1260, 900, true, {520, 300}}; }

TEST(WindowGeometryFile, RoundTripsAsCrLfText) {
    test::TempDir dir;
    ASSERT_FALSE(WriteWindowGeometry(dir.path(), sample()));
    const auto bytes = ReadFileBytes(dir.path() / kGeometryFileName);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, "Left=40\r\nTop=-8\r\nWidth=1260\r\nHeight=900\r\nMaximized=1\r\nSplitter=520,300\r\n");
    EXPECT_EQ(ReadWindowGeometry(dir.path()), sample());
    EXPECT_FALSE(ReadWindowGeometry(dir.path() / "elsewhere"));  // no file yet: the default place
}

// A damaged layout is ignored, never half applied.
TEST(WindowGeometryFile, DamagedTextIsIgnored) {
    const std::string good = FormatWindowGeometry(sample());
    ASSERT_TRUE(ParseWindowGeometry(good));
    const char* damaged[] = {
        "",
        "Left=40\r\nTop=0\r\nWidth=1260\r\nHeight=900\r\nMaximized=0\r\n",  // no splitter
        "Left=x\r\nTop=0\r\nWidth=1260\r\nHeight=900\r\nMaximized=0\r\nSplitter=1,2\r\n",
        "Left=0\r\nTop=0\r\nWidth=5\r\nHeight=900\r\nMaximized=0\r\nSplitter=1,2\r\n",  // too small to see
        "Left=0\r\nTop=0\r\nWidth=1260\r\nHeight=99999999999\r\nMaximized=0\r\nSplitter=1,2\r\n",
        "Left=0\r\nTop=0\r\nWidth=1260\r\nHeight=900\r\nMaximized=2\r\nSplitter=1,2\r\n",
        "Left=0\r\nTop=0\r\nWidth=1260\r\nHeight=900\r\nMaximized=0\r\nSplitter=1,,2\r\n",
        "Left=0\r\nTop=0\r\nWidth=1260\r\nHeight=900\r\nMaximized=0\r\nSplitter=-1,2\r\n",
    };
    for (const char* text : damaged) EXPECT_FALSE(ParseWindowGeometry(text)) << text;
    EXPECT_FALSE(ParseWindowGeometry(good + std::string(5000, ' ')));

    test::TempDir dir;
    std::filesystem::create_directory(dir.path() / kGeometryFileName);  // not a file
    EXPECT_FALSE(ReadWindowGeometry(dir.path()));
}

}  // namespace
}  // namespace veltrix
