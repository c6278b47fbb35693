#pragma once
// A race of this week with hand-made odds, opened on the race card as the
// import window opens it, for the odds view, bet list and heat map tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/race_commands.h"
#include "betting/race_odds.h"
#include "racecard/race_fixture.h"
#include "store/race_files.h"
#include "support/fake_host.h"

namespace veltrix::test {

class BettingTest : public ::testing::Test {
protected:
    TempDir dir;
    Application app;
    std::string label;

    // A race of n runners (horse numbers 1..n in row order) in the given mode,
    // with its odds file written from odds.
    void build(int n, const OddsTables& odds, const std::string& mode = "KONSYU") {
        app.folders = Folders::under(dir.path());
        std::filesystem::create_directories(app.folders.cache);
        StoreBuilder b(app.store, mode);
        std::vector<RunnerSpec> runners;
        for (int i = 1; i <= n; ++i) {
            RunnerSpec r;
            r.umaCode = Uma(i);
            r.umaban = (i < 10 ? "0" : "") + std::to_string(i);
            runners.push_back(r);
        }
        b.addRace(kRaceId,
                  mode == "KONSYU" ? KonsyuLabel("中山", "ダ1200") : TokubetsuLabel("中山", "ダ1200"),
                  runners);
        label = app.store.RaceLabel[1];
        ASSERT_EQ(WriteOddsCache(app.folders, kRaceId, odds), 0);
        app.settings.Mark = {"◎", "○", "▲", "△", "☆", "×", "注", "★", "●", "◇", "◆", "□", "■", "穴", " "};
    }

    void open() {
        NullPump pump;
        ASSERT_FALSE(OpenRace(app, kRaceId, label, pump));
    }

    Sheet& oddsSheet() { return app.raceCard.sheet(kSheetOdds); }
    // Rows are in horse-number order until a sort.
    static RowNo row(int horse) { return RowNo(horse); }
    std::string text(int horse, ColNo col) { return oddsSheet().text(row(horse), col); }
    const Cell& cell(int horse, ColNo col) { return oddsSheet().cell(row(horse), col); }
};

}  // namespace veltrix::test
