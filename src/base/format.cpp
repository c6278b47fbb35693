#include "base/format.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace veltrix {

// ---- number patterns ---------------------------------------------------------

namespace {

bool isDigitPlaceholder(char c) { return c == '0' || c == '#'; }

// Decimal digits of |value| rounded half away from zero to `decimals` places,
// as integer digits and exactly `decimals` fraction digits.
void roundedDigits(double value, int decimals, std::string& intDigits, std::string& fracDigits) {
    intDigits.clear();
    fracDigits.clear();
    char buf[64];
    // 15 significant digits: what a double holds reliably, and what the
    // platform's formatting starts from before it rounds.
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    std::string digits;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits += *p;
    int exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
    if (digits.find_first_not_of('0') == std::string::npos) exponent = 0;
    // value = 0.digits x 10^(exponent+1); keep the digits left of the cut.
    int point = exponent + 1;  // digits before the decimal point
    int keep = point + decimals;
    std::string kept;
    bool roundUp = false;
    if (keep < 0) {
        kept.clear();
    } else if (keep >= static_cast<int>(digits.size())) {
        kept = digits + std::string(static_cast<size_t>(keep) - digits.size(), '0');
    } else {
        kept = digits.substr(0, static_cast<size_t>(keep));
        roundUp = digits[static_cast<size_t>(keep)] >= '5';
    }
    if (roundUp) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[static_cast<size_t>(i)] == '9') kept[static_cast<size_t>(i--)] = '0';
        if (i >= 0) {
            ++kept[static_cast<size_t>(i)];
        } else {
            kept.insert(kept.begin(), '1');
            ++point;
        }
    }
    // kept now holds (point + decimals) digits, possibly fewer when point < 0.
    int total = point + decimals;
    if (static_cast<int>(kept.size()) < total) kept.insert(0, static_cast<size_t>(total) - kept.size(), '0');
    if (total <= 0) kept.assign(static_cast<size_t>(decimals), '0'), point = 0;
    int intLen = static_cast<int>(kept.size()) - decimals;
    if (intLen < 0) {
        kept.insert(0, static_cast<size_t>(-intLen), '0');
        intLen = 0;
    }
    intDigits = kept.substr(0, static_cast<size_t>(intLen));
    fracDigits = kept.substr(static_cast<size_t>(intLen));
    size_t nz = intDigits.find_first_not_of('0');
    intDigits = nz == std::string::npos ? std::string() : intDigits.substr(nz);
}

}  // namespace

std::string FormatNumber(double value, std::string_view pattern) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";

    // Split the pattern into literal prefix, number part and literal suffix.
    std::string prefix, suffix;
    std::string intPattern, fracPattern;
    bool percent = false;
    bool inNumber = false, afterNumber = false, seenPoint = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c == '\\' && i + 1 < pattern.size()) {
            // Escaped literal: copy the next character (a whole UTF-8 sequence).
            size_t len = 1;
            unsigned char lead = static_cast<unsigned char>(pattern[i + 1]);
            if (lead >= 0xF0)
                len = 4;
            else if (lead >= 0xE0)
                len = 3;
            else if (lead >= 0xC0)
                len = 2;
            std::string_view lit = pattern.substr(i + 1, len);
            (inNumber || afterNumber ? suffix : prefix) += lit;
            if (inNumber) afterNumber = true, inNumber = false;
            i += len;
            continue;
        }
        bool numberChar = !afterNumber && (isDigitPlaceholder(c) || c == '.' || (c == ',' && inNumber));
        if (numberChar) {
            inNumber = true;
            if (c == '.') {
                seenPoint = true;
            } else if (seenPoint) {
                if (c != ',') fracPattern += c;
            } else {
                intPattern += c;
            }
            continue;
        }
        if (c == '%') percent = true;
        if (inNumber) afterNumber = true, inNumber = false;
        (afterNumber ? suffix : prefix) += c;
    }

    int minInt = 0;
    bool grouping = false;
    for (size_t i = 0; i < intPattern.size(); ++i) {
        if (intPattern[i] == '0') ++minInt;
        // A comma between digit placeholders groups thousands.
        if (intPattern[i] == ',' && i + 1 < intPattern.size()) grouping = true;
    }
    int decimals = static_cast<int>(fracPattern.size());
    int minFrac = 0;
    for (int i = 0; i < decimals; ++i)
        if (fracPattern[static_cast<size_t>(i)] == '0') minFrac = i + 1;

    if (percent) value *= 100;
    std::string intDigits, fracDigits;
    roundedDigits(value, decimals, intDigits, fracDigits);
    while (static_cast<int>(fracDigits.size()) > minFrac && fracDigits.back() == '0') fracDigits.pop_back();
    bool zero = intDigits.empty() && fracDigits.find_first_not_of('0') == std::string::npos;
    if (static_cast<int>(intDigits.size()) < minInt)
        intDigits.insert(0, static_cast<size_t>(minInt) - intDigits.size(), '0');
    if (grouping && intDigits.size() > 3) {
        std::string grouped;
        for (size_t i = 0; i < intDigits.size(); ++i) {
            if (i > 0 && (intDigits.size() - i) % 3 == 0) grouped += ',';
            grouped += intDigits[i];
        }
        intDigits = grouped;
    }

    std::string out;
    if (value < 0 && !zero) out += '-';
    out += prefix;
    out += intDigits;
    if (seenPoint) {
        out += '.';
        out += fracDigits;
    }
    out += suffix;
    return out;
}

