// The buttons of the import window's race list, without a window.
#include "app/import_commands.h"

#include <gtest/gtest.h>

#include "jvlink/realtime_records.h"
#include "jvlink/standin/standin_jvlink.h"
#include "racecard/race_card.h"
#include "racecard/race_fixture.h"
#include "support/fake_host.h"

namespace veltrix::test {
namespace {

// Two races of one runner each.
void buildTwoRaceWeek(Store& store) {
    StoreBuilder b(store);
    RunnerSpec r;
    r.umaCode = Uma(1);
    b.addRace("2009011706010101", KonsyuLabel("中山", "ダ1200"), {r});
    r.umaCode = Uma(2);
    b.addRace(kRaceId, KonsyuLabel("中山", "芝2000"), {r});
}

// What the windows hear of the clicks.
class Heard {
public:
    explicit Heard(ChangeNotifier& changes)
        : subscription_(changes.subscribe([this](Change c) {
              if (c == Change::CommandStarted) calls.push_back("lock");
              if (c == Change::RaceOpened) calls.push_back("open");
              if (c == Change::CommandFinished) calls.push_back("restore");
          })) {}
    std::vector<std::string> calls;

private:
    Subscription subscription_;
};

// The first status text that is not empty throws: an action failing half-way.
class FailingUi final : public FakeUserInterface {
public:
    void setStatus(const std::string& text) override {
        FakeUserInterface::setStatus(text);
        if (!text.empty()) throw std::runtime_error("status");
    }
};

class RaceListClickTest : public ::testing::Test {
protected:
    RaceListClickTest() {
        app.folders = Folders::under(dir.path());
        std::filesystem::create_directories(app.folders.cache);
        buildTwoRaceWeek(app.store);
        PutRaceList(model.fpsControl, app.store, "");
    }
    RaceListClick click(int row, int col, UserInterface& with) {
        return ClickRaceList(app, model, RowNo(row), ColNo(col), ImportTools{jv, with, pump, clock});
    }
    RaceListClick click(int row, int col) { return click(row, col, ui); }
    std::string shown(int row) const { return model.fpsControl.text(RowNo(row), ColNo(10)); }

    TempDir dir;
    Application app;
    DataImportModel model;
    FakeUserInterface ui;
    FakePump pump;
    FakeClock clock;
    // A stand-in without real-time data: every update's session fails to open.
    StandinJVLink jv{dir.path() / "jvlink", WithoutInit()};
    Heard heard{app.changes};
};

TEST_F(RaceListClickTest, ImportRunsAllThreeUpdatesWhateverTheyReturn) {
    pump.requestCancel();
    EXPECT_EQ(click(2, 9), RaceListClick::Imported);
    EXPECT_EQ(ui.statuses, (std::vector<std::string>{
                               "データマイニング情報をインポート中...", "データマイニング情報の更新を中止しました。",
                               "速報オッズ情報をインポート中...", "速報オッズ情報の更新を中止しました。",
                               "レース結果情報をインポート中...", "レース結果情報の更新を中止しました。"}));
    EXPECT_EQ(jv.calls().rtOpen, 3);
    EXPECT_EQ(heard.calls, (std::vector<std::string>{"lock", "restore"}));
    EXPECT_FALSE(pump.cancelRequested());
    EXPECT_FALSE(model.busy);
}

TEST_F(RaceListClickTest, ShowingOneRaceAtATime) {
    EXPECT_EQ(click(1, 10), RaceListClick::Opened);
    EXPECT_EQ(shown(1), "1");
    EXPECT_EQ(heard.calls, (std::vector<std::string>{"lock", "open", "restore"}));
    EXPECT_EQ(app.raceCard.lblRace, model.fpsControl.text(RowNo(1), ColNo(2)));

    // A second row unchecks the first and opens the second race.
    EXPECT_EQ(click(2, 10), RaceListClick::Opened);
    EXPECT_EQ(shown(1), "0");
    EXPECT_EQ(shown(2), "1");
    EXPECT_EQ(RaceIdOfLabel(app.raceCard.lblRace), app.store.RaceIdList[2]);

    // Clearing the shown race's box opens nothing and leaves the other rows.
    heard.calls.clear();
    EXPECT_EQ(click(2, 10), RaceListClick::Unchecked);
    EXPECT_EQ(shown(2), "0");
    EXPECT_EQ(shown(1), "0");
    EXPECT_EQ(heard.calls, (std::vector<std::string>{"lock", "restore"}));
    EXPECT_EQ(RaceIdOfLabel(app.raceCard.lblRace), app.store.RaceIdList[2]);
}

TEST_F(RaceListClickTest, BusyListAndOtherCellsIgnoreClicks) {
    model.busy = true;
    EXPECT_EQ(click(1, 10), RaceListClick::Ignored);
    EXPECT_EQ(shown(1), "0");
    model.busy = false;
    EXPECT_EQ(click(1, 8), RaceListClick::Ignored);
    EXPECT_EQ(click(3, 9), RaceListClick::Ignored);
    EXPECT_TRUE(app.raceCard.lblRace.empty());
    EXPECT_TRUE(heard.calls.empty());
}

TEST_F(RaceListClickTest, AFailingActionLeavesTheWindowUsable) {
    FailingUi failing;
    EXPECT_EQ(click(1, 9, failing), RaceListClick::Ignored);
    EXPECT_EQ(heard.calls.back(), "restore");
    EXPECT_EQ(failing.statuses.back(), "");
    EXPECT_FALSE(model.busy);
}

}  // namespace
}  // namespace veltrix::test
