// SortKeys, the key sort of the weekly import, on a delivery that repeats one
// past run 200,000 times (the quicksort it replaced took minutes on it) and on
// 30,000 distinct past-run keys, each beside std::sort of the same key and
// position pairs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "base/host.h"
#include "store/weekly_store.h"

namespace {

using veltrix::Array1;

constexpr int kEqualKeys = 200000;
constexpr int kDistinctKeys = 30000;

Array1<std::string> equalKeys() {
    Array1<std::string> keys(kEqualKeys);
    for (int i = 1; i <= kEqualKeys; ++i) keys[i] = "20061000012008122806050810";
    return keys;
}

// UmaCode followed by a race id, in no order.
Array1<std::string> distinctKeys() {
    std::mt19937 rng(11);
    Array1<std::string> keys(kDistinctKeys);
    for (int i = 1; i <= kDistinctKeys; ++i)
        keys[i] = std::to_string(2000000000 + rng() % 100000000) + "20" +
                  std::to_string(10000000 + rng() % 89999999) + "06050810";
    return keys;
}

Array1<int> identity(int n) {
    Array1<int> positions(n);
    for (int i = 1; i <= n; ++i) positions[i] = i;
    return positions;
}

void runSortKeys(benchmark::State& state, const Array1<std::string>& input) {
    veltrix::NullPump pump;
    for (auto _ : state) {
        state.PauseTiming();
        Array1<std::string> keys = input;
        Array1<int> positions = identity(input.size());
        state.ResumeTiming();
        if (veltrix::SortKeys(keys, positions, 1, input.size(), pump)) state.SkipWithError("sort cancelled");
        benchmark::DoNotOptimize(positions.raw().data());
    }
    state.counters["keys"] = input.size();
}

void runBaseline(benchmark::State& state, const Array1<std::string>& input) {
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::pair<std::string, int>> pairs;
        pairs.reserve(static_cast<std::size_t>(input.size()));
        for (int i = 1; i <= input.size(); ++i) pairs.emplace_back(input[i], i);
        state.ResumeTiming();
        std::sort(pairs.begin(), pairs.end());
        benchmark::DoNotOptimize(pairs.data());
    }
    state.counters["keys"] = input.size();
}

void BM_SortKeys_EqualKeys(benchmark::State& state) { runSortKeys(state, equalKeys()); }
BENCHMARK(BM_SortKeys_EqualKeys)->Unit(benchmark::kMillisecond);

// Baseline: std::sort of the same 200,000 key and position pairs.
void BM_SortKeys_EqualKeysBaseline(benchmark::State& state) { runBaseline(state, equalKeys()); }
BENCHMARK(BM_SortKeys_EqualKeysBaseline)->Unit(benchmark::kMillisecond);

void BM_SortKeys_DistinctKeys(benchmark::State& state) { runSortKeys(state, distinctKeys()); }
BENCHMARK(BM_SortKeys_DistinctKeys)->Unit(benchmark::kMillisecond);

// Baseline: std::sort of the same 30,000 key and position pairs.
void BM_SortKeys_DistinctKeysBaseline(benchmark::State& state) { runBaseline(state, distinctKeys()); }
BENCHMARK(BM_SortKeys_DistinctKeysBaseline)->Unit(benchmark::kMillisecond);

}  // namespace
