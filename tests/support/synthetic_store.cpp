#include "support/synthetic_store.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace veltrix::test {
namespace {

// Small fixed generator: the same seed gives the same week on every platform.
class Lcg {
public:
    explicit Lcg(int seed) : state_(static_cast<std::uint64_t>(seed) * 2654435761u + 1) {}
    int below(int n) {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<int>((state_ >> 33) % static_cast<std::uint64_t>(n));
    }
    template <class T, size_t N>
    const T& pick(const std::array<T, N>& a) {
        return a[static_cast<size_t>(below(static_cast<int>(N)))];
    }

private:
    std::uint64_t state_;
};

std::string digits(int value, int width) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*d", width, value);
    return buf;
}

const std::array<const char*, 12> kKana = {"サクラ",   "メジロ",       "キング",   "ゴールド",
                                           "シンボリ", "ダイワ",       "トウカイ", "ナリタ",
                                           "マチカネ", "ヴィクトリー", "パール",   "ガーネット"};
const std::array<const char*, 8> kKanji = {"武豊",     "横山典弘", "岩田康誠", "藤田伸二",
                                           "安藤勝己", "柴田善臣", "蛯名正義", "福永祐一"};
// Race names stay as they are through the past-run name cleaning.
const std::array<const char*, 10> kRaceNames = {
    "有馬記念", "ジャパンカップ", "３歳未勝利",      "ＧⅠ 天皇賞", "中山金杯", "ダービー卿ＣＴ",
    "",         "朝日杯ＦＳ",     "京成杯 オータム", "パドック賞"};
const std::array<const char*, 4> kSex = {"牡", "牝", "ｾﾝ", "牡"};

struct PastRun {
    std::string key;
    std::array<std::string, 43> cells;
};

}  // namespace

