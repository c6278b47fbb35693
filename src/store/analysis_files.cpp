#include "store/analysis_files.h"

#include <algorithm>
#include <array>
#include <exception>
#include <filesystem>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/fields.h"
#include "base/trim.h"
#include "store/cache_files.h"
#include "store/weekly_store.h"

namespace veltrix {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// value / 10^decimals as the shortest decimal text: "49.14", "-0.01", "100".
std::string scaledText(long long value, int decimals) {
    const bool negative = value < 0;
    unsigned long long magnitude =
        negative ? static_cast<unsigned long long>(-value) : static_cast<unsigned long long>(value);
    unsigned long long scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    std::string text = negative ? "-" : "";
    text += std::to_string(magnitude / scale);
    unsigned long long fraction = magnitude % scale;
    if (fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, static_cast<size_t>(decimals) - digits.size(), '0');
        while (digits.back() == '0') digits.pop_back();
        text += '.';
        text += digits;
    }
    return text;
}

// Hexadecimal number of data[from .. from+count-1] (0-based), -1 when cut short or not hex.
long long hexValue(std::string_view data, size_t from, size_t count) {
    if (from + count > data.size()) return -1;
    long long v = 0;
    for (size_t i = 0; i < count; ++i) {
        int d = hexDigit(data[from + i]);
        if (d < 0) return -1;
        v = v * 16 + d;
    }
    return v;
}

bool readTrailer(FieldReader& reader) {
    std::string line;
    return reader.readLine(line) && TrimSpaces(line) == AnalysisTrailer;
}

// A record of exactly `fields` fields whose tag is `tag`.
bool readTagged(FieldReader& reader, std::vector<std::string>& f, const char* tag, size_t fields) {
    return reader.readRecord(f) && f.size() == fields && f[0] == tag;
}

// Section head: "0", count (a whole number 0..32767).
bool readSectionHead(FieldReader& reader, std::vector<std::string>& f, int& count) {
    if (!readTagged(reader, f, "0", 2)) return false;
    auto n = ParseInteger(f[1]);
    if (!n || *n < 0 || *n > 32767) return false;
    count = static_cast<int>(*n);
    return true;
}

// The nine groups of a runner or past-run data field, first group first.
bool decodeNine(std::string_view data, std::array<std::string, 9>& out) {
    if (data.size() != static_cast<size_t>(kAnalysisDataLength)) return false;
    for (int g = 0; g < 9; ++g) {
        auto v = DecodeGroup4(data, 1 + 4 * g);
        if (!v) return false;
        out[static_cast<size_t>(g)] = std::move(*v);
    }
    return true;
}

// Group g (0-based) starts at data character 1 + 4g: columns take them from the last group back.
void writeRunner(Store& store, int row, std::array<std::string, 9>& g) {
    static constexpr int kColumns[9] = {23, 22, 21, 20, 19, 18, 16, 15, 14};
    for (int i = 0; i < 9; ++i) store.UmaInfo.at(row, kColumns[i]) = std::move(g[static_cast<size_t>(i)]);
}

void writePastRun(Store& store, int row, std::array<std::string, 9>& g) {
    static constexpr int kColumns[9] = {42, 41, 40, 39, 38, 36, 35, 34, 33};
    store.HistoryInfo.at(row, 32) = "1";
    store.HistoryInfo.at(row, 37) = "1";
    for (int i = 0; i < 9; ++i) store.HistoryInfo.at(row, kColumns[i]) = std::move(g[static_cast<size_t>(i)]);
}

// Rows first..last of HistoryKey (ascending) that begin with the UmaCode; empty when none.
std::pair<int, int> historyBlock(const Store& store, const std::string& umaCode) {
    const auto& keys = store.HistoryKey.raw();
    const auto end = keys.begin() + std::min(store.HistoryCount, store.HistoryKey.size());
    auto first = std::lower_bound(keys.begin(), end, umaCode);
    auto last = std::upper_bound(first, end, umaCode, [](const std::string& code, const std::string& k) {
        return k.compare(0, code.size(), code) > 0;
    });
    return {static_cast<int>(first - keys.begin()) + 1, static_cast<int>(last - keys.begin())};
}

// FindUmaKey over the whole table, by hash: a file names every runner of the
// date, and a linear scan per runner grows with the square of the week's size.
class UmaKeyIndex {
public:
    explicit UmaKeyIndex(const Store& store) {
        const int n = std::min(store.UmaCount, store.UmaKey.size());
        rows_.reserve(static_cast<size_t>(n));
        for (int i = 1; i <= n; ++i) rows_.emplace(store.UmaKey[i], i);  // the first row of a key wins
    }
    int find(const std::string& key) const {
        auto it = rows_.find(key);
        return it == rows_.end() ? -1 : it->second;
    }

private:
    std::unordered_map<std::string, int> rows_;
};

