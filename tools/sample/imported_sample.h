#pragma once
// A sample program folder as a user has it after the first import: the week of
// the stand-in imported into the weekly files and the analysis files beside it.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace veltrix::sample {

struct ImportedSample {
    int races = 0;
    int runners = 0;
    int pastRuns = 0;
    int analysisFiles = 0;  // per-date files
    int conditionRecords = 0;
};

// Runs "今週のレース" (every question answered Yes) against the stand-in folder of
// programFolder, then writes the analysis files for the imported week.
// nullopt with a one-line reason when any step fails.
std::optional<ImportedSample> ImportSampleWeek(const std::filesystem::path& programFolder, std::uint32_t seed,
                                               std::string& reason);

}  // namespace veltrix::sample
