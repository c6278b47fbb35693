#pragma once
// Where the running program is, and for whom.
#include <filesystem>
#include <string>

namespace veltrix::platform {

// The folder of the running executable; empty when the system cannot say.
std::filesystem::path ExecutableFolder();
// A short name of the user running the program, the same for all of the
// user's processes (the user id on Linux, the user name on Windows).
std::string CurrentUserKey();
// The folder where an installed copy keeps this user's settings and store:
// $XDG_DATA_HOME/veltrix (default ~/.local/share/veltrix) on Linux,
// %LOCALAPPDATA%\VELTRIX on Windows. Empty when the system names no such place.
std::filesystem::path PerUserProgramFolder();

}  // namespace veltrix::platform
