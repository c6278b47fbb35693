#include "betting/kaime_money.h"

#include <cmath>
#include <vector>

#include "base/fields.h"
#include "base/format.h"

namespace veltrix {

namespace {

constexpr double kAmountLimit = 1e9;  // nine digits
constexpr long long kMinimumStake = 100;

// Odds in units as the row shows them (column 7); 0 when none.
double shownOdds(const Sheet& s, RowNo row) {
    auto o = ParseReal(s.text(row, kaime_col::kOddsText));
    return o && *o > 0 ? *o : 0.0;
}

void putStake(Sheet& s, RowNo row, long long stake) {
    s.setNumber(row, kaime_col::kKingaku, static_cast<double>(stake), FormatYen(static_cast<double>(stake)));
    s.setNumber(row, kaime_col::kKingakuValue, static_cast<double>(stake), std::to_string(stake));
}

void putTotal(KaimeList& list, long long total) {
    Sheet& s = list.fpsKaimeList;
    s.setNumber(RowNo(s.rowCount()), kaime_col::kKingaku, static_cast<double>(total),
                FormatYen(static_cast<double>(total)));
}

// Share, payout and return rate of every bet for the total stake.
void putRates(KaimeList& list, long long total) {
    Sheet& s = list.fpsKaimeList;
    const int n = KaimeBetCount(list);
    for (int r = 1; r <= n; ++r) {
        const RowNo row(r);
        const double stake = s.number(row, kaime_col::kKingakuValue).value_or(0);
        double share = 0, payout = 0, rate = 0;
        if (total != 0) {
            share = stake / static_cast<double>(total);
            payout = stake * shownOdds(s, row);
            rate = payout / static_cast<double>(total);
        }
        s.setNumber(row, kaime_col::kHiritsu, share, FormatRate(share));
        s.setNumber(row, kaime_col::kHarai, payout, FormatYen(payout));
        s.setNumber(row, kaime_col::kHaraiValue, payout, FormatReal(payout));
        s.setNumber(row, kaime_col::kKaisyu, rate, FormatRate(rate));
    }
}

// Writes the stakes (one per bet row), the total and the rates in one batch.
void putStakes(KaimeList& list, const std::vector<long long>& stakes) {
    Sheet& s = list.fpsKaimeList;
    SheetUpdate batch(s);
    long long total = 0;
    for (size_t i = 0; i < stakes.size(); ++i) {
        putStake(s, RowNo(static_cast<int>(i) + 1), stakes[i]);
        total += stakes[i];
    }
    putTotal(list, total);
    putRates(list, total);
}

std::optional<double> budgetOf(const KaimeList& list) {
    const Sheet& s = list.fpsKaimeList;
    if (KaimeBetCount(list) == 0) return std::nullopt;
    return ReadAmount(s.text(RowNo(s.rowCount()), kaime_col::kKingaku));
}

}  // namespace

long long HundredYen(double yen) {
    const double q = yen / 100.0;
    double whole = std::floor(q);
    const double rest = q - whole;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0)) whole += 1;
    return static_cast<long long>(whole) * 100;
}

std::optional<double> ReadAmount(const std::string& text) {
    std::string digits;
    for (size_t i = 0; i < text.size();) {
        // The yen sign as typed: backslash (shown as yen by Japanese fonts),
        // U+00A5 and the full-width U+FFE5.
        if (text.compare(i, 2, "\u00a5") == 0) {
            i += 2;
        } else if (text.compare(i, 3, "\uffe5") == 0) {
            i += 3;
        } else {
            const char c = text[i++];
            if (c != '\\' && c != ',' && c != ' ') digits += c;
        }
    }
    auto v = ParseReal(digits);
    if (!v || *v < 0 || *v >= kAmountLimit || std::isnan(*v)) return std::nullopt;
    return *v;
}

std::string FormatYen(double yen) { return "\\" + FormatNumber(yen, "##,##0"); }
std::string FormatRate(double rate) { return FormatNumber(rate, "##0.0%"); }

void CalculateRate(KaimeList& list) {
    const Sheet& s = list.fpsKaimeList;
    const int n = KaimeBetCount(list);
    if (n == 0) return;
    std::vector<long long> stakes;
    for (int r = 1; r <= n; ++r)
        stakes.push_back(HundredYen(ReadAmount(s.text(RowNo(r), kaime_col::kKingaku)).value_or(0)));
    putStakes(list, stakes);
}

bool CalculateToshiKinto(KaimeList& list) {
    auto budget = budgetOf(list);
    if (!budget) return true;
    const int n = KaimeBetCount(list);
    long long stake = HundredYen(*budget / n);
    if (stake == 0) stake = kMinimumStake;
    putStakes(list, std::vector<long long>(static_cast<size_t>(n), stake));
    return false;
}

bool CalculateHaraimodoshiKinto(KaimeList& list) {
    auto budget = budgetOf(list);
    if (!budget) return true;
    const Sheet& s = list.fpsKaimeList;
    const int n = KaimeBetCount(list);
    double h = 0;
    for (int r = 1; r <= n; ++r)
        if (double o = shownOdds(s, RowNo(r)); o > 0) h += 1.0 / o;
    // Every stake is known before any is written: a bet without odds cannot
    // leave the list half distributed.
    std::vector<long long> stakes;
    for (int r = 1; r <= n; ++r) {
        const double o = shownOdds(s, RowNo(r));
        long long stake = o > 0 ? HundredYen((1.0 / o) / h * *budget) : 0;
        stakes.push_back(stake == 0 ? kMinimumStake : stake);
    }
    putStakes(list, stakes);
    return false;
}

bool SetKingaku(KaimeList& list, RowNo row, const std::string& text) {
    Sheet& s = list.fpsKaimeList;
    if (row.value < 1 || row.value > s.rowCount()) return true;
    s.setText(row, kaime_col::kKingaku, text);
    if (!IsTotalRow(list, row)) CalculateRate(list);
    return false;
}

}  // namespace veltrix
