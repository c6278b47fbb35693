// Real-time odds on a generated week of real size (72 races). Two pairs, each
// against a baseline that reads the same records from the stand-in and writes
// the same odds files: one full race (ImportOdds + WriteOddsCache), and the
// whole week's odds batch as `veltrix-cli update odds week` runs it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/import_commands.h"
#include "app/update_commands.h"
#include "jvlink/realtime_import.h"
#include "jvlink/standin/standin_jvlink.h"
#include "sample/sample_world.h"
#include "store/race_files.h"

namespace {

using namespace veltrix;
namespace fs = std::filesystem;

StandinOptions realTimeOptions() {
    StandinOptions o;
    o.requireInit = false;
    return o;
}

// A generated program folder with this week imported, removed at exit.
struct RealTimeFixture {
    Folders folders;
    Application app;
    DataImportModel model;
    std::string fullRace;             // a race of 18 runners
    std::size_t fullIndex = 0;        // its place in written
    std::vector<OddsTables> written;  // every race's odds as the batch writes them

    RealTimeFixture() {
        folders = Folders::under(fs::temp_directory_path() /
                                 ("veltrix-bench-realtime-" + std::to_string(::getpid())));
        sample::SampleOptions options;
        options.resultsYears = 0;
        sample::WriteSampleProgramFolder(folders.program, options);
        fs::create_directories(folders.cache);
        app.folders = folders;
        StandinJVLink jv(StandinFolder(folders.program), realTimeOptions());
        jv.options().simulateDownload = false;
        YesUserInterface ui;
        NullPump pump;
        SystemClock clock;
        WeeklyImportState state;
        if (ImportThisWeek(app, state, {jv, ui, pump, clock}) != ImportOutcome::Imported)
            throw std::runtime_error("the sample week did not import");
        PutRaceList(model.fpsControl, app.store, "");
        for (int r = 1; r <= app.store.RaceCount; ++r) {
            const std::string& id = app.store.RaceIdList[r];
            if (fullRace.empty() && app.store.RaceInfo.at(r, 2) == "18") {
                fullRace = id;
                fullIndex = written.size();
            }
            OddsTables t;
            SessionState session;
            ImportOdds(t, id, {session, jv, pump, clock, ui});
            written.push_back(t);
        }
        if (fullRace.empty()) fullRace = app.store.RaceIdList[1];
    }
    ~RealTimeFixture() {
        std::error_code ec;
        fs::remove_all(folders.program, ec);
    }
};

RealTimeFixture& fixture() {
    static RealTimeFixture f;
    return f;
}

// Every record of the race's odds session touched once, nothing kept.
int readRecords(JVLink& jv, const std::string& raceId, std::size_t& bytes) {
    SessionState session;
    YesUserInterface ui;
    NullPump pump;
    SystemClock clock;
    return RunSession(session, jv, SessionRequest::realTimeData("0B30", raceId, kReadBufferOdds, true), ui,
                      pump, clock, [&](std::string_view record) {
                          bytes += record.size() + static_cast<unsigned char>(record[record.size() / 2]);
                          return RecordUse::Used;
                      });
}

void BM_ImportOddsOneRace(benchmark::State& state) {
    auto& f = fixture();
    StandinJVLink jv(StandinFolder(f.folders.program), realTimeOptions());
    SessionState session;
    YesUserInterface ui;
    NullPump pump;
    SystemClock clock;
    RealTimeWork work;
    for (auto _ : state) {
        ClearOddsWork(work);
        if (ImportOdds(work.odds, f.fullRace, {session, jv, pump, clock, ui}) != 0 ||
            WriteOddsCache(f.folders, f.fullRace, work.odds) != 0)
            state.SkipWithError("odds import failed");
        benchmark::DoNotOptimize(work.odds.OddsHensachi(1));
    }
}
BENCHMARK(BM_ImportOddsOneRace)->Unit(benchmark::kMillisecond);

// Baseline: the same records read from the stand-in, the same file written.
void BM_ImportOddsOneRaceBaseline(benchmark::State& state) {
    auto& f = fixture();
    StandinJVLink jv(StandinFolder(f.folders.program), realTimeOptions());
    const OddsTables& odds = f.written[f.fullIndex];
    for (auto _ : state) {
        std::size_t bytes = 0;
        if (readRecords(jv, f.fullRace, bytes) != 0 || WriteOddsCache(f.folders, f.fullRace, odds) != 0)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_ImportOddsOneRaceBaseline)->Unit(benchmark::kMillisecond);

// "オッズ一括" over the whole week: every race imported, written and the race
// list walked with progress (no race on show).
void BM_OddsBatchWeek(benchmark::State& state) {
    auto& f = fixture();
    StandinJVLink jv(StandinFolder(f.folders.program), realTimeOptions());
    YesUserInterface ui;
    NullPump pump;
    SystemClock clock;
    for (auto _ : state) {
        if (UpdateAllOdds(f.app, f.model, {jv, ui, pump, clock}) != BatchOutcome::Done)
            state.SkipWithError("batch failed");
    }
    state.counters["races"] = f.app.store.RaceCount;
}
BENCHMARK(BM_OddsBatchWeek)->Unit(benchmark::kMillisecond);

// Baseline: every race's records read from the stand-in and its odds file written.
void BM_OddsBatchWeekBaseline(benchmark::State& state) {
    auto& f = fixture();
    StandinJVLink jv(StandinFolder(f.folders.program), realTimeOptions());
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (int r = 1; r <= f.app.store.RaceCount; ++r) {
            const std::string& id = f.app.store.RaceIdList[r];
            if (readRecords(jv, id, bytes) != 0 ||
                WriteOddsCache(f.folders, id, f.written[static_cast<std::size_t>(r - 1)]) != 0)
                state.SkipWithError("read failed");
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["races"] = f.app.store.RaceCount;
}
BENCHMARK(BM_OddsBatchWeekBaseline)->Unit(benchmark::kMillisecond);

}  // namespace
