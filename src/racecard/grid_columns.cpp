// Column helpers of the race card: deviation scores, ranks, scores and sorting.
#include <algorithm>
#include <cmath>
#include <vector>

#include "racecard/race_card.h"
#include "base/fields.h"
#include "base/format.h"

namespace veltrix {

std::optional<double> CellValue(const Sheet& sheet, RowNo row, ColNo col) {
    const Cell& cell = sheet.cell(row, col);
    if (cell.text.empty()) return std::nullopt;
    std::optional<double> v = cell.number ? cell.number : ParseReal(cell.text);
    if (!v || *v == 0) return std::nullopt;
    return v;
}

void CalculateHensa(Sheet& sheet, ColNo col, int sign) {
    SheetUpdate batch(sheet);
    std::vector<std::pair<RowNo, double>> values;
    for (int r = 1; r <= sheet.rowCount(); ++r) {
        if (auto v = CellValue(sheet, RowNo(r), col))
            values.emplace_back(RowNo(r), *v);
        else
            sheet.clearValue(RowNo(r), col);
    }
    const size_t n = values.size();
    if (n == 0) return;
    double mean = 0;
    for (const auto& [r, v] : values) mean += v;
    mean /= static_cast<double>(n);
    double sd = 0;
    if (n > 1) {
        double ss = 0;
        for (const auto& [r, v] : values) ss += (v - mean) * (v - mean);
        sd = std::sqrt(ss / static_cast<double>(n - 1));
    }
    for (const auto& [r, v] : values) {
        // One value, or values without spread, sit at the mean: 50.
        double score = sd > 0 ? (v - mean) * sign / sd * 10 + 50 : 50.0;
        sheet.setNumber(r, col, score, FormatNumber(score, "0.0"));
    }
}

void PutJyuni(Sheet& sheet, ColNo col) {
    SheetUpdate batch(sheet);
    const ColNo rankCol(col.value + 1);
    const int n = sheet.rowCount();
    std::vector<std::optional<double>> values(static_cast<size_t>(n) + 1);
    for (int r = 1; r <= n; ++r) values[static_cast<size_t>(r)] = CellValue(sheet, RowNo(r), col);
    for (int r = 1; r <= n; ++r) {
        const RowNo row(r);
        const auto& v = values[static_cast<size_t>(r)];
        if (!v) {
            sheet.clearValue(row, rankCol);
            sheet.setColors(row, rankCol, kWhite, kBlack);
            continue;
        }
        int rank = 1;
        for (int q = 1; q <= n; ++q)
            if (values[static_cast<size_t>(q)] && *values[static_cast<size_t>(q)] > *v) ++rank;
        sheet.setNumber(row, rankCol, rank, std::to_string(rank));
        if (rank <= 3)
            sheet.setColors(row, rankCol, kBlack, kWhite);
        else
            sheet.setColors(row, rankCol, kWhite, kBlack);
    }
}

namespace {
// Spearman's rank correlation of two rank columns mapped to 0..100; -1 with
// fewer than two pairs.
double rankScore(const Sheet& s, ColNo colA, ColNo colB) {
    double sum = 0;
    long long n = 0;
    for (int r = 1; r <= s.rowCount(); ++r) {
        auto a = CellValue(s, RowNo(r), colA);
        auto b = CellValue(s, RowNo(r), colB);
        if (!a || !b) continue;
        sum += (*a - *b) * (*a - *b);
        ++n;
    }
    if (n < 2) return -1;
    return (1 - 6 * sum / static_cast<double>(n * n * n - n)) * 50 + 50;
}
}  // namespace

std::array<double, 3> CalculateScore(const Sheet& oddsSheet) {
    return {rankScore(oddsSheet, sheet3::kNinkiJyuni, sheet3::kKekkaNyusen),
            rankScore(oddsSheet, sheet3::kMiningJyuni, sheet3::kKekkaNyusen),
            rankScore(oddsSheet, sheet3::kYosokuJyuni, sheet3::kKekkaJyuni)};
}

void ShowScores(RaceCard& card, const std::array<double, 3>& scores) {
    for (size_t i = 0; i < 3; ++i)
        card.lblScoreValue[i] = scores[i] < 0 ? std::string() : FormatNumber(scores[i], "#.0");
}

std::optional<SortOrder> SortableOrder(int sheetNo, ColNo column) {
    const int col = column.value;
    auto in = [col](std::initializer_list<int> cols) { return std::find(cols.begin(), cols.end(), col) != cols.end(); };
    switch (sheetNo) {
        case 1:
            if (col == 2) return SortOrder::Ascending;
            if (in({9, 13, 14, 17, 18, 20, 21, 24, 25, 26, 29, 30, 31, 32, 33, 34})) return SortOrder::Descending;
            break;
        case 2:
            if (col == 2) return SortOrder::Ascending;
            if (col >= 6 && col <= 29) return SortOrder::Descending;
            break;
        case 3:
            if (in({2, 7, 9, 12, 15, 20, 23, 24})) return SortOrder::Ascending;
            if (in({6, 8, 10, 11, 13, 14, 16, 18, 19, 21, 22})) return SortOrder::Descending;
            break;
        default:
            break;
    }
    return std::nullopt;
}

void SortRaceCard(RaceCard& card, int sheetNo, ColNo col, SortOrder order) {
    if (sheetNo < 1 || sheetNo > 3) return;
    SheetUpdate b1(card.sheet(1)), b2(card.sheet(2)), b3(card.sheet(3));
    Sheet& sorted = card.sheet(sheetNo);
    std::vector<RowNo> moved = sorted.sortByColumn(col, order);
    // The position goes into column 1 of every sheet; the other sheets follow
    // the same permutation, which is what sorting them by column 1 gives while
    // they share the row order.
    for (int s = 1; s <= 3; ++s) {
        Sheet& sheet = card.sheet(s);
        if (s != sheetNo) sheet.applyRowOrder(moved);
        for (int r = 1; r <= sheet.rowCount(); ++r) sheet.setNumber(RowNo(r), card::kSort, r, std::to_string(r));
    }
}

bool ClickHeader(RaceCard& card, int sheetNo, ColNo col) {
    auto order = SortableOrder(sheetNo, col);
    if (!order) return false;
    SortRaceCard(card, sheetNo, col, *order);
    return true;
}

}  // namespace veltrix
