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

std::string SetGeometryLine(std::string_view text, std::string_view key, std::string_view value) {
    std::string out;
    bool set = false;
    for (std::string_view line : SplitLines(text)) {
        if (line.empty()) continue;
        const size_t eq = line.find('=');
        if (eq != std::string_view::npos && line.substr(0, eq) == key) {
            if (set) continue;
            out.append(key).append("=").append(value).append("\r\n");
            set = true;
            continue;
        }
        out.append(line).append("\r\n");
    }
    if (!set) out.append(key).append("=").append(value).append("\r\n");
    return out;
}

std::optional<WindowPlace> ParseWindowPlace(std::string_view text, std::string_view window) {
    if (text.size() > kMaxFileSize || window.empty()) return std::nullopt;
    for (std::string_view line : SplitLines(text)) {
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos || line.substr(0, eq) != window) continue;
        std::string_view value = line.substr(eq + 1);
        int v[4] = {};
        for (int i = 0; i < 4; ++i) {
            const size_t comma = i < 3 ? value.find(',') : value.size();
            if (comma == std::string_view::npos) return std::nullopt;
            const auto n = i < 2 ? boundedInt(value.substr(0, comma), -kMaxCoordinate, kMaxCoordinate)
                                 : boundedInt(value.substr(0, comma), 1, kMaxCoordinate);
            if (!n) return std::nullopt;
            v[i] = *n;
            value = comma < value.size() ? value.substr(comma + 1) : std::string_view();
        }
        return WindowPlace{v[0], v[1], v[2], v[3]};
    }
    return std::nullopt;
}

std::optional<WindowPlace> PlaceOnScreens(const WindowPlace& kept, const std::vector<WindowPlace>& screens) {
    const long cx = kept.left + kept.width / 2;
    const long cy = kept.top + kept.height / 2;
    for (const WindowPlace& s : screens) {
        if (cx < s.left || cy < s.top || cx >= s.left + s.width || cy >= s.top + s.height) continue;
        WindowPlace p = kept;
        p.width = std::min(p.width, s.width);
        p.height = std::min(p.height, s.height);
        return p;
    }
    return std::nullopt;
}

namespace {

std::string geometryText(const std::filesystem::path& programFolder) {
    const auto path = programFolder / kGeometryFileName;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || std::filesystem::file_size(path, ec) > kMaxFileSize)
        return {};
    return ReadFileBytes(path).value_or(std::string());
}

}  // namespace

std::optional<WindowPlace> ReadWindowPlace(const std::filesystem::path& programFolder,
                                           std::string_view window) {
    return ParseWindowPlace(geometryText(programFolder), window);
}

bool WriteWindowPlace(const std::filesystem::path& programFolder, std::string_view window,
                      const WindowPlace& p) {
    const std::string value = std::to_string(p.left) + "," + std::to_string(p.top) + "," +
                              std::to_string(p.width) + "," + std::to_string(p.height);
    return !WriteFileAtomically(programFolder / kGeometryFileName,
                                SetGeometryLine(geometryText(programFolder), window, value));
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
    // ASCII only, so the text is already CP932. The graph windows' lines stay.
    std::string text = geometryText(programFolder);
    const std::string lines = FormatWindowGeometry(geometry);
    for (std::string_view line : SplitLines(lines)) {
        const size_t eq = line.find('=');
        if (eq != std::string_view::npos)
            text = SetGeometryLine(text, line.substr(0, eq), line.substr(eq + 1));
    }
    return !WriteFileAtomically(programFolder / kGeometryFileName, text);
}

}  // namespace veltrix
