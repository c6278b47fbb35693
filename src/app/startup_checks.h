#pragma once
// The start-up rules that need no window: single instance, screen size,
// store folders, and the order of the start-up steps.
#include <filesystem>
#include <string>

#include "base/folders.h"
#include "base/host.h"
#include "platform/file_lock.h"

namespace veltrix {

inline constexpr const char* kResolutionMessage = "1024x768以上の解像度で起動してください。";
inline constexpr int kMinScreenWidth = 1024;
inline constexpr int kMinScreenHeight = 768;
inline constexpr const char* kLockFileName = "VELTRIX.lock";

// The smallest screen the windows are laid out for is 1024 x 768 pixels.
bool ScreenLargeEnough(int widthPixels, int heightPixels);

// Creates "cache" and "data" when missing; existing folders are left as they
// are. Returns true on failure (a folder cannot be created, or the name is
// taken by something that is not a folder), with *reason, when given, naming it.
bool CreateStoreFolders(const Folders& folders, std::string* reason = nullptr);

// The message of a start-up that ends on a failed step, with the step's reason.
inline constexpr const char* kStartupFailedMessage = "VELTRIX を起動できません。";
std::string StartupFailureMessage(const std::string& reason);

// One running copy per program folder: a lock on kLockFileName there, which
// the operating system drops when the process ends in any way.
using InstanceLock = platform::FileLock;

// The steps of the start-up, in the order they run. Routines return true on failure.
class StartupSteps {
public:
    virtual ~StartupSteps() = default;
    virtual bool anotherCopyRunning() = 0;
    virtual void screenSize(int& width, int& height) = 0;
    virtual void showSplash() = 0;
    // The two steps that can fail on the program folder say why in reason.
    virtual bool prepareFolders(std::string& reason) = 0;
    virtual void processEvents() = 0;
    virtual bool readSettings(std::string& reason) = 0;
    virtual bool showMainWindow() = 0;
    virtual void closeSplash() = 0;
};

enum class StartupResult {
    Running,         // the main window is shown; the event loop takes over
    AnotherCopy,     // ended silently
    ScreenTooSmall,  // the resolution message was shown
    Failed,          // ended; the caller runs ShutDown
};

// Runs the start-up steps. The screen check and a failed folder or settings
// step talk to the user (one message, the step's reason); a second copy and a
// main window that failed (it showed its own message) end silently.
StartupResult RunStartup(StartupSteps& steps, UserInterface& ui);

}  // namespace veltrix
