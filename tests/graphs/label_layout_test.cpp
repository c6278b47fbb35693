// The point labels of the predicted R-index graph: beside their points, inside
// the plot, clear of each other and of the points; shortened to the horse
// number where the whole label finds no room.
#include "graphs/label_layout.h"

#include <gtest/gtest.h>

namespace veltrix {
namespace {

struct Rect {
    double l, t, r, b;
};

Rect boxOf(const LabelPlace& p, const LabelBox& l) {
    const double w = p.shortened ? l.shortWidth : l.width;
    const double h = p.shortened ? l.shortHeight : l.height;
    return {p.left, p.top, p.left + w, p.top + h};
}

bool overlaps(const Rect& a, const Rect& b) { return a.l < b.r && b.l < a.r && a.t < b.b && b.t < a.b; }

LabelBox label(double x, double y, double width = 60) { return {x, y, width, 10, 12, 10}; }

TEST(PointLabels, ShortFormIsTheHorseNumber) {
    EXPECT_EQ(ShortPointLabel("12 ダイナカール"), "12");
    EXPECT_EQ(ShortPointLabel("7"), "7");
    EXPECT_EQ(ShortPointLabel(""), "");
}

TEST(PointLabels, RoomyPointsKeepWholeLabelsToTheirRight) {
    const PlotArea plot{0, 0, 400, 300};
    const std::vector<LabelBox> labels{label(50, 50), label(50, 150), label(200, 250)};
    const auto places = LayoutPointLabels(labels, plot, 4);
    ASSERT_EQ(places.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_FALSE(places[i].shortened);
        EXPECT_EQ(places[i].left, labels[i].x + 4);
    }
}

TEST(PointLabels, NearTheEdgeALabelTurnsInsideThePlot) {
    const PlotArea plot{0, 0, 200, 100};
    const auto places = LayoutPointLabels({label(195, 50)}, plot, 4);
    EXPECT_FALSE(places[0].shortened);
    EXPECT_LE(places[0].left + 60, 200);  // to the left of its point
}

TEST(PointLabels, CrowdedPointsNeverOverlapAndStayInside) {
    // Twelve runners packed into a small plot, as a close race draws them.
    const PlotArea plot{0, 0, 180, 150};
    std::vector<LabelBox> labels;
    for (int i = 0; i < 12; ++i) labels.push_back(label(40 + (i % 4) * 30, 30 + (i / 4) * 40, 70));
    const auto places = LayoutPointLabels(labels, plot, 4);
    ASSERT_EQ(places.size(), labels.size());
    int shortened = 0;
    for (size_t i = 0; i < places.size(); ++i) {
        const Rect a = boxOf(places[i], labels[i]);
        EXPECT_GE(a.l, plot.left);
        EXPECT_GE(a.t, plot.top);
        EXPECT_LE(a.r, plot.right);
        EXPECT_LE(a.b, plot.bottom);
        for (size_t j = 0; j < i; ++j)
            EXPECT_FALSE(overlaps(a, boxOf(places[j], labels[j]))) << i << " " << j;
        shortened += places[i].shortened;
    }
    EXPECT_GT(shortened, 0);
    EXPECT_LT(shortened, 12);
}

TEST(PointLabels, NoRoomAtAllStillPutsTheNumberInsideThePlot) {
    const PlotArea plot{0, 0, 30, 30};
    const auto places = LayoutPointLabels({label(15, 15), label(16, 15)}, plot, 4);
    for (const LabelPlace& p : places) {
        EXPECT_TRUE(p.shortened);
        EXPECT_GE(p.left, 0);
        EXPECT_LE(p.left + 12, 30);
        EXPECT_GE(p.top, 0);
        EXPECT_LE(p.top + 10, 30);
    }
}

}  // namespace
}  // namespace veltrix
