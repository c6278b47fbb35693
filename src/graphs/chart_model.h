#pragma once
// A chart as plain values: what the core computes for every chart of the
// program (series, points, colours, labels, axis ranges). src/ui draws it.
#include <optional>
#include <string>
#include <vector>

#include "base/sheet.h"

namespace veltrix {

enum class SeriesKind {
    Bar,      // one bar per category; the point's x is the category index (0-based)
    Line,     // points joined in order
    Scatter,  // points alone
};

struct ChartPoint {
    double x = 0;
    double y = 0;
};

struct ChartSeries {
    std::string name;
    SeriesKind kind = SeriesKind::Bar;
    Rgb colour;
    std::vector<ChartPoint> points;
    // XY series: one text per point, drawn beside it (empty: no labels).
    std::vector<std::string> labels;
    Rgb labelColour;
};

struct ChartAxis {
    double min = 0;
    double max = 0;
    int tickCount = 5;                 // lines across the chart, both ends included
    std::string labelFormat = "%.0f";  // printf pattern of the tick labels
    std::string title;
    bool labelsVisible = true;
    bool gridLines = true;  // a line across the chart at each tick or category
};

struct ChartModel {
    std::string title;
    // Bar charts: one label per category along the x axis. XY charts: empty, and x is used.
    std::vector<std::string> categories;
    ChartAxis x;
    ChartAxis y;
    std::vector<ChartSeries> series;
    bool legend = false;
    // The chart's fill and the colour of the tick labels; nullopt keeps the adapter's defaults.
    std::optional<Rgb> backdrop;
    std::optional<Rgb> tickLabelColour;
};

}  // namespace veltrix
