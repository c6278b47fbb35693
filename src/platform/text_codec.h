#pragma once
// CP932 <-> UTF-8 by the system's own converter: iconv on Linux, code page 932
// on Windows. Both give the same bytes (a test compares every CP932 code with
// a table made with iconv).
#include <optional>
#include <string>
#include <string_view>

namespace veltrix::platform {

// nullopt for bytes that are not valid CP932 (a lone or bad lead byte, an
// unassigned code).
std::optional<std::string> Cp932ToUtf8(std::string_view bytes);
// nullopt for text that is not UTF-8 or holds a character CP932 lacks.
std::optional<std::string> Utf8ToCp932(std::string_view text);

}  // namespace veltrix::platform
