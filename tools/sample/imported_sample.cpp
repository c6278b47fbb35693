#include "sample/imported_sample.h"

#include "app/import_commands.h"
#include "app/startup.h"
#include "jvlink/standin/standin_jvlink.h"
#include "sample/analysis_sample.h"

namespace veltrix::sample {

std::optional<ImportedSample> ImportSampleWeek(const std::filesystem::path& programFolder, std::uint32_t seed,
                                               std::string& reason) {
    Application app;
    if (PrepareApplication(app, programFolder, reason)) return std::nullopt;

    StandinOptions options;
    options.simulateDownload = false;  // nobody watches a progress bar here
    StandinJVLink jv(StandinFolder(programFolder), options);
    if (jv.JVInit(SoftwareId) != 0) {
        reason = "JV-Link stand-in could not be initialised";
        return std::nullopt;
    }
    YesUserInterface ui;
    NullPump pump;
    SystemClock clock;
    WeeklyImportState state;
    if (ImportThisWeek(app, state, {jv, ui, pump, clock}) != ImportOutcome::Imported) {
        reason = ui.lastMessage.empty() ? "the week could not be imported" : ui.lastMessage;
        return std::nullopt;
    }

    const SampleAnalysisSummary analysis = WriteSampleAnalysisFiles(app.store, app.folders.cache, seed);
    if (!analysis.ok) {
        reason = "the analysis files could not be written";
        return std::nullopt;
    }
    return ImportedSample{app.store.RaceCount, app.store.UmaCount, app.store.HistoryCount, analysis.dateFiles,
                          analysis.conditionRecords};
}

}  // namespace veltrix::sample
