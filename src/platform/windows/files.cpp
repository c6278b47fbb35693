#include "platform/files.h"

#include "platform/windows/wide.h"

// <windows.h> has a ReplaceFile of its own, a macro for ReplaceFileW, which
// would rename the definition below away from the declaration.
#undef ReplaceFile

namespace veltrix::platform {

bool WriteDurably(const std::filesystem::path& path, std::string_view bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (ok && left > 0) {
        const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        ok = WriteFile(file, p, chunk, &written, nullptr) && written > 0;
        p += written;
        left -= written;
    }
    if (ok && !FlushFileBuffers(file)) ok = false;
    if (!CloseHandle(file)) ok = false;
    return ok;
}

bool ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace veltrix::platform
