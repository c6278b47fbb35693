#include "racecard/race_card.h"

#include <exception>

#include "store/fields.h"
#include "store/format.h"
#include "store/weekly_store.h"

namespace veltrix {

namespace {

RowNo R(int r) { return RowNo(r); }
ColNo C(int c) { return ColNo(c); }

constexpr std::array<const char*, 5> kCommonHeaders = {"SORT", "No.", "UMACODE", "印", "馬名"};

constexpr std::array<const char*, 29> kSheet1Headers = {
    "性齢", "負担", "成績", "RL", "RLZ", "RLA", "RLN", "T前", "T後", "RZ",     "RA",     "R前",    "R後",   "予測", "MD",
    "総合", "",     "騎手", "騎X", "信頼度", "期待度", "", "調教師", "調X", "信頼度", "期待度", "共X", "信頼度", "期待度"};

constexpr std::array<const char*, 24> kSheet2Headers = {
    "中山", "京都", "阪神", "右回り", "新潟", "東京", "中京", "左回り", "札幌", "函館", "福島", "小倉",
    "ﾛｰｶﾙ", "1000", "1200", "1400",  "1600", "1700", "1800", "2000",  "2200", "2400", "2500", "3000"};

constexpr std::array<const char*, 41> kSheet3Headers = {
    "人気",    "N",   "D.M.",    "N",   "⊿",       "予測", "N",       "⊿",   "結果",    "N",   "⊿",
    "結果N",   "R前", "R後",     "単勝", "単率",    "連率", "複Lo",    "複Hi", "馬連",    "EXP", "馬単1",
    "EXP",     "馬単2", "EXP",   "ワLo", "ワHi",    "3連複", "EXP",   "3連単12", "EXP", "3連単13", "EXP",
    "3連単21", "EXP", "3連単23", "EXP", "3連単31", "EXP", "3連単32", "EXP"};

struct FrameColor {
    Rgb fore;
    Rgb back;
};

FrameColor frameColor(const std::string& dataMode, const std::string& frame) {
    if (dataMode != "KONSYU") return {kWhite, kBlack};
    if (frame == "1") return {kBlack, kWhite};
    if (frame == "2") return {kWhite, kBlack};
    if (frame == "3") return {kWhite, Rgb{255, 0, 51}};
    if (frame == "4") return {kWhite, Rgb{0, 0, 255}};
    if (frame == "5") return {kBlack, Rgb{255, 255, 0}};
    if (frame == "6") return {kBlack, Rgb{51, 255, 0}};
    if (frame == "7") return {kBlack, Rgb{255, 204, 51}};
    if (frame == "8") return {kBlack, Rgb{255, 102, 204}};
    return {kBlack, kBlack};
}

std::string trimmed(const std::string& s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

std::string markOf(const RaceTables& tables, const std::string& umaCode) {
    if (umaCode.empty()) return {};
    for (const MarkEntry& m : tables.MarkList)
        if (m.UmaCode == umaCode) return m.Mark;
    return {};
}

// "3牡": the age as a whole number and the sex; empty for an unknown sex.
std::string sexAgeText(const std::string& sex, const std::string& age) {
    std::string s;
    if (sex == "牡" || sex == "牝")
        s = sex;
    else if (sex == "ｾﾝ")
        s = "騙";
    else
        return {};
    auto a = ParseInteger(age);
    if (!a) return {};
    return std::to_string(*a) + s;
}

// "57.0K" from the weight carried in 0.1 kg; empty while it is not fixed.
std::string futanText(const std::string& weight) {
    if (weight.empty() || weight == "000") return {};
    auto w = ParseReal(weight);
    if (!w) return {};
    return FormatNumber(*w / 10, "#.0") + "K";
}

void fillFigureGroup(Sheet& sheet, int row, const TextTable& uma, int umaRow, int umaCol, int sheetCol) {
    auto first = ParseReal(uma.at(umaRow, umaCol));
    bool shown = first && *first > 0;
    for (int k = 0; k < 3; ++k) {
        ColNo col = C(sheetCol + k);
        if (shown) {
            sheet.setColors(R(row), col, kWhite, std::nullopt);
            // Shown as a number cell shows it, with two decimals (the precision
            // the analysis file delivers), so no digit of the figure is lost.
            if (auto v = ParseReal(uma.at(umaRow, umaCol + k)))
                sheet.setNumber(R(row), col, *v, FormatNumber(*v, "0.00"));
            else
                sheet.clearValue(R(row), col);
        } else {
            sheet.setColors(R(row), col, kBlack, std::nullopt);
            sheet.clearValue(R(row), col);
        }
    }
}

// Horse number of a row (column 2) when it can index the per-race tables.
std::optional<int> horseOfRow(const Sheet& sheet, int row) {
    auto n = sheet.number(R(row), C(2));
    if (!n) return std::nullopt;
    int h = static_cast<int>(*n);
    if (h != *n || !IsHorseNumber(h)) return std::nullopt;
    return h;
}

void setScore(Sheet& sheet, int row, int col, double value) {
    sheet.setNumber(R(row), C(col), value, FormatNumber(value, "0.0"));
}

void fillPerRaceColumns(Application& app, bool odds, bool mining, bool kekka) {
    RaceTables& t = app.raceTables;
    if (odds && t.odds.OddsCount > 0) {
        FillPopularityColumns(app);
        PutTansyoOdds(app);
        PutFukusyoOdds(app);
    }
    if (mining && !t.mining.MiningKubun.empty()) FillMiningColumns(app);
    if (kekka && !t.kekka.KekkaKubun.empty()) FillKekkaColumns(app);
}

void emptySheets(RaceCard& card) {
    for (Sheet& s : card.sheets) s.setRowCount(0);
}

void showKekkaColumns(RaceCard& card, bool shown) {
    for (int c = 14; c <= 16; ++c) card.sheet(3).setColumnHidden(C(c), !shown);
}

// The past runs of the rows on the grid, from scratch.
void rebuildPastRuns(Application& app, RaceCardWindows& windows, Pump& pump) {
    windows.clearHistoryPane();
    app.raceCard.pastRuns.reset(app.raceCard.sheet(1).rowCount());
    BuildPastRuns(app, pump);
}

}  // namespace

RaceCard::RaceCard() { InitRaceCardSheets(*this); }

void InitRaceCardSheets(RaceCard& card) {
    for (int s = 1; s <= 3; ++s) {
        Sheet& sheet = card.sheet(s);
        SheetUpdate batch(sheet);
        sheet.setRowCount(0);
        sheet.setColCount(kSheetColumns[static_cast<size_t>(s - 1)]);
        for (int c = 1; c <= 5; ++c) sheet.setHeader(C(c), kCommonHeaders[static_cast<size_t>(c - 1)]);
        if (s != 1) sheet.setHeader(C(3), "");
        auto put = [&](const auto& headers) {
            for (size_t i = 0; i < headers.size(); ++i) sheet.setHeader(C(static_cast<int>(i) + 6), headers[i]);
        };
        if (s == 1) put(kSheet1Headers);
        if (s == 2) put(kSheet2Headers);
        if (s == 3) put(kSheet3Headers);
    }
    showKekkaColumns(card, false);
}

std::string RaceIdOfLabel(const std::string& label) {
    if (label.size() < 16) return {};
    return label.substr(label.size() - 16);
}

std::string VisibleRaceLabel(const std::string& label) {
    std::string text = label;
    const std::string id = RaceIdOfLabel(label);
    if (!id.empty() && id.find_first_not_of("0123456789") == std::string::npos) text.resize(text.size() - id.size());
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

void ClearOdds(RaceTables& tables) { tables.odds.clear(); }
void ClearMining(RaceTables& tables) { tables.mining.clear(); }
void ClearKekka(RaceTables& tables) { tables.kekka.clear(); }

void ClearRelateLabel(RaceCard& card) {
    for (auto& l : card.lblRelateValue) l.clear();
}
void ClearScoreLabel(RaceCard& card) {
    for (auto& l : card.lblScoreValue) l.clear();
}

void ResetRaceCard(Application& app) {
    RaceCard& card = app.raceCard;
    card.lblRace.clear();
    emptySheets(card);
    card.pastRuns.reset(0);
    ClearRelateLabel(card);
    ClearScoreLabel(card);
    card.RaceDate.clear();
    card.RaceSyubetsuCode.clear();
    card.RaceJyokenCode.clear();
    card.RaceTrackCode.clear();
    card.HistoryUmaban.clear();
    card.OddsUmaban.clear();
    card.lastUmaCode.clear();
    card.kekkaLoaded = false;
    showKekkaColumns(card, false);
    app.raceTables.clear();
}

bool FillRaceCard(Application& app, const std::string& raceId) {
    const Store& store = app.store;
    RaceCard& card = app.raceCard;
    int raceRow = -1;
    for (int r = 1; r <= store.RaceCount && r <= store.RaceIdList.size(); ++r)
        if (store.RaceIdList[r] == raceId) {
            raceRow = r;
            break;
        }
    if (raceRow < 0) return true;
    int first = FindFirstRunner(store, raceId, 1, store.UmaCount);
    card.RaceSyubetsuCode = store.RaceInfo.at(raceRow, 3);
    card.RaceJyokenCode = store.RaceInfo.at(raceRow, 4);
    card.RaceTrackCode = store.RaceInfo.at(raceRow, 5);
    auto count = ParseInteger(store.RaceInfo.at(raceRow, 2));
    if (!count || first < 0) return true;
    // A count larger than the runners stored would show the next race's horses.
    int n = 0;
    while (n < *count && first + n <= store.UmaCount && store.UmaInfo.at(first + n, 1) == raceId) ++n;

    SheetUpdate b1(card.sheet(1)), b2(card.sheet(2)), b3(card.sheet(3));
    for (Sheet& s : card.sheets) s.setRowCount(n);
    const TextTable& uma = store.UmaInfo;
    for (int r = 1; r <= n; ++r) {
        int u = first + r - 1;
        const std::string& umaban = uma.at(u, 4);
        auto number = ParseInteger(umaban);
        FrameColor fc = frameColor(store.DataMode, uma.at(u, 3));
        const std::string& umaCode = uma.at(u, 2);
        std::string mark = markOf(app.raceTables, umaCode);
        std::string name = trimmed(uma.at(u, 5));
        for (Sheet& s : card.sheets) {
            if (number)
                s.setNumber(R(r), C(2), static_cast<double>(*number), std::to_string(*number));
            else
                s.setText(R(r), C(2), umaban);
            s.setColors(R(r), C(2), fc.fore, fc.back);
            s.setText(R(r), C(3), umaCode);
            s.setText(R(r), C(4), mark);
            s.setText(R(r), C(5), name);
            s.setColors(R(r), C(5), kWhite, kBlack);
        }
        Sheet& s1 = card.sheet(1);
        s1.setText(R(r), C(6), sexAgeText(uma.at(u, 6), uma.at(u, 7)));
        s1.setText(R(r), C(7), futanText(uma.at(u, 8)));
        if (!uma.at(u, 9).empty()) s1.setText(R(r), C(23), uma.at(u, 9));
        if (!uma.at(u, 10).empty()) s1.setText(R(r), C(28), uma.at(u, 10));
        fillFigureGroup(s1, r, uma, u, 14, 24);
        fillFigureGroup(s1, r, uma, u, 18, 29);
        fillFigureGroup(s1, r, uma, u, 21, 32);
    }
    return false;
}

bool LoadRace(Application& app, const std::string& raceId, RaceCardWindows& windows, Pump& pump) {
    if (raceId.empty()) return false;
    RaceCard& card = app.raceCard;
    try {
        card.RaceDate = raceId.size() >= 8 ? raceId.substr(0, 4) + "/" + raceId.substr(4, 2) + "/" + raceId.substr(6, 2)
                                           : std::string();
        RaceFilesRead read = LoadRaceFiles(app.folders, raceId, app.raceTables);
        windows.clearChart();
        emptySheets(card);
        card.kekkaLoaded = read.kekka;
        showKekkaColumns(card, read.kekka);
        card.lastUmaCode.clear();
        if (FillRaceCard(app, raceId)) return true;
        fillPerRaceColumns(app, read.odds, read.mining, read.kekka);
        if (read.kaime) windows.betListLoaded();
        rebuildPastRuns(app, windows, pump);
        return false;
    } catch (const std::exception&) {
        return true;
    }
}

bool RefreshRace(Application& app, const std::string& raceId, RaceCardWindows& windows, Pump& pump) {
    if (raceId.empty()) return false;
    RaceCard& card = app.raceCard;
    try {
        windows.clearHistoryPane();
        ClearRelateLabel(card);
        windows.clearChart();
        emptySheets(card);
        showKekkaColumns(card, card.kekkaLoaded);
        card.HistoryUmaban.clear();
        card.OddsUmaban.clear();
        card.lastUmaCode.clear();
        if (FillRaceCard(app, raceId)) return true;
        fillPerRaceColumns(app, true, true, card.kekkaLoaded);
        // The rebuilt sheet 2 lost its colours; the race is the same.
        SetRaceJyoken(app);
        rebuildPastRuns(app, windows, pump);
        return false;
    } catch (const std::exception&) {
        return true;
    }
}

bool OpenRace(Application& app, const std::string& raceId, const std::string& label, RaceCardWindows& windows,
              Pump& pump) {
    if (raceId.empty()) return false;
    RaceCard& card = app.raceCard;
    try {
        windows.clearSecondaryWindows();
        ClearOdds(app.raceTables);
        ClearMining(app.raceTables);
        ClearKekka(app.raceTables);
        ClearKaimeData(app.raceTables);
        ClearMarkList(app.raceTables);
        ClearRelateLabel(card);
        ClearScoreLabel(card);
        card.HistoryUmaban.clear();
        card.OddsUmaban.clear();
        card.RaceSyubetsuCode.clear();
        card.RaceJyokenCode.clear();
        card.RaceTrackCode.clear();
        card.lblRace = label;
        if (LoadRace(app, raceId, windows, pump)) return true;
        SetRaceJyoken(app);
        windows.setSelect(label);
        windows.raceOpened();
        return false;
    } catch (const std::exception&) {
        return true;
    }
}

// ---- odds sheet columns 6 to 24 ----

void FillPopularityColumns(Application& app) {
    Sheet& s = app.raceCard.sheet(3);
    SheetUpdate batch(s);
    for (int r = 1; r <= s.rowCount(); ++r)
        for (int c = 6; c <= 17; ++c) {
            s.clearValue(R(r), C(c));
            s.setColors(R(r), C(c), kBlack, std::nullopt);
        }
    for (int r = 1; r <= s.rowCount(); ++r) {
        auto h = horseOfRow(s, r);
        if (!h) continue;
        double v = app.raceTables.odds.OddsHensachi(*h);
        if (v > 0) {
            setScore(s, r, 6, v);
            s.setColors(R(r), C(6), kWhite, std::nullopt);
        }
    }
    PutJyuni(s, 6);
}

void FillMiningColumns(Application& app) {
    Sheet& s = app.raceCard.sheet(3);
    SheetUpdate batch(s);
    for (int r = 1; r <= s.rowCount(); ++r) {
        s.clearValue(R(r), C(8));
        s.clearValue(R(r), C(10));
        auto h = horseOfRow(s, r);
        if (!h) continue;
        double v = app.raceTables.mining.MiningHensachi(*h);
        if (v > 0) {
            setScore(s, r, 8, v);
            s.setColors(R(r), C(8), kWhite, std::nullopt);
        }
    }
    PutJyuni(s, 8);
    for (int r = 1; r <= s.rowCount(); ++r) {
        auto dm = CellValue(s, r, 8);
        auto pop = CellValue(s, r, 6);
        if (dm && pop) {
            setScore(s, r, 10, *dm - *pop);
            s.setColors(R(r), C(10), kWhite, std::nullopt);
        }
    }
}

void FillKekkaColumns(Application& app) {
    Sheet& s = app.raceCard.sheet(3);
    const KekkaTables& k = app.raceTables.kekka;
    SheetUpdate batch(s);
    for (int r = 1; r <= s.rowCount(); ++r) {
        for (int c : {14, 15, 16, 18, 19}) s.clearValue(R(r), C(c));
        auto h = horseOfRow(s, r);
        if (!h) continue;
        double score = k.KekkaHensachi(*h);
        if (score > 0) {
            setScore(s, r, 14, score);
            s.setColors(R(r), C(14), kWhite, std::nullopt);
            int order = k.KekkaNyusen(*h);
            if (order >= 1) {
                s.setNumber(R(r), C(15), order, std::to_string(order));
                if (order <= 3)
                    s.setColors(R(r), C(15), kBlack, kWhite);
                else
                    s.setColors(R(r), C(15), kWhite, kBlack);
            } else {
                s.setColors(R(r), C(15), kWhite, kBlack);
            }
            if (auto pop = CellValue(s, r, 6)) {
                setScore(s, r, 16, score - *pop);
                s.setColors(R(r), C(16), kWhite, std::nullopt);
            }
        }
        if (k.KekkaZenhan(*h) > 0 && k.KekkaAgari(*h) > 0) {
            s.setNumber(R(r), C(18), k.KekkaZenhan(*h));
            s.setNumber(R(r), C(19), k.KekkaAgari(*h));
            s.setColors(R(r), C(18), kWhite, std::nullopt);
            s.setColors(R(r), C(19), kWhite, std::nullopt);
        }
    }
    // Shorter times are better.
    CalculateHensa(s, 18, -1);
    CalculateHensa(s, 19, -1);
    ShowScores(app.raceCard, CalculateScore(s));
}

namespace {

constexpr Rgb kOrange{255, 204, 102};

// One odds cell of the win/place columns: white on black, the axis row
// inverted, a bet of the bet list black on orange, no text without odds.
void putOddsCell(Sheet& s, int row, int col, int state, int odds, bool axisRow) {
    if (axisRow)
        s.setColors(R(row), C(col), kBlack, kWhite);
    else
        s.setColors(R(row), C(col), kWhite, kBlack);
    if (state == kOddsInBetList) s.setColors(R(row), C(col), kBlack, kOrange);
    if (state == kOddsOnSale || state == kOddsInBetList)
        s.setNumber(R(row), C(col), odds / 10.0, FormatNumber(odds / 10.0, "0.0"));
    else
        s.clearValue(R(row), C(col));
}

void putRateCell(Sheet& s, int row, int col, double value, bool shown, bool axisRow) {
    s.setColors(R(row), C(col), axisRow ? kBlack : kWhite, axisRow ? kWhite : kBlack);
    if (shown && value > 0)
        s.setNumber(R(row), C(col), value * 100, FormatNumber(value * 100, "0.0"));
    else
        s.clearValue(R(row), C(col));
}

}  // namespace

void PutTansyoOdds(Application& app) {
    RaceCard& card = app.raceCard;
    const OddsTables& o = app.raceTables.odds;
    Sheet& s = card.sheet(3);
    SheetUpdate b1(card.sheet(1)), b2(card.sheet(2)), b3(s);
    for (int r = 1; r <= s.rowCount(); ++r) {
        auto h = horseOfRow(s, r);
        if (!h) return;  // a row without a horse number stops the fill
        bool axis = card.OddsUmaban == s.text(R(r), C(2));
        const OddsEntry& e = o.TansyoOdds(*h);
        putOddsCell(s, r, 20, e.state, e.odds, axis);
        bool sold = e.state == kOddsOnSale || e.state == kOddsInBetList;
        putRateCell(s, r, 21, o.TansyoShijiritsu(*h), sold, axis);
        putRateCell(s, r, 22, o.UmarenShijiritsu(*h), true, axis);
        // The three sheets keep the same row order.
        for (Sheet& any : card.sheets) any.setStrikeOut(R(r), C(5), e.state == kOddsCancelled);
    }
}

void PutFukusyoOdds(Application& app) {
    RaceCard& card = app.raceCard;
    const OddsTables& o = app.raceTables.odds;
    Sheet& s = card.sheet(3);
    SheetUpdate batch(s);
    for (int r = 1; r <= s.rowCount(); ++r) {
        auto h = horseOfRow(s, r);
        if (!h) return;
        bool axis = card.OddsUmaban == s.text(R(r), C(2));
        const RangeOddsEntry& e = o.FukusyoOdds(*h);
        putOddsCell(s, r, 23, e.lowState, e.lowOdds, axis);
        putOddsCell(s, r, 24, e.highState, e.highOdds, axis);
    }
}

// ---- choosing a runner ----

bool ChooseRunner(Application& app, int row, RaceCardWindows& windows) {
    RaceCard& card = app.raceCard;
    const Sheet& s1 = card.sheet(1);
    if (row < 1 || row > s1.rowCount()) return false;
    std::string umaCode = s1.text(R(row), C(3));
    if (umaCode.empty() || umaCode == card.lastUmaCode) return false;
    for (Sheet& s : card.sheets) {
        SheetUpdate batch(s);
        for (int r = 1; r <= s.rowCount(); ++r) s.setColors(R(r), C(5), kWhite, kBlack);
        s.setColors(R(row), C(5), kBlack, kWhite);
    }
    card.HistoryUmaban = s1.text(R(row), C(2));
    card.lastUmaCode = umaCode;
    windows.runnerChosen(row, umaCode);
    return true;
}

// ---- aptitude columns ----

void SetRaceJyoken(Application& app) {
    const std::string& caption = app.raceCard.lblRace;
    const std::string& mode = app.store.DataMode;
    std::string course;
    std::string trackDistance;
    auto chars = [&](size_t from, size_t count) {
        std::string out;
        for (size_t i = 0; i < count; ++i) out += CharacterAt(caption, from + i);
        return out;
    };
    if (mode == "KONSYU" || mode == "TOKUBETSU") {
        course = chars(12, 2);
        trackDistance = chars(mode == "KONSYU" ? 25 : 19, 5);
    }
    Sheet& s = app.raceCard.sheet(2);
    SheetUpdate batch(s);
    for (int r = 1; r <= s.rowCount(); ++r)
        for (int c = 6; c <= 29; ++c) s.setColors(R(r), C(c), kWhite, s.cell(R(r), C(c)).back);

    struct CourseColumns {
        const char* name;
        std::array<int, 3> cols;
    };
    static constexpr std::array<CourseColumns, 10> kCourses = {{{"札幌", {14, 18, 9}},
                                                                {"函館", {15, 18, 9}},
                                                                {"福島", {16, 18, 9}},
                                                                {"新潟", {10, 18, 13}},
                                                                {"東京", {11, 13, 0}},
                                                                {"中山", {6, 9, 0}},
                                                                {"中京", {12, 13, 0}},
                                                                {"京都", {7, 9, 0}},
                                                                {"阪神", {8, 9, 0}},
                                                                {"小倉", {17, 18, 9}}}};
    constexpr Rgb kGreen{0, 255, 0};
    auto green = [&](int c) {
        for (int r = 1; r <= s.rowCount(); ++r) s.setColors(R(r), C(c), kGreen, s.cell(R(r), C(c)).back);
    };
    const CourseColumns* found = nullptr;
    for (const auto& cc : kCourses)
        if (course == cc.name) found = &cc;
    if (!found) return;
    for (int c : found->cols)
        if (c) green(c);

    std::string distance = trackDistance.empty() ? std::string() : trackDistance.substr(CharacterAt(trackDistance, 1).size());
    struct DistanceColumn {
        const char* distance;
        int col;
    };
    static constexpr std::array<DistanceColumn, 21> kDistances = {
        {{"1000", 19}, {"1150", 20}, {"1200", 20}, {"1300", 21}, {"1400", 21}, {"1500", 22}, {"1600", 22}, {"1700", 23},
         {"1800", 24}, {"1900", 25}, {"2000", 25}, {"2100", 26}, {"2200", 26}, {"2300", 27}, {"2400", 27}, {"2500", 28},
         {"2600", 28}, {"3000", 29}, {"3200", 29}, {"3400", 29}, {"3600", 29}}};
    for (const auto& d : kDistances)
        if (distance == d.distance) green(d.col);
}

}  // namespace veltrix
