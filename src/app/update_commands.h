#pragma once
// The import window's real-time updates: odds, data-mining forecast and quick
// result, for one race ("取込" of the race list) or for every race of the list
// ("オッズ一括", "D.M.一括", "結果一括"). An update reads the race's data into the
// window's working copy, writes the race's file and, when the race is the one
// on the race card, copies the data onto the card and redraws its odds sheet
// (windows hear OddsApplied). veltrix-cli runs the same commands.
#include <string>

#include "app/application.h"
#include "app/import_commands.h"
#include "jvlink/data_import.h"

namespace veltrix {

enum class RealTimeKind { Odds, Mining, Kekka };

// One race: status line "…をインポート中...", then the success message and 1, or
// the abort or nothing-to-import message and -1. A failed or cancelled session,
// a race without usable data and a file that cannot be written leave the race
// card as it was.
int UpdateOdds(Application& app, DataImportModel& model, const std::string& raceId, ImportTools tools);
int UpdateMining(Application& app, DataImportModel& model, const std::string& raceId, ImportTools tools);
int UpdateKekka(Application& app, DataImportModel& model, const std::string& raceId, ImportTools tools);
int UpdateRealTime(RealTimeKind kind, Application& app, DataImportModel& model, const std::string& raceId,
                   ImportTools tools);

// "取込": the forecast, the odds and the result of one race in this order,
// whatever each returns; the status line keeps the last message.
struct RaceUpdateResults {
    int mining = -1;
    int odds = -1;
    int kekka = -1;
    bool allUpdated() const { return mining == 1 && odds == 1 && kekka == 1; }
};
RaceUpdateResults UpdateRace(Application& app, DataImportModel& model, const std::string& raceId,
                             ImportTools tools);

enum class BatchOutcome {
    NotAvailable,  // no week of this week's races (DataMode "KONSYU") is stored
    Declined,      // the user answered No
    Aborted,       // a failure, or cancel: stopped with the abort message
    Done,          // every row of the race list was walked: success message
};

// The batch buttons: after the question, every race of the race list in grid
// order with progress; cancel is honoured after each import. Only a completed
// import is written and applied to the race on show.
BatchOutcome UpdateAllOdds(Application& app, DataImportModel& model, ImportTools tools);
BatchOutcome UpdateAllMining(Application& app, DataImportModel& model, ImportTools tools);
BatchOutcome UpdateAllKekka(Application& app, DataImportModel& model, ImportTools tools);
BatchOutcome UpdateAll(RealTimeKind kind, Application& app, DataImportModel& model, ImportTools tools);

}  // namespace veltrix
