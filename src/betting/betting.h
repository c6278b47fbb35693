#pragma once
// The betting state of the race on show and the routines that keep the odds
// view, the odds tables' bet-list states and the bet list in step.
#include <optional>
#include <string>

#include "betting/kaime_list.h"
#include "betting/odds_view.h"
#include "racecard/race_card_state.h"
#include "store/race_tables.h"

namespace veltrix {

struct Betting {
    OddsView oddsView;
    KaimeList kaimeList;
};

// A race is loaded: no second horses, an empty bet list. The filter stays as the user set it.
void ResetBetting(Betting& betting);

// Adds a bet with its odds from the odds tables (low odds for place and wide)
// when they are positive, and marks the bet as listed (state 2) either way;
// with redraw the odds view of its type is redrawn for the current axis. True
// when a row was added.
bool AddKaimeFromOdds(Betting& betting, RaceCard& card, OddsTables& odds, const std::string& shikibetsuCode,
                      const std::string& kumiban, const std::string& kingaku, bool redraw);
// Removes the bet's rows, recomputes the money columns and puts the bet back on
// sale (state 1); with redraw its odds view is redrawn.
void DeleteKaimeFromOdds(Betting& betting, RaceCard& card, OddsTables& odds,
                         const std::string& shikibetsuCode, const std::string& kumiban, bool redraw);
// After a race load that read its bet list: every KaimeData row in order, then
// the money columns and the marks.
void RestoreKaimeList(Betting& betting, RaceCard& card, RaceTables& tables);

// What the caption of a pop-up item asks for.
struct KaimeCaption {
    std::string ShikibetsuCode;
    std::string Kumiban;
    bool add = false;  // "追加"; otherwise "削除"
};
// The type is the first of the seven type names found in the caption; the
// combination follows it after one blank (2, 5 or 8 characters, "-" removed).
// nullopt when the caption names no type or asks neither to add nor to remove.
std::optional<KaimeCaption> ParseKaimeCaption(const std::string& caption);
// Choosing the item of a pop-up: adds or removes the bet it names, with the odds
// view redrawn. True when the caption named nothing to do.
bool ToggleKaimeFromCaption(Betting& betting, RaceCard& card, OddsTables& odds, const std::string& caption);

// After new odds were copied onto the race card's tables: the bet list takes the
// new odds, columns 20-46 are emptied, and the odds view is drawn again for the
// axis (its second horses forgotten), or without one.
void RedrawOddsView(Betting& betting, RaceCard& card, OddsTables& odds);

}  // namespace veltrix
