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

}  // namespace veltrix
