#pragma once
// The import window's "過去成績": builds the results database on first use and
// extends it afterwards. veltrix-cli runs the same command.
#include "app/application.h"
#include "app/import_commands.h"
#include "jvlink/session.h"

namespace veltrix {

enum class RaceDataOutcome {
    Declined,  // the user answered No: nothing was done
    Aborted,   // set-up declined, cancel, or failure: the database is back at the start of its last day
    Updated,   // the database reaches to the end of JV-Link's data
};

// Asks first (No preselected), then runs CreateSeisekiDatabase with the window
// locked and ends with the status line of the outcome.
RaceDataOutcome GetRaceData(Application& app, SessionState& session, ImportTools tools);

}  // namespace veltrix
