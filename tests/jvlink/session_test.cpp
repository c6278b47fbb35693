#include "jvlink/session.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "jvlink/standin/standin_jvlink.h"
#include "standin_folder.h"

namespace veltrix::test {
namespace {

namespace fs = std::filesystem;

class SessionTest : public ::testing::Test {
protected:
    TempDir dir;
    fs::path jv = StandinFolder(dir.path());
    SessionState state;
    FakeUserInterface ui;
    FakePump pump;
    FakeClock clock;
    std::vector<std::string> seen;

    // The import does not use "HR" (payouts, a JV-Data kind) nor "??" (no kind at all);
    // "DD" marks a record it finds damaged.
    RecordHandler collect() {
        return [this](std::string_view r) {
            seen.emplace_back(r.substr(0, r.size() >= 2 ? r.size() - 2 : 0));
            if (r.substr(0, 2) == "DD") return RecordUse::Damaged;
            return r.substr(0, 2) == "HR" || r.substr(0, 2) == "??" ? RecordUse::Unused : RecordUse::Used;
        };
    }
    int run(StandinJVLink& link, const SessionRequest& req) {
        return RunSession(state, link, req, ui, pump, clock, collect());
    }
    static SessionRequest race() {
        return SessionRequest::stored("RACE", "19860101000000", 2, "レース情報をダウンロード中...");
    }
    void writeWeek() {
        WriteStored(jv, "RACE", "20250605200000", "a", {"RA1", "HR1", "RA2"});
        WriteStored(jv, "RACE", "20250606120000", "b", {"SE1"});
    }
};

TEST_F(SessionTest, NoDownloadReadsAtOnceWithoutTheTimer) {
    writeWeek();
    StandinOptions opt;
    opt.simulateDownload = false;
    StandinJVLink link(jv, opt);
    EXPECT_EQ(run(link, race()), 0);
    EXPECT_EQ(link.calls().status, 0);
    EXPECT_EQ(clock.now, 0);
    EXPECT_TRUE(state.DownloadDone);
    EXPECT_EQ(seen, (std::vector<std::string>{"RA1", "HR1", "SE1"}));
    EXPECT_FALSE(state.SessionOpen);
    EXPECT_EQ(link.calls().close, 1);
    EXPECT_TRUE(ui.statuses.empty());  // no download message without a download
}

TEST_F(SessionTest, DownloadIsPolledEveryHundredMillisecondsWithProgress) {
    writeWeek();
    StandinJVLink link(jv);
    link.JVInit(SoftwareId);
    int readCountSeen = -1;
    auto req = race();
    req.onReadStart = [&](int readCount) {
        readCountSeen = readCount;
        EXPECT_EQ(ui.progress, 2);  // download bar full before reading
        EXPECT_EQ(link.calls().read, 0);
    };
    EXPECT_EQ(run(link, req), 0);
    EXPECT_EQ(state.DownloadCount, 2);
    EXPECT_EQ(link.calls().status, 2);
    EXPECT_GE(clock.now, 2 * kDownloadPollMs);
    EXPECT_LT(clock.now, 3 * kDownloadPollMs);
    EXPECT_EQ(ui.statuses, (std::vector<std::string>{"レース情報をダウンロード中..."}));
    EXPECT_EQ(ui.progressMax, 2);
    EXPECT_EQ(readCountSeen, 2);
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(SessionTest, NotInitialisedOpenInitialisesOnceAndRetriesOnce) {
    writeWeek();
    {
        StandinJVLink link(jv);  // JVInit never called: the open says -201
        EXPECT_EQ(run(link, race()), 0);
        EXPECT_EQ(link.calls().init, 1);
        EXPECT_EQ(link.calls().open, 2);
        EXPECT_EQ(link.softwareId(), SoftwareId);
    }
    {
        StandinOptions opt;
        opt.faults.notInitialisedOpens = 2;  // -201 again after JVInit
        StandinJVLink link(jv, opt);
        EXPECT_EQ(run(link, race()), -1);
        EXPECT_EQ(link.calls().init, 1);
        EXPECT_EQ(link.calls().open, 2);
        EXPECT_EQ(link.calls().read, 0);
        EXPECT_EQ(link.calls().close, 1);
        EXPECT_FALSE(state.SessionOpen);
    }
    {
        StandinOptions opt;
        opt.faults.initResult = -101;
        StandinJVLink link(jv, opt);
        EXPECT_EQ(run(link, race()), -1);
        EXPECT_EQ(link.calls().init, 1);
        EXPECT_EQ(link.calls().open, 1);
        EXPECT_FALSE(state.SessionOpen);
    }
}

TEST_F(SessionTest, SwitchesAndBusyReadsNeverEndTheLoop) {
    writeWeek();
    StandinOptions opt;
    opt.faults.busyBeforeRecords = true;
    StandinJVLink link(jv, opt);
    auto req = race();
    req.skipUnusedTypes = false;
    EXPECT_EQ(run(link, req), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"RA1", "HR1", "RA2", "SE1"}));
    // 4 records, 4 busy answers, 2 file ends, the end of data
    EXPECT_EQ(link.calls().read, 11);
}

TEST_F(SessionTest, UnusedTypeSkipsTheRestOfItsFileUnlessTheImportReadsOn) {
    writeWeek();
    StandinJVLink link(jv);
    EXPECT_EQ(run(link, race()), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"RA1", "HR1", "SE1"}));
    EXPECT_EQ(link.calls().skip, 1);

    seen.clear();
    StandinJVLink results(jv);
    auto req = SessionRequest::stored("RACE", "19860101000000", 1, "成績情報をダウンロード中...");
    req.skipUnusedTypes = false;
    EXPECT_EQ(run(results, req), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"RA1", "HR1", "RA2", "SE1"}));
    EXPECT_EQ(results.calls().skip, 0);
}

