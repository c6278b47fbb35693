#include "app/main_window_load.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "store/weekly_store.h"
#include "support/fake_host.h"

namespace veltrix {
namespace {

using test::FakeUserInterface;
using test::TempDir;

struct Recorder {
    std::vector<std::string> calls;
    int jvlinkCode = 0;
    bool loadFails = false;

    MainWindowServices services() {
        return {
            [this](Application&) {
                calls.push_back("jvlink");
                return jvlinkCode;
            },
            [this](Application&) {
                calls.push_back("store");
                return loadFails;
            },
            [this](Application&) {
                calls.push_back("analysis");
                return false;
            },
        };
    }
};

class MainWindowLoad : public ::testing::Test {
protected:
    void SetUp() override {
        app.folders = Folders::under(dir.path());
        std::filesystem::create_directory(app.folders.cache);
    }
    void writeWeeklyFiles(int count) {
        const char* names[] = {kCache1, kCache2, kCache3};
        for (int i = 0; i < count; ++i) std::ofstream(app.folders.cache / names[i]) << "x";
    }
    TempDir dir;
    Application app;
    FakeUserInterface ui;
    Recorder rec;
};

TEST_F(MainWindowLoad, JVLinkFailureShowsTheMessageAndReadsNothing) {
    writeWeeklyFiles(3);
    rec.jvlinkCode = -1;
    auto r = LoadMainWindowData(app, rec.services(), ui);
    EXPECT_TRUE(r.jvlinkFailed);
    EXPECT_FALSE(r.storeRead);
    EXPECT_EQ(rec.calls, std::vector<std::string>{"jvlink"});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "JV-Linkの初期化に失敗しました。");
    EXPECT_EQ(ui.messages[0].icon, Icon::Warning);
}

TEST_F(MainWindowLoad, StoreIsReadOnlyWhenAllThreeWeeklyFilesExist) {
    writeWeeklyFiles(2);
    auto r = LoadMainWindowData(app, rec.services(), ui);
    EXPECT_FALSE(r.jvlinkFailed);
    EXPECT_FALSE(r.storeRead);
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"jvlink", "analysis"}));

    writeWeeklyFiles(3);
    rec.calls.clear();
    r = LoadMainWindowData(app, rec.services(), ui);
    EXPECT_TRUE(r.storeRead);
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"jvlink", "store", "analysis"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainWindowLoad, UnreadableStoreLeavesTheImportOff) {
    writeWeeklyFiles(3);
    rec.loadFails = true;
    auto r = LoadMainWindowData(app, rec.services(), ui);
    EXPECT_FALSE(r.jvlinkFailed);
    EXPECT_FALSE(r.storeRead);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainWindowLoad, UnexpectedErrorEndsTheLoadQuietly) {
    auto services = rec.services();
    services.mergeAnalysisFiles = [](Application&) -> bool { throw std::runtime_error("broken"); };
    writeWeeklyFiles(3);
    auto r = LoadMainWindowData(app, services, ui);
    EXPECT_FALSE(r.jvlinkFailed);
    EXPECT_TRUE(r.storeRead);
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace veltrix
