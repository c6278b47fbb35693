#pragma once
// The bet list ("買い目リスト", fpsKaimeList) as a core model: one row per bet,
// then the total row ("TOTAL", row header "T"). The window only shows it.
#include <optional>
#include <string>

#include "base/sheet.h"
#include "base/table.h"
#include "store/race_tables.h"

namespace veltrix {

namespace kaime_col {
inline constexpr ColNo kKey{1};           // type code + combination, e.g. "40307"; "TOTAL" on the total row
inline constexpr ColNo kOdds{2};          // odds in tenths
inline constexpr ColNo kKingakuValue{3};  // stake in yen
inline constexpr ColNo kHaraiValue{4};    // payout in yen
inline constexpr ColNo kShikibetsu{5};    // type name
inline constexpr ColNo kKumiban{6};       // "05", "03-07", "01-03-06"
inline constexpr ColNo kOddsText{7};      // odds in units, "#0.0"
inline constexpr ColNo kMark{8};          // the marks of the bet's horses
inline constexpr ColNo kKingaku{9};       // stake as shown, "\#,##0"; the only column the user edits
inline constexpr ColNo kHiritsu{10};      // share of the total stake
inline constexpr ColNo kHarai{11};        // payout as shown
inline constexpr ColNo kKaisyu{12};       // return rate
inline constexpr int kColumns = 12;
}  // namespace kaime_col

inline constexpr Rgb kKingakuYellow{255, 255, 153};  // the stake column, every row
inline constexpr Rgb kTotalGrey{153, 153, 153};      // the total row's columns 5-12 but the stake

struct KaimeList {
    // Columns 1-4 are hidden keys for sorting and lookups.
    Sheet fpsKaimeList;
    // The row the window shows at the top: after an add to a list of more than
    // 20 rows, the last 20 rows but the total row.
    int TopRow = 1;

    KaimeList();
};

// "単勝", "複勝", "馬連", "ワイド", "馬単", "3連複", "3連単" for the codes 1, 2, 4-8; empty otherwise.
std::string KaimeTypeName(const std::string& shikibetsuCode);
// Number of horses of a bet type (0 for an unknown code).
int KaimeHorseCount(const std::string& shikibetsuCode);

// Rows: the bets, then the total row; no rows at all while the list is empty.
int KaimeBetCount(const KaimeList& list);
bool IsTotalRow(const KaimeList& list, RowNo row);
// Row header: the row number of a bet, "T" on the total row.
std::string KaimeRowHeader(const KaimeList& list, RowNo row);
// Type code and combination of a bet row (column 1); nullopt for the total row.
struct KaimeKey {
    std::string ShikibetsuCode;
    std::string Kumiban;
};
std::optional<KaimeKey> KaimeRowKey(const KaimeList& list, RowNo row);

// Appends a bet before the total row (creating it for the first bet) with the
// stake kingaku when it is a number, else 0; the total row keeps its text; the
// row shows the marks of its horses from the race card's first sheet.
void AddKaime(KaimeList& list, const Sheet& syusoSheet, const std::string& shikibetsuCode,
              const std::string& kumiban, long long odds, const std::string& kingaku);
// Removes every bet row of this bet; with no bet left the grid has no rows.
void DeleteKaime(KaimeList& list, const std::string& shikibetsuCode, const std::string& kumiban);
// Empties the grid.
void CrearForm(KaimeList& list);

// The marks of a bet's horses from column 4 of the race card's first sheet,
// "□" for an unmarked horse, joined by "→" (exacta, trifecta) or "－".
void PutMarkRow(KaimeList& list, const Sheet& syusoSheet, RowNo row);
void PutMark(KaimeList& list, const Sheet& syusoSheet);
// After new odds: every bet takes its odds again (low odds for place and wide;
// negative shown as 0) and is marked in the bet list (state 2) again.
void PutOdds(KaimeList& list, OddsTables& odds);

// A header click: sorts the bet rows (never the total row) by column 1 for the
// type and combination headers, 2 for the odds, 3 (descending) for stake and
// share, 4 (descending) for payout and return rate. True when it sorted.
bool SortKaimeList(KaimeList& list, ColNo header);

// Caption of the bet list's pop-up for a bet row, e.g.
// "買い目リストから削除 -> 馬連 03-07 ( 12.3 )"; empty for the total row.
std::string KaimeListPopupCaption(const KaimeList& list, RowNo row);

// KaimeData from the grid, as saving and export store it: the type code and
// combination of column 1, the stake of column 9 as digits.
void RebuildKaimeData(const KaimeList& list, Array1<KaimeRow>& kaimeData);

}  // namespace veltrix
