#include "app/program_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "base/encoding.h"
#include "platform/paths.h"
#include "support/fake_host.h"

namespace veltrix {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// An unpacked or installed copy: <root>/usr/bin with the shipped files in <root>/usr/share/veltrix.
struct InstalledCopy {
    TempDir dir;
    fs::path bin = dir.path() / "usr" / "bin";
    fs::path shipped = dir.path() / "usr" / "share" / "veltrix";
    fs::path perUser = dir.path() / "home" / ".local" / "share" / "veltrix";
    InstalledCopy() {
        fs::create_directories(bin);
        writeFile(shipped / "VELTRIX.ctx", "[MarkInfo]\r\nMark=◎○▲\r\n");
    }
};

TEST(ProgramFolder, PortableCopyKeepsTheExecutableFolderAndCreatesNothing) {
    InstalledCopy copy;
    writeFile(copy.bin / "VELTRIX.ctx", "[MarkInfo]\r\n");
    const ProgramFolderChoice choice = ChooseProgramFolder(copy.bin, copy.perUser);
    EXPECT_EQ(choice.folder, copy.bin);
    EXPECT_TRUE(choice.portable);
    bool firstStart = true;
    std::string reason;
    EXPECT_FALSE(PrepareProgramFolder(choice, firstStart, reason)) << reason;
    EXPECT_FALSE(firstStart);
    EXPECT_FALSE(fs::exists(copy.perUser));
    // A folder named like the settings file is no portable copy.
    fs::remove(copy.bin / "VELTRIX.ctx");
    fs::create_directory(copy.bin / "VELTRIX.ctx");
    EXPECT_EQ(ChooseProgramFolder(copy.bin, copy.perUser).folder, copy.perUser);
}

TEST(ProgramFolder, FirstStartOfAnInstalledCopyMakesThePerUserFolderOnce) {
    InstalledCopy copy;
    const ProgramFolderChoice choice = ChooseProgramFolder(copy.bin, copy.perUser);
    EXPECT_EQ(choice.folder, copy.perUser);
    EXPECT_FALSE(choice.portable);
    EXPECT_EQ(choice.shippedSettings, copy.shipped / "VELTRIX.ctx");

    bool firstStart = false;
    std::string reason;
    ASSERT_FALSE(PrepareProgramFolder(choice, firstStart, reason)) << reason;
    EXPECT_TRUE(firstStart);
    EXPECT_EQ(ReadFileBytes(copy.perUser / "VELTRIX.ctx"), ReadFileBytes(copy.shipped / "VELTRIX.ctx"));
    EXPECT_FALSE(fs::exists(copy.perUser / "VELTRIX.ctx.tmp"));

    // The user's own settings are never replaced by the shipped ones again.
    writeFile(copy.perUser / "VELTRIX.ctx", "[MarkInfo]\r\nMark=★\r\n");
    ASSERT_FALSE(PrepareProgramFolder(choice, firstStart, reason)) << reason;
    EXPECT_FALSE(firstStart);
    EXPECT_EQ(ReadFileBytes(copy.perUser / "VELTRIX.ctx"),
              std::optional<std::string>("[MarkInfo]\r\nMark=★\r\n"));

    // Settings deleted by hand come back as shipped.
    fs::remove(copy.perUser / "VELTRIX.ctx");
    ASSERT_FALSE(PrepareProgramFolder(choice, firstStart, reason)) << reason;
    EXPECT_TRUE(firstStart);
    EXPECT_NE(FirstStartMessage(copy.perUser).find(copy.perUser.string()), std::string::npos);
}

TEST(ProgramFolder, FailuresNameWhatIsMissingOrInTheWay) {
    InstalledCopy copy;
    bool firstStart = true;
    std::string reason;
    // No shipped settings beside the executable: nothing half-made is left to start from.
    fs::remove(copy.shipped / "VELTRIX.ctx");
    const ProgramFolderChoice choice = ChooseProgramFolder(copy.bin, copy.perUser);
    EXPECT_TRUE(PrepareProgramFolder(choice, firstStart, reason));
    EXPECT_FALSE(firstStart);
    EXPECT_NE(reason.find((copy.shipped / "VELTRIX.ctx").string()), std::string::npos) << reason;
    EXPECT_FALSE(fs::exists(copy.perUser / "VELTRIX.ctx"));

    // A file where the per-user folder belongs.
    fs::remove_all(copy.perUser);
    writeFile(copy.perUser, "not a folder");
    reason.clear();
    EXPECT_TRUE(PrepareProgramFolder(choice, firstStart, reason));
    EXPECT_NE(reason.find(copy.perUser.string()), std::string::npos) << reason;
}

TEST(ProgramFolder, WithoutAPerUserFolderTheExecutableFolderServes) {
    InstalledCopy copy;
    const ProgramFolderChoice choice = ChooseProgramFolder(copy.bin, fs::path());
    EXPECT_EQ(choice.folder, copy.bin);
    // Nothing is created there: the settings step then names the missing file.
    bool firstStart = true;
    std::string reason;
    EXPECT_FALSE(PrepareProgramFolder(choice, firstStart, reason));
    EXPECT_FALSE(fs::exists(copy.bin / "VELTRIX.ctx"));
}

TEST(ProgramFolder, UserGuideIsFoundInTheProgramFolderBesideTheExecutableOrInTheDataFolder) {
    InstalledCopy copy;
    const fs::path program = copy.perUser;
    // None has it: the program folder's is named.
    EXPECT_EQ(UserGuideFile(program, copy.bin), program / "help" / "Guide01.html");
    writeFile(copy.shipped / "help" / "Guide01.html", "<html>");
    EXPECT_EQ(UserGuideFile(program, copy.bin), copy.shipped / "help" / "Guide01.html");
    writeFile(copy.bin / "help" / "Guide01.html", "<html>");
    EXPECT_EQ(UserGuideFile(program, copy.bin), copy.bin / "help" / "Guide01.html");
    writeFile(program / "help" / "Guide01.html", "<html>");
    EXPECT_EQ(UserGuideFile(program, copy.bin), program / "help" / "Guide01.html");
}

}  // namespace
}  // namespace veltrix
