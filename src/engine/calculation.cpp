// Per-runner part of the calculation: used runs, their figures, tallies by
// course and distance, the running record.
#include "engine/calculation.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <optional>
#include <vector>

#include "base/fields.h"
#include "base/format.h"
#include "racecard/columns.h"

namespace veltrix {

namespace {

// Digits of text[from, from + n) as a number; -1 when one is not a digit.
int digits(std::string_view text, size_t from, size_t n) {
    int v = 0;
    for (size_t i = from; i < from + n; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        v = v * 10 + (text[i] - '0');
    }
    return v;
}

std::optional<std::chrono::sys_days> parseDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '/' || text[7] != '/') return std::nullopt;
    const int y = digits(text, 0, 4);
    const int m = digits(text, 5, 2);
    const int d = digits(text, 8, 2);
    if (y < 0 || m < 0 || d < 0) return std::nullopt;
    std::chrono::year_month_day ymd{std::chrono::year(y), std::chrono::month(static_cast<unsigned>(m)),
                                    std::chrono::day(static_cast<unsigned>(d))};
    if (!ymd.ok()) return std::nullopt;
    return std::chrono::sys_days(ymd);
}

// Run l is the first after a rest: the oldest run, or more than 90 days after the one before.
bool kyuyoake(int l, std::optional<std::chrono::sys_days> previous,
              std::optional<std::chrono::sys_days> date) {
    if (l <= 1) return true;
    return previous && date && (*date - *previous).count() > 90;
}

// Run figures are read thousands of times a calculation: the standard
// library's exact reader first, the general one for any other form (blanks).
double numberOr0(std::string_view text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') ++begin;
    double v = 0;
    auto [ptr, ec] = std::from_chars(begin, end, v);
    if (ec == std::errc() && ptr == end) return v;
    return ParseReal(text).value_or(0.0);
}

// The R indexes and use flags of one runner's stored runs (run 1 first).
struct RunnerRuns {
    std::vector<double> rIndex;
    std::vector<char> used;
};

RunnerRuns readRunner(const PastRuns& runs, int runner) {
    RunnerRuns r;
    const int n = runs.slotCount(runner);
    r.rIndex.resize(static_cast<size_t>(n));
    r.used.resize(static_cast<size_t>(n));
    for (int l = 1; l <= n; ++l) {
        r.rIndex[static_cast<size_t>(l - 1)] = numberOr0(runs.at(runner, l, run::kRIndex));
        r.used[static_cast<size_t>(l - 1)] = runs.at(runner, l, run::kUseFlag) == "ON" ? 1 : 0;
    }
    return r;
}

// Whether run l (1-based) is among the best k used runs: a value equal to or
// above a kept one takes its place, so the later of equal runs ranks higher.
bool isTop(const RunnerRuns& r, int l, int k) {
    std::array<double, 5> value;
    std::array<int, 5> run{};
    value.fill(-1);
    for (size_t i = 0; i < r.rIndex.size(); ++i) {
        if (!r.used[i]) continue;
        const double v = r.rIndex[i];
        for (int p = 0; p < k; ++p) {
            if (v >= value[static_cast<size_t>(p)]) {
                for (int q = k - 1; q > p; --q) {
                    value[static_cast<size_t>(q)] = value[static_cast<size_t>(q - 1)];
                    run[static_cast<size_t>(q)] = run[static_cast<size_t>(q - 1)];
                }
                value[static_cast<size_t>(p)] = v;
                run[static_cast<size_t>(p)] = static_cast<int>(i) + 1;
                break;
            }
        }
    }
    for (int p = 0; p < k; ++p)
        if (run[static_cast<size_t>(p)] == l) return true;
    return false;
}

bool inSigma(const RunnerRuns& r, int l) {
    double sum = 0;
    int n = 0;
    for (size_t i = 0; i < r.rIndex.size(); ++i)
        if (r.used[i]) sum += r.rIndex[i], ++n;
    if (n < 2) return true;
    const double m = sum / n;
    double ss = 0;
    for (size_t i = 0; i < r.rIndex.size(); ++i)
        if (r.used[i]) ss += (r.rIndex[i] - m) * (r.rIndex[i] - m);
    const double s = std::sqrt(ss / (n - 1));
    if (l < 1 || l > static_cast<int>(r.rIndex.size())) return false;
    const double v = r.rIndex[static_cast<size_t>(l - 1)];
    return m - 2 * s <= v && v <= m + 2 * s;
}

