#pragma once
// Shared by the libFuzzer harnesses: a program folder of this process, the
// fixture week cut from the sample world at build time, and the record format
// of the import harness's input.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/encoding.h"
#include "base/folders.h"

namespace veltrix::fuzz {

// Records of an import input are separated by a NUL and a line feed: a record
// itself may hold any other bytes, a lone line feed included.
inline constexpr std::string_view kRecordSeparator{"\0\n", 2};

inline std::vector<std::string_view> SplitRecords(std::string_view input) {
    std::vector<std::string_view> out;
    while (!input.empty()) {
        const size_t at = input.find(kRecordSeparator);
        out.push_back(input.substr(0, at));
        if (at == std::string_view::npos) break;
        input.remove_prefix(at + kRecordSeparator.size());
    }
    return out;
}

// A failed property: report and abort, so that libFuzzer keeps the input.
[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "property failed: %s\n", what);
    std::abort();
}

#ifdef VELTRIX_FUZZ_FIXTURE
// A file of the fixture (the build folder's fuzz/seeds/fixture), read once.
inline std::string FixtureFile(const std::string& name) {
    auto bytes = ReadFileBytes(std::filesystem::path(VELTRIX_FUZZ_FIXTURE) / name);
    if (!bytes) Fail(("fixture missing: " + name).c_str());
    return *bytes;
}

// A temporary folder of this process, removed when the process ends.
inline const std::filesystem::path& ProcessFolder() {
    struct Folder {
        Folder() {
            char pattern[] = "/tmp/veltrix-fuzz-XXXXXX";
            if (!mkdtemp(pattern)) Fail("no temporary folder");
            path = pattern;
        }
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
        std::filesystem::path path;
    };
    static const Folder folder;
    return folder.path;
}

// An empty program folder with its cache folder under the process's folder.
inline Folders MakeProgramFolder(const char* name) {
    Folders folders = Folders::under(ProcessFolder() / name);
    std::filesystem::create_directories(folders.cache);
    return folders;
}
#endif

}  // namespace veltrix::fuzz
