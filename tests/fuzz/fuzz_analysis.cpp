// The analysis files, merged into the fixture's week. The first byte chooses
// the file: 'r' the per-date figures of the fixture's first race date, 'p' the
// condition statistics. A damaged file is deleted and the store emptied.
#include <cstdint>
#include <string>

#include "fuzz_common.h"
#include "store/analysis_files.h"
#include "store/weekly_store.h"

using namespace veltrix;

namespace {
const Store& fixtureWeek() {
    static const Store week = [] {
        const Folders folders = fuzz::MakeProgramFolder("fixture");
        for (const char* name : {kCache1, kCache2, kCache3})
            if (!WriteFileBytes(folders.cache / name, fuzz::FixtureFile(std::string("cache/") + name)))
                fuzz::Fail("cannot write the fixture");
        Store s;
        if (LoadRaceCache(s, folders)) fuzz::Fail("the fixture week does not load");
        return s;
    }();
    return week;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Folders folders = fuzz::MakeProgramFolder("analysis");
    static const std::string argument = fuzz::FixtureFile("analysis_argument");
    if (size < 1) return 0;
    const bool condition = data[0] == 'p';
    const std::string name = "cachea" + (condition ? std::string(kConditionFileArgument) : argument);
    if (!WriteFileBytes(folders.cache / name, std::string(reinterpret_cast<const char*>(data) + 1, size - 1)))
        fuzz::Fail("cannot write the input");
    Store store = fixtureWeek();
    NullPump pump;
    int rc;
    if (condition) {
        Conditions conditions;
        rc = ReadConditionFile(conditions, store, folders, pump);
    } else {
        rc = ReadAnalysisFile(store, folders, argument, pump);
    }
    if (rc < 0) {
        if (FileExists(folders.cache / name)) fuzz::Fail("a damaged analysis file was kept");
        if (store.RaceCount != 0 || store.UmaCount != 0 || store.HistoryCount != 0)
            fuzz::Fail("a damaged analysis file left the store");
    } else if (store.UmaCount != fixtureWeek().UmaCount || store.HistoryCount != fixtureWeek().HistoryCount) {
        fuzz::Fail("a merge changed the counts");
    }
    std::error_code ec;
    std::filesystem::remove(folders.cache / name, ec);
    return 0;
}
