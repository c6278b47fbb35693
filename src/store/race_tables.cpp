#include "store/race_tables.h"

#include "base/fields.h"

namespace veltrix {

void OddsTables::clear() {
    OddsCount = 0;
    TansyoOdds.clear();
    FukusyoOdds.clear();
    UmarenOdds.clear();
    WideOdds.clear();
    UmatanOdds.clear();
    SanrenpukuOdds.clear();
    SanrentanOdds.clear();
    OddsHensachi.clear();
    TansyoShijiritsu.clear();
    UmarenShijiritsu.clear();
    UmarenKairi.clear();
    UmatanKairi.clear();
    SanrenpukuKairi.clear();
    SanrentanKairi.clear();
}

void MiningTables::clear() {
    MiningKubun.clear();
    MiningHensachi.clear();
}

void KekkaTables::clear() {
    KekkaKubun.clear();
    KekkaHensachi.clear();
    KekkaNyusen.clear();
    KekkaZenhan.clear();
    KekkaAgari.clear();
}

void RaceTables::clear() {
    odds.clear();
    mining.clear();
    kekka.clear();
    ClearKaimeData(*this);
    ClearMarkList(*this);
}

void ClearKaimeData(RaceTables& tables) {
    tables.KaimeData.clear();
    tables.KaimeData.resize(kKaimeRows);
}

void ClearMarkList(RaceTables& tables) {
    tables.MarkList.clear();
    tables.MarkList.resize(kMarkEntries);
}

int KaimeRowCount(const RaceTables& tables) {
    int n = 0;
    while (n < tables.KaimeData.size() && !tables.KaimeData[n + 1].ShikibetsuCode.empty()) ++n;
    return n;
}

void AddMark(RaceTables& tables, const std::string& umaCode, const std::string& mark) {
    int slot = kMarkEntries;
    for (int i = 1; i < kMarkEntries; ++i) {
        if (tables.MarkList[i].UmaCode.empty()) {
            slot = i;
            break;
        }
    }
    tables.MarkList[slot] = {umaCode, mark};
}

std::optional<int> KumibanHorse(const std::string& kumiban, int n) {
    if (n < 1) return std::nullopt;
    const size_t pos = static_cast<size_t>(n - 1) * 2;
    if (pos + 2 > kumiban.size()) return std::nullopt;
    auto v = ParseInteger(std::string_view(kumiban).substr(pos, 2));
    if (!v || !IsHorseNumber(static_cast<int>(*v))) return std::nullopt;
    return static_cast<int>(*v);
}

int GetOdds(const OddsTables& odds, const std::string& shikibetsuCode, const std::string& kumiban,
            const std::string& selector) {
    int horses = 0;
    if (shikibetsuCode == "1" || shikibetsuCode == "2")
        horses = 1;
    else if (shikibetsuCode == "4" || shikibetsuCode == "5" || shikibetsuCode == "6")
        horses = 2;
    else if (shikibetsuCode == "7" || shikibetsuCode == "8")
        horses = 3;
    else
        return 0;
    int h[3] = {0, 0, 0};
    for (int n = 1; n <= horses; ++n) {
        auto v = KumibanHorse(kumiban, n);
        if (!v) return -1;
        h[n - 1] = *v;
    }
    const bool low = selector == "LOW";
    switch (shikibetsuCode[0]) {
        case '1':
            return odds.TansyoOdds(h[0]).odds;
        case '2': {
            const auto& e = odds.FukusyoOdds(h[0]);
            return low ? e.lowOdds : e.highOdds;
        }
        case '4':
            return odds.UmarenOdds(h[0], h[1]).odds;
        case '5': {
            const auto& e = odds.WideOdds(h[0], h[1]);
            return low ? e.lowOdds : e.highOdds;
        }
        case '6':
            return odds.UmatanOdds(h[0], h[1]).odds;
        case '7':
            return odds.SanrenpukuOdds(h[0], h[1], h[2]).odds;
        default:
            return odds.SanrentanOdds(h[0], h[1], h[2]).odds;
    }
}

int Utf8Length(const std::string& text) {
    int n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace veltrix
