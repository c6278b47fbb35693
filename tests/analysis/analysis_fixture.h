#pragma once
// A small KONSYU week and hand-made analysis files for the analysis tests.
#include <filesystem>
#include <string>
#include <vector>

#include "app/analysis_commands.h"
#include "app/application.h"
#include "store/analysis_files.h"
#include "support/fake_host.h"

namespace veltrix::test {

// Counts the race card resets the windows hear of.
class CountingRaceCard {
public:
    explicit CountingRaceCard(ChangeNotifier& changes)
        : subscription_(changes.subscribe([this](Change c) { resets += c == Change::RaceCardReset; })) {}
    int resets = 0;

private:
    Subscription subscription_;
};

// Races on 2009/01/17 (two) and 2009/01/18 (one); four runners; five past
// runs, two of them (horses 1 and 2) in the same past race 2008122806050811.
inline void BuildWeek(Store& s, const std::string& mode = "KONSYU") {
    s.DataMode = mode;
    const std::vector<std::string> races = {"2009011706010101", "2009011706010102", "2009011806010201"};
    s.RaceCount = 3;
    s.RaceInfo.resize(3, kRaceInfoCols);
    s.RaceIdList.resize(3);
    s.RaceLabel.resize(3);
    for (int r = 1; r <= 3; ++r) {
        s.RaceInfo.at(r, 1) = races[static_cast<size_t>(r - 1)];
        s.RaceInfo.at(r, 2) = "16";
        s.RaceInfo.at(r, 3) = "12";
        s.RaceInfo.at(r, 4) = "703";
        s.RaceInfo.at(r, 5) = "24";
        s.RaceIdList[r] = races[static_cast<size_t>(r - 1)];
        s.RaceLabel[r] = "2009/01/17 中山 0" + std::to_string(r) + "R 10:05 ダ1200 サラ３歳 未勝利" +
                         std::string(80, ' ') + races[static_cast<size_t>(r - 1)];
    }
    struct Runner {
        const char* race;
        const char* uma;
        const char* number;
    };
    const Runner runners[] = {{"2009011706010101", "2005100001", "01"},
                              {"2009011706010101", "2005100002", "02"},
                              {"2009011706010102", "2005100003", "01"},
                              {"2009011806010201", "2005100004", "05"}};
    s.UmaCount = 4;
    s.UmaInfo.resize(4, kUmaInfoCols);
    s.UmaKey.resize(4);
    for (int u = 1; u <= 4; ++u) {
        const auto& r = runners[u - 1];
        s.UmaInfo.at(u, 1) = r.race;
        s.UmaInfo.at(u, 2) = r.uma;
        s.UmaInfo.at(u, 4) = r.number;
        s.UmaInfo.at(u, 17) = "keep";
        s.UmaKey[u] = std::string(r.race) + r.number;
    }
    const std::pair<const char*, const char*> runs[] = {{"2005100001", "2008112306050811"},
                                                        {"2005100001", "2008122806050811"},
                                                        {"2005100002", "2008122806050811"},
                                                        {"2005100003", "2008110105040305"},
                                                        {"2005100004", "2008120709040411"}};
    s.HistoryCount = 5;
    s.HistoryInfo.resize(5, kHistoryInfoCols);
    s.HistoryKey.resize(5);
    for (int h = 1; h <= 5; ++h) {
        s.HistoryInfo.at(h, 1) = runs[h - 1].first;
        s.HistoryInfo.at(h, 2) = runs[h - 1].second;
        s.HistoryInfo.at(h, 43) = "ON";
        s.HistoryKey[h] = std::string(runs[h - 1].first) + runs[h - 1].second;
    }
}

inline std::string Quoted(const std::vector<std::string>& fields) {
    std::string line;
    for (const auto& f : fields) line += (line.empty() ? "\"" : ",\"") + f + "\"";
    return line;
}

inline std::string RunnerLine(const std::string& race, const std::string& number, const std::string& data) {
    return Quoted({"1", race, number, data});
}

inline std::string RunLine(const std::string& race, const std::string& number, const std::string& past,
                           const std::string& data) {
    return Quoted({"1", race, number, past, data});
}

// Header, both sections with their counts, trailer; CR LF throughout.
inline std::string AnalysisText(const std::vector<std::string>& runners, const std::vector<std::string>& runs,
                                const std::string& trailer = std::string(AnalysisTrailer)) {
    std::string t = "0,TOKEN\r\n\"0\"," + std::to_string(runners.size()) + "\r\n";
    for (const auto& l : runners) t += l + "\r\n";
    t += "\"0\"," + std::to_string(runs.size()) + "\r\n";
    for (const auto& l : runs) t += l + "\r\n";
    return t + trailer + "\r\n";
}

// Nine groups holding 0.01 .. 0.09 in file order, or one value repeated.
inline const std::string kStepData = "010002000300040005000600070008000900";
inline std::string Same9(const std::string& group) {
    std::string d;
    for (int i = 0; i < 9; ++i) d += group;
    return d;
}

struct AnalysisFixture {
    TempDir dir;
    Application app;
    FakePump pump;
    CountingRaceCard card{app.changes};
    AnalysisFixture() {
        app.folders = Folders::under(dir.path());
        std::filesystem::create_directories(app.folders.cache);
        BuildWeek(app.store);
    }
    std::filesystem::path file(const std::string& argument) const {
        return app.folders.cache / ("cachea" + argument);
    }
    void write(const std::string& argument, const std::string& text) const {
        WriteCp932(file(argument), text);
    }
    int read(const std::string& argument) { return MergeAnalysisFile(app, argument, pump); }
    int readConditions() { return MergeConditionFile(app, pump); }
};

}  // namespace veltrix::test
