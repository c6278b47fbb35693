#include "app/program_folder.h"

#include <system_error>

#include "base/encoding.h"
#include "base/folders.h"
#include "platform/paths.h"
#include "store/settings.h"

namespace veltrix {

namespace {

bool isFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::filesystem::path guideIn(const std::filesystem::path& folder) {
    return folder / "help" / "Guide01.html";
}

}  // namespace

std::filesystem::path ShippedDataFolder(const std::filesystem::path& executableFolder) {
    return (executableFolder / ".." / "share" / "veltrix").lexically_normal();
}

ProgramFolderChoice ChooseProgramFolder(const std::filesystem::path& executableFolder,
                                        const std::filesystem::path& perUserFolder) {
    ProgramFolderChoice choice;
    choice.shippedSettings = ShippedDataFolder(executableFolder) / kSettingsFileName;
    const bool besideExecutable = !executableFolder.empty() && isFile(executableFolder / kSettingsFileName);
    if (besideExecutable || perUserFolder.empty()) {
        choice.folder = executableFolder;
        choice.portable = true;
        return choice;
    }
    choice.folder = perUserFolder;
    return choice;
}

ProgramFolderChoice ChooseProgramFolder() {
    return ChooseProgramFolder(platform::ExecutableFolder(), platform::PerUserProgramFolder());
}

bool PrepareProgramFolder(const ProgramFolderChoice& choice, bool& firstStart, std::string& reason) {
    firstStart = false;
    if (choice.portable) return false;
    const std::filesystem::path settings = choice.folder / kSettingsFileName;
    std::error_code ec;
    std::filesystem::create_directories(choice.folder, ec);
    if (!std::filesystem::is_directory(choice.folder)) {
        reason = "フォルダー「" + choice.folder.string() + "」を作成できません。";
        return true;
    }
    if (FileExists(settings)) return false;
    const auto bytes = ReadFileBytes(choice.shippedSettings);
    if (!bytes) {
        reason = "既定の設定ファイル「" + choice.shippedSettings.string() + "」を読めません。";
        return true;
    }
    // Copied whole or not at all: a half-written file would stop every later start.
    if (!WriteFileAtomically(settings, *bytes)) {
        reason = "設定ファイル「" + settings.string() + "」を作成できません。";
        return true;
    }
    firstStart = true;
    return false;
}

std::string FirstStartMessage(const std::filesystem::path& folder) {
    return "設定と取り込んだデータは「" + folder.string() + "」に保存されます。";
}

std::filesystem::path UserGuideFile(const std::filesystem::path& programFolder,
                                    const std::filesystem::path& executableFolder) {
    if (isFile(guideIn(programFolder))) return guideIn(programFolder);
    if (!executableFolder.empty()) {
        for (const auto& folder : {executableFolder, ShippedDataFolder(executableFolder)})
            if (isFile(guideIn(folder))) return guideIn(folder);
    }
    return guideIn(programFolder);
}

std::filesystem::path UserGuideFile(const std::filesystem::path& programFolder) {
    return UserGuideFile(programFolder, platform::ExecutableFolder());
}

}  // namespace veltrix
