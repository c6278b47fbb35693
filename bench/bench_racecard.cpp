// OpenRace of an 18-runner race whose runners have 150 past runs each, in a
// week of about 1,000 runners and 20,000 past runs, with a full odds file and a
// forecast, result and marks file. Baseline: the same per-race files read and
// the race's runner and past-run rows copied out of the store.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "app/race_commands.h"
#include "racecard/race_card.h"
#include "store/race_files.h"
#include "support/synthetic_store.h"
#include "store/weekly_store.h"

namespace {

using namespace veltrix;
namespace fs = std::filesystem;

constexpr int kRaces = 72;
constexpr int kOtherRunners = 14;
constexpr int kOtherRuns = 20;
constexpr int kTargetRace = 36;  // in the middle of the week

std::string raceIdOf(int r) {
    std::string n = std::to_string(r % 12 + 1);
    return "202612" + std::string(r < 36 ? "12" : "13") + "0508" + "0" + std::string(1, char('1' + r / 12)) +
           std::string(2 - n.size(), '0') + n;
}
std::string pastRaceId(int i) {
    std::string n = std::to_string(i);
    return "2025" + std::string(4 - n.size(), '0') + n + "05010101";
}
std::string umaCodeOf(int u) {
    std::string n = std::to_string(u);
    return "2022" + std::string(6 - n.size(), '0') + n;
}

struct RaceCardFixture {
    Application app;
    std::string label;
    std::string raceId;

    RaceCardFixture() {
        app.folders = Folders::under(fs::temp_directory_path() / ("veltrix-bench-card-" + std::to_string(::getpid())));
        fs::create_directories(app.folders.cache);
        Store& s = app.store;
        s.DataMode = "KONSYU";
        s.RaceInfo.resize(kRaces, kRaceInfoCols);
        s.RaceCount = kRaces;
        s.UmaInfo.resize(0, kUmaInfoCols);
        s.HistoryInfo.resize(0, kHistoryInfoCols);
        int uma = 0;
        for (int r = 1; r <= kRaces; ++r) {
            const std::string id = raceIdOf(r);
            const int runners = r == kTargetRace ? 18 : kOtherRunners;
            const int runs = r == kTargetRace ? 150 : kOtherRuns;
            s.RaceInfo.at(r, 1) = id;
            s.RaceInfo.at(r, 2) = std::to_string(runners);
            s.RaceInfo.at(r, 3) = "13";
            s.RaceInfo.at(r, 4) = "005";
            s.RaceInfo.at(r, 5) = "24";
            s.RaceLabel.push_back("2026/12/12 東京 01R 10:05 ダ1600 テスト" + std::string(80, ' ') + id);
            s.RaceIdList.push_back(id);
            for (int h = 1; h <= runners; ++h) {
                const int u = ++s.UmaCount;
                s.UmaInfo.resizeRows(u);
                const std::string code = umaCodeOf(++uma);
                const std::string no = (h < 10 ? "0" : "") + std::to_string(h);
                auto& t = s.UmaInfo;
                t.at(u, 1) = id;
                t.at(u, 2) = code;
                t.at(u, 3) = std::to_string((h + 1) / 2 > 8 ? 8 : (h + 1) / 2);
                t.at(u, 4) = no;
                t.at(u, 5) = "ベンチホース";
                t.at(u, 6) = "牡";
                t.at(u, 7) = "04";
                t.at(u, 8) = "570";
                t.at(u, 9) = "騎手";
                t.at(u, 10) = "調教師";
                for (int c = 14; c <= 23; ++c) t.at(u, c) = "12.5";
                s.UmaKey.push_back(id + no);
                for (int k = 1; k <= runs; ++k) addRun(code, pastRaceId(k), k);
            }
        }
        raceId = raceIdOf(kTargetRace);
        label = s.RaceLabel[kTargetRace];
        writeRaceFiles();
    }
    ~RaceCardFixture() {
        std::error_code ec;
        fs::remove_all(app.folders.program, ec);
    }

