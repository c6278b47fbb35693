#include "store/settings.h"

#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "base/encoding.h"
#include "base/fields.h"
#include "base/format.h"
#include "base/trim.h"

namespace veltrix {

namespace {

std::filesystem::path settingsPath(const std::filesystem::path& programFolder) {
    return programFolder / kSettingsFileName;
}

bool fail(std::string* reason, std::string text) {
    if (reason) *reason = std::move(text);
    return true;
}

// A 16-bit integer the way the platform converts text: any number, rounded
// half to even, that fits.
std::optional<short> parseShort(std::string_view text) {
    auto v = ParseReal(text);
    if (!v) return std::nullopt;
    double r = std::nearbyint(*v);  // default rounding mode: half to even
    if (r < -32768.0 || r > 32767.0) return std::nullopt;
    return static_cast<short>(r);
}

double Settings::*realSetting(std::string_view key) {
    struct Entry {
        std::string_view key;
        double Settings::*member;
    };
    static constexpr Entry kReals[] = {
        {"RaceLevel", &Settings::RaceLevel},
        {"TimeZenhan", &Settings::TimeZenhan},
        {"TimeKouhan", &Settings::TimeKouhan},
        {"RaceZenhan", &Settings::RaceZenhan},
        {"RaceKouhan", &Settings::RaceKouhan},
        {"RaceMd", &Settings::RaceMd},
        {"Pace", &Settings::Pace},
        {"Kisyu", &Settings::Kisyu},
        {"Chokyo", &Settings::Chokyo},
        {"Combi", &Settings::Combi},
    };
    for (const auto& e : kReals)
        if (e.key == key) return e.member;
    return nullptr;
}

}  // namespace

bool ReadSettings(Settings& settings, const std::filesystem::path& programFolder, std::string* reason) {
    const std::filesystem::path path = settingsPath(programFolder);
    const std::string file = "設定ファイル「" + path.string() + "」";
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec) return fail(reason, file + "がありません。");
    // A folder of that name is no file to read (and has no size to read).
    auto bytes = std::filesystem::is_regular_file(path, ec) ? ReadFileBytes(path) : std::nullopt;
    if (!bytes) return fail(reason, file + "を読み込めません。");
    auto text = Cp932ToUtf8(*bytes);
    if (!text) return fail(reason, file + "は Shift-JIS のテキストではありません。");

    Settings read;  // globals that no key sets keep their initial values
    int lineNo = 0;
    for (std::string_view line : SplitLines(*text)) {
        ++lineNo;
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string_view key = line.substr(0, eq);
        std::string_view value = line.substr(eq + 1);
        const std::string where = file + "の " + std::to_string(lineNo) + " 行目";
        auto badValue = [&] {
            return fail(reason, where + "：「" + std::string(key) + "」の値「" + std::string(value) +
                                    "」を変換できません。");
        };
        if (key == "AutoTuning") {
            read.AutoTuning = value == "1";
        } else if (auto member = realSetting(key)) {
            auto v = ParseReal(value);
            if (!v) return badValue();
            read.*member = *v;
        } else if (key == "Kikan") {
            auto v = parseShort(value);
            if (!v) return badValue();
            read.Kikan = *v;
        } else if (key == "KyoriWeight") {
            for (size_t i = 0; i < read.KyoriWeight.size(); ++i) {
                std::string pair(CharacterAt(value, 2 * i + 1));
                pair += CharacterAt(value, 2 * i + 2);
                auto v = ParseReal(pair);
                if (!v) return badValue();
                read.KyoriWeight[i] = *v;
            }
        } else if (key == "Mark") {
            // One character each, a double-byte symbol counting as one.
            for (size_t i = 0; i < read.Mark.size(); ++i)
                read.Mark[i] = std::string(CharacterAt(value, i + 1));
        } else {
            return fail(reason, where + "：「" + std::string(key) + "」は設定の項目ではありません。");
        }
    }
    settings = read;
    return false;
}

// ---- writing -------------------------------------------------------------------

namespace {

bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Compares CP932 texts ignoring the case of ASCII letters; double-byte
// characters compare exactly (their second byte may look like a letter).
bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (isLeadByte(x)) {
            if (x != y || i + 1 >= a.size() || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    size_t close = line.find(']');
    return TrimBlanks(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

bool holdsLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

int WriteSetting(const std::filesystem::path& programFolder, const std::string& section,
                 const std::string& key, const std::string& value, const BeforeReplace& beforeReplace) {
    if (section.empty() || key.empty() || holdsLineBreak(section) || holdsLineBreak(key) ||
        holdsLineBreak(value) || key.find('=') != std::string::npos || section.find(']') != std::string::npos)
        return -1;
    auto sectionBytes = Utf8ToCp932(section);
    auto keyBytes = Utf8ToCp932(key);
    auto valueBytes = Utf8ToCp932(value);
    if (!sectionBytes || !keyBytes || !valueBytes) return -1;

    const auto path = settingsPath(programFolder);
    std::string old;
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        auto bytes = ReadFileBytes(path);
        if (!bytes) return 0;
        old = std::move(*bytes);
    }

    // Work on the raw bytes so that every other line is kept exactly.
    std::vector<std::string> lines;
    for (std::string_view l : SplitLines(old)) lines.emplace_back(l);
    const std::string newLine = *keyBytes + "=" + *valueBytes;

    size_t sectionLine = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        auto name = sectionName(lines[i]);
        if (name && equalsIgnoringCase(*name, *sectionBytes)) {
            sectionLine = i;
            break;
        }
    }
    if (sectionLine == lines.size()) {
        lines.push_back("[" + *sectionBytes + "]");
        lines.push_back(newLine);
    } else {
        size_t lastContent = sectionLine;  // new keys go after the section's last non-blank line
        bool replaced = false;
        for (size_t i = sectionLine + 1; i < lines.size() && !sectionName(lines[i]); ++i) {
            std::string_view l = lines[i];
            if (!TrimBlanks(l).empty()) lastContent = i;
            if (TrimBlanks(l).starts_with(';')) continue;
            size_t eq = l.find('=');
            if (eq != std::string_view::npos && equalsIgnoringCase(TrimBlanks(l.substr(0, eq)), *keyBytes)) {
                lines[i] = newLine;
                replaced = true;
                break;
            }
        }
        if (!replaced) lines.insert(lines.begin() + static_cast<long>(lastContent) + 1, newLine);
    }

    std::string out;
    out.reserve(old.size() + newLine.size() + 64);
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return WriteFileAtomically(path, out, beforeReplace) ? 1 : 0;
}

}  // namespace veltrix
