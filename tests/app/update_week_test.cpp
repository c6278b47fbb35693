// The three batch updates over a generated week, as "update all week" runs them,
// with a race on the race card.
#include <gtest/gtest.h>

#include "app/calculate_command.h"
#include "app/race_commands.h"
#include "app/startup.h"
#include "app/update_commands.h"
#include "jvlink/standin/standin_jvlink.h"
#include "racecard/race_card.h"
#include "sample/imported_sample.h"
#include "sample/sample_world.h"
#include "store/race_files.h"
#include "support/fake_host.h"

namespace veltrix::test {
namespace {

TEST(UpdateWeek, EveryRaceGetsItsFilesAndTheRaceOnShowItsColumns) {
    TempDir dir;
    sample::SampleOptions options;
    options.seed = 5;
    options.resultsYears = 0;
    options.small = true;
    sample::WriteSampleProgramFolder(dir.path(), options);
    std::string reason;
    ASSERT_TRUE(sample::ImportSampleWeek(dir.path(), options.seed, reason)) << reason;
    Application app;
    StoreLoad load;
    ASSERT_FALSE(StartApplication(app, dir.path(), load, reason)) << reason;

    StandinJVLink jv(StandinFolder(dir.path()));
    ASSERT_EQ(jv.JVInit(SoftwareId), 0);
    FakeUserInterface ui;
    FakePump pump;
    SystemClock clock;
    const ImportTools tools{jv, ui, pump, clock};
    DataImportModel model;
    PutRaceList(model.fpsControl, app.store, "");
    auto hasResult = [&](const std::string& id) {
        return std::filesystem::exists(StandinFolder(dir.path()) / "realtime" / "0B12" / (id + ".txt"));
    };
    // On show: a race of older horses (their past runs give a prediction) with a quick result.
    int shown = 0;
    for (int r = 1; r <= app.store.RaceCount && !shown; ++r)
        if (app.store.RaceLabel[r].find("３歳以上") != std::string::npos &&
            app.store.RaceLabel[r].find(" 障") == std::string::npos && hasResult(app.store.RaceIdList[r]))
            shown = r;
    ASSERT_GT(shown, 0);
    const std::string raceId = app.store.RaceIdList[shown];
    ASSERT_FALSE(OpenRace(app, raceId, app.store.RaceLabel[shown], pump));
    for (RealTimeKind kind : {RealTimeKind::Mining, RealTimeKind::Odds, RealTimeKind::Kekka})
        ASSERT_EQ(UpdateAll(kind, app, model, tools), BatchOutcome::Done);

    int kekkaFiles = 0;
    for (int r = 1; r <= app.store.RaceCount; ++r) {
        const std::string& id = app.store.RaceIdList[r];
        EXPECT_TRUE(std::filesystem::exists(*RaceFilePath(app.folders, '4', id))) << id;
        EXPECT_TRUE(std::filesystem::exists(*RaceFilePath(app.folders, '7', id))) << id;
        // A quick result exists exactly where the stand-in has one (not for Sunday's later races).
        const bool delivered =
            std::filesystem::exists(StandinFolder(dir.path()) / "realtime" / "0B12" / (id + ".txt"));
        EXPECT_EQ(std::filesystem::exists(*RaceFilePath(app.folders, '8', id)), delivered) << id;
        kekkaFiles += delivered;
    }
    EXPECT_GT(kekkaFiles, 0);
    EXPECT_LT(kekkaFiles, app.store.RaceCount);

    // The odds file holds all six record kinds; the odds scores average 50.
    OddsTables odds;
    ASSERT_EQ(ReadOddsCache(app.folders, raceId, odds), 0);
    EXPECT_EQ(odds.OddsCount, 6);
    double sum = 0;
    int scored = 0;
    for (int h = 1; h <= kHorseMax; ++h)
        if (odds.OddsHensachi(h) != -1) {
            sum += odds.OddsHensachi(h);
            ++scored;
        }
    ASSERT_GE(scored, 2);
    EXPECT_NEAR(sum / scored, 50, 1e-9);

    // The race on show: result columns visible, the popularity and forecast scores filled.
    const Sheet& s = app.raceCard.sheet(kSheetOdds);
    EXPECT_FALSE(s.isColumnHidden(sheet3::kKekka));
    EXPECT_FALSE(s.isColumnHidden(sheet3::kKekkaNyusen));
    EXPECT_FALSE(app.raceCard.lblScoreValue[0].empty());
    EXPECT_FALSE(app.raceCard.lblScoreValue[1].empty());
    EXPECT_TRUE(app.raceCard.lblScoreValue[2].empty());  // no prediction yet
    EXPECT_EQ(app.raceTables.odds.OddsCount, 6);
    EXPECT_FALSE(s.text(RowNo(1), sheet3::kTansyo).empty());

    // Calculated, the race has all three scores; new odds keep the prediction and its score.
    ASSERT_FALSE(Calculate(app));
    RowNo predicted(1);
    while (predicted.value < s.rowCount() && s.text(predicted, sheet3::kYosoku).empty()) ++predicted.value;
    const std::string prediction = s.text(predicted, sheet3::kYosoku);
    const auto scores = app.raceCard.lblScoreValue;
    ASSERT_FALSE(prediction.empty());
    ASSERT_EQ(UpdateOdds(app, model, raceId, tools), 1);
    EXPECT_EQ(s.text(predicted, sheet3::kYosoku), prediction);
    EXPECT_FALSE(s.text(predicted, sheet3::kYosokuJyuni).empty());
    EXPECT_EQ(app.raceCard.lblScoreValue, scores);
}

}  // namespace
}  // namespace veltrix::test
