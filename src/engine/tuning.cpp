#include "engine/tuning.h"

#include <cmath>

#include "base/format.h"
#include "engine/select_palette.h"

namespace veltrix {

namespace {

constexpr int kDefaultKikan = 600;

// The parameter of each weight field, in field order.
constexpr std::array<double Settings::*, kTuneWeights> kWeightMembers = {
    &Settings::RaceLevel,  &Settings::TimeZenhan, &Settings::TimeKouhan, &Settings::RaceZenhan,
    &Settings::RaceKouhan, &Settings::RaceMd,     &Settings::Pace,       &Settings::Kisyu,
    &Settings::Chokyo,     &Settings::Combi};

bool blank(char c) { return c == ' ' || c == '_'; }

// The digits of a masked field: the point taken out, blanks around them
// trimmed, a blank between digits a digit not typed (0). nullopt for anything
// else or more than maxDigits digits.
std::optional<std::string> fieldDigits(std::string_view text, size_t maxDigits) {
    std::string t;
    for (char c : text)
        if (c != '.') t += c;
    size_t b = 0;
    size_t e = t.size();
    while (b < e && blank(t[b])) ++b;
    while (e > b && blank(t[e - 1])) --e;
    t = t.substr(b, e - b);
    for (char& c : t) {
        if (blank(c)) c = '0';
        if (c < '0' || c > '9') return std::nullopt;
    }
    if (t.size() > maxDigits) return std::nullopt;
    return t;
}

// t x 10^(3 - n) / divisor, digits not typed counting as zeros at the end.
std::optional<double> readField(std::string_view text, size_t maxDigits, double divisor) {
    auto t = fieldDigits(text, maxDigits);
    if (!t) return std::nullopt;
    if (t->empty()) return 0.0;
    double v = 0;
    for (char c : *t) v = v * 10 + (c - '0');
    for (size_t n = t->size(); n < 3; ++n) v *= 10;
    return v / divisor;
}

std::string kikanText(int cboKikan) {
    std::string text = FormatNumber(cboKikan >= 0 ? (cboKikan + 1) * 100 : 0, "000");
    return text == "000" ? std::to_string(kDefaultKikan) : text;
}

}  // namespace

Settings DefaultTuning() {
    Settings s;
    s.AutoTuning = false;
    s.RaceLevel = 0.30;
    s.TimeZenhan = 0;
    s.TimeKouhan = 0;
    s.RaceZenhan = 0.40;
    s.RaceKouhan = 0.60;
    s.RaceMd = 0;
    s.Pace = 0.10;
    s.Kikan = kDefaultKikan;
    s.Kisyu = 0;
    s.Chokyo = 0;
    s.Combi = 0;
    s.KyoriWeight = {10, 20, 30, 50, 30, 20, 10};
    return s;
}

std::optional<double> ReadWeightField(std::string_view text) { return readField(text, 3, 100); }
std::optional<double> ReadKyoriField(std::string_view text) { return readField(text, 2, 10); }

TuningFields TuningFieldsOf(const Settings& settings) {
    TuningFields f;
    for (int i = 0; i < kTuneWeights; ++i)
        f.weights[static_cast<size_t>(i)] =
            FormatNumber(settings.*kWeightMembers[static_cast<size_t>(i)], "0.00");
    for (size_t i = 0; i < f.kyori.size(); ++i)
        f.kyori[i] = FormatNumber(settings.KyoriWeight[i] / 10, "0.0");
    f.cboKikan = KikanEntryOf(settings.Kikan);
    return f;
}

TuningFields DefaultTuningFields() { return TuningFieldsOf(DefaultTuning()); }

int KikanOfEntry(int cboKikan) { return cboKikan >= 0 ? (cboKikan + 1) * 100 : kDefaultKikan; }

bool ApplyTuning(Settings& settings, const TuningFields& fields) {
    for (int i = 0; i < kTuneWeights; ++i) {
        auto v = ReadWeightField(fields.weights[static_cast<size_t>(i)]);
        if (!v) return true;
        settings.*kWeightMembers[static_cast<size_t>(i)] = *v;
    }
    settings.Kikan = static_cast<short>(KikanOfEntry(fields.cboKikan));
    for (size_t i = 0; i < fields.kyori.size(); ++i) {
        auto v = ReadKyoriField(fields.kyori[i]);
        if (!v) return true;
        settings.KyoriWeight[i] = *v;
    }
    return false;
}

bool TuningKeys(const TuningFields& fields, bool autoTuning, std::vector<TuneKey>& keys) {
    keys.clear();
    keys.push_back({"AutoTuning", autoTuning ? "1" : "0"});
    auto weight = [&](int i) {
        auto v = ReadWeightField(fields.weights[static_cast<size_t>(i)]);
        if (!v) return false;
        keys.push_back({kTuneWeightKeys[static_cast<size_t>(i)], FormatNumber(*v, "0.00")});
        return true;
    };
    for (int i = kTuneRaceLevel; i <= kTunePace; ++i)
        if (!weight(i)) return true;
    keys.push_back({"Kikan", kikanText(fields.cboKikan)});
    for (int i = kTuneKisyu; i <= kTuneCombi; ++i)
        if (!weight(i)) return true;
    std::string kyori;
    for (const std::string& field : fields.kyori) {
        auto v = ReadKyoriField(field);
        if (!v) return true;
        kyori += FormatNumber(*v, "00");
    }
    keys.push_back({"KyoriWeight", kyori});
    return false;
}

bool SaveTuning(const std::filesystem::path& programFolder, const TuningFields& fields, bool autoTuning,
                const BeforeReplace& beforeReplace) {
    std::vector<TuneKey> keys;
    const bool unreadable = TuningKeys(fields, autoTuning, keys);
    // The keys before an unreadable field are written, as a field-by-field save would.
    for (const TuneKey& k : keys)
        if (WriteSetting(programFolder, kTuneSection, k.key, k.value, beforeReplace) != 1) return true;
    return unreadable;
}

}  // namespace veltrix
