#pragma once
// The five per-race files in the cache folder, "cache" + kind digit + race id:
// 4 odds, 7 data-mining forecast, 8 quick result (written by the real-time
// import), 5 bet list and 6 marks (the user's own work, replaced atomically).
//
// Every routine returns 0 on success and -1 on failure. A reader that meets a
// damaged file deletes it, clears the tables it fills and returns -1.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/folders.h"
#include "store/race_tables.h"

namespace veltrix {

// True for a 16-digit race id; only such ids name files.
bool IsRaceId(const std::string& raceId);
// CacheFolder/"cache" + kind + raceId; nullopt when raceId is not a race id.
std::optional<std::filesystem::path> RaceFilePath(const Folders& folders, char kind,
                                                  const std::string& raceId);

// cache4: 6,177 lines. Reading also computes the value ratios (the *Kairi tables).
int ReadOddsCache(const Folders& folders, const std::string& raceId, OddsTables& odds);
int WriteOddsCache(const Folders& folders, const std::string& raceId, const OddsTables& odds);
// The value ratios of every combination from the odds and win probabilities in
// memory, as reading the odds file computes them.
void ComputeValueRatios(OddsTables& odds);

// cache7 and cache8: the writers stop at the first horse whose score is negative.
int ReadMiningCache(const Folders& folders, const std::string& raceId, MiningTables& mining);
int WriteMiningCache(const Folders& folders, const std::string& raceId, const MiningTables& mining);
int ReadKekkaCache(const Folders& folders, const std::string& raceId, KekkaTables& kekka);
int WriteKekkaCache(const Folders& folders, const std::string& raceId, const KekkaTables& kekka);

// cache5. Reading fills KaimeData and sets every listed bet's odds state to 2,
// so the odds file must be read first.
int ReadKaimeCache(const Folders& folders, const std::string& raceId, RaceTables& tables);
// Writes the rows up to the first empty ShikibetsuCode (at most 1000); with no
// rows the file is deleted.
int WriteKaimeCache(const Folders& folders, const std::string& raceId, const Array1<KaimeRow>& kaimeData);

// cache6. Reading fills MarkList from entry 1 on.
int ReadMarkCache(const Folders& folders, const std::string& raceId, RaceTables& tables);
// rows: (UmaCode, mark) of every race card row in row order; with no rows the
// file is deleted.
int WriteMarkCache(const Folders& folders, const std::string& raceId, const std::vector<MarkEntry>& rows);

// Which per-race files a race load read successfully.
struct RaceFilesRead {
    bool odds = false;
    bool mining = false;
    bool kekka = false;
    bool kaime = false;
    bool marks = false;
};

// The per-race part of a race load: clears every table, then reads cache4,
// cache7, cache8, cache5, cache6 in this order where the file exists; a file
// that fails to read leaves its tables cleared.
RaceFilesRead LoadRaceFiles(const Folders& folders, const std::string& raceId, RaceTables& tables);

}  // namespace veltrix
