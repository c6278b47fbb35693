#pragma once
// CP932 at the file boundary, UTF-8 in memory.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrix {

// nullopt when the input is not valid in the source encoding
// (or, for Utf8ToCp932, holds a character CP932 cannot represent).
std::optional<std::string> Cp932ToUtf8(std::string_view bytes);
std::optional<std::string> Utf8ToCp932(std::string_view text);

// Whole-file helpers. ReadFileBytes: nullopt when the file cannot be read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);
// Writes bytes to the path, replacing it.
bool WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);
// Writes to a temporary file in the same folder and renames it over the path,
// so a crash never leaves the file truncated. For files holding the user's work.
// beforeRename, when given, runs between writing the temporary file and the
// rename; returning false abandons the write (the old file stays). Tests use it
// to act out a crash at that moment.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         const std::function<bool(const std::filesystem::path&)>& beforeRename = {});

// Splits text into lines at CR LF (a lone LF is accepted too); the final line
// break is optional and gives no empty last line.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace veltrix
