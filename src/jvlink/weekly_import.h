#pragma once
// The weekly import: "今週のレース" (this week's fixed entries) and "特別登録馬"
// (the special registrations of the coming week). Each reads a week from
// JV-Link into working lists, expands them into the store tables, sorts them
// and writes the weekly files. The import window drives them; veltrix-cli runs
// the same commands without a window.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/folders.h"
#include "base/host.h"
#include "jvlink/jvlink.h"
#include "jvlink/session.h"
#include "store/store.h"
#include "base/table.h"

namespace veltrix {

struct RaRecord;
struct SeRecord;
struct TkRecord;

// ---- working lists ---------------------------------------------------------
// The lists keep only the fields of each record that the import reads: they are
// sized to tens of thousands of entries ahead of reading.

// An RA record (race details).
struct ImportRace {
    std::string raceId, year, monthDay, courseCode, raceNumber;
    std::string raceName;  // as delivered (padded)
    std::string raceTypeCode, raceSymbolCode, weightRuleCode, conditionCode;
    std::string distance, trackCode, startTime, registeredCount, starterCount, turfGoing, dirtGoing;
};
ImportRace ToImportRace(const RaRecord& ra);

// An SE record (a runner in a race).
struct ImportRunner {
    std::string raceId, frameNumber, horseNumber, umaCode, horseName, sexCode, age;
    std::string trainerCode, trainerName, weightCarried, jockeyCode, jockeyName;
    std::string bodyWeight, weightSign, weightChange, abnormality, arrivalOrder, finalPlacing, raceTime;
    std::string corners;  // the four corner positions concatenated
    std::string winOdds, popularity;
};
ImportRunner ToImportRunner(const SeRecord& se);

// A TK record (special registration of one race) with its registered horses.
struct ImportTokuHorse {
    std::string sequence, umaCode, horseName, sexCode, trainerCode, trainerName, weightCarried;
};
struct ImportToku {
    std::string raceId, year, monthDay, courseCode, raceNumber, raceName, raceTypeCode, conditionCode;
    std::string distance, trackCode, registeredCount;
    std::vector<ImportTokuHorse> horses;  // the blocks before the first blank one
};
ImportToku ToImportToku(const TkRecord& tk);

// A list sized ahead; an entry beyond its size enlarges it to exactly the new
// count. The size only reserves room: entries beyond the count are never built.
template <class T>
struct WorkList {
    Array1<T> items;  // 1..count
    int size = 0;     // entries the list has room for
    int count = 0;    // entries filled
};

inline constexpr int kWeekRaceListSize = 72;
inline constexpr int kWeekUmaListSize = 1000;
inline constexpr int kTokuListSize = 36;
inline constexpr int kHRaceListSize = 20000;
inline constexpr int kHUmaListSize = 30000;

struct ImportLists {
    WorkList<ImportRace> WeekRaceList;    // RA of category "2"
    WorkList<ImportRunner> WeekUmaList;   // SE of category "2"
    WorkList<ImportToku> TokuList;        // flat-race TK of category "1" or "2"
    WorkList<ImportRace> HRaceList;       // past races (RA of category "7" or "A")
    WorkList<ImportRunner> HUmaList;      // past runs (SE of category "7" or "A")
    Array1<std::string> HRaceKey;         // race id, beside HRaceList (1..count)
    Array1<std::uint64_t> HRaceNumber;    // after sorting: HRaceKey as numbers, empty unless all are 16 digits
    Array1<std::string> HUmaKey;          // UmaCode + race id, beside HUmaList (1..count)
    Array1<int> HRaceIndex;               // after sorting: the list position of the n-th key
    Array1<int> HUmaIndex;
};

// The import's part of the import window's state: the session fields and the lists.
struct WeeklyImportState {
    SessionState session;
    ImportLists lists;
};

// What the routines work with.
struct ImportContext {
    Store& store;
    const Folders& folders;
    JVLink& jv;
    UserInterface& ui;
    Pump& pump;
    Clock& clock;
};

// ---- name tables (any other code gives the empty string) -------------------
std::string_view TrackName(std::string_view trackCode);   // 芝 / ダ / 障
std::string_view BabaName(std::string_view goingCode);    // 良 / 稍 / 重 / 不
std::string_view SyubetuName(std::string_view raceType);  // サラ２歳 ...
std::string_view JyokenName(std::string_view condition);  // 500万 ... オープン
std::string_view SexName(std::string_view sexCode);       // 牡 / 牝 / ｾﾝ

// A JV-Data text field without its padding (half- and full-width spaces): a
// view into `text`, valid as long as it is.
std::string_view TrimField(std::string_view text);

// The chooser label of a race: date, course, race number, start time (omitted
// when empty), track and distance, name (or race type and condition), then 80
// spaces and the race id.
std::string BuildRaceLabel(const ImportRace& race, bool withStartTime);

// ---- routines: 0 or more on success, negative on failure or cancel ---------
int ImportRaceInfo(WeeklyImportState& state, ImportContext& ctx);
int ImportTokubetsuInfo(WeeklyImportState& state, ImportContext& ctx);
// dataSpec "RCOV" after ImportRaceInfo, "TCOV" after ImportTokubetsuInfo.
int ImportUmaHistory(WeeklyImportState& state, ImportContext& ctx, const std::string& dataSpec);

// Key sorts of the past-run lists; -1 when cancelled.
int SortHRaceKeys(ImportLists& lists, Pump& pump);
int SortHUmaKeys(ImportLists& lists, Pump& pump);
// Position (in sorted order) of the key among HRaceKey[low..high], or -1.
int SearchHRaceIndex(const ImportLists& lists, std::string_view key, int low, int high);

int ExpandRaceInfo(WeeklyImportState& state, ImportContext& ctx);
int ExpandTokubetsuInfo(WeeklyImportState& state, ImportContext& ctx);
// Races in race-id order (date, course, meeting, day, race number).
int SortRaceInfo(Store& store, Pump& pump);
// Past runs in HistoryKey order, one row per horse and race.
int SortHistoryInfo(ImportContext& ctx);
void ClearImportLists(ImportLists& lists);

}  // namespace veltrix
