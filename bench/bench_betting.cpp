// The odds view redrawn for an axis: win, place, quinella, wide, exacta, the
// trio composite and all six trifecta composites over a full 18-runner odds
// file. Baseline: one pass over the same 4,896 trifecta entries.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "betting/odds_view.h"
#include "racecard/race_card.h"
#include "store/race_files.h"
#include "support/synthetic_store.h"

namespace {

using namespace veltrix;
namespace fs = std::filesystem;

struct OddsViewFixture {
    RaceCard card;
    OddsTables odds;
    OddsView view;

    OddsViewFixture() {
        // Through the odds file, so the value ratios are those a race load computes.
        const Folders folders =
            Folders::under(fs::temp_directory_path() / ("veltrix-bench-odds-" + std::to_string(::getpid())));
        fs::create_directories(folders.cache);
        const std::string raceId = "2026121206050309";
        WriteOddsCache(folders, raceId, test::MakeFullOddsTables());
        ReadOddsCache(folders, raceId, odds);
        fs::remove_all(folders.program);
        Sheet& s = card.sheet(kSheetOdds);
        s.setRowCount(kHorseMax);
        for (int h = 1; h <= kHorseMax; ++h) s.setNumber(RowNo(h), card::kNo, h, std::to_string(h));
        card.OddsUmaban = "7";
    }
};

void BM_PutOddsView(benchmark::State& state) {
    OddsViewFixture f;
    for (auto _ : state) {
        PutOddsView(f.card, f.odds, f.view);
        benchmark::DoNotOptimize(f.card.sheet(kSheetOdds).revision());
    }
}
BENCHMARK(BM_PutOddsView)->Unit(benchmark::kMillisecond);

void BM_PutOddsView_Baseline_TrifectaPass(benchmark::State& state) {
    OddsViewFixture f;
    for (auto _ : state) {
        double sum = 0;
        int entries = 0;
        for (int i = 1; i <= kHorseMax; ++i)
            for (int j = 1; j <= kHorseMax; ++j)
                for (int k = 1; k <= kHorseMax; ++k) {
                    const OddsEntry& e = f.odds.SanrentanOdds(i, j, k);
                    if (e.state == kOddsOnSale && e.odds > 0) {
                        sum += 1.0 / e.odds;
                        ++entries;
                    }
                }
        benchmark::DoNotOptimize(sum);
        state.counters["entries"] = entries;
    }
}
BENCHMARK(BM_PutOddsView_Baseline_TrifectaPass)->Unit(benchmark::kMillisecond);

}  // namespace
