#pragma once
// Fixed tables that tie a race's course, going, track and distance to the boxes
// of the selection palette and to the distance classes of the distance weights.
#include <string>
#include <string_view>

namespace veltrix {

inline constexpr int kCourseBoxes = 10;
inline constexpr int kBabaBoxes = 4;
inline constexpr int kSibaBoxes = 17;
inline constexpr int kDirtBoxes = 13;

// Course box 0-9 ("札幌" .. "小倉"), -1 for any other course.
int CourseBoxIndex(std::string_view course);
// Going box 0-3: "良"; "稍" or "稍重"; "重"; "不" or "不良". -1 otherwise.
int BabaBoxIndex(std::string_view going);
// Course name of a course box; empty outside 0-9.
std::string CourseOfBox(int box);

// Distance box of a 4-digit distance on turf or dirt, -1 when the list lacks it.
int SibaBoxIndex(std::string_view distance);
int DirtBoxIndex(std::string_view distance);
// Distance of a box ("1000" ..), empty for a number outside the list.
std::string SibaKyori(int box);
std::string DirtKyori(int box);

// Distance class of a distance in the list of its track type ("芝" or "ダ");
// -1 when the distance or the track type has none.
int KyoriClass(std::string_view track, std::string_view distance);

// The same lookups by number, for the calculation's inner loop.
enum class Surface { Other, Siba, Dirt };
Surface SurfaceOf(std::string_view track);
// A 4-digit distance text as a number; -1 for anything else.
int KyoriNumber(std::string_view distance);
int KyoriBoxIndex(Surface surface, std::string_view distance);
int KyoriClassOfBox(Surface surface, int box);

// Check box value of the box distance for a race distance: 1 when the two are
// similar, 0 when not, 255 when the race distance has no row in the table.
inline constexpr int kNoSimilarityRow = 255;
int SibaSimilarity(std::string_view raceDistance, std::string_view boxDistance);
int DirtSimilarity(std::string_view raceDistance, std::string_view boxDistance);

}  // namespace veltrix
