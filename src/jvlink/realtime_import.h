#pragma once
// Real-time data of one race: the odds of every bet type ("0B30"), the
// data-mining forecast ("0B13") and the quick result ("0B12"). Each import runs
// one real-time session into a working copy of the race card's tables; the
// per-race files are written from the working copies and the race on show gets
// them copied onto its tables.
#include <string>

#include "base/host.h"
#include "jvlink/jvlink.h"
#include "jvlink/records.h"
#include "jvlink/session.h"
#include "store/race_tables.h"

namespace veltrix {

// The working copies hold the race card's tables plus the times the scores
// were computed from.
struct MiningWork : MiningTables {
    HorseTable<int, 1> MiningTime{-1};  // predicted finishing time, hundredths of a second
};
struct KekkaWork : KekkaTables {
    HorseTable<int, 1> KekkaTime{-1};  // finishing time, tenths of a second
};
struct RealTimeWork {
    OddsTables odds;
    MiningWork mining;
    KekkaWork kekka;
};

// Resets a working copy to the no-data values.
void ClearOddsWork(RealTimeWork& work);
void ClearMiningWork(RealTimeWork& work);
void ClearKekkaWork(RealTimeWork& work);

// Copies a working copy onto the race card's tables. The odds also get the
// value ratios computed, as reading the odds file would give them.
void ApplyOddsWork(const RealTimeWork& work, OddsTables& odds);
void ApplyMiningWork(const RealTimeWork& work, MiningTables& mining);
void ApplyKekkaWork(const RealTimeWork& work, KekkaTables& kekka);

// Classifications that carry usable data.
bool IsMiningKubun(const std::string& kubun);  // "1", "2", "3"
bool IsKekkaKubun(const std::string& kubun);   // "5", "6", "7"

// ---- one record into a working copy (no session) ----
// Entries whose horse numbers are not numeric or not 1..18 are passed over;
// odds of zero (no votes) become the all-nines value of the bet type, odds
// texts beginning with "-" or "*" the state "sale cancelled".

// Win and place odds, the win probabilities and the odds scores.
void TakeO1(OddsTables& work, const O1Record& record);
// Quinella odds and each horse's half sum of the quinella probabilities.
void TakeO2(OddsTables& work, const O2Record& record);
void TakeO3(OddsTables& work, const O3Record& record);  // wide
void TakeO4(OddsTables& work, const O4Record& record);  // exacta
void TakeO5(OddsTables& work, const O5Record& record);  // trio
void TakeO6(OddsTables& work, const O6Record& record);  // trifecta
// The forecast of raceId with its scores; false (nothing taken) for another race.
bool TakeDM(MiningWork& work, const DmRecord& record, const std::string& raceId);
// One runner of raceId's quick result (categories "5", "6", "7"). Returns
// whether the runner was counted (a time above 0).
bool TakeSE(KekkaWork& work, const SeRecord& record, const std::string& raceId);
// The result scores over the counted runners, once all runners are in.
void ScoreKekka(KekkaWork& work);

// ---- imports: one real-time session each ----
// What a session needs besides the working copy.
struct RealTimeSession {
    SessionState& state;
    JVLink& jv;
    Pump& pump;
    Clock& clock;
    UserInterface& ui;
};

// Each returns 0 when the session completed, negative on failure or cancel;
// the working copy may then be partly filled and is not to be used.
int ImportOdds(OddsTables& work, const std::string& raceId, const RealTimeSession& session);
int ImportMining(MiningWork& work, const std::string& raceId, const RealTimeSession& session);
int ImportKekka(KekkaWork& work, const std::string& raceId, const RealTimeSession& session);

}  // namespace veltrix
