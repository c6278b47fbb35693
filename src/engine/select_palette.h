#pragma once
// The selection palette's state: which past runs count for the calculation
// (courses, going, turf and dirt distances, excluded conditions, the period and
// the rule). The calculation reads this struct; the palette window only shows
// and changes it.
#include <array>
#include <string>
#include <string_view>

#include "engine/course_tables.h"

namespace veltrix {

inline constexpr int kJokenBoxes = 5;
inline constexpr int kRuleOptions = 5;
inline constexpr int kKikanEntries = 9;  // "100日" .. "900日"

// optRule1: the rule that keeps the best runs.
enum RuleIndex : int {
    kRuleNone = -1,
    kRuleAll = 0,
    kRuleTop1 = 1,
    kRuleTop3 = 2,
    kRuleTop5 = 3,
    kRuleSigma = 4
};

// A distance box: its value, whether it can be clicked, and the flag of its
// tag (the flag of box 0 tells whether runs of that surface take part at all).
struct KyoriBox {
    bool value = false;
    bool enabled = true;
    bool tag = false;
};

struct SelectPalette {
    std::array<bool, kCourseBoxes> chkJo{};
    std::array<bool, kBabaBoxes> chkBaba{};
    std::array<KyoriBox, kSibaBoxes> chkSKyori{};
    std::array<KyoriBox, kDirtBoxes> chkDKyori{};
    std::array<bool, kJokenBoxes> chkJoken{};
    int optRule1 = kRuleNone;
    int cboKikan = -1;  // period entry k means (k + 1) x 100 days; -1 none selected

    // The boxes drawn green: the shown race's course and distance (-1 none).
    int greenJo = -1;
    int greenSKyori = -1;
    int greenDKyori = -1;
};

// Captions as the palette shows them.
inline constexpr std::array<const char*, kBabaBoxes> kBabaCaptions = {"良", "稍重", "重", "不良"};
inline constexpr std::array<const char*, kJokenBoxes> kJokenCaptions = {"新馬 未勝利", "条件戦", "２歳以下",
                                                                        "３歳以下", "休養明"};
inline constexpr std::array<const char*, kRuleOptions> kRuleCaptions = {"ALL", "TOP1", "TOP3", "TOP5", "±2σ"};
// The rules by the names the command line takes.
inline constexpr std::array<const char*, kRuleOptions> kRuleNames = {"ALL", "TOP1", "TOP3", "TOP5", "SIGMA"};
std::string KikanCaption(int entry);  // "100日" for entry 0

// Sets the palette for the race of a label: every course and going checked,
// the distances similar to the race's checked, its course and distance green,
// no excluded condition, rule "ALL".
void SetSelect(SelectPalette& palette, const std::string& label, const std::string& dataMode);
// Unchecks every course, going and distance box, takes the green away, lowers
// every distance flag and clears the rule: no run counts until the next SetSelect.
void ClearForm(SelectPalette& palette);
// Whether a past run passes the palette.
bool CheckSelect(const SelectPalette& palette, std::string_view course, std::string_view track,
                 std::string_view going, std::string_view distance, std::string_view condition,
                 std::string_view age, bool afterRest);

// A past run's boxes, looked up once: course, going, surface and distance box.
struct RunBoxes {
    int jo = -1;
    int baba = -1;
    Surface surface = Surface::Other;
    int kyori = -1;
};
RunBoxes BoxesOfRun(std::string_view course, std::string_view track, std::string_view going,
                    std::string_view distance);
// Whether the run's course, going and distance boxes are all checked (a turf or dirt run only).
bool BoxesChecked(const SelectPalette& palette, const RunBoxes& run);
// CheckSelect of a run whose boxes were looked up.
bool CheckSelect(const SelectPalette& palette, const RunBoxes& run, std::string_view condition,
                 std::string_view age, bool afterRest);

// Sets the box whose caption reads exactly caption ("中山", "稍重", "芝1600",
// "ダ1150", "新馬 未勝利", "休養明", ...). True on failure (no such box).
bool SetPaletteBox(SelectPalette& palette, std::string_view caption, bool checked);
// Selects the rule by name (ALL, TOP1, TOP3, TOP5, SIGMA). True on failure.
bool SetPaletteRule(SelectPalette& palette, std::string_view name);
// Selects the period entry of a number of days (100 .. 900 in hundreds). True on failure.
bool SetPalettePeriod(SelectPalette& palette, int days);
// The entry activating the palette selects for a period in days (-1 when the list has none).
int KikanEntryOf(int days);
// Activating the palette shows the period in force: entry Kikan / 100 - 1.
inline void ActivatePalette(SelectPalette& palette, int kikan) { palette.cboKikan = KikanEntryOf(kikan); }

}  // namespace veltrix
