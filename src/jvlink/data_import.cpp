#include "jvlink/data_import.h"

#include <algorithm>
#include <vector>

namespace veltrix {

namespace {

constexpr size_t kLabelPadding = 80;
constexpr size_t kRaceIdLength = 16;

// The label as shown: without the padding and the race id that follow the text.
std::string visibleText(const std::string& label) {
    std::string text = label;
    if (text.size() >= kLabelPadding + kRaceIdLength &&
        text.compare(text.size() - kRaceIdLength - kLabelPadding, kLabelPadding,
                     std::string(kLabelPadding, ' ')) == 0)
        text.resize(text.size() - kRaceIdLength);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::vector<std::string> splitAtSpaces(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t space = text.find(' ', start);
        parts.push_back(text.substr(start, space == std::string::npos ? std::string::npos : space - start));
        if (space == std::string::npos) break;
        start = space + 1;
    }
    return parts;
}

}  // namespace

DataImportModel::DataImportModel() { SetUpRaceList(fpsControl); }

void SetUpRaceList(Sheet& fpsControl) {
    static constexpr const char* headers[kControlCols] = {"",     "",     "開催日", "場所",   "R",
                                                          "発走", "距離", "競走名", "データ", "出走表"};
    SheetUpdate batch(fpsControl);
    fpsControl.setColCount(kControlCols);
    for (int c = 1; c <= kControlCols; ++c) fpsControl.setHeader(ColNo(c), headers[c - 1]);
    fpsControl.setColumnHidden(kColRaceId, true);
    fpsControl.setColumnHidden(kColLabel, true);
}

RaceLabelParts SplitRaceLabel(const std::string& label, bool tokubetsu) {
    const auto parts = splitAtSpaces(visibleText(label));
    auto at = [&](size_t i) { return i < parts.size() ? parts[i] : std::string(); };
    RaceLabelParts p;
    p.date = at(0);
    p.course = at(1);
    p.raceNumber = at(2);
    size_t next = 3;
    if (tokubetsu) {
        p.startTime = "--:--";
    } else {
        p.startTime = at(next++);
    }
    p.distance = at(next++);
    if (tokubetsu) {
        p.name = at(next);
    } else {
        for (size_t i = next; i < parts.size(); ++i) {
            if (parts[i].empty()) continue;
            if (!p.name.empty()) p.name += ' ';
            p.name += parts[i];
        }
    }
    return p;
}

int PutRaceList(Sheet& fpsControl, const Store& store, const std::string& shownLabel) {
    SheetUpdate batch(fpsControl);
    if (fpsControl.colCount() != kControlCols) SetUpRaceList(fpsControl);
    fpsControl.setRowCount(0);
    const bool konsyu = store.DataMode == "KONSYU";
    if (!konsyu && store.DataMode != "TOKUBETSU") return 0;

    const int count = std::min({store.RaceCount, store.RaceIdList.size(), store.RaceLabel.size()});
    fpsControl.setRowCount(count);
    int shownRow = 0;
    for (int r = 1; r <= count; ++r) {
        const RowNo row(r);
        const std::string& label = store.RaceLabel[r];
        const RaceLabelParts p = SplitRaceLabel(label, !konsyu);
        fpsControl.setText(row, kColRaceId, store.RaceIdList[r]);
        fpsControl.setText(row, kColLabel, label);
        fpsControl.setText(row, ColNo(3), p.date);
        fpsControl.setText(row, ColNo(4), p.course);
        fpsControl.setText(row, ColNo(5), p.raceNumber);
        fpsControl.setText(row, ColNo(6), p.startTime);
        fpsControl.setText(row, ColNo(7), p.distance);
        fpsControl.setText(row, ColNo(8), p.name);
        fpsControl.setText(row, kColImport, kImportButtonCaption);
        const bool shown = !shownLabel.empty() && label == shownLabel;
        fpsControl.setText(row, kColShow, shown ? "1" : "0");
        if (shown && shownRow == 0) shownRow = r;
    }
    return shownRow;
}

ImportWindowState ImportWindowStateFor(ImportPhase phase, const std::string& dataMode) {
    if (phase == ImportPhase::Running) return {false, false, false, true, true};
    return {true, dataMode == "KONSYU", true, false, false};
}

}  // namespace veltrix