Store MakeSyntheticStore(int seed) {
    Lcg rng(seed);
    Store s;
    s.DataMode = "KONSYU";
    const std::array<const char*, 3> courses = {"06", "08", "10"};
    const std::array<const char*, 2> dates = {"20260103", "20260104"};

    s.RaceCount = 72;
    s.RaceInfo.resize(s.RaceCount, kRaceInfoCols);
    s.RaceLabel.resize(s.RaceCount);
    s.RaceIdList.resize(s.RaceCount);
    std::vector<std::array<std::string, 12>> runners;
    std::vector<PastRun> past;
    past.reserve(72 * 18 * 40);
    int horseSerial = 0;
    int row = 0;
    for (const char* date : dates) {
        for (const char* course : courses) {
            for (int raceNo = 1; raceNo <= 12; ++raceNo) {
                ++row;
                const std::string id =
                    std::string(date) + course + "01" + (date[7] == '3' ? "01" : "02") + digits(raceNo, 2);
                const int field = 10 + rng.below(9);
                const bool turf = rng.below(2) == 0;
                const std::string distance = digits(1000 + 200 * rng.below(10), 4);
                s.RaceInfo.at(row, 1) = id;
                s.RaceInfo.at(row, 2) = digits(field, 2);
                s.RaceInfo.at(row, 3) = "13";
                s.RaceInfo.at(row, 4) = "703";
                s.RaceInfo.at(row, 5) = turf ? "11" : "24";
                s.RaceIdList[row] = id;
                const std::string dateText =
                    std::string(date, 4) + "/" + std::string(date + 4, 2) + "/" + std::string(date + 6, 2);
                const std::string courseName = course[1] == '6' ? "中山" : course[1] == '8' ? "京都" : "小倉";
                s.RaceLabel[row] = dateText + " " + courseName + " " + digits(raceNo, 2) + "R " +
                                   digits(9 + raceNo / 2, 2) + ":" + digits(raceNo % 2 * 30, 2) + " " +
                                   (turf ? "芝" : "ダ") + distance + " " + "サラ３歳以上 未勝利" +
                                   std::string(80, ' ') + id;

                for (int h = 1; h <= field; ++h) {
                    ++horseSerial;
                    const std::string umaCode =
                        digits(2021 + horseSerial % 3, 4) + digits(100000 + horseSerial * 7, 6);
                    std::array<std::string, 12> r;
                    r[0] = id;
                    r[1] = umaCode;
                    r[2] = std::to_string((h + 1) / 2 > 8 ? 8 : (h + 1) / 2);
                    r[3] = digits(h, 2);
                    r[4] = std::string(rng.pick(kKana)) + rng.pick(kKana);
                    r[5] = rng.pick(kSex);
                    r[6] = digits(3 + rng.below(5), 2);
                    r[7] = digits(540 + 10 * rng.below(5), 3);
                    r[8] = rng.pick(kKanji);
                    r[9] = rng.pick(kKanji);
                    r[10] = digits(rng.below(100000), 5);
                    r[11] = digits(rng.below(100000), 5);
                    runners.push_back(r);

                    const int runs = 20 + rng.below(21);
                    for (int k = 0; k < runs; ++k) {
                        PastRun p;
                        auto& c = p.cells;
                        const int year = 2020 + k / 12;
                        const int month = 1 + k % 12;
                        const int day = 1 + rng.below(28);
                        // Mostly central courses; some local ones and jump races.
                        const int pick = rng.below(20);
                        const std::string pastCourse = pick == 0 ? "44" : digits(1 + rng.below(10), 2);
                        const bool jump = pick == 1;
                        const std::string abnormal = pick == 2   ? std::to_string(1 + rng.below(4))
                                                     : pick == 3 ? "5"
                                                                 : "0";
                        const std::string pastId = digits(year, 4) + digits(month, 2) + digits(day, 2) +
                                                   pastCourse + "0" + std::to_string(1 + rng.below(5)) + "0" +
                                                   std::to_string(1 + rng.below(8)) +
                                                   digits(1 + rng.below(12), 2);
                        c[0] = umaCode;
                        c[1] = pastId;
                        c[2] = digits(year, 4) + "/" + digits(month, 2) + "/" + digits(day, 2);
                        c[3] = rng.pick(kRaceNames);
                        c[4] = "サラ３歳以上";
                        c[5] = "A24";
                        c[6] = std::to_string(1 + rng.below(4));
                        c[7] = "未勝利";
                        c[8] = pastCourse;
                        c[9] = digits(1000 + 200 * rng.below(10), 4);
                        c[10] = jump ? "障" : rng.below(2) ? "芝" : "ダ";
                        c[11] = "13";
                        c[12] = "703";
                        c[13] = jump ? "51" : "11";
                        c[14] = std::array<const char*, 4>{"良", "稍", "重",
                                                           "不"}[static_cast<size_t>(rng.below(4))];
                        c[15] = digits(8 + rng.below(11), 2);
                        c[16] = std::to_string(1 + rng.below(8));
                        c[17] = digits(1 + rng.below(18), 2);
                        c[18] = r[5];
                        c[19] = digits(2 + k / 12, 2);
                        c[20] = digits(540 + 10 * rng.below(5), 3);
                        c[21] = rng.pick(kKanji);
                        c[22] = digits(440 + rng.below(80), 3);
                        c[23] = std::string(rng.below(2) ? "+" : "-") + digits(rng.below(20), 3);
                        c[24] = abnormal;
                        c[25] = digits(1 + rng.below(18), 2);
                        c[26] = c[25];
                        c[27] = digits(1100 + rng.below(1000), 4);
                        c[28] = digits(1 + rng.below(18), 2) + digits(1 + rng.below(18), 2) +
                                digits(1 + rng.below(18), 2) + digits(1 + rng.below(18), 2);
                        c[29] = digits(10 + rng.below(3000), 4);
                        c[30] = digits(1 + rng.below(18), 2);
                        c[42] = (pick <= 2) ? "OUT" : "ON";
                        p.key = c[0] + c[1];
                        past.push_back(std::move(p));
                    }
                }
            }
        }
    }

    s.UmaCount = static_cast<int>(runners.size());
    s.UmaInfo.resize(s.UmaCount, kUmaInfoCols);
    s.UmaKey.resize(s.UmaCount);
    for (int r = 1; r <= s.UmaCount; ++r) {
        for (int c = 1; c <= 12; ++c)
            s.UmaInfo.at(r, c) = runners[static_cast<size_t>(r - 1)][static_cast<size_t>(c - 1)];
        s.UmaKey[r] = s.UmaInfo.at(r, 1) + s.UmaInfo.at(r, 4);
    }

    // Past runs in HistoryKey order, as the import writes them.
    std::vector<size_t> order(past.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return past[a].key < past[b].key; });
    s.HistoryCount = static_cast<int>(past.size());
    s.HistoryInfo.resize(s.HistoryCount, kHistoryInfoCols);
    s.HistoryKey.resize(s.HistoryCount);
    for (int r = 1; r <= s.HistoryCount; ++r) {
        auto& p = past[order[static_cast<size_t>(r - 1)]];
        for (int c = 1; c <= kHistoryInfoCols; ++c)
            s.HistoryInfo.at(r, c) = std::move(p.cells[static_cast<size_t>(c - 1)]);
        s.HistoryKey[r] = std::move(p.key);
    }
    return s;
}

OddsTables MakeFullOddsTables() {
    OddsTables t;
    t.OddsCount = 6;
    for (int h = 1; h <= kHorseMax; ++h) {
        t.TansyoOdds(h) = {1, 15 + 37 * h};
        t.FukusyoOdds(h) = {1, 11 + 3 * h, 1, 14 + 9 * h};
        t.TansyoShijiritsu(h) = 0.788 / (t.TansyoOdds(h).odds - 1) * 10;
        t.OddsHensachi(h) = 65.0 - 1.7 * h;
        t.UmarenShijiritsu(h) = 0.3 / h;
    }
    for (int i = 1; i <= kHorseMax; ++i)
        for (int j = 1; j <= kHorseMax; ++j) {
            if (i < j) t.UmarenOdds(i, j) = {1, 40 * i * j};
            if (i < j) t.WideOdds(i, j) = {1, 12 * i * j, 1, 20 * i * j};
            if (i != j) t.UmatanOdds(i, j) = {1, 75 * i * j};
            for (int k = 1; k <= kHorseMax; ++k) {
                if (i < j && j < k) t.SanrenpukuOdds(i, j, k) = {1, 90 * i * j * k};
                if (i != j && j != k && i != k) t.SanrentanOdds(i, j, k) = {1, 500 * i * j * k};
            }
        }
    return t;
}

}  // namespace veltrix::test
