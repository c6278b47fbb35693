#include "platform/desktop.h"

#include <windows.h>
#include <shellapi.h>

namespace veltrix::platform {

bool OpenWithDesktop(const std::filesystem::path& file) {
    // Values above 32 mean the program associated with the file was started.
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

}  // namespace veltrix::platform
