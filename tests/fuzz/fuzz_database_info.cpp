// The results database's state file "databaseinfo", read as every build starts.
// The reader always ends with a stamp the build can ask JV-Link for: an
// accepted file is left byte for byte, a refused one is replaced by the set-up
// record, and what it leaves behind reads to the same stamp and state.
#include <cstdint>
#include <string>

#include "fuzz_common.h"
#include "store/results_db.h"

using namespace veltrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Folders folders = fuzz::MakeProgramFolder("databaseinfo");
    static const std::string setupRecord = std::string("\"") + kSetupStamp + "\",\"" + kStateSetup + "\"\r\n";
    std::filesystem::create_directories(folders.data);
    const auto path = folders.data / kDatabaseInfoName;
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (!WriteFileBytes(path, input)) fuzz::Fail("cannot write the input");

    DatabaseInfo info;
    if (ReadDatabaseInfo(folders.data, info) != 0) fuzz::Fail("a writable state file was not repaired");
    if (!IsDatabaseStamp(info.stamp)) fuzz::Fail("a stamp the build cannot use");
    const auto after = ReadFileBytes(path);
    if (!after) fuzz::Fail("no state file after reading");
    const bool setup = info.stamp == kSetupStamp && info.state == kStateSetup;
    if (*after != input && !(setup && *after == setupRecord))
        fuzz::Fail("the state file was changed but not repaired");

    DatabaseInfo again;
    if (ReadDatabaseInfo(folders.data, again) != 0 || again.stamp != info.stamp || again.state != info.state)
        fuzz::Fail("the state file left behind reads differently");
    const auto last = ReadFileBytes(path);
    if (!last || *last != *after) fuzz::Fail("a repaired state file was repaired again");
    return 0;
}
