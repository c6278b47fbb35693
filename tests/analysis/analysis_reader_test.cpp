#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/analysis_fixture.h"
#include "store/analysis_files.h"
#include "base/encoding.h"

namespace veltrix::test {
namespace {

namespace fs = std::filesystem;

TEST(ReadAnalysisFile, RunnerFiguresGoToTheirColumnsAndColumn17IsLeftAlone) {
    AnalysisFixture fx;
    fx.write("20090117r", AnalysisText({RunnerLine("2009011706010101", "02", kStepData)}, {}));
    ASSERT_EQ(fx.read("20090117r"), 0);
    const auto& u = fx.app.store.UmaInfo;
    // data characters 1-4 hold 0.01 ... 33-36 hold 0.09
    EXPECT_EQ(u.at(2, 23), "0.01");
    EXPECT_EQ(u.at(2, 22), "0.02");
    EXPECT_EQ(u.at(2, 21), "0.03");
    EXPECT_EQ(u.at(2, 20), "0.04");
    EXPECT_EQ(u.at(2, 19), "0.05");
    EXPECT_EQ(u.at(2, 18), "0.06");
    EXPECT_EQ(u.at(2, 16), "0.07");
    EXPECT_EQ(u.at(2, 15), "0.08");
    EXPECT_EQ(u.at(2, 14), "0.09");
    EXPECT_EQ(u.at(2, 17), "keep");
    EXPECT_EQ(u.at(1, 14), "");
    EXPECT_TRUE(fs::exists(fx.file("20090117r")));  // kept for the next start
    EXPECT_EQ(fx.card.resets, 0);
    EXPECT_GE(fx.pump.turns, 1);
}

TEST(ReadAnalysisFile, PastRunFiguresGoToTheirColumnsWithBothFlags) {
    AnalysisFixture fx;
    fx.write("20090117r",
             AnalysisText({}, {RunLine("2009011706010102", "01", "2008110105040305", kStepData)}));
    ASSERT_EQ(fx.read("20090117r"), 0);
    const auto& h = fx.app.store.HistoryInfo;
    const int row = 4;  // 2005100003 in 2008110105040305
    EXPECT_EQ(h.at(row, 32), "1");
    EXPECT_EQ(h.at(row, 37), "1");
    EXPECT_EQ(h.at(row, 42), "0.01");
    EXPECT_EQ(h.at(row, 41), "0.02");
    EXPECT_EQ(h.at(row, 40), "0.03");
    EXPECT_EQ(h.at(row, 39), "0.04");
    EXPECT_EQ(h.at(row, 38), "0.05");
    EXPECT_EQ(h.at(row, 36), "0.06");
    EXPECT_EQ(h.at(row, 35), "0.07");
    EXPECT_EQ(h.at(row, 34), "0.08");
    EXPECT_EQ(h.at(row, 33), "0.09");
    EXPECT_EQ(h.at(row, 43), "ON");
    for (int other : {1, 2, 3, 5}) EXPECT_EQ(h.at(other, 32), "") << other;
}

TEST(ReadAnalysisFile, RecordsOutsideTheStoreAreSkipped) {
    AnalysisFixture fx;
    fx.write(
        "20090117r",
        AnalysisText({RunnerLine("2009011706010101", "09", Same9("1027")),  // no such runner
                      RunnerLine("2009011706010101", "01", Same9("3213"))},
                     {
                         RunLine("2009011706010101", "01", "2008112306050811", Same9("3213")),
                         RunLine("2009011706010101", "01", "2007010106010101", Same9("1027")),  // not kept
                         RunLine("2009011706010101", "01", "2008122806050811", Same9("0100")),
                         // A runner the store lacks, right after a record of the same past race:
                         // it must not fall back on the previous runner.
                         RunLine("2009011706010101", "07", "2008122806050811", Same9("FFFF")),
                         RunLine("2009011706010101", "02", "2008122806050811", Same9("1027")),
                     }));
    ASSERT_EQ(fx.read("20090117r"), 0);
    const auto& s = fx.app.store;
    EXPECT_EQ(s.UmaInfo.at(1, 14), "49.14");
    EXPECT_EQ(s.HistoryInfo.at(1, 33), "49.14");
    EXPECT_EQ(s.HistoryInfo.at(2, 33), "0.01");  // horse 1 in the shared past race keeps its own figures
    EXPECT_EQ(s.HistoryInfo.at(3, 33), "100");   // horse 2 looked up afresh
    EXPECT_EQ(s.HistoryInfo.at(4, 32), "");
}

TEST(ReadAnalysisFile, TrailerFollowedBySpacesIsAcceptedAnyOtherIsNot) {
    AnalysisFixture fx;
    fx.write("20090117r", AnalysisText({}, {}, "  " + std::string(AnalysisTrailer) + "   "));
    EXPECT_EQ(fx.read("20090117r"), 0);
    EXPECT_EQ(fx.app.store.RaceCount, 3);

    std::string wrong(AnalysisTrailer);
    wrong.back() = ',';
    fx.write("20090118r", AnalysisText({}, {}, wrong));
    EXPECT_EQ(fx.read("20090118r"), -1);
    EXPECT_FALSE(fs::exists(fx.file("20090118r")));
}

TEST(ReadAnalysisFile, TruncatedFileIsDeletedAndEmptiesTheStore) {
    AnalysisFixture fx;
    std::string text = AnalysisText({RunnerLine("2009011706010101", "01", kStepData)},
                                    {RunLine("2009011706010101", "01", "2008112306050811", kStepData),
                                     RunLine("2009011706010101", "01", "2008122806050811", kStepData)});
    text = text.substr(0, text.find("2008122806050811") - 30);  // cut inside the past-run section
    fx.write("20090117r", text);
    fx.write("20090118r", AnalysisText({}, {}));  // other dates are left alone
    EXPECT_EQ(fx.read("20090117r"), -1);
    EXPECT_FALSE(fs::exists(fx.file("20090117r")));
    EXPECT_TRUE(fs::exists(fx.file("20090118r")));
    const auto& s = fx.app.store;
    EXPECT_EQ(s.RaceCount, 0);
    EXPECT_EQ(s.UmaCount, 0);
    EXPECT_EQ(s.HistoryCount, 0);
    EXPECT_EQ(s.UmaInfo.rows(), 0);
    EXPECT_TRUE(s.HistoryKey.empty());
    EXPECT_EQ(s.DataMode, "");
    EXPECT_EQ(fx.card.resets, 1);
}

TEST(ReadAnalysisFile, DamagedRecordsFailInsteadOfShiftingTheRead) {
    const std::vector<std::pair<const char*, std::string>> damaged = {
        {"runner record with five fields",
         AnalysisText({Quoted({"1", "2009011706010101", "01", kStepData, "x"})}, {})},
        {"runner record with three fields", AnalysisText({Quoted({"1", "2009011706010101", kStepData})}, {})},
        {"past-run record with four fields",
         AnalysisText({}, {Quoted({"1", "2009011706010101", "01", kStepData})})},
        {"wrong tag", AnalysisText({Quoted({"2", "2009011706010101", "01", kStepData})}, {})},
        {"data one group short",
         AnalysisText({RunnerLine("2009011706010101", "01", kStepData.substr(4))}, {})},
        {"data not hexadecimal", AnalysisText({}, {RunLine("2009011706010101", "01", "2008112306050811",
                                                           "Z" + kStepData.substr(1))})},
        {"header not 0", "\"1\",TOKEN\r\n\"0\",0\r\n\"0\",0\r\n" + std::string(AnalysisTrailer) + "\r\n"},
        {"count does not convert",
         "0,TOKEN\r\n\"0\",x\r\n\"0\",0\r\n" + std::string(AnalysisTrailer) + "\r\n"},
        {"count above 32767",
         "0,TOKEN\r\n\"0\",32768\r\n\"0\",0\r\n" + std::string(AnalysisTrailer) + "\r\n"},
        {"no trailer", "0,TOKEN\r\n\"0\",0\r\n\"0\",0\r\n"},
        {"empty file", ""},
        {"not CP932", "0,TOKEN\r\n\"0\",0\r\n\"0\",0\r\n\x82"},
    };
    for (const auto& [what, text] : damaged) {
        AnalysisFixture fx;
        auto bytes = text;
        ASSERT_TRUE(WriteFileBytes(fx.file("20090117r"), bytes));
        EXPECT_EQ(fx.read("20090117r"), -1) << what;
        EXPECT_FALSE(fs::exists(fx.file("20090117r"))) << what;
        EXPECT_EQ(fx.app.store.UmaCount, 0) << what;
        EXPECT_EQ(fx.card.resets, 1) << what;
    }
}

TEST(ReadAnalysisFile, MissingFileFailsLikeADamagedOne) {
    AnalysisFixture fx;
    EXPECT_EQ(fx.read("20090117r"), -1);
    EXPECT_EQ(fx.app.store.RaceCount, 0);
    EXPECT_EQ(fx.card.resets, 1);
}

TEST(ReadAnalysisFile, AnArgumentThatIsNoDateNamesNoFileAndTouchesNothing) {
    AnalysisFixture fx;
    fs::create_directories(fx.dir.path() / "keep");
    WriteCp932(fx.dir.path() / "keep" / "x", "user data");
    for (const char* bad : {"../keep/x", "2009011r", "20090117", "2009o117r", "20090117rr", "20090117R"}) {
        EXPECT_EQ(fx.read(bad), -1) << bad;
    }
    EXPECT_TRUE(fs::exists(fx.dir.path() / "keep" / "x"));
    EXPECT_EQ(fx.app.store.RaceCount, 3);
    EXPECT_EQ(fx.card.resets, 0);
}

TEST(ReadAnalysisFile, OneEventTurnPerRecord) {
    AnalysisFixture fx;
    fx.write("20090117r", AnalysisText({RunnerLine("2009011706010101", "01", kStepData),
                                        RunnerLine("2009011706010101", "02", kStepData)},
                                       {RunLine("2009011706010101", "01", "2008112306050811", kStepData)}));
    ASSERT_EQ(fx.read("20090117r"), 0);
    EXPECT_EQ(fx.pump.turns, 3);
}

}  // namespace
}  // namespace veltrix::test
