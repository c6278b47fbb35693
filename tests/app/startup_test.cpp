#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/startup_checks.h"
#include "support/fake_host.h"

namespace veltrix {
namespace {

using test::FakeUserInterface;
using test::TempDir;
using State = InstanceLock::State;

TEST(StartupScreen, SmallestAcceptedScreenIs1024x768) {
    EXPECT_TRUE(ScreenLargeEnough(1024, 768));
    EXPECT_TRUE(ScreenLargeEnough(1280, 1024));
    EXPECT_FALSE(ScreenLargeEnough(1023, 768));
    EXPECT_FALSE(ScreenLargeEnough(1024, 767));
    EXPECT_FALSE(ScreenLargeEnough(800, 600));
    EXPECT_FALSE(ScreenLargeEnough(0, 0));
    // A tall narrow screen is still too narrow.
    EXPECT_FALSE(ScreenLargeEnough(768, 1024));
}

TEST(InstanceLockTest, SecondLockIsRefusedUntilTheFirstIsReleased) {
    TempDir dir;
    auto file = dir.path() / kLockFileName;
    InstanceLock first;
    InstanceLock second;
    ASSERT_EQ(first.tryAcquire(file), State::Acquired);
    EXPECT_EQ(second.tryAcquire(file), State::HeldElsewhere);
    EXPECT_FALSE(second.held());
    first.release();
    EXPECT_EQ(second.tryAcquire(file), State::Acquired);
    EXPECT_EQ(first.tryAcquire(file), State::HeldElsewhere);
}

TEST(InstanceLockTest, FileLeftBehindDoesNotBlock) {
    TempDir dir;
    auto file = dir.path() / kLockFileName;
    std::ofstream(file) << "12345\n";  // what a crashed copy could leave
    InstanceLock lock;
    EXPECT_EQ(lock.tryAcquire(file), State::Acquired);
    {
        InstanceLock scoped;
        EXPECT_EQ(scoped.tryAcquire(file), State::HeldElsewhere);
    }
    lock.release();
    EXPECT_TRUE(FileExists(file));
    InstanceLock again;
    EXPECT_EQ(again.tryAcquire(file), State::Acquired);
}

TEST(InstanceLockTest, MissingFolderGivesUnavailable) {
    TempDir dir;
    InstanceLock lock;
    EXPECT_EQ(lock.tryAcquire(dir.path() / "no such folder" / kLockFileName), State::Unavailable);
    EXPECT_FALSE(lock.held());
}

TEST(StoreFolders, CreatesMissingAndLeavesExistingUntouched) {
    TempDir dir;
    auto folders = Folders::under(dir.path());
    EXPECT_FALSE(CreateStoreFolders(folders));
    EXPECT_TRUE(std::filesystem::is_directory(folders.cache));
    EXPECT_TRUE(std::filesystem::is_directory(folders.data));

    // Second start: what is inside stays exactly as it was.
    std::ofstream(folders.cache / "cache1xxxxxxxx") << "\"KONSYU\"\r\n";
    std::filesystem::create_directory(folders.data / "2024");
    auto stamp = std::filesystem::last_write_time(folders.cache / "cache1xxxxxxxx");
    EXPECT_FALSE(CreateStoreFolders(folders));
    std::ifstream in(folders.cache / "cache1xxxxxxxx");
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "\"KONSYU\"\r");
    EXPECT_EQ(std::filesystem::last_write_time(folders.cache / "cache1xxxxxxxx"), stamp);
    EXPECT_TRUE(std::filesystem::is_directory(folders.data / "2024"));
}

TEST(StoreFolders, FailsWhenTheFolderCannotBeMade) {
    TempDir dir;
    // A file where the folder should be.
    std::ofstream(dir.path() / "cache") << "x";
    EXPECT_TRUE(CreateStoreFolders(Folders::under(dir.path())));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.path() / "cache"));
    // A program folder that does not exist.
    EXPECT_TRUE(CreateStoreFolders(Folders::under(dir.path() / "missing")));
}

TEST(FileExistsTest, FilesAndFoldersButNothingElse) {
    TempDir dir;
    std::ofstream(dir.path() / "a file") << "x";
    EXPECT_TRUE(FileExists(dir.path()));
    EXPECT_TRUE(FileExists(dir.path() / "a file"));
    EXPECT_FALSE(FileExists(dir.path() / "none"));
    EXPECT_FALSE(FileExists(dir.path() / "a file" / "below a file"));
    EXPECT_FALSE(FileExists(""));
}

