#pragma once
// The money columns of the bet list: stakes in steps of 100 yen, the total,
// each bet's share, payout and return rate, and the two ways of spreading a
// budget over the bets.
#include <optional>
#include <string>

#include "base/sheet.h"
#include "betting/kaime_list.h"

namespace veltrix {

// 100 x the whole number nearest to yen / 100, a half going to the even one
// (250 -> 200, 350 -> 400).
long long HundredYen(double yen);

// An amount as typed or shown in the stake column: blanks, the yen sign ("\",
// also "¥" and "￥") and thousands separators are dropped. nullopt unless what is
// left is a number from 0 up to nine digits.
std::optional<double> ReadAmount(const std::string& text);

// "\" followed by the amount, "##,##0"; a share or rate, "##0.0%".
std::string FormatYen(double yen);
std::string FormatRate(double rate);

// Stakes read from column 9 (an amount that is not one counts 0) and rounded to
// 100 yen, the total into the total row, then shares, payouts and rates.
void CalculateRate(KaimeList& list);
// The budget typed in the total row's stake, spread as equal stakes (at least
// 100 yen each). True, and the list unchanged, when there is no bet or the
// budget is not an amount.
bool CalculateToshiKinto(KaimeList& list);
// The budget spread so that every bet pays back about the same: stake share
// (1 / odds) / sum(1 / odds), at least 100 yen. A bet whose odds show as 0.0
// gets the 100 yen minimum and takes no part in the sum. True, and the list
// unchanged, when there is no bet or the budget is not an amount.
bool CalculateHaraimodoshiKinto(KaimeList& list);

// The user typed text into the stake column: a bet row's stake is recomputed
// with the whole list; the total row's text becomes the budget of the
// distributions and nothing is recomputed. True when the row is not in the list.
bool SetKingaku(KaimeList& list, RowNo row, const std::string& text);

}  // namespace veltrix
