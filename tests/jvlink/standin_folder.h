#pragma once
// Small hand-written stand-in folders for the JV-Link tests.
#include <filesystem>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "support/fake_host.h"

namespace veltrix::test {

// Records are UTF-8 text without line ends; each is written as CP932 with CR LF.
inline std::filesystem::path WriteStored(const std::filesystem::path& jvlink, const std::string& spec,
                                         const std::string& stamp, const std::string& name,
                                         const std::vector<std::string>& records) {
    std::string text;
    for (const auto& r : records) text += r + "\r\n";
    auto dir = jvlink / "stored" / spec;
    std::filesystem::create_directories(dir);
    auto path = dir / (stamp + "_" + name + ".txt");
    WriteCp932(path, text);
    return path;
}

inline std::filesystem::path WriteRealTime(const std::filesystem::path& jvlink, const std::string& spec,
                                           const std::string& key, const std::vector<std::string>& records) {
    std::string text;
    for (const auto& r : records) text += r + "\r\n";
    auto dir = jvlink / "realtime" / spec;
    std::filesystem::create_directories(dir);
    auto path = dir / (key + ".txt");
    WriteCp932(path, text);
    return path;
}

}  // namespace veltrix::test
