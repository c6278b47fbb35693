#include "platform/text_codec.h"

#include "platform/windows/wide.h"

namespace veltrix::platform {

std::optional<std::string> Cp932ToUtf8(std::string_view bytes) {
    auto wide = ToWide(bytes, 932);
    if (!wide) return std::nullopt;
    return FromWide(*wide, CP_UTF8);
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
    auto wide = ToWide(text, CP_UTF8);
    if (!wide) return std::nullopt;
    return FromWide(*wide, 932);
}

}  // namespace veltrix::platform
