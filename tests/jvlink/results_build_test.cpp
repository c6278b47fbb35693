// The results database build and the "過去成績" command, over a hand-made RACE
// stream in the stand-in, with a scripted user and pump.
#include "jvlink/results_build.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/results_commands.h"
#include "base/encoding.h"
#include "jvlink/records.h"
#include "jvlink/standin/standin_jvlink.h"
#include "sample/record_writer.h"
#include "support/fake_host.h"

namespace veltrix::test {
namespace {

namespace fs = std::filesystem;
using sample::Num;
using sample::PadFull;
using sample::SetRaceKey;
using sample::WriteRecord;

std::string raRecord(const std::string& id) {
    RaRecord r = sample::BlankRA();
    r.dataCategory = "7";
    SetRaceKey(r, id);
    r.raceName = PadFull("テスト競走", 60);
    r.distance = "1600";
    r.trackCode = "11";
    return WriteRecord(r);
}

std::string horseName(int horse) {
    return horse == 2 ? "アイウエオカキクケコサシスセソタチツ" : "ウマ" + Num(horse, 2);
}

// A runner whose fields all differ from one another and from other runners'.
SeRecord seModel(char category, const std::string& id, int horse) {
    SeRecord r = sample::BlankSE();
    r.dataCategory = std::string(1, category);
    SetRaceKey(r, id);
    r.frameNumber = std::to_string(1 + horse % 8);
    r.horseNumber = Num(horse, 2);
    r.umaCode = "20050" + Num(horse, 5);
    r.horseName = PadFull(horseName(horse), 36);
    r.sexCode = horse % 2 ? "1" : "2";
    r.age = Num(2 + horse % 5, 2);
    r.trainerCode = "01001";
    r.trainerName = PadFull("調教" + std::string(horse % 2 ? "" : "師"), 8);
    r.weightCarried = Num(540 + horse, 3);
    r.jockeyCode = "05339";
    r.jockeyName = PadFull("騎手" + std::string(horse % 2 ? "甲" : ""), 8);
    r.bodyWeight = Num(450 + horse, 3);
    r.weightSign = horse % 2 ? "-" : "+";
    r.weightChange = Num(horse * 2, 3);
    r.abnormality = horse == 3 ? "1" : "0";
    r.arrivalOrder = Num(horse + 1, 2);
    r.finalPlacing = Num(horse + 2, 2);
    r.raceTime = Num(1330 + horse, 4);
    r.cornerPositions = {Num(horse, 2), Num(horse + 10, 2), Num(horse + 20, 2), Num(horse + 30, 2)};
    r.winOdds = Num(100 + horse, 4);
    r.popularity = Num(horse + 3, 2);
    r.last3F = Num(340 + horse, 3);
    return r;
}

std::string seRecord(char category, const std::string& id, int horse) {
    return WriteRecord(seModel(category, id, horse));
}

// The race file record of seModel's runner, written out by hand.
SeisekiRecord expectedRunner(int horse) {
    return {std::to_string(1 + horse % 8),
            Num(horse, 2),
            horse == 3 ? "1" : "0",
            horseName(horse),
            horse % 2 ? "1" : "2",
            Num(2 + horse % 5, 2),
            Num(540 + horse, 3),
            Num(450 + horse, 3),
            (horse % 2 ? "-" : "+") + Num(horse * 2, 3),
            "騎手" + std::string(horse % 2 ? "甲" : ""),
            "調教" + std::string(horse % 2 ? "" : "師"),
            Num(1330 + horse, 4),
            Num(340 + horse, 3),
            Num(horse, 2) + Num(horse + 10, 2) + Num(horse + 20, 2) + Num(horse + 30, 2),
            Num(horse + 1, 2),
            Num(horse + 2, 2),
            Num(100 + horse, 4),
            Num(horse + 3, 2)};
}

// Races of the stream, in delivery order.
const std::string kA1 = "2008122806050801";  // a December race
const std::string kB1 = "2009010406010101";  // January races, in the next file
const std::string kB2 = "2009010406010102";
const std::string kC1 = "2009011706010101";  // Saturday
const std::string kC2 = "2009011706010102";
const std::string kD1 = "2009011806010201";  // Sunday
const std::string kD2 = "2009011806010202";
const std::map<std::string, int> kRunners = {{kA1, 3}, {kB1, 2}, {kB2, 2}, {kC1, 2},
                                             {kC2, 2}, {kD1, 2}, {kD2, 2}};
constexpr const char* kLastStamp = "20090119160000";
constexpr const char* kCancelQuestion = "成績情報のインポートを中止しますか？";

// Opens as the build asked for them.
struct OpenCall {
    std::string dataSpec, fromTime;
    int option;
    bool operator==(const OpenCall&) const = default;
};

class RecordingJVLink final : public JVLink {
public:
    explicit RecordingJVLink(StandinJVLink& inner) : inner_(inner) {}
    std::vector<OpenCall> opens;
    int JVInit(const std::string& id) override { return inner_.JVInit(id); }
    int JVSetUIProperties() override { return inner_.JVSetUIProperties(); }
    int JVOpen(const std::string& spec, const std::string& from, int option, int& readCount,
               int& downloadCount, std::string& last) override {
        opens.push_back({spec, from, option});
        return inner_.JVOpen(spec, from, option, readCount, downloadCount, last);
    }
    int JVRTOpen(const std::string& spec, const std::string& key) override {
        return inner_.JVRTOpen(spec, key);
    }
    int JVStatus() override { return inner_.JVStatus(); }
    int JVRead(std::string& buff, int size, std::string& fileName) override {
        return inner_.JVRead(buff, size, fileName);
    }
    int JVSkip() override { return inner_.JVSkip(); }
    int JVClose() override { return inner_.JVClose(); }
    long long TotalReadFilesize() const override { return inner_.TotalReadFilesize(); }
    std::string CurrentFileTimeStamp() const override { return inner_.CurrentFileTimeStamp(); }
    int JVMVCheck(const std::string& id) override { return inner_.JVMVCheck(id); }
    int JVMVPlay(const std::string& id) override { return inner_.JVMVPlay(id); }

private:
    StandinJVLink& inner_;
};

// Every file under a folder, by relative path ("/" on every system), with its bytes.
std::map<std::string, std::string> tree(const fs::path& root) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file())
            out[fs::relative(e.path(), root).generic_string()] = ReadFileBytes(e.path()).value_or("?");
    return out;
}

