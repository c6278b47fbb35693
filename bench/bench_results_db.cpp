// The results database build over one year of generated results (about 3,700
// races), against a baseline that reads the same records from the stand-in and
// writes the same bytes into the same files, one open per file. Every run
// writes into a new data folder; the old ones are removed at the end, so the
// file system's work for the deletions does not fall into a measured run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "base/encoding.h"
#include "base/folders.h"
#include "jvlink/results_build.h"
#include "jvlink/standin/standin_jvlink.h"
#include "sample/sample_world.h"

namespace {

using namespace veltrix;
namespace fs = std::filesystem;

StandinOptions benchOptions() {
    StandinOptions o;
    o.simulateDownload = false;
    o.requireInit = false;
    return o;
}

struct YearFixture {
    fs::path root;
    fs::path jvlink;
    // The race files one build writes, in the order it writes them, and the state file.
    std::vector<std::pair<fs::path, std::string>> files;
    std::string databaseInfo;
    int runs = 0;

    YearFixture() {
        root = fs::temp_directory_path() / ("veltrix-bench-results-" + std::to_string(::getpid()));
        jvlink = root / "jvlink";
        sample::SampleOptions options;
        options.resultsYears = 1;
        sample::GenerateSampleWorld(jvlink, options);

        const fs::path data = freshData();
        if (build(data) != 0) throw std::runtime_error("the sample year did not build");
        for (const auto& year : fs::directory_iterator(data)) {
            if (!year.is_directory()) continue;
            std::map<std::string, fs::path> inYear;
            for (const auto& f : fs::directory_iterator(year.path()))
                inYear[f.path().filename().string()] = f.path();
            for (const auto& [name, path] : inYear)
                files.emplace_back(fs::relative(path, data), *ReadFileBytes(path));
        }
        databaseInfo = *ReadFileBytes(data / kDatabaseInfoName);
    }
    ~YearFixture() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    fs::path freshData() {
        const fs::path data = root / ("data" + std::to_string(++runs));
        fs::create_directories(data);
        return data;
    }

    int build(const fs::path& data) const {
        StandinJVLink jv(jvlink, benchOptions());
        YesUserInterface ui;
        NullPump pump;
        SystemClock clock;
        SessionState session;
        ChangeNotifier changes;
        SeisekiBuildContext ctx{data, session, jv, ui, pump, clock, changes};
        return CreateSeisekiDatabase(ctx);
    }
};

YearFixture& fixture() {
    static YearFixture f;
    return f;
}

void setCounters(benchmark::State& state, const YearFixture& f) {
    state.counters["races"] = static_cast<double>(f.files.size());
}

void BM_CreateSeisekiDatabase_OneYear(benchmark::State& state) {
    auto& f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path data = f.freshData();
        state.ResumeTiming();
        if (f.build(data) != 0) state.SkipWithError("build failed");
    }
    setCounters(state, f);
}
BENCHMARK(BM_CreateSeisekiDatabase_OneYear)->Unit(benchmark::kMillisecond)->Iterations(5);

// Baseline: one session over the same stream with every final-result runner
// touched, then each race file's bytes written with one open, and the state file.
void BM_CreateSeisekiDatabase_OneYearBaseline(benchmark::State& state) {
    auto& f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path data = f.freshData();
        state.ResumeTiming();
        StandinJVLink jv(f.jvlink, benchOptions());
        YesUserInterface ui;
        NullPump pump;
        SystemClock clock;
        SessionState session;
        std::size_t sum = 0;
        auto request = SessionRequest::stored("RACE", kSetupStamp, 3, "");
        request.skipUnusedTypes = false;
        RunSession(session, jv, request, ui, pump, clock, [&](std::string_view record) {
            if (record.substr(0, 3) == "SE7")
                for (unsigned char c : record) sum += c;
            return RecordUse::Used;
        });
        benchmark::DoNotOptimize(sum);
        for (const auto& [relative, bytes] : f.files) {
            const fs::path path = data / relative;
            if (!FileExists(path.parent_path())) fs::create_directory(path.parent_path());
            std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "ab"), &std::fclose);
            if (!out || std::fwrite(bytes.data(), 1, bytes.size(), out.get()) != bytes.size())
                state.SkipWithError("write failed");
        }
        if (!WriteFileAtomically(data / kDatabaseInfoName, f.databaseInfo))
            state.SkipWithError("write failed");
    }
    setCounters(state, f);
}
BENCHMARK(BM_CreateSeisekiDatabase_OneYearBaseline)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
