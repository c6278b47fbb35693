// The real-time imports: hand-made O1-O6, DM and SE records into the working
// copies, and the sessions that read them from the stand-in.
#include "jvlink/realtime_import.h"

#include <gtest/gtest.h>

#include <memory>

#include "jvlink/realtime_records.h"
#include "jvlink/standin/standin_jvlink.h"
#include "support/fake_host.h"

namespace veltrix::test {
namespace {

// ---- odds records ----

TEST(TakeO1, WinAndPlaceOddsWithTheirNoVoteAndCancelledForms) {
    O1Record r = Keyed(sample::BlankO1(), kRealTimeRace, "4");
    SetWin(r, 0, "01", "0035", "0012", "0018");
    SetWin(r, 1, "02", "0000", "0000", "0000");  // no votes at all
    SetWin(r, 2, "03", "----", "----", "----");  // scratched
    SetWin(r, 3, "04", "****", "****", "****");
    SetWin(r, 4, "05", "0120", "0000", "0030");  // place low 0
    SetWin(r, 5, "06", "0080", "0020", "0000");  // place high 0
    SetWin(r, 6, "19", "0050");                  // no such horse number
    OddsTables w;
    TakeO1(w, r);

    EXPECT_EQ(w.TansyoOdds(1), (OddsEntry{kOddsOnSale, 35}));
    EXPECT_EQ(w.FukusyoOdds(1), (RangeOddsEntry{kOddsOnSale, 12, kOddsOnSale, 18}));
    EXPECT_EQ(w.TansyoOdds(2), (OddsEntry{kOddsOnSale, 9999}));
    EXPECT_EQ(w.FukusyoOdds(2), (RangeOddsEntry{kOddsOnSale, 9999, kOddsOnSale, 9999}));
    for (int h : {3, 4}) {
        EXPECT_EQ(w.TansyoOdds(h), (OddsEntry{kOddsCancelled, -1})) << h;
        EXPECT_EQ(w.FukusyoOdds(h), (RangeOddsEntry{kOddsCancelled, -1, kOddsCancelled, -1})) << h;
        EXPECT_EQ(w.TansyoShijiritsu(h), -1) << h;
        EXPECT_EQ(w.OddsHensachi(h), -1) << h;
    }
    EXPECT_EQ(w.FukusyoOdds(5), (RangeOddsEntry{kOddsOnSale, 9999, kOddsOnSale, 9999}));
    EXPECT_EQ(w.FukusyoOdds(6), (RangeOddsEntry{kOddsOnSale, 9999, kOddsOnSale, 9999}));
    // Blank slots and unknown numbers leave the no-data values.
    EXPECT_EQ(w.TansyoOdds(7), OddsEntry{});
    EXPECT_NEAR(w.TansyoShijiritsu(1), 0.788 / 34 * 10, 1e-12);
}

TEST(TakeO1, OddsScoresAgainstAHandComputation) {
    O1Record r = Keyed(sample::BlankO1(), kRealTimeRace, "4");
    SetWin(r, 0, "01", "0020");
    SetWin(r, 1, "02", "0035");
    SetWin(r, 2, "03", "0100");
    OddsTables w;
    TakeO1(w, r);
    // x = -ln(0.788 / (N - 1)) over the three horses; 50 - 10 (x - mean) / sd.
    EXPECT_NEAR(w.OddsHensachi(1), 58.888948902382324, 1e-9);
    EXPECT_NEAR(w.OddsHensachi(2), 51.93831025128212, 1e-9);
    EXPECT_NEAR(w.OddsHensachi(3), 39.17274084633555, 1e-9);
    EXPECT_NEAR(w.TansyoShijiritsu(3), 0.0795959595959596, 1e-12);
    EXPECT_EQ(w.OddsHensachi(4), -1);
}

TEST(TakeO1, OddsOfOneImplyNoShareAndTheRestIsScored) {
    O1Record r = Keyed(sample::BlankO1(), kRealTimeRace, "4");
    SetWin(r, 0, "01", "0001");  // N - 1 = 0
    SetWin(r, 1, "02", "0020");
    SetWin(r, 2, "03", "0035");
    SetWin(r, 3, "04", "0100");
    OddsTables w;
    TakeO1(w, r);
    EXPECT_EQ(w.TansyoOdds(1), (OddsEntry{kOddsOnSale, 1}));
    EXPECT_EQ(w.TansyoShijiritsu(1), -1);
    EXPECT_EQ(w.OddsHensachi(1), -1);
    // Horses 2-4 are scored among themselves, exactly as without horse 1.
    EXPECT_NEAR(w.OddsHensachi(2), 58.888948902382324, 1e-9);
    EXPECT_NEAR(w.OddsHensachi(4), 39.17274084633555, 1e-9);
}

TEST(TakeO1, FewerThanTwoPricedHorsesOrNoSpreadGiveNoInfiniteScores) {
    O1Record one = Keyed(sample::BlankO1(), kRealTimeRace, "4");
    SetWin(one, 0, "01", "0035");
    SetWin(one, 1, "02", "----");
    OddsTables w;
    TakeO1(w, one);
    EXPECT_EQ(w.OddsHensachi(1), -1);
    EXPECT_GT(w.TansyoShijiritsu(1), 0);

    O1Record equal = Keyed(sample::BlankO1(), kRealTimeRace, "4");
    SetWin(equal, 0, "01", "0040");
    SetWin(equal, 1, "02", "0040");
    OddsTables e;
    TakeO1(e, equal);
    EXPECT_EQ(e.OddsHensachi(1), 50);
    EXPECT_EQ(e.OddsHensachi(2), 50);
}

TEST(TakeCombinationOdds, QuinellaSharesWideExactaTrioTrifecta) {
    O2Record q = Keyed(sample::BlankO2(), kRealTimeRace, "4");
    SetCombo(q.entries[0], "0102", "000050", 3);
    SetCombo(q.entries[1], "0103", "000120", 3);
    SetCombo(q.entries[2], "0203", "000300", 3);
    SetCombo(q.entries[3], "0104", "000000", 3);  // no votes
    SetCombo(q.entries[4], "0105", "------", 3);
    SetCombo(q.entries[5], "0119", "000010", 3);  // not a horse
    OddsTables w;
    TakeO2(w, q);
    EXPECT_EQ(w.UmarenOdds(1, 2), (OddsEntry{kOddsOnSale, 50}));
    EXPECT_EQ(w.UmarenOdds(1, 4), (OddsEntry{kOddsOnSale, 999999}));
    EXPECT_EQ(w.UmarenOdds(1, 5), (OddsEntry{kOddsCancelled, -1}));
    // Half the sum of 0.738 / (N - 1) x 10 over the horse's pairs (no-vote pair included).
    const double noVotes = 0.738 / 999998 * 10;
    EXPECT_NEAR(w.UmarenShijiritsu(1), 0.10631452581032413 + noVotes / 2, 1e-12);
    EXPECT_NEAR(w.UmarenShijiritsu(2), 0.08764725957272541, 1e-12);
    EXPECT_NEAR(w.UmarenShijiritsu(3), 0.043349540485090356, 1e-12);
    EXPECT_NEAR(w.UmarenShijiritsu(4), noVotes / 2, 1e-15);
    EXPECT_EQ(w.UmarenShijiritsu(5), -1);

    O3Record wide = Keyed(sample::BlankO3(), kRealTimeRace, "4");
    wide.entries[0] = {"0102", "00012", "00020", "001"};
    wide.entries[1] = {"0103", "00000", "00030", "002"};  // either below 1: both all nines
    wide.entries[2] = {"0104", "*****", "*****", "003"};
    TakeO3(w, wide);
    EXPECT_EQ(w.WideOdds(1, 2), (RangeOddsEntry{kOddsOnSale, 12, kOddsOnSale, 20}));
    EXPECT_EQ(w.WideOdds(1, 3), (RangeOddsEntry{kOddsOnSale, 99999, kOddsOnSale, 99999}));
    EXPECT_EQ(w.WideOdds(1, 4), (RangeOddsEntry{kOddsCancelled, -1, kOddsCancelled, -1}));

    O4Record exacta = Keyed(sample::BlankO4(), kRealTimeRace, "4");
    SetCombo(exacta.entries[0], "0201", "000088", 3);
    SetCombo(exacta.entries[1], "0102", "000000", 3);
    TakeO4(w, exacta);
    EXPECT_EQ(w.UmatanOdds(2, 1), (OddsEntry{kOddsOnSale, 88}));
    EXPECT_EQ(w.UmatanOdds(1, 2), (OddsEntry{kOddsOnSale, 999999}));

    auto trio = std::make_unique<O5Record>(Keyed(sample::BlankO5(), kRealTimeRace, "4"));
    SetCombo(trio->entries[0], "010203", "000150", 3);
    SetCombo(trio->entries[1], "010204", "000000", 3);
    TakeO5(w, *trio);
    EXPECT_EQ(w.SanrenpukuOdds(1, 2, 3), (OddsEntry{kOddsOnSale, 150}));
    EXPECT_EQ(w.SanrenpukuOdds(1, 2, 4), (OddsEntry{kOddsOnSale, 999999}));

    auto trifecta = std::make_unique<O6Record>(Keyed(sample::BlankO6(), kRealTimeRace, "4"));
    SetCombo(trifecta->entries[0], "030201", "0004321", 4);
    SetCombo(trifecta->entries[1], "010203", "0000000", 4);
    SetCombo(trifecta->entries[2], "010204", "*******", 4);
    TakeO6(w, *trifecta);
    EXPECT_EQ(w.SanrentanOdds(3, 2, 1), (OddsEntry{kOddsOnSale, 4321}));
    EXPECT_EQ(w.SanrentanOdds(1, 2, 3), (OddsEntry{kOddsOnSale, 9999999}));
    EXPECT_EQ(w.SanrentanOdds(1, 2, 4), (OddsEntry{kOddsCancelled, -1}));
}

// ---- data mining ----

TEST(TakeDM, ScoresOfTheRequestedRaceOnly) {
    DmRecord other = Keyed(sample::BlankDM(), "2026121206050312", "3");
    SetMining(other, 0, "01", "13000");
    MiningWork w;
    EXPECT_FALSE(TakeDM(w, other, kRealTimeRace));
    EXPECT_EQ(w.MiningKubun, "");
    EXPECT_EQ(w.MiningTime(1), -1);

    DmRecord r = Keyed(sample::BlankDM(), kRealTimeRace, "3");
    SetMining(r, 0, "01", "13456");  // 1:34.56 = 9456 hundredths
    SetMining(r, 1, "02", "13520");
    SetMining(r, 2, "03", "13601");
    SetMining(r, 3, "04", "00000");  // no forecast time
    SetMining(r, 4, "05", "     ");
    EXPECT_TRUE(TakeDM(w, r, kRealTimeRace));
    EXPECT_EQ(w.MiningKubun, "3");
    EXPECT_EQ(w.MiningTime(1), 9456);
    EXPECT_EQ(w.MiningTime(3), 9601);
    EXPECT_EQ(w.MiningTime(4), 0);
    EXPECT_EQ(w.MiningTime(5), -1);
    // (mean - time) / sd x 10 + 50 over the three timed horses.
    EXPECT_NEAR(w.MiningHensachi(1), 59.5872568313616, 1e-9);
    EXPECT_NEAR(w.MiningHensachi(2), 50.77982471834034, 1e-9);
    EXPECT_NEAR(w.MiningHensachi(3), 39.63291845029781, 1e-9);
    EXPECT_EQ(w.MiningHensachi(4), -1);
}

TEST(TakeDM, OneTimedHorseGivesNoScores) {
    DmRecord r = Keyed(sample::BlankDM(), kRealTimeRace, "1");
    SetMining(r, 0, "07", "13456");
    MiningWork w;
    EXPECT_TRUE(TakeDM(w, r, kRealTimeRace));
    EXPECT_EQ(w.MiningTime(7), 9456);
    EXPECT_EQ(w.MiningHensachi(7), -1);
}

// ---- quick result ----

TEST(TakeSE, TimesArrivalsAndScores) {
    KekkaWork w;
    EXPECT_FALSE(TakeSE(w, Runner(kRealTimeRace, "2", "01", "01", "1123"), kRealTimeRace));  // entries
    EXPECT_FALSE(TakeSE(w, Runner("2026121206050312", "7", "01", "01", "1123"), kRealTimeRace));
    EXPECT_EQ(w.KekkaKubun, "");

    EXPECT_TRUE(TakeSE(w, Runner(kRealTimeRace, "7", "01", "01", "1123", "355"), kRealTimeRace));
    EXPECT_TRUE(TakeSE(w, Runner(kRealTimeRace, "7", "02", "02", "1130", "000"), kRealTimeRace));
    EXPECT_TRUE(TakeSE(w, Runner(kRealTimeRace, "7", "03", "03", "1145", "999"), kRealTimeRace));
    EXPECT_FALSE(TakeSE(w, Runner(kRealTimeRace, "7", "04", "00", "0000"), kRealTimeRace));  // did not finish
    ScoreKekka(w);

    EXPECT_EQ(w.KekkaKubun, "7");
    EXPECT_EQ(w.KekkaTime(1), 723);  // 1:12.3
    EXPECT_EQ(w.KekkaNyusen(1), 1);
    EXPECT_EQ(w.KekkaAgari(1), 355);
    EXPECT_EQ(w.KekkaZenhan(1), 723 - 355);
    // Last 3 furlongs outside 1..998: no split of the time.
    EXPECT_EQ(w.KekkaAgari(2), -1);
    EXPECT_EQ(w.KekkaZenhan(3), -1);
    EXPECT_NEAR(w.KekkaHensachi(1), 58.600382474978574, 1e-9);
    EXPECT_NEAR(w.KekkaHensachi(2), 52.37251930344234, 1e-9);
    EXPECT_NEAR(w.KekkaHensachi(3), 39.02709822157899, 1e-9);
    // A horse with time 0: score 0, arrival order 0.
    EXPECT_EQ(w.KekkaHensachi(4), 0);
    EXPECT_EQ(w.KekkaNyusen(4), 0);
    EXPECT_EQ(w.KekkaHensachi(5), -1);
}

TEST(TakeSE, FewerThanTwoTimedHorsesGiveNoScores) {
    KekkaWork w;
    TakeSE(w, Runner(kRealTimeRace, "5", "01", "01", "1123"), kRealTimeRace);
    TakeSE(w, Runner(kRealTimeRace, "5", "02", "00", "0000"), kRealTimeRace);
    ScoreKekka(w);
    EXPECT_EQ(w.KekkaKubun, "5");
    EXPECT_EQ(w.KekkaNyusen(1), 1);
    EXPECT_EQ(w.KekkaHensachi(1), -1);
    EXPECT_EQ(w.KekkaHensachi(2), -1);
    EXPECT_EQ(w.KekkaNyusen(2), 0);
}

TEST(RealTimeWork, ClearAndApply) {
    RealTimeWork work;
    work.odds.OddsCount = 6;
    work.odds.TansyoOdds(1) = {kOddsOnSale, 20};
    work.odds.TansyoShijiritsu(1) = 0.4;
    work.odds.TansyoShijiritsu(2) = 0.3;
    work.odds.UmarenOdds(1, 2) = {kOddsOnSale, 30};
    work.mining.MiningKubun = "2";
    work.mining.MiningTime(3) = 9000;
    work.mining.MiningHensachi(3) = 55;
    work.kekka.KekkaKubun = "6";
    work.kekka.KekkaTime(4) = 700;
    work.kekka.KekkaNyusen(4) = 2;

    RaceTables card;
    ApplyOddsWork(work, card.odds);
    ApplyMiningWork(work, card.mining);
    ApplyKekkaWork(work, card.kekka);
    EXPECT_EQ(card.odds.OddsCount, 6);
    EXPECT_EQ(card.odds.UmarenOdds(1, 2), (OddsEntry{kOddsOnSale, 30}));
    // The value ratios come with the odds, as reading the odds file gives them.
    EXPECT_GT(card.odds.UmarenKairi(1, 2), 0);
    EXPECT_EQ(card.mining.MiningHensachi(3), 55);
    EXPECT_EQ(card.kekka.KekkaNyusen(4), 2);

    ClearOddsWork(work);
    ClearMiningWork(work);
    ClearKekkaWork(work);
    EXPECT_EQ(work.odds.OddsCount, 0);
    EXPECT_EQ(work.odds.TansyoOdds(1), OddsEntry{});
    EXPECT_EQ(work.mining.MiningKubun, "");
    EXPECT_EQ(work.mining.MiningTime(3), -1);
    EXPECT_EQ(work.kekka.KekkaTime(4), -1);
    EXPECT_EQ(work.kekka.KekkaNyusen(4), -1);
}

// ---- sessions over the stand-in ----

class RealTimeSessionTest : public ::testing::Test {
protected:
    std::filesystem::path jvlink() const { return dir.path() / "jvlink"; }
    RealTimeSession session() { return {state, jv, pump, clock, ui}; }

