// The race model window's grid from a results-database race file: the text
// rules, the figures from the race's own times, sorting, and START.
#include "simulation/race_model.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/format.h"
#include "simulation/sim_script.h"
#include "support/fake_host.h"

namespace veltrix::test {
namespace {

using namespace race_model;

// frame, number, abnormality, name, sex, age, carried, weight, change, jockey,
// trainer, time, 3F, corners, arrival, placing, odds, popularity
SeisekiRecord rec(int number, const std::string& abnormality, const std::string& time,
                  const std::string& last3f, int place) {
    const std::string n = (number < 10 ? "0" : "") + std::to_string(number);
    const std::string p = (place < 10 ? "0" : "") + std::to_string(place);
    return {std::to_string((number + 1) / 2),
            n,
            abnormality,
            "ホース" + n,
            "1",
            "04",
            "0570",
            "480",
            "+004",
            "騎手" + n,
            "調教" + n,
            time,
            last3f,
            "03030201",
            p,
            p,
            "0123",
            p};
}

// 16 runners: times 1.34.0 + 0.1 x (number - 1), last 3F 34.0 + 0.2 x (number % 5).
std::vector<SeisekiRecord> sixteen() {
    std::vector<SeisekiRecord> r;
    for (int i = 1; i <= 16; ++i) {
        const int t = 340 + (i - 1);
        const int l = 340 + 2 * (i % 5);
        r.push_back(rec(i, "0", "1" + std::to_string(t), std::to_string(l), i));
    }
    return r;
}

const Cell& at(const Sheet& s, int row, ColNo col) { return s.cell(RowNo(row), col); }

TEST(RaceModelGrid, SixteenRunnersWithEveryColumn) {
    RaceModel m;
    FillRaceModelGrid(m.fpsSyuso, sixteen(), " ホース03 ");
    const Sheet& g = m.fpsSyuso;
    ASSERT_EQ(g.rowCount(), 16);
    ASSERT_EQ(g.colCount(), 18);
    EXPECT_EQ(g.header(kNo), "No.");
    EXPECT_EQ(g.header(kMD), "MD");
    EXPECT_EQ(g.header(kAgari), "上3F");
    EXPECT_EQ(at(g, 1, kNo).text, "1");
    EXPECT_EQ(at(g, 1, kName).text, "ホース01");
    EXPECT_EQ(at(g, 1, kSeirei).text, "4 牡");
    EXPECT_EQ(at(g, 1, kFutan).text, "57.0K");
    EXPECT_EQ(at(g, 1, kKisyu).text, "騎手01");
    EXPECT_EQ(at(g, 1, kChokyo).text, "調教01");
    EXPECT_EQ(at(g, 1, kTansyo).text, "12.3");
    EXPECT_EQ(at(g, 1, kNinki).text, "1");
    EXPECT_EQ(at(g, 1, kBataiju).text, "480 (+4) ");
    EXPECT_EQ(at(g, 1, kTenkai).text, "③③②①");
    EXPECT_EQ(at(g, 1, kNyusen).text, "1");
    EXPECT_EQ(at(g, 1, kKakutei).text, "1");
    EXPECT_EQ(at(g, 1, kTime).text, "1.34.0");
    EXPECT_EQ(at(g, 1, kAgari).text, "34.2");
    // Tenths before the deviation step: 1.34.0 is 940, 3F 342, first part 598.
    EXPECT_EQ(at(g, 1, kRZentai).number, 940);
    EXPECT_EQ(at(g, 1, kRKouhan).number, 342);
    EXPECT_EQ(at(g, 1, kRZenhan).number, 598);
    // Frame colours: frame 1 white, 2 black, 3 red, 5 yellow; the named horse black on white.
    EXPECT_EQ(at(g, 1, kNo).back, (Rgb{255, 255, 255}));
    EXPECT_EQ(at(g, 1, kNo).fore, kBlack);
    EXPECT_EQ(at(g, 3, kNo).back, kBlack);
    EXPECT_EQ(at(g, 3, kNo).fore, kWhite);
    EXPECT_EQ(at(g, 5, kNo).back, (Rgb{255, 0, 51}));
    EXPECT_EQ(at(g, 9, kNo).back, (Rgb{255, 255, 0}));
    EXPECT_EQ(at(g, 9, kNo).fore, kBlack);
    EXPECT_EQ(at(g, 3, kName).back, kWhite);
    EXPECT_EQ(at(g, 3, kName).fore, kBlack);
    EXPECT_EQ(at(g, 4, kName).back, kBlack);
    EXPECT_EQ(at(g, 4, kName).fore, kWhite);
    // Places 1-3 black on white, the rest white on black.
    EXPECT_EQ(at(g, 3, kNyusen).back, kWhite);
    EXPECT_EQ(at(g, 4, kKakutei).back, kBlack);
}

TEST(RaceModelGrid, FrameColoursOfEveryFrame) {
    const std::vector<std::pair<Rgb, Rgb>> expected = {{{255, 255, 255}, kBlack}, {kBlack, kWhite},
                                                       {{255, 0, 51}, kWhite},    {{0, 0, 255}, kWhite},
                                                       {{255, 255, 0}, kBlack},   {{51, 255, 0}, kBlack},
                                                       {{255, 204, 51}, kBlack},  {{255, 102, 204}, kBlack}};
    for (int f = 1; f <= 8; ++f) {
        EXPECT_EQ(FrameBackColour(std::to_string(f)), expected[static_cast<size_t>(f - 1)].first) << f;
        EXPECT_EQ(FrameForeColour(std::to_string(f)), expected[static_cast<size_t>(f - 1)].second) << f;
    }
    EXPECT_EQ(FrameBackColour("9"), kBlack);
    EXPECT_EQ(FrameForeColour("9"), kBlack);
}

TEST(RaceModelGrid, TheTableEndsAtAnEmptyFrameAndAtThirtyRows) {
    auto records = sixteen();
    records[5][seiseki_col::kFrame] = " ";
    RaceModel m;
    FillRaceModelGrid(m.fpsSyuso, records, "");
    EXPECT_EQ(m.fpsSyuso.rowCount(), 5);
    std::vector<SeisekiRecord> many;
    for (int i = 0; i < 2; ++i)
        for (const auto& r : sixteen()) many.push_back(r);
    FillRaceModelGrid(m.fpsSyuso, many, "");
    EXPECT_EQ(m.fpsSyuso.rowCount(), 30);
}

TEST(RaceModelGrid, WithdrawnRunnerShowsOnlyItsEntry) {
    auto records = sixteen();
    records[1] = rec(2, "1", "0000", "000", 0);
    RaceModel m;
    FillRaceModelGrid(m.fpsSyuso, records, "");
    const Sheet& g = m.fpsSyuso;
    EXPECT_EQ(at(g, 2, kNo).text, "2");
    EXPECT_EQ(at(g, 2, kName).text, "ホース02");
    EXPECT_TRUE(at(g, 2, kName).strikeOut);
    EXPECT_EQ(at(g, 2, kSeirei).text, "4 牡");
    EXPECT_EQ(at(g, 2, kFutan).text, "57.0K");
    EXPECT_EQ(at(g, 2, kKisyu).text, "騎手02");
    EXPECT_EQ(at(g, 2, kChokyo).text, "調教02");
    EXPECT_EQ(at(g, 2, kTenkai).text, "出走取消");
    for (ColNo c :
         {kTansyo, kNinki, kBataiju, kNyusen, kKakutei, kTime, kAgari, kRZenhan, kRKouhan, kRZentai, kMD})
        EXPECT_EQ(at(g, 2, c).text, "") << c.value;
    EXPECT_FALSE(at(g, 1, kName).strikeOut);
}

TEST(RaceModelGrid, OtherAbnormalities) {
    auto records = sixteen();
    records[1][seiseki_col::kAbnormality] = "2";  // 発走除外: odds and weight still shown
    records[2][seiseki_col::kAbnormality] = "3";  // 競走除外: weight, no odds
    records[3][seiseki_col::kAbnormality] = "4";  // 競走中止: not struck through
    RaceModel m;
    FillRaceModelGrid(m.fpsSyuso, records, "");
    const Sheet& g = m.fpsSyuso;
    EXPECT_EQ(at(g, 2, kTenkai).text, "発走除外");
    EXPECT_TRUE(at(g, 2, kName).strikeOut);
    EXPECT_EQ(at(g, 2, kTansyo).text, "12.3");
    EXPECT_EQ(at(g, 2, kBataiju).text, "480 (+4) ");
    EXPECT_EQ(at(g, 3, kTenkai).text, "競走除外");
    EXPECT_TRUE(at(g, 3, kName).strikeOut);
    EXPECT_EQ(at(g, 3, kTansyo).text, "");
    EXPECT_EQ(at(g, 3, kNinki).text, "");
    EXPECT_EQ(at(g, 3, kBataiju).text, "480 (+4) ");
    EXPECT_EQ(at(g, 4, kTenkai).text, "競走中止");
    EXPECT_FALSE(at(g, 4, kName).strikeOut);
    EXPECT_EQ(at(g, 4, kTime).text, "");
    EXPECT_EQ(at(g, 4, kRZentai).text, "");
}

TEST(RaceModelGrid, DemotedRunnerHasItsArrivalStruckAndNoPlacing) {
    auto records = sixteen();
    records[0][seiseki_col::kAbnormality] = "5";
    records[1][seiseki_col::kAbnormality] = "7";
    RaceModel m;
    FillRaceModelGrid(m.fpsSyuso, records, "");
    const Sheet& g = m.fpsSyuso;
    EXPECT_EQ(at(g, 1, kNyusen).text, "1");
    EXPECT_TRUE(at(g, 1, kNyusen).strikeOut);
    EXPECT_EQ(at(g, 1, kKakutei).text, "");
    EXPECT_EQ(at(g, 1, kTime).text, "1.34.0");  // it finished: time and figures stay
    EXPECT_FALSE(at(g, 1, kRZentai).text.empty());
    EXPECT_TRUE(at(g, 2, kNyusen).strikeOut);
    EXPECT_EQ(at(g, 2, kKakutei).text, "2");
}

TEST(RaceModelGrid, TimesAndLastThreeFurlongs) {
    EXPECT_EQ(RaceTimeText("0587"), " 58.7");
    EXPECT_EQ(RaceTimeText("1345"), "1.34.5");
    EXPECT_EQ(Last3FText("345"), "34.5");
    auto records = sixteen();
    records[0][seiseki_col::kTime] = "0587";
    records[0][seiseki_col::kLast3F] = "345";
    records[1][seiseki_col::kLast3F] = "999";
    records[2][seiseki_col::kLast3F] = "000";
    RaceModel m;
    FillRaceModelGrid(m.fpsSyuso, records, "");
    const Sheet& g = m.fpsSyuso;
    EXPECT_EQ(at(g, 1, kTime).text, " 58.7");
    EXPECT_EQ(at(g, 1, kAgari).text, "34.5");
    EXPECT_EQ(at(g, 1, kRZentai).number, 587);
    EXPECT_EQ(at(g, 1, kRZenhan).number, 587 - 345);
    EXPECT_EQ(at(g, 2, kTime).text, "Over");
    EXPECT_EQ(at(g, 2, kAgari).text, "");
    EXPECT_EQ(at(g, 2, kRZentai).text, "");
    // "000": the time shows, the figures do not.
    EXPECT_EQ(at(g, 3, kTime).text, "1.34.2");
    EXPECT_EQ(at(g, 3, kAgari).text, "00.0");
    EXPECT_EQ(at(g, 3, kRZentai).text, "");
}

TEST(RaceModelGrid, BodyWeightTexts) {
    EXPECT_EQ(RaceModelWeightText("480", "+004"), "480 (+4)");
    EXPECT_EQ(RaceModelWeightText("480", " 004"), "480 (+4)");
    EXPECT_EQ(RaceModelWeightText("480", "-004"), "480 (-4)");
    EXPECT_EQ(RaceModelWeightText("480", " 000"), "480 (+0)");
    EXPECT_EQ(RaceModelWeightText("480", " 999"), "480 (?)");
    EXPECT_EQ(RaceModelWeightText("480", "    "), "480 (-)");
    EXPECT_EQ(RaceModelWeightText("999", "+004"), "???");
}

TEST(RaceModelGrid, SexAgeAndWeightCarried) {
    auto records = sixteen();
    records[0][seiseki_col::kSex] = "2";
    records[1][seiseki_col::kSex] = "3";
    records[2][seiseki_col::kSex] = "0";
    records[3][seiseki_col::kWeightCarried] = "";
    records[4][seiseki_col::kWeightCarried] = "0545";
    RaceModel m;
    FillRaceModelGrid(m.fpsSyuso, records, "");
    EXPECT_EQ(at(m.fpsSyuso, 1, kSeirei).text, "4 牝");
    EXPECT_EQ(at(m.fpsSyuso, 2, kSeirei).text, "4 騙");
    EXPECT_EQ(at(m.fpsSyuso, 3, kSeirei).text, "");
    EXPECT_EQ(at(m.fpsSyuso, 4, kFutan).text, "");
    EXPECT_EQ(at(m.fpsSyuso, 5, kFutan).text, "54.5K");
}

// Deviation scores by hand: 50 + 10 x (x - m) x sign / sd.
std::vector<double> hensa(const std::vector<double>& v, int sign) {
    double mean = 0;
    for (double x : v) mean += x;
    mean /= static_cast<double>(v.size());
    double ss = 0;
    for (double x : v) ss += (x - mean) * (x - mean);
    const double sd = std::sqrt(ss / static_cast<double>(v.size() - 1));
    std::vector<double> out;
    for (double x : v) out.push_back((x - mean) * sign / sd * 10 + 50);
    return out;
}

TEST(RaceModelFigures, DeviationScoresAndMdByHand) {
    // Three runners: whole times 600, 605, 612; 3F 350, 348, 356.
    std::vector<SeisekiRecord> records = {rec(1, "0", "1000", "350", 1), rec(2, "0", "1005", "348", 2),
                                          rec(3, "0", "1012", "356", 3)};
    RaceModel m;
    FillRaceModelGrid(m.fpsSyuso, records, "");
    CalculateRaceModelFigures(m.fpsSyuso);
    const Sheet& g = m.fpsSyuso;
    const auto whole = hensa({600, 605, 612}, -1);
    const auto first = hensa({250, 257, 256}, -1);
    const auto last = hensa({350, 348, 356}, -1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(*at(g, i + 1, kRZentai).number, whole[static_cast<size_t>(i)], 1e-9);
        EXPECT_NEAR(*at(g, i + 1, kRZenhan).number, first[static_cast<size_t>(i)], 1e-9);
        EXPECT_NEAR(*at(g, i + 1, kRKouhan).number, last[static_cast<size_t>(i)], 1e-9);
    }
    // r over the deviation scores, then MD = (l(al + bm) + m(am + bl)) / 2 with a = 1/(1-r²), b = -ar.
    double sum = 0;
    for (size_t i = 0; i < 3; ++i) sum += (first[i] - 50) * (last[i] - 50);
    const double r = sum / 2 / 100;
    const double a = 1 / (1 - r * r), b = -a * r;
    std::vector<double> md;
    for (size_t i = 0; i < 3; ++i) {
        const double l = first[i], mm = last[i];
        md.push_back((l * (a * l + mm * b) + mm * (a * mm + l * b)) / 2);
    }
    const auto mdHensa = hensa(md, 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(*at(g, i + 1, kMD).number, mdHensa[static_cast<size_t>(i)], 1e-9);
        EXPECT_EQ(at(g, i + 1, kMD).text, FormatNumber(mdHensa[static_cast<size_t>(i)], "0.0"));
    }
    // Shown with one decimal.
    EXPECT_EQ(at(g, 1, kRZentai).text, FormatNumber(whole[0], "0.0"));
    EXPECT_NEAR(*MdValue(55, 45, 0.5),
                (55 * (55 / 0.75 - 45 * 0.5 / 0.75) + 45 * (45 / 0.75 - 55 * 0.5 / 0.75)) / 2, 1e-9);
}

TEST(RaceModelFigures, EqualFiguresScoreFiftyAndPerfectCorrelationLeavesMdEmpty) {
    // Equal times and equal 3F: no spread in any column.
    std::vector<SeisekiRecord> records = {rec(1, "0", "1000", "350", 1), rec(2, "0", "1000", "350", 2)};
    RaceModel m;
    FillRaceModelGrid(m.fpsSyuso, records, "");
    CalculateRaceModelFigures(m.fpsSyuso);
    for (int r = 1; r <= 2; ++r) {
        EXPECT_EQ(at(m.fpsSyuso, r, kRZentai).text, "50.0");
        EXPECT_EQ(at(m.fpsSyuso, r, kRZenhan).text, "50.0");
        EXPECT_EQ(at(m.fpsSyuso, r, kRKouhan).text, "50.0");
        EXPECT_FALSE(std::isnan(*at(m.fpsSyuso, r, kMD).number));
        EXPECT_EQ(at(m.fpsSyuso, r, kMD).text, "50.0");
    }
    // First parts and 3F in perfect step (250/350, 255/355, 260/360): r is 1 and MD stays empty.
    records = {rec(1, "0", "1000", "350", 1), rec(2, "0", "1010", "355", 2), rec(3, "0", "1020", "360", 3)};
    FillRaceModelGrid(m.fpsSyuso, records, "");
    CalculateRaceModelFigures(m.fpsSyuso);
    EXPECT_EQ(at(m.fpsSyuso, 1, kMD).text, "");
    EXPECT_EQ(at(m.fpsSyuso, 2, kMD).text, "");
    EXPECT_EQ(at(m.fpsSyuso, 3, kMD).text, "");
    EXPECT_FALSE(MdValue(50, 50, 1.0).has_value());
    EXPECT_FALSE(MdValue(50, 50, -1.0).has_value());
    // One runner with figures: 50, and no MD.
    records = {rec(1, "0", "1000", "350", 1), rec(2, "1", "0000", "000", 0)};
    FillRaceModelGrid(m.fpsSyuso, records, "");
    CalculateRaceModelFigures(m.fpsSyuso);
    EXPECT_EQ(at(m.fpsSyuso, 1, kRZentai).text, "50.0");
    EXPECT_EQ(at(m.fpsSyuso, 1, kMD).text, "");
}

TEST(RaceModelSort, HeaderDirections) {
    RaceModel m;
    FillRaceModelGrid(m.fpsSyuso, sixteen(), "");
    CalculateRaceModelFigures(m.fpsSyuso);
    Sheet& g = m.fpsSyuso;
    EXPECT_FALSE(ClickRaceModelHeader(g, kRZentai));  // descending: the fastest first
    EXPECT_EQ(at(g, 1, kNo).text, "1");
    EXPECT_FALSE(ClickRaceModelHeader(g, kAgari));  // ascending: the quickest 3F first
    EXPECT_EQ(at(g, 1, kAgari).text, "34.0");
    EXPECT_FALSE(ClickRaceModelHeader(g, kNo));
    EXPECT_EQ(at(g, 1, kNo).text, "1");
    EXPECT_EQ(at(g, 16, kNo).text, "16");
    EXPECT_FALSE(ClickRaceModelHeader(g, kTime));
    EXPECT_EQ(at(g, 16, kTime).text, "1.35.5");
    for (int c : {2, 3, 5, 6, 9, 10}) EXPECT_TRUE(ClickRaceModelHeader(g, ColNo(c))) << c;
    for (int c : {1, 4, 7, 8, 11, 12, 13, 14, 15, 16, 17, 18})
        EXPECT_FALSE(ClickRaceModelHeader(g, ColNo(c))) << c;
    // Column 4 descending: the heaviest weight first.
    Sheet w = g;
    w.setNumber(RowNo(5), kFutan, 58, "58.0K");
    ClickRaceModelHeader(w, kFutan);
    EXPECT_EQ(at(w, 1, kFutan).text, "58.0K");
}

TEST(RaceModelData, SetRaceDataReadsTheRaceFile) {
    TempDir dir;
    const std::string id = "2025052504010211";
    ASSERT_EQ(AppendSeisekiRaceFile(dir.path(), id, sixteen()), 0);
    RaceModel m;
    EXPECT_EQ(SetRaceData(m, dir.path(), id, "ホース05"), SeisekiFileStatus::Read);
    EXPECT_EQ(m.fpsSyuso.rowCount(), 16);
    EXPECT_EQ(at(m.fpsSyuso, 5, kName).back, kWhite);
    EXPECT_FALSE(at(m.fpsSyuso, 1, kMD).text.empty());
    // Another race that is not there: an empty grid.
    EXPECT_EQ(SetRaceData(m, dir.path(), "2025052504010212", "ホース05"), SeisekiFileStatus::Missing);
    EXPECT_EQ(m.fpsSyuso.rowCount(), 0);
    EXPECT_EQ(m.fpsSyuso.colCount(), 18);
}

class NoStage final : public SimStage {
public:
    explicit NoStage(const std::string& keys) {
        std::string reason;
        std::vector<KeyStep> steps;
        ParseKeyScript(keys, steps, reason);
        keyboard_ = std::make_unique<ScriptedKeyboard>(steps);
    }
    LockedControls opened;
    SimGeometry course;
    int lanes = 0;
    bool open(const LockedControls& c, const SimGeometry& g, int l) override {
        opened = c;
        course = g;
        lanes = l;
        return false;
    }
    SimKeyboard& keyboard() override { return *keyboard_; }
    SimSurface& surface() override { return surface_; }
    void close(const LockedControls&) override {}

private:
    std::unique_ptr<ScriptedKeyboard> keyboard_;
    NullSurface surface_;
};

TEST(RaceModelStart, ResultSimulationOverTheRowsOnTheWindowsCourse) {
    RaceModel m;
    FillRaceModelGrid(m.fpsSyuso, sixteen(), "");
    CalculateRaceModelFigures(m.fpsSyuso);
    FakeUserInterface ui;
    NoStage stage("");
    FakeClock clock;
    SimRandom random(5);
    SimResult result;
    EXPECT_EQ(StartRaceModelSimulation(m, ui, stage, clock, random, result), SimOutcome::Ran);
    EXPECT_EQ(ui.questions.at(0).text, "結果シミュレーションを開始しますか？");
    EXPECT_EQ(stage.course.start, 12);
    EXPECT_EQ(stage.course.finish, 700);
    EXPECT_EQ(stage.course.firstLane, 76);
    EXPECT_EQ(stage.lanes, 16);
    EXPECT_EQ(stage.opened, RaceModelSimulationControls());
    ASSERT_EQ(result.order.size(), 16u);
    EXPECT_EQ(result.order[0].horse, "1");  // the fastest time

    // A missing race file: no runners, the window's own message.
    RaceModel empty;
    EXPECT_EQ(StartRaceModelSimulation(empty, ui, stage, clock, random, result), SimOutcome::TooFew);
    EXPECT_EQ(ui.messages.at(0).text, "結果シミュレーションを行うには、２頭の対象馬が必要です。");
}

}  // namespace
}  // namespace veltrix::test
