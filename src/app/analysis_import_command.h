#pragma once
// The analysis-file import window's command: the condition statistics and the
// file of every race date of the week, downloaded from the service and merged
// one by one, the race on show rebuilt after each date. veltrix-cli runs the
// same command.
#include "app/application.h"
#include "base/host.h"
#include "service/post_form.h"

namespace veltrix {

struct AnalysisImportTools {
    UserInterface& ui;  // question, message, one status line per step, progress
    Pump& pump;
    ServiceAddress address;
    PostOptions options;
};

struct AnalysisImportResult {
    bool declined = false;  // the user answered No: nothing was done
    int result = 0;         // 0 when every file was imported; else the code that ended the import
    int files = 0;          // files downloaded and merged
};

// A store without a week (DataMode neither "KONSYU" nor "TOKUBETSU") is told to
// import the races first. Files merged before a failure stay; a file that
// fails to read empties the store (and resets the race card) as at start-up.
AnalysisImportResult ImportAnalysisFiles(Application& app, AnalysisImportTools tools);

}  // namespace veltrix
