#include "app/analysis_import_command.h"

#include <string>

#include "app/analysis_commands.h"
#include "app/race_commands.h"
#include "racecard/race_card.h"
#include "service/analysis_download.h"
#include "store/analysis_files.h"

namespace veltrix {

namespace {

constexpr const char* kErrorLine = "分析ファイルのインポート中にエラーが発生しました。";

std::string labelled(const char* text, const std::string& modeName, const std::string& what) {
    return std::string(text) + " ( " + modeName + "：" + what + " )";
}

std::string failureLine(int result, const std::string& modeName, const std::string& what) {
    switch (result) {
        case kDownloadCancelled:
            return "分析ファイルのインポートを中断しました。";
        case kNoAnalysisFile:
            return labelled("取得可能な分析ファイルはありません。", modeName, what);
        case kServiceMaintenance:
            return "ORVANTE サーバーはメンテナンス中です。";
        default:
            return kErrorLine;
    }
}

class Importer {
public:
    Importer(Application& app, AnalysisImportTools& tools, std::string modeName)
        : app_(app), tools_(tools), modeName_(std::move(modeName)) {}

    // Downloads and merges one file; what names it on the status lines.
    int importFile(const std::string& argument, const std::string& what) {
        int result =
            DownloadAnalysisFile(app_.folders, argument, tools_.address, tools_.pump, tools_.options);
        if (result < 0) return result;
        tools_.ui.setStatus(labelled("分析ファイルをダウンロードしました。", modeName_, what));
        merged_ = true;
        result = argument == kConditionFileArgument ? MergeConditionFile(app_, tools_.pump)
                                                    : MergeAnalysisFile(app_, argument, tools_.pump);
        if (result < 0) return result;
        tools_.ui.setStatus(labelled("分析ファイルをインポートしました。", modeName_, what));
        ++files_;
        return 0;
    }

    // The statistics first, then one file per race date in RaceIdList order.
    int run(const std::string& letter, Progress& progress) {
        what_ = "統計データ";
        int result = importFile(kConditionFileArgument, what_);
        std::string previous;
        for (int i = 1; result == 0 && i <= app_.store.RaceCount && i <= app_.store.RaceIdList.size(); ++i) {
            const std::string date = app_.store.RaceIdList[i].substr(0, 8);
            if (date.size() == 8 && date != previous) {
                previous = date;
                what_ = date.substr(0, 4) + "/" + date.substr(4, 2) + "/" + date.substr(6, 2);
                result = importFile(date + letter, what_);
                if (result < 0) break;
                // The race on show gets the new figures at once.
                if (!app_.raceCard.lblRace.empty())
                    RefreshRace(app_, RaceIdOfLabel(app_.raceCard.lblRace), tools_.pump);
            }
            progress.step();
        }
        return result;
    }

    const std::string& what() const { return what_; }
    int files() const { return files_; }
    bool merged() const { return merged_; }

private:
    Application& app_;
    AnalysisImportTools& tools_;
    std::string modeName_;
    std::string what_;
    int files_ = 0;
    bool merged_ = false;
};

}  // namespace

AnalysisImportResult ImportAnalysisFiles(Application& app, AnalysisImportTools tools) {
    UserInterface& ui = tools.ui;
    AnalysisImportResult outcome;
    const std::string& mode = app.store.DataMode;
    if (mode != "KONSYU" && mode != "TOKUBETSU") {
        ui.showMessage("レース情報をインポートした後、分析ファイルをインポートしてください。", Icon::Warning);
        ui.setStatus(kErrorLine);
        outcome.result = -1;
        return outcome;
    }
    const bool konsyu = mode == "KONSYU";
    const std::string modeName = konsyu ? "今週のレース情報" : "特別登録馬情報";
    if (!ui.askYesNo(modeName + "の分析ファイルをインポートしますか？", Icon::Question, false)) {
        outcome.declined = true;
        return outcome;
    }

    CommandScope command(app.changes);
    tools.pump.clearCancel();
    Progress progress(ui, app.store.RaceCount);
    Importer importer(app, tools, modeName);
    try {
        outcome.result = importer.run(AnalysisModeLetter(mode), progress);
    } catch (...) {
        // A failure of the standard library (memory) ends the import like any other error.
        outcome.result = -1;
    }
    progress.finish();
    outcome.files = importer.files();
    if (importer.merged()) app.changes.notify(Change::StoreReplaced);
    if (outcome.result < 0) ui.setStatus(failureLine(outcome.result, modeName, importer.what()));
    return outcome;
}

}  // namespace veltrix
