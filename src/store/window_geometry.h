#pragma once
// The main window's place, size and splitter, and the places of the graph
// windows, kept between runs in a small file of their own beside the settings
// file (whose reader refuses unknown keys).
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

// A secondary window's place and size: one line "name=left,top,width,height"
// (the window's object name, e.g. "frmPaceGraph") in the same file. The main
// window's keys and every other line stay as they were.
struct WindowPlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowPlace&) const = default;
};
// nullopt when the file has no such line or a damaged one.
std::optional<WindowPlace> ParseWindowPlace(std::string_view text, std::string_view window);
std::optional<WindowPlace> ReadWindowPlace(const std::filesystem::path& programFolder,
                                           std::string_view window);
// Replaces the file atomically with that one line set. True on failure.
bool WriteWindowPlace(const std::filesystem::path& programFolder, std::string_view window,
                      const WindowPlace& place);
// The text with the line of key set to value (in its place, or added at the end).
std::string SetGeometryLine(std::string_view text, std::string_view key, std::string_view value);

// A kept place is used only when its centre lies on one of the screens (their
// available areas); its size is then bounded by that screen. nullopt: the
// window opens at its default place.
std::optional<WindowPlace> PlaceOnScreens(const WindowPlace& kept, const std::vector<WindowPlace>& screens);

}  // namespace veltrix
