#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/analysis_import_command.h"
#include "app/race_commands.h"
#include "app/startup.h"
#include "racecard/race_card.h"
#include "service/analysis_download.h"
#include "service/linux/service_fixture.h"

namespace veltrix::test {
namespace {

namespace fs = std::filesystem;
using tool::AnswerKind;

using Lines = std::vector<std::string>;

const Lines kFullImport = {
    "分析ファイルをダウンロードしました。 ( 今週のレース情報：統計データ )",
    "分析ファイルをインポートしました。 ( 今週のレース情報：統計データ )",
    "分析ファイルをダウンロードしました。 ( 今週のレース情報：2026/12/12 )",
    "分析ファイルをインポートしました。 ( 今週のレース情報：2026/12/12 )",
    "分析ファイルをダウンロードしました。 ( 今週のレース情報：2026/12/13 )",
    "分析ファイルをインポートしました。 ( 今週のレース情報：2026/12/13 )",
};

// The stored week of the fixture's program folder, as start-up reads it.
struct Program {
    explicit Program(const fs::path& folder) {
        std::string reason;
        StoreLoad load;
        EXPECT_FALSE(StartApplication(app, folder, load, reason)) << reason;
        sub = app.changes.subscribe([this](Change c) { heard.push_back(c); });
    }
    AnalysisImportResult import(const ServiceFixture& fx) {
        return ImportAnalysisFiles(app, {ui, pump, fx.address(), ServiceFixture::quick()});
    }
    int count(Change c) const { return static_cast<int>(std::count(heard.begin(), heard.end(), c)); }

