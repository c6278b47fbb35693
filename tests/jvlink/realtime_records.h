#pragma once
// Hand-made real-time records (odds, forecast, quick result) for one race, and
// stand-in files holding them.
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "jvlink/records.h"
#include "jvlink/standin/standin_jvlink.h"
#include "sample/record_writer.h"

namespace veltrix::test {

// A stand-in that needs no JVInit first.
inline StandinOptions WithoutInit() {
    StandinOptions o;
    o.requireInit = false;
    return o;
}

inline const std::string kRealTimeRace = "2026121206050311";

template <class R>
R Keyed(R r, const std::string& raceId, const std::string& category) {
    sample::SetRaceKey(r, raceId);
    r.dataCategory = category;
    return r;
}

// Win slot i (0-based) of horse h: win odds text (4) and place low/high texts (4 each).
inline void SetWin(O1Record& r, std::size_t i, const std::string& horse, const std::string& odds,
                   const std::string& low = "0010", const std::string& high = "0015") {
    r.win[i].horseNumber = horse;
    r.win[i].odds = odds;
    r.win[i].popularity = "01";
    r.place[i].horseNumber = horse;
    r.place[i].lowOdds = low;
    r.place[i].highOdds = high;
    r.place[i].popularity = "01";
}

// A combination entry: combination (4 or 6), odds text of the type's width.
inline void SetCombo(ComboOddsEntry& e, const std::string& combination, const std::string& odds,
                     std::size_t popularityWidth) {
    e.combination = combination;
    e.odds = odds;
    e.popularity = std::string(popularityWidth - 1, '0') + "1";
}

inline void SetMining(DmRecord& r, std::size_t i, const std::string& horse, const std::string& time) {
    r.entries[i].horseNumber = horse;
    r.entries[i].time = time;
    r.entries[i].errorPlus = "0000";
    r.entries[i].errorMinus = "0000";
}

// A runner of the quick result: horse number, arrival order, time m ss f, last 3 furlongs ss f.
inline SeRecord Runner(const std::string& raceId, const std::string& category, const std::string& horse,
                       const std::string& order, const std::string& time, const std::string& last3 = "355") {
    SeRecord r = Keyed(sample::BlankSE(), raceId, category);
    r.horseNumber = horse;
    r.arrivalOrder = order;
    r.raceTime = time;
    r.last3F = last3;
    return r;
}

// O1 to O6 of a race: win odds 2.0, 3.5, 10.0 for horses 1-3, one quinella and
// one trifecta.
inline std::vector<std::string> SixOddsRecords(const std::string& raceId) {
    O1Record o1 = Keyed(sample::BlankO1(), raceId, "4");
    SetWin(o1, 0, "01", "0020");
    SetWin(o1, 1, "02", "0035");
    SetWin(o1, 2, "03", "0100");
    O2Record o2 = Keyed(sample::BlankO2(), raceId, "4");
    SetCombo(o2.entries[0], "0102", "000050", 3);
    O3Record o3 = Keyed(sample::BlankO3(), raceId, "4");
    O4Record o4 = Keyed(sample::BlankO4(), raceId, "4");
    auto o5 = std::make_unique<O5Record>(Keyed(sample::BlankO5(), raceId, "4"));
    auto o6 = std::make_unique<O6Record>(Keyed(sample::BlankO6(), raceId, "4"));
    SetCombo(o6->entries[0], "010203", "0004321", 4);
    return {sample::WriteRecord(o1), sample::WriteRecord(o2),  sample::WriteRecord(o3),
            sample::WriteRecord(o4), sample::WriteRecord(*o5), sample::WriteRecord(*o6)};
}

// The forecast of a race: horses 1-3 at 1:34.56, 1:35.20, 1:36.01.
inline std::string MiningRecord(const std::string& raceId, const std::string& category = "3") {
    DmRecord dm = Keyed(sample::BlankDM(), raceId, category);
    SetMining(dm, 0, "01", "13456");
    SetMining(dm, 1, "02", "13520");
    SetMining(dm, 2, "03", "13601");
    return sample::WriteRecord(dm);
}

// The quick result of a race: its RA, then horses 1-3 arriving 3, 1, 2.
inline std::vector<std::string> KekkaRecords(const std::string& raceId, const std::string& category = "7") {
    return {sample::WriteRecord(Keyed(sample::BlankRA(), raceId, category)),
            sample::WriteRecord(Runner(raceId, category, "01", "03", "1145", "360")),
            sample::WriteRecord(Runner(raceId, category, "02", "01", "1123", "350")),
            sample::WriteRecord(Runner(raceId, category, "03", "02", "1130", "355"))};
}

// Writes realtime/<spec>/<raceId>.txt of a stand-in folder from CP932 records (CR LF included).
inline void WriteRealTimeRecords(const std::filesystem::path& jvlink, const std::string& spec,
                                 const std::string& raceId, const std::vector<std::string>& records) {
    auto dir = jvlink / "realtime" / spec;
    std::filesystem::create_directories(dir);
    std::ofstream out(dir / (raceId + ".txt"), std::ios::binary);
    for (const auto& r : records) out << r;
}

}  // namespace veltrix::test
