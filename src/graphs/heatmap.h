#pragma once
// The heat map (fpsHeatmap): the value ratios ("EXP") of every two- or
// three-horse combination of one bet type, 18 x 18 cells by horse number,
// coloured from red (low) to blue (high).
#include <array>
#include <optional>
#include <string>

#include "base/sheet.h"
#include "store/race_tables.h"

namespace veltrix {

inline constexpr Rgb kHeatmapGrey{192, 192, 192};  // a cell without a figure

struct Heatmap {
    Sheet fpsHeatmap;             // rows and columns are horse numbers 1-18
    int optShikibetsu = 0;        // 0 "馬連", 1 "馬単", 2 "3連複", 3 "3連単"
    int cboJiku = 0;              // pivot list entry k: horse k + 1
    bool cboJikuEnabled = false;  // only for the three-horse types

    Heatmap();
};

// Bet type code of an option ("4", "6", "7", "8"); empty for any other option.
std::string HeatmapShikibetsuCode(int option);

// The combination the cell (row r, column c) shows, as the odds tables store
// it: quinella {r, c} ascending, exacta c first and r second, trio {pivot, r, c}
// ascending, trifecta pivot, c, r in finishing order (the third number 0 for the
// two-horse types). nullopt when it repeats a horse or the type is none of 4, 6, 7, 8.
std::optional<std::array<int, 3>> HeatmapCombination(const std::string& shikibetsuCode, int pivot, int r,
                                                     int c);

// Fills the grid: a combination on sale or in the bet list (state 1 or 2) with a
// ratio shows it in black on its scale colour; every other cell is grey and
// empty. Any other type code draws nothing.
void DrawHeatMap(Sheet& sheet, const OddsTables& odds, const std::string& shikibetsuCode, int pivot);
// From the options: enables the pivot list for the three-horse types and draws.
void SetHeatMap(Heatmap& heatmap, const OddsTables& odds);
// The options back to the first ones, the grid empty.
void ClearForm(Heatmap& heatmap);

}  // namespace veltrix
