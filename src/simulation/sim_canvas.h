#pragma once
// The pictures of the animation, drawn by the program itself into a plain
// pixel buffer: the course in nine frames, a horse with its jockey in nine
// gallop frames plus standing (0) and stretched (10), the change-point marker in
// two pictures. The windows that show them take their shapes from rectangle
// lists compiled in here; the GUI only puts the buffers on screen.
#include <cstdint>
#include <span>
#include <vector>

#include "simulation/sim_runner.h"

namespace veltrix {

struct SimRect {
    int x = 0, y = 0, w = 0, h = 0;
};
using Argb = std::uint32_t;

// A rectangle of ARGB pixels (0xAARRGGBB, premultiplied is not needed: alpha is 0 or 255).
class SimCanvas {
public:
    SimCanvas() = default;
    SimCanvas(int width, int height) { resize(width, height); }
    void resize(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    const Argb* data() const { return pixels_.data(); }
    Argb* data() { return pixels_.data(); }
    Argb pixel(int x, int y) const;

    void clear(Argb colour);
    // Clipped to the canvas.
    void fillRect(int x, int y, int w, int h, Argb colour);
    void copyFrom(const SimCanvas& other);  // same size: a blit of the whole surface

private:
    int width_ = 0, height_ = 0;
    std::vector<Argb> pixels_;
};

inline constexpr int kHorseWidth = 26;   // the nose is at the right edge
inline constexpr int kHorseHeight = 15;  // one lane
inline constexpr int kSimRunnerColours = 18;
inline constexpr int kMarkerWidth = 12;

// The silks colour of the runner of a row (1-based, wraps after 18).
Argb RunnerColour(int row);

// The parts of a horse picture; gait 0..10.
struct HorsePart {
    SimRect rect;
    enum class Paint { Horse, Dark, Silks, Cap } paint;
};
std::span<const HorsePart> HorsePicture(int gait);

// Runner window: the course from the window's left edge to past the finish,
// over the lanes of rows 1..lanes. Its shape is this one rectangle.
SimRect RunnerWindowRect(const SimGeometry& course, int lanes);
// Change-point window, in its own pixels: a pole as high as the course with a
// flag on top. Its shape is the rectangle list.
std::span<const SimRect> MarkerShape();

// True when the rectangles make a shape a window can take (at least one, none
// empty or negative).
bool ShapeIsBuildable(std::span<const SimRect> rects);

void DrawCourse(SimCanvas& canvas, const SimGeometry& course, const SimRect& window, int background);
// x is the nose, y the top of the lane, both in window pixels.
void DrawHorse(SimCanvas& canvas, int x, int y, int gait, Argb silks);
void DrawMarker(SimCanvas& canvas, int picture);

// Draws the frames into two canvases: the runner window's (course and horses)
// and the change-point window's. The marker's x is remembered for the window
// that moves it.
class CanvasSurface final : public SimSurface {
public:
    CanvasSurface(const SimGeometry& course, int lanes);
    void beginFrame(int background) override;
    void drawRunner(const SimRunner& runner, int x, int y) override;
    void drawChangePoint(int x, int picture) override;
    void endFrame() override {}

    const SimRect& window() const { return window_; }
    const SimCanvas& runners() const { return runners_; }
    const SimCanvas& marker() const { return marker_; }
    // Where the change-point window stands: the pole at the change point, the
    // pennant above the course.
    SimRect markerRect() const;

private:
    SimGeometry course_;
    SimRect window_;
    SimCanvas runners_;
    SimCanvas marker_;
    int markerX_ = 0;
    int markerPicture_ = -1;
};

}  // namespace veltrix
