// A race file of the results database (DataFolder/<year>/<race id>), read as
// the race model window reads it. A damaged file is reported and left exactly
// as it was (it is the user's only copy of the race); a file that reads holds
// at most 30 runners of 18 fields, and those runners, written back by the
// build's writer, read back the same.
#include <cstdint>
#include <string>

#include "base/fields.h"
#include "fuzz_common.h"
#include "store/results_db.h"

using namespace veltrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Folders folders = fuzz::MakeProgramFolder("seiseki");
    static const Folders rewritten = fuzz::MakeProgramFolder("seiseki_rewritten");
    static const std::string raceId = "2025122806050811";
    const auto path = SeisekiRaceFilePath(folders.data, raceId);
    const auto rewrittenPath = SeisekiRaceFilePath(rewritten.data, raceId);
    if (!path || !rewrittenPath) fuzz::Fail("no file name for the race");
    std::filesystem::create_directories(path->parent_path());
    std::filesystem::create_directories(rewritten.data);
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (!WriteFileBytes(*path, input)) fuzz::Fail("cannot write the input");

    SeisekiRaceFile read = ReadSeisekiRaceFile(folders.data, raceId);
    const auto after = ReadFileBytes(*path);
    if (!after || *after != input) fuzz::Fail("the reader changed or removed the race file");
    if (read.status == SeisekiFileStatus::Missing) fuzz::Fail("a present file read as missing");
    if (read.status == SeisekiFileStatus::Damaged) {
        if (!read.runners.empty()) fuzz::Fail("a damaged file handed out runners");
        return 0;
    }
    if (read.runners.size() > kSeisekiRunnersMax) fuzz::Fail("more runners than a race has");

    // The writer blanks what would break a quoted cell; otherwise the text goes round unchanged.
    for (SeisekiRecord& r : read.runners)
        for (std::string& field : r) CleanTextCell(field);
    std::error_code ec;
    std::filesystem::remove(*rewrittenPath, ec);
    if (AppendSeisekiRaceFile(rewritten.data, raceId, read.runners) != 0)
        fuzz::Fail("runners that were read cannot be written back");
    const SeisekiRaceFile again = ReadSeisekiRaceFile(rewritten.data, raceId);
    if (!read.runners.empty() && again.status != SeisekiFileStatus::Read)
        fuzz::Fail("a rewritten file does not read");
    if (!read.runners.empty() && again.runners != read.runners)
        fuzz::Fail("a rewritten file reads differently");
    return 0;
}
