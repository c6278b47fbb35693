#include "betting/betting.h"

#include "betting/kaime_money.h"
#include "racecard/columns.h"

namespace veltrix {

void ResetBetting(Betting& betting) {
    betting.oddsView.clearSelection();
    CrearForm(betting.kaimeList);
}

bool AddKaimeFromOdds(Betting& betting, RaceCard& card, OddsTables& odds, const std::string& code,
                      const std::string& kumiban, const std::string& kingaku, bool redraw) {
    const int o = GetOdds(odds, code, kumiban, code == "2" || code == "5" ? "LOW" : "");
    const bool added = o > 0;
    if (added) AddKaime(betting.kaimeList, card.sheet(kSheetSyuso), code, kumiban, o, kingaku);
    SetKaimeOddsState(odds, code, kumiban, kOddsInBetList);
    if (redraw) RedrawOddsViewOfType(card, odds, betting.oddsView, code);
    return added;
}

void DeleteKaimeFromOdds(Betting& betting, RaceCard& card, OddsTables& odds, const std::string& code,
                         const std::string& kumiban, bool redraw) {
    {
        SheetUpdate batch(betting.kaimeList.fpsKaimeList);
        DeleteKaime(betting.kaimeList, code, kumiban);
        CalculateRate(betting.kaimeList);
    }
    SetKaimeOddsState(odds, code, kumiban, kOddsOnSale);
    if (redraw) RedrawOddsViewOfType(card, odds, betting.oddsView, code);
}

void RestoreKaimeList(Betting& betting, RaceCard& card, RaceTables& tables) {
    KaimeList& list = betting.kaimeList;
    SheetUpdate batch(list.fpsKaimeList);
    for (int r = 1; r <= tables.KaimeData.size() && r <= kKaimeRows; ++r) {
        const KaimeRow& row = tables.KaimeData[r];
        if (row.ShikibetsuCode.empty()) break;
        AddKaimeFromOdds(betting, card, tables.odds, row.ShikibetsuCode, row.Kumiban, row.Kingaku, false);
    }
    CalculateRate(list);
    PutMark(list, card.sheet(kSheetSyuso));
}

std::optional<KaimeCaption> ParseKaimeCaption(const std::string& caption) {
    for (const char* code : {"1", "2", "4", "5", "6", "7", "8"}) {
        const std::string name = KaimeTypeName(code);
        const size_t at = caption.find(name);
        if (at == std::string::npos) continue;
        KaimeCaption k;
        k.ShikibetsuCode = code;
        // Two-digit numbers joined by "-": 2, 5 or 8 characters.
        const size_t length = static_cast<size_t>(3 * KaimeHorseCount(code) - 1);
        const size_t from = at + name.size() + 1;
        for (char c : from <= caption.size() ? caption.substr(from, length) : std::string())
            if (c != '-') k.Kumiban += c;
        if (caption.find("追加") != std::string::npos)
            k.add = true;
        else if (caption.find("削除") == std::string::npos)
            return std::nullopt;
        return k;
    }
    return std::nullopt;
}

bool ToggleKaimeFromCaption(Betting& betting, RaceCard& card, OddsTables& odds, const std::string& caption) {
    auto k = ParseKaimeCaption(caption);
    if (!k) return true;
    SheetUpdate listBatch(betting.kaimeList.fpsKaimeList);
    SheetUpdate cardBatch(card.sheet(kSheetOdds));
    if (k->add)
        AddKaimeFromOdds(betting, card, odds, k->ShikibetsuCode, k->Kumiban, "", true);
    else
        DeleteKaimeFromOdds(betting, card, odds, k->ShikibetsuCode, k->Kumiban, true);
    return false;
}

void RedrawOddsView(Betting& betting, RaceCard& card, OddsTables& odds) {
    PutOdds(betting.kaimeList, odds);
    Sheet& s = card.sheet(kSheetOdds);
    SheetUpdate batch(s);
    ClearOddsView(s);
    betting.oddsView.clearSelection();
    PutOddsView(card, odds, betting.oddsView);
}

}  // namespace veltrix