std::string infoOf(const std::string& stamp, const std::string& state) {
    return "\"" + stamp + "\",\"" + state + "\"\r\n";
}

class ResultsBuildTest : public ::testing::Test {
protected:
    ResultsBuildTest() {
        fs::create_directories(data);
        StandinOptions options;
        options.simulateDownload = false;
        standin = std::make_unique<StandinJVLink>(StandinFolder(dir.path()), options);
        standin->JVInit(SoftwareId);  // as the main window does at start-up
        jv = std::make_unique<RecordingJVLink>(*standin);
        writeStream();
    }

    void writeStored(const std::string& stamp, const std::string& name,
                     const std::vector<std::string>& records) {
        std::string bytes;
        for (const auto& r : records) bytes += r;
        const fs::path folder = StandinFolder(dir.path()) / "stored" / "RACE";
        fs::create_directories(folder);
        ASSERT_TRUE(WriteFileBytes(folder / (stamp + "_" + name + ".txt"), bytes));
    }

    // Three weekly result files: 2008-12-28; 2009-01-04; 2009-01-17 and 18 with
    // this week's racecard (category "2") and a record whose race id is not a
    // number among them. Each file starts with its RA records.
    void writeStream() {
        writeStored("20081229160000", "SESW20081227",
                    {raRecord(kA1), seRecord('7', kA1, 1), seRecord('7', kA1, 2), seRecord('7', kA1, 3)});
        writeStored("20090105160000", "SESW20090103",
                    {raRecord(kB1), raRecord(kB2), seRecord('7', kB1, 1), seRecord('7', kB1, 2),
                     seRecord('7', kB2, 1), seRecord('7', kB2, 2)});
        SeRecord notANumber = seModel('7', kD1, 5);
        notANumber.meeting = "0A";
        writeStored(kLastStamp, "SESW20090117",
                    {raRecord(kC1), raRecord(kC2), raRecord(kD1), raRecord(kD2), seRecord('7', kC1, 1),
                     seRecord('7', kC1, 2), seRecord('7', kC2, 1), seRecord('7', kC2, 2),
                     seRecord('2', "2009012406020101", 1), WriteRecord(notANumber), seRecord('7', kD1, 1),
                     seRecord('7', kD1, 2), seRecord('7', kD2, 1), seRecord('7', kD2, 2)});
    }

    int build(const fs::path& folder) {
        SeisekiBuildContext ctx{folder, session, *jv, ui, pump, clock, changes};
        return CreateSeisekiDatabase(ctx);
    }
    int build() { return build(data); }

