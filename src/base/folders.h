#pragma once
#include <filesystem>
#include <system_error>

namespace veltrix {

// The program folder (where the executable lives) and the store folders below it.
struct Folders {
    std::filesystem::path program;
    std::filesystem::path cache;  // CacheFolder
    std::filesystem::path data;   // DataFolder

    static Folders under(const std::filesystem::path& programFolder) {
        return {programFolder, programFolder / "cache", programFolder / "data"};
    }
};

// True when the file or folder exists; never opens it.
inline bool FileExists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace veltrix
