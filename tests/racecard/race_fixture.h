#pragma once
// Builds small stores by hand for the race card tests.
#include <string>
#include <vector>

#include "app/application.h"
#include "store/store.h"

namespace veltrix::test {

struct RunnerSpec {
    std::string umaCode;
    std::string frame = "1";
    std::string umaban = "01";
    std::string name = "テストホース";
    std::string sex = "牡";
    std::string age = "03";
    std::string futan = "570";
    std::string jockey = "騎手";
    std::string trainer = "調教";
};

struct RunSpec {
    std::string raceId;
    std::string ijyo = "0";
    std::string corners = "01020304";
    std::string flags32 = "1";
    std::string flags37 = "1";
};

// One race of the week with its runners; past runs are added per horse and the
// HistoryInfo rows are kept in key order.
class StoreBuilder {
public:
    explicit StoreBuilder(Store& store, std::string mode = "KONSYU") : s_(store) {
        s_ = Store{};
        s_.DataMode = std::move(mode);
        s_.RaceInfo.resize(0, kRaceInfoCols);
        s_.UmaInfo.resize(0, kUmaInfoCols);
        s_.HistoryInfo.resize(0, kHistoryInfoCols);
    }

    void addRace(const std::string& raceId, const std::string& label, const std::vector<RunnerSpec>& runners,
                 const std::string& count = "") {
        int r = ++s_.RaceCount;
        s_.RaceInfo.resizeRows(r);
        s_.RaceInfo.at(r, 1) = raceId;
        s_.RaceInfo.at(r, 2) = count.empty() ? std::to_string(runners.size()) : count;
        s_.RaceInfo.at(r, 3) = "13";
        s_.RaceInfo.at(r, 4) = "005";
        s_.RaceInfo.at(r, 5) = "11";
        s_.RaceLabel.push_back(label + std::string(80, ' ') + raceId);
        s_.RaceIdList.push_back(raceId);
        for (const RunnerSpec& sp : runners) {
            int u = ++s_.UmaCount;
            s_.UmaInfo.resizeRows(u);
            auto& t = s_.UmaInfo;
            t.at(u, 1) = raceId;
            t.at(u, 2) = sp.umaCode;
            t.at(u, 3) = sp.frame;
            t.at(u, 4) = sp.umaban;
            t.at(u, 5) = sp.name;
            t.at(u, 6) = sp.sex;
            t.at(u, 7) = sp.age;
            t.at(u, 8) = sp.futan;
            t.at(u, 9) = sp.jockey;
            t.at(u, 10) = sp.trainer;
            s_.UmaKey.push_back(raceId + sp.umaban);
        }
    }

    // Appends a run; runs of one horse must be added in date order and horses in
    // UmaCode order, as the store keeps them.
    int addRun(const std::string& umaCode, const RunSpec& run) {
        int h = ++s_.HistoryCount;
        s_.HistoryInfo.resizeRows(h);
        auto& t = s_.HistoryInfo;
        t.at(h, 1) = umaCode;
        t.at(h, 2) = run.raceId;
        t.at(h, 3) = run.raceId.substr(0, 4) + "/" + run.raceId.substr(4, 2) + "/" + run.raceId.substr(6, 2);
        t.at(h, 4) = "テスト特別";
        t.at(h, 5) = "サラ３歳以上";
        t.at(h, 8) = "500万";
        t.at(h, 9) = "06";
        t.at(h, 10) = "1200";
        t.at(h, 11) = "ダ";
        t.at(h, 12) = "13";
        t.at(h, 13) = "005";
        t.at(h, 14) = "24";
        t.at(h, 15) = "良";
        t.at(h, 16) = "16";
        t.at(h, 20) = "03";
        t.at(h, 21) = "560";
        t.at(h, 22) = "騎手";
        t.at(h, 23) = "478";
        t.at(h, 24) = "-004";
        t.at(h, 25) = run.ijyo;
        t.at(h, 26) = "03";
        t.at(h, 27) = "03";
        t.at(h, 28) = "1123";
        t.at(h, 29) = run.corners;
        t.at(h, 30) = "0035";
        t.at(h, 31) = "02";
        t.at(h, 32) = run.flags32;
        for (int c = 33; c <= 36; ++c) t.at(h, c) = "52.5";
        t.at(h, 35) = "47.5";
        t.at(h, 37) = run.flags37;
        for (int c = 38; c <= 42; ++c) t.at(h, c) = "55";
        t.at(h, 43) = "ON";
        s_.HistoryKey.push_back(umaCode + run.raceId);
        return h;
    }

private:
    Store& s_;
};

// A KONSYU label of a race at course with track and distance, e.g. ("中山", "ダ1200").
inline std::string KonsyuLabel(const std::string& course, const std::string& trackDistance) {
    return "2009/01/17 " + course + " 01R 10:05 " + trackDistance + " テスト";
}
inline std::string TokubetsuLabel(const std::string& course, const std::string& trackDistance) {
    return "2009/01/17 " + course + " 11R " + trackDistance + " テスト";
}

inline const std::string kRaceId = "2009011706010111";

// UmaCode of runner i (1-based), in ascending order.
inline std::string Uma(int i) {
    std::string n = std::to_string(i);
    return "20060" + std::string(5 - n.size(), '0') + n;
}

}  // namespace veltrix::test