bool passesRule(const RunnerRuns& r, int l, int rule) {
    switch (rule) {
        case kRuleTop1:
            return isTop(r, l, 1);
        case kRuleTop3:
            return isTop(r, l, 3);
        case kRuleTop5:
            return isTop(r, l, 5);
        case kRuleSigma:
            return inSigma(r, l);
        default:  // "ALL", or no rule chosen
            return true;
    }
}

// Sheet 2 column of each course box, and its group's column.
constexpr std::array<ColNo, kCourseBoxes> kCourseColumn = {
    sheet2::kSapporo,  sheet2::kHakodate, sheet2::kFukushima, sheet2::kNiigata, sheet2::kTokyo,
    sheet2::kNakayama, sheet2::kChukyo,   sheet2::kKyoto,     sheet2::kHanshin, sheet2::kKokura};
constexpr std::array<int, kCourseBoxes> kCourseGroup = {2, 2, 2, 1, 1, 0, 1, 0, 0, 2};
constexpr std::array<ColNo, 3> kGroupColumn = {sheet2::kMigiMawari, sheet2::kHidariMawari, sheet2::kLocal};

struct KyoriBucket {
    int distance;
    int bucket;
};
constexpr std::array<KyoriBucket, 21> kBuckets = {
    {{1000, 0}, {1150, 1}, {1200, 1}, {1300, 2},  {1400, 2},  {1500, 3},  {1600, 3},
     {1700, 4}, {1800, 5}, {1900, 6}, {2000, 6},  {2100, 7},  {2200, 7},  {2300, 8},
     {2400, 8}, {2500, 9}, {2600, 9}, {3000, 10}, {3200, 10}, {3400, 10}, {3600, 10}}};

int bucketOf(std::string_view distance) {
    const int d = KyoriNumber(distance);
    for (const KyoriBucket& b : kBuckets)
        if (b.distance == d) return b.bucket;
    return -1;
}

struct CourseTally {
    int count = 0;
    double sum = 0;
    long weight = 0;
    double weighted = 0;
};
struct BucketTally {
    int count = 0;
    double sum = 0;
};

// Working values of one runner.
struct RunnerTally {
    int j = 0;
    std::array<double, 10> sum{};  // fields 19..28 (22 and 23 unused)
    double sw = 0;
    std::array<double, 10> weighted{};
    std::array<CourseTally, kCourseBoxes> course{};
    std::array<CourseTally, 3> group{};
    std::array<BucketTally, 11> bucket{};
    std::string seiseki;
};

constexpr std::array<int, 8> kSummedFields = {run::kRL,      run::kRLZ,     run::kRLA,     run::kTZenhan,
                                              run::kTKouhan, run::kRZenhan, run::kRKouhan, run::kMD};

void putFigure(Sheet& s, RowNo row, ColNo col, std::optional<double> v) {
    if (v)
        s.setNumber(row, col, *v, FormatNumber(*v, "0.0"));
    else
        s.clearValue(row, col);
}

void addCourse(CourseTally& t, double r, long w) {
    t.count += 1;
    t.sum += r;
    t.weight += w;
    t.weighted += r * static_cast<double>(w);
}

std::optional<double> courseValue(const CourseTally& t) {
    if (t.count == 0) return std::nullopt;
    if (t.weight < 1) return t.sum / t.count;
    return t.weighted / static_cast<double>(t.weight);
}

void writeRunner(RaceCard& card, RowNo row, const RunnerTally& t) {
    Sheet& s1 = card.sheet(kSheetSyuso);
    Sheet& s2 = card.sheet(kSheetKeibajo);
    const bool any = t.j > 0;
    auto mean = [&](int field) -> std::optional<double> {
        if (!any) return std::nullopt;
        return t.sum[static_cast<size_t>(field - run::kRL)] / t.j;
    };
    auto weightedMean = [&](int field) -> std::optional<double> {
        if (!any) return std::nullopt;
        if (t.sw > 0) return t.weighted[static_cast<size_t>(field - run::kRL)] / t.sw;
        return mean(field);
    };
    s1.setText(row, sheet1::kSeiseki, any ? t.seiseki : std::string());
    s1.setColors(row, sheet1::kSeiseki, any ? kWhite : kBlack, s1.cell(row, sheet1::kSeiseki).back);
    putFigure(s1, row, sheet1::kRL, mean(run::kRL));
    putFigure(s1, row, sheet1::kRLZ, mean(run::kRLZ));
    putFigure(s1, row, sheet1::kRLA, mean(run::kRLA));
    putFigure(s1, row, sheet1::kRLN, mean(run::kRL));
    putFigure(s1, row, sheet1::kTZenhan, weightedMean(run::kTZenhan));
    putFigure(s1, row, sheet1::kTKouhan, weightedMean(run::kTKouhan));
    putFigure(s1, row, sheet1::kRZ, weightedMean(run::kRZenhan));
    putFigure(s1, row, sheet1::kRA, weightedMean(run::kRKouhan));
    putFigure(s1, row, sheet1::kMD, weightedMean(run::kMD));

    for (size_t c = 0; c < kCourseBoxes; ++c) putFigure(s2, row, kCourseColumn[c], courseValue(t.course[c]));
    for (size_t g = 0; g < 3; ++g) putFigure(s2, row, kGroupColumn[g], courseValue(t.group[g]));
    for (size_t b = 0; b < t.bucket.size(); ++b) {
        const BucketTally& bt = t.bucket[b];
        putFigure(s2, row, ColNo(sheet2::kKyori1000.value + static_cast<int>(b)),
                  bt.count ? std::optional<double>(bt.sum / bt.count) : std::nullopt);
    }
}

