#pragma once
// The per-race tables: odds, data-mining forecast, quick result, bet list and
// marks of the race on show. Horse numbers are 1..18 in every dimension whatever
// the field size; horses that do not run keep the no-data values.
#include <cassert>
#include <optional>
#include <string>
#include <vector>

#include "base/table.h"

namespace veltrix {

inline constexpr int kHorseMax = 18;
inline constexpr int kKaimeRows = 1000;
inline constexpr int kMarkEntries = 300;

inline bool IsHorseNumber(int h) { return h >= 1 && h <= kHorseMax; }

// Odds states as stored in the odds file (and 2 in memory only).
inline constexpr int kOddsNoData = 0;
inline constexpr int kOddsOnSale = 1;
inline constexpr int kOddsCancelled = -2;
inline constexpr int kOddsInBetList = 2;

// One odds entry: odds in tenths (35 = 3.5), -1 without data.
struct OddsEntry {
    int state = kOddsNoData;
    int odds = -1;
    bool operator==(const OddsEntry&) const = default;
};

// Place and wide odds are a range.
struct RangeOddsEntry {
    int lowState = kOddsNoData;
    int lowOdds = -1;
    int highState = kOddsNoData;
    int highOdds = -1;
    bool operator==(const RangeOddsEntry&) const = default;
};

// A table indexed by one, two or three horse numbers, each 1..18; callers check
// numbers that come from outside with IsHorseNumber first.
template <class T, int Rank>
class HorseTable {
    static_assert(Rank >= 1 && Rank <= 3);

public:
    static constexpr int kSize = Rank == 1   ? kHorseMax
                                 : Rank == 2 ? kHorseMax * kHorseMax
                                             : kHorseMax * kHorseMax * kHorseMax;

    explicit HorseTable(T noData = T{}) : noData_(noData), items_(kSize, noData) {}
    void clear() { items_.assign(kSize, noData_); }

    T& operator()(int i) requires(Rank == 1) { return items_[index(i)]; }
    const T& operator()(int i) const requires(Rank == 1) { return items_[index(i)]; }
    T& operator()(int i, int j) requires(Rank == 2) { return items_[index(i, j)]; }
    const T& operator()(int i, int j) const requires(Rank == 2) { return items_[index(i, j)]; }
    T& operator()(int i, int j, int k) requires(Rank == 3) { return items_[index(i, j, k)]; }
    const T& operator()(int i, int j, int k) const requires(Rank == 3) { return items_[index(i, j, k)]; }

    bool operator==(const HorseTable& o) const { return items_ == o.items_; }

private:
    static size_t index(int i) {
        assert(IsHorseNumber(i));
        return static_cast<size_t>(i - 1);
    }
    static size_t index(int i, int j) { return index(i) * kHorseMax + index(j); }
    static size_t index(int i, int j, int k) { return index(i, j) * kHorseMax + index(k); }

    T noData_;
    std::vector<T> items_;
};

// Odds of all bet types with the per-horse odds scores. Also the shape of the
// odds import's working copy, which the odds file is written from.
struct OddsTables {
    int OddsCount = 0;                             // odds records received by the import
    HorseTable<OddsEntry, 1> TansyoOdds;           // win
    HorseTable<RangeOddsEntry, 1> FukusyoOdds;     // place
    HorseTable<OddsEntry, 2> UmarenOdds;           // quinella at (smaller, larger)
    HorseTable<RangeOddsEntry, 2> WideOdds;        // wide at (smaller, larger)
    HorseTable<OddsEntry, 2> UmatanOdds;           // exacta (first, second)
    HorseTable<OddsEntry, 3> SanrenpukuOdds;       // trio at ascending numbers
    HorseTable<OddsEntry, 3> SanrentanOdds;        // trifecta in finishing order
    HorseTable<double, 1> OddsHensachi{-1.0};      // deviation score of the log win odds
    HorseTable<double, 1> TansyoShijiritsu{-1.0};  // implied win probability
    HorseTable<double, 1> UmarenShijiritsu{-1.0};  // half the summed quinella probabilities

    // Value ratios (theoretical / market-implied probability), computed while
    // the odds file is read; -1 where the ratio cannot be computed.
    HorseTable<double, 2> UmarenKairi{-1.0};
    HorseTable<double, 2> UmatanKairi{-1.0};
    HorseTable<double, 3> SanrenpukuKairi{-1.0};
    HorseTable<double, 3> SanrentanKairi{-1.0};

    void clear();
};

// Data-mining forecast.
struct MiningTables {
    std::string MiningKubun;  // "1", "2", "3"; empty without data
    HorseTable<double, 1> MiningHensachi{-1.0};
    void clear();
};

// Quick result.
struct KekkaTables {
    std::string KekkaKubun;  // "5", "6", "7"; empty without data
    HorseTable<double, 1> KekkaHensachi{-1.0};
    HorseTable<int, 1> KekkaNyusen{-1};  // arrival order
    HorseTable<int, 1> KekkaZenhan{-1};  // time before the last 3 furlongs, tenths of a second
    HorseTable<int, 1> KekkaAgari{-1};   // last 3 furlongs, tenths of a second
    void clear();
};

// One bet of the bet list; an empty ShikibetsuCode ends the list.
struct KaimeRow {
    std::string ShikibetsuCode;  // "1" win ... "8" trifecta; there is no "3"
    std::string Kumiban;         // two-digit horse numbers concatenated
    std::string Kingaku;         // stake in yen, digits only
    bool operator==(const KaimeRow&) const = default;
};

// One mark; an entry with an empty UmaCode is free.
struct MarkEntry {
    std::string UmaCode;
    std::string Mark;  // at most one character
    bool operator==(const MarkEntry&) const = default;
};

struct RaceTables {
    OddsTables odds;
    MiningTables mining;
    KekkaTables kekka;
    Array1<KaimeRow> KaimeData{kKaimeRows};
    Array1<MarkEntry> MarkList{kMarkEntries};

    void clear();
};

void ClearKaimeData(RaceTables& tables);
void ClearMarkList(RaceTables& tables);

// Number of bet rows: rows before the first one with an empty ShikibetsuCode.
int KaimeRowCount(const RaceTables& tables);

// Stores the pair in the first free entry among 1..299, or overwrites entry 300.
void AddMark(RaceTables& tables, const std::string& umaCode, const std::string& mark);

// Odds in tenths of one bet; horse numbers from characters 1-2, 3-4 and 5-6 of
// kumiban. For place and wide, selector "LOW" gives the low odds and anything
// else the high odds. A type code that is no bet type gives 0; a non-numeric or
// out-of-range horse number gives -1.
int GetOdds(const OddsTables& odds, const std::string& shikibetsuCode, const std::string& kumiban,
            const std::string& selector);

// Horse number n (1..3) of a combination: characters 2n-1 and 2n of kumiban;
// nullopt when they are missing, not a number or not 1..18.
std::optional<int> KumibanHorse(const std::string& kumiban, int n);

// Number of characters of UTF-8 text.
int Utf8Length(const std::string& text);

}  // namespace veltrix
