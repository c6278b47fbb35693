#pragma once
// The analysis files: per-date figures of runners and past runs
// ("cachea" + YYYYMMDD + mode letter) and the condition statistics
// ("cachea00000000p"), merged into the store tables and the condition table.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/folders.h"
#include "base/host.h"
#include "store/condition_table.h"
#include "store/store.h"

namespace veltrix {

// Last line of every analysis file. The download accepts a file only when it
// carries the maker's name, so the trailer holds it.
inline constexpr std::string_view AnalysisTrailer = "END OF VELTRIX ANALYSIS DATA - (C) Brennick,Inc.";
static_assert(AnalysisTrailer.size() == 48);

inline constexpr const char* kConditionFileArgument = "00000000p";  // "cachea00000000p"
inline constexpr int kAnalysisDataLength = 36;                      // nine 4-character groups
inline constexpr int kConditionDataLength = 65;

// Packed figures. position is 1-based; nullopt when the group is cut short or
// holds a character that is not a hexadecimal digit.
// 4 characters, low byte first, signed 16-bit, in hundredths: "3213" -> "49.14".
std::optional<std::string> DecodeGroup4(std::string_view data, int position);
// 5 characters, plain hexadecimal, in ten-thousandths: "186A0" -> "10".
std::optional<std::string> DecodeGroup5(std::string_view data, int position);
// Sign code character at position + 4 followed by the 4-character group at position.
std::optional<std::string> DecodeSignedGroup(std::string_view data, int position);
// Writers of the same groups (hundredths; ten-thousandths up to 0xFFFFF).
std::string EncodeGroup4(std::int16_t hundredths);
std::string EncodeGroup5(std::uint32_t tenThousandths);

// "r" for "KONSYU", "t" for "TOKUBETSU", empty for any other mode.
std::string AnalysisModeLetter(const std::string& dataMode);

// Merges CacheFolder/"cachea" + argument (for example "20090117r") into UmaInfo
// columns 14-23 and HistoryInfo columns 32-42. Returns 0, or -1 on failure: the
// file is deleted and the store emptied (the caller resets the race card). An
// argument that is not 8 digits and a lower-case letter names no file: -1,
// nothing touched.
int ReadAnalysisFile(Store& store, const Folders& folders, const std::string& argument, Pump& pump);

// Reads "cachea00000000p" into ConditionKey / ConditionTable. Returns 0, or -1
// on failure: the file is deleted, the condition table and the store emptied
// (the caller resets the race card).
int ReadConditionFile(Conditions& conditions, Store& store, const Folders& folders, Pump& pump);

struct AnalysisMergeResult {
    int analysisFiles = 0;     // per-date files merged
    int conditionRecords = 0;  // rows of the condition table
    bool ended = false;        // the step ended early (a reader failed or the mode is unknown)
    bool failed = false;       // a reader failed: its file is deleted and the store emptied
    std::filesystem::path damagedFile;  // the file that failed, when failed
};

// Start-up merge after the weekly files have been read: the condition file
// first when it exists (a failure ends the merge), then the file of every
// distinct race date of RaceIdList, in order, when it exists.
AnalysisMergeResult MergeAnalysisFilesAtStartup(Store& store, Conditions& conditions, const Folders& folders,
                                                Pump& pump);

}  // namespace veltrix
