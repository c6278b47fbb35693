#pragma once
// Number patterns and character-width conversion of the text layer.
#include <string>
#include <string_view>

namespace veltrix {

// Formats a number with a pattern: "0" a digit always shown, "#" a digit shown
// only when significant, "," thousands grouping (between digit placeholders),
// "." the decimal point, "%" the value times 100 followed by the sign. Text
// before and after the digits is copied; "\x" copies x. Rounds half away from
// zero at the last shown digit, working on the 15 significant digits a double
// holds, so 2.675 with "0.00" gives "2.68". Negative values get a leading "-"
// unless they round to zero. Examples: ("#.0", 0.5) ".5"; ("0.0", 0.5) "0.5";
// ("#", 0) ""; ("#,##0", 1234.5) "1,235"; ("0%", 0.295) "30%".
std::string FormatNumber(double value, std::string_view pattern);

// Text as the user reads it on screen and on paper: the byte 0x5C, which the
// files and JV-Data hold for the yen sign (CP932), shown as "¥". Files keep
// the byte; only what is drawn changes.
std::string ScreenText(std::string_view text);

// Width conversion of UTF-8 text. Half-width: full-width ASCII forms
// (U+FF01..U+FF5E) to ASCII, the ideographic space to a space, full-width
// katakana (voiced and semi-voiced ones as two characters, ガ -> ｶﾞ) and the
// punctuation 。「」、・ー゛゜ to their half-width forms. The curly double quotes
// count as the full-width double quote, as in the CP932 character set. Characters
// without a half-width form pass unchanged.
std::string ToHalfWidth(std::string_view text);
// Full-width: the reverse; a half-width kana followed by ﾞ or ﾟ becomes one
// voiced character where one exists (ｶﾞ -> ガ, ﾊﾟ -> パ, ｳﾞ -> ヴ).
std::string ToFullWidth(std::string_view text);

// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t cp);
// Number of characters (code points) of UTF-8 text; invalid bytes count one each.
size_t CharacterCount(std::string_view text);
// The n-th character (1-based) of UTF-8 text, or empty when the text is shorter.
std::string_view CharacterAt(std::string_view text, size_t n);
// The count characters of UTF-8 text from the from-th on (1-based); fewer when the text is shorter.
std::string Characters(std::string_view text, size_t from, size_t count);

}  // namespace veltrix
