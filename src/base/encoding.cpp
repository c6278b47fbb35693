#include "base/encoding.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <system_error>

#include "platform/files.h"
#include "platform/text_codec.h"

namespace veltrix {

std::optional<std::string> Cp932ToUtf8(std::string_view bytes) {
    // Pure ASCII needs no conversion; most numeric fields are.
    bool ascii = true;
    for (unsigned char c : bytes) {
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) return std::string(bytes);
    return platform::Cp932ToUtf8(bytes);
}

namespace {

// Code point and length of a well-formed UTF-8 sequence of two or three bytes
// at pos (the Basic Multilingual Plane, where all of CP932 lies); length 0 for
// anything else.
struct Sequence {
    char32_t cp;
    size_t len;
};

Sequence bmpSequenceAt(std::string_view s, size_t pos) {
    const size_t left = s.size() - pos;
    const auto* u = reinterpret_cast<const unsigned char*>(s.data() + pos);
    auto trail = [&](size_t i) { return (u[i] & 0xC0) == 0x80; };
    if (u[0] >= 0xC2 && u[0] <= 0xDF && left >= 2 && trail(1)) return {char32_t(u[0] & 0x1F) << 6 | (u[1] & 0x3F), 2};
    if (u[0] >= 0xE0 && u[0] <= 0xEF && left >= 3 && trail(1) && trail(2)) {
        const char32_t cp = char32_t(u[0] & 0x0F) << 12 | char32_t(u[1] & 0x3F) << 6 | (u[2] & 0x3F);
        if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) return {cp, 3};
    }
    return {0, 0};
}

// UTF-8 to CP932 a character at a time through a table that the system's
// converter fills on a character's first use. The converter costs far more per byte than the table, and the
// store files are mostly ASCII with a few hundred other characters. CP932 has
// no shift state, so a character converts alone as it does within the text.
class Cp932Encoder {
public:
    std::optional<std::string> encode(std::string_view text) {
        // A character never takes more bytes in CP932 than in UTF-8.
        std::string out(text.size(), '\0');
        char* to = out.data();
        const char* const end = text.data() + text.size();
        const char* from = text.data();
        while (from < end) {
            if (static_cast<unsigned char>(*from) < 0x80) {
                // ASCII goes as it is, eight bytes at a time while eight are
                // left: all eight are stored, and as many as lead up to the
                // next other character count. Writing never overtakes reading,
                // so the bytes stored beyond stay within the text's length.
                static_assert(std::endian::native == std::endian::little, "the first byte is the lowest");
                uint64_t eight;
                while (end - from >= 8) {
                    std::memcpy(&eight, from, 8);
                    std::memcpy(to, &eight, 8);
                    const uint64_t high = eight & 0x8080808080808080u;
                    const int ascii = high ? std::countr_zero(high) / 8 : 8;
                    from += ascii;
                    to += ascii;
                    if (ascii < 8) break;
                }
                while (from < end && static_cast<unsigned char>(*from) < 0x80) *to++ = *from++;
                continue;
            }
            const size_t pos = static_cast<size_t>(from - text.data());
            const Sequence seq = bmpSequenceAt(text, pos);
            uint32_t form = seq.len ? forms_[seq.cp] : kNoForm;
            if (form == kNotAsked) form = ask(seq.cp, text.substr(pos, seq.len));
            // Whatever the table cannot hold (malformed text, characters that
            // CP932 lacks) goes to the converter whole, which judges it as before.
            if (form == kNoForm) return platform::Utf8ToCp932(text);
            if (form > 0xFF) *to++ = static_cast<char>(form >> 8);
            *to++ = static_cast<char>(form & 0xFF);
            from += seq.len;
        }
        out.resize(static_cast<size_t>(to - out.data()));
        return out;
    }

private:
    static constexpr uint32_t kNoForm = 0xFFFFFFFF;
    static constexpr uint32_t kNotAsked = 0;  // no character above U+007F encodes to byte 0

    // Asks the converter for the character's CP932 bytes and keeps them as a number
    // (one byte, or lead << 8 | trail).
    uint32_t ask(char32_t cp, std::string_view utf8) {
        uint32_t& form = forms_[cp];
        auto bytes = platform::Utf8ToCp932(utf8);
        if (bytes && bytes->size() == 1 && (*bytes)[0] != '\0')
            form = static_cast<unsigned char>((*bytes)[0]);
        else if (bytes && bytes->size() == 2)
            form = uint32_t(static_cast<unsigned char>((*bytes)[0])) << 8 | static_cast<unsigned char>((*bytes)[1]);
        else
            form = kNoForm;
        return form;
    }

    std::vector<uint32_t> forms_ = std::vector<uint32_t>(0x10000, kNotAsked);  // by code point
};

}  // namespace

std::optional<std::string> Utf8ToCp932(std::string_view text) {
    thread_local Cp932Encoder encoder;
    return encoder.encode(text);
}

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string data;
    in.seekg(0, std::ios::end);
    auto size = in.tellg();
    if (size < 0) return std::nullopt;
    data.resize(static_cast<size_t>(size));
    in.seekg(0, std::ios::beg);
    if (!in.read(data.data(), static_cast<std::streamsize>(data.size()))) return std::nullopt;
    return data;
}

bool WriteFileBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         const std::function<bool(const std::filesystem::path&)>& beforeRename) {
    std::filesystem::path tmp = path;
    tmp += ".tmp";
    if (!platform::WriteDurably(tmp, bytes)) {
        std::error_code ec;
        std::filesystem::remove(tmp, ec);
        return false;
    }
    std::error_code ec;
    if (beforeRename && !beforeRename(tmp)) {
        std::filesystem::remove(tmp, ec);
        return false;
    }
    if (!platform::ReplaceFile(tmp, path)) {
        std::filesystem::remove(tmp, ec);
        return false;
    }
    return true;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        size_t end = lf;
        if (end > start && text[end - 1] == '\r') --end;
        lines.push_back(text.substr(start, end - start));
        start = lf + 1;
    }
    return lines;
}

}  // namespace veltrix
