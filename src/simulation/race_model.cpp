#include "simulation/race_model.h"

#include <algorithm>
#include <cmath>

#include "base/fields.h"
#include "base/format.h"
#include "base/trim.h"
#include "racecard/race_card.h"

namespace veltrix {

namespace {

using namespace race_model;

constexpr std::array<const char*, kRaceModelColumns> kHeaders = {
    "No.",  "馬名", "性齢", "負担",   "騎手", "調教師", "単勝", "人気", "馬体重",
    "展開", "入線", "確定", "タイム", "上3F", "R前",    "R後",  "R全",  "MD"};

bool isOneOf(const std::string& a, std::initializer_list<const char*> codes) {
    return std::any_of(codes.begin(), codes.end(), [&](const char* c) { return a == c; });
}

// A whole number shown as one ("01" -> 1), or the text as it came.
void putWhole(Sheet& grid, RowNo row, ColNo col, const std::string& field) {
    if (auto n = ParseInteger(field))
        grid.setNumber(row, col, static_cast<double>(*n), std::to_string(*n));
    else
        grid.setText(row, col, std::string(TrimBlanks(field)));
}

// Places 1 to 3 black on white, the others white on black.
void colourPlace(Sheet& grid, RowNo row, ColNo col, const std::string& field) {
    const auto n = ParseInteger(field);
    const bool top3 = n && *n >= 1 && *n <= 3;
    grid.setColors(row, col, top3 ? kBlack : kWhite, top3 ? kWhite : kBlack);
}

// Race time in tenths: minute x 600 + seconds and tenths.
std::optional<double> timeInTenths(const std::string& time) {
    if (time.size() != 4) return std::nullopt;
    const auto minute = ParseInteger(time.substr(0, 1));
    const auto rest = ParseInteger(time.substr(1, 3));
    if (!minute || !rest || *minute < 0 || *rest < 0) return std::nullopt;
    return static_cast<double>(*minute * 600 + *rest);
}

void fillRow(Sheet& grid, RowNo row, const SeisekiRecord& rec, const std::string& horseName) {
    namespace f = seiseki_col;
    const std::string& a = rec[f::kAbnormality];
    const bool listed = isOneOf(a, {"0", "1", "2", "3", "4", "5", "6", "7"});
    if (listed) {
        putWhole(grid, row, kNo, rec[f::kHorseNumber]);
        grid.setColors(row, kNo, FrameForeColour(rec[f::kFrame]), FrameBackColour(rec[f::kFrame]));
        const std::string name = std::string(TrimBlanks(rec[f::kHorseName]));
        grid.setText(row, kName, name);
        grid.setStrikeOut(row, kName, isOneOf(a, {"1", "2", "3"}));
        const bool named = name == TrimBlanks(horseName);
        grid.setColors(row, kName, named ? kBlack : kWhite, named ? kWhite : kBlack);

        const std::string& sex = rec[f::kSex];
        const char* sexText = sex == "1" ? " 牡" : sex == "2" ? " 牝" : sex == "3" ? " 騙" : nullptr;
        const auto age = ParseInteger(rec[f::kAge]);
        if (sexText && age) grid.setText(row, kSeirei, std::to_string(*age) + sexText);
        if (auto w = ParseReal(rec[f::kWeightCarried]))
            grid.setNumber(row, kFutan, *w / 10, FormatNumber(*w / 10, "#.0") + "K");
    }
    if (a != "1") {
        grid.setText(row, kBataiju, RaceModelWeightText(rec[f::kBodyWeight], rec[f::kWeightChange]) + " ");
        if (a != "3") {
            if (auto odds = ParseReal(rec[f::kWinOdds]))
                grid.setNumber(row, kTansyo, *odds / 10, FormatNumber(*odds / 10, "#.0"));
            putWhole(grid, row, kNinki, rec[f::kPopularity]);
        }
    }
    if (listed) {
        grid.setText(row, kKisyu, std::string(TrimBlanks(rec[f::kJockey])));
        grid.setText(row, kChokyo, std::string(TrimBlanks(rec[f::kTrainer])));
    }
    if (!isOneOf(a, {"0", "5", "6", "7"})) {
        grid.setText(row, kTenkai, IjyoName(a));
        return;
    }
    const std::string& last3f = rec[f::kLast3F];
    const std::string& time = rec[f::kTime];
    if (last3f != "999") {
        const std::string text = RaceTimeText(time);
        if (auto tenths = timeInTenths(time))
            grid.setNumber(row, kTime, *tenths, text);
        else
            grid.setText(row, kTime, text);
        if (auto l = ParseInteger(last3f))
            grid.setNumber(row, kAgari, static_cast<double>(*l) / 10, Last3FText(last3f));
        else
            grid.setText(row, kAgari, Last3FText(last3f));
    } else {
        grid.setText(row, kTime, "Over");
    }
    grid.setText(row, kTenkai, CornerText(rec[f::kCorners]));
    putWhole(grid, row, kNyusen, rec[f::kArrival]);
    grid.setStrikeOut(row, kNyusen, a == "5" || a == "7");
    colourPlace(grid, row, kNyusen, rec[f::kArrival]);
    if (a != "5") {
        putWhole(grid, row, kKakutei, rec[f::kPlacing]);
        colourPlace(grid, row, kKakutei, rec[f::kPlacing]);
    }
    if (last3f != "000" && last3f != "999") {
        const auto whole = timeInTenths(time);
        const auto last = ParseInteger(last3f);
        if (whole && last) {
            const double l = static_cast<double>(*last);
            grid.setNumber(row, kRZentai, *whole, FormatNumber(*whole, "0"));
            grid.setNumber(row, kRKouhan, l, FormatNumber(l, "0"));
            grid.setNumber(row, kRZenhan, *whole - l, FormatNumber(*whole - l, "0"));
        }
    }
}

std::optional<double> cellNumber(const Sheet& grid, RowNo row, ColNo col) {
    const Cell& c = grid.cell(row, col);
    if (c.text.empty()) return std::nullopt;
    return c.number ? c.number : ParseReal(c.text);
}

}  // namespace

RaceModel::RaceModel() { InitRaceModel(*this); }

void InitRaceModel(RaceModel& model) {
    Sheet& grid = model.fpsSyuso;
    SheetUpdate batch(grid);
    grid.setRowCount(0);
    grid.setColCount(kRaceModelColumns);
    for (int c = 1; c <= kRaceModelColumns; ++c)
        grid.setHeader(ColNo(c), kHeaders[static_cast<size_t>(c - 1)]);
    grid.setColumnAlignment(kNo, CellAlign::Center);
    grid.setColumnAlignment(kTenkai, CellAlign::Left);
    grid.setColumnAlignment(kBataiju, CellAlign::Right);
    grid.setColumnAlignment(kTime, CellAlign::Right);
}

void SetRaceModelLabels(RaceModel& model, const PastRaceChoice& race) {
    model.lblRace = race.caption;
    model.lblJRV = race.raceId;
    model.lblKyori = race.distance;
    model.lblJyokenCode = race.jyokenCode;
    model.lblSyubetsuCode = race.syubetsuCode;
    model.lblTrackCode = race.trackCode;
    model.lblRelateValue = {race.raceLevel, race.paceZenhan, race.paceKouhan};
    model.umaName = race.umaName;
}

SeisekiFileStatus SetRaceData(RaceModel& model, const std::filesystem::path& dataFolder,
                              const std::string& raceId, const std::string& horseName) {
    model.umaName = horseName;
    InitRaceModel(model);
    const SeisekiRaceFile file = ReadSeisekiRaceFile(dataFolder, raceId);
    if (file.status != SeisekiFileStatus::Read) return file.status;
    FillRaceModelGrid(model.fpsSyuso, file.runners, horseName);
    CalculateRaceModelFigures(model.fpsSyuso);
    return file.status;
}

void FillRaceModelGrid(Sheet& grid, std::span<const SeisekiRecord> records, const std::string& horseName) {
    SheetUpdate batch(grid);
    grid.setRowCount(0);
    int rows = 0;
    for (const SeisekiRecord& rec : records) {
        if (rows == kRaceModelRows || TrimBlanks(rec[seiseki_col::kFrame]).empty()) break;
        ++rows;
        grid.setRowCount(rows);
        fillRow(grid, RowNo(rows), rec, horseName);
    }
}

std::optional<double> MdValue(double l, double m, double r) {
    const double det = 1 - r * r;
    // Two columns in perfect step (or against it) leave nothing to combine.
    if (std::abs(det) < 1e-12) return std::nullopt;
    const double a = 1 / det;
    const double b = -a * r;
    return (l * (a * l + m * b) + m * (a * m + l * b)) / 2;
}

void CalculateRaceModelFigures(Sheet& grid) {
    SheetUpdate batch(grid);
    CalculateHensa(grid, kRZentai, -1);
    CalculateHensa(grid, kRZenhan, -1);
    CalculateHensa(grid, kRKouhan, -1);
    double sum = 0;
    int j = 0;
    for (int r = 1; r <= grid.rowCount(); ++r) {
        const auto l = cellNumber(grid, RowNo(r), kRZenhan);
        const auto m = cellNumber(grid, RowNo(r), kRKouhan);
        if (!l || !m) continue;
        sum += (*l - 50) * (*m - 50);
        ++j;
    }
    for (int r = 1; r <= grid.rowCount(); ++r) grid.clearValue(RowNo(r), kMD);
    if (j <= 1) return;
    const double corr = sum / (j - 1) / 100;
    for (int r = 1; r <= grid.rowCount(); ++r) {
        const auto l = cellNumber(grid, RowNo(r), kRZenhan);
        const auto m = cellNumber(grid, RowNo(r), kRKouhan);
        if (!l || !m) continue;
        if (auto md = MdValue(*l, *m, corr)) grid.setNumber(RowNo(r), kMD, *md, FormatNumber(*md, "0.0"));
    }
    CalculateHensa(grid, kMD, 1);
}

std::string RaceModelWeightText(const std::string& weight, const std::string& change) {
    if (weight == "999") return "???";
    if (change == " 999") return weight + " (?)";
    const std::string trimmed = std::string(TrimBlanks(change));
    if (trimmed.empty()) return weight + " (-)";
    const bool plus = change[0] == ' ' || change[0] == '+';
    const auto n = ParseInteger(plus ? std::string_view(change).substr(1) : std::string_view(change));
    const std::string number = n ? std::to_string(plus && *n < 0 ? -*n : *n) : trimmed;
    return weight + " (" + (plus ? "+" : "") + number + ")";
}

std::string RaceTimeText(const std::string& time) {
    if (time.size() < 4) return std::string(TrimBlanks(time));
    if (time[0] == '0') return " " + time.substr(1, 2) + "." + time.substr(3, 1);
    return time.substr(0, 1) + "." + time.substr(1, 2) + "." + time.substr(3, 1);
}

std::string Last3FText(const std::string& last3f) {
    if (last3f.size() < 3) return std::string(TrimBlanks(last3f));
    return last3f.substr(0, 2) + "." + last3f.substr(2, 1);
}

Rgb FrameBackColour(const std::string& frame) {
    static constexpr std::array<Rgb, 8> kBack = {{{255, 255, 255},
                                                  {0, 0, 0},
                                                  {255, 0, 51},
                                                  {0, 0, 255},
                                                  {255, 255, 0},
                                                  {51, 255, 0},
                                                  {255, 204, 51},
                                                  {255, 102, 204}}};
    const auto n = ParseInteger(frame);
    return n && *n >= 1 && *n <= 8 ? kBack[static_cast<size_t>(*n - 1)] : kBlack;
}

Rgb FrameForeColour(const std::string& frame) {
    const auto n = ParseInteger(frame);
    return n && (*n >= 2 && *n <= 4) ? kWhite : kBlack;
}

bool ClickRaceModelHeader(Sheet& grid, ColNo col) {
    const int c = col.value;
    SortOrder order;
    if (c == 1 || c == 7 || c == 8 || c == 11 || c == 12 || c == 13 || c == 14)
        order = SortOrder::Ascending;
    else if (c == 4 || (c >= 15 && c <= 18))
        order = SortOrder::Descending;
    else
        return true;
    grid.sortByColumn(col, order);
    return false;
}

std::vector<SimEntry> RaceModelSimEntries(const Sheet& grid) {
    std::vector<SimEntry> entries;
    for (int r = 1; r <= std::min(grid.rowCount(), kRaceModelRows); ++r) {
        const RowNo row(r);
        entries.push_back(
            {r, grid.text(row, kNo), cellNumber(grid, row, kRZentai), cellNumber(grid, row, kRZenhan)});
    }
    return entries;
}

const LockedControls& RaceModelSimulationControls() {
    using enum LockedControl;
    static const LockedControls controls = {cmdStart,        cmdRacingViewer, cmdClose,       fpsSyuso,
                                            lblRelateValue0, lblRelateValue1, lblRelateValue2};
    return controls;
}

SimOutcome StartRaceModelSimulation(const RaceModel& model, UserInterface& ui, SimStage& stage, Clock& clock,
                                    SimRandom& random, SimResult& result) {
    SimCommand command;
    command.mode = SimMode::Kekka;
    command.course = kRaceModelCourse;
    command.lanes = std::max(model.fpsSyuso.rowCount(), 1);
    command.tooFew = "結果シミュレーションを行うには、２頭の対象馬が必要です。";
    command.question = "結果シミュレーションを開始しますか？";
    command.controls = RaceModelSimulationControls();
    return RunSimulation(RaceModelSimEntries(model.fpsSyuso), command, ui, stage, clock, random, result);
}

}  // namespace veltrix
