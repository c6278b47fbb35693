#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace veltrix::platform {

FileLock::~FileLock() { release(); }

FileLock::State FileLock::tryAcquire(const std::filesystem::path& lockFile) {
    if (held()) return State::Acquired;
    // O_CLOEXEC: a program started from here (a browser for the guide) must not
    // inherit the descriptor and keep the lock after this copy has ended.
    int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return State::Unavailable;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? State::HeldElsewhere : State::Unavailable;
    }
    handle_ = fd;
    return State::Acquired;
}

void FileLock::release() {
    if (!held()) return;
    ::close(static_cast<int>(handle_));  // closing the last descriptor drops the lock
    handle_ = kNone;
}

}  // namespace veltrix::platform