    // The files of an uninterrupted first build, made in a folder of its own.
    std::map<std::string, std::string> reference() {
        TempDir other;
        FakeUserInterface quiet;
        FakePump steady;
        SeisekiBuildContext ctx{other.path(), session, *jv, quiet, steady, clock, changes};
        EXPECT_EQ(CreateSeisekiDatabase(ctx), 0);
        return tree(other.path());
    }

    std::string infoBytes() const { return ReadFileBytes(data / "databaseinfo").value_or("(missing)"); }
    bool raceFile(const std::string& raceId) const { return fs::exists(data / raceId.substr(0, 4) / raceId); }
    int cancelQuestions() const {
        int n = 0;
        for (const auto& q : ui.questions) n += q.text == kCancelQuestion;
        return n;
    }

    TempDir dir;
    fs::path data = dir.path() / "data";
    std::unique_ptr<StandinJVLink> standin;
    std::unique_ptr<RecordingJVLink> jv;
    SessionState session;
    FakeUserInterface ui;
    FakePump pump;
    FakeClock clock;
    ChangeNotifier changes;
};

TEST(SeisekiRecord, CutsTheEighteenFieldsOfTheRunner) {
    for (int horse : {1, 2, 3}) {
        SCOPED_TRACE(horse);
        const std::string bytes = seRecord('7', kC1, horse);
        EXPECT_EQ(SeisekiRecordOf(bytes), expectedRunner(horse));
        // JV-Link may hand the record over without its line end.
        EXPECT_EQ(SeisekiRecordOf(std::string_view(bytes).substr(0, bytes.size() - 2)),
                  expectedRunner(horse));
    }
    const std::string good = seRecord('7', kC1, 1);
    EXPECT_FALSE(SeisekiRecordOf(good.substr(0, good.size() - 3) + "\r\n"));  // one byte short
    EXPECT_FALSE(SeisekiRecordOf("RA" + good.substr(2)));
    std::string badName = good;
    badName[40] = '\x82';  // a lead byte followed by a byte that cannot trail it
    badName[41] = ' ';
    EXPECT_FALSE(SeisekiRecordOf(badName));
}

TEST_F(ResultsBuildTest, FirstBuildIsASetUpFrom2000WrittenRaceByRace) {
    ASSERT_EQ(build(), 0);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text,
              "2000/01/05 以降の成績情報データベースを作成します。\n（ディスク容量：1年 約5MB,作成時間：1年 "
              "約15分）");
    EXPECT_TRUE(ui.questions[0].okCancel);
    EXPECT_EQ(ui.questions[0].icon, Icon::Information);
    EXPECT_EQ(jv->opens, (std::vector<OpenCall>{{"RACE", "20000105000000", 3}}));

    // Every final result in its year's folder, January's in the new year's;
    // the racecard and the record without a numeric race id are not written.
    std::map<std::string, std::string> expected;
    for (const auto& [raceId, runners] : kRunners) {
        std::string text;
        for (int h = 1; h <= runners; ++h) {
            for (const auto& f : expectedRunner(h))
                text += (text.empty() || text.back() == '\n' ? "\"" : ",\"") + f + "\"";
            text += "\r\n";
        }
        expected[raceId.substr(0, 4) + "/" + raceId] = *Utf8ToCp932(text);
    }
    expected["databaseinfo"] = infoOf(kLastStamp, "N");
    EXPECT_EQ(tree(data), expected);

    const SeisekiRaceFile a1 = ReadSeisekiRaceFile(data, kA1);
    ASSERT_EQ(a1.status, SeisekiFileStatus::Read);
    EXPECT_EQ(a1.runners,
              (std::vector<SeisekiRecord>{expectedRunner(1), expectedRunner(2), expectedRunner(3)}));

    EXPECT_EQ(ui.statuses, (std::vector<std::string>{
                               "成績情報データベース (2000/01/05) を更新中...",
                               "成績情報データベース (2008/12/28) を更新中...",
                               "成績情報データベース (2009/01/04) を更新中...",
                               "成績情報データベース (2009/01/17) を更新中...",
                               "成績情報データベース (2009/01/18) を更新中...",
                           }));
    EXPECT_EQ(ui.progressMax, standin->TotalReadFilesize());
    EXPECT_EQ(ui.progress, ui.progressMax);
    EXPECT_FALSE(session.SessionOpen);
}

