#include "platform/paths.h"

#include <unistd.h>

#include <system_error>

namespace veltrix::platform {

std::filesystem::path ExecutableFolder() {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return self.parent_path();
}

std::string CurrentUserKey() { return std::to_string(::getuid()); }

}  // namespace veltrix::platform
