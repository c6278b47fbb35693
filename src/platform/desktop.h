#pragma once
// Hands a file to the program the desktop opens it with.
#include <filesystem>

namespace veltrix::platform {

// true when the opener started; does not wait for it. No shell reads the name.
bool OpenWithDesktop(const std::filesystem::path& file);

}  // namespace veltrix::platform
