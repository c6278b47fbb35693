#include "simulation/sim_canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace veltrix {

void SimCanvas::resize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0);
}

Argb SimCanvas::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void SimCanvas::clear(Argb colour) { std::fill(pixels_.begin(), pixels_.end(), colour); }

void SimCanvas::fillRect(int x, int y, int w, int h, Argb colour) {
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = std::min(x + w, width_), bottom = std::min(y + h, height_);
    if (left >= right || top >= bottom) return;
    for (int row = top; row < bottom; ++row) {
        Argb* line = pixels_.data() + static_cast<size_t>(row) * static_cast<size_t>(width_);
        std::fill(line + left, line + right, colour);
    }
}

void SimCanvas::copyFrom(const SimCanvas& other) {
    if (other.width_ == width_ && other.height_ == height_)
        std::copy(other.pixels_.begin(), other.pixels_.end(), pixels_.begin());
}

namespace {

constexpr Argb kHorseBrown = 0xFF8B5A2B;
constexpr Argb kHorseDark = 0xFF3A2410;
constexpr Argb kCapWhite = 0xFFFFFFFF;
constexpr Argb kTurf = 0xFF2E7D32;
constexpr Argb kTurfLight = 0xFF388E3C;
constexpr Argb kRail = 0xFFF5F5F5;
constexpr Argb kStartLine = 0xFFFFFFFF;
constexpr Argb kFinishLine = 0xFFE53935;
constexpr Argb kPole = 0xFFFFFFFF;
constexpr std::array<Argb, 2> kFlag = {0xFFFF1744, 0xFFFFEA00};

// Silks: distinct on the turf and from each other.
constexpr std::array<Argb, kSimRunnerColours> kSilks = {
    0xFFFFFFFF, 0xFF212121, 0xFFFF0033, 0xFF0000FF, 0xFFFFFF00, 0xFF33FF00,
    0xFFFFCC33, 0xFFFF66CC, 0xFF00E5FF, 0xFF8E24AA, 0xFFFF6D00, 0xFF795548,
    0xFF9E9E9E, 0xFF1DE9B6, 0xFFC51162, 0xFF304FFE, 0xFFAEEA00, 0xFFFFAB91};

using Paint = HorsePart::Paint;

// The fixed parts: tail, body, neck, head, jockey.
constexpr std::array<HorsePart, 9> kBody = {{
    {{1, 5, 5, 2}, Paint::Dark},  // tail
    {{1, 7, 2, 2}, Paint::Dark},
    {{5, 5, 14, 4}, Paint::Horse},  // body
    {{18, 3, 3, 4}, Paint::Horse},  // neck
    {{18, 2, 2, 1}, Paint::Dark},   // mane
    {{20, 2, 4, 2}, Paint::Horse},  // head
    {{23, 3, 3, 2}, Paint::Horse},  // muzzle
    {{12, 2, 6, 3}, Paint::Silks},  // jockey
    {{14, 0, 3, 2}, Paint::Cap},
}};

// Legs: upper part at x, lower part and hoof swung by dx.
constexpr std::array<int, 4> kLegX = {6, 8, 16, 18};  // hind far, hind near, fore far, fore near
constexpr std::array<double, 4> kLegPhase = {0.0, 0.12, 0.5, 0.62};

std::vector<HorsePart> buildHorse(int gait) {
    std::vector<HorsePart> parts(kBody.begin(), kBody.end());
    for (size_t leg = 0; leg < kLegX.size(); ++leg) {
        const int x = kLegX[leg];
        const bool fore = leg >= 2;
        int dx = 0, lift = 0;
        if (gait == kSimGaitStretched) {
            dx = fore ? 3 : -3;  // flying: fore legs reach out, hind legs push back
            lift = 1;
        } else if (gait >= 1 && gait <= 9) {
            const double a = 2 * std::numbers::pi * ((gait - 1) / 9.0 + kLegPhase[leg]);
            dx = static_cast<int>(std::lround(3 * std::sin(a)));
            lift = std::cos(a) > 0.3 ? 1 : 0;
        }
        parts.push_back({{x, 9, 2, 2}, Paint::Horse});
        parts.push_back({{x + dx / 2, 11, 1, 3 - lift}, Paint::Horse});
        parts.push_back({{x + dx, 14 - lift, 2, 1}, Paint::Dark});
    }
    return parts;
}

const std::array<std::vector<HorsePart>, 11>& horses() {
    static const std::array<std::vector<HorsePart>, 11> pictures = [] {
        std::array<std::vector<HorsePart>, 11> p;
        for (int g = 0; g <= 10; ++g) p[static_cast<size_t>(g)] = buildHorse(g);
        return p;
    }();
    return pictures;
}

// The change-point window: a pole the height of the tallest course (30 lanes)
// and a pennant on top; a shorter window cuts the pole.
constexpr std::array<SimRect, 4> kMarkerShape = {{
    {0, 0, 2, 30 * 15 + 40},
    {2, 0, 10, 2},
    {2, 2, 7, 2},
    {2, 4, 4, 2},
}};

constexpr int kCourseMarginTop = 8;
constexpr int kCourseMarginBottom = 6;
constexpr int kStripePeriod = 27;  // nine frames of 3 pixels: the ninth meets the first
constexpr int kStripeWidth = 13;

}  // namespace

