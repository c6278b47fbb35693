// Merging a per-date analysis file of about 30,000 past-run records against a
// baseline that only reads and decodes the same file.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>

#include "base/folders.h"
#include "base/host.h"
#include "sample/analysis_sample.h"
#include "store/analysis_files.h"
#include "base/fields.h"

namespace {

using namespace veltrix;

constexpr int kRaces = 36;  // three courses x twelve races on one date
constexpr int kRunnersPerRace = 18;
constexpr int kRunsPerHorse = 51;
const std::string kDate = "20090117";

std::string twoDigits(int v) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}

struct World {
    std::filesystem::path folder;
    Folders folders;
    Store store;
    int pastRunRecords = 0;

    World() {
        folder = std::filesystem::temp_directory_path() /
                 ("veltrix-bench-analysis-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder / "cache");
        folders = Folders::under(folder);
        Store& s = store;
        s.DataMode = "KONSYU";
        s.RaceCount = kRaces;
        s.RaceInfo.resize(kRaces, kRaceInfoCols);
        s.RaceIdList.resize(kRaces);
        s.RaceLabel.resize(kRaces);
        const int runners = kRaces * kRunnersPerRace;
        s.UmaCount = runners;
        s.UmaInfo.resize(runners, kUmaInfoCols);
        s.UmaKey.resize(runners);
        s.HistoryCount = runners * kRunsPerHorse;
        s.HistoryInfo.resize(s.HistoryCount, kHistoryInfoCols);
        s.HistoryKey.resize(s.HistoryCount);
        int u = 0;
        int h = 0;
        for (int r = 1; r <= kRaces; ++r) {
            const std::string course = r <= 12 ? "06" : r <= 24 ? "08" : "10";
            const std::string raceId = kDate + course + "0101" + twoDigits((r - 1) % 12 + 1);
            s.RaceIdList[r] = raceId;
            s.RaceInfo.at(r, 1) = raceId;
            s.RaceInfo.at(r, 3) = "13";
            s.RaceInfo.at(r, 4) = "005";
            s.RaceInfo.at(r, 5) = "17";
            s.RaceLabel[r] =
                "2009/01/17 中山 01R 10:05 芝1600 サラ３歳以上 500万" + std::string(80, ' ') + raceId;
            for (int n = 1; n <= kRunnersPerRace; ++n) {
                ++u;
                const std::string uma = std::to_string(2003100000 + u);
                s.UmaInfo.at(u, 1) = raceId;
                s.UmaInfo.at(u, 2) = uma;
                s.UmaInfo.at(u, 4) = twoDigits(n);
                s.UmaKey[u] = raceId + twoDigits(n);
                for (int k = 0; k < kRunsPerHorse; ++k) {
                    ++h;
                    // ascending per horse: year, month, then course
                    const std::string past = std::to_string(2004 + k / 12) + twoDigits(k % 12 + 1) + "01" +
                                             twoDigits(5 + k % 5) + "0101" + twoDigits(1 + u % 12);
                    s.HistoryInfo.at(h, 1) = uma;
                    s.HistoryInfo.at(h, 2) = past;
                    s.HistoryKey[h] = uma + past;
                }
            }
        }
        auto summary = WriteSampleAnalysisFiles(store, folders.cache, 20090117);
        if (!summary.ok) throw std::runtime_error("cannot write the benchmark's analysis files");
        pastRunRecords = summary.pastRunRecords;
    }
    ~World() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

World& world() {
    static World w;
    return w;
}

void BM_ReadAnalysisFile_Merge(benchmark::State& state) {
    World& w = world();
    NullPump pump;
    for (auto _ : state) {
        // Merging again writes the same cells: no reset of the store is needed.
        if (ReadAnalysisFile(w.store, w.folders, kDate + "r", pump) != 0) {
            state.SkipWithError("merge failed");
            break;
        }
    }
    state.counters["past_runs"] = w.pastRunRecords;
}

// Baseline: the same file read record by record and every figure decoded,
// without looking anything up in the store.
void BM_ReadAnalysisFile_ReadDecodeBaseline(benchmark::State& state) {
    World& w = world();
    const auto path = w.folders.cache / ("cachea" + kDate + "r");
    for (auto _ : state) {
        auto reader = FieldReader::FromFile(path);
        if (!reader) {
            state.SkipWithError("read failed");
            break;
        }
        std::vector<std::string> f;
        size_t decoded = 0;
        reader->readRecord(f);
        for (int section = 0; section < 2; ++section) {
            reader->readRecord(f);
            const long long n = ParseInteger(f.at(1)).value_or(0);
            for (long long i = 0; i < n; ++i) {
                reader->readRecord(f);
                const std::string& data = f.back();
                for (int g = 0; g < 9; ++g) {
                    auto v = DecodeGroup4(data, 1 + 4 * g);
                    decoded += v ? v->size() : 0;
                }
            }
        }
        std::string trailer;
        reader->readLine(trailer);
        benchmark::DoNotOptimize(decoded);
    }
    state.counters["past_runs"] = w.pastRunRecords;
}

BENCHMARK(BM_ReadAnalysisFile_ReadDecodeBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAnalysisFile_Merge)->Unit(benchmark::kMillisecond);

}  // namespace
