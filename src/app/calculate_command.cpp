#include "app/calculate_command.h"

#include <algorithm>
#include <exception>

#include "app/graph_commands.h"
#include "app/pane_commands.h"
#include "app/race_commands.h"
#include "engine/calculation.h"
#include "racecard/race_card.h"

namespace veltrix {

bool Calculate(Application& app) {
    CommandScope command(app.changes);
    try {
        if (app.palette.cboKikan >= 0)
            app.settings.Kikan = static_cast<short>((app.palette.cboKikan + 1) * 100);
        CalculateRace(app.raceCard, app.palette, app.settings, app.conditions, app.store.DataMode);
        // The graph windows redraw from these when they hear the calculation.
        SetPaceGraph(app);
        SetRaceGraph(app);
        RedrawPaneAfterCalculation(app);
        app.changes.notify(Change::CalculationDone);
        return false;
    } catch (const std::exception&) {
        return true;
    }
}

bool ApplyPaletteOptions(SelectPalette& palette, const PaletteOptions& options, std::string* error) {
    auto fail = [&](std::string what) {
        if (error) *error = std::move(what);
        return true;
    };
    if (options.periodDays && SetPalettePeriod(palette, *options.periodDays))
        return fail("period " + std::to_string(*options.periodDays));
    if (options.rule && SetPaletteRule(palette, *options.rule)) return fail("rule " + *options.rule);
    for (const auto& [caption, checked] : options.boxes)
        if (SetPaletteBox(palette, caption, checked)) return fail("box " + caption);
    return false;
}

std::array<LabelLine, 7> RaceCardLabelLines(const RaceCard& card) {
    return {{{"レースレベル", card.lblRelateValue[0]},
             {"前半ペース", card.lblRelateValue[1]},
             {"後半ペース", card.lblRelateValue[2]},
             {"ペース傾き", card.lblRelateValue[3]},
             {"人気スコア", card.lblScoreValue[0]},
             {"D.M. スコア", card.lblScoreValue[1]},
             {"VELTRIX スコア", card.lblScoreValue[2]}}};
}

std::optional<std::vector<std::array<std::string, 32>>> PastRunSlots(const RaceCard& card, int row) {
    if (row < 1 || row > card.pastRuns.rows() || row > card.sheet(kSheetSyuso).rowCount())
        return std::nullopt;
    std::vector<std::array<std::string, 32>> slots;
    const int n = card.pastRuns.slotCount(row);
    for (int l = 1; l <= n; ++l) {
        std::array<std::string, 32> fields;
        for (int f = 1; f <= kPastRunFields; ++f)
            fields[static_cast<size_t>(f - 1)] = card.pastRuns.at(row, l, f);
        slots.push_back(std::move(fields));
    }
    return slots;
}

std::optional<std::string> NoUsableRunMessage(const RaceCard& card) {
    if (card.sheet(kSheetSyuso).rowCount() == 0) return std::nullopt;  // no race on show: nothing was asked
    bool anyRun = false, anyFigures = false;
    for (int row = 1; row <= card.pastRuns.rows() && row <= card.sheet(kSheetSyuso).rowCount(); ++row) {
        for (int l = 1; l <= card.pastRuns.slotCount(row); ++l) {
            if (card.pastRuns.at(row, l, run::kUseFlag) == "ON") return std::nullopt;
            anyRun = true;
            anyFigures = anyFigures || !card.pastRuns.at(row, l, run::kRL).empty();
        }
    }
    if (!anyRun) return "過去の成績がある出走馬がいないため、指数を計算できませんでした。";
    if (!anyFigures)
        return "過去の成績に分析ファイルの指数がないため、指数を計算できませんでした。"
               "分析ファイルをインポートしてください。";
    return "選択パレットの条件に合う過去の成績がないため、指数を計算できませんでした。"
           "選択パレットの条件を見直してください。";
}

std::vector<std::string> BestPredictions(const RaceCard& card) {
    const Sheet& s = card.sheet(kSheetOdds);
    std::vector<std::pair<double, int>> ranked;  // rank, row
    for (int r = 1; r <= s.rowCount(); ++r) {
        auto rank = s.number(RowNo(r), sheet3::kYosokuJyuni);
        if (rank && *rank >= 1 && *rank <= 3 && !s.text(RowNo(r), sheet3::kYosokuJyuni).empty())
            ranked.emplace_back(*rank, r);
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> best;
    for (size_t i = 0; i < ranked.size() && i < 3; ++i)
        best.push_back(s.text(RowNo(ranked[i].second), card::kNo));
    return best;
}

bool CalculateWeek(Application& app, Pump& pump, bool calculate, const PaletteOptions& options,
                   std::vector<WeekRace>& out, std::string* error) {
    out.clear();
    const int races =
        std::min({app.store.RaceCount, app.store.RaceLabel.size(), app.store.RaceIdList.size()});
    for (int r = 1; r <= races; ++r) {
        const std::string raceId = app.store.RaceIdList[r];
        const std::string label = app.store.RaceLabel[r];
        if (OpenRace(app, raceId, label, pump)) {
            if (error) *error = "race " + raceId;
            return true;
        }
        if (calculate) {
            if (ApplyPaletteOptions(app.palette, options, error)) return true;
            if (Calculate(app)) {
                if (error) *error = "race " + raceId;
                return true;
            }
        }
        WeekRace line;
        line.raceId = raceId;
        line.label = VisibleRaceLabel(label);
        line.best = BestPredictions(app.raceCard);
        line.scores = CalculateScore(app.raceCard.sheet(kSheetOdds));
        line.scoreTexts = app.raceCard.lblScoreValue;
        out.push_back(std::move(line));
    }
    return false;
}

}  // namespace veltrix
