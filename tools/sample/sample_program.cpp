// The race calendar: dates, courses, race identities and how each race of
// the program is shaped (type, class, distance, field size).
#include <algorithm>

#include "sample/sample_generator.h"

namespace veltrix::sample::detail {

Day parseDate(const std::string& ymd) {
    if (ymd.size() != 8) throw std::runtime_error("date must be yyyymmdd: " + ymd);
    const int y = std::stoi(ymd.substr(0, 4));
    const unsigned m = static_cast<unsigned>(std::stoi(ymd.substr(4, 2)));
    const unsigned d = static_cast<unsigned>(std::stoi(ymd.substr(6, 2)));
    chr::year_month_day date{chr::year{y}, chr::month{m}, chr::day{d}};
    if (!date.ok()) throw std::runtime_error("not a date: " + ymd);
    return Day(date);
}

Ymd split(Day day) {
    chr::year_month_day date(day);
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day()))};
}

std::string ymdText(Day day) {
    auto [y, m, d] = split(day);
    return Num(y, 4) + Num(m, 2) + Num(d, 2);
}

int weekday(Day day) { return static_cast<int>(chr::weekday(day).c_encoding()); }

std::string weekdayCode(Day day) {
    const int w = weekday(day);
    if (w == 6) return "1";
    if (w == 0) return "2";
    return std::to_string(w + 3);  // Mon 4 ... Fri 8
}

std::string stamp(Day day, int hh, int mm, int ss) {
    return ymdText(day) + Num(hh, 2) + Num(mm, 2) + Num(ss, 2);
}

// ---- courses ----------------------------------------------------------------

namespace {

const std::vector<Course>& jraCourses() {
    static const std::vector<Course> c = {
        {1, true, {1200, 1500, 1800, 2000, 2600}, {1000, 1700, 2400}},
        {2, true, {1200, 1800, 2000, 2600}, {1000, 1700}},
        {3, true, {1200, 1800, 2000, 2600}, {1150, 1700, 2400}},
        {4, false, {1000, 1400, 1600, 1800, 2000, 2200}, {1200, 1800}},
        {5, false, {1400, 1600, 1800, 2000, 2400}, {1300, 1400, 1600, 2100}},
        {6, true, {1200, 1600, 1800, 2000, 2200, 2500}, {1200, 1800, 2400}},
        {7, false, {1200, 1400, 1600, 2000, 2200}, {1200, 1400, 1800, 1900}},
        {8, true, {1200, 1400, 1600, 1800, 2000, 2200, 2400, 3000}, {1200, 1400, 1800, 1900}},
        {9, true, {1200, 1400, 1600, 1800, 2000, 2200, 2400}, {1200, 1400, 1800, 2000}},
        {10, true, {1200, 1800, 2000, 2600}, {1000, 1700, 2400}}};
    return c;
}

}  // namespace

const Course& jraCourse(int code) { return jraCourses()[static_cast<std::size_t>(code - 1)]; }

std::array<int, 3> coursesOfMonth(int month) {
    static const std::array<std::array<int, 3>, 12> byMonth = {{{6, 8, 7},
                                                                {5, 8, 10},
                                                                {6, 9, 7},
                                                                {6, 9, 3},
                                                                {5, 8, 4},
                                                                {5, 9, 1},
                                                                {3, 7, 2},
                                                                {4, 10, 1},
                                                                {6, 9, 4},
                                                                {5, 8, 4},
                                                                {5, 8, 3},
                                                                {6, 9, 7}}};
    return byMonth[static_cast<std::size_t>(month - 1)];
}

const std::vector<int> kLocalCourses = {30, 35, 36, 42, 43, 44, 45, 46, 47, 48, 50, 51, 54, 55};
const std::vector<int> kJumpDistances = {2750, 2860, 2880, 3000, 3110, 3200, 3300, 3350, 3570};

// ---- race rules ---------------------------------------------------------------

std::string raceId(Day date, int course, int meeting, int day, int number) {
    return ymdText(date) + Num(course, 2) + Num(meeting, 2) + Num(day, 2) + Num(number, 2);
}

// The weekend's ordinal in the year gives the meeting and the day within it.
void meetingDay(Day date, int& meeting, int& day) {
    const Day jan1 = Day(chr::year_month_day{chr::year{split(date).y}, chr::January, chr::day{1}});
    const int days = static_cast<int>((date - jan1).count());
    const int ordinal = (days / 7) * 2 + (weekday(date) == 0 ? 1 : 0);
    meeting = (ordinal / 8) % 5 + 1;
    day = ordinal % 8 + 1;
}

bool ageFits(const Race& r, int age) {
    switch (r.type) {
        case 11:
            return age == 2;
        case 12:
            return age == 3;
        case 13:
        case 18:
            return age >= 3;
        case 14:
        case 19:
            return age >= 4;
        default:
            return age >= 2;
    }
}

std::array<int, 9> frameSizes(int starters) {
    std::array<int, 9> perFrame{};
    const int base = starters / 8, extra = starters % 8;
    for (int fr = 1; fr <= 8; ++fr) perFrame[static_cast<std::size_t>(fr)] = base + (fr > 8 - extra ? 1 : 0);
    return perFrame;
}