    Application app;
    FakeUserInterface ui;
    FakePump pump;
    std::vector<Change> heard;
    Subscription sub;
};

std::vector<std::string> arguments(const ServiceFixture& fx) {
    std::vector<std::string> out;
    for (const auto& r : fx.service.requests()) out.push_back(r.argument);
    return out;
}

TEST(ImportAnalysisFiles, AWeekOnTwoDatesImportsStatisticsThenEachDate) {
    ServiceFixture fx;
    Program p(fx.program());
    ASSERT_EQ(p.app.store.DataMode, "KONSYU");
    const auto result = p.import(fx);
    EXPECT_FALSE(result.declined);
    EXPECT_EQ(result.result, 0);
    EXPECT_EQ(result.files, 3);
    EXPECT_EQ(arguments(fx), (Lines{"00000000p", "20261212r", "20261213r"}));
    ASSERT_EQ(p.ui.questions.size(), 1u);
    EXPECT_EQ(p.ui.questions[0].text, "今週のレース情報の分析ファイルをインポートしますか？");
    EXPECT_EQ(p.ui.questions[0].icon, Icon::Question);
    EXPECT_EQ(p.ui.statuses, kFullImport);
    EXPECT_TRUE(p.ui.messages.empty());
    EXPECT_EQ(p.ui.progressMax, p.app.store.RaceCount);
    EXPECT_EQ(p.ui.progress, p.app.store.RaceCount);
    EXPECT_EQ(p.count(Change::StoreReplaced), 1);

    // The merged tables are those start-up reads from the committed files.
    TempDir golden;
    fs::copy(GoldenProgram(), golden.path(), fs::copy_options::recursive);
    Program reference(golden.path());
    EXPECT_GT(reference.app.conditions.ConditionCount, 0);
    EXPECT_EQ(p.app.store.UmaInfo, reference.app.store.UmaInfo);
    EXPECT_EQ(p.app.store.HistoryInfo, reference.app.store.HistoryInfo);
    EXPECT_EQ(p.app.conditions.ConditionTable, reference.app.conditions.ConditionTable);
}

TEST(ImportAnalysisFiles, TheRaceOnShowIsRebuiltAfterEachDate) {
    ServiceFixture fx;
    Program p(fx.program());
    const std::string raceId = p.app.store.RaceIdList[1];
    ASSERT_FALSE(OpenRace(p.app, raceId, p.app.store.RaceLabel[1], p.pump));
    p.heard.clear();
    ASSERT_EQ(p.import(fx).result, 0);
    EXPECT_EQ(p.count(Change::RaceOpened), 2);
    EXPECT_EQ(RaceIdOfLabel(p.app.raceCard.lblRace), raceId);
}

TEST(ImportAnalysisFiles, Err6EndsWithNoFileForThatDate) {
    ServiceFixture fx;
    fx.service.answerFor("20261212r", {AnswerKind::Err6, 0});
    Program p(fx.program());
    ASSERT_TRUE(WriteFileBytes(fx.file("20261212r"), "0,OLD\r\n"));
    const auto result = p.import(fx);
    EXPECT_EQ(result.result, kNoAnalysisFile);
    EXPECT_EQ(result.files, 1);
    Lines expected(kFullImport.begin(), kFullImport.begin() + 2);
    expected.push_back("取得可能な分析ファイルはありません。 ( 今週のレース情報：2026/12/12 )");
    EXPECT_EQ(p.ui.statuses, expected);
    EXPECT_EQ(arguments(fx), (Lines{"00000000p", "20261212r"}));
    EXPECT_FALSE(fs::exists(fx.file("20261212r")));
    // What was merged before stays.
    EXPECT_GT(p.app.conditions.ConditionCount, 0);
    EXPECT_GT(p.app.store.RaceCount, 0);
}

TEST(ImportAnalysisFiles, Err3ReportsMaintenance) {
    ServiceFixture fx;
    fx.service.answerAll({AnswerKind::Err3, 0});
    Program p(fx.program());
    EXPECT_EQ(p.import(fx).result, kServiceMaintenance);
    EXPECT_EQ(p.ui.statuses, Lines{"ORVANTE サーバーはメンテナンス中です。"});
    EXPECT_EQ(arguments(fx), Lines{"00000000p"});
}

TEST(ImportAnalysisFiles, CancelDuringASlowTransferEndsTheImport) {
    ServiceFixture fx;
    fx.service.answerFor("20261212r", {AnswerKind::Slow, 0});
    Program p(fx.program());
    // The statistics take a few turns; the slow file more than a hundred.
    p.pump.cancelAt = 60;
    p.pump.requestCancel();  // a flag left from before is cleared when the command starts
    const auto result = p.import(fx);
    EXPECT_EQ(result.result, kDownloadCancelled);
    ASSERT_FALSE(p.ui.statuses.empty());
    EXPECT_EQ(p.ui.statuses.back(), "分析ファイルのインポートを中断しました。");
    EXPECT_EQ(arguments(fx).back(), "20261212r");
    EXPECT_FALSE(fs::exists(fx.file("20261212r")));
}

TEST(ImportAnalysisFiles, NoServerIsAnError) {
    ServiceFixture fx;
    Program p(fx.program());
    const int port = ClosedLoopbackPort();
    const auto result =
        ImportAnalysisFiles(p.app, {p.ui, p.pump, {"127.0.0.1", port}, ServiceFixture::quick()});
    EXPECT_EQ(result.result, -1);
    EXPECT_EQ(p.ui.statuses, Lines{"分析ファイルのインポート中にエラーが発生しました。"});
}

TEST(ImportAnalysisFiles, ADamagedFileEmptiesTheStoreAndResetsTheRaceCard) {
    tool::AnalysisAnswers answers = GoldenAnswers();
    // Carries the maker's name, so it is stored, but the reader rejects it.
    answers["20261212r"] = "\"0\",x\r\nEND OF VELTRIX ANALYSIS DATA - (C) Brennick,Inc.\r\n";
    ServiceFixture fx(answers);
    Program p(fx.program());
    ASSERT_FALSE(OpenRace(p.app, p.app.store.RaceIdList[1], p.app.store.RaceLabel[1], p.pump));
    EXPECT_EQ(p.import(fx).result, -1);
    EXPECT_EQ(p.ui.statuses.back(), "分析ファイルのインポート中にエラーが発生しました。");
    EXPECT_EQ(p.app.store.RaceCount, 0);
    EXPECT_TRUE(p.app.raceCard.lblRace.empty());
    EXPECT_FALSE(fs::exists(fx.file("20261212r")));
    EXPECT_EQ(arguments(fx), (Lines{"00000000p", "20261212r"}));
}

TEST(ImportAnalysisFiles, SpecialRegistrationsAskAndNameTheirMode) {
    ServiceFixture fx;
    Program p(fx.program());
    p.app.store.DataMode = "TOKUBETSU";
    EXPECT_EQ(p.import(fx).result, kNoAnalysisFile);
    EXPECT_EQ(p.ui.questions.at(0).text, "特別登録馬情報の分析ファイルをインポートしますか？");
    EXPECT_EQ(arguments(fx), (Lines{"00000000p", "20261212t"}));
    EXPECT_EQ(p.ui.statuses.back(), "取得可能な分析ファイルはありません。 ( 特別登録馬情報：2026/12/12 )");
}

TEST(ImportAnalysisFiles, WithoutAWeekOrAYesNothingIsAsked) {
    ServiceFixture fx;
    Program p(fx.program());
    p.ui.answers = {false};
    const auto declined = p.import(fx);
    EXPECT_TRUE(declined.declined);
    EXPECT_TRUE(p.ui.statuses.empty());

    p.app.store.DataMode.clear();
    const auto noWeek = p.import(fx);
    EXPECT_EQ(noWeek.result, -1);
    ASSERT_EQ(p.ui.messages.size(), 1u);
    EXPECT_EQ(p.ui.messages[0].text, "レース情報をインポートした後、分析ファイルをインポートしてください。");
    EXPECT_EQ(p.ui.messages[0].icon, Icon::Warning);
    EXPECT_EQ(p.ui.statuses, Lines{"分析ファイルのインポート中にエラーが発生しました。"});
    EXPECT_EQ(p.ui.questions.size(), 1u);
    EXPECT_TRUE(fx.service.requests().empty());
}

}  // namespace
}  // namespace veltrix::test
