#include "platform/paths.h"

#include <lmcons.h>
#include <shlobj.h>

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

std::filesystem::path PerUserProgramFolder() {
    std::filesystem::path base;
    PWSTR known = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &known)) && known)
        base = std::filesystem::path(std::wstring(known));
    CoTaskMemFree(known);
    if (base.empty()) {
        // Older or stripped-down systems still set the variable.
        DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
        if (n > 1) {
            std::wstring value(n, L'\0');
            n = GetEnvironmentVariableW(L"LOCALAPPDATA", value.data(), n);
            value.resize(n);
            base = std::filesystem::path(value);
        }
    }
    if (!base.is_absolute()) return {};
    return base / L"VELTRIX";
}

}  // namespace veltrix::platform
