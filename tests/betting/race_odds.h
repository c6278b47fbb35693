#pragma once
// Hand-made odds of a whole field for the betting tests (core and window).
#include <algorithm>
#include <array>
#include <cmath>

#include "store/race_tables.h"

namespace veltrix::test {

// Odds of a field of n runners, every combination on sale with odds that tell
// the combinations apart: win 20 + 10h, quinella 100i + j, wide low 10i + j and
// high 20i + j, exacta 200i + j, trio 1000i + 10j + k, trifecta 3000i + 20j + k
// (all in tenths), win probabilities from the win odds.
inline OddsTables MakeRaceOdds(int n, int count = 6) {
    OddsTables o;
    o.OddsCount = count;
    for (int h = 1; h <= n; ++h) {
        o.TansyoOdds(h) = {kOddsOnSale, 20 + 10 * h};
        o.FukusyoOdds(h) = {kOddsOnSale, 11 + h, kOddsOnSale, 15 + 2 * h};
        o.TansyoShijiritsu(h) = 0.788 / (o.TansyoOdds(h).odds - 1) * 10;
        o.OddsHensachi(h) = 60 - h;
        o.UmarenShijiritsu(h) = 0.2;
    }
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            if (i < j) o.UmarenOdds(i, j) = {kOddsOnSale, 100 * i + j};
            if (i < j) o.WideOdds(i, j) = {kOddsOnSale, 10 * i + j, kOddsOnSale, 20 * i + j};
            if (i != j) o.UmatanOdds(i, j) = {kOddsOnSale, 200 * i + j};
            for (int k = 1; k <= n; ++k) {
                if (i < j && j < k) o.SanrenpukuOdds(i, j, k) = {kOddsOnSale, 1000 * i + 10 * j + k};
                if (i != j && j != k && i != k)
                    o.SanrentanOdds(i, j, k) = {kOddsOnSale, 3000 * i + 20 * j + k};
            }
        }
    return o;
}

// Odds as a market might give them for n runners: win odds 3.5, 5.0, ...; each
// combination priced so that its value ratio is one of 0.45, 0.60, ..., 1.95,
// chosen by its horse numbers, so the ratio colours show their whole scale.
inline OddsTables MakeMarketOdds(int n) {
    OddsTables o = MakeRaceOdds(n);
    auto p = [&](int h) { return o.TansyoShijiritsu(h); };
    auto ratio = [](int i, int j, int k) { return 0.45 + 0.15 * ((3 * i + 5 * j + 7 * k) % 11); };
    auto price = [](double probability, double r) {
        return static_cast<int>(std::lround(1 + 0.738 * 10 * r / probability));
    };
    auto exacta = [&](int a, int b) { return p(a) * p(b) / (1 - p(a)); };
    auto trifecta = [&](int a, int b, int c) {
        return p(a) * p(b) * p(c) / ((1 - p(a)) * (1 - p(a) - p(b)));
    };
    for (int h = 1; h <= n; ++h) {
        o.TansyoOdds(h) = {kOddsOnSale, 20 + 15 * h};
        o.TansyoShijiritsu(h) = 0.788 / (o.TansyoOdds(h).odds - 1) * 10;
    }
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            if (i == j) continue;
            if (i < j) o.UmarenOdds(i, j).odds = price(exacta(i, j) + exacta(j, i), ratio(i, j, 0));
            o.UmatanOdds(i, j).odds = price(exacta(i, j), ratio(j, i, 1));
            for (int k = 1; k <= n; ++k) {
                if (k == i || k == j) continue;
                o.SanrentanOdds(i, j, k).odds = price(trifecta(i, j, k), ratio(i, j, k));
                if (i < j && j < k) {
                    const std::array<int, 3> t = {i, j, k};
                    double all = 0;
                    std::array<int, 3> order = {0, 1, 2};
                    do all += trifecta(t[order[0]], t[order[1]], t[order[2]]);
                    while (std::next_permutation(order.begin(), order.end()));
                    o.SanrenpukuOdds(i, j, k).odds = price(all, ratio(k, j, i));
                }
            }
        }
    return o;
}

}  // namespace veltrix::test