TEST_F(ResultsBuildTest, LaterBuildReadsOnFromTheStoredStampWithoutAsking) {
    ASSERT_EQ(build(), 0);
    const auto first = tree(data);
    writeStored("20090126160000", "SESW20090124", {seRecord('7', "2009012406020101", 1)});
    ui.questions.clear();
    ASSERT_EQ(build(), 0);
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(jv->opens.back(), (OpenCall{"RACE", kLastStamp, 1}));
    auto now = tree(data);
    EXPECT_TRUE(raceFile("2009012406020101"));
    EXPECT_EQ(now.erase("2009/2009012406020101"), 1u);
    EXPECT_EQ(now.erase("databaseinfo"), 1u);
    EXPECT_EQ(infoBytes(), infoOf("20090126160000", "N"));
    auto before = first;
    before.erase("databaseinfo");
    EXPECT_EQ(now, before);
}

TEST_F(ResultsBuildTest, FinalResultDatedBeforeTheStampIsNotWritten) {
    // The stamp points at Sunday: Saturday's results come in the same file but stay out.
    ASSERT_EQ(WriteDatabaseInfo(data, "20090118000000", "N"), 0);
    ASSERT_EQ(build(), 0);
    EXPECT_EQ(jv->opens.back(), (OpenCall{"RACE", "20090118000000", 1}));
    EXPECT_FALSE(raceFile(kC1));
    EXPECT_FALSE(raceFile(kC2));
    EXPECT_TRUE(raceFile(kD1));
    EXPECT_TRUE(raceFile(kD2));
    EXPECT_EQ(tree(data).size(), 3u);
}

TEST_F(ResultsBuildTest, SetUpQuestionAnsweredCancelTouchesNothing) {
    ui.okCancelAnswers = {false};
    EXPECT_EQ(build(), -1);
    EXPECT_TRUE(jv->opens.empty());
    EXPECT_EQ(tree(data),
              (std::map<std::string, std::string>{{"databaseinfo", infoOf("20000105000000", "S")}}));
}

TEST_F(ResultsBuildTest, CancelAnsweredNoGoesOnWithoutLosingARecord) {
    const auto expected = reference();
    int withdrawn = 0;
    Subscription sub = changes.subscribe([&](Change c) { withdrawn += c == Change::CancelWithdrawn; });
    for (int turn : {1, 3, 12, 20, 24, 28}) {
        SCOPED_TRACE(turn);
        fs::remove_all(data);
        fs::create_directories(data);
        ui = FakeUserInterface();
        ui.answers = {false};
        pump = FakePump();
        pump.cancelAt = turn;
        withdrawn = 0;
        ASSERT_EQ(build(), 0);
        EXPECT_EQ(cancelQuestions(), 1);
        const auto& q = ui.questions.back();
        EXPECT_EQ(q.icon, Icon::Warning);
        EXPECT_TRUE(q.defaultNo);
        EXPECT_EQ(withdrawn, 1);
        EXPECT_FALSE(pump.cancelRequested());
        EXPECT_EQ(tree(data), expected);
    }
}

TEST_F(ResultsBuildTest, AbortAfterANewDayTakesThatDayBackAndResumesAsSetUp) {
    const auto expected = reference();
    // Turn 26 comes before reading D2's second runner: D1 is written, D2's
    // first runner is still in hand.
    pump.cancelAt = 26;
    ui.answers = {true};
    ASSERT_EQ(build(), -1);
    EXPECT_EQ(cancelQuestions(), 1);
    EXPECT_FALSE(raceFile(kD1));
    EXPECT_FALSE(raceFile(kD2));
    for (const auto& id : {kA1, kB1, kB2, kC1, kC2}) EXPECT_TRUE(raceFile(id)) << id;
    EXPECT_EQ(infoBytes(), infoOf("20090118000000", "S"));

    // The next build is still a set-up, from that day.
    ui = FakeUserInterface();
    pump = FakePump();
    ASSERT_EQ(build(), 0);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text.substr(0, 10), "2009/01/18");
    EXPECT_EQ(jv->opens.back(), (OpenCall{"RACE", "20090118000000", 3}));
    EXPECT_EQ(tree(data), expected);
}

TEST_F(ResultsBuildTest, FailuresRollBackToTheLastDayWritten) {
    // A read failure in Saturday's records: Saturday goes, the weeks before stay.
    standin->options().faults.readFailureCode = -502;
    standin->options().faults.readFailureAt = 19;
    ASSERT_EQ(build(), -1);
    EXPECT_FALSE(session.SessionOpen);
    EXPECT_TRUE(raceFile(kB2));
    EXPECT_FALSE(raceFile(kC1));
    EXPECT_EQ(infoBytes(), infoOf("20090117000000", "S"));

    // An open that finds no data rolls back to the stored stamp's day.
    standin->options().faults.readFailureCode = 0;
    fs::remove_all(StandinFolder(dir.path()) / "stored");
    ui = FakeUserInterface();
    ASSERT_EQ(build(), -1);
    EXPECT_TRUE(raceFile(kB2));
    EXPECT_EQ(infoBytes(), infoOf("20090117000000", "S"));
}

