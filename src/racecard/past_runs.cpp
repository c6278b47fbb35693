// PastRuns: every runner's past runs with their per-run figures, and the small
// text helpers of the race card.
#include "base/fields.h"
#include "base/format.h"
#include "base/trim.h"
#include "racecard/race_card.h"
#include "store/weekly_store.h"

namespace veltrix {

namespace {

std::string formatted(const std::string& text, const char* pattern) {
    auto v = ParseReal(text);
    return v ? FormatNumber(*v, pattern) : std::string();
}

// "+1.5" or "-2.0": the distance of a figure from 50.
std::string fromFifty(const std::string& text) {
    auto v = ParseReal(text);
    if (!v) return {};
    if (*v >= 50) return "+" + FormatNumber(*v - 50, "0.0");
    return "-" + FormatNumber(50 - *v, "0.0");
}

bool acceptedRun(const std::string& ijyo) {
    return ijyo == "0" || ijyo == "4" || ijyo == "5" || ijyo == "6" || ijyo == "7";
}

// Fills one slot from a HistoryInfo row. A figure that is not a number leaves
// its field empty instead of stopping the runner.
void fillSlot(PastRuns& runs, int row, int slot, const TextTable& h, int hr) {
    using namespace hist_col;
    auto c = [&](int col) -> const std::string& { return h.at(hr, col); };
    auto f = [&](int field) -> std::string& { return runs.at(row, slot, field); };
    f(run::kRaceId) = c(kRaceId);
    f(run::kDate) = c(kDate);
    f(run::kRaceName) = c(kRaceName).empty() ? c(kSyubetsuName) + " " + c(kJyokenName) : c(kRaceName);
    f(run::kSyubetsuCode) = c(kSyubetsuCode);
    f(run::kJyokenCode) = c(kJyokenCode);
    f(run::kTrackCode) = c(kTrackCode);
    f(run::kJyokenName) = c(kJyokenName);
    f(run::kCourse) = CourseName(c(kCourseCode));
    f(run::kTrack) = c(kTrack);
    f(run::kKyori) = formatted(c(kKyori), "#");
    f(run::kBaba) = c(kBaba);
    f(run::kTosu) = c(kTosu);
    f(run::kKisyu) = c(kKisyu);
    if (auto w = ParseReal(c(kFutan))) f(run::kFutan) = FormatNumber(*w / 10, "#0.0");
    f(run::kNinki) = c(kNinki);
    f(run::kBataiju) = BodyWeightText(c(kBataiju), c(kZogen));
    f(run::kAge) = c(kAge);
    f(run::kValidity) = c(kValidity);
    if (c(kIjyoCode) == "4") {
        f(run::kCorners) = "競走中止";
        return;  // no placing and no figures for a run stopped in the race
    }
    f(run::kCorners) = CornerText(c(kCorners));
    f(run::kJyuni) = c(kKakuteiJyuni);
    if (c(kFigureFlag) != "1" || c(kFigureCheck) != "1") return;
    // The analysis values A33..A42 of the run.
    auto a = [&](int n) { return ParseReal(c(n)); };
    auto v33 = a(33), v34 = a(34), v38 = a(38), v39 = a(39), v40 = a(40), v41 = a(41);
    if (v33 && v34) f(run::kRL) = FormatNumber((*v33 + *v34) / 2, "##.0");
    f(run::kRLZ) = formatted(c(33), "##.0");
    f(run::kRLA) = formatted(c(34), "##.0");
    f(run::kPZenhan) = fromFifty(c(35));
    f(run::kPKouhan) = fromFifty(c(36));
    f(run::kTZenhan) = formatted(c(38), "##.0");
    f(run::kTKouhan) = formatted(c(39), "##.0");
    f(run::kRZenhan) = formatted(c(40), "##.0");
    f(run::kRKouhan) = formatted(c(41), "##.0");
    f(run::kMD) = formatted(c(42), "##.0");
    if (v33 && v34 && v38 && v39 && v40 && v41) {
        // The R index: fixed weights 0.4, 0.6, 0.6, 0.4, 0.6 over their sum.
        double r = (0.4 * *v38 + 0.6 * (*v33 + *v34) / 2 + 0.6 * *v39 + 0.4 * *v40 + 0.6 * *v41) / 2.6;
        f(run::kRIndex) = FormatNumber(r, "##.0");
    }
}

}  // namespace

std::string BodyWeightText(const std::string& weight, const std::string& change) {
    auto w = ParseInteger(TrimSpaces(weight));
    if (!w) return {};
    std::string text = " " + std::to_string(*w);
    std::string ch = TrimSpaces(change);
    if (ch.empty() || ch == "999") return text;
    auto d = ParseInteger(ch);
    if (!d) return text;
    if (*d < 0) return text + " (" + std::to_string(*d) + ")";
    return text + " (+" + std::to_string(*d) + ")";
}

void BuildPastRuns(RaceCard& card, const Store& store, Pump& pump) {
    const Sheet& s1 = card.sheet(kSheetSyuso);
    const int rows = s1.rowCount();
    card.pastRuns.reset(rows);
    for (int j = 1; j <= rows; ++j) {
        const std::string& umaCode = s1.text(RowNo(j), card::kUmaCode);
        if (umaCode.empty()) continue;
        int h = FindFirstHistory(store, umaCode, 1, store.HistoryCount);
        if (h < 0) continue;
        int slot = 1;
        const int last = std::min(store.HistoryCount, store.HistoryInfo.rows());
        while (h <= last && slot <= kPastRunSlots && store.HistoryInfo.at(h, hist_col::kUmaCode) == umaCode) {
            // Withdrawn or excluded before the start: the run takes no slot.
            if (acceptedRun(store.HistoryInfo.at(h, hist_col::kIjyoCode))) {
                fillSlot(card.pastRuns, j, slot, store.HistoryInfo, h);
                ++slot;
            }
            pump.processEvents();
            ++h;
        }
    }
}

std::string CircledNumber(int n) {
    if (n == 0) return "　";
    if (n < 1 || n > 20) return {};
    std::string out;
    AppendUtf8(out, static_cast<char32_t>(0x2460 + n - 1));
    return out;
}

std::string CornerText(const std::string& corners) {
    std::string out;
    for (size_t i = 0; i + 2 <= corners.size() && i < 8; i += 2) {
        auto n = ParseInteger(corners.substr(i, 2));
        if (n) out += CircledNumber(static_cast<int>(*n));
    }
    return out;
}

std::string IjyoName(const std::string& code) {
    if (code == "1") return "出走取消";
    if (code == "2") return "発走除外";
    if (code == "3") return "競走除外";
    if (code == "4") return "競走中止";
    return {};
}

int FindUmaban(const RaceCard& card, const std::string& umaCode) {
    const Sheet& s1 = card.sheet(kSheetSyuso);
    for (int r = 1; r <= s1.rowCount(); ++r) {
        if (s1.text(RowNo(r), card::kUmaCode) != umaCode) continue;
        const std::string& no = s1.text(RowNo(r), card::kNo);
        auto n = ParseInteger(no);
        if (n && *n != 0) return static_cast<int>(*n);
        return r;
    }
    return -1;
}

int BabaIndex(const std::string& going) {
    if (going == "良") return 0;
    if (going == "稍" || going == "稍重") return 1;
    if (going == "重") return 2;
    if (going == "不" || going == "不良") return 3;
    return -1;
}

int CourseIndex(const std::string& course) {
    static const char* const kCourses[] = {"札幌", "函館", "福島", "新潟", "東京",
                                           "中山", "中京", "京都", "阪神", "小倉"};
    for (int i = 0; i < 10; ++i)
        if (course == kCourses[i]) return i;
    return -1;
}

}  // namespace veltrix
