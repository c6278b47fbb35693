#include "service/japanese_text.h"

#include <array>
#include <cstdint>

#include "base/encoding.h"

namespace veltrix {

namespace {

#include "service/euc_jp_tables.inc"

bool allAscii(std::string_view bytes) {
    for (unsigned char c : bytes)
        if (c >= 0x80) return false;
    return true;
}

bool isJisByte(unsigned char c) { return c >= 0x21 && c <= 0x7E; }
bool isEucByte(unsigned char c) { return c >= 0xA1 && c <= 0xFE; }

unsigned hexDigit(char c) { return c <= '9' ? unsigned(c - '0') : unsigned(c - 'A' + 10); }

// The generated tables as numbers, read once.
struct EucTables {
    std::array<uint16_t, 94 * 94> two{};    // CP932 code of EUC row/column, 0 for none
    std::array<uint16_t, 94 * 94> three{};  // the same for 8F row column
    std::array<uint32_t, 60 * 189> back{};  // EUC form of CP932 lead/trail, 0 for none

    EucTables() {
        for (int r = 0; r < 94; ++r)
            for (int c = 0; c < 94; ++c) {
                uint16_t a = 0, b = 0;
                for (int k = 0; k < 4; ++k) {
                    a = static_cast<uint16_t>(a << 4 | hexDigit(kEucTwoByteRows[r][c * 4 + k]));
                    b = static_cast<uint16_t>(b << 4 | hexDigit(kEucThreeByteRows[r][c * 4 + k]));
                }
                two[r * 94 + c] = a;
                three[r * 94 + c] = b;
            }
        for (int l = 0; l < 60; ++l)
            for (int t = 0; t < 189; ++t) {
                uint32_t v = 0;
                for (int k = 0; k < 6; ++k) v = v << 4 | hexDigit(kCp932ToEucRows[l][t * 6 + k]);
                back[l * 189 + t] = v;
            }
    }
};

const EucTables& eucTables() {
    static const EucTables tables;
    return tables;
}

// Index of a CP932 lead byte in the table of the way back; -1 for none.
int leadIndex(unsigned char lead) {
    if (lead >= 0x81 && lead <= 0x9F) return lead - 0x81;
    if (lead >= 0xE0 && lead <= 0xFC) return lead - 0xE0 + 31;
    return -1;
}

bool isValidUtf8(std::string_view s) {
    size_t i = 0;
    auto u = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    while (i < s.size()) {
        const unsigned char c = u(i);
        size_t n = 0;
        char32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            n = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + n >= s.size()) return false;
        for (size_t k = 1; k <= n; ++k) {
            if ((u(i + k) & 0xC0) != 0x80) return false;
            cp = cp << 6 | (u(i + k) & 0x3F);
        }
        // No overlong form, surrogate or code point beyond Unicode.
        if ((n == 2 && cp < 0x800) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n + 1;
    }
    return true;
}

// Half-width katakana in the text read as CP932; -1 when it is not CP932.
int halfWidthKanaAsCp932(std::string_view bytes) {
    int kana = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0xA1 && c <= 0xDF)
            ++kana;
        else if (leadIndex(c) >= 0)
            ++i;
    }
    return kana;
}

// Half-width katakana in the text read as EUC-JP.
int halfWidthKanaAsEuc(std::string_view bytes) {
    int kana = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == 0x8E) {
            ++kana;
            ++i;
        } else if (c == 0x8F) {
            i += 2;
        } else if (c >= 0x80) {
            ++i;
        }
    }
    return kana;
}

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

