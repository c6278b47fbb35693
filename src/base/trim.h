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
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace veltrix
