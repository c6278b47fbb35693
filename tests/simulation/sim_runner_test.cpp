// The animation without a window: preparation, the frame loop with a scripted
// keyboard and a clock that records every wait, the change point, the gaits.
#include "simulation/sim_runner.h"

#include <gtest/gtest.h>

#include <map>

#include "simulation/sim_script.h"
#include "support/fake_host.h"

namespace veltrix::test {
namespace {

struct Drawn {
    int row, x, y, gait;
};
struct Frame {
    int background = 0;
    std::vector<Drawn> runners;
    int markerX = 0;
    int markerPicture = -1;
};

class RecordingSurface final : public SimSurface {
public:
    std::vector<Frame> frames;
    void beginFrame(int background) override { frames.push_back({background, {}, 0, -1}); }
    void drawRunner(const SimRunner& r, int x, int y) override {
        frames.back().runners.push_back({r.row, x, y, r.gait});
    }
    void drawChangePoint(int x, int picture) override {
        frames.back().markerX = x;
        frames.back().markerPicture = picture;
    }
    void endFrame() override {}
    // The runner of a row in frame n (1-based); nullptr when it was not drawn.
    const Drawn* runner(int n, int row) const {
        for (const Drawn& d : frames[static_cast<size_t>(n - 1)].runners)
            if (d.row == row) return &d;
        return nullptr;
    }
};

// Records each wait; every reading of the time costs costPerRead ms, so a frame
// (read at its start and its end) takes that long.
class RecordingClock final : public Clock {
public:
    explicit RecordingClock(int costPerRead = 0) : cost_(costPerRead) {}
    std::vector<int> sleeps;
    std::int64_t nowMs() override { return now_ += cost_; }
    void sleepMs(int ms) override {
        sleeps.push_back(ms);
        now_ += ms;
    }

private:
    std::int64_t now_ = 0;
    int cost_;
};

std::vector<int> waitsWithKeys(const std::string& keys, int costPerRead, size_t count) {
    std::vector<KeyStep> steps;
    std::string reason;
    EXPECT_FALSE(ParseKeyScript(keys, steps, reason));
    ScriptedKeyboard keyboard(steps);
    RecordingClock clock(costPerRead);
    NullSurface surface;
    SimRandom random(1);
    SimState s = PrepareRunners({{1, "1", 50, 50}, {2, "2", 50, 50}}, SimMode::Yoso, kMainWindowCourse);
    RunSimulationLoop(s, kMainWindowCourse, SimDevices{keyboard, clock, surface, random});
    clock.sleeps.resize(std::min(count, clock.sleeps.size()));
    return clock.sleeps;
}

SimEntry entry(int row, std::optional<double> v, std::optional<double> c) {
    return {row, std::to_string(row), v, c};
}

struct Run {
    SimState state;
    SimResult result;
    RecordingSurface surface;
    FakeClock clock;
};

std::unique_ptr<Run> run(const std::vector<SimEntry>& entries, SimMode mode, const std::string& keys = "",
                         std::uint64_t seed = 7) {
    auto r = std::make_unique<Run>();
    std::vector<KeyStep> steps;
    std::string reason;
    EXPECT_FALSE(ParseKeyScript(keys, steps, reason)) << reason;
    ScriptedKeyboard keyboard(steps);
    SimRandom random(seed);
    r->state = PrepareRunners(entries, mode, kMainWindowCourse);
    r->result =
        RunSimulationLoop(r->state, kMainWindowCourse, SimDevices{keyboard, r->clock, r->surface, random});
    return r;
}

TEST(SimPreparation, ScoresFiftyNeedTwoThousandUnitsInTwoEqualPhases) {
    SimState s = PrepareRunners({entry(1, 50, 50), entry(2, 60, 40)}, SimMode::Yoso, kMainWindowCourse);
    ASSERT_EQ(s.runners.size(), 2u);
    const SimRunner& a = s.runners[0];
    EXPECT_EQ(a.t, 2000);
    EXPECT_EQ(a.t1, 1000);
    EXPECT_EQ(a.t2, 1000);
    EXPECT_DOUBLE_EQ(a.s1, 1.0);
    EXPECT_DOUBLE_EQ(a.s2, 1.0);
    EXPECT_TRUE(a.running && a.waiting);
    EXPECT_EQ(a.y, 96);
    const SimRunner& b = s.runners[1];
    EXPECT_EQ(b.t, 1850);   // higher score, shorter time
    EXPECT_EQ(b.t1, 1150);  // lower first-part score, slower first phase
    EXPECT_EQ(b.t2, 700);
    EXPECT_EQ(b.y, 111);
    EXPECT_DOUBLE_EQ(s.changePoint, 479.5);
    EXPECT_FALSE(s.changeFixed);
    EXPECT_TRUE(PrepareRunners({entry(1, 50, 50)}, SimMode::Kekka, kMainWindowCourse).changeFixed);
}

TEST(SimPreparation, RowsWithoutTotalScoreStayOutAndExtremeScoresAreClamped) {
    SimState s = PrepareRunners({entry(1, std::nullopt, 50), entry(2, 0, 50), entry(3, 50, 200),
                                 entry(4, 50, -100), entry(5, 300, 50), entry(6, 50, std::nullopt)},
                                SimMode::Yoso, kMainWindowCourse);
    ASSERT_EQ(s.runners.size(), 4u);
    EXPECT_EQ(s.runners[0].row, 3);
    EXPECT_EQ(s.runners[0].t1, 1);     // would be -1250
    EXPECT_EQ(s.runners[1].t1, 1999);  // would be 3250, beyond the whole race
    EXPECT_EQ(s.runners[1].t2, 1);
    EXPECT_EQ(s.runners[2].t, 2);  // would be -1750
    EXPECT_EQ(s.runners[2].t1, 1);
    EXPECT_EQ(s.runners[3].t1, 1750);  // an empty first-part score reads as 0
    for (const SimRunner& r : s.runners) {
        EXPECT_GT(r.s1, 0);
        EXPECT_GT(r.s2, 0);
    }
    // Every one of them finishes.
    auto r = run({entry(3, 50, 200), entry(4, 50, -100), entry(5, 300, 50), entry(6, 50, std::nullopt)},
                 SimMode::Yoso);
    EXPECT_EQ(r->result.order.size(), 4u);
}

TEST(SimPreparation, TargetsAreRowsWithTotalAboveZero) {
    EXPECT_EQ(
        CountSimTargets({entry(1, 50, 50), entry(2, -3, 50), entry(3, std::nullopt, 50), entry(4, 0.5, 0)}),
        2);
}

// Held keys as the keyboard reports them: repeats keep a key down, Esc stays
// pressed, a lost keyboard lets the arrows go and keeps Esc.
TEST(SimKeyboard, PressesAndReleasesMakeTheHeldKeys) {
    SimKeys k;
    ApplySimKey(k, SimKey::Up, true, false);
    ApplySimKey(k, SimKey::Up, false, true);  // auto-repeat: still held
    EXPECT_TRUE(k.up);
    ApplySimKey(k, SimKey::Up, false, false);
    EXPECT_FALSE(k.up);
    ApplySimKey(k, SimKey::Esc, true, false);
    ApplySimKey(k, SimKey::Esc, false, false);  // a tap between two frames
    EXPECT_TRUE(k.esc);
    ApplySimKey(k, SimKey::Left, true, false);
    ApplySimKey(k, SimKey::Right, true, false);
    EXPECT_EQ(DirectionOf(k), SimDirection::LeftRight);
    ReleaseSimArrows(k);
    EXPECT_FALSE(k.left || k.right || k.up || k.down);
    EXPECT_TRUE(k.esc);
}

TEST(SimKeyboard, DirectionIsOneCode) {
    EXPECT_EQ(DirectionOf({.left = true, .right = true}), SimDirection::LeftRight);
    EXPECT_EQ(DirectionOf({.up = true}), SimDirection::Up);
    EXPECT_EQ(DirectionOf({.down = true}), SimDirection::Down);
    EXPECT_EQ(DirectionOf({.left = true}), SimDirection::Left);
    EXPECT_EQ(DirectionOf({.right = true}), SimDirection::Right);
    EXPECT_EQ(DirectionOf({.up = true, .down = true}), SimDirection::None);
    EXPECT_EQ(DirectionOf({.up = true, .left = true}), SimDirection::None);
    EXPECT_EQ(DirectionOf({.up = true, .left = true, .right = true}), SimDirection::None);
    EXPECT_EQ(DirectionOf({}), SimDirection::None);
}

TEST(SimKeyboard, ScriptHoldsKeysFromAFrameOn) {
    std::vector<KeyStep> steps;
    std::string reason;
    ASSERT_FALSE(ParseKeyScript("3=up+left,5=none,6=esc", steps, reason));
    ScriptedKeyboard k(steps);
    std::vector<SimDirection> seen;
    for (int i = 1; i <= 5; ++i) seen.push_back(DirectionOf(k.poll()));
    EXPECT_EQ(seen, (std::vector<SimDirection>{SimDirection::None, SimDirection::None, SimDirection::None,
                                               SimDirection::None, SimDirection::None}));
    EXPECT_TRUE(k.poll().esc);
    EXPECT_TRUE(ParseKeyScript("3=jump", steps, reason));
    EXPECT_TRUE(ParseKeyScript("5=up,3=down", steps, reason));
    EXPECT_TRUE(ParseKeyScript("0=up", steps, reason));
    EXPECT_TRUE(ParseKeyScript("up", steps, reason));
}

TEST(SimLoop, EveryRunnerStartsTogetherAfterFiftyFrames) {
    auto r = run({entry(1, 50, 50), entry(2, 70, 30), entry(3, 30, 70)}, SimMode::Yoso);
    for (int f = 1; f <= 49; ++f)
        for (int row = 1; row <= 3; ++row) {
            const Drawn* d = r->surface.runner(f, row);
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->x, 13);
            EXPECT_EQ(d->gait, 0);
        }
    for (int row = 1; row <= 3; ++row) {
        const Drawn* d = r->surface.runner(50, row);
        EXPECT_EQ(d->x, 13);
        EXPECT_GE(d->gait, 1);
        EXPECT_LE(d->gait, 9);
        EXPECT_GT(r->surface.runner(51, row)->x, 13);
    }
    // 50/50 runs 3 pixels a frame in its first phase.
    EXPECT_EQ(r->surface.runner(51, 1)->x, 16);
    EXPECT_EQ(r->surface.runner(51, 1)->y, 96);
    EXPECT_EQ(r->surface.runner(51, 3)->y, 126);
}

TEST(SimLoop, FinishingOrderFramesAndTheFrameAfter) {
    auto r = run({entry(1, 50, 50), entry(2, 60, 50), entry(3, 40, 50)}, SimMode::Kekka);
    ASSERT_EQ(r->result.order.size(), 3u);
    EXPECT_EQ(r->result.order[0].row, 2);
    EXPECT_EQ(r->result.order[1].row, 1);
    EXPECT_EQ(r->result.order[2].row, 3);
    // 50/50: 3 pixels a frame in both phases; past 959 + 6 after 322 frames of running.
    EXPECT_EQ(r->result.order[1].frame, 50 + 322);
    const int last = r->result.order[2].frame;
    EXPECT_EQ(r->result.frames, last + 1);
    EXPECT_FALSE(r->result.escaped);
    // Drawn on the frame it finished, not on the next.
    EXPECT_NE(r->surface.runner(last, 3), nullptr);
    EXPECT_GE(r->surface.runner(last, 3)->x, 13 + 959 + 6);  // past L + 6, drawn rounded
    EXPECT_EQ(r->surface.runner(last + 1, 3), nullptr);
    EXPECT_EQ(r->surface.runner(r->result.order[0].frame + 1, 2), nullptr);
    EXPECT_EQ(r->result.interval, 60);
    // Every frame waited its interval (a frame of the fake clock costs nothing).
    EXPECT_EQ(r->clock.now, 60LL * r->result.frames);
}

TEST(SimLoop, HoldingUpShortensTheIntervalToEightAndNoFurther) {
    EXPECT_EQ(waitsWithKeys("1=up", 0, 11), (std::vector<int>{48, 38, 30, 24, 19, 15, 12, 10, 8, 8, 8}));
    auto r = run({entry(1, 50, 50), entry(2, 50, 50)}, SimMode::Yoso, "1=up");
    EXPECT_EQ(r->result.interval, 8);
}

TEST(SimLoop, HoldingDownLengthensTheIntervalTo215AndNoFurther) {
    EXPECT_EQ(waitsWithKeys("1=down", 0, 9), (std::vector<int>{72, 86, 103, 124, 149, 179, 215, 215, 215}));
    // Released, the interval stays where it got.
    auto r = run({entry(1, 50, 50), entry(2, 50, 50)}, SimMode::Yoso, "1=down,4=none");
    EXPECT_EQ(r->result.interval, 103);
}

TEST(SimLoop, WaitsOnlyTheRestOfTheInterval) {
    // A frame that took 1 ms waits 59 of the 60.
    EXPECT_EQ(waitsWithKeys("", 1, 3), (std::vector<int>{59, 59, 59}));
    EXPECT_EQ(waitsWithKeys("", 30, 2), (std::vector<int>{30, 30}));
    // A frame longer than the interval does not wait at all.
    EXPECT_TRUE(waitsWithKeys("", 70, 5).empty());
}

TEST(SimLoop, LeftAndRightTogetherPauseAndResume) {
    auto r = run({entry(1, 50, 50), entry(2, 55, 45)}, SimMode::Kekka,
                 "70=left+right,71=none,120=left+right,121=none");
    const int x69 = r->surface.runner(69, 1)->x;
    const int g69 = r->surface.runner(69, 1)->gait;
    for (int f = 70; f <= 119; ++f) {
        EXPECT_EQ(r->surface.runner(f, 1)->x, x69) << f;
        EXPECT_EQ(r->surface.runner(f, 1)->gait, g69) << f;
    }
    EXPECT_GT(r->surface.runner(121, 1)->x, x69);
    // Paused for 50 frames: the race ends 50 frames later than without the pause.
    auto plain = run({entry(1, 50, 50), entry(2, 55, 45)}, SimMode::Kekka);
    EXPECT_EQ(r->result.frames, plain->result.frames + 50);
}

TEST(SimLoop, PauseAlsoHoldsTheStartWait) {
    auto r = run({entry(1, 50, 50), entry(2, 50, 50)}, SimMode::Kekka,
                 "10=left+right,11=none,30=left+right,31=none");
    // 20 frames paused: the start comes at frame 70.
    EXPECT_EQ(r->surface.runner(69, 1)->gait, 0);
    EXPECT_GE(r->surface.runner(70, 1)->gait, 1);
}

TEST(SimLoop, EscEndsAtOnce) {
    auto r = run({entry(1, 50, 50), entry(2, 50, 50)}, SimMode::Yoso, "10=esc");
    EXPECT_TRUE(r->result.escaped);
    EXPECT_EQ(r->result.frames, 9);
    EXPECT_EQ(r->surface.frames.size(), 9u);
    EXPECT_TRUE(r->result.order.empty());
    auto first = run({entry(1, 50, 50), entry(2, 50, 50)}, SimMode::Yoso, "1=esc+up");
    EXPECT_EQ(first->result.frames, 0);
}

TEST(SimChangePoint, LimitsOfTheMove) {
    SimState s = PrepareRunners({entry(1, 50, 50)}, SimMode::Yoso, kMainWindowCourse);
    for (int i = 0; i < 400; ++i) MoveChangePoint(s, kMainWindowCourse, SimDirection::Left);
    // Moves while 17 or more from the start: the last move starts at 17.5.
    EXPECT_DOUBLE_EQ(s.changePoint, 14.5);
    for (int i = 0; i < 400; ++i) MoveChangePoint(s, kMainWindowCourse, SimDirection::Right);
    // Moves while below L + 10 = 969: the last move starts at 968.5.
    EXPECT_DOUBLE_EQ(s.changePoint, 971.5);
    const double before = s.changePoint;
    MoveChangePoint(s, kMainWindowCourse, SimDirection::Up);
    MoveChangePoint(s, kMainWindowCourse, SimDirection::LeftRight);
    EXPECT_DOUBLE_EQ(s.changePoint, before);
    s.changeFixed = true;
    MoveChangePoint(s, kMainWindowCourse, SimDirection::Left);
    EXPECT_DOUBLE_EQ(s.changePoint, before);
}

TEST(SimChangePoint, MovesUntilTheFirstRunnerPassesItThenStays) {
    // Prediction: left from frame 1 moves the marker 3 pixels a frame toward the
    // runners until the first one passes it.
    auto r = run({entry(1, 50, 50), entry(2, 50, 50)}, SimMode::Yoso, "1=left");
    EXPECT_EQ(r->surface.frames[0].markerX, 13 + 477);  // 479.5 - 3, rounded half away
    const double cp = r->state.changePoint;
    EXPECT_LT(cp, 479.5);
    EXPECT_GT(cp, 17);
    EXPECT_TRUE(r->state.changeFixed);
    const int last = r->result.frames;
    EXPECT_EQ(r->surface.frames[static_cast<size_t>(last - 1)].markerX,
              13 + static_cast<int>(std::lround(cp)));
    // Result mode: the arrows never move it.
    auto k = run({entry(1, 50, 50), entry(2, 50, 50)}, SimMode::Kekka, "1=left");
    EXPECT_DOUBLE_EQ(k->state.changePoint, 479.5);
    // Held right to its limit beyond the finish: the runners still finish.
    auto far = run({entry(1, 50, 50), entry(2, 50, 50)}, SimMode::Yoso, "1=right");
    EXPECT_DOUBLE_EQ(far->state.changePoint, 971.5);
    EXPECT_EQ(far->result.order.size(), 2u);
}

TEST(SimChangePoint, MarkerBlinksWithTheBackground) {
    auto r = run({entry(1, 50, 50), entry(2, 50, 50)}, SimMode::Yoso, "20=esc");
    for (size_t i = 0; i < r->surface.frames.size(); ++i) {
        const Frame& f = r->surface.frames[i];
        EXPECT_EQ(f.background, static_cast<int>(i % 9) + 1);
        EXPECT_EQ(f.markerPicture, f.background <= 3 ? 0 : 1);
    }
}

TEST(SimGait, FirstPhaseRunsOneToNineSecondPhaseOneToSixThenTen) {
    EXPECT_EQ(NextSecondPhaseGait(1), 2);
    EXPECT_EQ(NextSecondPhaseGait(6), 10);
    EXPECT_EQ(NextSecondPhaseGait(10), 1);
    EXPECT_EQ(NextSecondPhaseGait(8), 1);
    auto r = run({entry(1, 50, 50), entry(2, 50, 50)}, SimMode::Kekka);
    // Phase one of 50/50 runs until x passes 479.5: frames 51..210.
    for (int f = 52; f <= 210; ++f) {
        const int prev = r->surface.runner(f - 1, 1)->gait;
        EXPECT_EQ(r->surface.runner(f, 1)->gait, prev % 9 + 1) << f;
    }
    std::map<int, int> seen;
    for (int f = 212; f <= r->result.order[0].frame; ++f) {
        const int prev = r->surface.runner(f - 1, 1)->gait;
        const int g = r->surface.runner(f, 1)->gait;
        EXPECT_EQ(g, NextSecondPhaseGait(prev)) << f;
        ++seen[g];
    }
    EXPECT_EQ(seen.count(7) + seen.count(8) + seen.count(9), 0u);
    EXPECT_GT(seen[10], 0);
}

TEST(SimGait, TheSeedChoosesTheFirstGaits) {
    auto a = run({entry(1, 50, 50), entry(2, 50, 50)}, SimMode::Yoso, "60=esc", 1);
    auto b = run({entry(1, 50, 50), entry(2, 50, 50)}, SimMode::Yoso, "60=esc", 1);
    EXPECT_EQ(a->surface.runner(50, 1)->gait, b->surface.runner(50, 1)->gait);
    EXPECT_EQ(a->surface.runner(50, 2)->gait, b->surface.runner(50, 2)->gait);
    SimRandom random(99);
    for (int i = 0; i < 200; ++i) {
        const int g = random.gait();
        EXPECT_GE(g, 1);
        EXPECT_LE(g, 9);
    }
}

}  // namespace
}  // namespace veltrix::test
