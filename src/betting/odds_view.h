#pragma once
// The odds view: sheet 3 of the race card from column 20 on. Win and place odds
// of every runner and, for the axis horse the user picks (RaceCard::OddsUmaban),
// the odds of every combination that holds it, with value ratios, composite
// odds and the colours that mark bets of the bet list.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/sheet.h"
#include "racecard/columns.h"
#include "racecard/race_card_state.h"
#include "store/race_tables.h"

namespace veltrix {

// Selection of the odds sheet besides the axis.
struct OddsView {
    // Second horse of the trio column (entry 0) and of each trifecta pattern
    // column 35, 37, ..., 45 (entries 1-6); empty when the column has none.
    std::array<std::string, 7> SecondUma;
    // The trifecta pattern column clicked last; 0 when none.
    int SanrentanColumn = 0;
    // The main window's "ODDS FILTER": combination odds coloured by their ratio.
    bool OddsFilter = false;

    // Forgets the second horses and the pattern column (a race loaded, a new axis).
    void clearSelection();
};

// The SecondUma entry of column 33 or of a trifecta pattern column; nullopt for
// any other column.
std::optional<int> SecondUmaIndex(ColNo col);
// The trifecta pattern columns 35, 37, ..., 45.
inline constexpr std::array<ColNo, 6> kSanrentanColumns = {sheet3::kSanrentan12, sheet3::kSanrentan13,
                                                           sheet3::kSanrentan21, sheet3::kSanrentan23,
                                                           sheet3::kSanrentan31, sheet3::kSanrentan32};

// Colours of the odds view.
inline constexpr Rgb kOddsOrange{255, 204, 102};  // a bet in the bet list; composite odds text

// Finishing order (first, second, third) of a trifecta of a pattern column. The
// pattern fixes where the axis and `placed` finish (the row horse of a composite;
// the column's second horse once one is chosen, the row horse then being `free`);
// `free` takes the remaining place. Column 35: axis, placed, free.
std::array<int, 3> SanrentanOrder(ColNo patternCol, int axis, int placed, int free);

// Composite odds in tenths over the third horses: 1 / sum(1 / odds) of every
// combination entry in state 1 or 2 with odds > 0; nullopt when there is none.
std::optional<double> CompositeOdds(const std::vector<const OddsEntry*>& entries);

// Filling. Each routine walks the rows of sheet 3 and stops at the first row
// without a horse number 1-18 in column 2 (the cells drawn so far stay). The
// combination routines draw nothing while no axis is chosen.
//
// Win (20-22) and place (23-24) of every horse, the axis row inverted; a horse
// whose win sale was cancelled has its name struck through on all three sheets.
void PutTansyoOdds(RaceCard& card, const OddsTables& odds);
void PutFukusyoOdds(RaceCard& card, const OddsTables& odds);
void PutUmarenOdds(RaceCard& card, const OddsTables& odds, const OddsView& view);  // 25, 26
void PutUmatanOdds(RaceCard& card, const OddsTables& odds, const OddsView& view);  // 27-30
void PutWideOdds(RaceCard& card, const OddsTables& odds);                          // 31, 32
// Column 33 without a trio second horse: composite odds of the trios of the axis
// and the row horse; 34 empty.
void PutSanrenpukuGosei(RaceCard& card, const OddsTables& odds);
// Column 33 with the trio second horse: the trio of axis, second and row horse; 34 its ratio.
void PutSanrenpukuOdds(RaceCard& card, const OddsTables& odds, const OddsView& view);
// A pattern column without its second horse: composite odds over the free horse.
void PutSanrentanGosei(RaceCard& card, const OddsTables& odds, ColNo patternCol);
// A pattern column with its second horse: the trifecta and its ratio.
void PutSanrentanOdds(RaceCard& card, const OddsTables& odds, const OddsView& view, ColNo patternCol);

// The whole odds view of the current axis: win, place, quinella, wide, exacta,
// and the trio and trifecta columns, each specific where it has a second horse
// and composite otherwise. Without an axis only win and place are drawn.
void PutOddsView(RaceCard& card, const OddsTables& odds, const OddsView& view);
// Empties columns 20-46 of every row (white on black).
void ClearOddsView(Sheet& oddsSheet);

// A click on a data cell of sheet 3: an axis (columns 20-24), a trio second
// horse (33, this week's races with odds) or a trifecta second horse (odd
// columns 35-45, this week's races with all six odds record kinds). True when
// the view changed.
bool ClickOddsSheet(RaceCard& card, const OddsTables& odds, OddsView& view, const std::string& dataMode,
                    RowNo row, ColNo col);
// "ODDS FILTER" switched: redraws the coloured columns when an axis is chosen.
void SetOddsFilter(RaceCard& card, const OddsTables& odds, OddsView& view, bool on);

// The bet a cell of the odds sheet shows, for its pop-up menu.
struct OddsCellBet {
    std::string ShikibetsuCode;
    std::string Kumiban;   // as stored: ascending for quinella, wide and trio
    std::string oddsText;  // the odds as the caption shows them
};
std::optional<OddsCellBet> OddsCellKaime(const RaceCard& card, const OddsView& view, RowNo row, ColNo col);

// Caption of the odds pop-up's one item for a right-click on sheet 3, e.g.
// "買い目リストに追加 -> 馬連 03-07 ( 12.3 )"; empty (item disabled) when the
// cell shows no bet or the bet is neither on sale nor in the bet list.
std::string OddsPopupCaption(const RaceCard& card, const OddsTables& odds, const OddsView& view, RowNo row,
                             ColNo col);

// Odds state of a bet: win and place by their (low) state, the combinations at
// the numbers as written; nullopt for an unknown type or combination.
std::optional<int> KaimeOddsState(const OddsTables& odds, const std::string& shikibetsuCode,
                                  const std::string& kumiban);
// Sets that state (2 while the bet is in the bet list, 1 when it leaves it).
void SetKaimeOddsState(OddsTables& odds, const std::string& shikibetsuCode, const std::string& kumiban,
                       int state);
// Redraws the odds view of one bet type for the current axis: win, place,
// quinella, wide, exacta, the specific trio, or every trifecta pattern column
// that has a second horse.
void RedrawOddsViewOfType(RaceCard& card, const OddsTables& odds, const OddsView& view,
                          const std::string& shikibetsuCode);

}  // namespace veltrix
