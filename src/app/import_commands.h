#pragma once
// The import window's commands over the application: "今週のレース" (this
// week's fixed entries), "特別登録馬" (the special registrations of the coming
// week) and the buttons of its race list. veltrix-cli runs the same commands.
#include <string>

#include "app/application.h"
#include "base/host.h"
#include "jvlink/data_import.h"
#include "jvlink/jvlink.h"
#include "jvlink/weekly_import.h"

namespace veltrix {

enum class ImportOutcome {
    Declined,  // the user answered No: nothing was done
    NoData,    // JV-Link delivered no usable race: empty store
    Aborted,   // failure or cancel: empty store
    Imported,  // the week is in the store and in the weekly files
};

// The final status line of an import that read its data to the end, followed,
// when it passed over damaged records, by how many: "… ( 不正なレコード 3 件を読み飛ばしました )".
std::string WithPassedOver(const std::string& text, int passedOver);

// What an import command works with besides the application.
struct ImportTools {
    JVLink& jv;
    UserInterface& ui;
    Pump& pump;
    Clock& clock;
};

// "今週のレース" and "特別登録馬". Once the user agreed, the race card is reset
// and the store emptied; on success the weekly files are written and read back
// with LoadRaceCache, so the tables in memory are exactly what start-up reads
// (the past-run filter column included). Every other outcome leaves an empty
// store and no weekly files. Windows hear StoreReplaced when the store changed.
// The success and no-data messages say how many damaged records were passed over.
ImportOutcome ImportThisWeek(Application& app, WeeklyImportState& state, ImportTools tools);
ImportOutcome ImportTokubetsu(Application& app, WeeklyImportState& state, ImportTools tools);

enum class RaceListClick {
    Ignored,    // busy, or not a button cell
    Imported,   // "取込": the three updates ran
    Opened,     // "表示" checked: the race was opened, other rows unchecked
    Unchecked,  // "表示" cleared: nothing else happens
};

// A click on a cell of the import window's race list. "表示" toggles the check
// box first and opens the race on the race card; "取込" runs the one-race
// updates of the forecast, the odds and the result. An exception ends it
// quietly with an empty status line.
RaceListClick ClickRaceList(Application& app, DataImportModel& model, RowNo row, ColNo col, ImportTools tools);

}  // namespace veltrix