// What the runners' calculation reads of the race: its date and the class of
// its distance in each surface's list (a past run is weighed in its own surface's).
struct RaceOfCard {
    std::chrono::sys_days date;
    std::array<int, 3> kyoriClass{-1, -1, -1};  // by Surface
};

// Distance step 0..6 from two classes, -1 when either is missing.
int kyoriStep(int pastClass, int raceClass) {
    if (pastClass < 0 || raceClass < 0) return -1;
    return std::clamp(pastClass - raceClass + 3, 0, 6);
}

int placingOf(std::string_view text) {
    int v = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec == std::errc() && ptr == text.data() + text.size()) return v;
    auto parsed = ParseInteger(text);
    return parsed ? static_cast<int>(*parsed) : 0;
}

void countSeiseki(SeisekiCounts& c, bool boxesChecked, int placing) {
    if (boxesChecked && placing > 0) c.count[static_cast<size_t>(std::min(placing, 4) - 1)] += 1;
}

std::string seisekiText(const SeisekiCounts& c) {
    auto pad = [](int v, size_t width) {
        std::string s = std::to_string(v);
        return s.size() < width ? std::string(width - s.size(), ' ') + s : s;
    };
    return pad(c.count[0], 3) + "-" + pad(c.count[1], 2) + "-" + pad(c.count[2], 2) + "-" +
           pad(c.count[3], 2);
}

// One runner: the eligibility pass, the rule pass, the tallies of the kept runs.
void calculateRunner(RaceCard& card, int i, const RaceOfCard& race, const SelectPalette& palette,
                     const Settings& settings) {
    PastRuns& runs = card.pastRuns;
    RunnerTally t;
    SeisekiCounts counts;
    const int n = runs.slotCount(i);

    // Eligibility: in the period, passing the palette, a valid run with figures.
    RunnerRuns r;
    r.rIndex.resize(static_cast<size_t>(n));
    r.used.assign(static_cast<size_t>(n), 0);
    std::vector<RunBoxes> boxes(static_cast<size_t>(n));
    std::optional<std::chrono::sys_days> previous;
    for (int l = 1; l <= n; ++l) {
        const size_t k = static_cast<size_t>(l - 1);
        r.rIndex[k] = numberOr0(runs.at(i, l, run::kRIndex));
        const auto date = parseDate(runs.at(i, l, run::kDate));
        const bool afterRest = kyuyoake(l, previous, date);
        previous = date;
        if (!date || (race.date - *date).count() >= settings.Kikan) continue;
        boxes[k] = BoxesOfRun(runs.at(i, l, run::kCourse), runs.at(i, l, run::kTrack),
                              runs.at(i, l, run::kBaba), runs.at(i, l, run::kKyori));
        const bool selected = CheckSelect(palette, boxes[k], runs.at(i, l, run::kJyokenName),
                                          runs.at(i, l, run::kAge), afterRest);
        if (selected && runs.at(i, l, run::kValidity) == "ON" && !runs.at(i, l, run::kRL).empty() &&
            r.rIndex[k] != 0)
            r.used[k] = 1;
    }

    // The rule: a rejected run is dropped at once, so later runs see fewer.
    for (int l = 1; l <= n; ++l) {
        const size_t k = static_cast<size_t>(l - 1);
        if (!r.used[k]) continue;
        if (!passesRule(r, l, palette.optRule1)) {
            r.used[k] = 0;
            continue;
        }
        const RunBoxes& b = boxes[k];
        t.j += 1;
        // A distance without a step for today's race weighs nothing; the run still counts.
        const int step =
            kyoriStep(KyoriClassOfBox(b.surface, b.kyori), race.kyoriClass[static_cast<size_t>(b.surface)]);
        const double w = step >= 0 ? settings.KyoriWeight[static_cast<size_t>(step)] : 0.0;
        t.sw += w;
        for (int field : kSummedFields) {
            const double v = numberOr0(runs.at(i, l, field));
            t.sum[static_cast<size_t>(field - run::kRL)] += v;
            t.weighted[static_cast<size_t>(field - run::kRL)] += v * w;
        }
        const double rIndex = r.rIndex[k];
        if (b.jo >= 0) {
            const long whole = std::lround(w);
            addCourse(t.course[static_cast<size_t>(b.jo)], rIndex, whole);
            addCourse(t.group[static_cast<size_t>(kCourseGroup[static_cast<size_t>(b.jo)])], rIndex, whole);
        }
        if (int bucket = bucketOf(runs.at(i, l, run::kKyori)); bucket >= 0) {
            t.bucket[static_cast<size_t>(bucket)].count += 1;
            t.bucket[static_cast<size_t>(bucket)].sum += rIndex;
        }
        countSeiseki(counts, BoxesChecked(palette, b), placingOf(runs.at(i, l, run::kJyuni)));
    }
    t.seiseki = seisekiText(counts);
    for (int l = 1; l <= n; ++l)
        runs.at(i, l, run::kUseFlag) = r.used[static_cast<size_t>(l - 1)] ? "ON" : "OFF";

    const int row = SearchSyusoRow(card.sheet(kSheetSyuso), std::to_string(i));
    if (row > 0) writeRunner(card, RowNo(row), t);
}

}  // namespace