// ---- race shapes --------------------------------------------------------------

namespace {

void shapeLocalRace(Race& r, Rng& rng) {
    r.type = rng.chance(0.5) ? 13 : 14;
    r.cond = 0;
    r.weightRule = 3;
    r.distance =
        std::array<int, 6>{1000, 1200, 1400, 1500, 1600, 1800}[static_cast<std::size_t>(rng.range(0, 5))];
    r.track = rng.chance(0.5) ? 24 : 23;
    r.starters = rng.range(8, 12);
}

// Race program by race number: early races for maidens, the middle for the
// lower classes, 9-11 the named specials; race 4 of the first course is a
// jump. Sets the type and returns the class.
int programClass(Race& r, int courseIndex, Rng& rng) {
    const int month = split(r.date).m;
    const bool autumn = month >= 6;
    switch (r.number) {
        case 1:
        case 2:
        case 3:
            r.type = autumn && r.number <= 2 ? 11 : 12;
            return kMaiden;
        case 4:
            if (courseIndex == 0) {
                r.jump = true;
                const int cls = rng.chance(0.6) ? kMaiden : kOpen;
                r.type = month <= 3 ? 19 : 18;
                return cls;
            }
            r.type = autumn ? 11 : 12;
            return kMaiden;
        case 5:
            r.type = autumn ? 11 : 12;
            r.cond = 701;
            return kMaiden;
        case 6:
        case 7:
        case 12:
            r.type = autumn ? 13 : 14;
            return kOne;
        case 8:
            r.type = autumn ? 13 : 14;
            return kTwo;
        case 9:
            r.type = 13;
            r.named = true;
            return kTwo;
        case 10:
            r.type = 13;
            r.named = true;
            return kThree;
        default:
            r.type = 13;
            r.named = true;
            return kOpen;
    }
}

// Distance and track: jumps over their own distances, flat races on turf or
// dirt at the course's distances.
void shapeSurface(Race& r, int cls, Rng& rng) {
    if (r.jump) {
        r.distance = rng.pick(kJumpDistances);
        r.track = std::array<int, 4>{51, 53, 54, 55}[static_cast<std::size_t>(rng.range(0, 3))];
        if (cls == kOpen) r.named = rng.chance(0.5);
        return;
    }
    const Course& c = jraCourse(r.course);
    const bool turf = r.number >= 9 || rng.chance(0.5);
    r.distance = turf ? rng.pick(c.turf) : rng.pick(c.dirt);
    if (turf) {
        r.track = r.course == 4 && r.distance == 1000
                      ? 10
                      : (c.right ? (rng.chance(0.3) ? 18 : 17) : (rng.chance(0.3) ? 12 : 11));
    } else {
        r.track = c.right ? 24 : 23;
    }
}

}  // namespace

void Generator::shapeRace(Race& r, int courseIndex) const {
    Rng rng = Rng::keyed(r.seed);
    if (r.local) {
        shapeLocalRace(r, rng);
        return;
    }
    const int cls = programClass(r, courseIndex, rng);
    if (r.number != 5)
        r.cond = std::array<int, 5>{703, 5, 10, 16, 999}[static_cast<std::size_t>(cls)];  // 5: newcomers
    r.weightRule = r.type == 11 || r.type == 12 ? 3 : (cls >= kThree ? (rng.chance(0.4) ? 1 : 2) : 4);
    if (r.number == 11)
        r.grade = courseIndex == 0 ? (rng.chance(0.5) ? 'B' : 'C') : (rng.chance(0.5) ? 'L' : ' ');
    shapeSurface(r, cls, rng);
    // The small world keeps a full field on each day, so 18-runner odds and
    // shared frames stay covered.
    r.starters = opt_.small ? (r.number == 11 && courseIndex == 0 ? rng.range(16, 18) : rng.range(5, 8))
                            : rng.range(8, 18);
    if (r.jump) r.starters = std::min(r.starters, 14);
}

// A past race, made the first time a career or the results stream asks for it.
int Generator::pastRace(Day date, int course, int number, int courseIndex) {
    int meeting = 1, day = 1;
    const bool local = course >= 30;
    if (local) {
        meeting = (split(date).m - 1) % 12 + 1;
        day = weekday(date) == 0 ? 1 : weekday(date);
    } else {
        meetingDay(date, meeting, day);
    }
    const std::string id = raceId(date, course, meeting, day, number);
    auto it = raceIndex_.find(id);
    if (it != raceIndex_.end()) return it->second;
    Race r;
    r.id = id;
    r.date = date;
    r.course = course;
    r.meeting = meeting;
    r.day = day;
    r.number = number;
    r.local = local;
    r.seed = MixSeed(opt_.seed, HashText(id));
    shapeRace(r, courseIndex);
    r.numberRun.assign(static_cast<std::size_t>(r.starters) + 1, -1);
    r.placeTaken.assign(static_cast<std::size_t>(r.starters) + 1, 0);
    races_.push_back(std::move(r));
    raceIndex_[id] = static_cast<int>(races_.size()) - 1;
    return static_cast<int>(races_.size()) - 1;
}

}  // namespace veltrix::sample::detail