    // Past runs are added horse by horse in UmaCode order and date order, so the
    // keys stay sorted as the store keeps them.
    void addRun(const std::string& code, const std::string& past, int k) {
        Store& s = app.store;
        const int h = ++s.HistoryCount;
        s.HistoryInfo.resizeRows(h);
        auto& t = s.HistoryInfo;
        t.at(h, 1) = code;
        t.at(h, 2) = past;
        t.at(h, 3) = "2025/01/05";
        t.at(h, 4) = "ベンチ特別";
        t.at(h, 5) = "サラ３歳以上";
        t.at(h, 8) = "500万";
        t.at(h, 9) = "05";
        t.at(h, 10) = "1600";
        t.at(h, 11) = "ダ";
        t.at(h, 12) = "13";
        t.at(h, 13) = "005";
        t.at(h, 14) = "24";
        t.at(h, 15) = "良";
        t.at(h, 16) = "16";
        t.at(h, 20) = "03";
        t.at(h, 21) = "560";
        t.at(h, 22) = "騎手";
        t.at(h, 23) = "478";
        t.at(h, 24) = "+004";
        t.at(h, 25) = k % 25 == 0 ? "1" : (k % 31 == 0 ? "4" : "0");
        t.at(h, 27) = "03";
        t.at(h, 29) = "05040302";
        t.at(h, 31) = "02";
        t.at(h, 32) = "1";
        t.at(h, 37) = "1";
        for (int c = 33; c <= 42; ++c) t.at(h, c) = std::to_string(45 + (k + c) % 11) + ".5";
        t.at(h, 43) = "ON";
        s.HistoryKey.push_back(code + past);
    }

    void writeRaceFiles() {
        const OddsTables t = test::MakeFullOddsTables();
        WriteOddsCache(app.folders, raceId, t);
        MiningTables m;
        m.MiningKubun = "2";
        for (int h = 1; h <= kHorseMax; ++h) m.MiningHensachi(h) = 40 + h;
        WriteMiningCache(app.folders, raceId, m);
        KekkaTables k;
        k.KekkaKubun = "7";
        for (int h = 1; h <= kHorseMax; ++h) {
            k.KekkaHensachi(h) = 70 - h;
            k.KekkaNyusen(h) = h;
            k.KekkaZenhan(h) = 600 + h;
            k.KekkaAgari(h) = 350 + h % 5;
        }
        WriteKekkaCache(app.folders, raceId, k);
        std::vector<MarkEntry> marks;
        for (int h = 1; h <= kHorseMax; ++h) marks.push_back({umaCodeOf(h), h == 3 ? "◎" : ""});
        WriteMarkCache(app.folders, raceId, marks);
    }
};

RaceCardFixture& fixture() {
    static RaceCardFixture f;
    return f;
}

void BM_OpenRace(benchmark::State& state) {
    auto& f = fixture();
    NullPump pump;
    for (auto _ : state) {
        bool failed = OpenRace(f.app, f.raceId, f.label, pump);
        benchmark::DoNotOptimize(failed);
        if (failed || f.app.raceCard.pastRuns.slotCount(18) == 0) state.SkipWithError("the race did not open");
    }
}
BENCHMARK(BM_OpenRace)->Unit(benchmark::kMillisecond);

// Baseline: the per-race files read and the race's rows copied out of the store.
void BM_OpenRaceBaseline_FilesAndRowCopy(benchmark::State& state) {
    auto& f = fixture();
    const Store& s = f.app.store;
    for (auto _ : state) {
        RaceTables tables;
        RaceFilesRead read = LoadRaceFiles(f.app.folders, f.raceId, tables);
        benchmark::DoNotOptimize(read);
        std::vector<std::string> copied;
        copied.reserve(18 * kUmaInfoCols + 18 * 150 * kHistoryInfoCols);
        int first = FindFirstRunner(s, f.raceId, 1, s.UmaCount);
        for (int u = first; u < first + 18; ++u) {
            for (int c = 1; c <= kUmaInfoCols; ++c) copied.push_back(s.UmaInfo.at(u, c));
            int h = FindFirstHistory(s, s.UmaInfo.at(u, 2), 1, s.HistoryCount);
            for (; h >= 1 && h <= s.HistoryCount && s.HistoryInfo.at(h, 1) == s.UmaInfo.at(u, 2); ++h)
                for (int c = 1; c <= kHistoryInfoCols; ++c) copied.push_back(s.HistoryInfo.at(h, c));
        }
        benchmark::DoNotOptimize(copied.data());
    }
}
BENCHMARK(BM_OpenRaceBaseline_FilesAndRowCopy)->Unit(benchmark::kMillisecond);

}  // namespace