// Damaged records and records of no JV-Data kind after a file's first record
// are counted and read past; a file that starts with no known kind is skipped
// as a file of another kind. Every session adds to the count.
TEST_F(SessionTest, DamagedRecordsAreCountedAndTheFileReadOn) {
    WriteStored(jv, "RACE", "20250605200000", "a", {"RA1", "DD1", "??1", "RA2", "HR1", "RA3"});
    WriteStored(jv, "RACE", "20250606120000", "b", {"??2", "RA4"});
    WriteStored(jv, "RACE", "20250606130000", "c", {"SE1", "DD2"});
    StandinJVLink link(jv);
    EXPECT_EQ(run(link, race()), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"RA1", "DD1", "??1", "RA2", "HR1", "??2", "SE1", "DD2"}));
    EXPECT_EQ(state.PassedOver, 3);
    EXPECT_EQ(link.calls().skip, 2);
    seen.clear();
    EXPECT_EQ(run(link, race()), 0);
    EXPECT_EQ(state.PassedOver, 6);
}

TEST_F(SessionTest, CancelDuringTheWaitClosesWithoutReading) {
    writeWeek();
    StandinJVLink link(jv);
    pump.cancelAt = 3;
    EXPECT_EQ(run(link, race()), -1);
    EXPECT_TRUE(pump.cancelRequested());
    EXPECT_FALSE(state.DownloadDone);
    EXPECT_EQ(link.calls().read, 0);
    EXPECT_EQ(link.calls().close, 1);
    EXPECT_FALSE(state.SessionOpen);
    EXPECT_FALSE(link.sessionOpen());
}

TEST_F(SessionTest, CancelAlreadyRequestedStopsBeforeReading) {
    writeWeek();
    StandinOptions opt;
    opt.simulateDownload = false;
    StandinJVLink link(jv, opt);
    pump.requestCancel();
    EXPECT_EQ(run(link, race()), -1);
    EXPECT_EQ(link.calls().read, 0);
}

