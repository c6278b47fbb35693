// Calculate of an 18-runner race whose runners have 150 past runs each, with
// the palette as opening the race sets it and a quick result on the odds
// sheet. Baseline: one pass over the same PastRuns fields, reading the figures
// as numbers (with the reader the calculation uses) and summing them.
#include <benchmark/benchmark.h>

#include <charconv>
#include <chrono>
#include <string>

#include "base/format.h"
#include "engine/calculation.h"
#include "racecard/columns.h"
#include "racecard/race_card.h"

namespace {

using namespace veltrix;

constexpr int kRunners = 18;

std::string dateText(std::chrono::sys_days d) {
    const std::chrono::year_month_day ymd(d);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d/%02u/%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return buf;
}

struct EngineFixture {
    RaceCard card;
    SelectPalette palette;
    Settings settings;
    Conditions conditions;

    EngineFixture() {
        card.lblRace = "2026/12/12 東京 11R 15:40 ダ1600 ベンチ" + std::string(80, ' ') + "2026121205081011";
        card.RaceTrackCode = "24";
        card.RaceSyubetsuCode = "13";
        card.RaceJyokenCode = "005";
        for (Sheet& s : card.sheets) s.setRowCount(kRunners);
        card.pastRuns.reset(kRunners);
        static const char* const courses[] = {"東京", "中山", "京都", "阪神", "新潟", "札幌", "小倉"};
        static const char* const distances[] = {"1400", "1600", "1700", "1800", "1200", "2100"};
        static const char* const goings[] = {"良", "稍", "重", "不"};
        const auto first = std::chrono::sys_days(std::chrono::year(2025) / 8 / 1);
        for (int r = 1; r <= kRunners; ++r) {
            for (Sheet& s : card.sheets) s.setNumber(RowNo(r), card::kNo, r, std::to_string(r));
            card.sheet(kSheetOdds).setNumber(RowNo(r), sheet3::kKekkaNyusen, (r * 7) % kRunners + 1);
            for (int l = 1; l <= kPastRunSlots; ++l) {
                auto put = [&](int field, std::string v) { card.pastRuns.at(r, l, field) = std::move(v); };
                put(run::kDate, dateText(first + std::chrono::days(3 * l)));
                put(run::kJyokenName, "500万");
                put(run::kCourse, courses[(r + l) % 7]);
                put(run::kTrack, l % 9 == 0 ? "芝" : "ダ");
                put(run::kKyori, distances[(r * 3 + l) % 6]);
                put(run::kBaba, goings[l % 4]);
                put(run::kJyuni, std::to_string((r + l) % 14 + 1));
                put(run::kAge, "04");
                put(run::kValidity, l % 17 == 0 ? "OUT" : "ON");
                for (int f = run::kRL; f <= run::kRIndex; ++f)
                    put(f, FormatNumber(40 + (r * 13 + l * 7 + f) % 23 + 0.5, "##.0"));
            }
        }
        SetSelect(palette, card.lblRace, "KONSYU");
        settings.Kikan = 600;
        settings.KyoriWeight = {10, 20, 30, 50, 30, 20, 10};
        settings.RaceLevel = 0.3;
        settings.RaceZenhan = 0.4;
        settings.RaceKouhan = 0.6;
        settings.Pace = 0.1;
    }
};

EngineFixture& fixture() {
    static EngineFixture f;
    return f;
}

void BM_Calculate(benchmark::State& state) {
    auto& f = fixture();
    for (auto _ : state) {
        CalculateRace(f.card, f.palette, f.settings, f.conditions, "KONSYU");
        benchmark::DoNotOptimize(f.card.lblScoreValue[2].data());
    }
    if (f.card.sheet(kSheetSyuso).text(RowNo(kRunners), sheet1::kRL).empty() ||
        f.card.lblScoreValue[2].empty())
        state.SkipWithError("the race was not calculated");
}
BENCHMARK(BM_Calculate)->Unit(benchmark::kMillisecond);

// Baseline: the run figures, dates and flags the calculation reads, read once and summed.
void BM_CalculateBaseline_SumPastRunFields(benchmark::State& state) {
    auto& f = fixture();
    const PastRuns& runs = f.card.pastRuns;
    for (auto _ : state) {
        double sum = 0;
        size_t chars = 0;
        for (int r = 1; r <= kRunners; ++r)
            for (int l = 1; l <= runs.slotCount(r); ++l) {
                for (int field :
                     {run::kDate, run::kCourse, run::kTrack, run::kKyori, run::kBaba, run::kValidity})
                    chars += runs.at(r, l, field).size();
                for (int field = run::kRL; field <= run::kRIndex; ++field) {
                    const std::string& t = runs.at(r, l, field);
                    double v = 0;
                    std::from_chars(t.data() + (t.starts_with('+') ? 1 : 0), t.data() + t.size(), v);
                    sum += v;
                }
            }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(chars);
    }
}
BENCHMARK(BM_CalculateBaseline_SumPastRunFields)->Unit(benchmark::kMillisecond);

}  // namespace
