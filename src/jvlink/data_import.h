#pragma once
// The import window's rules without the window: its race list fpsControl, the
// state of its buttons per phase, and what the list's buttons do.
#include <string>

#include "base/host.h"
#include "base/sheet.h"
#include "jvlink/realtime_import.h"
#include "jvlink/weekly_import.h"
#include "store/store.h"

namespace veltrix {

// fpsControl's columns.
inline constexpr int kControlCols = 10;
inline constexpr ColNo kColRaceId{1};  // hidden
inline constexpr ColNo kColLabel{2};   // hidden
inline constexpr ColNo kColImport{9};  // push button "取込"
inline constexpr ColNo kColShow{10};   // check box "表示": "1" checked, "0" not
inline constexpr const char* kImportButtonCaption = "取込";
inline constexpr const char* kShowCheckCaption = "表示";

// The import window's state: the session fields and the weekly import's
// lists, the real-time working copies, the race list, and the list's busy flag
// (while set, its buttons are ignored).
struct DataImportModel {
    WeeklyImportState import;
    RealTimeWork realTime;
    Sheet fpsControl;
    bool busy = false;
    PendingClose close;  // the window was asked to close while a command ran
    DataImportModel();
};

// Columns, headers and hidden columns of an empty race list.
void SetUpRaceList(Sheet& fpsControl);

// Columns 3-8 of a race from its label: date, course, race number, start time
// ("--:--" for special registrations), track and distance, name.
struct RaceLabelParts {
    std::string date, course, raceNumber, startTime, distance, name;
};
RaceLabelParts SplitRaceLabel(const std::string& label, bool tokubetsu);

// Fills the list from the store; the race whose label is shownLabel (the race
// on the race card) is checked. Returns that race's row (for scrolling), or 0.
// Without a stored week (DataMode neither "KONSYU" nor "TOKUBETSU") the list is empty.
int PutRaceList(Sheet& fpsControl, const Store& store, const std::string& shownLabel);

// Which controls are enabled.
enum class ImportPhase { Idle, Running };
struct ImportWindowState {
    bool importButtons;  // 特別登録馬, 今週のレース, 過去成績 and the JV-Link settings button
    bool realTimeButtons;  // D.M.一括, オッズ一括, 結果一括
    bool grid;
    bool cancel;
    bool waitCursor;
};
ImportWindowState ImportWindowStateFor(ImportPhase phase, const std::string& dataMode);

}  // namespace veltrix
