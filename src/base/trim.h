#pragma once
#include <string>
#include <string_view>

namespace veltrix {

// text without the half-width blanks around it (the grids pad their cells with them).
inline std::string TrimSpaces(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// text without the blanks around it, half-width spaces and tabs (hand-edited
// files and the fixed-width fields of records).
inline std::string_view TrimBlanks(std::string_view text) {
    // A plain loop: the number readers trim every field they read.
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace veltrix
