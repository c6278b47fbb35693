#pragma once
// The tuning window's rules: its fields as text (masked entries with a fixed
// decimal point), how they are read, the defaults, applying them to the
// parameters and saving them to the settings file.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/settings.h"

namespace veltrix {

inline constexpr int kTuneWeights = 10;
inline constexpr int kTuneKyori = 7;

// The weight fields in the order the parameters are applied.
enum TuneWeight : int {
    kTuneRaceLevel,   // mskedRaceLevel "RL"
    kTuneTimeZenhan,  // mskedZenH "T前"
    kTuneTimeKouhan,  // mskedAgaH "T後"
    kTuneRaceZenhan,  // mskedZenR "R前"
    kTuneRaceKouhan,  // mskedAgaR "R後"
    kTuneRaceMd,      // mskedMd "MD"
    kTunePace,        // mskedPace "P傾"
    kTuneKisyu,       // mskedKisyu "騎X"
    kTuneChokyo,      // mskedChokyo "調X"
    kTuneCombi,       // mskedKisCho "共X"
};
inline constexpr std::array<const char*, kTuneWeights> kTuneWeightKeys = {
    "RaceLevel", "TimeZenhan", "TimeKouhan", "RaceZenhan", "RaceKouhan",
    "RaceMd",    "Pace",       "Kisyu",      "Chokyo",     "Combi"};
inline constexpr std::array<const char*, kTuneWeights> kTuneWeightCaptions = {
    "RL", "T前", "T後", "R前", "R後", "MD", "P傾", "騎X", "調X", "共X"};
inline constexpr std::array<const char*, kTuneKyori> kTuneKyoriCaptions = {
    "距離 -3", "距離 -2", "距離 -1", "距離 0", "距離 +1", "距離 +2", "距離 +3"};
inline constexpr const char* kTuneSection = "TuneInfo";

// The window's fields as the user sees and types them.
struct TuningFields {
    std::array<std::string, kTuneWeights> weights;  // "0.30": digit, point, two digits
    std::array<std::string, kTuneKyori> kyori;      // "1.0": digit, point, digit (held x10)
    int cboKikan = -1;                              // period entry k: (k + 1) x 100 days; -1 none
};

// The parameters' defaults.
Settings DefaultTuning();

// A field's value. The digits without the point count from the left, digits
// not typed as zeros at the end: "1" 1.00, "15" 1.50, "105" 1.05; empty 0. A
// distance field gives the held value ("1" 10, "15" 15). nullopt when the field
// holds anything but digits, the point and blanks, or too many digits.
std::optional<double> ReadWeightField(std::string_view text);
std::optional<double> ReadKyoriField(std::string_view text);

// The fields as the window's load fills them from the parameters.
TuningFields TuningFieldsOf(const Settings& settings);
// cmdInit: the default values and "600日".
TuningFields DefaultTuningFields();
// The period of the selected entry; 600 when none is selected.
int KikanOfEntry(int cboKikan);

// cmdSet: the fields into the parameters, in order. True when a field cannot be
// read; the parameters before it keep their new values.
bool ApplyTuning(Settings& settings, const TuningFields& fields);

// cmdSave: the keys of "TuneInfo" in order, as they are written.
struct TuneKey {
    std::string key;
    std::string value;
};
// The values written for the fields, the auto tuning flag first. True when a
// field cannot be read (keys stops before it).
bool TuningKeys(const TuningFields& fields, bool autoTuning, std::vector<TuneKey>& keys);
// Writes them one by one into the settings file, each replacing the file
// atomically. The parameters in memory are not changed. True on failure; the
// keys before the failing one are written.
bool SaveTuning(const std::filesystem::path& programFolder, const TuningFields& fields, bool autoTuning,
                const BeforeReplace& beforeReplace = {});

}  // namespace veltrix
