#include "platform/desktop.h"

#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <thread>

extern char** environ;

namespace veltrix::platform {

bool OpenWithDesktop(const std::filesystem::path& file) {
    std::string target = file.string();
    char prog[] = "xdg-open";
    char* argv[] = {prog, target.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0) return false;
    // Reap the helper without blocking the user-interface thread.
    std::thread([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
    return true;
}

}  // namespace veltrix::platform
