#include "store/window_geometry.h"

#include <algorithm>
#include <string_view>

#include "base/encoding.h"
#include "base/fields.h"

namespace veltrix {

namespace {

constexpr int kMaxCoordinate = 100000;
constexpr int kMinSize = 100;
constexpr size_t kMaxFileSize = 4096;  // a few short lines; anything larger is not this file

std::optional<int> boundedInt(std::string_view text, int low, int high) {
    auto v = ParseInteger(text);
    if (!v || *v < low || *v > high) return std::nullopt;
    return static_cast<int>(*v);
}

}  // namespace

std::string FormatWindowGeometry(const WindowGeometry& g) {
    std::string out = "Left=" + std::to_string(g.left) + "\r\nTop=" + std::to_string(g.top) +
                      "\r\nWidth=" + std::to_string(g.width) + "\r\nHeight=" + std::to_string(g.height) +
                      "\r\nMaximized=" + (g.maximized ? "1" : "0") + "\r\nSplitter=";
    for (size_t i = 0; i < g.splitter.size(); ++i) {
        if (i > 0) out += ',';
        out += std::to_string(g.splitter[i]);
    }
    return out + "\r\n";
}

std::optional<WindowGeometry> ParseWindowGeometry(std::string_view text) {
    if (text.size() > kMaxFileSize) return std::nullopt;
    WindowGeometry g;
    unsigned seen = 0;  // one bit per key: all six must be there
    for (std::string_view line : SplitLines(text)) {
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view key = line.substr(0, eq);
        const std::string_view value = line.substr(eq + 1);
        std::optional<int> v;
        if (key == "Left" || key == "Top") {
            if (!(v = boundedInt(value, -kMaxCoordinate, kMaxCoordinate))) return std::nullopt;
            (key == "Left" ? g.left : g.top) = *v;
            seen |= key == "Left" ? 1u : 2u;
        } else if (key == "Width" || key == "Height") {
            if (!(v = boundedInt(value, kMinSize, kMaxCoordinate))) return std::nullopt;
            (key == "Width" ? g.width : g.height) = *v;
            seen |= key == "Width" ? 4u : 8u;
        } else if (key == "Maximized") {
            if (value != "0" && value != "1") return std::nullopt;
            g.maximized = value == "1";
            seen |= 16u;
        } else if (key == "Splitter") {
            g.splitter.clear();
            size_t start = 0;
            while (!value.empty() && start <= value.size()) {
                const size_t comma = std::min(value.find(',', start), value.size());
                if (!(v = boundedInt(value.substr(start, comma - start), 0, kMaxCoordinate)))
                    return std::nullopt;
                g.splitter.push_back(*v);
                if (g.splitter.size() > 8) return std::nullopt;
                start = comma + 1;
            }
            seen |= 32u;
        }
    }
    if (seen != 63u) return std::nullopt;
    return g;
}

std::optional<WindowGeometry> ReadWindowGeometry(const std::filesystem::path& programFolder) {
    const auto path = programFolder / kGeometryFileName;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || std::filesystem::file_size(path, ec) > kMaxFileSize)
        return std::nullopt;
    auto bytes = ReadFileBytes(path);
    if (!bytes) return std::nullopt;
    return ParseWindowGeometry(*bytes);
}

bool WriteWindowGeometry(const std::filesystem::path& programFolder, const WindowGeometry& geometry) {
    // ASCII only, so the text is already CP932.
    return !WriteFileAtomically(programFolder / kGeometryFileName, FormatWindowGeometry(geometry));
}

}  // namespace veltrix
