// Loading the weekly store against reading and decoding the same three files.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <stdexcept>

#include "base/encoding.h"
#include "store/weekly_store.h"
#include "support/synthetic_store.h"

namespace {

namespace fs = std::filesystem;

// A program folder holding the three files of a generated week of real size.
class WeekOnDisk {
public:
    WeekOnDisk() {
        root_ = fs::temp_directory_path() / ("veltrix-bench-" + std::to_string(std::random_device{}()));
        folders_ = veltrix::Folders::under(root_);
        fs::create_directories(folders_.cache);
        veltrix::Store week = veltrix::test::MakeSyntheticStore(1);
        veltrix::NullUserInterface ui;
        veltrix::NullPump pump;
        if (veltrix::SaveRaceCache(week, folders_, ui, pump))
            throw std::runtime_error("cannot write the week");
    }
    ~WeekOnDisk() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    const veltrix::Folders& folders() const { return folders_; }

private:
    fs::path root_;
    veltrix::Folders folders_;
};

const WeekOnDisk& week() {
    static WeekOnDisk w;
    return w;
}

// Baseline: the least any loader must do, read the bytes and decode them.
void BM_ReadAndDecodeWeeklyFiles(benchmark::State& state) {
    const auto& f = week().folders();
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const char* name : {veltrix::kCache1, veltrix::kCache2, veltrix::kCache3}) {
            auto raw = veltrix::ReadFileBytes(f.cache / name);
            auto text = veltrix::Cp932ToUtf8(*raw);
            bytes += raw->size();
            benchmark::DoNotOptimize(text);
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_ReadAndDecodeWeeklyFiles)->Unit(benchmark::kMillisecond);

void BM_LoadRaceCache(benchmark::State& state) {
    const auto& f = week().folders();
    veltrix::Store store;
    for (auto _ : state) {
        if (veltrix::LoadRaceCache(store, f)) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(store.HistoryCount);
    }
    state.counters["past_runs"] = store.HistoryCount;
}
BENCHMARK(BM_LoadRaceCache)->Unit(benchmark::kMillisecond);

}  // namespace
