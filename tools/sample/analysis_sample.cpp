#include "sample/analysis_sample.h"

#include <algorithm>
#include <array>
#include <random>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "store/analysis_files.h"
#include "base/fields.h"

namespace veltrix {

namespace {

// Distributions of our own: std's are not the same on every library, and the
// files must be the same bytes for a seed everywhere.
class Dice {
public:
    explicit Dice(std::uint32_t seed) : gen_(seed) {}
    double uniform() { return gen_() / 4294967296.0; }  // [0, 1)
    bool chance(double p) { return uniform() < p; }
    int between(int lo, int hi) { return lo + static_cast<int>(uniform() * (hi - lo + 1)); }
    // Irwin-Hall: sum of twelve uniforms, close enough to a bell for sample data.
    double normal(double mean, double sd) {
        double s = 0;
        for (int i = 0; i < 12; ++i) s += uniform();
        return mean + sd * (s - 6.0);
    }

private:
    std::mt19937 gen_;
};

std::int16_t hundredths(double v) {
    double h = v * 100.0;
    h = std::clamp(h, -32768.0, 32767.0);
    return static_cast<std::int16_t>(h < 0 ? h - 0.5 : h + 0.5);
}

// A figure around 50 +- 15; now and then a negative one or one far out of range.
std::int16_t figure(Dice& dice) {
    const double r = dice.uniform();
    if (r < 0.01) return static_cast<std::int16_t>(-dice.between(1, 800));  // -0.01 .. -8.00
    if (r < 0.015) return dice.chance(0.5) ? std::int16_t{32767} : std::int16_t{-32768};
    if (r < 0.02) return hundredths(dice.normal(200.0, 30.0));
    return hundredths(std::clamp(dice.normal(50.0, 15.0), 0.0, 110.0));
}

std::string figureData(Dice& dice) {
    std::string data;
    for (int g = 0; g < 9; ++g) data += EncodeGroup4(figure(dice));
    return data;
}

// Jockey, trainer and combination figures: X, reliability, expectation per
// group; a group with X = 0 is not shown on the race card.
std::string runnerData(Dice& dice) {
    std::array<std::int16_t, 9> values{};  // characters 1-4 first: 23,22,21,20,19,18,16,15,14
    for (int group = 0; group < 3; ++group) {
        const bool shown = dice.chance(0.9);
        // group 0 = combination (21-23), 1 = trainer (18-20), 2 = jockey (14-16)
        const int base = group * 3;
        values[static_cast<size_t>(base + 2)] = shown ? figure(dice) : std::int16_t{0};  // X
        values[static_cast<size_t>(base + 1)] = shown ? figure(dice) : std::int16_t{0};
        values[static_cast<size_t>(base + 0)] = shown ? figure(dice) : std::int16_t{0};
    }
    std::string data;
    for (auto v : values) data += EncodeGroup4(v);
    return data;
}

std::string signed5(Dice& dice, double mean, double sd) {
    std::int16_t v = hundredths(dice.normal(mean, sd));
    const char sign = v < 0 ? '1' : '0';
    return EncodeGroup4(static_cast<std::int16_t>(v < 0 ? -v : v)) + sign;
}

std::string coefficient(Dice& dice, double mean) {
    double v = std::max(0.0, dice.normal(mean, 0.03));
    return EncodeGroup5(static_cast<std::uint32_t>(v * 10000.0 + 0.5));
}

std::string conditionData(Dice& dice) {
    std::string data;
    data += signed5(dice, 0.0, 3.0);  // value 4
    data += signed5(dice, 0.0, 2.0);  // value 3: standard second-half pace
    data += signed5(dice, 0.0, 2.0);  // value 2: standard first-half pace
    data += signed5(dice, 0.0, 3.0);  // value 1
    for (double mean : {0.2, 0.7, 0.1, 0.3, 0.7, 0.1, 0.2, 0.25, 0.45}) data += coefficient(dice, mean);
    return data;
}

char surfaceClass(const std::string& trackCode) {
    auto t = ParseInteger(trackCode);
    if (!t) return '9';
    if (*t >= 10 && *t <= 22) return '1';
    if (*t < 10 || (*t >= 23 && *t <= 26)) return '2';
    return '9';
}

char ageClass(const std::string& raceType) {
    if (raceType == "11") return '1';
    if (raceType == "12") return '2';
    if (raceType == "13" || raceType == "14") return '3';
    return '9';
}

char conditionClass(const std::string& c) {
    if (c == "701") return '1';
    if (c == "702") return '2';
    if (c == "703") return '3';
    if (c == "004" || c == "005" || c == "006") return '4';
    if (c == "008" || c == "009" || c == "010") return '5';
    if (c == "014" || c == "015" || c == "016" || c == "017") return '6';
    if (c == "999") return '7';
    return '9';
}

// The 4-digit distance after the track type in a race label.
std::string labelDistance(const std::string& label) {
    for (const char* track : {"芝", "ダ", "障"}) {
        for (size_t at = label.find(track); at != std::string::npos; at = label.find(track, at + 1)) {
            std::string d = label.substr(at + std::char_traits<char>::length(track), 4);
            if (d.size() == 4 && std::all_of(d.begin(), d.end(), [](char c) { return c >= '0' && c <= '9'; }))
                return d;
        }
    }
    return {};
}

void trailer(FieldWriter& w) { w.bare(AnalysisTrailer).endLine(); }

bool writeConditionFile(const Store& store, const std::filesystem::path& cacheFolder, Dice& dice,
                        SampleAnalysisSummary& summary) {
    std::set<std::string> keys;
    const int races = std::min({store.RaceCount, store.RaceInfo.rows(), store.RaceLabel.size()});
    for (int r = 1; r <= races && store.RaceInfo.cols() >= 5; ++r) {
        std::string distance = labelDistance(store.RaceLabel[r]);
        if (distance.empty()) continue;
        keys.insert(std::string(1, surfaceClass(store.RaceInfo.at(r, 5))) +
                    ageClass(store.RaceInfo.at(r, 3)) + conditionClass(store.RaceInfo.at(r, 4)) + distance);
    }
    // Classes that do not run this week are in the statistics too.
    for (const char* extra : {"1331600", "1372000", "2231800", "2351400", "1212000", "2111200"}) {
        if (keys.size() >= static_cast<size_t>(kConditionRows)) break;
        keys.insert(extra);
    }
    FieldWriter w;
    w.bare("0").bare("SAMPLE").endLine();
    int n = 0;
    for (const auto& key : keys) {
        if (n == kConditionRows) break;
        w.quoted("1")
            .quoted(key.substr(0, 1))
            .quoted(key.substr(1, 2))
            .quoted(key.substr(3))
            .quoted(conditionData(dice))
            .endLine();
        ++n;
    }
    w.quoted("9").integer(n).endLine();
    trailer(w);
    summary.conditionRecords = n;
    return w.save(cacheFolder / (std::string("cachea") + kConditionFileArgument));
}

// A key not in `taken`, built by varying `make(i)`.
template <class Make>
std::string unusedKey(const std::unordered_set<std::string>& taken, Make make) {
    for (int i = 0;; ++i) {
        std::string k = make(i);
        if (!taken.count(k)) return k;
    }
}

}  // namespace

SampleAnalysisSummary WriteSampleAnalysisFiles(const Store& store, const std::filesystem::path& cacheFolder,
                                               std::uint32_t seed, const std::string& modeLetter) {
    SampleAnalysisSummary summary;
    Dice dice(seed);
    bool ok = writeConditionFile(store, cacheFolder, dice, summary);

    const std::string letter = modeLetter.empty() ? AnalysisModeLetter(store.DataMode) : modeLetter;
    const int runners = std::min({store.UmaCount, store.UmaInfo.rows(), store.UmaKey.size()});
    const int runs = std::min({store.HistoryCount, store.HistoryInfo.rows(), store.HistoryKey.size()});
    std::unordered_set<std::string> umaKeys(store.UmaKey.begin(), store.UmaKey.begin() + runners);
    std::unordered_set<std::string> historyKeys(store.HistoryKey.begin(), store.HistoryKey.begin() + runs);
    std::unordered_map<std::string, std::vector<int>> runsOf;
    for (int h = 1; h <= runs; ++h) runsOf[store.HistoryInfo.at(h, 1)].push_back(h);

    std::vector<std::string> dates;
    for (int r = 1; r <= std::min(store.RaceCount, store.RaceIdList.size()); ++r) {
        std::string date = store.RaceIdList[r].substr(0, 8);
        if (std::find(dates.begin(), dates.end(), date) == dates.end()) dates.push_back(date);
    }
    const std::string strayNumber = store.DataMode == "TOKUBETSU" ? "999" : "99";

    for (const auto& date : dates) {
        if (letter.empty()) break;
        std::vector<int> rows;
        for (int u = 1; u <= runners; ++u)
            if (store.UmaInfo.at(u, 1).compare(0, 8, date) == 0) rows.push_back(u);

        FieldWriter runnerPart;
        int runnerCount = 0;
        FieldWriter runPart;
        int runCount = 0;
        // Every file carries at least one stray of each kind, small weeks too.
        bool strayRunWritten = false;
        bool strayRunnerWritten = false;
        for (int u : rows) {
            const std::string& raceId = store.UmaInfo.at(u, 1);
            const std::string& number = store.UmaInfo.at(u, 4);
            runnerPart.quoted("1").quoted(raceId).quoted(number).quoted(runnerData(dice)).endLine();
            ++runnerCount;
            if (!strayRunWritten || dice.chance(0.05)) {  // a past race the store did not keep
                strayRunWritten = true;
                std::string past = unusedKey(historyKeys, [&](int i) {
                                       return store.UmaInfo.at(u, 2) + "19990105" + "0601" +
                                              std::to_string(10 + i % 90) + "01";
                                   }).substr(store.UmaInfo.at(u, 2).size());
                runPart.quoted("1")
                    .quoted(raceId)
                    .quoted(number)
                    .quoted(past)
                    .quoted(figureData(dice))
                    .endLine();
                ++runCount;
            }
            auto it = runsOf.find(store.UmaInfo.at(u, 2));
            std::string lastPastRace;  // of the last record written
            if (it != runsOf.end()) {
                for (int h : it->second) {
                    if (dice.chance(0.08)) continue;  // a past run without figures
                    lastPastRace = store.HistoryInfo.at(h, 2);
                    runPart.quoted("1")
                        .quoted(raceId)
                        .quoted(number)
                        .quoted(lastPastRace)
                        .quoted(figureData(dice))
                        .endLine();
                    ++runCount;
                }
            }
            if ((!strayRunnerWritten && !lastPastRace.empty()) || dice.chance(0.04)) {
                strayRunnerWritten = strayRunnerWritten || !lastPastRace.empty();
                // A runner the store does not have, right after one that is there,
                // sharing its last past race: its records must not land on that runner.
                std::string stray = unusedKey(umaKeys, [&](int i) {
                                        return raceId + (i == 0 ? strayNumber : std::to_string(80 + i % 20));
                                    }).substr(raceId.size());
                runnerPart.quoted("1").quoted(raceId).quoted(stray).quoted(runnerData(dice)).endLine();
                ++runnerCount;
                if (!lastPastRace.empty()) {
                    runPart.quoted("1")
                        .quoted(raceId)
                        .quoted(stray)
                        .quoted(lastPastRace)
                        .quoted(figureData(dice))
                        .endLine();
                    ++runCount;
                }
            }
        }
        FieldWriter w;
        w.bare("0").bare("SAMPLE").endLine();
        w.quoted("0").integer(runnerCount).endLine();
        std::string text = w.text() + runnerPart.text();
        FieldWriter head;
        head.quoted("0").integer(runCount).endLine();
        text += head.text() + runPart.text();
        FieldWriter tail;
        trailer(tail);
        text += tail.text();
        // Counts above what a section head can hold make a file no reader accepts.
        ok = ok && runnerCount <= 32767 && runCount <= 32767;
        FieldWriter all;
        all.bare(text);  // one bare piece: the assembled lines as they are
        const bool saved = all.save(cacheFolder / ("cachea" + date + letter));
        ok = ok && saved;
        summary.dateFiles += saved ? 1 : 0;
        summary.runnerRecords += runnerCount;
        summary.pastRunRecords += runCount;
    }
    summary.ok = ok;
    return summary;
}

}  // namespace veltrix
