#include "graphs/race_graph.h"

#include "base/trim.h"
#include "base/fields.h"
#include "graphs/graph_layout.h"
#include "racecard/columns.h"

namespace veltrix {

namespace {

constexpr Rgb kPointColour{255, 160, 0};

}  // namespace

std::vector<RaceGraphEntry> RaceGraphEntries(const Sheet& s) {
    std::vector<RaceGraphEntry> entries;
    if (!s.hasColumn(sheet1::kRKouhan)) return entries;
    for (int r = 1; r <= s.rowCount(); ++r) {
        const RowNo row(r);
        const std::string& zenhan = s.text(row, sheet1::kRZenhan);
        const std::string& kouhan = s.text(row, sheet1::kRKouhan);
        if (zenhan.empty() || kouhan.empty()) continue;
        auto x = ParseReal(zenhan);
        auto y = ParseReal(kouhan);
        if (!x || !y) continue;  // the calculation writes numbers; anything else has no place
        entries.push_back({TrimSpaces(s.text(row, card::kNo)) + " " + TrimSpaces(s.text(row, card::kName)), *x, *y});
    }
    return entries;
}

RaceGraphEntry PastRaceGraphEntry(const std::string& no, const std::string& name, const std::string& zenhan,
                                  const std::string& kouhan) {
    if (zenhan.empty() || kouhan.empty()) return {};
    auto x = ParseReal(zenhan);
    auto y = ParseReal(kouhan);
    if (!x || !y) return {};
    return {TrimSpaces(no) + " " + TrimSpaces(name), *x, *y};
}

void SetRaceGraph(RaceGraph& graph, const Sheet& syuso) {
    std::vector<RaceGraphEntry> entries = RaceGraphEntries(syuso);
    if (entries.empty())
        ClearForm(graph);
    else
        PutRaceGraph(graph, std::move(entries));
}

void PutRaceGraph(RaceGraph& graph, std::vector<RaceGraphEntry> entries) { graph.entries = std::move(entries); }

void ClearForm(RaceGraph& graph) { graph.entries.clear(); }

ChartModel RaceChartModel(const std::vector<RaceGraphEntry>& entries, bool dark) {
    ChartModel m;
    ChartSeries s;
    s.name = "runners";
    s.kind = SeriesKind::Scatter;
    s.colour = kPointColour;
    std::vector<double> xs, ys;
    for (const RaceGraphEntry& e : entries) {
        if (e.x >= kGraphNotAvailable || e.y >= kGraphNotAvailable) continue;
        s.points.push_back({e.x, e.y});
        s.labels.push_back(e.label);
        xs.push_back(e.x);
        ys.push_back(e.y);
    }
    // Deviation scores: 40-60 at least, wider when a runner lies outside.
    m.x = ScatterAxis(xs, 50, 10);
    m.y = ScatterAxis(ys, 50, 10);
    if (!s.points.empty()) m.series.push_back(std::move(s));
    ApplyScheme(m, dark);
    return m;
}

}  // namespace veltrix
