#pragma once
// An exclusive lock on a file that the operating system drops when the process
// ends in any way, so a file left behind by a crashed process never blocks.
#include <cstdint>
#include <filesystem>

namespace veltrix::platform {

class FileLock {
public:
    enum class State {
        Acquired,       // this object holds the lock
        HeldElsewhere,  // another process holds it
        Unavailable,    // the file cannot be opened; nothing is known
    };

    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Never waits. A program started from here does not inherit the lock.
    State tryAcquire(const std::filesystem::path& lockFile);
    void release();  // the file stays
    bool held() const { return handle_ != kNone; }

private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t handle_ = kNone;  // a descriptor or a HANDLE
};

}  // namespace veltrix::platform
