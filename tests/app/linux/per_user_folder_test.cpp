// Where the per-user program folder is on Linux: the XDG rule.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/paths.h"

namespace veltrix {
namespace {

namespace fs = std::filesystem;

// Sets or unsets one environment variable for the test's lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(PerUserProgramFolder, FollowsXdgDataHomeWhenAbsoluteElseHome) {
    ScopedEnv home("HOME", "/home/tester");
    {
        ScopedEnv data("XDG_DATA_HOME", nullptr);
        EXPECT_EQ(platform::PerUserProgramFolder(), fs::path("/home/tester/.local/share/veltrix"));
    }
    {
        ScopedEnv data("XDG_DATA_HOME", "/srv/data");
        EXPECT_EQ(platform::PerUserProgramFolder(), fs::path("/srv/data/veltrix"));
    }
    {
        // Relative and empty values are to be ignored.
        ScopedEnv data("XDG_DATA_HOME", "data");
        EXPECT_EQ(platform::PerUserProgramFolder(), fs::path("/home/tester/.local/share/veltrix"));
        ScopedEnv empty("XDG_DATA_HOME", "");
        EXPECT_EQ(platform::PerUserProgramFolder(), fs::path("/home/tester/.local/share/veltrix"));
    }
}

}  // namespace
}  // namespace veltrix
