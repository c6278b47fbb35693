#include "app/analysis_commands.h"

#include "app/race_commands.h"

namespace veltrix {

int MergeAnalysisFile(Application& app, const std::string& argument, Pump& pump) {
    const int result = ReadAnalysisFile(app.store, app.folders, argument, pump);
    // An argument that names no file touches nothing.
    if (result != 0 && app.store.RaceCount == 0) ResetData(app);
    return result;
}

int MergeConditionFile(Application& app, Pump& pump) {
    const int result = ReadConditionFile(app.conditions, app.store, app.folders, pump);
    if (result != 0) ResetData(app);
    return result;
}

AnalysisMergeResult MergeAnalysisFiles(Application& app, Pump& pump) {
    AnalysisMergeResult result = MergeAnalysisFilesAtStartup(app.store, app.conditions, app.folders, pump);
    if (result.failed) ResetData(app);
    return result;
}

}  // namespace veltrix
