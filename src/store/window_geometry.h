#pragma once
// The main window's place, size and splitter, kept between runs in a small file
// of their own beside the settings file (whose reader refuses unknown keys).
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrix {

inline constexpr const char* kGeometryFileName = "VELTRIX.geometry";

struct WindowGeometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    std::vector<int> splitter;  // pane sizes, top to bottom
    bool operator==(const WindowGeometry&) const = default;
};

// The layout as text: "Key=value" lines (Left, Top, Width, Height, Maximized,
// Splitter as comma-separated sizes), CR LF.
std::string FormatWindowGeometry(const WindowGeometry& geometry);
// nullopt for anything but a complete, plausible layout: a damaged file is
// ignored (the window opens at its default place), never an error.
std::optional<WindowGeometry> ParseWindowGeometry(std::string_view text);

std::optional<WindowGeometry> ReadWindowGeometry(const std::filesystem::path& programFolder);
// Replaces the file atomically. True on failure.
bool WriteWindowGeometry(const std::filesystem::path& programFolder, const WindowGeometry& geometry);

}  // namespace veltrix
