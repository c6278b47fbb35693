// Reading a full odds file against the bare cost of reading and splitting the
// same file into fields.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "base/fields.h"
#include "store/race_files.h"
#include "support/synthetic_store.h"

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
        const OddsTables t = test::MakeFullOddsTables();
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
