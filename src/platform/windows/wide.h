#pragma once
// UTF-8 <-> UTF-16 for the Windows calls, which take wide strings.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace veltrix::platform {

// Bytes of a code page to UTF-16; nullopt for bytes invalid in it.
inline std::optional<std::wstring> ToWide(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return std::wstring();
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, out.data(), n);
    return out;
}

// UTF-16 to a code page; nullopt for a character it lacks (no best-fit
// replacement) or a broken surrogate pair.
inline std::optional<std::string> FromWide(std::wstring_view text, UINT codePage) {
    if (text.empty()) return std::string();
    const int size = static_cast<int>(text.size());
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL defaulted = FALSE;
    BOOL* usedDefault = utf8 ? nullptr : &defaulted;
    const int n = WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, usedDefault);
    if (n <= 0 || defaulted) return std::nullopt;
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), size, out.data(), n, nullptr, usedDefault);
    if (defaulted) return std::nullopt;
    return out;
}

inline std::wstring Widen(std::string_view utf8) { return ToWide(utf8, CP_UTF8).value_or(std::wstring()); }
inline std::string Narrow(std::wstring_view text) { return FromWide(text, CP_UTF8).value_or(std::string()); }

}  // namespace veltrix::platform
