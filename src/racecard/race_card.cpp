#include "racecard/race_card.h"

#include "base/trim.h"
#include "base/fields.h"
#include "base/format.h"
#include "store/weekly_store.h"

namespace veltrix {

namespace {

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

// A group of three figures: umaCol..umaCol+2 into sheetCol..sheetCol+2.
void fillFigureGroup(Sheet& sheet, RowNo row, const TextTable& uma, int umaRow, int umaCol, ColNo sheetCol) {
    auto first = ParseReal(uma.at(umaRow, umaCol));
    bool shown = first && *first > 0;
    for (int k = 0; k < 3; ++k) {
        ColNo col(sheetCol.value + k);
        if (shown) {
            sheet.setColors(row, col, kWhite, std::nullopt);
            // Shown as a number cell shows it, with two decimals (the precision
            // the analysis file delivers), so no digit of the figure is lost.
            if (auto v = ParseReal(uma.at(umaRow, umaCol + k)))
                sheet.setNumber(row, col, *v, FormatNumber(*v, "0.00"));
            else
                sheet.clearValue(row, col);
        } else {
            sheet.setColors(row, col, kBlack, std::nullopt);
            sheet.clearValue(row, col);
        }
    }
}

void setScore(Sheet& sheet, RowNo row, ColNo col, double value) {
    sheet.setNumber(row, col, value, FormatNumber(value, "0.0"));
}

}  // namespace

RaceCard::RaceCard() { InitRaceCardSheets(*this); }

std::optional<int> HorseOfRow(const Sheet& sheet, RowNo row) {
    auto n = sheet.number(row, card::kNo);
    if (!n) return std::nullopt;
    int h = static_cast<int>(*n);
    if (h != *n || !IsHorseNumber(h)) return std::nullopt;
    return h;
}

void InitRaceCardSheets(RaceCard& card) {
    for (int s = 1; s <= 3; ++s) {
        Sheet& sheet = card.sheet(s);
        SheetUpdate batch(sheet);
        sheet.setRowCount(0);
        sheet.setColCount(kSheetColumns[static_cast<size_t>(s - 1)]);
        for (int c = 1; c <= 5; ++c) sheet.setHeader(ColNo(c), kCommonHeaders[static_cast<size_t>(c - 1)]);
        if (s != kSheetSyuso) sheet.setHeader(card::kUmaCode, "");
        auto put = [&](const auto& headers) {
            for (size_t i = 0; i < headers.size(); ++i) sheet.setHeader(ColNo(static_cast<int>(i) + 6), headers[i]);
        };
        if (s == kSheetSyuso) put(kSheet1Headers);
        if (s == kSheetKeibajo) put(kSheet2Headers);
        if (s == kSheetOdds) put(kSheet3Headers);
    }
    ShowKekkaColumns(card, false);
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

void EmptySheets(RaceCard& card) {
    for (Sheet& s : card.sheets) s.setRowCount(0);
}

void ShowKekkaColumns(RaceCard& card, bool shown) {
    for (ColNo c : {sheet3::kKekka, sheet3::kKekkaNyusen, sheet3::kKekkaSa})
        card.sheet(kSheetOdds).setColumnHidden(c, !shown);
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

void ResetRaceCard(RaceCard& card) {
    card.lblRace.clear();
    EmptySheets(card);
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
    ShowKekkaColumns(card, false);
}

bool FillRaceCard(RaceCard& card, const Store& store, const RaceTables& tables, const std::string& raceId) {
    int raceRow = -1;
    for (int r = 1; r <= store.RaceCount && r <= store.RaceIdList.size(); ++r)
        if (store.RaceIdList[r] == raceId) {
            raceRow = r;
            break;
        }
    if (raceRow < 0) return true;
    int first = FindFirstRunner(store, raceId, 1, store.UmaCount);
    card.RaceSyubetsuCode = store.RaceInfo.at(raceRow, race_col::kSyubetsuCode);
    card.RaceJyokenCode = store.RaceInfo.at(raceRow, race_col::kJyokenCode);
    card.RaceTrackCode = store.RaceInfo.at(raceRow, race_col::kTrackCode);
    auto count = ParseInteger(store.RaceInfo.at(raceRow, race_col::kTorokuTosu));
    if (!count || first < 0) return true;
    // A count larger than the runners stored would show the next race's horses.
    int n = 0;
    while (n < *count && first + n <= store.UmaCount && store.UmaInfo.at(first + n, uma_col::kRaceId) == raceId) ++n;

    SheetUpdate b1(card.sheet(1)), b2(card.sheet(2)), b3(card.sheet(3));
    for (Sheet& s : card.sheets) s.setRowCount(n);
    const TextTable& uma = store.UmaInfo;
    for (int r = 1; r <= n; ++r) {
        const RowNo row(r);
        const int u = first + r - 1;
        const std::string& umaban = uma.at(u, uma_col::kUmaban);
        auto number = ParseInteger(umaban);
        FrameColor fc = frameColor(store.DataMode, uma.at(u, uma_col::kWakuban));
        const std::string& umaCode = uma.at(u, uma_col::kUmaCode);
        std::string mark = markOf(tables, umaCode);
        std::string name = TrimSpaces(uma.at(u, uma_col::kBamei));
        for (Sheet& s : card.sheets) {
            if (number)
                s.setNumber(row, card::kNo, static_cast<double>(*number), std::to_string(*number));
            else
                s.setText(row, card::kNo, umaban);
            s.setColors(row, card::kNo, fc.fore, fc.back);
            s.setText(row, card::kUmaCode, umaCode);
            s.setText(row, card::kMark, mark);
            s.setText(row, card::kName, name);
            s.setColors(row, card::kName, kWhite, kBlack);
        }
        Sheet& s1 = card.sheet(kSheetSyuso);
        s1.setText(row, sheet1::kSeirei, sexAgeText(uma.at(u, uma_col::kSex), uma.at(u, uma_col::kAge)));
        s1.setText(row, sheet1::kFutan, futanText(uma.at(u, uma_col::kFutan)));
        if (!uma.at(u, uma_col::kKisyu).empty()) s1.setText(row, sheet1::kKisyu, uma.at(u, uma_col::kKisyu));
        if (!uma.at(u, uma_col::kChokyosi).empty())
            s1.setText(row, sheet1::kChokyosi, uma.at(u, uma_col::kChokyosi));
        fillFigureGroup(s1, row, uma, u, uma_col::kKisyuX, sheet1::kKisyuX);
        fillFigureGroup(s1, row, uma, u, uma_col::kChokyosiX, sheet1::kChokyosiX);
        fillFigureGroup(s1, row, uma, u, uma_col::kCombiX, sheet1::kCombiX);
    }
    return false;
}

void FillPerRaceColumns(RaceCard& card, const RaceTables& t, bool odds, bool mining, bool kekka) {
    if (odds && t.odds.OddsCount > 0) FillPopularityColumns(card.sheet(kSheetOdds), t.odds);
    if (mining && !t.mining.MiningKubun.empty()) FillMiningColumns(card.sheet(kSheetOdds), t.mining);
    if (kekka && !t.kekka.KekkaKubun.empty()) FillKekkaColumns(card, t.kekka);
}

// ---- odds sheet columns 6 to 24 ----

void FillPopularityColumns(Sheet& s, const OddsTables& odds) {
    SheetUpdate batch(s);
    for (int r = 1; r <= s.rowCount(); ++r)
        for (int c = sheet3::kNinki.value; c <= sheet3::kKekkaJyuni.value; ++c) {
            s.clearValue(RowNo(r), ColNo(c));
            s.setColors(RowNo(r), ColNo(c), kBlack, std::nullopt);
        }
    for (int r = 1; r <= s.rowCount(); ++r) {
        const RowNo row(r);
        auto h = HorseOfRow(s, row);
        if (!h) continue;
        double v = odds.OddsHensachi(*h);
        if (v > 0) {
            setScore(s, row, sheet3::kNinki, v);
            s.setColors(row, sheet3::kNinki, kWhite, std::nullopt);
        }
    }
    PutJyuni(s, sheet3::kNinki);
}

void FillMiningColumns(Sheet& s, const MiningTables& mining) {
    SheetUpdate batch(s);
    for (int r = 1; r <= s.rowCount(); ++r) {
        const RowNo row(r);
        s.clearValue(row, sheet3::kMining);
        s.clearValue(row, sheet3::kMiningSa);
        auto h = HorseOfRow(s, row);
        if (!h) continue;
        double v = mining.MiningHensachi(*h);
        if (v > 0) {
            setScore(s, row, sheet3::kMining, v);
            s.setColors(row, sheet3::kMining, kWhite, std::nullopt);
        }
    }
    PutJyuni(s, sheet3::kMining);
    for (int r = 1; r <= s.rowCount(); ++r) {
        const RowNo row(r);
        auto dm = CellValue(s, row, sheet3::kMining);
        auto pop = CellValue(s, row, sheet3::kNinki);
        if (dm && pop) {
            setScore(s, row, sheet3::kMiningSa, *dm - *pop);
            s.setColors(row, sheet3::kMiningSa, kWhite, std::nullopt);
        }
    }
}

void FillKekkaColumns(RaceCard& card, const KekkaTables& k) {
    Sheet& s = card.sheet(kSheetOdds);
    SheetUpdate batch(s);
    for (int r = 1; r <= s.rowCount(); ++r) {
        const RowNo row(r);
        for (ColNo c : {sheet3::kKekka, sheet3::kKekkaNyusen, sheet3::kKekkaSa, sheet3::kKekkaZenhan,
                        sheet3::kKekkaAgari})
            s.clearValue(row, c);
        auto h = HorseOfRow(s, row);
        if (!h) continue;
        double score = k.KekkaHensachi(*h);
        if (score > 0) {
            setScore(s, row, sheet3::kKekka, score);
            s.setColors(row, sheet3::kKekka, kWhite, std::nullopt);
            int order = k.KekkaNyusen(*h);
            if (order >= 1) {
                s.setNumber(row, sheet3::kKekkaNyusen, order, std::to_string(order));
                if (order <= 3)
                    s.setColors(row, sheet3::kKekkaNyusen, kBlack, kWhite);
                else
                    s.setColors(row, sheet3::kKekkaNyusen, kWhite, kBlack);
            } else {
                s.setColors(row, sheet3::kKekkaNyusen, kWhite, kBlack);
            }
            if (auto pop = CellValue(s, row, sheet3::kNinki)) {
                setScore(s, row, sheet3::kKekkaSa, score - *pop);
                s.setColors(row, sheet3::kKekkaSa, kWhite, std::nullopt);
            }
        }
        if (k.KekkaZenhan(*h) > 0 && k.KekkaAgari(*h) > 0) {
            s.setNumber(row, sheet3::kKekkaZenhan, k.KekkaZenhan(*h));
            s.setNumber(row, sheet3::kKekkaAgari, k.KekkaAgari(*h));
            s.setColors(row, sheet3::kKekkaZenhan, kWhite, std::nullopt);
            s.setColors(row, sheet3::kKekkaAgari, kWhite, std::nullopt);
        }
    }
    // Shorter times are better.
    CalculateHensa(s, sheet3::kKekkaZenhan, -1);
    CalculateHensa(s, sheet3::kKekkaAgari, -1);
    ShowScores(card, CalculateScore(s));
}

Rgb GetHeatColor(double v) {
    struct Band {
        double above;
        Rgb color;
    };
    // First matching band; 0.65-0.85 share one yellow.
    static constexpr Band kBands[] = {
        {1.95, {51, 0, 255}},  {1.85, {0, 0, 255}},   {1.75, {0, 51, 255}},  {1.65, {0, 102, 255}},
        {1.55, {0, 153, 255}}, {1.45, {0, 204, 255}}, {1.35, {0, 255, 255}}, {1.25, {0, 255, 204}},
        {1.15, {0, 255, 153}}, {1.05, {0, 255, 0}},   {0.95, {153, 255, 0}}, {0.85, {204, 255, 0}},
        {0.75, {255, 255, 0}}, {0.65, {255, 255, 0}}, {0.55, {255, 204, 0}}, {0.45, {255, 153, 0}},
        {0.35, {255, 102, 0}}, {0.25, {255, 51, 0}},  {0.15, {255, 102, 0}}, {0.05, {255, 51, 0}},
    };
    for (const Band& b : kBands)
        if (v > b.above) return b.color;
    return {255, 0, 0};
}

// ---- choosing a runner ----

bool MarkChosenRunner(RaceCard& card, RowNo row) {
    const Sheet& s1 = card.sheet(kSheetSyuso);
    if (row.value < 1 || row.value > s1.rowCount()) return false;
    std::string umaCode = s1.text(row, card::kUmaCode);
    if (umaCode.empty() || umaCode == card.lastUmaCode) return false;
    for (Sheet& s : card.sheets) {
        SheetUpdate batch(s);
        for (int r = 1; r <= s.rowCount(); ++r) s.setColors(RowNo(r), card::kName, kWhite, kBlack);
        s.setColors(row, card::kName, kBlack, kWhite);
    }
    card.HistoryUmaban = s1.text(row, card::kNo);
    card.lastUmaCode = umaCode;
    return true;
}

// ---- aptitude columns ----

void SetRaceJyoken(Sheet& s, const std::string& caption, const std::string& mode) {
    std::string course;
    std::string trackDistance;
    if (mode == "KONSYU" || mode == "TOKUBETSU") {
        course = Characters(caption, 12, 2);
        trackDistance = Characters(caption, mode == "KONSYU" ? 25 : 19, 5);
    }
    SheetUpdate batch(s);
    for (int r = 1; r <= s.rowCount(); ++r)
        for (int c = sheet2::kFirstFigure.value; c <= sheet2::kLastFigure.value; ++c)
            s.setColors(RowNo(r), ColNo(c), kWhite, s.cell(RowNo(r), ColNo(c)).back);

    struct CourseColumns {
        const char* name;
        std::array<ColNo, 3> cols;  // the course, its group, and the turn direction of a local course
    };
    using namespace sheet2;
    static constexpr std::array<CourseColumns, 10> kCourses = {{{"札幌", {kSapporo, kLocal, kMigiMawari}},
                                                                {"函館", {kHakodate, kLocal, kMigiMawari}},
                                                                {"福島", {kFukushima, kLocal, kMigiMawari}},
                                                                {"新潟", {kNiigata, kLocal, kHidariMawari}},
                                                                {"東京", {kTokyo, kHidariMawari, ColNo()}},
                                                                {"中山", {kNakayama, kMigiMawari, ColNo()}},
                                                                {"中京", {kChukyo, kHidariMawari, ColNo()}},
                                                                {"京都", {kKyoto, kMigiMawari, ColNo()}},
                                                                {"阪神", {kHanshin, kMigiMawari, ColNo()}},
                                                                {"小倉", {kKokura, kLocal, kMigiMawari}}}};
    constexpr Rgb kGreen{0, 255, 0};
    auto green = [&](ColNo c) {
        for (int r = 1; r <= s.rowCount(); ++r) s.setColors(RowNo(r), c, kGreen, s.cell(RowNo(r), c).back);
    };
    const CourseColumns* found = nullptr;
    for (const auto& cc : kCourses)
        if (course == cc.name) found = &cc;
    if (!found) return;
    for (ColNo c : found->cols)
        if (c.value) green(c);

    std::string distance = trackDistance.empty() ? std::string() : trackDistance.substr(CharacterAt(trackDistance, 1).size());
    struct DistanceColumn {
        const char* distance;
        ColNo col;
    };
    static constexpr std::array<DistanceColumn, 21> kDistances = {
        {{"1000", kKyori1000}, {"1150", kKyori1200}, {"1200", kKyori1200}, {"1300", kKyori1400}, {"1400", kKyori1400},
         {"1500", kKyori1600}, {"1600", kKyori1600}, {"1700", kKyori1700}, {"1800", kKyori1800}, {"1900", kKyori2000},
         {"2000", kKyori2000}, {"2100", kKyori2200}, {"2200", kKyori2200}, {"2300", kKyori2400}, {"2400", kKyori2400},
         {"2500", kKyori2500}, {"2600", kKyori2500}, {"3000", kKyori3000}, {"3200", kKyori3000}, {"3400", kKyori3000},
         {"3600", kKyori3000}}};
    for (const auto& d : kDistances)
        if (distance == d.distance) green(d.col);
}

}  // namespace veltrix
