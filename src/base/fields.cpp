#include "base/fields.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/encoding.h"
#include "base/trim.h"

namespace veltrix {

std::optional<FieldReader> FieldReader::FromFile(const std::filesystem::path& path) {
    auto bytes = ReadFileBytes(path);
    if (!bytes) return std::nullopt;
    auto text = Cp932ToUtf8(*bytes);
    if (!text) return std::nullopt;
    return FieldReader(std::move(*text));
}

bool FieldReader::read(std::string& field) {
    // Hot path of every store reader: fields are short, so plain loops beat
    // library searches; one copy per field.
    const char* const begin = text_.data();
    const char* const end = begin + text_.size();
    const char* p = begin + pos_;
    if (p >= end) return false;
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    auto isDelimiter = [](char c) { return c == ',' || c == '\r' || c == '\n'; };
    if (p < end && *p == '"') {
        const char* start = ++p;
        while (p < end && *p != '"') ++p;
        field.assign(start, static_cast<size_t>(p - start));
        if (p < end) ++p;
        // Text between the closing quote and the delimiter is dropped.
        while (p < end && !isDelimiter(*p)) ++p;
    } else {
        const char* start = p;
        while (p < end && !isDelimiter(*p)) ++p;
        const char* last = p;
        while (last > start && (last[-1] == ' ' || last[-1] == '\t')) --last;
        field.assign(start, static_cast<size_t>(last - start));
    }
    // The delimiter: a comma continues the line, CR LF (or a lone CR or LF) ends it.
    if (p >= end) {
        endedLine_ = true;
    } else if (*p == ',') {
        ++p;
        endedLine_ = false;
    } else {
        if (*p == '\r') ++p;
        if (p < end && *p == '\n') ++p;
        endedLine_ = true;
    }
    pos_ = static_cast<size_t>(p - begin);
    return true;
}

std::optional<std::string> FieldReader::next() {
    std::string f;
    if (!read(f)) return std::nullopt;
    return f;
}

bool FieldReader::readRecord(std::vector<std::string>& fields) {
    fields.clear();
    if (eof()) return false;
    std::string f;
    do {
        if (!read(f)) break;
        fields.push_back(f);
    } while (!endedLine_);
    return true;
}

bool FieldReader::readLine(std::string& line) {
    line.clear();
    if (eof()) return false;
    size_t end = pos_;
    while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n') ++end;
    line.assign(text_, pos_, end - pos_);
    if (end < text_.size() && text_[end] == '\r') ++end;
    if (end < text_.size() && text_[end] == '\n') ++end;
    pos_ = end;
    endedLine_ = true;
    return true;
}

namespace {
bool breaksCell(char c) { return c == '"' || c == '\r' || c == '\n'; }

void cleanInPlace(char* p, char* end) {
    for (; p != end; ++p)
        if (breaksCell(*p)) *p = ' ';
}
}  // namespace

void CleanTextCell(std::string& text) {
    // Quote, CR and LF are single bytes that no multi-byte UTF-8 sequence holds.
    cleanInPlace(text.data(), text.data() + text.size());
}

void FieldWriter::separate() {
    if (lineStarted_) text_ += ',';
    lineStarted_ = true;
}

FieldWriter& FieldWriter::quoted(std::string_view text) {
    separate();
    text_ += '"';
    const size_t at = text_.size();
    text_ += text;
    cleanInPlace(text_.data() + at, text_.data() + text_.size());
    text_ += '"';
    return *this;
}

FieldWriter& FieldWriter::quoted(std::span<const std::string> texts) {
    // The weekly files hold hundreds of thousands of fields: one resize for
    // the run of them rather than four appends each.
    size_t length = 0;
    for (const std::string& text : texts) length += text.size() + 3;
    const size_t at = text_.size();
    text_.resize(at + length);
    char* p = text_.data() + at;
    for (const std::string& text : texts) {
        if (lineStarted_) *p++ = ',';
        lineStarted_ = true;
        *p++ = '"';
        char* const cell = p;
        p += text.copy(p, text.size());
        cleanInPlace(cell, p);
        *p++ = '"';
    }
    text_.resize(static_cast<size_t>(p - text_.data()));  // a line's first field has no comma
    return *this;
}

FieldWriter& FieldWriter::bare(std::string_view text) {
    separate();
    text_ += text;
    return *this;
}

FieldWriter& FieldWriter::integer(long long value) { return bare(std::to_string(value)); }

FieldWriter& FieldWriter::real(double value) { return bare(FormatReal(value)); }

FieldWriter& FieldWriter::endLine() {
    text_ += "\r\n";
    lineStarted_ = false;
    return *this;
}

bool FieldWriter::save(const std::filesystem::path& path) const {
    auto bytes = Utf8ToCp932(text_);
    return bytes && WriteFileBytes(path, *bytes);
}

bool FieldWriter::saveAtomically(const std::filesystem::path& path) const {
    auto bytes = Utf8ToCp932(text_);
    return bytes && WriteFileAtomically(path, *bytes);
}

std::string FormatReal(double value) {
    if (value == 0) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    return buf;
}


std::optional<double> ParseReal(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    if (s.empty()) return std::nullopt;
    size_t i = 0;
    if (s[i] == '+' || s[i] == '-') ++i;
    size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        size_t expDigits = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++expDigits;
        if (expDigits == 0) return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;
    std::string copy(s);
    errno = 0;
    double v = std::strtod(copy.c_str(), nullptr);
    if (errno == ERANGE && std::isinf(v)) return std::nullopt;
    return v;
}

std::optional<long long> ParseInteger(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return std::nullopt;
    long long v = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || ptr != s.data() + s.size()) return std::nullopt;
    return v;
}

}  // namespace veltrix
