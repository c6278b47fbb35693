#include "store/cache_files.h"

#include <system_error>

namespace veltrix {

namespace {
// Only plain names reach the file system: race ids, dates with a mode letter.
bool isPlainName(const std::string& s) {
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
    return true;
}
}  // namespace

void DeleteCache(const Folders& folders, char kind, const std::string& raceId) {
    const std::string prefix = std::string("cache") + kind;
    std::error_code ec;
    if (raceId == "*") {
        for (std::filesystem::directory_iterator it(folders.cache, ec), end; !ec && it != end;
             it.increment(ec)) {
            std::error_code ignored;
            if (it->path().filename().string().starts_with(prefix) && !it->is_directory(ignored))
                std::filesystem::remove(it->path(), ignored);
        }
        return;
    }
    if (!isPlainName(raceId)) return;
    std::filesystem::remove(folders.cache / (prefix + raceId), ec);
}

}  // namespace veltrix
