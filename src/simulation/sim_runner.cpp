#include "simulation/sim_runner.h"

#include <algorithm>
#include <cmath>

namespace veltrix {

namespace {

bool takesPart(const SimEntry& e) { return e.total && *e.total != 0; }

}  // namespace

int CountSimTargets(const std::vector<SimEntry>& entries) {
    return static_cast<int>(std::count_if(entries.begin(), entries.end(),
                                          [](const SimEntry& e) { return e.total && *e.total > 0; }));
}

SimState PrepareRunners(const std::vector<SimEntry>& entries, SimMode mode, const SimGeometry& course) {
    SimState state;
    state.changePoint = course.length() * 0.5;
    state.changeFixed = mode == SimMode::Kekka;
    for (const SimEntry& e : entries) {
        if (!takesPart(e)) continue;
        SimRunner r;
        r.row = e.row;
        r.horse = e.horse;
        // A missing first-part score reads as 0, as an empty cell's value does.
        const double v = *e.total;
        const double c = e.firstHalf.value_or(0.0);
        // Extreme scores would give a time of zero or less; two units is the
        // least that still splits into two phases.
        r.t = std::max((50 - v) * 15 + 2000, 2.0);
        r.t1 = std::clamp((50 - c) * 15 + 1000, 1.0, r.t - 1);
        r.t2 = r.t - r.t1;
        r.s1 = 1000 / r.t1;
        r.s2 = 1000 / r.t2;
        r.y = course.lane(e.row);
        r.running = true;
        r.waiting = true;
        state.runners.push_back(std::move(r));
    }
    return state;
}

void ApplySimKey(SimKeys& keys, SimKey key, bool down, bool autoRepeat) {
    if (!down && (autoRepeat || key == SimKey::Esc)) return;
    switch (key) {
        case SimKey::Esc:
            keys.esc = true;
            break;
        case SimKey::Up:
            keys.up = down;
            break;
        case SimKey::Down:
            keys.down = down;
            break;
        case SimKey::Left:
            keys.left = down;
            break;
        case SimKey::Right:
            keys.right = down;
            break;
    }
}

void ReleaseSimArrows(SimKeys& keys) {
    const bool esc = keys.esc;
    keys = {};
    keys.esc = esc;
}

SimDirection DirectionOf(const SimKeys& k) {
    if (k.left && k.right && !k.up && !k.down) return SimDirection::LeftRight;
    const int held = int(k.up) + int(k.down) + int(k.left) + int(k.right);
    if (held != 1) return SimDirection::None;
    if (k.up) return SimDirection::Up;
    if (k.down) return SimDirection::Down;
    if (k.left) return SimDirection::Left;
    return SimDirection::Right;
}

int NextSecondPhaseGait(int gait) {
    if (gait >= 1 && gait < 6) return gait + 1;
    if (gait == 6) return kSimGaitStretched;
    return 1;
}

int FasterInterval(int interval) {
    return interval > 9 ? static_cast<int>(std::lround(interval * 0.8)) : interval;
}

int SlowerInterval(int interval) {
    return interval < 200 ? static_cast<int>(std::lround(interval * 1.2)) : interval;
}

void MoveRunner(SimRunner& r, SimState& state, const SimGeometry& course, int d, SimRandom& random, int frame,
                std::vector<SimFinish>& order) {
    if (!r.running) return;
    if (r.finished) {
        // Drawn once past the line, then gone.
        r.running = false;
        return;
    }
    if (r.waiting) {
        r.startCount += d;
        if (r.startCount < kSimStartWait) {
            r.gait = kSimGaitStanding;
            return;
        }
        r.waiting = false;
        r.firstPhase = true;
        r.gait = random.gait();
        return;
    }
    if (r.firstPhase) {
        r.firstCount += d;
        if (d != 0) r.gait = r.gait % 9 + 1;
        r.x = r.firstCount * r.s1 * kSimStep;
        if (r.x > state.changePoint) {
            r.firstPhase = false;
            r.secondPhase = true;
            state.changeFixed = true;
        }
        return;
    }
    if (r.secondPhase) {
        r.secondCount += d;
        if (d != 0) r.gait = NextSecondPhaseGait(r.gait);
        r.x = (r.firstCount * r.s1 + r.secondCount * r.s2) * kSimStep;
        if (r.x > course.length() + kSimFinishMargin) {
            r.secondPhase = false;
            r.finished = true;
            order.push_back({r.row, r.horse, frame});
        }
    }
}

void MoveChangePoint(SimState& state, const SimGeometry& course, SimDirection direction) {
    if (state.changeFixed) return;
    if (direction == SimDirection::Left && state.changePoint >= 17)
        state.changePoint -= 3;
    else if (direction == SimDirection::Right && state.changePoint < course.length() + 10)
        state.changePoint += 3;
}

SimResult RunSimulationLoop(SimState& state, const SimGeometry& course, SimDevices dev) {
    SimResult result;
    int background = 0;
    bool paused = false;
    bool stop = false;
    while (!stop) {
        const SimKeys keys = dev.keyboard.poll();
        if (keys.esc) {
            result.escaped = true;
            break;
        }
        const SimDirection direction = DirectionOf(keys);
        if (direction == SimDirection::LeftRight)
            paused = !paused;
        else if (direction == SimDirection::Up)
            result.interval = FasterInterval(result.interval);
        else if (direction == SimDirection::Down)
            result.interval = SlowerInterval(result.interval);

        const std::int64_t frameStart = dev.clock.nowMs();
        const int frame = ++result.frames;
        background = background % 9 + 1;
        dev.surface.beginFrame(background);
        const int d = paused ? 0 : 1;
        bool anyRunning = false;
        for (SimRunner& r : state.runners) {
            MoveRunner(r, state, course, d, dev.random, frame, result.order);
            if (!r.running) continue;
            anyRunning = true;
            dev.surface.drawRunner(r, course.start + static_cast<int>(std::lround(r.x)), r.y);
        }
        if (!anyRunning) stop = true;
        MoveChangePoint(state, course, direction);
        dev.surface.drawChangePoint(course.start + static_cast<int>(std::lround(state.changePoint)),
                                    background <= 3 ? 0 : 1);
        dev.surface.endFrame();

        const std::int64_t rest = result.interval - (dev.clock.nowMs() - frameStart);
        if (rest > 0) dev.clock.sleepMs(static_cast<int>(rest));
    }
    return result;
}

}  // namespace veltrix
