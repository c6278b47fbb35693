#include "platform/paths.h"

#include <lmcons.h>

#include "platform/windows/wide.h"

namespace veltrix::platform {

std::filesystem::path ExecutableFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    while (true) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    return std::filesystem::path(buffer).parent_path();
}

std::string CurrentUserKey() {
    wchar_t name[UNLEN + 1];
    DWORD size = UNLEN + 1;
    if (!GetUserNameW(name, &size)) return "user";
    return Narrow(std::wstring_view(name, size > 0 ? size - 1 : 0));
}

}  // namespace veltrix::platform
