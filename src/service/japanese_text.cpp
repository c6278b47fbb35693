#include "service/japanese_text.h"

#include <iconv.h>
#include <strings.h>
#include <uchardet.h>

#include <cerrno>
#include <memory>

namespace veltrix {

namespace {

struct DetectorDeleter {
    void operator()(uchardet* d) const { uchardet_delete(d); }
};

bool allAscii(std::string_view bytes) {
    for (unsigned char c : bytes)
        if (c >= 0x80) return false;
    return true;
}

bool isJisByte(unsigned char c) { return c >= 0x21 && c <= 0x7E; }
bool isEucByte(unsigned char c) { return c >= 0xA1 && c <= 0xFE; }

enum class JisSet { Ascii, X0208, Kana, X0212 };

const char* escapeFor(JisSet set) {
    switch (set) {
        case JisSet::Ascii:
            return "\x1B(B";
        case JisSet::X0208:
            return "\x1B$B";
        case JisSet::Kana:
            return "\x1B(I";
        case JisSet::X0212:
            return "\x1B$(D";
    }
    return "";
}

}  // namespace

std::optional<std::string> ConvertCharset(std::string_view bytes, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(bytes.size() * 2 + 16, '\0');
    char* src = const_cast<char*>(bytes.data());
    size_t srcLeft = bytes.size();
    size_t done = 0;
    bool ok = true;
    while (true) {
        char* dst = out.data() + done;
        size_t dstLeft = out.size() - done;
        // The last call (no input) ends a stateful output in its initial state.
        const size_t rc = iconv(cd, srcLeft ? &src : nullptr, &srcLeft, &dst, &dstLeft);
        done = out.size() - dstLeft;
        if (rc != static_cast<size_t>(-1)) {
            if (srcLeft == 0 && src != nullptr) {
                src = nullptr;
                continue;
            }
            if (srcLeft == 0) break;
            continue;
        }
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        ok = false;  // EILSEQ or EINVAL: invalid or truncated input
        break;
    }
    iconv_close(cd);
    if (!ok) return std::nullopt;
    out.resize(done);
    return out;
}

std::optional<JapaneseEncoding> DetectJapaneseEncoding(std::string_view bytes) {
    std::unique_ptr<uchardet, DetectorDeleter> detector(uchardet_new());
    if (!detector) return std::nullopt;
    if (uchardet_handle_data(detector.get(), bytes.data(), bytes.size()) != 0) return std::nullopt;
    uchardet_data_end(detector.get());
    const char* name = uchardet_get_charset(detector.get());
    if (name == nullptr) return std::nullopt;
    if (strcasecmp(name, "ASCII") == 0) return JapaneseEncoding::Ascii;
    if (strcasecmp(name, "SHIFT_JIS") == 0) return JapaneseEncoding::ShiftJis;
    if (strcasecmp(name, "EUC-JP") == 0) return JapaneseEncoding::EucJp;
    if (strcasecmp(name, "ISO-2022-JP") == 0) return JapaneseEncoding::Iso2022Jp;
    if (strcasecmp(name, "UTF-8") == 0) return JapaneseEncoding::Utf8;
    // An empty name for pure ASCII in some versions of the detector.
    if (*name == '\0' && allAscii(bytes) && bytes.find('\x1B') == std::string_view::npos)
        return JapaneseEncoding::Ascii;
    return std::nullopt;
}

std::optional<std::string> JapaneseToUtf8(std::string_view bytes, JapaneseEncoding encoding) {
    switch (encoding) {
        case JapaneseEncoding::Ascii:
            if (!allAscii(bytes)) return std::nullopt;
            return std::string(bytes);
        case JapaneseEncoding::ShiftJis:
            return ConvertCharset(bytes, "UTF-8", "CP932");
        case JapaneseEncoding::EucJp:
            // The Microsoft form: the NEC and IBM characters of CP932 text.
            return ConvertCharset(bytes, "UTF-8", "EUC-JP-MS");
        case JapaneseEncoding::Iso2022Jp: {
            const auto euc = Iso2022JpToEucJp(bytes);
            if (!euc) return std::nullopt;
            return ConvertCharset(*euc, "UTF-8", "EUC-JP-MS");
        }
        case JapaneseEncoding::Utf8: {
            constexpr std::string_view bom = "\xEF\xBB\xBF";
            if (bytes.substr(0, bom.size()) == bom) bytes.remove_prefix(bom.size());
            return ConvertCharset(bytes, "UTF-8", "UTF-8");
        }
    }
    return std::nullopt;
}

std::string NormaliseLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\r\n";
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> ResponseText(std::string_view bytes) {
    const auto encoding = DetectJapaneseEncoding(bytes);
    if (!encoding) return std::nullopt;
    const auto text = JapaneseToUtf8(bytes, *encoding);
    if (!text) return std::nullopt;
    return NormaliseLineEnds(*text);
}

std::optional<std::string> Iso2022JpToEucJp(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    JisSet set = JisSet::Ascii;
    size_t i = 0;
    auto at = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    while (i < bytes.size()) {
        const unsigned char c = at(i);
        if (c == 0x1B) {
            const std::string_view rest = bytes.substr(i + 1);
            if (rest.substr(0, 2) == "(B" || rest.substr(0, 2) == "(J") {
                set = JisSet::Ascii;
                i += 3;
            } else if (rest.substr(0, 2) == "$@" || rest.substr(0, 2) == "$B") {
                set = JisSet::X0208;
                i += 3;
            } else if (rest.substr(0, 2) == "(I") {
                set = JisSet::Kana;
                i += 3;
            } else if (rest.substr(0, 3) == "$(D") {
                set = JisSet::X0212;
                i += 4;
            } else {
                return std::nullopt;
            }
            continue;
        }
        if (c >= 0x80 || c == 0x0E || c == 0x0F) return std::nullopt;
        // Control characters and spaces stand for themselves in every set.
        if (set == JisSet::Ascii || !isJisByte(c)) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        switch (set) {
            case JisSet::Kana:
                if (c > 0x5F) return std::nullopt;
                out += '\x8E';
                out += static_cast<char>(c | 0x80);
                i += 1;
                break;
            case JisSet::X0208:
            case JisSet::X0212:
                if (i + 1 >= bytes.size() || !isJisByte(at(i + 1))) return std::nullopt;
                if (set == JisSet::X0212) out += '\x8F';
                out += static_cast<char>(c | 0x80);
                out += static_cast<char>(at(i + 1) | 0x80);
                i += 2;
                break;
            case JisSet::Ascii:
                break;
        }
    }
    return out;
}

std::optional<std::string> EucJpToIso2022Jp(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + 16);
    JisSet set = JisSet::Ascii;
    auto enter = [&](JisSet next) {
        if (set != next) out += escapeFor(next);
        set = next;
    };
    auto at = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char c = at(i);
        if (c < 0x80) {
            enter(JisSet::Ascii);
            out += static_cast<char>(c);
            ++i;
        } else if (c == 0x8E) {
            if (i + 1 >= bytes.size() || at(i + 1) < 0xA1 || at(i + 1) > 0xDF) return std::nullopt;
            enter(JisSet::Kana);
            out += static_cast<char>(at(i + 1) & 0x7F);
            i += 2;
        } else if (c == 0x8F) {
            if (i + 2 >= bytes.size() || !isEucByte(at(i + 1)) || !isEucByte(at(i + 2))) return std::nullopt;
            enter(JisSet::X0212);
            out += static_cast<char>(at(i + 1) & 0x7F);
            out += static_cast<char>(at(i + 2) & 0x7F);
            i += 3;
        } else if (isEucByte(c)) {
            if (i + 1 >= bytes.size() || !isEucByte(at(i + 1))) return std::nullopt;
            enter(JisSet::X0208);
            out += static_cast<char>(c & 0x7F);
            out += static_cast<char>(at(i + 1) & 0x7F);
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    enter(JisSet::Ascii);
    return out;
}

}  // namespace veltrix
