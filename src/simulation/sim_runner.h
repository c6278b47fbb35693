#pragma once
// The race animation: runners prepared from two scores each, then a frame loop
// that reads the keyboard, moves every runner in two phases, draws them and the
// change-point marker, and waits out the rest of the frame interval. Keys, time
// and drawing come through small interfaces, so a whole race runs in a test
// with a scripted keyboard and a clock that never sleeps.
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/host.h"

namespace veltrix {

enum class SimMode { Yoso, Kekka };

// The course in pixels of the window the runners are drawn over.
struct SimGeometry {
    int start = 0;      // start line
    int finish = 0;     // finish line
    int firstLane = 0;  // lane of the first row
    int laneGap = 15;
    int length() const { return finish - start; }
    int lane(int row) const { return firstLane + (row - 1) * laneGap; }
};
inline constexpr SimGeometry kMainWindowCourse{13, 972, 96, 15};
inline constexpr SimGeometry kRaceModelCourse{12, 700, 76, 15};

inline constexpr int kSimStep = 3;            // pixels per speed unit and frame
inline constexpr int kSimStartWait = 50;      // frames every runner waits at the start
inline constexpr int kSimFirstInterval = 60;  // ms
inline constexpr int kSimFinishMargin = 6;    // a runner finishes past L + 6
inline constexpr int kSimGaitStanding = 0;
inline constexpr int kSimGaitStretched = 10;  // the second phase's extra frame

// What one row brings: its horse number and its two scores (nullopt when the
// cell is empty or not a number).
struct SimEntry {
    int row = 0;  // 1-based: the lane
    std::string horse;
    std::optional<double> total;      // v
    std::optional<double> firstHalf;  // c
};

struct SimRunner {
    int row = 0;
    std::string horse;
    int gait = kSimGaitStanding;  // picture: 0 standing, 1..9 gallop, 10 stretched
    double x = 0;                 // pixels from the start line
    int y = 0;                    // lane, pixels in the window
    bool running = false;
    bool waiting = false;
    bool firstPhase = false;
    bool secondPhase = false;
    bool finished = false;
    int startCount = 0;
    int firstCount = 0;            // a
    int secondCount = 0;           // b
    double t = 0, t1 = 0, t2 = 0;  // time units: whole race, first part, second part
    double s1 = 0, s2 = 0;         // speeds of the two phases
};

struct SimState {
    std::vector<SimRunner> runners;
    double changePoint = 0;    // pixels from the start line
    bool changeFixed = false;  // set: the change point no longer moves
};

// Runners for the rows that take part (a total score that is neither missing
// nor 0), change point at half the course; in the result mode it is fixed from
// the start. A first-part time outside 1 .. t - 1 is clamped into it (and t kept
// at 2 or more), so that every runner moves forward and finishes.
SimState PrepareRunners(const std::vector<SimEntry>& entries, SimMode mode, const SimGeometry& course);

// Rows whose total score is a number above 0.
int CountSimTargets(const std::vector<SimEntry>& entries);

// Keys held down when the keyboard is read.
struct SimKeys {
    bool esc = false, up = false, down = false, left = false, right = false;
};
enum class SimKey { Esc, Up, Down, Left, Right };
// A press or release seen on the keyboard. A key held down repeats as
// release-press pairs: it stays down. Esc stays pressed once pressed, so a tap
// between two frames still ends the run.
void ApplySimKey(SimKeys& keys, SimKey key, bool down, bool autoRepeat);
// The program lost the keyboard: releases will not be seen, so the arrows go up.
void ReleaseSimArrows(SimKeys& keys);

enum class SimDirection { None, LeftRight, Up, Down, Left, Right };
// Left and right together, or one arrow alone; anything else is none.
SimDirection DirectionOf(const SimKeys& keys);

class SimKeyboard {
public:
    virtual ~SimKeyboard() = default;
    virtual SimKeys poll() = 0;
};

// Where a frame goes: the course, the runners and the change-point marker.
class SimSurface {
public:
    virtual ~SimSurface() = default;
    // background is 1..9.
    virtual void beginFrame(int background) = 0;
    // x is the nose of the horse, in window pixels; y the top of its lane.
    virtual void drawRunner(const SimRunner& runner, int x, int y) = 0;
    // picture 0 for backgrounds 1..3, 1 for 4..9: the marker blinks.
    virtual void drawChangePoint(int x, int picture) = 0;
    virtual void endFrame() = 0;
};

// The first gait frame of each runner; seeded by the caller so a run repeats.
class SimRandom {
public:
    explicit SimRandom(std::uint64_t seed) : engine_(static_cast<std::mt19937::result_type>(seed)) {}
    int gait() { return static_cast<int>(engine_() % 9) + 1; }

private:
    std::mt19937 engine_;  // the same sequence on every standard library
};

struct SimFinish {
    int row = 0;
    std::string horse;
    int frame = 0;
};
struct SimResult {
    std::vector<SimFinish> order;  // the order the runners crossed L + 6
    int frames = 0;                // frames drawn
    int interval = kSimFirstInterval;
    bool escaped = false;
};

struct SimDevices {
    SimKeyboard& keyboard;
    Clock& clock;
    SimSurface& surface;
    SimRandom& random;
};

// The gait picture after g in the second phase: 1..6, then 10, then 1 again.
int NextSecondPhaseGait(int gait);
// The interval after holding up (0.8 while above 9 ms) or down (1.2 while below 200 ms).
int FasterInterval(int interval);
int SlowerInterval(int interval);

// Moves a runner by one frame with increment d (0 while paused); frame numbers
// its finish.
void MoveRunner(SimRunner& runner, SimState& state, const SimGeometry& course, int d, SimRandom& random,
                int frame, std::vector<SimFinish>& order);
// The change point while it is not fixed: left moves it 3 pixels toward the
// start while it lies 17 or more from it, right 3 toward the finish while it
// lies below L + 10.
void MoveChangePoint(SimState& state, const SimGeometry& course, SimDirection direction);

// Runs the frame loop until every runner has finished or Esc is read.
SimResult RunSimulationLoop(SimState& state, const SimGeometry& course, SimDevices devices);

}  // namespace veltrix
