#pragma once
// The service may answer in any of the Japanese encodings in use; the stored
// file is CP932 with CR LF. The encoding is found from the bytes alone, the
// same way on every system.
#include <optional>
#include <string>
#include <string_view>

namespace veltrix {

enum class JapaneseEncoding { Ascii, ShiftJis, EucJp, Iso2022Jp, Utf8 };

// The encoding of the bytes: a UTF-8 byte-order mark; seven-bit text, with
// ISO-2022-JP's escapes or without any; else the one of UTF-8, CP932 and
// EUC-JP the bytes are valid in (CP932 and EUC-JP both: the reading with fewer
// half-width katakana). nullopt when none holds.
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

// EUC-JP in the Microsoft form (the NEC and IBM characters of CP932 text) to
// CP932 and back, by tables made once from glibc's iconv
// (tools/charset_tables): each character as the Linux program stored it when
// it read the text as Unicode and wrote it as CP932. nullopt for a sequence
// that is not valid or has no form in the other encoding.
std::optional<std::string> EucJpToCp932(std::string_view bytes);
std::optional<std::string> Cp932ToEucJp(std::string_view bytes);

}  // namespace veltrix
