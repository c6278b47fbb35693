#include "graphs/race_history_graph.h"

#include "base/trim.h"
#include "base/fields.h"
#include "base/format.h"
#include "engine/history_pane.h"
#include "racecard/columns.h"

namespace veltrix {

namespace {

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

void eraseAll(std::string& s, const std::string& what) {
    for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at)) s.erase(at, what.size());
}

}  // namespace

std::string ShortRaceName(const std::string& raceName) {
    // Narrowed first, so a full-width space after "以上" is a plain space too.
    std::string name = ToHalfWidth(TrimSpaces(raceName));
    const std::string stakes = ToHalfWidth("ステークス");
    if (endsWith(name, stakes)) return name.substr(0, name.size() - stakes.size()) + "S";
    eraseAll(name, "以上 ");
    return name;
}

std::string RaceHistoryLabel(const std::string& date, const std::string& rl, const std::string& raceName,
                             const std::string& jockey, const std::string& placing) {
    std::string day = TrimSpaces(date);
    day = day.size() > 2 ? day.substr(2) : std::string();
    for (char& c : day)
        if (c == '/') c = '.';
    return day + " RL" + TrimSpaces(rl) + " " + ShortRaceName(raceName) + " " + TrimSpaces(jockey) + " " +
           TrimSpaces(placing) + "着";
}

void SetRaceHistoryGraph(RaceHistoryGraph& graph, const Sheet& pane) {
    std::vector<RaceGraphEntry> entries;
    if (pane.colCount() >= kPaneColumns) {
        for (int r = 1; r <= pane.rowCount(); ++r) {
            const RowNo row(r);
            if (pane.cell(row, PaneColumn(run::kDate)).back != kPaneUsed) continue;
            const std::string& zenhan = pane.text(row, PaneColumn(run::kRZenhan));
            const std::string& kouhan = pane.text(row, PaneColumn(run::kRKouhan));
            if (zenhan.empty() || kouhan.empty()) continue;
            auto x = ParseReal(zenhan);
            auto y = ParseReal(kouhan);
            if (!x || !y) continue;
            auto text = [&](int field) -> const std::string& { return pane.text(row, PaneColumn(field)); };
            entries.push_back({RaceHistoryLabel(text(run::kDate), text(run::kRL), text(run::kRaceName),
                                                text(run::kKisyu), text(run::kJyuni)),
                               *x, *y});
        }
    }
    if (entries.empty())
        ClearForm(graph);
    else
        PutRaceHistoryGraph(graph, std::move(entries));
}

void PutRaceHistoryGraph(RaceHistoryGraph& graph, std::vector<RaceGraphEntry> entries) {
    graph.entries = std::move(entries);
}

void ClearForm(RaceHistoryGraph& graph) { graph.entries.clear(); }

}  // namespace veltrix
