#include "graphs/pace_graph.h"

#include <algorithm>
#include <cmath>

#include "base/fields.h"
#include "graphs/graph_layout.h"

namespace veltrix {

namespace {

constexpr Rgb kRaceColour{255, 64, 64};
constexpr Rgb kStandardColour{64, 160, 255};

// A label with text that is not a number reads 0, as the race labels always hold numbers.
double labelValue(const std::string& text) { return ParseReal(text).value_or(0.0); }

bool shown(double x, double y) { return x < kGraphNotAvailable && y < kGraphNotAvailable; }

}  // namespace

double StandardPace(const std::string& value) {
    if (value.empty() || (value[0] != '0' && value[0] != '1')) return kGraphNotAvailable;
    auto n = ParseReal(std::string_view(value).substr(1));
    if (!n) return kGraphNotAvailable;
    return value[0] == '1' ? -*n : *n;
}

void SetPaceGraph(PaceGraph& graph, const std::string& paceZenhan, const std::string& paceKouhan,
                  const std::string& conditionKey, const Conditions& conditions) {
    double zenhan = kGraphNotAvailable;
    double kouhan = kGraphNotAvailable;
    if (!paceZenhan.empty() && !paceKouhan.empty()) {
        zenhan = labelValue(paceZenhan);
        kouhan = labelValue(paceKouhan);
    }
    double zenhanKijyun = kGraphNotAvailable;
    double kouhanKijyun = kGraphNotAvailable;
    const int count = std::min(conditions.ConditionCount, kConditionRows);
    for (int k = 1; k <= count; ++k) {
        if (conditions.ConditionKey[k] != conditionKey) continue;
        zenhanKijyun = StandardPace(conditions.ConditionTable.at(k, 2));
        kouhanKijyun = StandardPace(conditions.ConditionTable.at(k, 3));
        break;
    }
    PutPaceGraph(graph, zenhan, kouhan, zenhanKijyun, kouhanKijyun);
}

void PutPaceGraph(PaceGraph& graph, double dblPaceZenhan, double dblPaceKouhan, double dblPaceZenhanKijyun,
                  double dblPaceKouhanKijyun) {
    graph.dblPaceZenhan = dblPaceZenhan;
    graph.dblPaceKouhan = dblPaceKouhan;
    graph.dblPaceZenhanKijyun = dblPaceZenhanKijyun;
    graph.dblPaceKouhanKijyun = dblPaceKouhanKijyun;
}

bool RacePointShown(const PaceGraph& g) { return shown(g.dblPaceZenhan, g.dblPaceKouhan); }
bool StandardPointShown(const PaceGraph& g) { return shown(g.dblPaceZenhanKijyun, g.dblPaceKouhanKijyun); }

ChartModel PaceChartModel(const PaceGraph& g) {
    ChartModel m;
    std::vector<double> xs, ys;
    auto add = [&](const char* name, Rgb colour, double x, double y) {
        ChartSeries s;
        s.name = name;
        s.kind = SeriesKind::Scatter;
        s.colour = colour;
        s.points.push_back({x, y});
        m.series.push_back(std::move(s));
        xs.push_back(x);
        ys.push_back(y);
    };
    if (RacePointShown(g)) add("race", kRaceColour, g.dblPaceZenhan, g.dblPaceKouhan);
    if (StandardPointShown(g)) add("standard", kStandardColour, g.dblPaceZenhanKijyun, g.dblPaceKouhanKijyun);
    // Paces are signed distances from the average: the axes stay centred on 0.
    auto reach = [](const std::vector<double>& v) {
        double r = 0;
        for (double d : v) r = std::max(r, std::abs(d));
        return r;
    };
    const double xr = reach(xs);
    const double yr = reach(ys);
    m.x = ScatterAxis({-xr, xr}, 0, 5);
    m.y = ScatterAxis({-yr, yr}, 0, 5);
    ApplyScheme(m, g.dark);
    return m;
}

}  // namespace veltrix
