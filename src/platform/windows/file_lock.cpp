#include "platform/file_lock.h"

#include <windows.h>

namespace veltrix::platform {

FileLock::~FileLock() { release(); }

FileLock::State FileLock::tryAcquire(const std::filesystem::path& lockFile) {
    if (held()) return State::Acquired;
    // Not inheritable: a program started from here must not keep the lock.
    HANDLE file = CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return State::Unavailable;
    OVERLAPPED at{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        const bool busy = GetLastError() == ERROR_LOCK_VIOLATION;
        CloseHandle(file);
        return busy ? State::HeldElsewhere : State::Unavailable;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return State::Acquired;
}

void FileLock::release() {
    if (!held()) return;
    // Closing the handle drops the lock; the file stays.
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = kNone;
}

}  // namespace veltrix::platform
