#include "graphs/graph_layout.h"

#include <algorithm>
#include <cmath>

namespace veltrix {

int TwipsToPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

int PixelsToTwips(int pixels, double dpi) {
    if (dpi <= 0) return 0;
    return static_cast<int>(std::lround(pixels * kTwipsPerInch / dpi));
}

GraphScheme SchemeOf(bool dark) {
    if (dark) return {Rgb{96, 96, 96}, kWhite};
    return {kWhite, kBlack};
}

void ApplyScheme(ChartModel& model, bool dark) {
    const GraphScheme scheme = SchemeOf(dark);
    model.backdrop = scheme.backdrop;
    model.tickLabelColour = scheme.text;
    for (ChartSeries& s : model.series) s.labelColour = scheme.text;
}

bool CaptionFramesShown(int widthTwips, int heightTwips) {
    return widthTwips >= kGraphCaptionMinimum && heightTwips >= kGraphCaptionMinimum;
}

std::array<GraphPlace, 3> GraphWindowPlaces(int cardLeft, int cardTop, int cardWidth, double dpi) {
    // Below the race card's menu and labels, one under the other, flush with its right edge.
    const int left = cardLeft + cardWidth - TwipsToPixels(kGraphWindowWidth, dpi);
    return {{{left, cardTop + TwipsToPixels(1150, dpi)},
             {left, cardTop + TwipsToPixels(1150 + 3195, dpi)},
             {left, cardTop + TwipsToPixels(1150 + 6390, dpi)}}};
}

ChartAxis ScatterAxis(const std::vector<double>& values, double centre, double half) {
    double lo = centre - half;
    double hi = centre + half;
    for (double v : values) {
        if (!std::isfinite(v) || v >= kGraphNotAvailable) continue;
        // A point on the edge would have its marker and label cut: one unit of room.
        lo = std::min(lo, v - 1);
        hi = std::max(hi, v + 1);
    }
    // Ticks every 5, 10 or 20, whichever first keeps them few in a small window.
    ChartAxis axis;
    for (double step : {5.0, 10.0, 20.0}) {
        axis.min = std::floor(lo / step) * step;
        axis.max = std::ceil(hi / step) * step;
        if (axis.max <= axis.min) axis.max = axis.min + step;
        const int intervals = static_cast<int>(std::lround((axis.max - axis.min) / step));
        axis.tickCount = intervals + 1;
        if (intervals <= (step == 5.0 ? 4 : 6)) break;
    }
    axis.labelFormat = "%.0f";
    return axis;
}

PrintSize GraphPrintSize(double pictureWidth, double pictureHeight, double pageWidth, double pageHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0 || pageWidth <= 0 || pageHeight <= 0) return {};
    const double a = pictureWidth / pictureHeight;
    const double p = pageWidth / pageHeight;
    const double boxWidth = pageWidth / 1.25;
    const double boxHeight = pageHeight / 1.25;
    if (a > p) return {boxWidth, boxWidth / a};
    return {boxHeight * a, boxHeight};
}

}  // namespace veltrix
