#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "analysis/analysis_fixture.h"
#include "sample/analysis_sample.h"
#include "store/analysis_files.h"
#include "base/encoding.h"
#include "base/fields.h"
#include "store/weekly_store.h"

namespace veltrix::test {
namespace {

namespace fs = std::filesystem;

std::string goodConditions() {
    const std::string data = std::string(20, '0') + std::string(45, '1');
    return "0,TOKEN\r\n" + Quoted({"1", "2", "23", "1200", data}) + "\r\n\"9\",1\r\n" +
           std::string(AnalysisTrailer) + "\r\n";
}

TEST(MergeAnalysisFilesAtStartup, ConditionsFirstThenOneFilePerDateOfTheStoresMode) {
    AnalysisFixture fx;
    fx.write(kConditionFileArgument, goodConditions());
    fx.write("20090117r", AnalysisText({RunnerLine("2009011706010101", "01", Same9("3213"))}, {}));
    fx.write("20090118r", AnalysisText({RunnerLine("2009011806010201", "05", Same9("1027"))}, {}));
    fx.write("20090117t", "damaged: a file of the other mode is never read");
    auto r = MergeAnalysisFiles(fx.app, fx.pump);
    EXPECT_FALSE(r.ended);
    EXPECT_EQ(r.conditionRecords, 1);
    EXPECT_EQ(r.analysisFiles, 2);
    EXPECT_EQ(fx.app.store.UmaInfo.at(1, 14), "49.14");
    EXPECT_EQ(fx.app.store.UmaInfo.at(4, 14), "100");
    EXPECT_TRUE(fs::exists(fx.file("20090117t")));
}

TEST(MergeAnalysisFilesAtStartup, TokubetsuReadsTAndMissingFilesAreSkipped) {
    AnalysisFixture fx;
    fx.app.store.DataMode = "TOKUBETSU";
    fx.write("20090118t", AnalysisText({RunnerLine("2009011806010201", "05", Same9("3213"))}, {}));
    auto r = MergeAnalysisFiles(fx.app, fx.pump);
    EXPECT_FALSE(r.ended);
    EXPECT_EQ(r.conditionRecords, 0);
    EXPECT_EQ(r.analysisFiles, 1);
    EXPECT_EQ(fx.app.store.UmaInfo.at(4, 14), "49.14");
}

TEST(MergeAnalysisFilesAtStartup, AFailureEndsTheStep) {
    {
        AnalysisFixture fx;  // damaged condition file: no per-date file is read
        fx.write(kConditionFileArgument, "0,TOKEN\r\n");
        fx.write("20090117r", AnalysisText({}, {}));
        auto r = MergeAnalysisFiles(fx.app, fx.pump);
        EXPECT_TRUE(r.ended);
        EXPECT_EQ(r.analysisFiles, 0);
        EXPECT_EQ(fx.app.store.RaceCount, 0);
        EXPECT_TRUE(fs::exists(fx.file("20090117r")));
    }
    {
        AnalysisFixture fx;  // damaged first date: the second is not read
        fx.write("20090117r", "0,TOKEN\r\n");
        fx.write("20090118r", AnalysisText({}, {}));
        auto r = MergeAnalysisFiles(fx.app, fx.pump);
        EXPECT_TRUE(r.ended);
        EXPECT_EQ(r.analysisFiles, 0);
        EXPECT_FALSE(fs::exists(fx.file("20090117r")));
        EXPECT_TRUE(fs::exists(fx.file("20090118r")));
        EXPECT_EQ(fx.card.resets, 1);
    }
    {
        AnalysisFixture fx;  // a mode that names no file
        fx.app.store.DataMode = "OTHER";
        fx.write(kConditionFileArgument, goodConditions());
        auto r = MergeAnalysisFiles(fx.app, fx.pump);
        EXPECT_TRUE(r.ended);
        EXPECT_EQ(r.conditionRecords, 1);
    }
    {
        AnalysisFixture fx;  // an empty store has no dates and nothing to end
        ClearRaceCache(fx.app.store);
        auto r = MergeAnalysisFiles(fx.app, fx.pump);
        EXPECT_FALSE(r.ended);
        EXPECT_EQ(r.analysisFiles, 0);
    }
}

TEST(SampleAnalysisFiles, GeneratedFilesMergeWithFiguresForEveryRunnerAndMostPastRuns) {
    AnalysisFixture fx;
    // a larger week: 40 runners on two dates, 12 past runs each
    Store& s = fx.app.store;
    s.UmaCount = 40;
    s.UmaInfo.resize(40, kUmaInfoCols);
    s.UmaKey.resize(40);
    s.HistoryCount = 480;
    s.HistoryInfo.resize(480, kHistoryInfoCols);
    s.HistoryKey.resize(480);
    for (int u = 1; u <= 40; ++u) {
        const std::string race = s.RaceIdList[u <= 30 ? 1 + (u - 1) / 15 : 3];
        char number[3];
        std::snprintf(number, sizeof number, "%02d", (u - 1) % 15 + 1);
        s.UmaInfo.at(u, 1) = race;
        s.UmaInfo.at(u, 2) = std::to_string(2005200000 + u);
        s.UmaInfo.at(u, 4) = number;
        s.UmaKey[u] = race + number;
        for (int k = 1; k <= 12; ++k) {
            const int h = (u - 1) * 12 + k;
            s.HistoryInfo.at(h, 1) = s.UmaInfo.at(u, 2);
            s.HistoryInfo.at(h, 2) =
                "20080" + std::to_string(100 + k).substr(1) + "0106010" + std::to_string(k % 10) + "11";
            s.HistoryKey[h] = s.HistoryInfo.at(h, 1) + s.HistoryInfo.at(h, 2);
        }
    }
    auto summary = WriteSampleAnalysisFiles(s, fx.app.folders.cache, 7);
    ASSERT_TRUE(summary.ok);
    EXPECT_EQ(summary.dateFiles, 2);
    EXPECT_GT(summary.conditionRecords, 0);
    EXPECT_TRUE(fs::exists(fx.file("20090117r")));
    EXPECT_TRUE(fs::exists(fx.file("20090118r")));

    auto r = MergeAnalysisFiles(fx.app, fx.pump);
    ASSERT_FALSE(r.ended);
    EXPECT_EQ(r.analysisFiles, 2);
    EXPECT_EQ(r.conditionRecords, summary.conditionRecords);
    ASSERT_EQ(s.UmaCount, 40);
    for (int u = 1; u <= 40; ++u)
        for (int c : {14, 15, 16, 18, 19, 20, 21, 22, 23})
            EXPECT_TRUE(IsNumeric(s.UmaInfo.at(u, c))) << u << "," << c;
    int withFigures = 0;
    int figures = 0;
    int plausible = 0;  // within 50 +- 30
    int negative = 0;
    int outOfRange = 0;
    for (int h = 1; h <= 480; ++h) {
        if (s.HistoryInfo.at(h, 32) != "1") continue;
        ++withFigures;
        for (int c : {33, 34, 35, 36, 38, 39, 40, 41, 42}) {
            auto v = ParseReal(s.HistoryInfo.at(h, c));
            ASSERT_TRUE(v) << h << "," << c;
            ++figures;
            plausible += *v >= 20 && *v <= 80;
            negative += *v < 0;
            outOfRange += *v > 150 || *v < -100;
        }
    }
    EXPECT_GT(plausible, figures * 9 / 10);
    EXPECT_GT(negative, 0);
    EXPECT_GT(outOfRange, 0);
    EXPECT_LT(negative + outOfRange, figures / 20);
    EXPECT_LT(withFigures, 480);  // some past runs come without figures
    EXPECT_GT(withFigures, 400);
    EXPECT_GT(summary.pastRunRecords, withFigures);  // strays were written and skipped
    // Oracle by plain maps: every past-run record of a runner and race in the
    // store shows up in its row; every other record is a stray and lands nowhere.
    std::map<std::string, std::string> umaOf;
    for (int u = 1; u <= 40; ++u) umaOf[s.UmaKey[u]] = s.UmaInfo.at(u, 2);
    std::map<std::string, int> rowOf;
    for (int h = 1; h <= 480; ++h) rowOf[s.HistoryKey[h]] = h;
    int strays = 0;
    int matched = 0;
    for (const char* date : {"20090117r", "20090118r"}) {
        auto reader = FieldReader::FromFile(fx.file(date));
        ASSERT_TRUE(reader);
        std::vector<std::string> f;
        reader->readRecord(f);
        reader->readRecord(f);
        for (long long i = ParseInteger(f[1]).value(); i > 0; --i) reader->readRecord(f);
        reader->readRecord(f);
        for (long long i = ParseInteger(f[1]).value(); i > 0; --i) {
            ASSERT_TRUE(reader->readRecord(f));
            ASSERT_EQ(f.size(), 5u);
            auto uma = umaOf.find(f[1] + f[2]);
            auto row = uma == umaOf.end() ? rowOf.end() : rowOf.find(uma->second + f[3]);
            if (row == rowOf.end()) {
                ++strays;
                continue;
            }
            ++matched;
            EXPECT_EQ(s.HistoryInfo.at(row->second, 33), DecodeGroup4(f[4], 33).value());
            EXPECT_EQ(s.HistoryInfo.at(row->second, 42), DecodeGroup4(f[4], 1).value());
        }
    }
    EXPECT_EQ(matched, withFigures);
    EXPECT_GE(strays, 4);  // at least a stray runner and a stray past race per file

    // the week's own class (dirt, 3-year-olds, maiden, 1200 m) is among the keys
    const auto& c = fx.app.conditions;
    bool weekKey = false;
    for (int k = 1; k <= c.ConditionCount; ++k) {
        EXPECT_EQ(c.ConditionKey[k].size(), 7u);
        weekKey = weekKey || c.ConditionKey[k] == "2231200";
    }
    EXPECT_TRUE(weekKey);
}

TEST(SampleAnalysisFiles, SameSeedSameBytes) {
    AnalysisFixture a;
    AnalysisFixture b;
    WriteSampleAnalysisFiles(a.app.store, a.app.folders.cache, 11);
    WriteSampleAnalysisFiles(b.app.store, b.app.folders.cache, 11);
    EXPECT_EQ(ReadFileBytes(a.file("20090117r")), ReadFileBytes(b.file("20090117r")));
    EXPECT_EQ(ReadFileBytes(a.file(kConditionFileArgument)), ReadFileBytes(b.file(kConditionFileArgument)));
    WriteSampleAnalysisFiles(b.app.store, b.app.folders.cache, 12);
    EXPECT_NE(ReadFileBytes(a.file("20090117r")), ReadFileBytes(b.file("20090117r")));
}

}  // namespace
}  // namespace veltrix::test
