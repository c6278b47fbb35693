// Temporary settings reader so that this branch starts; replaced by the real one.
#include <exception>

#include "app/settings.h"
#include "store/encoding.h"
#include "store/fields.h"

namespace veltrix {

namespace {
// Splits UTF-8 text into its characters.
std::vector<std::string> characters(const std::string& s) {
    std::vector<std::string> out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
        out.push_back(s.substr(i, n));
        i += n;
    }
    return out;
}
}  // namespace

bool ReadSettings(Settings& settings, const std::filesystem::path& programFolder) {
    auto bytes = ReadFileBytes(programFolder / kSettingsFileName);
    if (!bytes) return true;
    auto text = Cp932ToUtf8(*bytes);
    if (!text) return true;
    for (auto line : SplitLines(*text)) {
        auto eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string key(line.substr(0, eq));
        std::string value(line.substr(eq + 1));
        auto real = [&](double& out) {
            auto v = ParseReal(value);
            if (!v) return false;
            out = *v;
            return true;
        };
        bool ok = true;
        if (key == "AutoTuning") settings.AutoTuning = value == "1";
        else if (key == "RaceLevel") ok = real(settings.RaceLevel);
        else if (key == "TimeZenhan") ok = real(settings.TimeZenhan);
        else if (key == "TimeKouhan") ok = real(settings.TimeKouhan);
        else if (key == "RaceZenhan") ok = real(settings.RaceZenhan);
        else if (key == "RaceKouhan") ok = real(settings.RaceKouhan);
        else if (key == "RaceMd") ok = real(settings.RaceMd);
        else if (key == "Pace") ok = real(settings.Pace);
        else if (key == "Kisyu") ok = real(settings.Kisyu);
        else if (key == "Chokyo") ok = real(settings.Chokyo);
        else if (key == "Combi") ok = real(settings.Combi);
        else if (key == "Kikan") {
            auto v = ParseInteger(value);
            ok = v.has_value();
            if (ok) settings.Kikan = static_cast<short>(*v);
        } else if (key == "KyoriWeight") {
            for (int i = 0; i < 7 && ok; ++i) {
                auto v = ParseReal(value.size() >= size_t(2 * i + 2) ? value.substr(2 * i, 2) : "");
                ok = v.has_value();
                if (ok) settings.KyoriWeight[i] = *v;
            }
        } else if (key == "Mark") {
            auto chars = characters(value);
            for (size_t i = 0; i < settings.Mark.size(); ++i) settings.Mark[i] = i < chars.size() ? chars[i] : "";
        } else {
            return true;
        }
        if (!ok) return true;
    }
    return false;
}

}  // namespace veltrix
