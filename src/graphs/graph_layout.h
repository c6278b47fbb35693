#pragma once
// What the three small graph windows (pace, predicted R index, R-index history)
// share: the two colour schemes, their size and places beside the race card,
// when the axis captions fit, the axis range of a scatter, and the box a
// printed graph fills. Window measures are in twips (1/1440 inch).
#include <array>
#include <string>
#include <vector>

#include "base/sheet.h"
#include "graphs/chart_model.h"

namespace veltrix {

inline constexpr int kTwipsPerInch = 1440;
// Every graph window is this big.
inline constexpr int kGraphWindowWidth = 2900;
inline constexpr int kGraphWindowHeight = 3200;
// The axis caption frames are shown only on a window at least this wide and high.
inline constexpr int kGraphCaptionMinimum = 2000;
// A printed graph starts this far from the page's top-left corner.
inline constexpr int kGraphPrintOffset = 1100;
// A value of 99 or more is "not available" and is never drawn.
inline constexpr double kGraphNotAvailable = 99;

// Screen pixels (logical) of a measure in twips at the screen's logical DPI, and back.
int TwipsToPixels(int twips, double dpi);
int PixelsToTwips(int pixels, double dpi);

// The dark scheme is the one a window opens with; a click on the chart switches.
struct GraphScheme {
    Rgb backdrop;  // chart fill, caption frames' background
    Rgb text;      // tick labels, captions, point labels
};
GraphScheme SchemeOf(bool dark);
// A click on a chart: the flag the chart's tag holds turns over.
inline void SwitchScheme(bool& dark) { dark = !dark; }
// Puts the scheme's backdrop and tick label colour on a model.
void ApplyScheme(ChartModel& model, bool dark);

// Whether a window of this size (twips) shows its two axis caption frames.
bool CaptionFramesShown(int widthTwips, int heightTwips);

// The top-left corners (pixels) of the pace graph, the predicted R-index graph
// and the R-index history graph along the right edge of the race card window.
struct GraphPlace {
    int left = 0;
    int top = 0;
};
std::array<GraphPlace, 3> GraphWindowPlaces(int cardLeft, int cardTop, int cardWidth, double dpi);

// A scatter's axis: ticks every 5, 10 or 20 (the first that keeps them few) around
// the values with a unit of room, never narrower than
// [centre - half, centre + half]. Values of 99 or more are left out.
ChartAxis ScatterAxis(const std::vector<double>& values, double centre, double half);

// The size of a printed picture: the page (twips) divided by 1.25 each way is
// the box; a picture wider than the page's proportion fills the box's width,
// any other its height, keeping its own proportion.
struct PrintSize {
    double width = 0;
    double height = 0;
};
PrintSize GraphPrintSize(double pictureWidth, double pictureHeight, double pageWidth, double pageHeight);

}  // namespace veltrix
