#pragma once
// What the main window does with the core when it loads: connect to JV-Link,
// read the weekly files, merge the analysis files. The window only renders
// the outcome (menus, mark items, sheets).
#include <functional>

#include "app/application.h"
#include "app/host.h"

namespace veltrix {

inline constexpr const char* kJVLinkInitFailedMessage = "JV-Linkの初期化に失敗しました。";

// The routines the load calls, passed in so that each can be the real core
// routine in the program and a scripted one in a test.
struct MainWindowServices {
    // JV-Link initialisation with the software id: 0 = ready.
    std::function<int(Application&)> initJVLink;
    // Reads the weekly files into the store: true on failure.
    std::function<bool(Application&)> loadRaceCache;
    // Reads the condition and analysis files into the store: true on failure.
    std::function<bool(Application&)> mergeAnalysisFiles;
};

struct MainWindowLoadResult {
    bool jvlinkFailed = false;  // the message was shown; the window closes
    bool storeRead = false;     // the weekly files were read: the analysis-file import is offered
};

// True when all three weekly files are in the cache folder.
bool WeeklyFilesPresent(const Folders& folders);

MainWindowLoadResult LoadMainWindowData(Application& app, const MainWindowServices& services,
                                        UserInterface& ui);

}  // namespace veltrix
