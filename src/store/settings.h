#pragma once
// The user's analysis settings from "VELTRIX.ctx".
#include <array>
#include <filesystem>
#include <functional>
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

// Reads programFolder/"VELTRIX.ctx" into settings. Returns true on failure: a
// missing or undecodable file, a line whose key (the text before the first "=",
// compared exactly) is not a settings key, or a value that does not convert.
// Lines without "=" (sections, blank lines) are skipped. On failure the settings
// are left unchanged and *reason, when given, says why in one line for the
// user: the file, and the line number and key that failed.
bool ReadSettings(Settings& settings, const std::filesystem::path& programFolder,
                  std::string* reason = nullptr);

// Called between writing the temporary file and renaming it over the settings
// file; returning false abandons the write there. Only tests pass one, to act
// out a crash at that moment.
using BeforeReplace = std::function<bool(const std::filesystem::path& temporary)>;

// Writes key=value into [section] of programFolder/"VELTRIX.ctx" the way the
// Windows profile writer does: section and key are matched without regard to
// letter case; the first matching line is rewritten, a missing key is added at
// the end of its section and a missing section at the end of the file; every
// other line is kept as it is. The file is CP932 with CR LF and is replaced
// atomically. Returns 1 on success, 0 when the file cannot be read or written,
// -1 when a text cannot be written in CP932 or holds a line break.
int WriteSetting(const std::filesystem::path& programFolder, const std::string& section,
                 const std::string& key, const std::string& value, const BeforeReplace& beforeReplace = {});

}  // namespace veltrix
