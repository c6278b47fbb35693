#include "base/encoding.h"

#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <system_error>

namespace veltrix {
namespace {

// One converter per direction and thread; iconv_open is far too slow per call.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::optional<std::string> convert(std::string_view in) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // reset shift state
        std::string out;
        out.resize(in.size() * 3 / 2 + 16);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        size_t done = 0;
        while (true) {
            char* dst = out.data() + done;
            size_t dstLeft = out.size() - done;
            size_t rc = iconv(cd_, srcLeft ? &src : nullptr, &srcLeft, &dst, &dstLeft);
            done = out.size() - dstLeft;
            if (rc != static_cast<size_t>(-1)) {
                if (srcLeft == 0) break;
                continue;
            }
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            return std::nullopt;  // EILSEQ or EINVAL: invalid or truncated input
        }
        out.resize(done);
        return out;
    }

private:
    iconv_t cd_;
};

}  // namespace

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
    thread_local Converter conv("UTF-8", "CP932");
    return conv.convert(bytes);
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

// UTF-8 to CP932 a character at a time through a table that iconv fills on a
// character's first use. iconv costs far more per byte than the table, and the
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
            // CP932 lacks) goes to iconv whole, which judges it as before.
            if (form == kNoForm) return iconv_.convert(text);
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

    // Asks iconv for the character's CP932 bytes and keeps them as a number
    // (one byte, or lead << 8 | trail).
    uint32_t ask(char32_t cp, std::string_view utf8) {
        uint32_t& form = forms_[cp];
        auto bytes = iconv_.convert(utf8);
        if (bytes && bytes->size() == 1 && (*bytes)[0] != '\0')
            form = static_cast<unsigned char>((*bytes)[0]);
        else if (bytes && bytes->size() == 2)
            form = uint32_t(static_cast<unsigned char>((*bytes)[0])) << 8 | static_cast<unsigned char>((*bytes)[1]);
        else
            form = kNoForm;
        return form;
    }

    Converter iconv_{"CP932", "UTF-8"};
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

namespace {
// Writes and flushes the bytes to the disk, so that the rename that follows
// can never publish a file whose contents were not yet written.
bool writeDurably(const std::filesystem::path& path, std::string_view bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const char* p = bytes.data();
    size_t left = bytes.size();
    bool ok = true;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    return ok;
}
}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         const std::function<bool(const std::filesystem::path&)>& beforeRename) {
    std::filesystem::path tmp = path;
    tmp += ".tmp";
    if (!writeDurably(tmp, bytes)) {
        std::error_code ec;
        std::filesystem::remove(tmp, ec);
        return false;
    }
    std::error_code ec;
    if (beforeRename && !beforeRename(tmp)) {
        std::filesystem::remove(tmp, ec);
        return false;
    }
    std::filesystem::rename(tmp, path, ec);
    if (ec) {
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
