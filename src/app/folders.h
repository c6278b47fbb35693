#pragma once
#include <filesystem>

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

}  // namespace veltrix
