#include "jvlink/realtime_import.h"

#include <array>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "store/race_files.h"

namespace veltrix {

namespace {

// Fixed return ratios the market-implied probabilities are taken with.
constexpr double kWinReturn = 0.788;
constexpr double kCombinationReturn = 0.738;

// Odds stored for zero odds (no votes), by the width of the bet type's field.
constexpr int kNoVotesWin = 9999;
constexpr int kNoVotesCombination = 999999;  // quinella, exacta, trio
constexpr int kNoVotesWide = 99999;
constexpr int kNoVotesTrifecta = 9999999;

constexpr std::string_view kMiningKubun = "123";
constexpr std::string_view kKekkaKubun = "567";
constexpr int kKekkaHorsesMax = 18;  // the quick result reads no further

// A JV-Data number: digits only. Blank slots, dashes and asterisks are not.
std::optional<long long> number(std::string_view text) {
    if (text.empty() || text.size() > 18) return std::nullopt;
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

std::optional<int> horse(std::string_view text) {
    auto v = number(text);
    if (!v || !IsHorseNumber(static_cast<int>(*v))) return std::nullopt;
    return static_cast<int>(*v);
}

// The horse numbers of a combination of n two-digit numbers; nullopt unless all are 1..18.
std::optional<std::array<int, 3>> combination(std::string_view text, int n) {
    if (text.size() != static_cast<std::size_t>(2 * n)) return std::nullopt;
    std::array<int, 3> h{0, 0, 0};
    for (int i = 0; i < n; ++i) {
        auto v = horse(text.substr(static_cast<std::size_t>(2 * i), 2));
        if (!v) return std::nullopt;
        h[static_cast<std::size_t>(i)] = *v;
    }
    return h;
}

// The bet was withdrawn from sale: the odds text begins with "-" or "*".
bool cancelled(std::string_view text) { return !text.empty() && (text[0] == '-' || text[0] == '*'); }

// Odds in tenths with zero (no votes) raised to the all-nines value.
int oddsValue(long long n, int noVotes) { return n < 1 ? noVotes : static_cast<int>(n); }

// One odds entry of a combination bet.
void takeOdds(OddsEntry& entry, std::string_view text, int noVotes) {
    if (auto n = number(text))
        entry = {kOddsOnSale, oddsValue(*n, noVotes)};
    else if (cancelled(text))
        entry.state = kOddsCancelled;
}

// The market-implied probability (×10, as the tables keep it) of odds N in
// tenths. Odds of 1 (N − 1 = 0) imply no probability: nullopt.
std::optional<double> implied(double returnRatio, int odds) {
    if (odds <= 1) return std::nullopt;
    return returnRatio / (odds - 1) * 10.0;
}

// Deviation scores of the values at the indices given; nullopt with fewer than
// two values. Every value scores 50 when they are all equal (no spread), where
// the formula would divide by zero.
struct Spread {
    double mean = 0;
    double sd = 0;
    double z(double v) const { return sd > 0 ? (v - mean) / sd : 0.0; }
};
std::optional<Spread> spreadOf(const std::vector<double>& values) {
    if (values.size() < 2) return std::nullopt;
    double sum = 0;
    for (double v : values) sum += v;
    Spread s;
    s.mean = sum / static_cast<double>(values.size());
    double sq = 0;
    for (double v : values) sq += (v - s.mean) * (v - s.mean);
    s.sd = std::sqrt(sq / static_cast<double>(values.size() - 1));
    return s;
}

bool inSet(const std::string& kubun, std::string_view set) {
    return kubun.size() == 1 && set.find(kubun[0]) != std::string_view::npos;
}

}  // namespace

// ---- working copies ----

void ClearOddsWork(RealTimeWork& work) { work.odds.clear(); }

void ClearMiningWork(RealTimeWork& work) {
    work.mining.MiningTables::clear();
    work.mining.MiningTime.clear();
}

void ClearKekkaWork(RealTimeWork& work) {
    work.kekka.KekkaTables::clear();
    work.kekka.KekkaTime.clear();
}

void ApplyOddsWork(const RealTimeWork& work, OddsTables& odds) {
    odds = work.odds;
    ComputeValueRatios(odds);
}

void ApplyMiningWork(const RealTimeWork& work, MiningTables& mining) {
    mining = static_cast<const MiningTables&>(work.mining);
}

void ApplyKekkaWork(const RealTimeWork& work, KekkaTables& kekka) {
    kekka = static_cast<const KekkaTables&>(work.kekka);
}

bool IsMiningKubun(const std::string& kubun) { return inSet(kubun, kMiningKubun); }
bool IsKekkaKubun(const std::string& kubun) { return inSet(kubun, kKekkaKubun); }

// ---- odds records ----

void TakeO1(OddsTables& w, const O1Record& r) {
    // x(h) = −ln(p(h)) of every horse with a win probability; 0 for the others.
    std::array<double, kHorseMax + 1> x{};
    for (std::size_t i = 0; i < kWinEntries; ++i) {
        auto h = horse(r.win[i].horseNumber);
        if (!h) continue;
        const std::string& text = r.win[i].odds;
        RangeOddsEntry& place = w.FukusyoOdds(*h);
        if (auto n = number(text)) {
            const int odds = oddsValue(*n, kNoVotesWin);
            w.TansyoOdds(*h) = {kOddsOnSale, odds};
            if (auto p = implied(kWinReturn, odds)) {
                x[static_cast<std::size_t>(*h)] = -std::log(*p / 10.0);
                w.TansyoShijiritsu(*h) = *p;
            }
            // The place entry in the same slot.
            auto low = number(r.place[i].lowOdds);
            auto high = number(r.place[i].highOdds);
            place.lowState = place.highState = kOddsOnSale;
            if (low && *low > 0 && high && *high != 0) {
                place.lowOdds = static_cast<int>(*low);
                place.highOdds = static_cast<int>(*high);
            } else {
                place.lowOdds = place.highOdds = kNoVotesWin;
            }
        } else if (cancelled(text)) {
            w.TansyoOdds(*h).state = kOddsCancelled;
            place.lowState = place.highState = kOddsCancelled;
        }
    }
    // Lower odds score higher.
    std::vector<double> scored;
    for (int h = 1; h <= kHorseMax; ++h)
        if (x[static_cast<std::size_t>(h)] > 0) scored.push_back(x[static_cast<std::size_t>(h)]);
    auto s = spreadOf(scored);
    if (!s) return;
    for (int h = 1; h <= kHorseMax; ++h)
        if (x[static_cast<std::size_t>(h)] > 0)
            w.OddsHensachi(h) = 50 - 10 * s->z(x[static_cast<std::size_t>(h)]);
}

void TakeO2(OddsTables& w, const O2Record& r) {
    std::array<double, kHorseMax + 1> sum{};
    for (const ComboOddsEntry& e : r.entries) {
        auto c = combination(e.combination, 2);
        if (!c) continue;
        OddsEntry& entry = w.UmarenOdds((*c)[0], (*c)[1]);
        takeOdds(entry, e.odds, kNoVotesCombination);
        if (!number(e.odds)) continue;
        if (auto q = implied(kCombinationReturn, entry.odds)) {
            sum[static_cast<std::size_t>((*c)[0])] += *q;
            sum[static_cast<std::size_t>((*c)[1])] += *q;
        }
    }
    for (int h = 1; h <= kHorseMax; ++h)
        if (sum[static_cast<std::size_t>(h)] > 0)
            w.UmarenShijiritsu(h) = sum[static_cast<std::size_t>(h)] / 2;
}

void TakeO3(OddsTables& w, const O3Record& r) {
    for (const WideEntry& e : r.entries) {
        auto c = combination(e.combination, 2);
        if (!c) continue;
        RangeOddsEntry& entry = w.WideOdds((*c)[0], (*c)[1]);
        auto low = number(e.lowOdds);
        auto high = number(e.highOdds);
        if (low && high) {
            entry.lowState = entry.highState = kOddsOnSale;
            const bool noVotes = *low < 1 || *high < 1;
            entry.lowOdds = noVotes ? kNoVotesWide : static_cast<int>(*low);
            entry.highOdds = noVotes ? kNoVotesWide : static_cast<int>(*high);
        } else if (cancelled(e.lowOdds) || cancelled(e.highOdds)) {
            entry.lowState = entry.highState = kOddsCancelled;
        }
    }
}

void TakeO4(OddsTables& w, const O4Record& r) {
    for (const ComboOddsEntry& e : r.entries)
        if (auto c = combination(e.combination, 2))
            takeOdds(w.UmatanOdds((*c)[0], (*c)[1]), e.odds, kNoVotesCombination);
}

void TakeO5(OddsTables& w, const O5Record& r) {
    for (const ComboOddsEntry& e : r.entries)
        if (auto c = combination(e.combination, 3))
            takeOdds(w.SanrenpukuOdds((*c)[0], (*c)[1], (*c)[2]), e.odds, kNoVotesCombination);
}

void TakeO6(OddsTables& w, const O6Record& r) {
    for (const ComboOddsEntry& e : r.entries)
        if (auto c = combination(e.combination, 3))
            takeOdds(w.SanrentanOdds((*c)[0], (*c)[1], (*c)[2]), e.odds, kNoVotesTrifecta);
}

// ---- data mining ----

bool TakeDM(MiningWork& w, const DmRecord& r, const std::string& raceId) {
    if (r.raceId() != raceId) return false;
    w.MiningKubun = r.dataCategory;
    std::vector<double> times;
    for (const MiningEntry& e : r.entries) {
        auto h = horse(e.horseNumber);
        auto t = number(e.time);
        if (!h || !t || e.time.size() != 5) continue;
        // m ss ff: minutes, then seconds and hundredths read as one number.
        const int time = static_cast<int>(*t / 10000 * 6000 + *t % 10000);
        w.MiningTime(*h) = time;
        if (time > 0) times.push_back(time);
    }
    auto s = spreadOf(times);
    if (!s) return true;
    // A faster forecast scores higher.
    for (int h = 1; h <= kHorseMax; ++h)
        if (w.MiningTime(h) > 0) w.MiningHensachi(h) = 50 - 10 * s->z(w.MiningTime(h));
    return true;
}

// ---- quick result ----

bool TakeSE(KekkaWork& w, const SeRecord& r, const std::string& raceId) {
    if (!IsKekkaKubun(r.dataCategory) || r.raceId() != raceId) return false;
    w.KekkaKubun = r.dataCategory;
    auto h = horse(r.horseNumber);
    auto t = number(r.raceTime);
    if (!h || !t || r.raceTime.size() != 4) return false;
    // m ss f: minutes, then seconds and tenths read as one number.
    const int time = static_cast<int>(*t / 1000 * 600 + *t % 1000);
    if (time == 0) {
        w.KekkaTime(*h) = 0;
        w.KekkaNyusen(*h) = 0;
        return false;
    }
    w.KekkaTime(*h) = time;
    auto order = number(r.arrivalOrder);
    w.KekkaNyusen(*h) = order ? static_cast<int>(*order) : -1;
    auto last3 = number(r.last3F);
    if (last3 && *last3 > 0 && *last3 < 999) {
        w.KekkaAgari(*h) = static_cast<int>(*last3);
        w.KekkaZenhan(*h) = time - static_cast<int>(*last3);
    }
    return true;
}

void ScoreKekka(KekkaWork& w) {
    if (!IsKekkaKubun(w.KekkaKubun)) return;
    std::vector<double> times;
    for (int h = 1; h <= kHorseMax; ++h)
        if (w.KekkaTime(h) > 0) times.push_back(w.KekkaTime(h));
    auto s = spreadOf(times);
    if (!s) return;
    for (int h = 1; h <= kHorseMax; ++h) {
        if (w.KekkaTime(h) > 0)
            w.KekkaHensachi(h) = 50 - 10 * s->z(w.KekkaTime(h));
        else if (w.KekkaTime(h) == 0)
            w.KekkaHensachi(h) = 0;
    }
}

// ---- sessions ----

namespace {

int runRealTime(const RealTimeSession& s, const char* dataSpec, const std::string& raceId, int bufferSize,
                bool skipUnusedTypes, const RecordHandler& onRecord) {
    return RunSession(s.state, s.jv,
                      SessionRequest::realTimeData(dataSpec, raceId, bufferSize, skipUnusedTypes), s.ui,
                      s.pump, s.clock, onRecord);
}

// Parses an odds record of its type and adds it when it belongs to the race.
enum class OddsTaken { Taken, OtherRace, Damaged };
template <class Parse, class Take>
OddsTaken takeOddsRecord(OddsTables& work, std::string_view record, const std::string& raceId, Parse parse,
                         Take take) {
    auto parsed = parse(record);
    if (!parsed) return OddsTaken::Damaged;
    if (parsed->raceId() != raceId) return OddsTaken::OtherRace;
    take(work, *parsed);
    return OddsTaken::Taken;
}

}  // namespace

int ImportOdds(OddsTables& work, const std::string& raceId, const RealTimeSession& session) {
    return runRealTime(session, "0B30", raceId, kReadBufferOdds, true, [&](std::string_view record) {
        auto type = RecordTypeOf(record);
        if (!type) return RecordUse::Unused;
        OddsTaken taken = OddsTaken::OtherRace;
        switch (*type) {
            case RecordType::O1:
                taken = takeOddsRecord(work, record, raceId, ParseO1, TakeO1);
                break;
            case RecordType::O2:
                taken = takeOddsRecord(work, record, raceId, ParseO2, TakeO2);
                break;
            case RecordType::O3:
                taken = takeOddsRecord(work, record, raceId, ParseO3, TakeO3);
                break;
            case RecordType::O4:
                taken = takeOddsRecord(work, record, raceId, ParseO4, TakeO4);
                break;
            case RecordType::O5:
                taken = takeOddsRecord(work, record, raceId, ParseO5, TakeO5);
                break;
            case RecordType::O6:
                taken = takeOddsRecord(work, record, raceId, ParseO6, TakeO6);
                break;
            default:
                return RecordUse::Unused;
        }
        // The count says which odds kinds the race has; a record that could not
        // be used adds none.
        if (taken == OddsTaken::Damaged) return RecordUse::Damaged;
        if (taken == OddsTaken::Taken) ++work.OddsCount;
        return RecordUse::Used;
    });
}

int ImportMining(MiningWork& work, const std::string& raceId, const RealTimeSession& session) {
    return runRealTime(session, "0B13", raceId, kReadBufferMining, true, [&](std::string_view record) {
        if (RecordTypeOf(record) != RecordType::DM) return RecordUse::Unused;
        auto dm = ParseDM(record);
        if (!dm) return RecordUse::Damaged;
        // Only the first forecast of the race counts.
        if (TakeDM(work, *dm, raceId)) return RecordUse::Last;
        return RecordUse::Used;
    });
}

int ImportKekka(KekkaWork& work, const std::string& raceId, const RealTimeSession& session) {
    int counted = 0;
    int result = runRealTime(session, "0B12", raceId, kReadBufferStored, false, [&](std::string_view record) {
        if (RecordTypeOf(record) != RecordType::SE) return RecordUse::Unused;
        auto se = ParseSE(record);
        if (!se) return RecordUse::Damaged;
        if (TakeSE(work, *se, raceId) && ++counted >= kKekkaHorsesMax) return RecordUse::Last;
        return RecordUse::Used;
    });
    if (result == 0) ScoreKekka(work);
    return result;
}

}  // namespace veltrix
