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

// The graph windows' lines live beside the main window's keys: an old file
// without them reads as before, each side writes its own lines only.
TEST(WindowGeometryFile, GraphWindowPlacesKeepTheMainWindowsKeys) {
    const std::string old = FormatWindowGeometry(sample());
    EXPECT_EQ(ParseWindowGeometry(old), sample());
    EXPECT_FALSE(ParseWindowPlace(old, "frmPaceGraph"));

    std::string text = SetGeometryLine(old, "frmPaceGraph", "900,120,193,213");
    text = SetGeometryLine(text, "frmRaceGraph", "900,333,300,260");
    text = SetGeometryLine(text, "frmPaceGraph", "880,100,250,240");
    EXPECT_EQ(text.find(old), 0u);  // the main window's lines first, unchanged
    EXPECT_EQ(ParseWindowGeometry(text), sample());
    EXPECT_EQ(ParseWindowPlace(text, "frmPaceGraph"), (WindowPlace{880, 100, 250, 240}));
    EXPECT_EQ(ParseWindowPlace(text, "frmRaceGraph"), (WindowPlace{900, 333, 300, 260}));
    EXPECT_FALSE(ParseWindowPlace(text, "frmRaceHistoryGraph"));
    for (const char* bad :
         {"frmPaceGraph=1,2,3", "frmPaceGraph=1,2,0,4", "frmPaceGraph=a,2,3,4", "frmPaceGraph=1,2,3,4,5"})
        EXPECT_FALSE(ParseWindowPlace(bad, "frmPaceGraph")) << bad;

    test::TempDir dir;
    EXPECT_FALSE(WriteWindowPlace(dir.path(), "frmRaceGraph", {10, 20, 300, 260}));
    EXPECT_FALSE(ReadWindowGeometry(dir.path()));  // no main window's layout yet
    EXPECT_FALSE(WriteWindowGeometry(dir.path(), sample()));
    EXPECT_EQ(ReadWindowGeometry(dir.path()), sample());
    EXPECT_EQ(ReadWindowPlace(dir.path(), "frmRaceGraph"), (WindowPlace{10, 20, 300, 260}));
}

TEST(WindowGeometryFile, AKeptPlaceOffEveryScreenIsIgnored) {
    const std::vector<WindowPlace> screens{{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
    EXPECT_EQ(PlaceOnScreens({1500, 100, 300, 250}, screens), (WindowPlace{1500, 100, 300, 250}));
    // Half off the edge is still reachable: its centre is on a screen.
    EXPECT_TRUE(PlaceOnScreens({-100, 10, 300, 250}, screens));
    EXPECT_FALSE(PlaceOnScreens({3300, 100, 300, 250}, screens));
    EXPECT_FALSE(PlaceOnScreens({100, 100, 300, 250}, {}));
    // Bigger than its screen: bounded by it.
    EXPECT_EQ(PlaceOnScreens({10, 10, 1500, 2000}, screens), (WindowPlace{10, 10, 1280, 1024}));
}

}  // namespace
}  // namespace veltrix