TEST_F(SessionTest, FailedDownloadEndsTheSessionInsteadOfWaiting) {
    writeWeek();
    StandinOptions opt;
    opt.faults.statusFailureCode = kJVDownloadFailed;
    opt.faults.statusFailureAfter = 1;
    StandinJVLink link(jv, opt);
    EXPECT_EQ(run(link, race()), -1);
    EXPECT_EQ(link.calls().status, 2);
    EXPECT_EQ(link.calls().read, 0);
    EXPECT_EQ(link.calls().close, 1);
    EXPECT_FALSE(state.SessionOpen);
    EXPECT_FALSE(pump.cancelRequested());
    EXPECT_LT(pump.turns, 100);
}

TEST_F(SessionTest, ReadFailureCodeClosesWithFailure) {
    writeWeek();
    StandinOptions opt;
    opt.faults.readFailureCode = -402;
    opt.faults.readFailureAt = 2;
    StandinJVLink link(jv, opt);
    EXPECT_EQ(run(link, race()), -1);
    EXPECT_EQ(seen, (std::vector<std::string>{"RA1"}));
    EXPECT_EQ(link.calls().close, 1);
    EXPECT_FALSE(state.SessionOpen);
}

TEST_F(SessionTest, NoDataOpenIsAFailureAndAnEmptySessionReadsNothing) {
    StandinJVLink link(jv);
    EXPECT_EQ(run(link, race()), -1);
    EXPECT_EQ(link.calls().close, 1);
    EXPECT_FALSE(state.SessionOpen);

    StandinOptions opt;
    opt.noDataResult = 0;
    StandinJVLink empty(jv, opt);
    bool started = false;
    auto req = race();
    req.onReadStart = [&](int) { started = true; };
    EXPECT_EQ(run(empty, req), 0);
    EXPECT_FALSE(started);
    EXPECT_EQ(empty.calls().read, 0);
    EXPECT_EQ(empty.calls().close, 1);
}

TEST_F(SessionTest, CancelWhileReadingAsksWhenTheImportWantsTo) {
    WriteStored(jv, "RACE", "20250605200000", "a", {"RA1", "RA2", "RA3", "RA4"});
    StandinOptions opt;
    opt.simulateDownload = false;
    StandinJVLink link(jv, opt);
    int asked = 0;
    auto req = race();
    req.confirmCancel = [&] {
        ++asked;
        return false;  // "No": read on
    };
    pump.cancelAt = 2;
    EXPECT_EQ(run(link, req), 0);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(pump.cancelRequested());
    EXPECT_EQ(seen.size(), 4u);

    seen.clear();
    state = {};
    pump = {};
    pump.cancelAt = 2;
    req.confirmCancel = [&] { return true; };
    StandinJVLink again(jv, opt);
    EXPECT_EQ(run(again, req), -1);
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(again.calls().close, 1);
}

TEST_F(SessionTest, ImportFailuresTakeTheClosePath) {
    writeWeek();
    StandinJVLink link(jv);
    int r = RunSession(state, link, race(), ui, pump, clock, [](std::string_view) { return RecordUse::Failed; });
    EXPECT_EQ(r, -1);
    EXPECT_EQ(link.calls().close, 1);

    StandinJVLink thrower(jv);
    r = RunSession(state, thrower, race(), ui, pump, clock,
                   [](std::string_view) -> RecordUse { throw std::runtime_error("bad record"); });
    EXPECT_EQ(r, -1);
    EXPECT_EQ(thrower.calls().close, 1);
    EXPECT_FALSE(state.SessionOpen);

    StandinJVLink endFails(jv);
    auto req = race();
    std::string stampAtEnd;
    req.onEndOfData = [&] {
        stampAtEnd = endFails.CurrentFileTimeStamp();
        return false;
    };
    EXPECT_EQ(run(endFails, req), -1);
    EXPECT_EQ(stampAtEnd, "20250606120000");
    EXPECT_EQ(endFails.calls().close, 1);
}

