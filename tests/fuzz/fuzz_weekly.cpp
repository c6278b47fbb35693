// The three weekly files. The first byte chooses the file the input replaces
// ('1', '2' or '3'); the other two are the fixture's. A damaged week is
// refused with every weekly file deleted and the store empty; an accepted
// week has consistent tables and is written and read back.
#include <cstdint>
#include <string>

#include "fuzz_common.h"
#include "store/weekly_store.h"

using namespace veltrix;

namespace {
const char* const kNames[] = {kCache1, kCache2, kCache3};

bool consistent(const Store& s) {
    return s.RaceCount >= 0 && s.UmaCount >= 0 && s.HistoryCount >= 0 && s.RaceInfo.rows() == s.RaceCount &&
           s.RaceLabel.size() == s.RaceCount && s.RaceIdList.size() == s.RaceCount && s.UmaInfo.rows() == s.UmaCount &&
           s.UmaKey.size() == s.UmaCount && s.HistoryInfo.rows() == s.HistoryCount &&
           s.HistoryKey.size() == s.HistoryCount && (s.DataMode == "KONSYU" || s.DataMode == "TOKUBETSU");
}

bool empty(const Store& s) {
    return s.DataMode.empty() && s.RaceCount == 0 && s.UmaCount == 0 && s.HistoryCount == 0 &&
           s.RaceInfo.rows() == 0 && s.UmaInfo.rows() == 0 && s.HistoryInfo.rows() == 0;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Folders folders = fuzz::MakeProgramFolder("weekly");
    static const Folders written = fuzz::MakeProgramFolder("written");
    static const std::string fixture[] = {fuzz::FixtureFile("cache/cache1xxxxxxxx"),
                                          fuzz::FixtureFile("cache/cache2xxxxxxxx"),
                                          fuzz::FixtureFile("cache/cache3xxxxxxxx")};
    if (size < 1) return 0;
    const int which = static_cast<unsigned char>(data[0] - '1') % 3;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    for (int k = 0; k < 3; ++k)
        if (!WriteFileBytes(folders.cache / kNames[k], k == which ? input : fixture[k]))
            fuzz::Fail("cannot write the week");

    Store store;
    if (LoadRaceCache(store, folders)) {
        if (!empty(store)) fuzz::Fail("a refused week left tables");
        for (const char* name : kNames)
            if (FileExists(folders.cache / name)) fuzz::Fail("a refused week left a weekly file");
        return 0;
    }
    if (!consistent(store)) fuzz::Fail("an accepted week with inconsistent tables");
    for (int r = 1; r <= store.UmaCount; ++r)
        if (FindUmaKey(store, store.UmaKey[r], 1, store.UmaCount) < 1) fuzz::Fail("a runner key not found");
    for (int r = 1; r <= store.HistoryCount; ++r)
        FindHistoryKey(store, store.HistoryKey[r], 1, store.HistoryCount);

    // Whatever was read is written, and what is written reads back.
    NullUserInterface ui;
    NullPump pump;
    Store copy = store;
    if (SaveRaceCache(copy, written, ui, pump)) fuzz::Fail("an accepted week could not be written");
    Store back;
    if (LoadRaceCache(back, written)) fuzz::Fail("a written week was refused");
    // Cells may differ: a quote or CR that a bare or quoted cell held is written as a space.
    if (back.RaceCount != store.RaceCount || back.UmaCount != store.UmaCount ||
        back.HistoryCount != store.HistoryCount || back.DataMode != store.DataMode)
        fuzz::Fail("a written week read back different");
    return 0;
}
