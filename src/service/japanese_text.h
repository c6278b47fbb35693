#pragma once
// The service may answer in any of the Japanese encodings in use; the stored
// file is CP932 with CR LF. The encoding is detected (uchardet), never guessed.
#include <optional>
#include <string>
#include <string_view>

namespace veltrix {

enum class JapaneseEncoding { Ascii, ShiftJis, EucJp, Iso2022Jp, Utf8 };

// The encoding uchardet finds in the bytes; nullopt when it finds none of the
// Japanese ones (or nothing at all).
std::optional<JapaneseEncoding> DetectJapaneseEncoding(std::string_view bytes);

// The bytes in that encoding as UTF-8 (a UTF-8 byte-order mark dropped);
// nullopt for bytes that are not valid in it.
std::optional<std::string> JapaneseToUtf8(std::string_view bytes, JapaneseEncoding encoding);

// CR LF, lone LF and lone CR all become CR LF.
std::string NormaliseLineEnds(std::string_view text);

// The service's answer as the text of the stored file: detected, converted and
// with CR LF line ends, as UTF-8. nullopt when the encoding cannot be detected
// or the bytes do not convert, so no file of garbage is ever written.
std::optional<std::string> ResponseText(std::string_view bytes);

// ISO-2022-JP and EUC-JP hold the same character sets in other byte forms:
// ESC $ @ / ESC $ B (JIS X 0208, with the NEC row 13 that CP932 text carries),
// ESC ( I (half-width katakana), ESC $ ( D (JIS X 0212), ESC ( B / ESC ( J
// (ASCII). nullopt for an escape or byte outside those.
std::optional<std::string> Iso2022JpToEucJp(std::string_view bytes);
std::optional<std::string> EucJpToIso2022Jp(std::string_view bytes);

// iconv between two named encodings; nullopt for bytes that do not convert.
std::optional<std::string> ConvertCharset(std::string_view bytes, const char* to, const char* from);

}  // namespace veltrix