// Records the steps in order and fails where told.
class RecordingSteps : public StartupSteps {
public:
    std::vector<std::string> log;
    bool running = false;
    int width = 1280;
    int height = 1024;
    bool failFolders = false;
    bool failSettings = false;
    bool failMainWindow = false;
    bool throwInSettings = false;

    bool anotherCopyRunning() override {
        log.push_back("lock");
        return running;
    }
    void screenSize(int& w, int& h) override {
        log.push_back("screen");
        w = width;
        h = height;
    }
    void showSplash() override { log.push_back("splash"); }
    bool prepareFolders(std::string& reason) override {
        log.push_back("folders");
        if (failFolders) reason = "folder reason";
        return failFolders;
    }
    void processEvents() override { log.push_back("events"); }
    bool readSettings(std::string& reason) override {
        log.push_back("settings");
        if (throwInSettings) throw std::runtime_error("unexpected");
        if (failSettings) reason = "settings reason";
        return failSettings;
    }
    bool showMainWindow() override {
        log.push_back("main");
        return failMainWindow;
    }
    void closeSplash() override { log.push_back("close splash"); }
};

using Log = std::vector<std::string>;

TEST(RunStartupTest, StepsRunInOrderAndSilently) {
    RecordingSteps steps;
    FakeUserInterface ui;
    EXPECT_EQ(RunStartup(steps, ui), StartupResult::Running);
    EXPECT_EQ(steps.log,
              (Log{"lock", "screen", "splash", "folders", "events", "settings", "main", "close splash"}));
    EXPECT_TRUE(ui.messages.empty());

    RecordingSteps exact;
    exact.width = 1024;
    exact.height = 768;
    EXPECT_EQ(RunStartup(exact, ui), StartupResult::Running);
}

TEST(RunStartupTest, SecondCopyEndsBeforeAnythingElse) {
    RecordingSteps steps;
    steps.running = true;
    steps.width = 640;  // not even the screen is looked at
    FakeUserInterface ui;
    EXPECT_EQ(RunStartup(steps, ui), StartupResult::AnotherCopy);
    EXPECT_EQ(steps.log, (Log{"lock"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST(RunStartupTest, SmallScreenShowsTheMessageAndNothingElse) {
    RecordingSteps steps;
    steps.width = 1280;
    steps.height = 767;
    FakeUserInterface ui;
    EXPECT_EQ(RunStartup(steps, ui), StartupResult::ScreenTooSmall);
    EXPECT_EQ(steps.log, (Log{"lock", "screen"}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "1024x768以上の解像度で起動してください。");
    EXPECT_EQ(ui.messages[0].icon, Icon::Warning);
}

// A failed folder or settings step says why in one warning; the main window's
// failure (it showed its own message) and an unexpected error end silently.
TEST(RunStartupTest, FailuresEndWhereTheyHappen) {
    RecordingSteps folders;
    folders.failFolders = true;
    FakeUserInterface folderUi;
    EXPECT_EQ(RunStartup(folders, folderUi), StartupResult::Failed);
    EXPECT_EQ(folders.log.back(), "folders");
    ASSERT_EQ(folderUi.messages.size(), 1u);
    EXPECT_EQ(folderUi.messages[0].text, "VELTRIX を起動できません。\nfolder reason");
    EXPECT_EQ(folderUi.messages[0].icon, Icon::Warning);

    RecordingSteps settings;
    settings.failSettings = true;
    FakeUserInterface settingsUi;
    EXPECT_EQ(RunStartup(settings, settingsUi), StartupResult::Failed);
    EXPECT_EQ(settings.log.back(), "settings");
    ASSERT_EQ(settingsUi.messages.size(), 1u);
    EXPECT_EQ(settingsUi.messages[0].text, "VELTRIX を起動できません。\nsettings reason");

    FakeUserInterface ui;
    RecordingSteps thrown;
    thrown.throwInSettings = true;
    EXPECT_EQ(RunStartup(thrown, ui), StartupResult::Failed);
    EXPECT_EQ(thrown.log.back(), "settings");

    RecordingSteps main;
    main.failMainWindow = true;
    EXPECT_EQ(RunStartup(main, ui), StartupResult::Failed);
    EXPECT_EQ(main.log.back(), "main");

    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace veltrix