// A kill leaves the files as they were at that moment. Between any two turns
// of the read loop, a copy of the data folder is what a kill would leave; a
// build over that copy must end with the files of an uninterrupted build, and
// ask JV-Link again for no more than the day that was being written.
class SnapshotPump final : public Pump {
public:
    SnapshotPump(fs::path from, fs::path to, int at) : from_(std::move(from)), to_(std::move(to)), at_(at) {}
    void processEvents() override {
        if (++turns_ == at_) fs::copy(from_, to_, fs::copy_options::recursive);
    }

private:
    fs::path from_, to_;
    int at_;
    int turns_ = 0;
};

class KillTest : public ResultsBuildTest {
protected:
    // Runs a build over `data` as prepare() leaves it, copies the folder at every
    // turn in its place, builds again over each copy and compares the files.
    template <class Prepare>
    void killAtEveryTurn(Prepare prepare) {
        prepare(data);
        ASSERT_EQ(build(), 0);
        const auto expected = tree(data);
        const int turns = pump.turns;
        ASSERT_GT(turns, 5);
        for (int turn = 1; turn <= turns; ++turn) {
            SCOPED_TRACE(turn);
            TempDir work;
            const fs::path killed = work.path() / "killed";
            fs::remove_all(data);
            fs::create_directories(data);
            prepare(data);
            SnapshotPump snapshot(data, killed, turn);
            FakeUserInterface quiet;
            SeisekiBuildContext ctx{data, session, *jv, quiet, snapshot, clock, changes};
            ASSERT_EQ(CreateSeisekiDatabase(ctx), 0);

            // Only the day being written is asked for again: every file the
            // kill left is dated no later than the stamp it left.
            DatabaseInfo left;
            ASSERT_EQ(ReadDatabaseInfo(killed, left), 0);
            for (const auto& [path, bytes] : tree(killed)) {
                if (path == "databaseinfo") continue;
                EXPECT_LE(path.substr(5, 8), left.stamp.substr(0, 8)) << path;
            }
            ASSERT_EQ(build(killed), 0);
            EXPECT_EQ(jv->opens.back().fromTime, left.stamp);
            EXPECT_EQ(tree(killed), expected);
        }
    }
};

TEST_F(KillTest, SetUpKilledAtAnyTurnEndsWithTheFilesOfAnUninterruptedBuild) {
    killAtEveryTurn([](const fs::path&) {});
}

TEST_F(KillTest, LaterBuildKilledAtAnyTurnEndsWithTheFilesOfAnUninterruptedBuild) {
    // The database reaches to the end of the stream; a new weekend arrives,
    // with a race on the stamp's own day among its results.
    TempDir first;
    SeisekiBuildContext ctx{first.path(), session, *jv, ui, pump, clock, changes};
    ASSERT_EQ(CreateSeisekiDatabase(ctx), 0);
    writeStored("20090126160000", "SESW20090124",
                {seRecord('7', "2009011906010301", 1), seRecord('7', "2009012406020101", 1),
                 seRecord('7', "2009012406020101", 2), seRecord('7', "2009012506020201", 1)});
    pump = FakePump();
    killAtEveryTurn([&](const fs::path& to) {
        for (const auto& e : fs::directory_iterator(first.path()))
            fs::copy(e.path(), to / e.path().filename(), fs::copy_options::recursive);
    });
}

TEST_F(ResultsBuildTest, HalfWrittenDayIsWrittenAgainWhole) {
    const auto expected = reference();
    // Killed while writing Sunday: the resume point names it, one race file is
    // cut short in the middle of a record.
    ASSERT_EQ(build(), 0);
    ASSERT_EQ(WriteDatabaseInfo(data, "20090118000000", "N"), 0);
    const fs::path d1 = data / "2009" / kD1;
    const std::string whole = *ReadFileBytes(d1);
    ASSERT_TRUE(WriteFileBytes(d1, whole.substr(0, whole.size() / 2 + 7)));
    fs::remove(data / "2009" / kD2);
    ASSERT_EQ(build(), 0);
    EXPECT_EQ(tree(data), expected);
}

