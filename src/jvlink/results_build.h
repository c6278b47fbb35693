#pragma once
// The results database build: the final results (SE of data category "7") of
// every race from the stored time stamp on, read from JV-Link's "RACE" stream
// and appended to the race files of store/results_db.h.
//
// The build may stop at any moment, by the user's cancel, a failure or the
// process being killed. Whenever it moves on to another race day it first
// records that day in the state file as its resume point; a build that finds a
// resume point deletes the files dated on or after that day before it reads,
// and asks JV-Link for the data from that day again. So a later build always
// ends with the files an uninterrupted build would have written.
#include <filesystem>
#include <optional>
#include <string_view>

#include "base/changes.h"
#include "base/host.h"
#include "jvlink/jvlink.h"
#include "jvlink/session.h"
#include "store/results_db.h"

namespace veltrix {

// What the build works with.
struct SeisekiBuildContext {
    const std::filesystem::path& dataFolder;  // DataFolder
    SessionState& session;
    JVLink& jv;
    UserInterface& ui;
    Pump& pump;
    Clock& clock;
    // Hears CancelWithdrawn when the user answers No to the cancel question.
    ChangeNotifier& changes;
};

// The race file record of an SE record (CP932 bytes, with or without its CR
// LF): the 18 fields in file order, names trimmed. nullopt when the record is
// not an SE record of the right length or a field is not CP932 text.
std::optional<SeisekiRecord> SeisekiRecordOf(std::string_view seRecord);

// The build. 0 when JV-Link's data was read to its end and the state file
// points after it; -1 on cancel, failure or a set-up question answered Cancel.
int CreateSeisekiDatabase(SeisekiBuildContext& ctx);

}  // namespace veltrix