bool mergeAnalysisFile(Store& store, const std::filesystem::path& path, Pump& pump) {
    auto reader = FieldReader::FromFile(path);
    if (!reader) return false;
    std::vector<std::string> f;
    if (!readTagged(*reader, f, "0", 2)) return false;  // header token: not interpreted

    const UmaKeyIndex umaKeys(store);
    const bool runnersWritable = store.UmaInfo.cols() >= 23;
    const bool runsWritable = store.HistoryInfo.cols() >= 42;
    std::array<std::string, 9> groups;

    int runners = 0;
    if (!readSectionHead(*reader, f, runners)) return false;
    for (int i = 1; i <= runners; ++i) {
        pump.processEvents();
        if (!readTagged(*reader, f, "1", 4)) return false;
        int row = umaKeys.find(f[1] + f[2]);
        if (row < 1 || row > store.UmaInfo.rows() || !runnersWritable) continue;
        if (!decodeNine(f[3], groups)) return false;
        writeRunner(store, row, groups);
    }

    int runs = 0;
    if (!readSectionHead(*reader, f, runs)) return false;
    // Each runner's past runs come together: look the runner up only when it changes.
    std::string pair;
    std::string umaCode;
    std::pair<int, int> block{1, 0};
    std::string key;
    for (int i = 1; i <= runs; ++i) {
        pump.processEvents();
        if (!readTagged(*reader, f, "1", 5)) return false;
        key = f[1];
        key += f[2];
        if (key != pair) {
            pair = key;
            int row = umaKeys.find(pair);
            umaCode = row >= 1 && row <= store.UmaInfo.rows() ? store.UmaInfo.at(row, 2) : std::string();
            if (!umaCode.empty()) block = historyBlock(store, umaCode);
        }
        if (umaCode.empty()) continue;
        key = umaCode;
        key += f[3];
        // The binary search stays inside the horse's own rows: a few dozen keys
        // that are in cache, instead of the whole table for every record.
        int row = FindHistoryKey(store, key, block.first, block.second);
        if (row <= 0 || row > store.HistoryInfo.rows() || !runsWritable) continue;
        if (!decodeNine(f[4], groups)) return false;
        writePastRun(store, row, groups);
    }
    return readTrailer(*reader);
}

bool readConditions(Conditions& out, const std::filesystem::path& path, Pump& pump) {
    auto reader = FieldReader::FromFile(path);
    if (!reader) return false;
    std::vector<std::string> f;
    if (!readTagged(*reader, f, "0", 2)) return false;
    int n = 0;
    for (;;) {
        pump.processEvents();
        if (!reader->readRecord(f) || f.empty()) return false;  // end of file before the "9" record
        if (f[0] == "9") {
            if (f.size() != 2) return false;
            auto count = ParseInteger(f[1]);
            if (!count || *count != n) return false;
            break;
        }
        if (f[0] != "1" || f.size() != 5) return false;
        if (n == kConditionRows) return false;
        const std::string& data = f[4];
        if (data.size() != static_cast<size_t>(kConditionDataLength)) return false;
        ++n;
        out.ConditionKey[n] = f[1] + f[2] + f[3];
        // Values 1 to 4: sign-coded groups at characters 16, 11, 6 and 1.
        static constexpr int kSigned[4] = {16, 11, 6, 1};
        for (int v = 0; v < 4; ++v) {
            auto text = DecodeSignedGroup(data, kSigned[v]);
            if (!text) return false;
            out.ConditionTable.at(n, v + 1) = std::move(*text);
        }
        for (int v = 5; v <= kConditionValues; ++v) {
            auto text = DecodeGroup5(data, 21 + 5 * (v - 5));
            if (!text) return false;
            out.ConditionTable.at(n, v) = std::move(*text);
        }
    }
    out.ConditionCount = n;
    return readTrailer(*reader);
}

void failAnalysisRead(Store& store, const Folders& folders, const std::string& argument) {
    DeleteCache(folders, 'a', argument);
    ClearRaceCache(store);
}

