#pragma once
// The two file calls the durable atomic write needs.
#include <filesystem>
#include <string_view>

namespace veltrix::platform {

// Creates or truncates the file, writes the bytes and flushes them to the disk
// before returning; false when any step fails.
bool WriteDurably(const std::filesystem::path& path, std::string_view bytes);
// Puts the file `from` in the place of `to` in one step, replacing it, and
// flushes the change; false when it did not happen (both files are as before).
bool ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace veltrix::platform
