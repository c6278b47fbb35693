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

}  // namespace veltrix::platform
