#pragma once
// The quoted comma-separated field format shared by every store file.
//
// Reading follows the store format's rule: fields are read one at a time; a
// quoted field ends at its closing quote (anything up to the next comma or line
// end after it is dropped), an unquoted field ends at the next comma or line end
// and loses surrounding blanks; a line end also separates fields. Readers that
// need record boundaries ask whether the last field ended its line.
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veltrix {

class FieldReader {
public:
    // text is UTF-8 (already decoded), or raw CP932 bytes: no double-byte CP932
    // character contains a quote, comma, CR or LF, so the fields are cut at the
    // same places and can be decoded afterwards.
    explicit FieldReader(std::string text) : text_(std::move(text)) {}
    // Reads and decodes a CP932 file; nullopt when it cannot be read or decoded.
    static std::optional<FieldReader> FromFile(const std::filesystem::path& path);

    // End of file: nothing left to read.
    bool eof() const { return pos_ >= text_.size(); }
    // Characters (bytes of the decoded text) not yet read.
    size_t remaining() const { return text_.size() - pos_; }
    // Reads the next field; false when reading past the end of the file.
    bool read(std::string& field);
    // The next field, or nullopt past the end.
    std::optional<std::string> next();
    // True when the field last read was ended by a line end or the end of file.
    bool lastEndedLine() const { return endedLine_; }
    // Reads the fields up to the end of the current line; false at end of file.
    bool readRecord(std::vector<std::string>& fields);
    // Reads the rest of the current line as it stands (no splitting at commas,
    // quotes kept); false at end of file. For lines that are not records.
    bool readLine(std::string& line);

private:
    std::string text_;
    size_t pos_ = 0;
    bool endedLine_ = true;
};

// The store files have no escape for a double quote, and the weekly readers
// cut records at line ends: a text cell holding either would end early or shift
// every cell after it. Each such character becomes a half-width space; any
// other text is left exactly as it is.
void CleanTextCell(std::string& text);

// Builds a store file: quoted text fields, bare numbers, CR LF line ends.
// Every quoted field is written as CleanTextCell leaves it.
class FieldWriter {
public:
    FieldWriter& quoted(std::string_view text);
    // Quoted fields one after another: a record's cells in one call.
    FieldWriter& quoted(std::span<const std::string> texts);
    FieldWriter& bare(std::string_view text);
    FieldWriter& integer(long long value);
    FieldWriter& real(double value);  // up to 15 significant digits, "." separator
    FieldWriter& endLine();
    // Room for this many bytes of text, for a writer about to take a big file.
    void reserve(size_t bytes) { text_.reserve(bytes); }

    const std::string& text() const { return text_; }  // UTF-8
    // Encodes to CP932 and writes; false on an unencodable character or I/O error.
    bool save(const std::filesystem::path& path) const;
    bool saveAtomically(const std::filesystem::path& path) const;

private:
    void separate();
    std::string text_;
    bool lineStarted_ = false;
};

// Number text of a real as the store files write it.
std::string FormatReal(double value);

// Strict numeric parsing of a field: optional surrounding blanks, optional sign,
// digits with an optional decimal part (and exponent for reals). Empty is not a number.
std::optional<double> ParseReal(std::string_view text);
std::optional<long long> ParseInteger(std::string_view text);
inline bool IsNumeric(std::string_view text) { return ParseReal(text).has_value(); }

}  // namespace veltrix
