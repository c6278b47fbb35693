#pragma once
// The user's analysis settings from "VELTRIX.ctx".
#include <array>
#include <filesystem>
#include <string>

namespace veltrix {

struct Settings {
    bool AutoTuning = false;
    double RaceLevel = 0;
    double TimeZenhan = 0;
    double TimeKouhan = 0;
    double RaceZenhan = 0;
    double RaceKouhan = 0;
    double RaceMd = 0;
    double Pace = 0;
    short Kikan = 0;
    double Kisyu = 0;
    double Chokyo = 0;
    double Combi = 0;
    std::array<double, 7> KyoriWeight{};
    std::array<std::string, 15> Mark{};
};

inline constexpr const char* kSettingsFileName = "VELTRIX.ctx";

// Reads "VELTRIX.ctx" of the program folder. Returns true on failure.
bool ReadSettings(Settings& settings, const std::filesystem::path& programFolder);

}  // namespace veltrix
