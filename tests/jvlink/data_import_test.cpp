// The import window's race list and state table, without a window.
#include "jvlink/data_import.h"

#include <gtest/gtest.h>

#include "support/fake_host.h"

namespace veltrix::test {
namespace {

const std::string kPad(80, ' ');

Store konsyuStore() {
    Store s;
    s.DataMode = "KONSYU";
    s.RaceCount = 2;
    s.RaceIdList = Array1<std::string>(2);
    s.RaceLabel = Array1<std::string>(2);
    s.RaceIdList[1] = "2009011706010101";
    s.RaceLabel[1] = "2009/01/17 中山 01R 10:05 ダ1200 サラ３歳 未勝利" + kPad + "2009011706010101";
    s.RaceIdList[2] = "2009011706010111";
    s.RaceLabel[2] = "2009/01/17 中山 11R 15:35 芝2000 若駒ステークス" + kPad + "2009011706010111";
    return s;
}

TEST(PutRaceList, FillsTheColumnsFromTheLabels) {
    DataImportModel model;
    Sheet& g = model.fpsControl;
    ASSERT_EQ(g.colCount(), 10);
    EXPECT_TRUE(g.isColumnHidden(ColNo(1)));
    EXPECT_TRUE(g.isColumnHidden(ColNo(2)));
    EXPECT_FALSE(g.isColumnHidden(ColNo(3)));
    const char* headers[] = {"開催日", "場所", "R", "発走", "距離", "競走名", "データ", "出走表"};
    for (int c = 3; c <= 10; ++c) EXPECT_EQ(g.header(ColNo(c)), headers[c - 3]);

    Store s = konsyuStore();
    EXPECT_EQ(PutRaceList(g, s, s.RaceLabel[2]), 2);
    ASSERT_EQ(g.rowCount(), 2);
    EXPECT_EQ(g.text(RowNo(1), ColNo(1)), "2009011706010101");
    EXPECT_EQ(g.text(RowNo(1), ColNo(2)), s.RaceLabel[1]);
    const char* row1[] = {"2009/01/17", "中山", "01R", "10:05", "ダ1200", "サラ３歳 未勝利", "取込", "0"};
    for (int c = 3; c <= 10; ++c) EXPECT_EQ(g.text(RowNo(1), ColNo(c)), row1[c - 3]) << c;
    EXPECT_EQ(g.text(RowNo(2), ColNo(8)), "若駒ステークス");
    EXPECT_EQ(g.text(RowNo(2), ColNo(10)), "1");

    // Nothing shown on the race card: nothing checked.
    EXPECT_EQ(PutRaceList(g, s, ""), 0);
    EXPECT_EQ(g.text(RowNo(2), ColNo(10)), "0");

    // No stored week: an empty list.
    s.DataMode = "";
    PutRaceList(g, s, "");
    EXPECT_EQ(g.rowCount(), 0);
}

TEST(PutRaceList, SpecialRegistrationsHaveNoStartTimeAndOneNameWord) {
    Store s;
    s.DataMode = "TOKUBETSU";
    s.RaceCount = 1;
    s.RaceIdList = Array1<std::string>(1);
    s.RaceLabel = Array1<std::string>(1);
    s.RaceIdList[1] = "2009012406010711";
    s.RaceLabel[1] = "2009/01/24 中山 11R ダ1600 サラ３歳以上 オープン" + kPad + "2009012406010711";
    Sheet g;
    PutRaceList(g, s, "");
    ASSERT_EQ(g.rowCount(), 1);
    EXPECT_EQ(g.text(RowNo(1), ColNo(6)), "--:--");
    EXPECT_EQ(g.text(RowNo(1), ColNo(7)), "ダ1600");
    EXPECT_EQ(g.text(RowNo(1), ColNo(8)), "サラ３歳以上");
}

TEST(ImportWindowState, FollowsPhaseAndDataMode) {
    auto idleKonsyu = ImportWindowStateFor(ImportPhase::Idle, "KONSYU");
    EXPECT_TRUE(idleKonsyu.importButtons && idleKonsyu.realTimeButtons && idleKonsyu.grid);
    EXPECT_FALSE(idleKonsyu.cancel || idleKonsyu.waitCursor);
    for (const char* mode : {"", "TOKUBETSU"}) {
        auto idle = ImportWindowStateFor(ImportPhase::Idle, mode);
        EXPECT_TRUE(idle.importButtons && idle.grid);
        EXPECT_FALSE(idle.realTimeButtons || idle.cancel || idle.waitCursor);
    }
    auto running = ImportWindowStateFor(ImportPhase::Running, "KONSYU");
    EXPECT_FALSE(running.importButtons || running.realTimeButtons || running.grid);
    EXPECT_TRUE(running.cancel && running.waitCursor);
}

// Closing while a command runs cancels it and keeps the window until the
// command has stopped; the close then happens once.
TEST(ImportWindowClose, RunningCommandIsCancelledAndTheCloseDeferred) {
    DataImportModel model;
    FakePump pump;
    EXPECT_TRUE(ImportWindowMayClose(model.close, false, pump));
    EXPECT_FALSE(pump.cancelRequested());
    EXPECT_FALSE(TakePendingClose(model.close));

    EXPECT_FALSE(ImportWindowMayClose(model.close, true, pump));
    EXPECT_TRUE(pump.cancelRequested());
    EXPECT_FALSE(ImportWindowMayClose(model.close, true, pump));  // asked again: still refused
    EXPECT_TRUE(TakePendingClose(model.close));
    EXPECT_FALSE(TakePendingClose(model.close));
}

}  // namespace
}  // namespace veltrix::test
