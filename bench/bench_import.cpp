// The weekly import of a generated week of real size (72 races, about 1,000
// runners, 20,000 and more past runs). Two pairs, each against a baseline that
// reads the same records and writes the same bytes to the three weekly files:
// expansion + sort + save from the read lists, and the whole command.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <vector>
#include <string>

#include "app/import_commands.h"
#include "jvlink/standin/standin_jvlink.h"
#include "jvlink/weekly_import.h"
#include "sample/sample_world.h"
#include "base/encoding.h"
#include "store/weekly_store.h"

namespace {

using namespace veltrix;
namespace fs = std::filesystem;

StandinOptions benchOptions() {
    StandinOptions o;
    o.simulateDownload = false;
    o.requireInit = false;
    return o;
}

// A generated program folder and the weekly files one import writes, removed at exit.
struct WeekFixture {
    Folders folders;
    std::string cache1, cache2, cache3;
    int races = 0, runners = 0, pastRuns = 0;
    WeeklyImportState read;            // the lists as both sessions leave them
    std::vector<std::string> records;  // every record of both deliveries

    WeekFixture() {
        folders = Folders::under(fs::temp_directory_path() / ("veltrix-bench-import-" + std::to_string(::getpid())));
        sample::SampleOptions options;
        options.resultsYears = 0;
        sample::WriteSampleProgramFolder(folders.program, options);
        fs::create_directories(folders.cache);
        Application app;
        if (runImport(app) != ImportOutcome::Imported) throw std::runtime_error("the sample week did not import");
        Store& store = app.store;
        races = store.RaceCount;
        runners = store.UmaCount;
        pastRuns = store.HistoryCount;
        cache1 = *ReadFileBytes(folders.cache / kCache1);
        cache2 = *ReadFileBytes(folders.cache / kCache2);
        cache3 = *ReadFileBytes(folders.cache / kCache3);

        StandinJVLink jv(StandinFolder(folders.program), benchOptions());
        YesUserInterface ui;
        NullPump pump;
        SystemClock clock;
        ImportContext ctx{store, folders, jv, ui, pump, clock};
        if (ImportRaceInfo(read, ctx) < 0 || ImportUmaHistory(read, ctx, "RCOV") < 0)
            throw std::runtime_error("the sample week did not read");
        for (const char* spec : {"RACE", "RCOV"}) {
            SessionState session;
            RunSession(session, jv, SessionRequest::stored(spec, "19860101000000", 2, ""), ui, pump, clock,
                       [&](std::string_view record) {
                           records.emplace_back(record);
                           return RecordUse::Used;
                       });
        }
    }
    ~WeekFixture() {
        std::error_code ec;
        fs::remove_all(folders.program, ec);
    }

    ImportOutcome runImport(Application& app) {
        StandinJVLink jv(StandinFolder(folders.program), benchOptions());
        YesUserInterface ui;
        NullPump pump;
        SystemClock clock;
        WeeklyImportState state;
        app.folders = folders;
        return ImportThisWeek(app, state, {jv, ui, pump, clock});
    }
};

WeekFixture& fixture() {
    static WeekFixture f;
    return f;
}

void setCounters(benchmark::State& state, const WeekFixture& f) {
    state.counters["races"] = f.races;
    state.counters["runners"] = f.runners;
    state.counters["pastRuns"] = f.pastRuns;
}

// Expansion + sort + save: the key sorts, ExpandRaceInfo, SortRaceInfo,
// SortHistoryInfo and SaveRaceCache, from the lists both sessions filled.
void BM_ExpandSortSave(benchmark::State& state) {
    auto& f = fixture();
    StandinJVLink jv(StandinFolder(f.folders.program), benchOptions());
    YesUserInterface ui;
    NullPump pump;
    SystemClock clock;
    // One store for the whole run, emptied before each import as the command does:
    // the program keeps its store tables for its whole life. As in the command,
    // the tables are emptied before the lists are read, so that the allocator's
    // deferred work for the freed tables falls where it does there: outside
    // what is timed here.
    Store store;
    for (auto _ : state) {
        state.PauseTiming();
        ClearRaceCache(store);
        WeeklyImportState work = f.read;
        ImportContext ctx{store, f.folders, jv, ui, pump, clock};
        state.ResumeTiming();
        if (SortHRaceKeys(work.lists, pump) < 0 || SortHUmaKeys(work.lists, pump) < 0 ||
            ExpandRaceInfo(work, ctx) < 0 || SortRaceInfo(store, pump) < 0 || SortHistoryInfo(ctx) < 0)
            state.SkipWithError("expansion failed");
        store.DataMode = "KONSYU";
        if (SaveRaceCache(store, f.folders, ui, pump)) state.SkipWithError("save failed");
        state.PauseTiming();
        work = {};
        state.ResumeTiming();
    }
    setCounters(state, f);
}
BENCHMARK(BM_ExpandSortSave)->Unit(benchmark::kMillisecond);

// Baseline: every record of both deliveries read once from memory, the same
// bytes written to the same three files.
void BM_ExpandSortSaveBaseline(benchmark::State& state) {
    auto& f = fixture();
    for (auto _ : state) {
        std::size_t sum = 0;
        for (const auto& r : f.records)
            for (unsigned char c : r) sum += c;
        benchmark::DoNotOptimize(sum);
        if (!WriteFileBytes(f.folders.cache / kCache1, f.cache1) || !WriteFileBytes(f.folders.cache / kCache2, f.cache2) ||
            !WriteFileBytes(f.folders.cache / kCache3, f.cache3))
            state.SkipWithError("write failed");
    }
    setCounters(state, f);
}
BENCHMARK(BM_ExpandSortSaveBaseline)->Unit(benchmark::kMillisecond);

// "今週のレース" whole: both sessions, cutting the records, expansion, sorting,
// writing the weekly files and reading them back.
void BM_WeeklyImport(benchmark::State& state) {
    auto& f = fixture();
    for (auto _ : state) {
        Application app;
        if (f.runImport(app) != ImportOutcome::Imported) state.SkipWithError("import failed");
        benchmark::DoNotOptimize(app.store.HistoryCount);
    }
    setCounters(state, f);
}
BENCHMARK(BM_WeeklyImport)->Unit(benchmark::kMillisecond);

// Baseline: the same two sessions with every record touched and nothing kept,
// then the same bytes written to the same three files.
void BM_WeeklyImportBaseline(benchmark::State& state) {
    auto& f = fixture();
    for (auto _ : state) {
        StandinJVLink jv(StandinFolder(f.folders.program), benchOptions());
        YesUserInterface ui;
        NullPump pump;
        SystemClock clock;
        SessionState session;
        std::size_t bytes = 0;
        for (const char* spec : {"RACE", "RCOV"}) {
            auto request = SessionRequest::stored(spec, "19860101000000", 2, "");
            RunSession(session, jv, request, ui, pump, clock, [&](std::string_view record) {
                bytes += record.size() + static_cast<unsigned char>(record[0]);
                return RecordUse::Used;
            });
        }
        benchmark::DoNotOptimize(bytes);
        if (!WriteFileBytes(f.folders.cache / kCache1, f.cache1) || !WriteFileBytes(f.folders.cache / kCache2, f.cache2) ||
            !WriteFileBytes(f.folders.cache / kCache3, f.cache3))
            state.SkipWithError("write failed");
    }
    setCounters(state, f);
}
BENCHMARK(BM_WeeklyImportBaseline)->Unit(benchmark::kMillisecond);

}  // namespace
