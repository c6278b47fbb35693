// Race-wide part of the calculation: deviation scores, the race level and pace
// labels, the two predictions, their ranks and the scores.
#include <cmath>
#include <optional>
#include <vector>

#include "base/fields.h"
#include "base/trim.h"
#include "base/format.h"
#include "engine/calculation.h"
#include "racecard/columns.h"
#include "racecard/race_card.h"

namespace veltrix {

namespace {

// The number of a cell as the formulas read it: empty or text reads 0.
double valueOr0(const Sheet& s, RowNo row, ColNo col) {
    const Cell& c = s.cell(row, col);
    if (c.number) return *c.number;
    return ParseReal(c.text).value_or(0.0);
}

void putFigure(Sheet& s, RowNo row, ColNo col, double v) { s.setNumber(row, col, v, FormatNumber(v, "0.0")); }

// "+1.5" above zero, the number itself ("0.0", "-1.5") otherwise.
std::string signedAbove0(double v) { return v > 0 ? "+" + FormatNumber(v, "0.0") : FormatNumber(v, "0.0"); }

std::string surfaceClass(const std::string& trackCode) {
    auto t = ParseInteger(trackCode);
    if (!t) return "9";
    if (*t >= 10 && *t <= 22) return "1";
    if (*t < 10 || (*t >= 23 && *t <= 26)) return "2";
    return "9";
}

std::string ageClass(const std::string& syubetsu) {
    if (syubetsu == "11") return "1";
    if (syubetsu == "12") return "2";
    if (syubetsu == "13" || syubetsu == "14") return "3";
    return "9";
}

std::string conditionClass(const std::string& jyoken) {
    auto in = [&](std::initializer_list<const char*> codes) {
        for (const char* c : codes)
            if (jyoken == c) return true;
        return false;
    };
    if (jyoken == "701") return "1";
    if (jyoken == "702") return "2";
    if (jyoken == "703") return "3";
    if (in({"004", "005", "006"})) return "4";
    if (in({"008", "009", "010"})) return "5";
    if (in({"014", "015", "016", "017"})) return "6";
    if (jyoken == "999") return "7";
    return "9";
}

}  // namespace

void SetRelateValue(RaceCard& card) {
    const Sheet& s = card.sheet(kSheetSyuso);
    int n = 0;
    double a13 = 0, a14 = 0, a15 = 0, a16 = 0;
    for (int r = 1; r <= s.rowCount(); ++r) {
        const RowNo row(r);
        if (!CellValue(s, row, sheet1::kRL)) continue;
        ++n;
        a13 += valueOr0(s, row, sheet1::kTZenhan);
        a14 += valueOr0(s, row, sheet1::kTKouhan);
        a15 += valueOr0(s, row, sheet1::kRZ);
        a16 += valueOr0(s, row, sheet1::kRA);
    }
    if (n == 0) {
        ClearRelateLabel(card);
        return;
    }
    a13 /= n, a14 /= n, a15 /= n, a16 /= n;
    card.lblRelateValue[0] = FormatNumber((a13 + a14) / 2, "0.0");
    const double d1 = a15 - 50;
    const double d2 = a16 - 50;
    card.lblRelateValue[1] = signedAbove0(d1);
    card.lblRelateValue[2] = signedAbove0(d2);
    // The slope is the second-half pace minus the first-half pace.
    const double v = d1 - d2;
    card.lblRelateValue[3] = v > 0 ? FormatNumber(-v, "0.0") : "+" + FormatNumber(-v, "0.0");
}

std::string MakeConditionKey(const std::string& trackCode, const std::string& syubetsuCode,
                             const std::string& jyokenCode, const std::string& raceDistance) {
    return surfaceClass(trackCode) + ageClass(syubetsuCode) + conditionClass(jyokenCode) + raceDistance;
}

std::array<double, 9> ConditionCoefficients(const Conditions& conditions, const std::string& key) {
    const int count = std::min(conditions.ConditionCount, kConditionRows);
    for (int r = 1; r <= count; ++r) {
        if (conditions.ConditionKey[r] != key) continue;
        std::array<double, 9> c{};
        for (int k = 0; k < 9; ++k)
            c[static_cast<size_t>(k)] = ParseReal(conditions.ConditionTable.at(r, 5 + k)).value_or(0.0);
        return c;
    }
    return kDefaultCoefficients;
}

void CalculateAutoYosoku(Sheet& s, const std::array<double, 9>& c, const std::string& paceSlope) {
    SheetUpdate batch(s);
    const std::string p = TrimSpaces(paceSlope);
    const double pace = ParseReal(p).value_or(0.0);
    const double sumZ = c[0] + c[1] + c[2];
    const double sumA = c[3] + c[4];
    const double sumY = c[5] + c[6] + c[7] + c[8];
    for (int r = 1; r <= s.rowCount(); ++r) {
        const RowNo row(r);
        // Coefficients that sum to 0 give no prediction for anyone rather than a division by zero.
        const bool computable = !s.text(row, sheet1::kRLZ).empty() && !p.empty() &&
                                valueOr0(s, row, sheet1::kRLZ) != 0 && sumY > 0 && sumZ != 0 && sumA != 0;
        if (!computable) {
            for (ColNo col : {sheet1::kRZenhan, sheet1::kRKouhan, sheet1::kYosoku}) s.clearValue(row, col);
            continue;
        }
        const double x10 = valueOr0(s, row, sheet1::kRLZ);
        const double x11 = valueOr0(s, row, sheet1::kRLA);
        const double x15 = valueOr0(s, row, sheet1::kRZ);
        const double x16 = valueOr0(s, row, sheet1::kRA);
        putFigure(s, row, sheet1::kRZenhan, (c[1] * x15 + c[0] * x10 + c[2] * x16) / sumZ);
        putFigure(s, row, sheet1::kRKouhan, (c[4] * x16 + c[3] * x11) / sumA);
        putFigure(s, row, sheet1::kYosoku,
                  ((pace / 130 + c[7]) * x15 + c[5] * x10 + c[6] * x11 + (c[8] - pace / 130) * x16) / sumY);
    }
}

void CalculateYosoku(Sheet& s, Sheet& odds, const Settings& w, const std::string& paceSlope) {
    SheetUpdate b1(s), b3(odds);
    const std::string p = TrimSpaces(paceSlope);
    const double all =
        w.RaceLevel + w.TimeZenhan + w.TimeKouhan + w.RaceZenhan + w.RaceKouhan + w.RaceMd + w.Pace;
    const double divisor = w.TimeZenhan + w.RaceLevel + w.TimeKouhan + w.RaceZenhan + w.RaceKouhan + w.RaceMd;
    const double o = w.Pace * ParseReal(p).value_or(0.0) / 10;
    for (int r = 1; r <= s.rowCount(); ++r) {
        const RowNo row(r);
        s.clearValue(row, sheet1::kSogo);
        odds.clearValue(row, sheet3::kYosoku);
        if (!CellValue(s, row, sheet1::kRLN)) continue;
        double prediction = 0;
        // Pace alone only moves weight between two figures: there is nothing to weigh.
        if (all != 0 && !p.empty() && divisor != 0) {
            prediction = (w.TimeZenhan * valueOr0(s, row, sheet1::kTZenhan) +
                          w.RaceLevel * valueOr0(s, row, sheet1::kRLN) +
                          w.TimeKouhan * valueOr0(s, row, sheet1::kTKouhan) +
                          (w.RaceZenhan + o) * valueOr0(s, row, sheet1::kRZ) +
                          (w.RaceKouhan - o) * valueOr0(s, row, sheet1::kRA) +
                          w.RaceMd * valueOr0(s, row, sheet1::kMD)) /
                         divisor;
        }
        putFigure(s, row, sheet1::kSogo, prediction);
    }
}

void SetYosoku(const Sheet& s, Sheet& odds, bool autoTuning) {
    SheetUpdate batch(odds);
    const ColNo from = autoTuning ? sheet1::kYosoku : sheet1::kSogo;
    for (int r = 1; r <= odds.rowCount(); ++r) {
        const RowNo row(r);
        if (auto v = CellValue(s, row, from))
            putFigure(odds, row, sheet3::kYosoku, *v);
        else
            odds.clearValue(row, sheet3::kYosoku);
    }
}

void CalculateYosokuHensa(Sheet& odds) {
    SheetUpdate batch(odds);
    std::vector<std::optional<double>> x(static_cast<size_t>(odds.rowCount()) + 1);
    double sum = 0;
    int n = 0;
    for (int r = 1; r <= odds.rowCount(); ++r) {
        x[static_cast<size_t>(r)] = CellValue(odds, RowNo(r), sheet3::kYosoku);
        if (x[static_cast<size_t>(r)]) sum += *x[static_cast<size_t>(r)], ++n;
    }
    const double m = n ? sum / n : 0;
    double d = 0;
    if (n >= 2) {
        double ss = 0;
        for (int r = 1; r <= odds.rowCount(); ++r)
            if (const auto& v = x[static_cast<size_t>(r)]) ss += (*v - m) * (*v - m);
        d = std::sqrt(ss / (n - 1));
    }
    for (int r = 1; r <= odds.rowCount(); ++r) {
        const RowNo row(r);
        const auto& v = x[static_cast<size_t>(r)];
        if (!v) {
            odds.clearValue(row, sheet3::kYosoku);
            odds.clearValue(row, sheet3::kYosokuSa);
            continue;
        }
        // Equal predictions (no spread) sit at the mean, as a single one does.
        const double f = d > 0 ? (*v - m) / d * 10 + 50 : 50.0;
        putFigure(odds, row, sheet3::kYosoku, f);
        if (auto pop = CellValue(odds, row, sheet3::kNinki))
            putFigure(odds, row, sheet3::kYosokuSa, f - *pop);
        else
            odds.clearValue(row, sheet3::kYosokuSa);
    }
}

void PutKekkaJyuni(Sheet& odds, ColNo col) {
    SheetUpdate batch(odds);
    const int n = odds.rowCount();
    std::vector<std::optional<double>> v(static_cast<size_t>(n) + 1);
    for (int r = 1; r <= n; ++r)
        if (CellValue(odds, RowNo(r), sheet3::kYosoku))
            v[static_cast<size_t>(r)] = CellValue(odds, RowNo(r), col);
    for (int r = 1; r <= n; ++r) {
        const RowNo row(r);
        const auto& own = v[static_cast<size_t>(r)];
        if (!own) {
            odds.clearValue(row, sheet3::kKekkaJyuni);
            continue;
        }
        int rank = 1;
        for (int q = 1; q <= n; ++q)
            if (v[static_cast<size_t>(q)] && *v[static_cast<size_t>(q)] < *own) ++rank;
        odds.setNumber(row, sheet3::kKekkaJyuni, rank, std::to_string(rank));
    }
}

void CalculateRace(RaceCard& card, const SelectPalette& palette, const Settings& settings,
                   const Conditions& conditions, const std::string& dataMode) {
    Sheet& s1 = card.sheet(kSheetSyuso);
    Sheet& s3 = card.sheet(kSheetOdds);
    SheetUpdate b1(s1), b2(card.sheet(kSheetKeibajo)), b3(s3);
    CalculateUmaIndex(card, palette, settings, dataMode);
    for (ColNo col : {sheet1::kRLZ, sheet1::kRLA, sheet1::kRLN}) CalculateHensa(s1, col, 1);
    SetRelateValue(card);
    for (ColNo col : {sheet1::kRZ, sheet1::kRA, sheet1::kMD}) CalculateHensa(s1, col, 1);
    const std::string key = MakeConditionKey(card.RaceTrackCode, card.RaceSyubetsuCode, card.RaceJyokenCode,
                                             RaceDistanceOf(card.lblRace, dataMode));
    CalculateAutoYosoku(s1, ConditionCoefficients(conditions, key), card.lblRelateValue[3]);
    for (ColNo col : {sheet1::kRZenhan, sheet1::kRKouhan}) CalculateHensa(s1, col, 1);
    CalculateYosoku(s1, s3, settings, card.lblRelateValue[3]);
    SetYosoku(s1, s3, settings.AutoTuning);
    CalculateYosokuHensa(s3);
    PutJyuni(s3, sheet3::kYosoku);
    PutKekkaJyuni(s3, sheet3::kKekkaNyusen);
    ShowScores(card, CalculateScore(s3));
}

}  // namespace veltrix
