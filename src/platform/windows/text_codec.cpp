#include "platform/text_codec.h"

#include "platform/windows/wide.h"

namespace veltrix::platform {

namespace {

bool isLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Code page 932 reads a lone byte 80 as U+0080, which iconv's CP932 (and so
// every file the Linux program wrote or refused) has no such character for.
// Everything else agrees code for code (tests/base/cp932_table_test.cpp).
bool hasLoneByte80(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (isLead(c))
            ++i;
        else if (c == 0x80)
            return true;
    }
    return false;
}

}  // namespace

std::optional<std::string> Cp932ToUtf8(std::string_view bytes) {
    if (hasLoneByte80(bytes)) return std::nullopt;
    auto wide = ToWide(bytes, 932);
    if (!wide) return std::nullopt;
    return FromWide(*wide, CP_UTF8);
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
    auto wide = ToWide(text, CP_UTF8);
    if (!wide || wide->find(L'\x80') != std::wstring::npos) return std::nullopt;
    return FromWide(*wide, 932);
}

}  // namespace veltrix::platform
