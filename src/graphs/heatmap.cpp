#include "graphs/heatmap.h"

#include <algorithm>

#include "base/format.h"
#include "racecard/race_card.h"

namespace veltrix {

namespace {

// Figure of a combination when it has one to show.
std::optional<double> figureOf(const OddsTables& o, const std::string& code, const std::array<int, 3>& h) {
    int state = kOddsNoData;
    double ratio = -1;
    if (code == "4") {
        state = o.UmarenOdds(h[0], h[1]).state;
        ratio = o.UmarenKairi(h[0], h[1]);
    } else if (code == "6") {
        state = o.UmatanOdds(h[0], h[1]).state;
        ratio = o.UmatanKairi(h[0], h[1]);
    } else if (code == "7") {
        state = o.SanrenpukuOdds(h[0], h[1], h[2]).state;
        ratio = o.SanrenpukuKairi(h[0], h[1], h[2]);
    } else {
        state = o.SanrentanOdds(h[0], h[1], h[2]).state;
        ratio = o.SanrentanKairi(h[0], h[1], h[2]);
    }
    // A ratio that could not be computed is stored negative: nothing to show.
    if ((state != kOddsOnSale && state != kOddsInBetList) || ratio < 0) return std::nullopt;
    return ratio;
}

}  // namespace

Heatmap::Heatmap() : fpsHeatmap(kHorseMax, kHorseMax) {
    for (int c = 1; c <= kHorseMax; ++c) fpsHeatmap.setHeader(ColNo(c), std::to_string(c));
}

std::string HeatmapShikibetsuCode(int option) {
    static constexpr const char* kCodes[] = {"4", "6", "7", "8"};
    return option >= 0 && option < 4 ? kCodes[option] : "";
}

std::optional<std::array<int, 3>> HeatmapCombination(const std::string& code, int pivot, int r, int c) {
    if (!IsHorseNumber(r) || !IsHorseNumber(c) || r == c) return std::nullopt;
    if (code == "4") return std::array<int, 3>{std::min(r, c), std::max(r, c), 0};
    if (code == "6") return std::array<int, 3>{c, r, 0};
    if (code != "7" && code != "8") return std::nullopt;
    if (!IsHorseNumber(pivot) || pivot == r || pivot == c) return std::nullopt;
    if (code == "8") return std::array<int, 3>{pivot, c, r};
    std::array<int, 3> t = {pivot, r, c};
    std::sort(t.begin(), t.end());
    return t;
}

void DrawHeatMap(Sheet& s, const OddsTables& odds, const std::string& code, int pivot) {
    if (code != "4" && code != "6" && code != "7" && code != "8") return;
    SheetUpdate batch(s);
    for (int r = 1; r <= kHorseMax; ++r)
        for (int c = 1; c <= kHorseMax; ++c) {
            const RowNo row(r);
            const ColNo col(c);
            auto horses = HeatmapCombination(code, pivot, r, c);
            auto figure = horses ? figureOf(odds, code, *horses) : std::nullopt;
            if (figure) {
                s.setColors(row, col, kBlack, GetHeatColor(*figure));
                s.setNumber(row, col, *figure, FormatNumber(*figure, "0.00"));
            } else {
                s.setColors(row, col, kBlack, kHeatmapGrey);
                s.clearValue(row, col);
            }
        }
}

void SetHeatMap(Heatmap& h, const OddsTables& odds) {
    h.cboJikuEnabled = h.optShikibetsu == 2 || h.optShikibetsu == 3;
    const int pivot = h.cboJikuEnabled ? h.cboJiku + 1 : 0;
    DrawHeatMap(h.fpsHeatmap, odds, HeatmapShikibetsuCode(h.optShikibetsu), pivot);
}

void ClearForm(Heatmap& h) {
    h.optShikibetsu = 0;
    h.cboJiku = 0;
    h.cboJikuEnabled = false;
    Sheet& s = h.fpsHeatmap;
    SheetUpdate batch(s);
    for (int r = 1; r <= s.rowCount(); ++r)
        for (int c = 1; c <= s.colCount(); ++c) {
            s.clearValue(RowNo(r), ColNo(c));
            s.setColors(RowNo(r), ColNo(c), std::nullopt, std::nullopt);
        }
}

}  // namespace veltrix
