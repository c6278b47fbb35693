#include "graphs/histogram.h"

#include <algorithm>

#include "base/fields.h"
#include "base/format.h"
#include "engine/history_pane.h"
#include "racecard/columns.h"

namespace veltrix {

namespace {

constexpr std::array<int, kDetailCharts> kFields = {run::kRL,      run::kTZenhan, run::kTKouhan,
                                                    run::kRZenhan, run::kRKouhan, run::kMD};
constexpr Rgb kBarColour{0, 128, 255};

}  // namespace

int DetailClass(double v) {
    constexpr std::array<double, kDetailClasses - 1> kUpper = {37.5, 42.5, 47.5, 52.5, 57.5, 62.5};
    for (size_t k = 0; k < kUpper.size(); ++k)
        if (v < kUpper[k]) return static_cast<int>(k) + 1;
    return kDetailClasses;
}

std::string DetailClassLabel(int k) { return FormatNumber((k - 1) * 5 + 35, "#"); }

void ClearForm(DetailGraph& graph) {
    for (DetailCounts& c : graph.counts) c.fill(0);
}

void PutDetailGraph(DetailGraph& graph, const std::array<DetailCounts, kDetailCharts>& counts) {
    graph.counts = counts;
}

void SetDetailGraph(DetailGraph& graph, const Sheet& pane, const std::string& raceLabel) {
    if (raceLabel.empty()) return;
    std::array<DetailCounts, kDetailCharts> counts{};
    for (int r = 1; r <= pane.rowCount(); ++r) {
        const RowNo row(r);
        if (pane.cell(row, PaneColumn(run::kDate)).back != kPaneUsed) continue;
        std::array<double, kDetailCharts> v{};
        bool all = true;
        for (size_t i = 0; i < kFields.size() && all; ++i) {
            auto n = ParseReal(pane.text(row, PaneColumn(kFields[i])));
            if (n)
                v[i] = *n;
            else
                all = false;
        }
        if (!all) continue;
        for (size_t i = 0; i < kFields.size(); ++i)
            counts[i][static_cast<size_t>(DetailClass(v[i]) - 1)] += 1;
    }
    PutDetailGraph(graph, counts);
}

ChartModel DetailChartModel(const DetailGraph& graph, int n) {
    ChartModel m;
    const DetailCounts& c = graph.counts[static_cast<size_t>(std::clamp(n, 0, kDetailCharts - 1))];
    m.title = kDetailChartNames[static_cast<size_t>(std::clamp(n, 0, kDetailCharts - 1))];
    for (int k = 1; k <= kDetailClasses; ++k) m.categories.push_back(DetailClassLabel(k));
    const int most = *std::max_element(c.begin(), c.end());
    // Whole counts on the ticks: a step that keeps them few, the top a whole number of steps.
    const int step = most <= 8 ? 1 : most <= 20 ? 2 : most <= 50 ? 5 : 10;
    const int top = std::max(4, (most + step - 1) / step * step);
    m.y.min = 0;
    m.y.max = top;
    m.y.tickCount = top / step + 1;
    ChartSeries s;
    s.name = m.title;
    s.colour = kBarColour;
    for (size_t k = 0; k < c.size(); ++k)
        s.points.push_back({static_cast<double>(k), static_cast<double>(c[k])});
    m.series.push_back(std::move(s));
    return m;
}

}  // namespace veltrix
