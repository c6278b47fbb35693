// The whole road on a generated week: imported, merged with its analysis
// files, loaded as at start-up, and every race calculated as the palette
// leaves it for that race.
#include <gtest/gtest.h>

#include "app/calculate_command.h"
#include "app/startup.h"
#include "racecard/columns.h"
#include "sample/imported_sample.h"
#include "sample/sample_world.h"
#include "support/fake_host.h"

namespace veltrix::test {
namespace {

TEST(SampleWeek, EveryRaceIsCalculatedWithPredictionsAndLabels) {
    TempDir dir;
    sample::SampleOptions o;
    o.seed = 5;
    o.small = true;
    o.resultsYears = 0;
    sample::WriteSampleProgramFolder(dir.path(), o);
    std::string reason;
    ASSERT_TRUE(sample::ImportSampleWeek(dir.path(), o.seed, reason)) << reason;

    Application app;
    StoreLoad load;
    ASSERT_FALSE(StartApplication(app, dir.path(), load, reason)) << reason;
    ASSERT_GT(app.store.RaceCount, 0);
    FakePump pump;
    std::vector<WeekRace> week;
    ASSERT_FALSE(CalculateWeek(app, pump, true, {}, week));
    ASSERT_EQ(static_cast<int>(week.size()), app.store.RaceCount);

    int withThree = 0;
    for (const WeekRace& race : week) {
        EXPECT_EQ(race.raceId.size(), 16u);
        EXPECT_LE(race.best.size(), 3u);
        if (race.best.size() == 3) ++withThree;
        for (const std::string& h : race.best) EXPECT_FALSE(h.empty());
        // No distance box is checked for a steeplechase; older horses have runs that count.
        if (race.label.find(" 障") != std::string::npos) {
            EXPECT_TRUE(race.best.empty()) << race.label;
        } else if (race.label.find("３歳以上") != std::string::npos) {
            EXPECT_FALSE(race.best.empty()) << race.label;
        }
    }
    EXPECT_GE(withThree * 2, app.store.RaceCount) << withThree << " of " << app.store.RaceCount;

    // The last race on show: its labels and its runners' use flags.
    auto lines = RaceCardLabelLines(app.raceCard);
    int used = 0;
    for (int r = 1; r <= app.raceCard.sheet(kSheetSyuso).rowCount(); ++r) {
        const auto slots = PastRunSlots(app.raceCard, r);
        ASSERT_TRUE(slots);
        for (const auto& slot : *slots) {
            EXPECT_TRUE(slot[run::kUseFlag - 1] == "ON" || slot[run::kUseFlag - 1] == "OFF");
            used += slot[run::kUseFlag - 1] == "ON";
        }
    }
    if (!week.back().best.empty()) {
        EXPECT_GT(used, 0);
        EXPECT_FALSE(lines[0].text.empty());
    }
}

}  // namespace
}  // namespace veltrix::test
