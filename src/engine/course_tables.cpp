#include "engine/course_tables.h"

#include <algorithm>
#include <array>
#include <vector>

#include "racecard/race_card.h"

namespace veltrix {

namespace {

constexpr std::array<std::string_view, kCourseBoxes> kCourses = {"札幌", "函館", "福島", "新潟", "東京",
                                                                 "中山", "中京", "京都", "阪神", "小倉"};

struct KyoriEntry {
    int distance;
    int kyoriClass;
};

constexpr std::array<KyoriEntry, kSibaBoxes> kSiba = {{{1000, 1},
                                                       {1200, 2},
                                                       {1400, 3},
                                                       {1500, 3},
                                                       {1600, 4},
                                                       {1700, 5},
                                                       {1800, 5},
                                                       {2000, 6},
                                                       {2200, 7},
                                                       {2300, 8},
                                                       {2400, 8},
                                                       {2500, 9},
                                                       {2600, 9},
                                                       {3000, 10},
                                                       {3200, 11},
                                                       {3400, 11},
                                                       {3600, 12}}};

constexpr std::array<KyoriEntry, kDirtBoxes> kDirt = {{{1000, 1},
                                                       {1150, 2},
                                                       {1200, 2},
                                                       {1300, 3},
                                                       {1400, 4},
                                                       {1600, 5},
                                                       {1700, 5},
                                                       {1800, 6},
                                                       {1900, 6},
                                                       {2000, 7},
                                                       {2100, 7},
                                                       {2300, 8},
                                                       {2400, 9}}};

// One row of a similarity table: the race distances it applies to and the
// distances whose boxes start checked.
struct SimilarRow {
    std::vector<std::string_view> races;
    std::vector<std::string_view> similar;
};

const std::vector<SimilarRow>& sibaRows() {
    static const std::vector<SimilarRow> rows = {
        {{"1000"}, {"1000", "1200"}},
        {{"1200"}, {"1000", "1200", "1400", "1500"}},
        {{"1400"}, {"1200", "1400", "1500", "1600", "1700", "1800"}},
        {{"1500"}, {"1200", "1400", "1500", "1600", "1700", "1800"}},
        {{"1600"}, {"1200", "1400", "1500", "1600", "1700", "1800", "2000"}},
        {{"1700"}, {"1400", "1500", "1600", "1700", "1800", "2000"}},
        {{"1800"}, {"1400", "1500", "1600", "1700", "1800", "2000"}},
        {{"2000"}, {"1600", "1700", "1800", "2000", "2200", "2300", "2400"}},
        {{"2200"}, {"1700", "1800", "2000", "2200", "2300", "2400", "2500"}},
        {{"2300"}, {"1700", "1800", "2000", "2200", "2300", "2400", "2500"}},
        {{"2400"}, {"2000", "2200", "2300", "2400", "2500", "2600"}},
        {{"2500"}, {"2200", "2300", "2400", "2500", "2600", "3000", "3200"}},
        {{"2600"}, {"2200", "2300", "2400", "2500", "2600", "3000", "3200"}},
        {{"3000"}, {"2300", "2400", "2500", "2600", "3000", "3200", "3400", "3600"}},
        {{"3200"}, {"2300", "2400", "2500", "2600", "3000", "3200", "3400", "3600"}},
        {{"3400"}, {"2300", "2400", "2500", "2600", "3000", "3200", "3400", "3600"}},
        {{"3600"}, {"2400", "2500", "2600", "3000", "3200", "3400", "3600"}},
    };
    return rows;
}

const std::vector<SimilarRow>& dirtRows() {
    static const std::vector<SimilarRow> rows = {
        {{"1000"}, {"1000", "1150", "1200", "1300"}},
        {{"1150", "1200"}, {"1000", "1150", "1200", "1300", "1400"}},
        {{"1300"}, {"1000", "1150", "1200", "1300", "1400", "1600"}},
        {{"1400"}, {"1150", "1200", "1300", "1400", "1600", "1700", "1800"}},
        {{"1600"}, {"1300", "1400", "1600", "1700", "1800", "1900", "2000"}},
        {{"1700"}, {"1400", "1600", "1700", "1800", "1900", "2000"}},
        {{"1800"}, {"1400", "1600", "1700", "1800", "1900", "2000", "2100"}},
        {{"1900"}, {"1600", "1700", "1800", "1900", "2000", "2100", "2300"}},
        {{"2000"}, {"1600", "1700", "1800", "1900", "2000", "2100", "2300"}},
        {{"2100"}, {"1800", "1900", "2000", "2100", "2300", "2400"}},
        {{"2300", "2400"}, {"1800", "1900", "2000", "2100", "2300", "2400"}},
    };
    return rows;
}

bool contains(const std::vector<std::string_view>& list, std::string_view v) {
    return std::find(list.begin(), list.end(), v) != list.end();
}

int similarity(const std::vector<SimilarRow>& rows, std::string_view race, std::string_view box) {
    for (const SimilarRow& row : rows)
        if (contains(row.races, race)) return contains(row.similar, box) ? 1 : 0;
    return kNoSimilarityRow;
}

template <size_t N>
int boxOf(const std::array<KyoriEntry, N>& list, std::string_view distance) {
    const int d = KyoriNumber(distance);
    if (d < 0) return -1;
    for (size_t i = 0; i < N; ++i)
        if (list[i].distance == d) return static_cast<int>(i);
    return -1;
}

template <size_t N>
std::string distanceOf(const std::array<KyoriEntry, N>& list, int box) {
    if (box < 0 || box >= static_cast<int>(N)) return {};
    return std::to_string(list[static_cast<size_t>(box)].distance);
}

}  // namespace

int CourseBoxIndex(std::string_view course) {
    for (size_t i = 0; i < kCourses.size(); ++i)
        if (kCourses[i] == course) return static_cast<int>(i);
    return -1;
}
// The race card owns the same going mapping.
int BabaBoxIndex(std::string_view going) { return BabaIndex(std::string(going)); }

std::string CourseOfBox(int box) {
    if (box < 0 || box >= kCourseBoxes) return {};
    return std::string(kCourses[static_cast<size_t>(box)]);
}

int SibaBoxIndex(std::string_view distance) { return boxOf(kSiba, distance); }
int DirtBoxIndex(std::string_view distance) { return boxOf(kDirt, distance); }
std::string SibaKyori(int box) { return distanceOf(kSiba, box); }
std::string DirtKyori(int box) { return distanceOf(kDirt, box); }

int KyoriNumber(std::string_view distance) {
    if (distance.size() != 4) return -1;
    int d = 0;
    for (char c : distance) {
        if (c < '0' || c > '9') return -1;
        d = d * 10 + (c - '0');
    }
    return d;
}

Surface SurfaceOf(std::string_view track) {
    if (track == "芝") return Surface::Siba;
    if (track == "ダ") return Surface::Dirt;
    return Surface::Other;
}

int KyoriBoxIndex(Surface surface, std::string_view distance) {
    if (surface == Surface::Siba) return SibaBoxIndex(distance);
    if (surface == Surface::Dirt) return DirtBoxIndex(distance);
    return -1;
}

int KyoriClassOfBox(Surface surface, int box) {
    if (surface == Surface::Siba && box >= 0 && box < kSibaBoxes)
        return kSiba[static_cast<size_t>(box)].kyoriClass;
    if (surface == Surface::Dirt && box >= 0 && box < kDirtBoxes)
        return kDirt[static_cast<size_t>(box)].kyoriClass;
    return -1;
}

int KyoriClass(std::string_view track, std::string_view distance) {
    const Surface surface = SurfaceOf(track);
    return KyoriClassOfBox(surface, KyoriBoxIndex(surface, distance));
}

int SibaSimilarity(std::string_view raceDistance, std::string_view boxDistance) {
    return similarity(sibaRows(), raceDistance, boxDistance);
}
int DirtSimilarity(std::string_view raceDistance, std::string_view boxDistance) {
    return similarity(dirtRows(), raceDistance, boxDistance);
}

}  // namespace veltrix
