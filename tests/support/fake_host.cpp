#include "support/fake_host.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <stdexcept>

#include "base/encoding.h"

namespace veltrix::test {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    std::random_device rd;
    auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto p = base / ("veltrix-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
        std::error_code ec;
        if (std::filesystem::create_directory(p, ec)) {
            path_ = p;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void WriteCp932(const std::filesystem::path& path, const std::string& utf8) {
    auto bytes = Utf8ToCp932(utf8);
    ASSERT_TRUE(bytes.has_value()) << "text not representable in CP932";
    ASSERT_TRUE(WriteFileBytes(path, *bytes));
}

std::string ReadCp932(const std::filesystem::path& path) {
    auto bytes = ReadFileBytes(path);
    if (!bytes) return {};
    auto text = Cp932ToUtf8(*bytes);
    return text ? *text : std::string();
}

}  // namespace veltrix::test
