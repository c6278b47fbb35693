// The key sort against the quicksort it replaces: the same order of equal keys
// on any input, without the quicksort's time on long runs of equal keys.
#include <gtest/gtest.h>

#include <random>

#include "store/weekly_store.h"
#include "support/fake_host.h"

namespace veltrix {
namespace {

// The quicksort as it was, kept as the oracle: its order of equal keys decides
// which duplicate the import keeps.
void OldSortKeys(Array1<std::string>& keys, Array1<int>& positions, int first, int last) {
    first = std::max(first, 1);
    last = std::min({last, keys.size(), positions.size()});
    while (first < last) {
        const int middle = (first + last) / 2;
        std::string pivotKey = std::move(keys[middle]);
        const int pivotPosition = positions[middle];
        if (middle != first) {
            keys[middle] = std::move(keys[first]);
            positions[middle] = positions[first];
        }
        int boundary = first;
        for (int i = first + 1; i <= last; ++i) {
            if (keys[i] < pivotKey) {
                ++boundary;
                std::swap(keys[i], keys[boundary]);
                std::swap(positions[i], positions[boundary]);
            }
        }
        if (boundary != first) {
            keys[first] = std::move(keys[boundary]);
            positions[first] = positions[boundary];
        }
        keys[boundary] = std::move(pivotKey);
        positions[boundary] = pivotPosition;
        if (boundary - first < last - boundary) {
            OldSortKeys(keys, positions, first, boundary - 1);
            first = boundary + 1;
        } else {
            OldSortKeys(keys, positions, boundary + 1, last);
            last = boundary - 1;
        }
    }
}

Array1<int> identity(int n) {
    Array1<int> p(n);
    for (int i = 1; i <= n; ++i) p[i] = i;
    return p;
}

// Random keys drawn from `distinct` values; few values give long runs of equal
// keys, scattered or (sorted first, then partly shuffled) bunched together.
Array1<std::string> randomKeys(std::mt19937& rng, int n, int distinct, bool bunched) {
    std::uniform_int_distribution<int> value(0, distinct - 1);
    std::vector<std::string> v(static_cast<size_t>(n));
    for (auto& k : v) k = "2006100" + std::to_string(100 + value(rng));
    if (bunched) {
        std::sort(v.begin(), v.end());
        std::uniform_int_distribution<size_t> at(0, v.size() - 1);
        for (int swaps = n / 10; swaps > 0; --swaps) std::swap(v[at(rng)], v[at(rng)]);
    }
    Array1<std::string> keys;
    for (auto& k : v) keys.push_back(std::move(k));
    return keys;
}

TEST(SortKeysOrder, SameOrderAsTheQuicksortOnRandomInputsWithManyEqualKeys) {
    std::mt19937 rng(20261209);
    test::FakePump pump;
    int cases = 0;
    for (int n : {0, 1, 2, 3, 5, 8, 17, 64, 255, 1000, 3000})
        for (int distinct : {1, 2, 3, 7, 40, 1000})
            for (bool bunched : {false, true})
                for (int round = 0; round < 4; ++round) {
                    Array1<std::string> keys = randomKeys(rng, n, distinct, bunched);
                    Array1<int> positions = identity(n);
                    Array1<std::string> oldKeys = keys;
                    Array1<int> oldPositions = positions;
                    // A range inside the list as well as the whole of it.
                    std::uniform_int_distribution<int> bound(-1, n + 2);
                    int first = 1, last = n;
                    if (round == 3) first = bound(rng), last = bound(rng);
                    OldSortKeys(oldKeys, oldPositions, first, last);
                    ASSERT_FALSE(SortKeys(keys, positions, first, last, pump));
                    ASSERT_EQ(keys.raw(), oldKeys.raw()) << n << " keys of " << distinct;
                    ASSERT_EQ(positions.raw(), oldPositions.raw()) << n << " keys of " << distinct;
                    ++cases;
                }
    EXPECT_EQ(cases, 11 * 6 * 2 * 4);
}

// Runs of equal keys around other keys: each run is handled in one pass,
// and the order is still the quicksort's.
TEST(SortKeysOrder, LongRunsOfEqualKeysBesideOthers) {
    const int n = 4000;
    Array1<std::string> keys(n);
    for (int i = 1; i <= n; ++i) keys[i] = i % 97 == 0 ? std::to_string(i % 5) : std::string("5");
    Array1<int> positions = identity(n);
    Array1<std::string> oldKeys = keys;
    Array1<int> oldPositions = positions;
    OldSortKeys(oldKeys, oldPositions, 1, n);
    test::FakePump pump;
    ASSERT_FALSE(SortKeys(keys, positions, 1, n, pump));
    EXPECT_EQ(keys.raw(), oldKeys.raw());
    EXPECT_EQ(positions.raw(), oldPositions.raw());
}

// A delivery repeating one past run: 200,000 equal keys took the quicksort
// minutes with no event processed. Now the pump turns while they sort and every
// position survives; how long it takes is BM_SortKeys_EqualKeys's figure.
TEST(SortKeysTime, EqualKeysProcessEventsAndKeepEveryPosition) {
    const int n = 200000;
    Array1<std::string> keys(n);
    for (int i = 1; i <= n; ++i) keys[i] = "20061000012008122806050810";
    Array1<int> positions = identity(n);
    test::FakePump pump;
    ASSERT_FALSE(SortKeys(keys, positions, 1, n, pump));
    EXPECT_GT(pump.turns, 5);
    std::vector<int> sorted = positions.raw();
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, identity(n).raw());
}

TEST(SortKeysTime, CancelStopsTheSort) {
    std::mt19937 rng(7);
    const int n = 100000;
    Array1<std::string> keys = randomKeys(rng, n, 3, false);
    const Array1<std::string> original = keys;
    Array1<int> positions = identity(n);
    test::FakePump pump;
    pump.cancelAt = 2;
    EXPECT_TRUE(SortKeys(keys, positions, 1, n, pump));
    EXPECT_EQ(pump.turns, 2);
    // Every key moved with its position.
    for (int i = 1; i <= n; ++i) ASSERT_EQ(keys[i], original[positions[i]]) << i;
}

}  // namespace
}  // namespace veltrix
