// The simulation commands: the count, the question, the window locked and given
// back however the run ends; the main window's two commands over a race card.
#include "simulation/sim_command.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/simulation_commands.h"
#include "racecard/columns.h"
#include "simulation/sim_script.h"
#include "support/fake_host.h"

namespace veltrix::test {
namespace {

class ThrowingSurface final : public SimSurface {
public:
    int throwAt = 0;
    int frames = 0;
    void beginFrame(int) override {
        if (++frames == throwAt) throw std::runtime_error("drawing failed");
    }
    void drawRunner(const SimRunner&, int, int) override {}
    void drawChangePoint(int, int) override {}
    void endFrame() override {}
};

class FakeStage final : public SimStage {
public:
    explicit FakeStage(const std::string& keys = "") {
        std::string reason;
        ParseKeyScript(keys, steps_, reason);
        keyboard_ = std::make_unique<ScriptedKeyboard>(steps_);
    }
    bool failOpen = false;
    LockedControls opened, closed;
    SimGeometry course;
    int lanes = 0;
    int opens = 0, closes = 0;
    ThrowingSurface drawing;

    bool open(const LockedControls& controls, const SimGeometry& c, int l) override {
        ++opens;
        opened = controls;
        course = c;
        lanes = l;
        return failOpen;
    }
    SimKeyboard& keyboard() override { return *keyboard_; }
    SimSurface& surface() override { return drawing; }
    void close(const LockedControls& controls) override {
        ++closes;
        closed = controls;
    }

private:
    std::vector<KeyStep> steps_;
    std::unique_ptr<ScriptedKeyboard> keyboard_;
};

SimCommand command() {
    SimCommand c;
    c.course = kMainWindowCourse;
    c.lanes = 18;
    c.tooFew = "too few";
    c.question = "start?";
    c.controls = {LockedControl::mnuFile, LockedControl::fpsSyuso};
    return c;
}

std::vector<SimEntry> twoRunners() { return {{1, "1", 55, 50}, {2, "2", 45, 50}}; }

TEST(SimCommandRun, OneTargetRunnerRefusesToStart) {
    FakeUserInterface ui;
    FakeStage stage;
    FakeClock clock;
    SimRandom random(1);
    SimResult result;
    const std::vector<SimEntry> one = {{1, "1", 55, 50}, {2, "2", 0, 50}, {3, "3", std::nullopt, 50}};
    EXPECT_EQ(RunSimulation(one, command(), ui, stage, clock, random, result), SimOutcome::TooFew);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "too few");
    EXPECT_EQ(ui.messages[0].icon, Icon::Warning);
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(stage.opens, 0);
}

TEST(SimCommandRun, NoToTheQuestionStopsBeforeAnythingIsLocked) {
    FakeUserInterface ui;
    ui.answers = {false};
    FakeStage stage;
    FakeClock clock;
    SimRandom random(1);
    SimResult result;
    int hidden = 0;
    SimCommand c = command();
    c.hideWindows = [&] { ++hidden; };
    EXPECT_EQ(RunSimulation(twoRunners(), c, ui, stage, clock, random, result), SimOutcome::Declined);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "start?");
    EXPECT_EQ(ui.questions[0].icon, Icon::Question);
    EXPECT_FALSE(ui.questions[0].defaultNo);
    EXPECT_EQ(hidden, 0);
    EXPECT_EQ(stage.opens, 0);
}

TEST(SimCommandRun, LocksRunsAndGivesTheWindowBack) {
    FakeUserInterface ui;
    FakeStage stage;
    FakeClock clock;
    SimRandom random(1);
    SimResult result;
    int hidden = 0;
    SimCommand c = command();
    c.hideWindows = [&] { ++hidden; };
    EXPECT_EQ(RunSimulation(twoRunners(), c, ui, stage, clock, random, result), SimOutcome::Ran);
    EXPECT_EQ(hidden, 1);
    EXPECT_EQ(stage.opened, (LockedControls{LockedControl::mnuFile, LockedControl::fpsSyuso}));
    EXPECT_EQ(stage.closed, stage.opened);
    EXPECT_EQ(stage.closes, 1);
    EXPECT_EQ(stage.lanes, 18);
    EXPECT_EQ(stage.course.finish, 972);
    ASSERT_EQ(result.order.size(), 2u);
    EXPECT_EQ(result.order[0].horse, "1");
}

TEST(SimCommandRun, EscAndErrorsStillGiveTheWindowBack) {
    FakeUserInterface ui;
    FakeClock clock;
    SimRandom random(1);
    SimResult result;
    FakeStage esc("5=esc");
    EXPECT_EQ(RunSimulation(twoRunners(), command(), ui, esc, clock, random, result), SimOutcome::Ran);
    EXPECT_TRUE(result.escaped);
    EXPECT_EQ(esc.closes, 1);

    FakeStage broken;
    broken.drawing.throwAt = 30;
    EXPECT_EQ(RunSimulation(twoRunners(), command(), ui, broken, clock, random, result), SimOutcome::Ran);
    EXPECT_EQ(broken.closes, 1);
    EXPECT_TRUE(ui.messages.empty());  // silently

    // A surface that cannot be built ends there (the stage told the user).
    FakeStage noShape;
    noShape.failOpen = true;
    EXPECT_EQ(RunSimulation(twoRunners(), command(), ui, noShape, clock, random, result),
              SimOutcome::NoStage);
    EXPECT_EQ(noShape.closes, 0);
}