std::string RaceDistanceOf(const std::string& label, const std::string& dataMode) {
    if (dataMode == "KONSYU") return Characters(label, 26, 4);
    if (dataMode == "TOKUBETSU") return Characters(label, 20, 4);
    return {};
}

std::optional<int> DaysBetween(std::string_view earlier, std::string_view later) {
    auto a = parseDate(earlier);
    auto b = parseDate(later);
    if (!a || !b) return std::nullopt;
    return static_cast<int>((*b - *a).count());
}

void CalculateUmaIndex(RaceCard& card, const SelectPalette& palette, const Settings& settings,
                       const std::string& dataMode) {
    if (card.lblRace.find_first_not_of(' ') == std::string::npos) return;
    auto raceDate = parseDate(Characters(card.lblRace, 1, 10));
    if (!raceDate) return;
    RaceOfCard race;
    race.date = *raceDate;
    const std::string raceDistance = RaceDistanceOf(card.lblRace, dataMode);
    for (Surface s : {Surface::Siba, Surface::Dirt})
        race.kyoriClass[static_cast<size_t>(s)] = KyoriClassOfBox(s, KyoriBoxIndex(s, raceDistance));
    const int rows = std::min(card.sheet(kSheetSyuso).rowCount(), card.pastRuns.rows());
    for (int i = 1; i <= rows; ++i) calculateRunner(card, i, race, palette, settings);
}

bool IsKyuyoake(const PastRuns& runs, int runner, int l) {
    if (l <= 1) return true;
    return kyuyoake(l, parseDate(runs.at(runner, l - 1, run::kDate)),
                    parseDate(runs.at(runner, l, run::kDate)));
}

int GetKyoriIndex(std::string_view track, std::string_view pastDistance, std::string_view raceDistance) {
    return kyoriStep(KyoriClass(track, pastDistance), KyoriClass(track, raceDistance));
}

bool IsTop1(const PastRuns& runs, int runner, int l) { return isTop(readRunner(runs, runner), l, 1); }
bool IsTop3(const PastRuns& runs, int runner, int l) { return isTop(readRunner(runs, runner), l, 3); }
bool IsTop5(const PastRuns& runs, int runner, int l) { return isTop(readRunner(runs, runner), l, 5); }
bool IsInSigma(const PastRuns& runs, int runner, int l) { return inSigma(readRunner(runs, runner), l); }

std::string MakeSeisekiString(SeisekiCounts& c, const SelectPalette& palette, std::string_view course,
                              std::string_view track, std::string_view distance, std::string_view going,
                              int placing) {
    if (course.empty()) {
        c.count.fill(0);
        return {};
    }
    countSeiseki(c, BoxesChecked(palette, BoxesOfRun(course, track, going, distance)), placing);
    return seisekiText(c);
}

int SearchSyusoRow(const Sheet& syuso, const std::string& key) { return syuso.findRow(card::kNo, key).value; }

}  // namespace veltrix
