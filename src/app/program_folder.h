#pragma once
// Which folder is the program folder: the executable's own (a portable copy)
// or the user's per-user folder (an installed copy, whose executable folder the
// user cannot write). The windows and veltrix-cli start from the same rule.
#include <filesystem>
#include <string>

namespace veltrix {

// Beside an installed executable: <prefix>/bin/veltrix and <prefix>/share/veltrix.
std::filesystem::path ShippedDataFolder(const std::filesystem::path& executableFolder);

struct ProgramFolderChoice {
    std::filesystem::path folder;
    bool portable = false;  // the executable's folder holds "VELTRIX.ctx"
    // The default settings file copied into a new per-user folder.
    std::filesystem::path shippedSettings;
};

// The executable's folder when it holds "VELTRIX.ctx"; otherwise the per-user
// folder. Without a per-user folder (the system names none) the executable's
// folder, as a portable copy would have it.
ProgramFolderChoice ChooseProgramFolder(const std::filesystem::path& executableFolder,
                                        const std::filesystem::path& perUserFolder);
// The same for the running executable and user.
ProgramFolderChoice ChooseProgramFolder();

// Makes a chosen per-user folder usable: creates it when missing and, when it
// holds no "VELTRIX.ctx", copies the shipped one in. A portable folder is left
// as it is. Returns true on failure with a one-line reason; firstStart tells
// whether the settings were copied now.
bool PrepareProgramFolder(const ProgramFolderChoice& choice, bool& firstStart, std::string& reason);

// The one line that tells, on first start, where the settings and data live.
std::string FirstStartMessage(const std::filesystem::path& folder);

// The user guide "help/Guide01.html": in the program folder, beside the
// executable, or in the installed data folder, the first that has it. When
// none has it, the program folder's (which the failure message then names).
std::filesystem::path UserGuideFile(const std::filesystem::path& programFolder,
                                    const std::filesystem::path& executableFolder);
std::filesystem::path UserGuideFile(const std::filesystem::path& programFolder);

}  // namespace veltrix