// ---- UTF-8 helpers -------------------------------------------------------------

namespace {

// Decodes the character at pos; invalid bytes come back as themselves with
// valid = false and length 1.
struct Decoded {
    char32_t cp;
    size_t len;
    bool valid;
};

Decoded decodeAt(std::string_view s, size_t pos) {
    unsigned char c = static_cast<unsigned char>(s[pos]);
    if (c < 0x80) return {c, 1, true};
    size_t len = c >= 0xF0 && c < 0xF8 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
    if (len == 0 || c >= 0xF8 || pos + len > s.size()) return {c, 1, false};
    char32_t cp = len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    for (size_t k = 1; k < len; ++k) {
        unsigned char t = static_cast<unsigned char>(s[pos + k]);
        if ((t & 0xC0) != 0x80) return {c, 1, false};
        cp = (cp << 6) | (t & 0x3F);
    }
    return {cp, len, true};
}

// Half-width katakana U+FF61..U+FF9F and their full-width forms.
constexpr char16_t kFullOfHalfKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3,  // FF61-FF68
    0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC,  // FF69-FF70
    0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF,  // FF71-FF78
    0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF,  // FF79-FF80
    0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD,  // FF81-FF88
    0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF,  // FF89-FF90
    0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9, 0x30EA,  // FF91-FF98
    0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,          // FF99-FF9F
};
constexpr char32_t kHalfKanaFirst = 0xFF61;
constexpr char32_t kHalfKanaLast = 0xFF9F;
constexpr char32_t kVoicedMark = 0xFF9E;
constexpr char32_t kSemiVoicedMark = 0xFF9F;

// Full-width form of a half-width kana combined with a following voiced (ﾞ) or
// semi-voiced (ﾟ) mark; 0 when the pair has no single character.
char32_t combineVoiced(char32_t half, char32_t mark) {
    if (half < kHalfKanaFirst || half > kHalfKanaLast) return 0;
    char32_t base = kFullOfHalfKana[half - kHalfKanaFirst];
    if (mark == kVoicedMark) {
        if ((base >= 0x30AB && base <= 0x30C2 && (base - 0x30AB) % 2 == 0) ||  // カ..チ
            base == 0x30C4 || base == 0x30C6 || base == 0x30C8 ||              // ツ テ ト
            (base >= 0x30CF && base <= 0x30DB && (base - 0x30CF) % 3 == 0))    // ハ..ホ
            return base + 1;
        if (base == 0x30A6) return 0x30F4;  // ヴ
        if (base == 0x30EF) return 0x30F7;  // ヷ
        if (base == 0x30F2) return 0x30FA;  // ヺ
        return 0;
    }
    if (mark == kSemiVoicedMark && base >= 0x30CF && base <= 0x30DB && (base - 0x30CF) % 3 == 0)
        return base + 2;
    return 0;
}

