#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/analysis_fixture.h"
#include "store/analysis_files.h"

namespace veltrix::test {
namespace {

namespace fs = std::filesystem;

// value 4 (chars 1-5), 3, 2, 1, then the nine coefficients
const std::string kConditionData = std::string("F4010") +
                                   "3213"
                                   "1"
                                   "0100"
                                   "0"
                                   "FFFF"
                                   "1" +
                                   "007D0"
                                   "01B58"
                                   "003E8"
                                   "00BB8"
                                   "01B58"
                                   "003E8"
                                   "007D0"
                                   "009C4"
                                   "01194";

std::string conditionText(int records, int announced,
                          const std::string& trailer = std::string(AnalysisTrailer)) {
    std::string t = "0,TOKEN\r\n";
    for (int i = 1; i <= records; ++i)
        t += Quoted({"1", "2", "23", std::to_string(1000 + i), kConditionData}) + "\r\n";
    return t + "\"9\"," + std::to_string(announced) + "\r\n" + trailer + "\r\n";
}

TEST(ReadConditionFile, FillsKeysAndTheThirteenValues) {
    AnalysisFixture fx;
    fx.write(kConditionFileArgument, conditionText(2, 2));
    ASSERT_EQ(fx.readConditions(), 0);
    const auto& c = fx.app.conditions;
    EXPECT_EQ(c.ConditionCount, 2);
    EXPECT_EQ(c.ConditionKey[1], "2231001");
    EXPECT_EQ(c.ConditionKey[2], "2231002");
    EXPECT_EQ(c.ConditionKey[3], "");
    EXPECT_EQ(c.ConditionTable.at(1, 1), "1-0.01");  // sign code, then the group as it decodes
    EXPECT_EQ(c.ConditionTable.at(1, 2), "00.01");
    EXPECT_EQ(c.ConditionTable.at(1, 3), "149.14");
    EXPECT_EQ(c.ConditionTable.at(1, 4), "05");
    const char* coefficients[] = {"0.2", "0.7", "0.1", "0.3", "0.7", "0.1", "0.2", "0.25", "0.45"};
    for (int v = 5; v <= 13; ++v) EXPECT_EQ(c.ConditionTable.at(1, v), coefficients[v - 5]) << v;
    EXPECT_TRUE(fs::exists(fx.file(kConditionFileArgument)));
    EXPECT_EQ(fx.app.store.RaceCount, 3);
}

TEST(ReadConditionFile, ThreeHundredRecordsFitTheThreeHundredAndFirstIsRejected) {
    AnalysisFixture fx;
    fx.write(kConditionFileArgument, conditionText(300, 300));
    ASSERT_EQ(fx.readConditions(), 0);
    EXPECT_EQ(fx.app.conditions.ConditionCount, 300);

    fx.write(kConditionFileArgument, conditionText(301, 301));
    EXPECT_EQ(fx.readConditions(), -1);
    EXPECT_FALSE(fs::exists(fx.file(kConditionFileArgument)));
}

TEST(ReadConditionFile, RejectionDeletesTheFileEmptiesStoreAndTableAndResetsTheCard) {
    const std::vector<std::pair<const char*, std::string>> damaged = {
        {"count larger than the records", conditionText(2, 3)},
        {"count smaller than the records", conditionText(2, 1)},
        {"count not a number",
         conditionText(1, 1).replace(conditionText(1, 1).find("\"9\",1"), 5, "\"9\",x")},
        {"no 9 record", "0,TOKEN\r\n" + Quoted({"1", "2", "23", "1200", kConditionData}) + "\r\n"},
        {"wrong trailer", conditionText(1, 1, "END")},
        {"other tag", "0,TOKEN\r\n" + Quoted({"2", "2", "23", "1200", kConditionData}) + "\r\n\"9\",1\r\n"},
        {"short data",
         "0,TOKEN\r\n" + Quoted({"1", "2", "23", "1200", kConditionData.substr(1)}) + "\r\n\"9\",1\r\n"},
        {"record without its key parts", "0,TOKEN\r\n" + Quoted({"1", kConditionData}) + "\r\n\"9\",1\r\n"},
    };
    for (const auto& [what, text] : damaged) {
        AnalysisFixture fx;
        fx.app.conditions.ConditionCount = 1;
        fx.app.conditions.ConditionKey[1] = "1111200";
        fx.write(kConditionFileArgument, text);
        EXPECT_EQ(fx.readConditions(), -1) << what;
        EXPECT_FALSE(fs::exists(fx.file(kConditionFileArgument))) << what;
        EXPECT_EQ(fx.app.store.RaceCount, 0) << what;
        EXPECT_EQ(fx.card.resets, 1) << what;
        // no stale or half-read coefficients are left for the prediction
        EXPECT_EQ(fx.app.conditions.ConditionCount, 0) << what;
        EXPECT_EQ(fx.app.conditions.ConditionKey[1], "") << what;
    }
}

TEST(ReadConditionFile, SuccessReplacesTheWholeTable) {
    AnalysisFixture fx;
    fx.write(kConditionFileArgument, conditionText(3, 3));
    ASSERT_EQ(fx.readConditions(), 0);
    fx.write(kConditionFileArgument, conditionText(1, 1));
    ASSERT_EQ(fx.readConditions(), 0);
    EXPECT_EQ(fx.app.conditions.ConditionCount, 1);
    EXPECT_EQ(fx.app.conditions.ConditionKey[2], "");
    EXPECT_EQ(fx.app.conditions.ConditionTable.at(2, 5), "");
}

}  // namespace
}  // namespace veltrix::test
