#include "app/results_commands.h"

#include "jvlink/results_build.h"

namespace veltrix {

namespace {

constexpr const char* kQuestion =
    "過去の成績情報をインポートしますか？\n成績情報は過去のレースをシミュレーションするために必要です。";
constexpr const char* kUpdated = "成績情報を更新しました。";
constexpr const char* kAborted = "成績情報の更新を中止しました。";

}  // namespace

RaceDataOutcome GetRaceData(Application& app, SessionState& session, ImportTools tools) {
    if (!tools.ui.askYesNo(kQuestion, Icon::Warning, true)) return RaceDataOutcome::Declined;
    CommandScope command(app.changes);
    tools.pump.clearCancel();
    session.PassedOver = 0;
    SeisekiBuildContext ctx{app.folders.data, session,     tools.jv,   tools.ui,
                            tools.pump,       tools.clock, app.changes};
    const bool updated = CreateSeisekiDatabase(ctx) == 0;
    tools.ui.setStatus(updated ? WithPassedOver(kUpdated, session.PassedOver) : kAborted);
    return updated ? RaceDataOutcome::Updated : RaceDataOutcome::Aborted;
}

}  // namespace veltrix
