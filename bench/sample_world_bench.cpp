// Writing a default sample world, against writing the same number of bytes
// of ready-made records (the disk's share of the time).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "sample/record_writer.h"
#include "sample/sample_world.h"

namespace {

namespace fs = std::filesystem;

fs::path benchFolder(const char* name) {
    fs::path p = fs::temp_directory_path() / name;
    fs::remove_all(p);
    return p;
}

long long g_worldBytes = 0;

void BM_DefaultSampleWorld(benchmark::State& state) {
    const fs::path dir = benchFolder("veltrix_bench_world");
    for (auto _ : state) {
        veltrix::sample::SampleOptions options;
        const auto world = veltrix::sample::GenerateSampleWorld(dir, options);
        g_worldBytes = world.bytes;
        state.counters["records"] = static_cast<double>(world.records);
        state.counters["MB"] = static_cast<double>(world.bytes) / 1e6;
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_DefaultSampleWorld)->Unit(benchmark::kMillisecond)->Iterations(2);

// Baseline: the same volume of one prepared SE record written line by line.
void BM_BaselineWriteSameBytes(benchmark::State& state) {
    const fs::path dir = benchFolder("veltrix_bench_baseline");
    fs::create_directories(dir);
    const std::string record = veltrix::sample::WriteRecord(veltrix::sample::BlankSE());
    const long long total = g_worldBytes > 0 ? g_worldBytes : 77'000'000;
    for (auto _ : state) {
        std::ofstream out(dir / "all.txt", std::ios::binary | std::ios::trunc);
        for (long long written = 0; written < total; written += static_cast<long long>(record.size()))
            out.write(record.data(), static_cast<std::streamsize>(record.size()));
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_BaselineWriteSameBytes)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
