#include "platform/paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace veltrix::platform {

std::filesystem::path ExecutableFolder() {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return self.parent_path();
}

std::string CurrentUserKey() { return std::to_string(::getuid()); }

std::filesystem::path PerUserProgramFolder() {
    // The base directory rules: a relative XDG_DATA_HOME is to be ignored.
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) {
        const std::filesystem::path base(data);
        if (base.is_absolute()) return base / "veltrix";
    }
    std::filesystem::path home;
    if (const char* h = std::getenv("HOME"); h && *h) {
        home = h;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir) {
        home = pw->pw_dir;
    }
    if (!home.is_absolute()) return {};
    return home / ".local" / "share" / "veltrix";
}

}  // namespace veltrix::platform
