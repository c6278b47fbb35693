#include "app/simulation_commands.h"

#include <algorithm>

#include "app/race_commands.h"
#include "graphs/race_graph.h"
#include "racecard/columns.h"
#include "racecard/race_card.h"

namespace veltrix {

namespace {

constexpr int kSimulatedRows = 18;

}  // namespace

std::vector<SimEntry> RaceCardSimEntries(const RaceCard& card, SimMode mode) {
    const Sheet& s1 = card.sheet(kSheetSyuso);
    const Sheet& s3 = card.sheet(kSheetOdds);
    std::vector<SimEntry> entries;
    const int rows = std::min(s1.rowCount(), kSimulatedRows);
    for (int r = 1; r <= rows; ++r) {
        const RowNo row(r);
        SimEntry e;
        e.row = r;
        e.horse = s1.text(row, card::kNo);
        if (mode == SimMode::Yoso) {
            e.total = CellValue(s3, row, sheet3::kYosoku);
            e.firstHalf = CellValue(s1, row, sheet1::kRZenhan);
        } else {
            e.total = CellValue(s3, row, sheet3::kKekka);
            e.firstHalf = CellValue(s3, row, sheet3::kKekkaZenhan);
        }
        entries.push_back(std::move(e));
    }
    return entries;
}

const LockedControls& RaceModelWindowControls() {
    using enum LockedControl;
    static const LockedControls controls = {
        mnuFile,         mnuView,         mnuHelp,         mnuOdds,         mnuMark,  chkOddsFilter,
        lblRelateValue0, lblRelateValue1, lblRelateValue2, lblRelateValue3, fpsSyuso, fpsHistory};
    return controls;
}

const LockedControls& SimulationControls() {
    static const LockedControls controls = [] {
        LockedControls c = RaceModelWindowControls();
        c.push_back(LockedControl::lblRace);
        return c;
    }();
    return controls;
}

SimOutcome RunRaceSimulation(Application& app, SimMode mode, UserInterface& ui, SimStage& stage, Clock& clock,
                             SimRandom& random, SimResult& result) {
    CommandScope scope(app.changes);
    const bool yoso = mode == SimMode::Yoso;
    SimCommand command;
    command.mode = mode;
    command.course = kMainWindowCourse;
    command.lanes = kSimulatedRows;
    command.tooFew = yoso ? "予測シミュレーションを行うには、２頭以上の対象馬が必要です。"
                          : "結果シミュレーションを行うには、２頭以上の対象馬が必要です。";
    command.question = yoso ? "予測シミュレーションを開始しますか？" : "結果シミュレーションを開始しますか？";
    command.controls = SimulationControls();
    command.hideWindows = [&app] { HideSecondaryWindows(app); };
    return RunSimulation(RaceCardSimEntries(app.raceCard, mode), command, ui, stage, clock, random, result);
}

bool OpenRaceModel(Application& app, RaceModel& model) {
    CommandScope scope(app.changes);
    if (!app.pane.pastRace) return true;
    HideSecondaryWindows(app);
    const PastRaceChoice& race = *app.pane.pastRace;
    SetRaceModelLabels(model, race);
    SetRaceData(model, app.folders.data, race.raceId, race.umaName);
    return false;
}

PastRaceGraphs RaceModelGraphs(const RaceModel& model) {
    PastRaceGraphs race{model.lblRelateValue[1],
                        model.lblRelateValue[2],
                        model.lblTrackCode,
                        model.lblSyubetsuCode,
                        model.lblJyokenCode,
                        model.lblKyori,
                        {}};
    const Sheet& grid = model.fpsSyuso;
    for (int r = 1; r <= grid.rowCount(); ++r) {
        const RowNo row(r);
        race.runners.push_back(
            PastRaceGraphEntry(grid.text(row, race_model::kNo), grid.text(row, race_model::kName),
                               grid.text(row, race_model::kRZenhan), grid.text(row, race_model::kRKouhan)));
    }
    return race;
}

}  // namespace veltrix
