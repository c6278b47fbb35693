#pragma once
// A deterministic week of real size for round trips and benchmarks: 72 races,
// about 1,000 runners and 30,000 past runs with double-byte names, in KONSYU
// mode, past runs in HistoryKey order. Column 43 holds the load flag the
// generator intended (OUT for local courses, jump races and abnormal runs).
// No test framework here: the benchmarks link it too.
#include "store/race_tables.h"
#include "store/store.h"

namespace veltrix::test {

Store MakeSyntheticStore(int seed);

// Odds tables with every entry of all seven bet types on sale (18 horses):
// a cache4 file of full size.
OddsTables MakeFullOddsTables();

}  // namespace veltrix::test