TEST_F(ResultsBuildTest, RepairedStateFileRebuildsWithoutDuplicates) {
    const auto expected = reference();
    ASSERT_EQ(build(), 0);
    ASSERT_TRUE(WriteFileBytes(data / "databaseinfo", "\"000000\",\"N\"\r\n"));
    ASSERT_EQ(build(), 0);
    EXPECT_EQ(jv->opens.back(), (OpenCall{"RACE", "20000105000000", 3}));
    EXPECT_EQ(tree(data), expected);
}

TEST_F(ResultsBuildTest, DownloadPhaseShowsItsTextFirst) {
    standin->options().simulateDownload = true;
    ASSERT_EQ(build(), 0);
    ASSERT_GE(ui.statuses.size(), 2u);
    EXPECT_EQ(ui.statuses[0], "成績情報をダウンロード中...");
    EXPECT_EQ(ui.statuses[1], "成績情報データベース (2000/01/05) を更新中...");
    EXPECT_EQ(tree(data), reference());
}

// ---- the command ----------------------------------------------------------

class RaceDataCommandTest : public ResultsBuildTest {
protected:
    RaceDataCommandTest() {
        app.folders = Folders::under(dir.path());
        sub = app.changes.subscribe([this](Change c) {
            if (c == Change::CommandStarted) heard.push_back("lock");
            if (c == Change::CommandFinished) heard.push_back("restore");
        });
    }
    RaceDataOutcome run() { return GetRaceData(app, session, ImportTools{*jv, ui, pump, clock}); }

    Application app;
    std::vector<std::string> heard;
    Subscription sub;
};

TEST_F(RaceDataCommandTest, AsksFirstWithNoPreselected) {
    ui.answers = {false};
    EXPECT_EQ(run(), RaceDataOutcome::Declined);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(
        ui.questions[0].text,
        "過去の成績情報をインポートしますか？\n成績情報は過去のレースをシミュレーションするために必要です。");
    EXPECT_EQ(ui.questions[0].icon, Icon::Warning);
    EXPECT_TRUE(ui.questions[0].defaultNo);
    EXPECT_TRUE(heard.empty());
    EXPECT_TRUE(ui.statuses.empty());
    EXPECT_TRUE(fs::is_empty(data));
}

TEST_F(RaceDataCommandTest, LocksTheWindowAndEndsWithItsStatusLine) {
    pump.requestCancel();  // left over from an earlier command: cleared at the start
    EXPECT_EQ(run(), RaceDataOutcome::Updated);
    EXPECT_EQ(heard, (std::vector<std::string>{"lock", "restore"}));
    EXPECT_EQ(ui.statuses.back(), "成績情報を更新しました。");
    EXPECT_EQ(infoBytes(), infoOf(kLastStamp, "N"));

    // Nothing newer to read: the component answers the open with "no data".
    ui = FakeUserInterface();
    EXPECT_EQ(run(), RaceDataOutcome::Aborted);
    EXPECT_EQ(ui.statuses.back(), "成績情報の更新を中止しました。");

    ui = FakeUserInterface();
    ASSERT_TRUE(WriteFileBytes(data / "databaseinfo", ""));
    ui.okCancelAnswers = {false};
    EXPECT_EQ(run(), RaceDataOutcome::Aborted);
    EXPECT_EQ(ui.statuses, (std::vector<std::string>{"成績情報の更新を中止しました。"}));
}

// A final result one byte too long (a line feed inside its horse name) is
// passed over and counted on the final line; the runners after it in its file
// are written.
TEST_F(RaceDataCommandTest, PassedOverResultsAreCountedOnTheStatusLine) {
    const std::string kE1 = "2009012406020101";
    std::string damaged = seRecord('7', kE1, 1);
    damaged.insert(50, "\n");
    writeStored("20090126160000", "SESW20090124", {raRecord(kE1), damaged, seRecord('7', kE1, 2)});
    EXPECT_EQ(run(), RaceDataOutcome::Updated);
    EXPECT_EQ(ui.statuses.back(), "成績情報を更新しました。 ( 不正なレコード 1 件を読み飛ばしました )");
    const SeisekiRaceFile file = ReadSeisekiRaceFile(data, kE1);
    ASSERT_EQ(file.status, SeisekiFileStatus::Read);
    ASSERT_EQ(file.runners.size(), 1u);
    EXPECT_EQ(file.runners[0], expectedRunner(2));
}

}  // namespace
}  // namespace veltrix::test
