// PastRuns: every runner's past runs with their per-run figures, and the small
// text helpers of the race card.
#include "racecard/race_card.h"
#include "store/fields.h"
#include "store/format.h"
#include "store/weekly_store.h"

namespace veltrix {

namespace {

std::string trimSpaces(const std::string& s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

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
    auto c = [&](int col) -> const std::string& { return h.at(hr, col); };
    auto f = [&](int field) -> std::string& { return runs.at(row, slot, field); };
    f(1) = c(2);
    f(2) = c(3);
    f(3) = c(4).empty() ? c(5) + " " + c(8) : c(4);
    f(4) = c(12);
    f(5) = c(13);
    f(6) = c(14);
    f(7) = c(8);
    f(8) = CourseName(c(9));
    f(9) = c(11);
    f(10) = formatted(c(10), "#");
    f(11) = c(15);
    f(12) = c(16);
    f(13) = c(22);
    if (auto w = ParseReal(c(21))) f(14) = FormatNumber(*w / 10, "#0.0");
    f(15) = c(31);
    f(16) = BodyWeightText(c(23), c(24));
    f(30) = c(20);
    f(31) = c(43);
    if (c(25) == "4") {
        f(17) = "競走中止";
        return;  // no placing and no figures for a run stopped in the race
    }
    f(17) = CornerText(c(29));
    f(18) = c(27);
    if (c(32) != "1" || c(37) != "1") return;
    auto v33 = ParseReal(c(33));
    auto v34 = ParseReal(c(34));
    if (v33 && v34) f(19) = FormatNumber((*v33 + *v34) / 2, "##.0");
    f(20) = formatted(c(33), "##.0");
    f(21) = formatted(c(34), "##.0");
    f(22) = fromFifty(c(35));
    f(23) = fromFifty(c(36));
    for (int k = 0; k < 5; ++k) f(24 + k) = formatted(c(38 + k), "##.0");
    auto v38 = ParseReal(c(38));
    auto v39 = ParseReal(c(39));
    auto v40 = ParseReal(c(40));
    auto v41 = ParseReal(c(41));
    if (v33 && v34 && v38 && v39 && v40 && v41) {
        double r = (0.4 * *v38 + 0.6 * (*v33 + *v34) / 2 + 0.6 * *v39 + 0.4 * *v40 + 0.6 * *v41) / 2.6;
        f(29) = FormatNumber(r, "##.0");
    }
}

}  // namespace

std::string BodyWeightText(const std::string& weight, const std::string& change) {
    auto w = ParseInteger(trimSpaces(weight));
    if (!w) return {};
    std::string text = " " + std::to_string(*w);
    std::string ch = trimSpaces(change);
    if (ch.empty() || ch == "999") return text;
    auto d = ParseInteger(ch);
    if (!d) return text;
    if (*d < 0) return text + " (" + std::to_string(*d) + ")";
    return text + " (+" + std::to_string(*d) + ")";
}

void BuildPastRuns(Application& app, Pump& pump) {
    RaceCard& card = app.raceCard;
    const Store& store = app.store;
    const Sheet& s1 = card.sheet(1);
    const int rows = s1.rowCount();
    if (card.pastRuns.rows() != rows) card.pastRuns.reset(rows);
    for (int j = 1; j <= rows; ++j) {
        const std::string& umaCode = s1.text(RowNo(j), ColNo(3));
        if (umaCode.empty()) continue;
        int h = FindFirstHistory(store, umaCode, 1, store.HistoryCount);
        if (h < 0) continue;
        int slot = 1;
        const int last = std::min(store.HistoryCount, store.HistoryInfo.rows());
        while (h <= last && slot <= kPastRunSlots && store.HistoryInfo.at(h, 1) == umaCode) {
            // Withdrawn or excluded before the start: the run takes no slot.
            if (acceptedRun(store.HistoryInfo.at(h, 25))) {
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
    const Sheet& s1 = card.sheet(1);
    for (int r = 1; r <= s1.rowCount(); ++r) {
        if (s1.text(RowNo(r), ColNo(3)) != umaCode) continue;
        const std::string& no = s1.text(RowNo(r), ColNo(2));
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
    static const char* const kCourses[] = {"札幌", "函館", "福島", "新潟", "東京", "中山", "中京", "京都", "阪神", "小倉"};
    for (int i = 0; i < 10; ++i)
        if (course == kCourses[i]) return i;
    return -1;
}

}  // namespace veltrix
