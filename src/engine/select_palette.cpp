#include "engine/select_palette.h"

#include "base/format.h"

namespace veltrix {

namespace {

// One surface's boxes: enabled, flagged, and (when the race is of this
// surface) checked by similarity. A race distance without a row in the table
// leaves the boxes unchecked rather than stopping half-way.
template <size_t N, class Distance, class Similarity>
void setSurface(std::array<KyoriBox, N>& boxes, const std::string* raceDistance, Distance distanceOf,
                Similarity similarity) {
    for (size_t i = 0; i < N; ++i) {
        KyoriBox& box = boxes[i];
        box.enabled = true;
        box.tag = true;
        if (raceDistance) box.value = similarity(*raceDistance, distanceOf(static_cast<int>(i))) == 1;
    }
}

}  // namespace

std::string KikanCaption(int entry) { return std::to_string((entry + 1) * 100) + "日"; }

void SetSelect(SelectPalette& p, const std::string& label, const std::string& dataMode) {
    p.greenJo = CourseBoxIndex(Characters(label, 12, 2));
    p.chkJo.fill(true);
    p.chkBaba.fill(true);

    std::string trackDistance;
    if (dataMode == "KONSYU") trackDistance = Characters(label, 25, 5);
    if (dataMode == "TOKUBETSU") trackDistance = Characters(label, 19, 5);
    const std::string track(CharacterAt(trackDistance, 1));
    const std::string distance = trackDistance.substr(track.size());

    if (track == "芝") {
        setSurface(p.chkSKyori, &distance, SibaKyori, SibaSimilarity);
        setSurface(p.chkDKyori, nullptr, DirtKyori, DirtSimilarity);
        p.greenSKyori = SibaBoxIndex(distance);
    } else if (track == "ダ") {
        setSurface(p.chkSKyori, nullptr, SibaKyori, SibaSimilarity);
        setSurface(p.chkDKyori, &distance, DirtKyori, DirtSimilarity);
        p.greenDKyori = DirtBoxIndex(distance);
    } else if (track == "障") {
        setSurface(p.chkSKyori, nullptr, SibaKyori, SibaSimilarity);
        setSurface(p.chkDKyori, nullptr, DirtKyori, DirtSimilarity);
    }
    p.chkJoken.fill(false);
    p.optRule1 = kRuleAll;
}

void ClearForm(SelectPalette& p) {
    p.chkJo.fill(false);
    p.chkBaba.fill(false);
    for (KyoriBox& b : p.chkSKyori) b.value = b.tag = false;
    for (KyoriBox& b : p.chkDKyori) b.value = b.tag = false;
    p.greenJo = p.greenSKyori = p.greenDKyori = -1;
    p.optRule1 = kRuleNone;
}

RunBoxes BoxesOfRun(std::string_view course, std::string_view track, std::string_view going,
                    std::string_view distance) {
    RunBoxes b;
    b.jo = CourseBoxIndex(course);
    b.baba = BabaBoxIndex(going);
    b.surface = SurfaceOf(track);
    b.kyori = KyoriBoxIndex(b.surface, distance);
    return b;
}

bool BoxesChecked(const SelectPalette& p, const RunBoxes& b) {
    if (b.jo < 0 || b.baba < 0 || b.kyori < 0) return false;
    if (!p.chkJo[static_cast<size_t>(b.jo)] || !p.chkBaba[static_cast<size_t>(b.baba)]) return false;
    if (b.surface == Surface::Siba) return p.chkSKyori[static_cast<size_t>(b.kyori)].value;
    if (b.surface == Surface::Dirt) return p.chkDKyori[static_cast<size_t>(b.kyori)].value;
    return false;
}

bool CheckSelect(const SelectPalette& p, const RunBoxes& b, std::string_view condition, std::string_view age,
                 bool afterRest) {
    if (p.chkJoken[0] && (condition == "未出走" || condition == "未勝利" || condition == "新馬"))
        return false;
    if (p.chkJoken[1] && condition != "オープン") return false;
    if (p.chkJoken[2] && age == "02") return false;
    if (p.chkJoken[3] && (age == "02" || age == "03")) return false;
    if (p.chkJoken[4] && afterRest) return false;
    // The flag of box 0 tells whether the surface takes part at all.
    const bool surfaceOn = b.surface == Surface::Siba ? p.chkSKyori[0].tag : p.chkDKyori[0].tag;
    return BoxesChecked(p, b) && surfaceOn;
}

bool CheckSelect(const SelectPalette& p, std::string_view course, std::string_view track,
                 std::string_view going, std::string_view distance, std::string_view condition,
                 std::string_view age, bool afterRest) {
    return CheckSelect(p, BoxesOfRun(course, track, going, distance), condition, age, afterRest);
}

bool SetPaletteBox(SelectPalette& p, std::string_view caption, bool checked) {
    if (int jo = CourseBoxIndex(caption); jo >= 0) {
        p.chkJo[static_cast<size_t>(jo)] = checked;
        return false;
    }
    for (size_t i = 0; i < kBabaCaptions.size(); ++i)
        if (caption == kBabaCaptions[i]) {
            p.chkBaba[i] = checked;
            return false;
        }
    for (size_t i = 0; i < kJokenCaptions.size(); ++i)
        if (caption == kJokenCaptions[i]) {
            p.chkJoken[i] = checked;
            return false;
        }
    const std::string_view siba = "芝";
    const std::string_view dirt = "ダ";
    if (caption.starts_with(siba)) {
        if (int k = SibaBoxIndex(caption.substr(siba.size())); k >= 0) {
            p.chkSKyori[static_cast<size_t>(k)].value = checked;
            return false;
        }
    }
    if (caption.starts_with(dirt)) {
        if (int k = DirtBoxIndex(caption.substr(dirt.size())); k >= 0) {
            p.chkDKyori[static_cast<size_t>(k)].value = checked;
            return false;
        }
    }
    return true;
}

bool SetPaletteRule(SelectPalette& p, std::string_view name) {
    for (size_t i = 0; i < kRuleNames.size(); ++i)
        if (name == kRuleNames[i]) {
            p.optRule1 = static_cast<int>(i);
            return false;
        }
    return true;
}

int KikanEntryOf(int days) {
    const int entry = days / 100 - 1;
    return entry >= 0 && entry < kKikanEntries ? entry : -1;
}

bool SetPalettePeriod(SelectPalette& p, int days) {
    const int entry = KikanEntryOf(days);
    if (entry < 0 || days % 100 != 0) return true;
    p.cboKikan = entry;
    return false;
}

}  // namespace veltrix