// Half-width forms of the katakana block and its punctuation (U+3000..U+30FF),
// one or two characters each; built once from the table above.
struct HalfKanaTable {
    std::array<std::pair<char32_t, char32_t>, 0x100> forms{};
    HalfKanaTable() {
        for (char32_t h = kHalfKanaFirst; h <= kHalfKanaLast; ++h) {
            forms[kFullOfHalfKana[h - kHalfKanaFirst] - 0x3000] = {h, 0};
            for (char32_t mark : {kVoicedMark, kSemiVoicedMark})
                if (char32_t full = combineVoiced(h, mark)) forms[full - 0x3000] = {h, mark};
        }
    }
};

// Half-width form of a full-width character (up to two characters); false when none.
bool halfOf(char32_t cp, char32_t& first, char32_t& second) {
    second = 0;
    if (cp >= 0xFF01 && cp <= 0xFF5E) {
        first = cp - 0xFF01 + 0x21;
        return true;
    }
    if (cp == 0x3000) {
        first = ' ';
        return true;
    }
    if (cp == 0x201C || cp == 0x201D) {
        first = '"';
        return true;
    }
    if (cp > 0x3000 && cp <= 0x30FF) {
        static const HalfKanaTable table;
        const auto& form = table.forms[cp - 0x3000];
        if (form.first == 0) return false;
        first = form.first;
        second = form.second;
        return true;
    }
    return false;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

size_t CharacterCount(std::string_view text) {
    size_t n = 0;
    for (size_t pos = 0; pos < text.size(); pos += decodeAt(text, pos).len) ++n;
    return n;
}

std::string_view CharacterAt(std::string_view text, size_t n) {
    size_t index = 1;
    for (size_t pos = 0; pos < text.size();) {
        size_t len = decodeAt(text, pos).len;
        if (index == n) return text.substr(pos, len);
        pos += len;
        ++index;
    }
    return {};
}

std::string Characters(std::string_view text, size_t from, size_t count) {
    std::string out;
    for (size_t i = 0; i < count; ++i) out += CharacterAt(text, from + i);
    return out;
}

std::string ToHalfWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        Decoded d = decodeAt(text, pos);
        char32_t first, second;
        if (d.valid && d.cp >= 0x80 && halfOf(d.cp, first, second)) {
            AppendUtf8(out, first);
            if (second) AppendUtf8(out, second);
        } else {
            out.append(text.substr(pos, d.len));
        }
        pos += d.len;
    }
    return out;
}

std::string ToFullWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (size_t pos = 0; pos < text.size();) {
        Decoded d = decodeAt(text, pos);
        if (!d.valid) {
            out.append(text.substr(pos, 1));
            pos += 1;
            continue;
        }
        char32_t cp = d.cp;
        pos += d.len;
        if (cp == ' ') {
            AppendUtf8(out, 0x3000);
        } else if (cp >= 0x21 && cp <= 0x7E) {
            AppendUtf8(out, cp - 0x21 + 0xFF01);
        } else if (cp >= kHalfKanaFirst && cp <= kHalfKanaLast) {
            if (pos < text.size()) {
                Decoded next = decodeAt(text, pos);
                char32_t combined = next.valid ? combineVoiced(cp, next.cp) : 0;
                if (combined) {
                    AppendUtf8(out, combined);
                    pos += next.len;
                    continue;
                }
            }
            AppendUtf8(out, kFullOfHalfKana[cp - kHalfKanaFirst]);
        } else {
            out.append(text.substr(pos - d.len, d.len));
        }
    }
    return out;
}

std::string ScreenText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\\')
            out += "\u00a5";
        else
            out += c;
    }
    return out;
}

}  // namespace veltrix
