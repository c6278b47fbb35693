// Reading a full odds file against the bare cost of reading and splitting the
// same file into fields.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "store/fields.h"
#include "store/race_files.h"

namespace {

using namespace veltrix;
namespace fs = std::filesystem;

const std::string kRace = "2026120906050811";

// A folder holding one fully sold odds file, removed at exit.
struct OddsFixture {
    Folders folders;
    OddsFixture() {
        folders =
            Folders::under(fs::temp_directory_path() / ("veltrix-bench-odds-" + std::to_string(::getpid())));
        fs::create_directories(folders.cache);
        OddsTables t;
        t.OddsCount = 6;
        for (int h = 1; h <= kHorseMax; ++h) {
            t.TansyoOdds(h) = {1, 15 + 37 * h};
            t.FukusyoOdds(h) = {1, 11 + 3 * h, 1, 14 + 9 * h};
            t.TansyoShijiritsu(h) = 0.788 / (t.TansyoOdds(h).odds - 1) * 10;
            t.OddsHensachi(h) = 65.0 - 1.7 * h;
            t.UmarenShijiritsu(h) = 0.3 / h;
        }
        for (int i = 1; i <= kHorseMax; ++i)
            for (int j = 1; j <= kHorseMax; ++j) {
                if (i < j) t.UmarenOdds(i, j) = {1, 40 * i * j};
                if (i < j) t.WideOdds(i, j) = {1, 12 * i * j, 1, 20 * i * j};
                if (i != j) t.UmatanOdds(i, j) = {1, 75 * i * j};
                for (int k = 1; k <= kHorseMax; ++k) {
                    if (i < j && j < k) t.SanrenpukuOdds(i, j, k) = {1, 90 * i * j * k};
                    if (i != j && j != k && i != k) t.SanrentanOdds(i, j, k) = {1, 500 * i * j * k};
                }
            }
        WriteOddsCache(folders, kRace, t);
    }
    ~OddsFixture() {
        std::error_code ec;
        fs::remove_all(folders.program, ec);
    }
    fs::path file() const { return folders.cache / ("cache4" + kRace); }
};

OddsFixture& fixture() {
    static OddsFixture f;
    return f;
}

void BM_ReadOddsCache(benchmark::State& state) {
    auto& f = fixture();
    OddsTables odds;
    for (auto _ : state) {
        if (ReadOddsCache(f.folders, kRace, odds) != 0) {
            state.SkipWithError("odds file rejected");
            break;
        }
        benchmark::DoNotOptimize(odds.SanrentanKairi(18, 17, 16));
    }
}
BENCHMARK(BM_ReadOddsCache)->Unit(benchmark::kMillisecond);

// Baseline: open, decode and split the same file into fields, nothing else.
void BM_SplitOddsFileBaseline(benchmark::State& state) {
    auto& f = fixture();
    for (auto _ : state) {
        auto reader = FieldReader::FromFile(f.file());
        std::string field;
        size_t fields = 0;
        while (reader->read(field)) ++fields;
        benchmark::DoNotOptimize(fields);
    }
}
BENCHMARK(BM_SplitOddsFileBaseline)->Unit(benchmark::kMillisecond);

}  // namespace