Argb RunnerColour(int row) {
    const int i = ((row - 1) % kSimRunnerColours + kSimRunnerColours) % kSimRunnerColours;
    return kSilks[static_cast<size_t>(i)];
}

std::span<const HorsePart> HorsePicture(int gait) {
    return horses()[static_cast<size_t>(std::clamp(gait, 0, 10))];
}

SimRect RunnerWindowRect(const SimGeometry& course, int lanes) {
    const int top = course.firstLane - kCourseMarginTop;
    const int bottom = course.lane(std::max(lanes, 1)) + kHorseHeight + kCourseMarginBottom;
    return {0, top, course.finish + kHorseWidth + 14, bottom - top};
}

std::span<const SimRect> MarkerShape() { return kMarkerShape; }

bool ShapeIsBuildable(std::span<const SimRect> rects) {
    if (rects.empty()) return false;
    return std::all_of(rects.begin(), rects.end(), [](const SimRect& r) { return r.w > 0 && r.h > 0; });
}

void DrawCourse(SimCanvas& canvas, const SimGeometry& course, const SimRect& window, int background) {
    canvas.clear(kTurf);
    // The stripes run backwards, so the field seems to move under the runners.
    const int shift = ((background - 1) % 9) * (kStripePeriod / 9);
    for (int x = -kStripePeriod + (kStripePeriod - shift) % kStripePeriod; x < canvas.width();
         x += kStripePeriod)
        canvas.fillRect(x, 0, kStripeWidth, canvas.height(), kTurfLight);
    canvas.fillRect(0, 1, canvas.width(), 2, kRail);
    canvas.fillRect(0, canvas.height() - 3, canvas.width(), 2, kRail);
    canvas.fillRect(course.start - window.x - 1, 0, 2, canvas.height(), kStartLine);
    canvas.fillRect(course.finish - window.x - 1, 0, 3, canvas.height(), kFinishLine);
}

void DrawHorse(SimCanvas& canvas, int x, int y, int gait, Argb silks) {
    const int left = x - kHorseWidth + 1;
    for (const HorsePart& p : HorsePicture(gait)) {
        Argb colour = kHorseBrown;
        switch (p.paint) {
            case Paint::Horse:
                colour = kHorseBrown;
                break;
            case Paint::Dark:
                colour = kHorseDark;
                break;
            case Paint::Silks:
                colour = silks;
                break;
            case Paint::Cap:
                colour = kCapWhite;
                break;
        }
        canvas.fillRect(left + p.rect.x, y + p.rect.y, p.rect.w, p.rect.h, colour);
    }
}

void DrawMarker(SimCanvas& canvas, int picture) {
    canvas.clear(0);
    const Argb flag = kFlag[picture == 0 ? 0 : 1];
    for (size_t i = 0; i < kMarkerShape.size(); ++i) {
        const SimRect& r = kMarkerShape[i];
        canvas.fillRect(r.x, r.y, r.w, r.h, i == 0 ? kPole : flag);
    }
}

CanvasSurface::CanvasSurface(const SimGeometry& course, int lanes)
    : course_(course), window_(RunnerWindowRect(course, lanes)) {
    runners_.resize(window_.w, window_.h);
    marker_.resize(kMarkerWidth, window_.h + kCourseMarginTop);
}

SimRect CanvasSurface::markerRect() const {
    return {markerX_, window_.y - kCourseMarginTop, marker_.width(), marker_.height()};
}

void CanvasSurface::beginFrame(int background) { DrawCourse(runners_, course_, window_, background); }

void CanvasSurface::drawRunner(const SimRunner& runner, int x, int y) {
    DrawHorse(runners_, x - window_.x, y - window_.y, runner.gait, RunnerColour(runner.row));
}

void CanvasSurface::drawChangePoint(int x, int picture) {
    markerX_ = x;
    // The marker has two pictures; redraw only when it blinks.
    if (picture != markerPicture_) DrawMarker(marker_, picture);
    markerPicture_ = picture;
}

}  // namespace veltrix
