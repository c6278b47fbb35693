#pragma once
// Where the point labels of a scatter go: beside their points, inside the plot
// and clear of each other; a label that finds no such place is shortened to its
// first word (the horse number of "No. name"). Measures in the chart's pixels.
#include <string>
#include <vector>

namespace veltrix {

struct LabelBox {
    double x = 0;  // the point, in pixels
    double y = 0;
    double width = 0;  // of the whole label
    double height = 0;
    double shortWidth = 0;  // of the shortened label
    double shortHeight = 0;
};

struct PlotArea {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

struct LabelPlace {
    double left = 0;  // top-left corner of the label, in pixels
    double top = 0;
    bool shortened = false;
    bool operator==(const LabelPlace&) const = default;
};

// The first word of a label ("3 ベガ" -> "3"); the label itself when it has one word.
std::string ShortPointLabel(const std::string& label);

// In order, each label takes the first place beside its point (right, left,
// above, below, then the diagonals, gap pixels away) that lies inside the
// plot and overlaps neither a label placed before nor a point; failing that
// its short form does the same; failing that the short form goes where it
// overlaps least, pushed inside the plot.
std::vector<LabelPlace> LayoutPointLabels(const std::vector<LabelBox>& labels, const PlotArea& plot,
                                          double gap);

}  // namespace veltrix