// A race date that may name a file: 8 digits.
bool isDate(std::string_view s) {
    if (s.size() != 8) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

std::optional<std::string> DecodeGroup4(std::string_view data, int position) {
    if (position < 1) return std::nullopt;
    const size_t p = static_cast<size_t>(position - 1);
    long long low = hexValue(data, p, 2);
    long long high = hexValue(data, p + 2, 2);
    if (low < 0 || high < 0) return std::nullopt;
    auto value = static_cast<std::int16_t>(static_cast<std::uint16_t>(high * 256 + low));
    return scaledText(value, 2);
}

std::optional<std::string> DecodeGroup5(std::string_view data, int position) {
    if (position < 1) return std::nullopt;
    long long value = hexValue(data, static_cast<size_t>(position - 1), 5);
    if (value < 0) return std::nullopt;
    return scaledText(value, 4);
}

std::optional<std::string> DecodeSignedGroup(std::string_view data, int position) {
    if (position < 1 || static_cast<size_t>(position) + 4 > data.size()) return std::nullopt;
    auto group = DecodeGroup4(data, position);
    if (!group) return std::nullopt;
    return data[static_cast<size_t>(position) + 3] + *group;
}

std::string EncodeGroup4(std::int16_t hundredths) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    auto u = static_cast<std::uint16_t>(hundredths);
    const unsigned low = u & 0xFFu;
    const unsigned high = u >> 8;
    return {kHex[low >> 4], kHex[low & 15], kHex[high >> 4], kHex[high & 15]};
}

std::string EncodeGroup5(std::uint32_t tenThousandths) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string s(5, '0');
    for (int i = 4; i >= 0; --i) {
        s[static_cast<size_t>(i)] = kHex[tenThousandths & 15u];
        tenThousandths >>= 4;
    }
    return s;
}

std::string AnalysisModeLetter(const std::string& dataMode) {
    if (dataMode == "KONSYU") return "r";
    if (dataMode == "TOKUBETSU") return "t";
    return {};
}

int ReadAnalysisFile(Store& store, const Folders& folders, const std::string& argument, Pump& pump) {
    // The argument names a file that a failure deletes: only a date and a mode letter may.
    if (argument.size() != 9 || !isDate(std::string_view(argument).substr(0, 8)) || argument[8] < 'a' ||
        argument[8] > 'z')
        return -1;
    bool ok = false;
    try {
        ok = mergeAnalysisFile(store, folders.cache / ("cachea" + argument), pump);
    } catch (const std::exception&) {
        ok = false;
    }
    if (ok) return 0;
    // Figures merged before the failure go with the store.
    failAnalysisRead(store, folders, argument);
    return -1;
}

int ReadConditionFile(Conditions& conditions, Store& store, const Folders& folders, Pump& pump) {
    bool ok = false;
    try {
        Conditions fresh;
        ok = readConditions(fresh, folders.cache / (std::string("cachea") + kConditionFileArgument), pump);
        if (ok) conditions = std::move(fresh);
    } catch (const std::exception&) {
        ok = false;
    }
    if (ok) return 0;
    // A half-read table would feed wrong coefficients to the prediction: keep none.
    conditions.clear();
    failAnalysisRead(store, folders, kConditionFileArgument);
    return -1;
}

AnalysisMergeResult MergeAnalysisFilesAtStartup(Store& store, Conditions& conditions, const Folders& folders,
                                                Pump& pump) {
    AnalysisMergeResult result;
    std::error_code ec;
    const auto conditionFile = folders.cache / (std::string("cachea") + kConditionFileArgument);
    if (std::filesystem::exists(conditionFile, ec)) {
        if (ReadConditionFile(conditions, store, folders, pump) != 0) {
            result.ended = result.failed = true;
            result.damagedFile = conditionFile;
            return result;
        }
        result.conditionRecords = conditions.ConditionCount;
    }
    // The dates are taken first: a failed read empties RaceIdList.
    std::vector<std::string> dates;
    std::unordered_set<std::string> seen;
    const int races = std::min(store.RaceCount, store.RaceIdList.size());
    for (int i = 1; i <= races; ++i) {
        std::string date = store.RaceIdList[i].substr(0, 8);
        if (!isDate(date)) continue;
        if (seen.insert(date).second) dates.push_back(std::move(date));
    }
    for (const auto& date : dates) {
        const std::string letter = AnalysisModeLetter(store.DataMode);
        if (letter.empty()) {
            result.ended = true;
            return result;
        }
        const std::string argument = date + letter;
        if (!std::filesystem::exists(folders.cache / ("cachea" + argument), ec)) continue;
        if (ReadAnalysisFile(store, folders, argument, pump) != 0) {
            result.ended = result.failed = true;
            result.damagedFile = folders.cache / ("cachea" + argument);
            return result;
        }
        ++result.analysisFiles;
    }
    return result;
}

}  // namespace veltrix
