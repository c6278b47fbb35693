#pragma once
// The results database in DataFolder: the state file "databaseinfo" and one
// race file per past race, DataFolder/<year>/<race id>, with one record of 18
// quoted fields per runner (CP932, CR LF). The build that fills it lives in
// jvlink/results_build.h; the race model window reads the race files.
#include <array>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veltrix {

inline constexpr const char* kDatabaseInfoName = "databaseinfo";
// The database starts on 5 January 2000; a missing or broken state file restarts it there.
inline constexpr const char* kSetupStamp = "20000105000000";
inline constexpr const char* kStateSetup = "S";  // the first build has not completed
inline constexpr const char* kStateNormal = "N";
inline constexpr std::size_t kSeisekiFields = 18;
// No race has more runners; a file with more records is damaged.
inline constexpr std::size_t kSeisekiRunnersMax = 30;

// Fields of a runner record (0-based index into SeisekiRecord).
namespace seiseki_col {
inline constexpr std::size_t kFrame = 0;
inline constexpr std::size_t kHorseNumber = 1;
inline constexpr std::size_t kAbnormality = 2;
inline constexpr std::size_t kHorseName = 3;
inline constexpr std::size_t kSex = 4;
inline constexpr std::size_t kAge = 5;
inline constexpr std::size_t kWeightCarried = 6;
inline constexpr std::size_t kBodyWeight = 7;
inline constexpr std::size_t kWeightChange = 8;  // sign character and three digits
inline constexpr std::size_t kJockey = 9;
inline constexpr std::size_t kTrainer = 10;
inline constexpr std::size_t kTime = 11;
inline constexpr std::size_t kLast3F = 12;
inline constexpr std::size_t kCorners = 13;  // four two-digit positions
inline constexpr std::size_t kArrival = 14;
inline constexpr std::size_t kPlacing = 15;
inline constexpr std::size_t kWinOdds = 16;
inline constexpr std::size_t kPopularity = 17;
}  // namespace seiseki_col

// One runner of a race file, UTF-8 in memory.
using SeisekiRecord = std::array<std::string, kSeisekiFields>;

struct DatabaseInfo {
    std::string stamp;  // 14 digits: where the next build asks JV-Link to start
    std::string state;  // kStateSetup or kStateNormal
};

// True for a stamp the state file may hold: 14 digits beginning with "20".
bool IsDatabaseStamp(std::string_view stamp);

// Reads the state file. A missing or unreadable file, or one whose stamp is not
// 14 digits beginning with "20", is rewritten as kSetupStamp, kStateSetup and
// that is returned. 0, or -1 when the file cannot be written.
int ReadDatabaseInfo(const std::filesystem::path& dataFolder, DatabaseInfo& info);
// Replaces the state file atomically with the one record, flushed to the disk. 0 or -1.
int WriteDatabaseInfo(const std::filesystem::path& dataFolder, const std::string& stamp,
                      const std::string& state);
// The state file with day (yyyymmdd) + "000000" and the state: the resume point
// a build records for every race day it starts. Replaced by a rename like
// WriteDatabaseInfo but not flushed: a build records a hundred a year, and the
// rename alone keeps the file whole when the process dies. 0 or -1.
int WriteResumePoint(const std::filesystem::path& dataFolder, const std::string& day,
                     const std::string& state);

// DataFolder/<first four characters>/<race id>; nullopt unless raceId is 16 digits.
std::optional<std::filesystem::path> SeisekiRaceFilePath(const std::filesystem::path& dataFolder,
                                                         const std::string& raceId);

// Appends the runners to the race's file with one open, creating the year
// folder when it is missing. 0, or -1 for an id that is not 16 digits, text
// that CP932 cannot hold, or an I/O error.
int AppendSeisekiRaceFile(const std::filesystem::path& dataFolder, const std::string& raceId,
                          std::span<const SeisekiRecord> runners);

enum class SeisekiFileStatus {
    Read,     // every record read
    Missing,  // no file for the race (or the id is not 16 digits)
    Damaged,  // not CP932 text, a record that is not 18 fields, or more than 30 records
};

struct SeisekiRaceFile {
    SeisekiFileStatus status = SeisekiFileStatus::Missing;
    std::vector<SeisekiRecord> runners;  // in file order; empty unless Read
};

// Reads every record of a race file to its end. A damaged file is reported and
// left where it is: it is the user's only copy of the race.
SeisekiRaceFile ReadSeisekiRaceFile(const std::filesystem::path& dataFolder, const std::string& raceId);

// Deletes the race files dated on or after day (yyyymmdd) in day's year folder
// and in every later year folder; other files are left alone. 0, or -1 when a
// file could not be deleted (the others are still tried).
int DeleteSeisekiFilesFrom(const std::filesystem::path& dataFolder, const std::string& day);

// Race files in the year folders.
long long CountSeisekiRaceFiles(const std::filesystem::path& dataFolder);

}  // namespace veltrix
