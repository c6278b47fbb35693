#pragma once
// Headless runs of the animation: keys held from a given frame on, and a clock
// that advances only when the loop sleeps.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/host.h"
#include "simulation/sim_runner.h"

namespace veltrix {

// "FRAME=KEYS,...": from FRAME on the keys are held (up, down, left, right, esc,
// joined with "+"; "none" releases them all). Frames count from 1 and rise.
// True, with a one-line reason, for a script that is not of this form.
struct KeyStep {
    int frame = 0;
    SimKeys keys;
};
bool ParseKeyScript(const std::string& text, std::vector<KeyStep>& steps, std::string& reason);

// Answers poll n (the n-th frame) with the keys of the last step at or before n.
class ScriptedKeyboard final : public SimKeyboard {
public:
    explicit ScriptedKeyboard(std::vector<KeyStep> steps) : steps_(std::move(steps)) {}
    SimKeys poll() override;
    int polls() const { return polls_; }

private:
    std::vector<KeyStep> steps_;
    size_t next_ = 0;
    int polls_ = 0;
    SimKeys held_;
};

// Time that passes only by sleeping: a frame costs nothing, its wait the rest.
class VirtualClock final : public Clock {
public:
    std::int64_t nowMs() override { return now_; }
    void sleepMs(int ms) override { now_ += ms; }

private:
    std::int64_t now_ = 0;
};

// Draws nothing: for runs that only want the finishing order.
class NullSurface final : public SimSurface {
public:
    void beginFrame(int) override {}
    void drawRunner(const SimRunner&, int, int) override {}
    void drawChangePoint(int, int) override {}
    void endFrame() override {}
};

}  // namespace veltrix
