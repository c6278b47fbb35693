#pragma once
// Sample analysis files for a loaded week, as the analysis-file service would
// deliver them: the condition statistics and one per-date file per race date.
#include <cstdint>
#include <filesystem>
#include <string>

#include "store/store.h"

namespace veltrix {

struct SampleAnalysisSummary {
    bool ok = false;         // every file written
    int dateFiles = 0;       // per-date files written
    int runnerRecords = 0;   // runner records written, strays included
    int pastRunRecords = 0;  // past-run records written, strays included
    int conditionRecords = 0;
};

// Writes into cacheFolder "cachea00000000p" and, for every distinct race date of
// the store, "cachea" + date + the mode letter of the store's DataMode ("r" for
// KONSYU, "t" for TOKUBETSU; modeLetter overrides it). Every runner gets figures;
// most past runs do, some deliberately not; a few records name runners or past
// runs that are not in the store. The same store and seed give the same bytes.
SampleAnalysisSummary WriteSampleAnalysisFiles(const Store& store, const std::filesystem::path& cacheFolder,
                                               std::uint32_t seed, const std::string& modeLetter = {});

}  // namespace veltrix
