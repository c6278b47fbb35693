#pragma once
// What the window tests share: the folder of their screenshots and a program
// folder holding a small generated week, imported as the import window does.
#include <QString>
#include <cstdint>
#include <filesystem>
#include <string>

namespace veltrix {
struct Application;
}

namespace veltrix::test {

// The folder screenshots go to (VELTRIX_SCREENSHOT_DIR, from the environment
// or the build), made when missing.
QString ScreenshotDir();

// A small generated world of one week (no results years) written to folder and
// its week imported. Empty on success, else the reason.
std::string MakeSampleProgramFolder(const std::filesystem::path& folder, std::uint32_t seed = 1);

// The start-up load of the program folder, as the main window does it. Empty
// on success, else the reason.
std::string StartOn(Application& app, const std::filesystem::path& folder);

}  // namespace veltrix::test
