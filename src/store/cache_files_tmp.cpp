#include <filesystem>
#include <string>
#include <system_error>

#include "store/cache_files.h"

namespace veltrix {
namespace {

bool isRaceId(const std::string& raceId) {
    if (raceId.size() != 16) return false;
    for (char c : raceId)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

void DeleteCache(const Folders& folders, char kind, const std::string& raceId) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const std::string prefix = std::string("cache") + kind;
    if (raceId == "*") {
        fs::directory_iterator it(folders.cache, ec), end;
        for (; !ec && it != end; it.increment(ec)) {
            std::string name = it->path().filename().string();
            if (name.rfind(prefix, 0) == 0) {
                std::error_code ignored;
                fs::remove(it->path(), ignored);
            }
        }
        return;
    }
    // Anything but a race id would name some other file, or a path outside the folder.
    if (!isRaceId(raceId)) return;
    fs::remove(folders.cache / (prefix + raceId), ec);
}

}  // namespace veltrix
