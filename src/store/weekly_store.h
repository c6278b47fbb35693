#pragma once
// The three weekly race files and the searches over the store tables.
#include <filesystem>
#include <string>
#include <vector>

#include "base/folders.h"
#include "base/host.h"
#include "store/store.h"

namespace veltrix {

inline constexpr const char* kCache1 = "cache1xxxxxxxx";
inline constexpr const char* kCache2 = "cache2xxxxxxxx";
inline constexpr const char* kCache3 = "cache3xxxxxxxx";

// Writes the three files from the tables. Returns true on failure (the counts are then 0).
bool SaveRaceCache(Store& store, const Folders& folders, UserInterface& ui, Pump& pump);
// Reads the three files. Returns true on failure: the files are deleted and the
// store emptied; *damaged, when given, is then the path of the file that failed.
bool LoadRaceCache(Store& store, const Folders& folders, std::filesystem::path* damaged = nullptr);
void ClearRaceCache(Store& store);
// True when all three weekly files are in the cache folder.
bool WeeklyFilesPresent(const Folders& folders);

// Quicksort of keys[first..last] (1-based, inclusive), moving positions along;
// equal keys end in the order this quicksort has always given them. Processes
// events as it goes; returns true when cancelled (the keys are then partly sorted).
bool SortKeys(Array1<std::string>& keys, Array1<int>& positions, int first, int last, Pump& pump);

int FindFirstRunner(const Store& store, const std::string& raceId, int first, int last);
int FindFirstHistory(const Store& store, const std::string& umaCode, int first, int last);
int FindUmaKey(const Store& store, const std::string& key, int first, int last);
int FindHistoryKey(const Store& store, const std::string& key, int low, int high);

// Course name of a two-digit course code; empty for an unknown code.
std::string CourseName(const std::string& courseCode);

}  // namespace veltrix
