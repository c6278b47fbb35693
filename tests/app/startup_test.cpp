#include "app/startup.h"

#include <gtest/gtest.h>

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
    EXPECT_TRUE(EnsureFolders(Folders::under(dir.path() / "blocked")));  // a file where a folder should be
}

TEST(Startup, StoreIsLoadedOnlyWhenAllThreeFilesExist) {
    test::TempDir dir;
    Application app;
    app.folders = Folders::under(dir.path());
    ASSERT_FALSE(EnsureFolders(app.folders));
    EXPECT_EQ(LoadStoreAtStartup(app), 0);  // nothing to load
    EXPECT_EQ(app.store.RaceCount, 0);

    writeWeek(app.folders, "KONSYU");
    fs::remove(app.folders.cache / kCache3);
    EXPECT_EQ(LoadStoreAtStartup(app), 0);
    EXPECT_EQ(app.store.RaceCount, 0);
    EXPECT_TRUE(fs::exists(app.folders.cache / kCache1));  // an incomplete week is not touched

    writeWeek(app.folders, "KONSYU");
    EXPECT_EQ(LoadStoreAtStartup(app), 0);
    EXPECT_EQ(app.store.DataMode, "KONSYU");
    EXPECT_EQ(app.store.RaceCount, 1);

    writeWeek(app.folders, "WEEKLY");
    EXPECT_EQ(LoadStoreAtStartup(app), -1);
    EXPECT_EQ(app.store.RaceCount, 0);
    EXPECT_FALSE(fs::exists(app.folders.cache / kCache1));
}

}  // namespace
}  // namespace veltrix
