// The analysis-file import of the default sample week from the local service
// over loopback, against its baseline: the same files read from disk and
// merged. The difference is the HTTP exchange, the encoding detection and the
// writing of the downloaded files.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "analysis_service/analysis_service.h"
#include "app/analysis_commands.h"
#include "app/analysis_import_command.h"
#include "app/startup.h"
#include "sample/imported_sample.h"
#include "sample/sample_world.h"
#include "store/analysis_files.h"

namespace {

using namespace veltrix;
namespace fs = std::filesystem;

// The default sample week (no results stream: the week does not depend on it)
// with its analysis files moved out of the cache folder for the service.
struct Week {
    fs::path program = fs::temp_directory_path() / "veltrix_bench_service";
    fs::path served = program / "served";
    std::vector<std::string> arguments;  // the condition file, then one per date
    bool ok = false;

    Week() {
        fs::remove_all(program);
        sample::SampleOptions options;
        options.resultsYears = 0;
        sample::WriteSampleProgramFolder(program, options);
        std::string reason;
        if (!sample::ImportSampleWeek(program, options.seed, reason)) return;
        fs::create_directories(served);
        for (const auto& e : fs::directory_iterator(program / "cache")) {
            const std::string name = e.path().filename().string();
            if (name.rfind("cachea", 0) != 0) continue;
            fs::rename(e.path(), served / name);
            arguments.push_back(name.substr(6));
        }
        std::sort(arguments.begin(), arguments.end());  // "00000000p" first, then the dates
        ok = arguments.size() >= 2;
    }
    ~Week() { fs::remove_all(program); }

    // The stored week as start-up reads it, without analysis files.
    std::unique_ptr<Application> loaded() const {
        for (const auto& a : arguments) fs::remove(program / "cache" / ("cachea" + a));
        auto app = std::make_unique<Application>();
        StoreLoad load;
        std::string reason;
        if (StartApplication(*app, program, load, reason)) return nullptr;
        return app;
    }
};

Week& week() {
    static Week w;
    return w;
}

void BM_AnalysisImport_Loopback(benchmark::State& state) {
    Week& w = week();
    std::string reason;
    tool::AnalysisService service(tool::ReadAnalysisAnswers(w.served, reason));
    const int port = service.start("127.0.0.1", 0);
    if (!w.ok || port < 0) {
        state.SkipWithError("no sample week or no loopback port");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto app = w.loaded();
        state.ResumeTiming();
        YesUserInterface ui;
        NullPump pump;
        const AnalysisImportResult r = ImportAnalysisFiles(*app, {ui, pump, {"127.0.0.1", port}, {}});
        if (r.result != 0) state.SkipWithError("the import failed");
        state.counters["files"] = r.files;
        state.counters["past_runs"] = app->store.HistoryCount;
    }
}
BENCHMARK(BM_AnalysisImport_Loopback)->Unit(benchmark::kMillisecond)->Iterations(5);

// Baseline: the same files, already in the cache folder, read and merged.
void BM_AnalysisImport_BaselineFromDisk(benchmark::State& state) {
    Week& w = week();
    if (!w.ok) {
        state.SkipWithError("no sample week");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto app = w.loaded();
        for (const auto& a : w.arguments)
            fs::copy_file(w.served / ("cachea" + a), w.program / "cache" / ("cachea" + a));
        state.ResumeTiming();
        NullPump pump;
        bool failed = MergeConditionFile(*app, pump) != 0;
        for (size_t i = 1; i < w.arguments.size(); ++i)
            failed |= MergeAnalysisFile(*app, w.arguments[i], pump) != 0;
        if (failed) state.SkipWithError("a file failed to merge");
        state.counters["files"] = static_cast<double>(w.arguments.size());
    }
}
BENCHMARK(BM_AnalysisImport_BaselineFromDisk)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
