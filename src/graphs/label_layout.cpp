#include "graphs/label_layout.h"

#include <algorithm>
#include <limits>

namespace veltrix {

namespace {

struct Box {
    double left, top, right, bottom;
};

double overlap(const Box& a, const Box& b) {
    const double w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const double h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

bool inside(const Box& b, const PlotArea& plot) {
    return b.left >= plot.left && b.top >= plot.top && b.right <= plot.right && b.bottom <= plot.bottom;
}

std::vector<Box> candidates(double x, double y, double w, double h, double gap) {
    return {{x + gap, y - h / 2, x + gap + w, y + h / 2},   // right
            {x - gap - w, y - h / 2, x - gap, y + h / 2},   // left
            {x - w / 2, y - gap - h, x + w / 2, y - gap},   // above
            {x - w / 2, y + gap, x + w / 2, y + gap + h},   // below
            {x + gap, y - gap - h, x + gap + w, y - gap},   // above right
            {x - gap - w, y - gap - h, x - gap, y - gap},   // above left
            {x + gap, y + gap, x + gap + w, y + gap + h},   // below right
            {x - gap - w, y + gap, x - gap, y + gap + h}};  // below left
}

Box pushedInside(Box b, const PlotArea& plot) {
    const double w = b.right - b.left;
    const double h = b.bottom - b.top;
    b.left = std::max(plot.left, std::min(b.left, plot.right - w));
    b.top = std::max(plot.top, std::min(b.top, plot.bottom - h));
    b.right = b.left + w;
    b.bottom = b.top + h;
    return b;
}

}  // namespace

std::string ShortPointLabel(const std::string& label) {
    const size_t space = label.find(' ');
    return space == std::string::npos ? label : label.substr(0, space);
}

std::vector<LabelPlace> LayoutPointLabels(const std::vector<LabelBox>& labels, const PlotArea& plot,
                                          double gap) {
    std::vector<Box> taken;
    // Every point's marker is kept clear, so no label hides another runner.
    for (const LabelBox& l : labels) taken.push_back({l.x - gap, l.y - gap, l.x + gap, l.y + gap});
    auto cost = [&](const Box& b, size_t self) {
        double sum = 0;
        for (size_t i = 0; i < taken.size(); ++i)
            if (i != self) sum += overlap(b, taken[i]);
        return sum;
    };
    std::vector<LabelPlace> places;
    for (size_t n = 0; n < labels.size(); ++n) {
        const LabelBox& l = labels[n];
        bool placed = false;
        for (const bool shortened : {false, true}) {
            const double w = shortened ? l.shortWidth : l.width;
            const double h = shortened ? l.shortHeight : l.height;
            for (const Box& b : candidates(l.x, l.y, w, h, gap)) {
                if (!inside(b, plot) || cost(b, n) > 0) continue;
                places.push_back({b.left, b.top, shortened});
                taken.push_back(b);
                placed = true;
                break;
            }
            if (placed) break;
        }
        if (placed) continue;
        Box best{};
        double least = std::numeric_limits<double>::max();
        for (const Box& c : candidates(l.x, l.y, l.shortWidth, l.shortHeight, gap)) {
            const Box b = pushedInside(c, plot);
            const double c2 = cost(b, n);
            if (c2 < least) {
                least = c2;
                best = b;
            }
        }
        places.push_back({best.left, best.top, true});
        taken.push_back(best);
    }
    return places;
}

}  // namespace veltrix