    TempDir dir;
    StandinJVLink jv{dir.path() / "jvlink", WithoutInit()};
    SessionState state;
    FakePump pump;
    FakeClock clock;
    FakeUserInterface ui;
};

TEST_F(RealTimeSessionTest, OddsCountsEveryOddsRecordOfTheRaceAndSkipsOtherTypes) {
    auto records = SixOddsRecords(kRealTimeRace);
    // An odds record of another race counts for nothing.
    O1Record other = Keyed(sample::BlankO1(), "2026121206050312", "4");
    SetWin(other, 0, "01", "0077");
    records.push_back(sample::WriteRecord(other));
    // Another type skips the rest of its file: the last O1 is never read.
    records.push_back(sample::WriteRecord(Keyed(sample::BlankDM(), kRealTimeRace, "3")));
    O1Record skipped = Keyed(sample::BlankO1(), kRealTimeRace, "4");
    SetWin(skipped, 0, "01", "0099");
    records.push_back(sample::WriteRecord(skipped));
    WriteRealTimeRecords(jvlink(), "0B30", kRealTimeRace, records);

    OddsTables w;
    EXPECT_EQ(ImportOdds(w, kRealTimeRace, session()), 0);
    EXPECT_EQ(w.OddsCount, 6);
    EXPECT_EQ(w.TansyoOdds(1), (OddsEntry{kOddsOnSale, 20}));
    EXPECT_EQ(w.UmarenOdds(1, 2), (OddsEntry{kOddsOnSale, 50}));
    EXPECT_EQ(w.SanrentanOdds(1, 2, 3), (OddsEntry{kOddsOnSale, 4321}));
    EXPECT_NEAR(w.OddsHensachi(1), 58.888948902382324, 1e-9);
    EXPECT_EQ(jv.calls().skip, 1);
    EXPECT_EQ(jv.calls().read, 8 + 2);  // the records up to the DM, then the end of the file and of the data
    EXPECT_FALSE(jv.sessionOpen());
}

TEST_F(RealTimeSessionTest, NoDataFaultsAndCancelFailTheImport) {
    OddsTables w;
    // No file for the race: the open fails as the component's "no data".
    EXPECT_EQ(ImportOdds(w, kRealTimeRace, session()), -1);
    EXPECT_EQ(jv.calls().read, 0);

    WriteRealTimeRecords(jvlink(), "0B30", kRealTimeRace, SixOddsRecords(kRealTimeRace));
    jv.options().faults.readFailureCode = -502;
    jv.options().faults.readFailureAt = 3;
    EXPECT_EQ(ImportOdds(w, kRealTimeRace, session()), -1);
    EXPECT_EQ(w.OddsCount, 2);  // partly filled: the caller must not use it
    EXPECT_FALSE(jv.sessionOpen());

    jv.options().faults.readFailureCode = 0;
    jv.options().faults.busyBeforeRecords = true;
    OddsTables busy;
    EXPECT_EQ(ImportOdds(busy, kRealTimeRace, session()), 0);
    EXPECT_EQ(busy.OddsCount, 6);

    pump.cancelAt = pump.turns + 2;
    OddsTables cancelled;
    EXPECT_EQ(ImportOdds(cancelled, kRealTimeRace, session()), -1);
    EXPECT_FALSE(jv.sessionOpen());
}

TEST_F(RealTimeSessionTest, NotInitialisedOpensInitialiseOnceAndOpenAgain) {
    WriteRealTimeRecords(jvlink(), "0B30", kRealTimeRace, SixOddsRecords(kRealTimeRace));
    jv.options().requireInit = true;
    OddsTables w;
    EXPECT_EQ(ImportOdds(w, kRealTimeRace, session()), 0);
    EXPECT_EQ(jv.calls().init, 1);
    EXPECT_EQ(jv.calls().rtOpen, 2);
    EXPECT_EQ(w.OddsCount, 6);
}

TEST_F(RealTimeSessionTest, InitialisationFaultsFailTheImport) {
    WriteRealTimeRecords(jvlink(), "0B30", kRealTimeRace, SixOddsRecords(kRealTimeRace));
    // -201 on the open and again after JVInit: a failure, after exactly one JVInit.
    StandinOptions twice = WithoutInit();
    twice.faults.notInitialisedOpens = 2;
    StandinJVLink notReady(jvlink(), twice);
    OddsTables w;
    EXPECT_EQ(ImportOdds(w, kRealTimeRace, {state, notReady, pump, clock, ui}), -1);
    EXPECT_EQ(notReady.calls().init, 1);
    EXPECT_EQ(notReady.calls().rtOpen, 2);
    EXPECT_EQ(notReady.calls().read, 0);

    StandinOptions refused;
    refused.faults.initResult = -101;
    StandinJVLink noInit(jvlink(), refused);
    EXPECT_EQ(ImportOdds(w, kRealTimeRace, {state, noInit, pump, clock, ui}), -1);
    EXPECT_EQ(noInit.calls().rtOpen, 1);
    EXPECT_FALSE(noInit.sessionOpen());
}

TEST_F(RealTimeSessionTest, MiningReadsTheFirstForecastOfTheRaceAndStops) {
    DmRecord other = Keyed(sample::BlankDM(), "2026121206050312", "3");
    SetMining(other, 0, "01", "10000");
    SetMining(other, 1, "02", "10100");
    DmRecord first = Keyed(sample::BlankDM(), kRealTimeRace, "2");
    SetMining(first, 0, "01", "13456");
    SetMining(first, 1, "02", "13520");
    DmRecord second = Keyed(sample::BlankDM(), kRealTimeRace, "3");
    SetMining(second, 0, "01", "14000");
    SetMining(second, 1, "02", "13000");
    WriteRealTimeRecords(
        jvlink(), "0B13", kRealTimeRace,
        {sample::WriteRecord(other), sample::WriteRecord(first), sample::WriteRecord(second)});
    MiningWork w;
    EXPECT_EQ(ImportMining(w, kRealTimeRace, session()), 0);
    EXPECT_EQ(w.MiningKubun, "2");
    EXPECT_EQ(w.MiningTime(1), 9456);
    EXPECT_GT(w.MiningHensachi(1), w.MiningHensachi(2));
    EXPECT_EQ(jv.calls().read, 2);
}

TEST_F(RealTimeSessionTest, KekkaReadsPastOtherTypesAndStopsAtEighteenHorses) {
    std::vector<std::string> records;
    records.push_back(sample::WriteRecord(Keyed(sample::BlankRA(), kRealTimeRace, "7")));
    for (int h = 1; h <= 18; ++h) {
        const std::string n = (h < 10 ? "0" : "") + std::to_string(h);
        records.push_back(sample::WriteRecord(Runner(kRealTimeRace, "7", n, n, std::to_string(1100 + h))));
    }
    // Never read: the quick result stops at 18 counted horses.
    records.push_back(sample::WriteRecord(Runner(kRealTimeRace, "7", "01", "18", "1500")));
    WriteRealTimeRecords(jvlink(), "0B12", kRealTimeRace, records);
    KekkaWork w;
    EXPECT_EQ(ImportKekka(w, kRealTimeRace, session()), 0);
    EXPECT_EQ(jv.calls().skip, 0);
    EXPECT_EQ(jv.calls().read, 19);
    EXPECT_EQ(w.KekkaNyusen(1), 1);
    EXPECT_EQ(w.KekkaTime(18), 600 + 118);
    EXPECT_GT(w.KekkaHensachi(1), w.KekkaHensachi(18));
}

}  // namespace
}  // namespace veltrix::test
