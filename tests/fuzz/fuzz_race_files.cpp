// The per-race files cache4 to cache8. The first byte is the kind ('4' odds,
// '5' bet list, '6' marks, '7' forecast, '8' result); the input is that file of
// one race, read as a race load reads it. A damaged file is deleted.
#include <cstdint>
#include <string>

#include "fuzz_common.h"
#include "store/race_files.h"

using namespace veltrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Folders folders = fuzz::MakeProgramFolder("race");
    static const std::string raceId = "2026121206050309";
    if (size < 1) return 0;
    const char kind = "45678"[static_cast<unsigned char>(data[0] - '4') % 5];
    const auto path = RaceFilePath(folders, kind, raceId);
    if (!path) fuzz::Fail("no file name for the race");
    if (!WriteFileBytes(*path, std::string(reinterpret_cast<const char*>(data) + 1, size - 1)))
        fuzz::Fail("cannot write the input");
    RaceTables tables;
    const RaceFilesRead read = LoadRaceFiles(folders, raceId, tables);
    const bool ok = kind == '4' ? read.odds : kind == '5' ? read.kaime : kind == '6' ? read.marks
                  : kind == '7' ? read.mining : read.kekka;
    const bool kept = FileExists(*path);
    if (!ok && kept) fuzz::Fail("a damaged file was kept");
    if (ok && !kept) fuzz::Fail("a file read was deleted");
    std::error_code ec;
    std::filesystem::remove(*path, ec);
    return 0;
}