// A race card of n rows with prediction and result scores.
void fillCard(Application& app, const std::vector<std::pair<const char*, const char*>>& yosoku) {
    for (int s = 1; s <= 3; ++s) app.raceCard.sheet(s).setRowCount(static_cast<int>(yosoku.size()));
    for (size_t i = 0; i < yosoku.size(); ++i) {
        const RowNo row(static_cast<int>(i) + 1);
        app.raceCard.sheet(1).setText(row, card::kNo, std::to_string(i + 1));
        app.raceCard.sheet(3).setText(row, sheet3::kYosoku, yosoku[i].first);
        app.raceCard.sheet(1).setText(row, sheet1::kRZenhan, yosoku[i].second);
    }
}

TEST(RaceSimulationCommand, PredictionOverTheRaceCard) {
    Application app;
    fillCard(app, {{"55.0", "48.0"}, {"", "50"}, {"45.0", "52.0"}});
    std::vector<Change> heard;
    auto sub = app.changes.subscribe([&](Change c) { heard.push_back(c); });
    FakeUserInterface ui;
    FakeStage stage;
    FakeClock clock;
    SimRandom random(3);
    SimResult result;
    EXPECT_EQ(RunRaceSimulation(app, SimMode::Yoso, ui, stage, clock, random, result), SimOutcome::Ran);
    EXPECT_EQ(ui.questions.at(0).text, "予測シミュレーションを開始しますか？");
    EXPECT_NE(std::find(heard.begin(), heard.end(), Change::HideSecondaryWindows), heard.end());
    EXPECT_EQ(stage.opened, SimulationControls());
    EXPECT_NE(std::find(stage.opened.begin(), stage.opened.end(), LockedControl::lblRace),
              stage.opened.end());
    EXPECT_EQ(stage.closes, 1);
    ASSERT_EQ(result.order.size(), 2u);
    EXPECT_EQ(result.order[0].horse, "1");
    EXPECT_EQ(result.order[1].horse, "3");
}

TEST(RaceSimulationCommand, ExactlyOneRunnerWithAPredictionShowsTheWarning) {
    Application app;
    fillCard(app, {{"55.0", "48.0"}, {"", "50"}, {"0", "52.0"}});
    FakeUserInterface ui;
    FakeStage stage;
    FakeClock clock;
    SimRandom random(3);
    SimResult result;
    EXPECT_EQ(RunRaceSimulation(app, SimMode::Yoso, ui, stage, clock, random, result), SimOutcome::TooFew);
    EXPECT_EQ(ui.messages.at(0).text, "予測シミュレーションを行うには、２頭以上の対象馬が必要です。");
    // No quick result on the card: the result simulation has no runner at all.
    EXPECT_EQ(RunRaceSimulation(app, SimMode::Kekka, ui, stage, clock, random, result), SimOutcome::TooFew);
    EXPECT_EQ(ui.messages.at(1).text, "結果シミュレーションを行うには、２頭以上の対象馬が必要です。");
    EXPECT_EQ(stage.opens, 0);
}

TEST(RaceSimulationCommand, ResultModeReadsTheQuickResultAndOnlyEighteenRows) {
    Application app;
    std::vector<std::pair<const char*, const char*>> rows(20, {"50", "50"});
    fillCard(app, rows);
    for (int r = 1; r <= 20; ++r) {
        app.raceCard.sheet(3).setText(RowNo(r), sheet3::kKekka, std::to_string(40 + r));
        app.raceCard.sheet(3).setText(RowNo(r), sheet3::kKekkaZenhan, "50");
    }
    const auto entries = RaceCardSimEntries(app.raceCard, SimMode::Kekka);
    ASSERT_EQ(entries.size(), 18u);
    EXPECT_EQ(entries[17].total, 58.0);
    EXPECT_EQ(entries[0].firstHalf, 50.0);
    FakeUserInterface ui;
    FakeStage stage;
    FakeClock clock;
    SimRandom random(3);
    SimResult result;
    EXPECT_EQ(RunRaceSimulation(app, SimMode::Kekka, ui, stage, clock, random, result), SimOutcome::Ran);
    EXPECT_EQ(ui.questions.at(0).text, "結果シミュレーションを開始しますか？");
    ASSERT_EQ(result.order.size(), 18u);
    EXPECT_EQ(result.order[0].horse, "18");  // the best result score runs fastest
}

}  // namespace
}  // namespace veltrix::test
