#pragma once
// The analysis files merged into the application's store. A file that fails to
// read is deleted and takes the store with it, so the race card is reset too:
// nothing of the emptied week may stay on show.
#include <string>

#include "app/application.h"
#include "base/host.h"
#include "store/analysis_files.h"

namespace veltrix {

// "cachea" + argument (date and mode letter). 0, or -1 on failure.
int MergeAnalysisFile(Application& app, const std::string& argument, Pump& pump);
// "cachea00000000p" into the condition table. 0, or -1 on failure.
int MergeConditionFile(Application& app, Pump& pump);
// The start-up merge: the condition file, then the file of every race date.
AnalysisMergeResult MergeAnalysisFiles(Application& app, Pump& pump);

}  // namespace veltrix
