// One frame of the race animation with 18 runners in full gallop: every runner
// moved and drawn with the course onto the runner window's canvas. Baseline:
// the same canvas cleared and blitted whole once, the least a frame can cost.
#include <benchmark/benchmark.h>

#include "simulation/sim_canvas.h"
#include "simulation/sim_runner.h"

namespace {

using namespace veltrix;

constexpr int kRunners = 18;

struct FrameFixture {
    SimState state;
    CanvasSurface surface{kMainWindowCourse, kRunners};
    SimRandom random{1};
    std::vector<SimFinish> order;

    FrameFixture() {
        std::vector<SimEntry> entries;
        for (int r = 1; r <= kRunners; ++r) entries.push_back({r, std::to_string(r), 40.0 + r, 60.0 - r});
        state = PrepareRunners(entries, SimMode::Kekka, kMainWindowCourse);
        // Everybody past the start wait, in the first phase.
        for (int f = 1; f <= kSimStartWait + 1; ++f)
            for (SimRunner& r : state.runners) MoveRunner(r, state, kMainWindowCourse, 1, random, f, order);
    }

    void frame(int n) {
        surface.beginFrame(n % 9 + 1);
        for (SimRunner& r : state.runners) {
            // Keeps the runners on the course however many frames run.
            if (r.x > kMainWindowCourse.length() - 40) r.firstCount = r.secondCount = 0;
            MoveRunner(r, state, kMainWindowCourse, 1, random, n, order);
            if (r.running) surface.drawRunner(r, kMainWindowCourse.start + static_cast<int>(r.x), r.y);
        }
        surface.drawChangePoint(kMainWindowCourse.start + static_cast<int>(state.changePoint),
                                n % 9 < 3 ? 0 : 1);
        surface.endFrame();
    }
};

void BM_SimulationFrame18(benchmark::State& st) {
    FrameFixture f;
    int n = 0;
    for (auto _ : st) {
        f.frame(++n);
        benchmark::DoNotOptimize(f.surface.runners().data());
    }
    st.counters["pixels"] = static_cast<double>(f.surface.runners().width() * f.surface.runners().height());
}
BENCHMARK(BM_SimulationFrame18)->Unit(benchmark::kMicrosecond);

void BM_SimulationFrame_BaselineClearBlit(benchmark::State& st) {
    const SimRect w = RunnerWindowRect(kMainWindowCourse, kRunners);
    SimCanvas canvas(w.w, w.h), screen(w.w, w.h);
    Argb colour = 0xFF2E7D32;
    for (auto _ : st) {
        canvas.clear(colour++);
        screen.copyFrom(canvas);
        benchmark::DoNotOptimize(screen.data());
    }
}
BENCHMARK(BM_SimulationFrame_BaselineClearBlit)->Unit(benchmark::kMicrosecond);

}  // namespace