std::optional<std::string> EucJpToCp932(std::string_view bytes) {
    const EucTables& t = eucTables();
    std::string out;
    out.reserve(bytes.size());
    auto at = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    auto put = [&](uint16_t code) {
        out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
    };
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char c = at(i);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else if (c == 0x8E) {
            if (i + 1 >= bytes.size() || at(i + 1) < 0xA1 || at(i + 1) > 0xDF) return std::nullopt;
            out += static_cast<char>(at(i + 1));
            i += 2;
        } else if (c == 0x8F) {
            if (i + 2 >= bytes.size() || !isEucByte(at(i + 1)) || !isEucByte(at(i + 2))) return std::nullopt;
            const uint16_t code = t.three[(at(i + 1) - 0xA1) * 94 + (at(i + 2) - 0xA1)];
            if (code == 0) return std::nullopt;
            put(code);
            i += 3;
        } else if (isEucByte(c)) {
            if (i + 1 >= bytes.size() || !isEucByte(at(i + 1))) return std::nullopt;
            const uint16_t code = t.two[(c - 0xA1) * 94 + (at(i + 1) - 0xA1)];
            if (code == 0) return std::nullopt;
            put(code);
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

std::optional<std::string> Cp932ToEucJp(std::string_view bytes) {
    const EucTables& t = eucTables();
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        if (c >= 0xA1 && c <= 0xDF) {
            out += '\x8E';
            out += static_cast<char>(c);
            continue;
        }
        const int lead = leadIndex(c);
        if (lead < 0 || i + 1 >= bytes.size()) return std::nullopt;
        const unsigned char trail = static_cast<unsigned char>(bytes[++i]);
        if (trail < 0x40 || trail > 0xFC) return std::nullopt;
        const uint32_t euc = t.back[lead * 189 + (trail - 0x40)];
        if (euc == 0) return std::nullopt;
        if (euc > 0xFFFF) out += static_cast<char>(euc >> 16);
        out += static_cast<char>((euc >> 8) & 0xFF);
        out += static_cast<char>(euc & 0xFF);
    }
    return out;
}

std::optional<JapaneseEncoding> DetectJapaneseEncoding(std::string_view bytes) {
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (bytes.substr(0, bom.size()) == bom) {
        if (isValidUtf8(bytes)) return JapaneseEncoding::Utf8;
        return std::nullopt;
    }
    if (allAscii(bytes)) {
        // Seven-bit text with escapes is ISO-2022-JP, when its escapes are.
        if (bytes.find('\x1B') == std::string_view::npos) return JapaneseEncoding::Ascii;
        if (Iso2022JpToEucJp(bytes)) return JapaneseEncoding::Iso2022Jp;
        return std::nullopt;
    }
    // Japanese text in CP932 or EUC-JP is almost never valid UTF-8.
    if (isValidUtf8(bytes)) return JapaneseEncoding::Utf8;
    const bool cp932 = Cp932ToUtf8(bytes).has_value();
    const auto asCp932 = EucJpToCp932(bytes);
    const bool euc = asCp932 && Cp932ToUtf8(*asCp932).has_value();
    if (cp932 && euc) {
        // Both readings hold: the one with fewer half-width katakana, which
        // real text rarely has and EUC-JP read as CP932 is full of.
        return halfWidthKanaAsEuc(bytes) <= halfWidthKanaAsCp932(bytes) ? JapaneseEncoding::EucJp
                                                                         : JapaneseEncoding::ShiftJis;
    }
    if (cp932) return JapaneseEncoding::ShiftJis;
    if (euc) return JapaneseEncoding::EucJp;
    return std::nullopt;
}

std::optional<std::string> JapaneseToUtf8(std::string_view bytes, JapaneseEncoding encoding) {
    switch (encoding) {
        case JapaneseEncoding::Ascii:
            if (!allAscii(bytes)) return std::nullopt;
            return std::string(bytes);
        case JapaneseEncoding::ShiftJis:
            return Cp932ToUtf8(bytes);
        case JapaneseEncoding::EucJp: {
            const auto cp932 = EucJpToCp932(bytes);
            if (!cp932) return std::nullopt;
            return Cp932ToUtf8(*cp932);
        }
        case JapaneseEncoding::Iso2022Jp: {
            const auto euc = Iso2022JpToEucJp(bytes);
            if (!euc) return std::nullopt;
            const auto cp932 = EucJpToCp932(*euc);
            if (!cp932) return std::nullopt;
            return Cp932ToUtf8(*cp932);
        }
        case JapaneseEncoding::Utf8: {
            constexpr std::string_view bom = "\xEF\xBB\xBF";
            if (bytes.substr(0, bom.size()) == bom) bytes.remove_prefix(bom.size());
            if (!isValidUtf8(bytes)) return std::nullopt;
            return std::string(bytes);
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