TEST_F(SessionTest, RealTimeSessionLeavesStatusAndBarToTheCaller) {
    WriteRealTime(jv, "0B12", "2025060605010111", {"RA5", "HR", "SE5"});
    StandinJVLink link(jv);
    state.DownloadCount = 7;  // left over from an earlier stored-data session
    ui.progressMax = 36;
    ui.progress = 4;
    EXPECT_EQ(run(link, SessionRequest::realTimeData("0B12", "2025060605010111", kReadBufferStored, false)), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"RA5", "HR", "SE5"}));
    EXPECT_EQ(state.DownloadCount, 0);
    EXPECT_EQ(link.calls().status, 0);
    EXPECT_TRUE(ui.statuses.empty());
    EXPECT_EQ(ui.progressMax, 36);
    EXPECT_EQ(ui.progress, 4);
}

// ---- the single calls -------------------------------------------------------

TEST_F(SessionTest, SettingsDialogReportsItsErrorCode) {
    StandinOptions opt;
    StandinJVLink ok(jv, opt);
    EXPECT_EQ(ConfigJVLink(ok, ui), 0);
    EXPECT_TRUE(ui.messages.empty());
    opt.faults.setUIPropertiesResult = -100;
    StandinJVLink bad(jv, opt);
    EXPECT_EQ(ConfigJVLink(bad, ui), -100);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "JV-Link Error:-100");
    EXPECT_EQ(ui.messages[0].icon, Icon::Warning);
}

TEST_F(SessionTest, StartupInitialisation) {
    StandinJVLink ok(jv);
    EXPECT_EQ(InitJVLinkAtStartup(ok, ui), 0);
    EXPECT_EQ(ok.softwareId(), "QT517204/QT880913/VELTRIX/Ver.2.8.3");
    EXPECT_TRUE(ui.messages.empty());
    StandinOptions opt;
    opt.faults.initResult = -101;
    StandinJVLink bad(jv, opt);
    EXPECT_NE(InitJVLinkAtStartup(bad, ui), 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "JV-Linkの初期化に失敗しました。");
    EXPECT_EQ(ui.messages[0].icon, Icon::Warning);
}

TEST_F(SessionTest, RaceVideo) {
    const std::string id = "2025060605010111";
    fs::create_directories(jv / "video");
    WriteCp932(jv / "video" / (id + ".wmv"), "v");
    std::vector<fs::path> opened;
    bool opens = true;
    StandinOptions opt;
    opt.videoOpener = [&](const fs::path& p) {
        opened.push_back(p);
        return opens;
    };

    StandinJVLink link(jv, opt);  // not initialised: the check says -201 first
    EXPECT_EQ(PlayRaceVideo(link, ui, ""), VideoResult::NoRace);
    EXPECT_EQ(link.calls().mvCheck, 0);
    EXPECT_EQ(PlayRaceVideo(link, ui, id), VideoResult::Played);
    EXPECT_EQ(link.calls().init, 1);
    EXPECT_EQ(link.calls().mvCheck, 2);
    EXPECT_EQ(opened, (std::vector<fs::path>{jv / "video" / (id + ".wmv")}));
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_EQ(PlayRaceVideo(link, ui, "2025060605010112"), VideoResult::NotPublished);
    opens = false;
    EXPECT_EQ(PlayRaceVideo(link, ui, id), VideoResult::PlayFailed);

    StandinOptions noInit = opt;
    noInit.faults.initResult = -101;
    StandinJVLink broken(jv, noInit);
    EXPECT_EQ(PlayRaceVideo(broken, ui, id), VideoResult::InitFailed);
    EXPECT_EQ(broken.calls().mvPlay, 0);

    std::vector<std::string> texts;
    for (auto& m : ui.messages) {
        texts.push_back(m.text);
        EXPECT_EQ(m.icon, Icon::Warning);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"このレースの映像は公開されていません。",
                                               "JRA RACING VIEWER の再生に失敗しました。",
                                               "JV-Linkの初期化に失敗しました。"}));
}

}  // namespace
}  // namespace veltrix::test
