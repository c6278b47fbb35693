#include "app/startup_checks.h"

#include <exception>

namespace veltrix {

bool ScreenLargeEnough(int widthPixels, int heightPixels) {
    return widthPixels >= kMinScreenWidth && heightPixels >= kMinScreenHeight;
}

bool CreateStoreFolders(const Folders& folders, std::string* reason) {
    auto fail = [reason](std::string text) {
        if (reason) *reason = std::move(text);
        return true;
    };
    for (const auto* folder : {&folders.cache, &folders.data}) {
        std::error_code ec;
        if (FileExists(*folder)) {
            // A file of that name would make every later store write fail.
            if (!std::filesystem::is_directory(*folder, ec))
                return fail("「" + folder->string() +
                            "」がフォルダではありません（同じ名前のファイルがあります）。");
            continue;
        }
        if (!std::filesystem::create_directory(*folder, ec) || ec)
            return fail("フォルダ「" + folder->string() + "」を作成できません。");
    }
    return false;
}

std::string StartupFailureMessage(const std::string& reason) {
    std::string text = kStartupFailedMessage;
    text += '\n';
    text += reason;
    return text;
}

StartupResult RunStartup(StartupSteps& steps, UserInterface& ui) {
    if (steps.anotherCopyRunning()) return StartupResult::AnotherCopy;
    try {
        int width = 0;
        int height = 0;
        steps.screenSize(width, height);
        if (!ScreenLargeEnough(width, height)) {
            ui.showMessage(kResolutionMessage, Icon::Warning);
            return StartupResult::ScreenTooSmall;
        }
        steps.showSplash();
        // Ending with nothing on screen would leave the user no clue; say why once.
        std::string reason;
        bool failed = steps.prepareFolders(reason);
        if (!failed) {
            steps.processEvents();  // lets the splash window paint
            failed = steps.readSettings(reason);
        }
        if (failed) {
            ui.showMessage(StartupFailureMessage(reason), Icon::Warning);
            return StartupResult::Failed;
        }
        if (steps.showMainWindow()) return StartupResult::Failed;
        steps.closeSplash();
        return StartupResult::Running;
    } catch (const std::exception&) {
        return StartupResult::Failed;
    }
}

}  // namespace veltrix
