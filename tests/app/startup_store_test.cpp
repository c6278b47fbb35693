#include "app/startup.h"
#include "app/startup_checks.h"

#include <gtest/gtest.h>

#include "jvlink/standin/standin_jvlink.h"
#include "store/weekly_store.h"
#include "support/fake_host.h"

namespace veltrix {
namespace {

namespace fs = std::filesystem;

void writeWeek(const Folders& f, const std::string& mode) {
    test::WriteCp932(f.cache / kCache1,
                     "\"0\",1,\"" + mode +
                         "\"\r\n\"1\",\"2009011706010111\",\"16\",\"13\",\"999\",\"11\",\"" +
                         "2009/01/17 中山 11R 15:25 芝1600 ニューイヤーＳ" + std::string(80, ' ') +
                         "2009011706010111\"\r\n");
    test::WriteCp932(f.cache / kCache2, "\"0\",0\r\n");
    test::WriteCp932(f.cache / kCache3, "\"0\",0\r\n");
}

TEST(Startup, FoldersThenSettings) {
    test::TempDir dir;
    Application app;
    std::string reason;
    EXPECT_TRUE(PrepareApplication(app, dir.path(), reason));  // no settings file
    EXPECT_NE(reason.find("VELTRIX.ctx"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(dir.path() / "cache"));
    EXPECT_TRUE(fs::is_directory(dir.path() / "data"));

    test::WriteCp932(dir.path() / "VELTRIX.ctx", "[TuneInfo]\r\nKikan=300\r\n");
    EXPECT_FALSE(PrepareApplication(app, dir.path(), reason)) << reason;
    EXPECT_EQ(app.settings.Kikan, 300);
    EXPECT_EQ(app.folders.cache, dir.path() / "cache");

    test::WriteCp932(dir.path() / "blocked", "x");
    // A file where a folder should be: the reason names it.
    EXPECT_TRUE(CreateStoreFolders(Folders::under(dir.path() / "blocked")));
    fs::remove_all(dir.path() / "cache");
    test::WriteCp932(dir.path() / "cache", "x");
    EXPECT_TRUE(PrepareApplication(app, dir.path(), reason));
    EXPECT_EQ(reason, "「" + (dir.path() / "cache").string() +
                          "」がフォルダではありません（同じ名前のファイルがあります）。");
}

// What the windows hear of the load.
struct Heard {
    explicit Heard(ChangeNotifier& changes)
        : subscription(changes.subscribe([this](Change c) {
              if (c == Change::RaceCardReset) calls.push_back("reset");
              if (c == Change::StoreReplaced) calls.push_back("store");
          })) {}
    std::vector<std::string> calls;
    Subscription subscription;
};

class StoreLoadTest : public ::testing::Test {
protected:
    StoreLoadTest() {
        app.folders = Folders::under(dir.path());
        EXPECT_FALSE(CreateStoreFolders(app.folders));
    }
    StoreLoad load(JVLink* jv = nullptr) { return LoadStoreAtStartup(app, jv, ui, pump); }

    test::TempDir dir;
    Application app;
    test::FakeUserInterface ui;
    test::FakePump pump;
    Heard heard{app.changes};
};

TEST_F(StoreLoadTest, JVLinkFailureShowsTheMessageAndReadsNothing) {
    writeWeek(app.folders, "KONSYU");
    StandinOptions options;
    options.faults.initResult = -1;
    StandinJVLink jv(StandinFolder(dir.path()), options);
    const StoreLoad r = load(&jv);
    EXPECT_TRUE(r.jvlinkFailed);
    EXPECT_FALSE(r.storeRead);
    EXPECT_EQ(app.store.RaceCount, 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "JV-Linkの初期化に失敗しました。");
    EXPECT_EQ(ui.messages[0].icon, Icon::Warning);
    EXPECT_TRUE(heard.calls.empty());

    StandinJVLink ready(StandinFolder(dir.path()));
    EXPECT_TRUE(load(&ready).storeRead);
    EXPECT_TRUE(ui.messages.size() == 1u);
}

TEST_F(StoreLoadTest, StoreIsLoadedOnlyWhenAllThreeFilesExist) {
    StoreLoad r = load();  // nothing to load
    EXPECT_FALSE(r.weekPresent);
    EXPECT_FALSE(r.storeRead);
    EXPECT_EQ(app.store.RaceCount, 0);

    writeWeek(app.folders, "KONSYU");
    fs::remove(app.folders.cache / kCache3);
    r = load();
    EXPECT_FALSE(r.storeRead);
    EXPECT_EQ(app.store.RaceCount, 0);
    EXPECT_TRUE(fs::exists(app.folders.cache / kCache1));  // an incomplete week is not touched

    writeWeek(app.folders, "KONSYU");
    r = load();
    EXPECT_TRUE(r.storeRead);
    EXPECT_EQ(app.store.DataMode, "KONSYU");
    EXPECT_EQ(app.store.RaceCount, 1);
    EXPECT_TRUE(ui.messages.empty());

    writeWeek(app.folders, "WEEKLY");
    r = load();
    EXPECT_TRUE(r.weekPresent);
    EXPECT_FALSE(r.storeRead);  // the analysis-file import is not offered
    EXPECT_EQ(app.store.RaceCount, 0);
    EXPECT_FALSE(fs::exists(app.folders.cache / kCache1));
    EXPECT_EQ(heard.calls, (std::vector<std::string>{"store", "store", "store", "store"}));
}

// The store rule deletes a damaged file with its data; the user is told which
// file it was and what to do, once, after the race list has been emptied.
TEST_F(StoreLoadTest, DamagedWeeklyFileIsDeletedAndTheUserTold) {
    writeWeek(app.folders, "KONSYU");
    test::WriteCp932(app.folders.cache / kCache2, "\"0\",2\r\n\"only one runner\"\r\n");
    const StoreLoad r = load();
    EXPECT_FALSE(r.storeRead);
    EXPECT_EQ(app.store.RaceCount, 0);
    for (const char* name : {kCache1, kCache2, kCache3}) EXPECT_FALSE(fs::exists(app.folders.cache / name));
    const std::string expected =
        "レース情報のファイル「" + (app.folders.cache / kCache2).string() +
        "」が壊れていたため、レース情報を削除しました。レース情報を再度インポートしてください。";
    EXPECT_EQ(r.damagedMessage, expected);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, expected);
    EXPECT_EQ(ui.messages[0].icon, Icon::Warning);

    // The next start finds nothing and says nothing.
    EXPECT_TRUE(load().damagedMessage.empty());
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(StoreLoadTest, DamagedAnalysisFileEmptiesTheStoreAndResetsTheRaceCard) {
    writeWeek(app.folders, "KONSYU");
    test::WriteCp932(app.folders.cache / "cachea20090117r", "0,TOKEN\r\n");
    app.raceCard.lblRace = "shown";
    const StoreLoad r = load();
    EXPECT_TRUE(r.storeRead);
    EXPECT_TRUE(r.merged.failed);
    EXPECT_EQ(app.store.RaceCount, 0);
    EXPECT_TRUE(app.raceCard.lblRace.empty());
    EXPECT_FALSE(fs::exists(app.folders.cache / "cachea20090117r"));
    EXPECT_EQ(heard.calls, (std::vector<std::string>{"reset", "store"}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "分析ファイル「" + (app.folders.cache / "cachea20090117r").string() +
                  "」が壊れていたため削除しました。分析ファイルを再度インポートしてください。");
}

TEST_F(StoreLoadTest, DamagedConditionFileNamesItself) {
    writeWeek(app.folders, "KONSYU");
    test::WriteCp932(app.folders.cache / "cachea00000000p", "not a count\r\n");
    const StoreLoad r = load();
    EXPECT_TRUE(r.merged.failed);
    EXPECT_EQ(app.store.RaceCount, 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find((app.folders.cache / "cachea00000000p").string()), std::string::npos);
    EXPECT_NE(ui.messages[0].text.find("分析ファイルを再度インポートしてください。"), std::string::npos);

    // The command line is told the same through StartApplication's result.
    test::WriteCp932(dir.path() / "VELTRIX.ctx", "[TuneInfo]\r\n");
    test::WriteCp932(app.folders.cache / "cachea00000000p", "not a count\r\n");
    Application other;
    StoreLoad cli;
    std::string reason;
    ASSERT_FALSE(StartApplication(other, dir.path(), cli, reason)) << reason;
    EXPECT_EQ(cli.damagedMessage, ui.messages[0].text);
}

TEST(Startup, StartApplicationIsFoldersSettingsAndStore) {
    test::TempDir dir;
    Application app;
    StoreLoad load;
    std::string reason;
    EXPECT_TRUE(StartApplication(app, dir.path(), load, reason));  // no settings file
    EXPECT_NE(reason.find("VELTRIX.ctx"), std::string::npos);
    EXPECT_FALSE(StartApplication(app, dir.path(), load, reason, false)) << reason;

    test::WriteCp932(dir.path() / "VELTRIX.ctx", "[TuneInfo]\r\nKikan=300\r\n");
    writeWeek(Folders::under(dir.path()), "TOKUBETSU");
    EXPECT_FALSE(StartApplication(app, dir.path(), load, reason)) << reason;
    EXPECT_EQ(app.settings.Kikan, 300);
    EXPECT_TRUE(load.storeRead);
    EXPECT_EQ(app.store.DataMode, "TOKUBETSU");
}

}  // namespace
}  // namespace veltrix
