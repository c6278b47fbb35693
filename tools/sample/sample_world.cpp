#include "sample/sample_world.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>

#include "sample/record_writer.h"
#include "sample/sample_names.h"
#include "sample/sample_random.h"

namespace veltrix::sample {
namespace {

namespace chr = std::chrono;
using Day = chr::sys_days;

Day parseDate(const std::string& ymd) {
    if (ymd.size() != 8) throw std::runtime_error("date must be yyyymmdd: " + ymd);
    const int y = std::stoi(ymd.substr(0, 4));
    const unsigned m = static_cast<unsigned>(std::stoi(ymd.substr(4, 2)));
    const unsigned d = static_cast<unsigned>(std::stoi(ymd.substr(6, 2)));
    chr::year_month_day date{chr::year{y}, chr::month{m}, chr::day{d}};
    if (!date.ok()) throw std::runtime_error("not a date: " + ymd);
    return Day(date);
}

struct Ymd {
    int y;
    int m;
    int d;
};
Ymd split(Day day) {
    chr::year_month_day date(day);
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day()))};
}
std::string ymdText(Day day) {
    auto [y, m, d] = split(day);
    return Num(y, 4) + Num(m, 2) + Num(d, 2);
}
// 0 = Sunday ... 6 = Saturday
int weekday(Day day) { return static_cast<int>(chr::weekday(day).c_encoding()); }
std::string weekdayCode(Day day) {
    const int w = weekday(day);
    if (w == 6) return "1";
    if (w == 0) return "2";
    return std::to_string(w + 3);  // Mon 4 ... Fri 8
}

// ---- courses ----------------------------------------------------------------

struct Course {
    int code;
    bool right;
    std::vector<int> turf;
    std::vector<int> dirt;
};
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
const Course& jraCourse(int code) { return jraCourses()[static_cast<std::size_t>(code - 1)]; }

// Three courses race on a weekend; which ones follows the season.
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

// ---- model --------------------------------------------------------------------

enum Cls { kMaiden = 0, kOne, kTwo, kThree, kOpen };

struct Horse {
    std::string umaCode;
    std::string name;
    int sex = 1;
    int birthYear = 0;
    int coat = 1;
    int eastWest = 1;
    int trainer = 0;
    int owner = 0;
    int symbol = 0;
    int ability = 50;  // 0..100
    int baseWeight = 470;
    bool jumper = false;
    bool local = false;     // started at local courses
    bool veteran = false;   // a very long local career
    bool tokuOnly = false;  // registered but not running this week
    std::vector<int> runs;  // indexes into World::runs, past first
};

struct Race {
    std::string id;
    Day date;
    int course = 0;
    int meeting = 1;
    int day = 1;
    int number = 1;
    bool local = false;
    bool week = false;
    int type = 13;  // race type code
    int cond = 5;   // condition code of eligible groups
    int weightRule = 3;
    int distance = 1600;
    int track = 17;
    char grade = ' ';
    bool jump = false;
    bool named = false;
    int starters = 14;  // horse numbers 1..starters
    std::uint32_t seed = 0;
    std::vector<int> numberRun;   // horse number -> pool run or -1
    std::vector<int> placeTaken;  // placing -> horse number or 0
    std::vector<int> runs;
};

struct Run {
    int horse = 0;
    int race = 0;
    int number = 0;
    int place = 0;  // arrival slot
    int abnormality = 0;
    int jockey = 0;
    int weight = 550;
    int bodyWeight = 470;
    int change = 0;
    bool firstStart = false;
    bool bothCategories = false;  // also delivered as a local-category record
    bool twoFiles = false;        // also delivered in a second file
};

struct Person {
    std::string code;
    std::string name;
    int apprentice = 0;
    int eastWest = 1;
};

struct Owner {
    std::string code;
    std::string name;
    std::string colours;
};

class Generator {
public:
    Generator(std::filesystem::path folder, const SampleOptions& opt, RecordObserver* obs)
        : folder_(std::move(folder)), opt_(opt), obs_(obs), rng_(MixSeed(opt.seed, 1)) {
        saturday_ = parseDate(opt.saturday);
        if (weekday(saturday_) != 6)
            throw std::runtime_error("the week must start on a Saturday: " + opt.saturday);
    }

    SampleWorld run();

private:
    // -- people and horses
    void makePeople();
    int newHorse(int age, int sex);
    std::string uniqueName(Rng& rng, int chars);
    // -- races
    std::string raceId(Day date, int course, int meeting, int day, int number) const;
    void meetingDay(Day date, int& meeting, int& day);
    int pastRace(Day date, int course, int number, int courseIndex);
    void shapeRace(Race& r, int courseIndex);
    int newRun(int horse, int race, int placeHint);
    bool ageFits(const Race& r, int age) const;
    // -- careers
    void makeWeek();
    void makeCareer(int horse);
    void makeToku();
    // -- lineups, results
    struct Lineup {
        std::vector<int> place;                  // by horse number: arrival slot (0: none)
        std::vector<int> run;                    // by horse number: pool run or -1
        std::vector<int> popularity;             // by horse number
        std::vector<int> odds;                   // by horse number, 0.1 units
        std::vector<int> gap;                    // by arrival slot: tenths behind the winner
        std::vector<std::array<int, 4>> corner;  // by horse number
        int winnerTime = 0;                      // tenths
        int byPlace(int p) const {
            for (std::size_t h = 1; h < place.size(); ++h)
                if (place[h] == p) return static_cast<int>(h);
            return 0;
        }
    };
    const Lineup& lineup(const Race& r);
    Lineup makeLineup(const Race& r);
    std::map<std::string, Lineup> lineups_;  // computed once per race, after the careers
    RaRecord buildRa(const Race& r, const std::string& category, bool results);
    SeRecord buildSe(const Race& r, const Lineup& l, int number, const std::string& category, bool results);
    void fillerIdentity(const Race& r, int number, SeRecord& se);
    // -- odds, mining
    // The horse number scratched in a race of the week, 0 for none.
    int scratchedHorse(const Race& r) const {
        if (!r.week || r.starters < 8) return 0;
        Rng rng = Rng::keyed(r.seed ^ 0x5C5Cu);
        return rng.chance(0.12) ? rng.range(1, r.starters) : 0;
    }
    void writeOdds(const Race& r);
    void writeMining(const Race& r);
    // -- output
    class FileOut;
    std::string stamp(Day day, int hh, int mm, int ss) const {
        return ymdText(day) + Num(hh, 2) + Num(mm, 2) + Num(ss, 2);
    }
    void writeStored();
    void writeRealtime();
    void writeHistoryFiles(const std::string& spec, const std::vector<int>& horses, Day day, int hour);

    std::filesystem::path folder_;
    SampleOptions opt_;
    RecordObserver* obs_;
    Rng rng_;
    Day saturday_;
    std::vector<Person> jockeys_;
    std::vector<Person> trainers_;
    std::vector<Owner> owners_;
    std::vector<Horse> horses_;
    std::vector<Race> races_;
    std::vector<Run> runs_;
    std::map<std::string, int> raceIndex_;
    std::set<std::string> names_;
    std::vector<int> weekRaces_;
    std::vector<int> tokuRaces_;
    std::map<int, std::vector<int>> tokuHorses_;  // race -> registered horses
    int serial_ = 0;
    SampleWorld world_;
};

// ---- files ------------------------------------------------------------------

class Generator::FileOut {
public:
    FileOut(Generator& g, const std::filesystem::path& path) : g_(g), path_(path) {
        std::filesystem::create_directories(path.parent_path());
        out_.open(path, std::ios::binary | std::ios::trunc);
        if (!out_) throw std::runtime_error("cannot write " + path.string());
        ++g_.world_.files;
        if (g_.obs_) g_.obs_->onFile(path);
    }
    ~FileOut() = default;
    template <class R>
    void put(const R& model) {
        const std::string bytes = WriteRecord(model);
        out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out_) throw std::runtime_error("cannot write " + path_.string());
        ++g_.world_.records;
        g_.world_.bytes += static_cast<long long>(bytes.size());
        if (g_.obs_) g_.obs_->onRecord(model, bytes);
    }

private:
    Generator& g_;
    std::filesystem::path path_;
    std::ofstream out_;
};

// ---- people and horses --------------------------------------------------------

void Generator::makePeople() {
    Rng rng(MixSeed(opt_.seed, 2));
    std::set<std::string> used;
    auto person = [&](int code, bool initial) {
        Person p;
        p.code = Num(code, 5);
        do p.name = PersonShortName(rng, initial);
        while (!used.insert(p.name).second);
        p.eastWest = rng.range(1, 2);
        return p;
    };
    for (int i = 0; i < 140; ++i) {
        Person p = person(1000 + i * 7, rng.chance(0.5));
        if (i >= 120) p.apprentice = rng.range(1, 3);
        if (i >= 136) p.apprentice = 9;
        jockeys_.push_back(p);
    }
    for (int i = 0; i < 200; ++i) trainers_.push_back(person(1000 + i * 3, rng.chance(0.3)));
    for (int i = 0; i < 400; ++i) {
        Owner o;
        o.code = Num(100000 + i * 13, 6);
        o.name = OwnerName(rng);
        o.colours = ColoursText(rng);
        owners_.push_back(o);
    }
}

std::string Generator::uniqueName(Rng& rng, int chars) {
    for (;;) {
        std::string n = HorseName(rng, chars);
        if (names_.insert(n).second) return n;
    }
}

int Generator::newHorse(int age, int sex) {
    Horse h;
    h.birthYear = split(saturday_).y - age;
    h.sex = sex;
    ++serial_;
    h.umaCode = Num(h.birthYear, 4) + "1" + Num(serial_ * 7 % 100000, 5);
    // Registered names run 2-9 katakana; every 40th horse carries an overseas
    // style name of the full 18 characters.
    const int chars = serial_ % 40 == 7 ? 18 : rng_.range(2, 9);
    h.name = uniqueName(rng_, chars);
    h.coat = std::array<int, 8>{1, 2, 3, 3, 4, 4, 5, 6}[static_cast<std::size_t>(rng_.range(0, 7))];
    if (rng_.chance(0.03)) h.coat = 7;
    h.trainer = rng_.range(0, static_cast<int>(trainers_.size()) - 1);
    h.eastWest = trainers_[static_cast<std::size_t>(h.trainer)].eastWest;
    h.owner = rng_.range(0, static_cast<int>(owners_.size()) - 1);
    h.symbol =
        rng_.chance(0.05) ? std::array<int, 4>{1, 4, 6, 26}[static_cast<std::size_t>(rng_.range(0, 3))] : 0;
    h.ability = rng_.range(0, 100);
    h.baseWeight = rng_.range(420, 530);
    horses_.push_back(std::move(h));
    return static_cast<int>(horses_.size()) - 1;
}

// ---- races ------------------------------------------------------------------------

std::string Generator::raceId(Day date, int course, int meeting, int day, int number) const {
    return ymdText(date) + Num(course, 2) + Num(meeting, 2) + Num(day, 2) + Num(number, 2);
}

// Meetings of eight race days, counted through the year: the weekend's
// ordinal gives the meeting and the day within it.
void Generator::meetingDay(Day date, int& meeting, int& day) {
    const Day jan1 = Day(chr::year_month_day{chr::year{split(date).y}, chr::January, chr::day{1}});
    const int days = static_cast<int>((date - jan1).count());
    const int ordinal = (days / 7) * 2 + (weekday(date) == 0 ? 1 : 0);
    meeting = (ordinal / 8) % 5 + 1;
    day = ordinal % 8 + 1;
}

bool Generator::ageFits(const Race& r, int age) const {
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

// Race program by race number: early races for maidens, the middle for the
// lower classes, 9-11 the named specials; race 4 of the first course is a jump.
void Generator::shapeRace(Race& r, int courseIndex) {
    Rng rng = Rng::keyed(r.seed);
    const int month = split(r.date).m;
    const bool autumn = month >= 6;
    if (r.local) {
        r.type = rng.chance(0.5) ? 13 : 14;
        r.cond = 0;
        r.weightRule = 3;
        r.distance =
            std::array<int, 6>{1000, 1200, 1400, 1500, 1600, 1800}[static_cast<std::size_t>(rng.range(0, 5))];
        r.track = rng.chance(0.5) ? 24 : 23;
        r.starters = rng.range(8, 12);
        return;
    }
    const Course& c = jraCourse(r.course);
    int cls = kOne;
    switch (r.number) {
        case 1:
        case 2:
        case 3:
            cls = kMaiden;
            r.type = autumn && r.number <= 2 ? 11 : 12;
            break;
        case 4:
            if (courseIndex == 0) {
                r.jump = true;
                cls = rng.chance(0.6) ? kMaiden : kOpen;
                r.type = month <= 3 ? 19 : 18;
            } else {
                cls = kMaiden;
                r.type = autumn ? 11 : 12;
            }
            break;
        case 5:
            cls = kMaiden;
            r.type = autumn ? 11 : 12;
            r.cond = 701;
            break;
        case 6:
        case 7:
        case 12:
            cls = kOne;
            r.type = autumn ? 13 : 14;
            break;
        case 8:
            cls = kTwo;
            r.type = autumn ? 13 : 14;
            break;
        case 9:
            cls = kTwo;
            r.type = 13;
            r.named = true;
            break;
        case 10:
            cls = kThree;
            r.type = 13;
            r.named = true;
            break;
        default:
            cls = kOpen;
            r.type = 13;
            r.named = true;
            break;
    }
    if (r.number != 5)
        r.cond = std::array<int, 5>{703, 5, 10, 16, 999}[static_cast<std::size_t>(cls)];  // 5: newcomers
    r.weightRule = r.type == 11 || r.type == 12 ? 3 : (cls >= kThree ? (rng.chance(0.4) ? 1 : 2) : 4);
    if (r.number == 11)
        r.grade = courseIndex == 0 ? (rng.chance(0.5) ? 'B' : 'C') : (rng.chance(0.5) ? 'L' : ' ');
    if (r.jump) {
        r.distance = rng.pick(kJumpDistances);
        r.track = std::array<int, 4>{51, 53, 54, 55}[static_cast<std::size_t>(rng.range(0, 3))];
        if (cls == kOpen) r.named = rng.chance(0.5);
    } else {
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
    // The small world keeps a full field on each day, so 18-runner odds and
    // shared frames stay covered.
    r.starters = opt_.small ? (r.number == 11 && courseIndex == 0 ? rng.range(16, 18) : rng.range(5, 8))
                            : rng.range(8, 18);
    if (r.jump) r.starters = std::min(r.starters, 14);
}

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

// A horse joins a race: a free horse number and an arrival slot near its form.
int Generator::newRun(int horse, int raceIdx, int placeHint) {
    Race& r = races_[static_cast<std::size_t>(raceIdx)];
    std::vector<int> free;
    for (int n = 1; n <= r.starters; ++n)
        if (r.numberRun[static_cast<std::size_t>(n)] < 0) free.push_back(n);
    if (free.empty()) return -1;
    Run run;
    run.horse = horse;
    run.race = raceIdx;
    run.number = rng_.pick(free);
    placeHint = std::clamp(placeHint, 1, r.starters);
    for (int d = 0; d <= r.starters; ++d) {
        for (int p : {placeHint - d, placeHint + d}) {
            if (p >= 1 && p <= r.starters && r.placeTaken[static_cast<std::size_t>(p)] == 0) {
                run.place = p;
                break;
            }
        }
        if (run.place) break;
    }
    r.placeTaken[static_cast<std::size_t>(run.place)] = run.number;
    const Horse& h = horses_[static_cast<std::size_t>(horse)];
    const int age = split(r.date).y - h.birthYear;
    run.weight = age == 2 ? 550 : (age == 3 ? 560 : 580);
    if (h.sex == 2) run.weight -= 20;
    if (r.jump) run.weight = 600 + (h.sex == 2 ? -20 : 0);
    if (r.weightRule == 1) run.weight = rng_.range(49, 59) * 10 + (rng_.chance(0.3) ? 5 : 0);
    run.jockey = rng_.range(0, static_cast<int>(jockeys_.size()) - 1);
    const int apprentice = jockeys_[static_cast<std::size_t>(run.jockey)].apprentice;
    if (apprentice >= 1 && apprentice <= 4 && r.weightRule != 1) run.weight -= apprentice * 10;
    if (apprentice == 9 && r.weightRule != 1) run.weight -= 20;
    run.bodyWeight = std::clamp(h.baseWeight + rng_.range(-12, 12), 380, 600);
    const double a = rng_.unit();
    run.abnormality = a < 0.004   ? 1
                      : a < 0.007 ? 2
                      : a < 0.009 ? 3
                      : a < 0.015 ? 4
                      : a < 0.016 ? 5
                      : a < 0.018 ? 7
                                  : 0;
    if (r.jump && run.abnormality == 0 && rng_.chance(0.02)) run.abnormality = 6;
    if (r.week) run.abnormality = 0;
    r.numberRun[static_cast<std::size_t>(run.number)] = static_cast<int>(runs_.size());
    r.runs.push_back(static_cast<int>(runs_.size()));
    runs_.push_back(run);
    return static_cast<int>(runs_.size()) - 1;
}

// ---- careers ----------------------------------------------------------------------

// Runs from the debut up to the week, every two weeks to two months, moving
// up a class with every win. Local-course starters and veterans run weekdays.
void Generator::makeCareer(int horseIdx) {
    Horse& h = horses_[static_cast<std::size_t>(horseIdx)];
    Rng rng(MixSeed(opt_.seed, HashText(h.umaCode)));
    const int weekYear = split(saturday_).y;
    const int age = weekYear - h.birthYear;
    if (age <= 2 && rng.chance(0.45)) return;  // newcomer
    Day start = Day(chr::year_month_day{chr::year{h.birthYear + 2},
                                        chr::month{static_cast<unsigned>(rng.range(6, 12))},
                                        chr::day{static_cast<unsigned>(rng.range(1, 28))}});
    if (age >= 3 && rng.chance(0.25)) start += chr::days(rng.range(60, 300));
    const Day earliest = saturday_ - chr::days(h.veteran ? 4 * 365 + 200 : 4 * 365);
    if (start < earliest) start = earliest;
    const Day last = saturday_ - chr::days(7);
    int cls = kMaiden;
    Day date = start;
    int localRuns = h.local ? rng.range(6, 20) : 0;
    std::set<int> usedDates;
    const int minGap = opt_.small ? 70 : 14;
    const int maxGap = opt_.small ? 160 : 63;
    while (date <= last) {
        const int runAge = split(date).y - h.birthYear;
        // Maidens move up once the maiden races of their age are over.
        if (cls == kMaiden && (runAge >= 4 || (runAge == 3 && split(date).m >= 9))) cls = kOne;
        const bool local = h.veteran ? date < saturday_ - chr::days(120) : localRuns > 0;
        int raceIdx = -1;
        if (local) {
            const int course = rng.pick(kLocalCourses);
            raceIdx = pastRace(date, course, rng.range(1, 11), 0);
            --localRuns;
        } else {
            // Race days are Saturdays and Sundays.
            while (weekday(date) != 6 && weekday(date) != 0) date += chr::days(1);
            if (date > last) break;
            const auto courses = coursesOfMonth(split(date).m);
            std::vector<int> numbers;
            if (h.jumper && runAge >= 4 && cls >= kOne) {
                numbers = {4};
            } else if (cls == kMaiden) {
                numbers = h.runs.empty() ? std::vector<int>{5, 1, 2, 3} : std::vector<int>{1, 2, 3, 4};
            } else if (cls == kOne) {
                numbers = {6, 7, 12};
            } else if (cls == kTwo) {
                numbers = {8, 9};
            } else if (cls == kThree) {
                numbers = {10};
            } else {
                numbers = {11};
            }
            rng.shuffle(numbers);
            for (int attempt = 0; attempt < 6 && raceIdx < 0; ++attempt) {
                const int ci = rng.range(0, 2);
                for (int number : numbers) {
                    if (number == 4 && ci != 0 && h.jumper) continue;
                    const int idx = pastRace(date, courses[static_cast<std::size_t>(ci)], number, ci);
                    const Race& r = races_[static_cast<std::size_t>(idx)];
                    if (r.jump != (h.jumper && number == 4) || !ageFits(r, runAge)) continue;
                    if (r.number == 5 && !h.runs.empty()) continue;
                    if (std::find(r.numberRun.begin() + 1, r.numberRun.end(), -1) == r.numberRun.end())
                        continue;
                    raceIdx = idx;
                    break;
                }
            }
        }
        const int dateKey = static_cast<int>(date.time_since_epoch().count());
        if (raceIdx >= 0 && usedDates.insert(dateKey).second) {
            const Race& r = races_[static_cast<std::size_t>(raceIdx)];
            const int hint = 1 + static_cast<int>((100 - h.ability) * r.starters / 100.0 + rng.range(-3, 3));
            const int runIdx = newRun(horseIdx, raceIdx, hint);
            if (runIdx >= 0) {
                Run& run = runs_[static_cast<std::size_t>(runIdx)];
                run.firstStart = h.runs.empty();
                if (!h.runs.empty()) {
                    const Run& prev = runs_[static_cast<std::size_t>(h.runs.back())];
                    run.change = run.bodyWeight - prev.bodyWeight;
                }
                h.runs.push_back(runIdx);
                if (run.place == 1 && run.abnormality == 0 && !r.local)
                    cls = std::min(cls + 1, static_cast<int>(kOpen));
            }
        }
        date += chr::days(h.veteran ? rng.range(7, 9)
                          : local   ? rng.range(10, 30)
                                    : rng.range(minGap, maxGap));
    }
}

// 72 races, two days at three courses; every runner is a horse of its own.
void Generator::makeWeek() {
    const std::array<int, 3> courses = {6, 9, 7};
    const std::array<int, 3> meetings = {5, 5, 4};
    int veterans = opt_.small ? 1 : 3;
    for (int dayIdx = 0; dayIdx < 2; ++dayIdx) {
        const Day date = saturday_ + chr::days(dayIdx);
        for (int ci = 0; ci < 3; ++ci) {
            for (int number = 1; number <= 12; ++number) {
                Race r;
                r.date = date;
                r.course = courses[static_cast<std::size_t>(ci)];
                r.meeting = meetings[static_cast<std::size_t>(ci)];
                r.day = 3 + dayIdx;
                r.number = number;
                r.week = true;
                r.id = raceId(date, r.course, r.meeting, r.day, number);
                r.seed = MixSeed(opt_.seed, HashText(r.id));
                // A named jump special on race 8 at the first course each day.
                shapeRace(r, ci);
                if (number == 8 && ci == 0) {
                    Rng jr = Rng::keyed(r.seed ^ 0x5A5A5A5Au);
                    r.jump = true;
                    r.named = true;
                    r.type = 18;
                    r.cond = 999;
                    r.grade = dayIdx == 0 ? 'H' : ' ';
                    r.weightRule = 2;
                    r.distance = jr.pick(kJumpDistances);
                    r.track = 54;
                    r.starters = std::min(r.starters, 14);
                }
                r.numberRun.assign(static_cast<std::size_t>(r.starters) + 1, -1);
                r.placeTaken.assign(static_cast<std::size_t>(r.starters) + 1, 0);
                races_.push_back(r);
                const int raceIdx = static_cast<int>(races_.size()) - 1;
                raceIndex_[r.id] = raceIdx;
                weekRaces_.push_back(raceIdx);
                for (int n = 1; n <= r.starters; ++n) {
                    int age = r.type == 11 ? 2 : r.type == 12 ? 3 : rng_.range(3, 7);
                    if (r.type == 14 || r.type == 19) age = std::max(age, 4);
                    if (r.jump) age = rng_.range(4, 8);
                    const bool veteran = veterans > 0 && r.type == 13 && number == 12 && n == 1;
                    if (veteran) age = 9;
                    const int horse =
                        newHorse(age, rng_.chance(0.45) ? 2 : (age >= 4 && rng_.chance(0.1) ? 3 : 1));
                    Horse& h = horses_[static_cast<std::size_t>(horse)];
                    h.jumper = r.jump;
                    h.veteran = veteran;
                    if (veteran) --veterans;
                    h.local = !veteran && age >= 4 && rng_.chance(0.06);
                    if (r.cond != 701) makeCareer(horse);
                    const int runIdx = newRun(horse, raceIdx, 1 + (100 - h.ability) * r.starters / 101);
                    Run& run = runs_[static_cast<std::size_t>(runIdx)];
                    if (!h.runs.empty())
                        run.change =
                            run.bodyWeight - runs_[static_cast<std::size_t>(h.runs.back())].bodyWeight;
                    run.firstStart = h.runs.empty();
                    h.runs.push_back(runIdx);
                }
            }
        }
    }
}

// Special registrations for the named races of the week: the runners plus
// horses that registered and did not get in; two races draw over a hundred.
void Generator::makeToku() {
    int big = 0;
    for (int raceIdx : weekRaces_) {
        const Race r = races_[static_cast<std::size_t>(raceIdx)];  // a copy: careers add races
        if (!r.named) continue;
        tokuRaces_.push_back(raceIdx);
        std::vector<int> reg;
        for (int runIdx : r.runs) reg.push_back(runs_[static_cast<std::size_t>(runIdx)].horse);
        int extra = rng_.range(0, opt_.small ? 3 : 8);
        if (!r.jump && r.number == 11 && big < 2) {
            extra = opt_.small ? 100 - static_cast<int>(reg.size()) + big * 7 : 104 + big * 23;
            ++big;
        }
        for (int i = 0; i < extra; ++i) {
            const int age = r.jump ? rng_.range(4, 8) : rng_.range(3, 6);
            const int horse = newHorse(age, rng_.chance(0.45) ? 2 : 1);
            Horse& h = horses_[static_cast<std::size_t>(horse)];
            h.tokuOnly = true;
            h.jumper = r.jump;
            if (!opt_.small || i < 12) makeCareer(horse);
            reg.push_back(horse);
        }
        tokuHorses_[raceIdx] = reg;
    }
}

// ---- lineups and records ------------------------------------------------------------

const Generator::Lineup& Generator::lineup(const Race& r) {
    auto it = lineups_.find(r.id);
    if (it == lineups_.end()) it = lineups_.emplace(r.id, makeLineup(r)).first;
    return it->second;
}

Generator::Lineup Generator::makeLineup(const Race& r) {
    Rng rng = Rng::keyed(r.seed ^ 0xA5A5A5A5u);
    Lineup l;
    const std::size_t n = static_cast<std::size_t>(r.starters);
    l.place.assign(n + 1, 0);
    l.run = r.numberRun;
    std::vector<int> freePlaces;
    for (int p = 1; p <= r.starters; ++p)
        if (r.placeTaken[static_cast<std::size_t>(p)] == 0) freePlaces.push_back(p);
    rng.shuffle(freePlaces);
    std::size_t next = 0;
    for (int h = 1; h <= r.starters; ++h) {
        const int runIdx = r.numberRun[static_cast<std::size_t>(h)];
        l.place[static_cast<std::size_t>(h)] =
            runIdx >= 0 ? runs_[static_cast<std::size_t>(runIdx)].place : freePlaces[next++];
    }
    // popularity: a shuffle, then odds rising with it
    std::vector<int> order;
    for (int h = 1; h <= r.starters; ++h) order.push_back(h);
    rng.shuffle(order);
    l.popularity.assign(n + 1, 0);
    l.odds.assign(n + 1, 0);
    double odds = 1.5 + rng.unit() * 2.5;
    for (std::size_t i = 0; i < order.size(); ++i) {
        l.popularity[static_cast<std::size_t>(order[i])] = static_cast<int>(i) + 1;
        l.odds[static_cast<std::size_t>(order[i])] = std::min(9999, static_cast<int>(odds * 10));
        odds *= 1.25 + rng.unit() * 0.5;
    }
    // winner's time from the distance, then the gaps behind
    const double perKm = r.jump ? 66.0 : (r.track >= 23 && r.track <= 29 ? 61.5 : 59.0);
    l.winnerTime = static_cast<int>(r.distance / 1000.0 * perKm * 10) + rng.range(-15, 25);
    l.gap.assign(n + 2, 0);
    for (std::size_t p = 2; p <= n; ++p) l.gap[p] = l.gap[p - 1] + (rng.chance(0.15) ? 0 : rng.range(1, 6));
    l.corner.assign(n + 1, {0, 0, 0, 0});
    for (int c = 0; c < 4; ++c) {
        std::vector<std::pair<int, int>> key;
        for (int h = 1; h <= r.starters; ++h)
            key.push_back({l.place[static_cast<std::size_t>(h)] * 2 + rng.range(-6, 6) * (4 - c), h});
        std::sort(key.begin(), key.end());
        for (std::size_t i = 0; i < key.size(); ++i)
            l.corner[static_cast<std::size_t>(key[i].second)][static_cast<std::size_t>(c)] =
                static_cast<int>(i) + 1;
    }
    return l;
}

std::string timeText(int tenths) { return Num(tenths / 600, 1) + Num(tenths % 600, 3); }

RaRecord Generator::buildRa(const Race& r, const std::string& category, bool results) {
    Rng rng = Rng::keyed(r.seed ^ 0x1234567u);
    RaRecord ra = BlankRA();
    auto [y, m, d] = split(r.date);
    ra.dataCategory = category;
    const Day created = results ? r.date + chr::days(weekday(r.date) == 6 ? 2 : 1) : r.date - chr::days(2);
    ra.creationDate = ymdText(created);
    ra.year = Num(y, 4);
    ra.monthDay = Num(m, 2) + Num(d, 2);
    ra.courseCode = Num(r.course, 2);
    ra.meeting = Num(r.meeting, 2);
    ra.day = Num(r.day, 2);
    ra.raceNumber = Num(r.number, 2);
    ra.weekdayCode = weekdayCode(r.date);
    if (r.named) {
        Rng nr = Rng::keyed(r.seed ^ 0x77u);
        const RaceName name = SpecialRaceName(nr, r.jump);
        ra.raceName = PadFull(name.kanji, 60);
        ra.raceNameEng = PadHalf(name.roman, 120);
        ra.raceNameShort10 = PadFull(FirstChars(name.kanji, 10), 20);
        ra.raceNameShort6 = PadFull(FirstChars(name.kanji, 6), 12);
        ra.raceNameShort3 = PadFull(FirstChars(name.kanji, 3), 6);
        if (r.grade != ' ') {
            ra.specialRaceNumber = Num(1000 + static_cast<int>(r.seed % 900), 4);
            ra.raceNameCategory = "1";
            ra.gradeEdition = Num(static_cast<int>(r.seed % 70) + 1, 3);
            if (rng.chance(0.3)) ra.raceNameSub = PadFull(FirstChars(name.kanji, 2) + "記念", 60);
        }
    }
    if (r.local) ra.conditionName = PadFull(LocalClassName(rng), 60);
    ra.gradeCode = std::string(1, r.grade);
    ra.raceTypeCode = Num(r.type, 2);
    ra.raceSymbolCode = r.local
                            ? "000"
                            : std::array<std::string, 5>{"000", "A00", "A03", "020",
                                                         "N00"}[static_cast<std::size_t>(rng.range(0, 4))];
    ra.weightRuleCode = std::to_string(r.weightRule);
    const std::string cc = Num(r.cond, 3);
    const std::string no = "000";
    switch (r.type) {
        case 11:
            ra.conditionCodes = {cc, no, no, no, cc};
            break;
        case 12:
            ra.conditionCodes = {no, cc, no, no, cc};
            break;
        case 14:
        case 19:
            ra.conditionCodes = {no, no, cc, cc, cc};
            break;
        default:
            ra.conditionCodes = {no, cc, cc, cc, cc};
            break;
    }
    ra.distance = Num(r.distance, 4);
    ra.trackCode = Num(r.track, 2);
    if (!r.local) ra.courseLayout = std::string(1, static_cast<char>('A' + rng.range(0, 2))) + " ";
    // first prize in units of 100 yen by class
    int level = 0;
    if (r.cond == 999)
        level = 4;
    else if (r.cond >= 16 && r.cond < 700)
        level = 3;
    else if (r.cond >= 10 && r.cond < 700)
        level = 2;
    else if (r.cond >= 5 && r.cond < 700)
        level = 1;
    int top = std::array<int, 5>{5500, 7800, 10500, 15000, 24000}[static_cast<std::size_t>(level)];
    if (r.grade == 'B') top *= 3;
    if (r.grade == 'C' || r.grade == 'H') top *= 2;
    if (r.local) top = 300 + static_cast<int>(r.seed % 1200);
    const std::array<int, 5> share = {100, 40, 25, 15, 10};
    for (int i = 0; i < 5; ++i)
        ra.prizeMoney[static_cast<std::size_t>(i)] = Num(top * share[static_cast<std::size_t>(i)] / 100, 8);
    if (r.named && !r.local) {
        for (int i = 0; i < 3; ++i) ra.addedMoney[static_cast<std::size_t>(i)] = Num(top / (10 * (i + 1)), 8);
    }
    const int minutes = 9 * 60 + 50 + (r.number - 1) * 30 + (r.course % 3) * 5;
    ra.startTime = Num(minutes / 60, 2) + Num(minutes % 60, 2);
    ra.registeredCount = Num(r.starters, 2);
    if (results) {
        const Lineup& l = lineup(r);
        int out = 0, dnf = 0;
        for (int h = 1; h <= r.starters; ++h) {
            const int runIdx = r.numberRun[static_cast<std::size_t>(h)];
            const int abn = runIdx >= 0 ? runs_[static_cast<std::size_t>(runIdx)].abnormality : 0;
            if (abn >= 1 && abn <= 3) ++out;
            if (abn == 4) ++dnf;
        }
        if (scratchedHorse(r)) ++out;
        ra.starterCount = Num(r.starters - out, 2);
        ra.finisherCount = Num(r.starters - out - dnf, 2);
        ra.weatherCode = std::to_string(rng.range(1, 3));
        const int going = rng.chance(0.7) ? 1 : rng.range(2, 4);
        const bool dirt = r.track >= 23 && r.track <= 29;
        ra.turfGoing = dirt ? "0" : std::to_string(going);
        ra.dirtGoing = dirt || r.track == 52 ? std::to_string(going) : "0";
        if (r.jump) {
            ra.jumpMileTime = timeText(static_cast<int>(l.winnerTime * 1600.0 / r.distance));
            ra.last3F = Num(rng.range(380, 420), 3);
            ra.last4F = Num(rng.range(510, 560), 3);
        } else {
            const int furlongs = (r.distance + 199) / 200;
            const int avg = l.winnerTime / furlongs;
            int used = 0;
            for (int i = 0; i < furlongs; ++i) {
                int lap = i == furlongs - 1 ? l.winnerTime - used : avg + rng.range(-6, 6);
                if (i == 0)
                    lap = r.distance % 200 ? avg * (r.distance % 200) / 200 + rng.range(0, 4) : avg + 5;
                lap = std::clamp(lap, 60, 999);
                ra.lapTimes[static_cast<std::size_t>(i)] = Num(lap, 3);
                used += lap;
            }
            auto sumLaps = [&](int from, int count) {
                int s = 0;
                for (int i = from; i < from + count && i < furlongs; ++i)
                    s += std::stoi(ra.lapTimes[static_cast<std::size_t>(i)]);
                return s;
            };
            ra.first3F = Num(std::min(999, sumLaps(0, 3)), 3);
            ra.first4F = Num(std::min(999, sumLaps(0, 4)), 3);
            ra.last3F = Num(std::min(999, sumLaps(furlongs - 3, 3)), 3);
            ra.last4F = Num(std::min(999, sumLaps(furlongs - 4, 4)), 3);
        }
        const int firstCorner = r.distance <= 1400 && !r.jump ? 2 : 0;
        for (int c = firstCorner; c < 4; ++c) {
            std::vector<std::pair<int, int>> pos;
            for (int h = 1; h <= r.starters; ++h)
                pos.push_back({l.corner[static_cast<std::size_t>(h)][static_cast<std::size_t>(c)], h});
            std::sort(pos.begin(), pos.end());
            std::string order;
            for (std::size_t i = 0; i < pos.size(); ++i) {
                if (i > 0) order += rng.chance(0.12) ? "-" : rng.chance(0.05) ? "=" : ",";
                order += std::to_string(pos[i].second);
            }
            auto& block = ra.corners[static_cast<std::size_t>(c)];
            block.corner = std::to_string(c + 1);
            block.lapCount = r.distance >= 3000 && !r.jump ? "2" : "1";
            block.order = PadHalf(order, 70);
        }
        if (rng.chance(0.01)) ra.recordUpdate = "2";
    }
    return ra;
}

void Generator::fillerIdentity(const Race& r, int number, SeRecord& se) {
    Rng rng = Rng::keyed(MixSeed(r.seed, static_cast<std::uint64_t>(number) * 7919u));
    const int age = r.type == 11 ? 2 : r.type == 12 ? 3 : rng.range(3, 7);
    const int birth = split(r.date).y - age;
    se.umaCode = Num(birth, 4) + "1" + Num(90000 + rng.range(0, 9999), 5);
    se.horseName = PadFull(HorseName(rng, rng.range(2, 9)), 36);
    se.sexCode = std::to_string(rng.chance(0.45) ? 2 : 1);
    se.coatColour = Num(rng.range(1, 6), 2);
    se.age = Num(age, 2);
    const Person& t =
        trainers_[static_cast<std::size_t>(rng.range(0, static_cast<int>(trainers_.size()) - 1))];
    se.eastWest = std::to_string(r.local ? 3 : t.eastWest);
    se.trainerCode = t.code;
    se.trainerName = PadFull(t.name, 8);
    const Owner& o = owners_[static_cast<std::size_t>(rng.range(0, static_cast<int>(owners_.size()) - 1))];
    se.ownerCode = o.code;
    se.ownerName = PadFull(o.name, 64);
    se.colours = PadFull(o.colours, 60);
    const Person& j = jockeys_[static_cast<std::size_t>(rng.range(0, static_cast<int>(jockeys_.size()) - 1))];
    se.jockeyCode = j.code;
    se.jockeyName = PadFull(j.name, 8);
    se.apprentice = std::to_string(j.apprentice);
    int weight = age == 2 ? 550 : age == 3 ? 560 : 580;
    if (se.sexCode == "2") weight -= 20;
    if (r.jump) weight = 600;
    se.weightCarried = Num(weight, 3);
    se.bodyWeight = Num(rng.range(420, 530), 3);
    const int change = rng.range(-8, 8);
    se.weightSign = change > 0 ? "+" : change < 0 ? "-" : " ";
    se.weightChange = Num(std::abs(change), 3);
}

std::string marginCode(int tenths) {
    if (tenths <= 0) return "H  ";  // no dead heats are generated
    static const std::array<const char*, 10> codes = {"H  ", "A  ", "K  ", " 12", " 34",
                                                      "1  ", "112", "2  ", "212", "3  "};
    if (tenths > 20) return "T  ";
    if (tenths >= 10) return "Z  ";
    return codes[static_cast<std::size_t>(tenths)];
}

SeRecord Generator::buildSe(const Race& r, const Lineup& l, int number, const std::string& category,
                            bool results) {
    SeRecord se = BlankSE();
    auto [y, m, d] = split(r.date);
    se.dataCategory = category;
    const Day created = results ? r.date + chr::days(weekday(r.date) == 6 ? 2 : 1) : r.date - chr::days(2);
    se.creationDate = ymdText(created);
    se.year = Num(y, 4);
    se.monthDay = Num(m, 2) + Num(d, 2);
    se.courseCode = Num(r.course, 2);
    se.meeting = Num(r.meeting, 2);
    se.day = Num(r.day, 2);
    se.raceNumber = Num(r.number, 2);
    // frames: the outer frames take the extra horses
    const int n = r.starters;
    int frame = number;
    if (n > 8) {
        const int base = n / 8, extra = n % 8;
        int h = 0;
        for (int f = 1; f <= 8; ++f) {
            h += base + (f > 8 - extra ? 1 : 0);
            if (number <= h) {
                frame = f;
                break;
            }
        }
    }
    se.frameNumber = std::to_string(frame);
    se.horseNumber = Num(number, 2);
    const int runIdx = r.numberRun[static_cast<std::size_t>(number)];
    const Run* run = runIdx >= 0 ? &runs_[static_cast<std::size_t>(runIdx)] : nullptr;
    if (run) {
        const Horse& h = horses_[static_cast<std::size_t>(run->horse)];
        se.umaCode = h.umaCode;
        se.horseName = PadFull(h.name, 36);
        se.horseSymbol = Num(h.symbol, 2);
        se.sexCode = std::to_string(h.sex);
        se.coatColour = Num(h.coat, 2);
        se.age = Num(y - h.birthYear, 2);
        const Person& t = trainers_[static_cast<std::size_t>(h.trainer)];
        se.eastWest = std::to_string(r.local ? 3 : h.eastWest);
        se.trainerCode = t.code;
        se.trainerName = PadFull(t.name, 8);
        const Owner& o = owners_[static_cast<std::size_t>(h.owner)];
        se.ownerCode = o.code;
        se.ownerName = PadFull(o.name, 64);
        se.colours = PadFull(o.colours, 60);
        se.weightCarried = Num(run->weight, 3);
        const Person& j = jockeys_[static_cast<std::size_t>(run->jockey)];
        se.jockeyCode = j.code;
        se.jockeyName = PadFull(j.name, 8);
        se.apprentice = std::to_string(j.apprentice);
        if (results) {
            se.bodyWeight = run->abnormality == 1 ? "000" : Num(run->bodyWeight, 3);
            if (run->firstStart) {
                se.weightSign = " ";
                se.weightChange = "   ";
            } else {
                se.weightSign = run->change > 0 ? "+" : run->change < 0 ? "-" : " ";
                se.weightChange = Num(std::min(999, std::abs(run->change)), 3);
            }
        }
    } else {
        fillerIdentity(r, number, se);
        if (!results) {
            se.bodyWeight = "   ";
            se.weightSign = " ";
            se.weightChange = "   ";
        }
    }
    se.breedCode = "1";
    se.blinkers = (HashText(se.umaCode) % 9 == 0) ? "1" : "0";
    se.weightCarriedBefore = "000";
    if (!results) return se;

    const int abn = run ? (number == scratchedHorse(r) ? 1 : run->abnormality) : 0;
    const int place = l.place[static_cast<std::size_t>(number)];
    if (abn == 1) se.bodyWeight = "000";
    se.abnormality = std::to_string(abn);
    se.winOdds = Num(l.odds[static_cast<std::size_t>(number)], 4);
    se.popularity = Num(l.popularity[static_cast<std::size_t>(number)], 2);
    const bool finished = abn == 0 || abn == 5 || abn == 6 || abn == 7;
    if (abn >= 1 && abn <= 3) {
        se.winOdds = "0000";
        se.popularity = "00";
    }
    if (finished) {
        se.arrivalOrder = Num(place, 2);
        int final = place;
        if (abn == 5) final = r.starters;
        if (abn == 7) final = std::min(r.starters, place + 2);
        se.finalPlacing = Num(final, 2);
        const int gap = l.gap[static_cast<std::size_t>(place)];
        se.raceTime = timeText(l.winnerTime + gap + (abn == 6 ? 40 : 0));
        if (place > 1) se.margin = marginCode(gap - l.gap[static_cast<std::size_t>(place - 1)]);
        const int firstCorner = r.distance <= 1400 && !r.jump ? 2 : 0;
        for (int c = firstCorner; c < 4; ++c)
            se.cornerPositions[static_cast<std::size_t>(c)] =
                Num(l.corner[static_cast<std::size_t>(number)][static_cast<std::size_t>(c)], 2);
        const int base = r.jump ? 130 : 345 + static_cast<int>(r.seed % 30);
        se.last3F = Num(base + place / 2 + static_cast<int>(HashText(se.umaCode + r.id) % 12), 3);
        se.timeDifference = place == 1 ? "-" + Num(l.gap[2], 3) : "+" + Num(std::min(999, gap), 3);
        const int first = l.corner[static_cast<std::size_t>(number)][static_cast<std::size_t>(firstCorner)];
        se.runningStyle = first == 1 ? "1" : first <= n / 3 ? "2" : first <= 2 * n / 3 ? "3" : "4";
        if (final <= 5) {
            static const std::array<int, 5> share = {100, 40, 25, 15, 10};
            se.prizeMoney = Num(5000 * share[static_cast<std::size_t>(final - 1)] / 100, 8);
        }
        // winner (or runner-up for the winner)
        const int other = l.byPlace(place == 1 ? 2 : 1);
        if (other > 0) {
            SeRecord o = BlankSE();
            const int oRun = r.numberRun[static_cast<std::size_t>(other)];
            if (oRun >= 0) {
                const Horse& oh =
                    horses_[static_cast<std::size_t>(runs_[static_cast<std::size_t>(oRun)].horse)];
                o.umaCode = oh.umaCode;
                o.horseName = PadFull(oh.name, 36);
            } else {
                fillerIdentity(r, other, o);
            }
            se.opponents[0].umaCode = o.umaCode;
            se.opponents[0].name = o.horseName;
        }
    } else {
        se.last3F = abn == 4 ? "999" : "000";
        se.timeDifference = abn == 4 ? "9999" : "0000";
    }
    if (!r.local) {
        Rng rng = Rng::keyed(MixSeed(r.seed, static_cast<std::uint64_t>(number) + 101u));
        se.miningCategory = "3";
        const int predicted = (l.winnerTime + rng.range(0, 20)) * 10 + rng.range(0, 9);
        se.miningTime = Num(predicted / 6000, 1) + Num(predicted % 6000, 4);
        se.miningErrorPlus = Num(rng.range(20, 120), 4);
        se.miningErrorMinus = Num(rng.range(20, 120), 4);
        se.miningRank = Num(
            std::min(18, std::max(1, l.popularity[static_cast<std::size_t>(number)] + rng.range(-2, 2))), 2);
    }
    return se;
}

// ---- odds and mining ---------------------------------------------------------------

// Odds text of `width` digits in 0.1 units, capped at the field's top value.
std::string oddsText(double odds, int width, int cap) {
    const long long v =
        std::clamp(static_cast<long long>(odds * 10 + 0.5), 10LL, static_cast<long long>(cap));
    return Num(v, width);
}

void Generator::writeOdds(const Race& r) {
    Rng rng = Rng::keyed(r.seed ^ 0x0DD5u);
    const int n = r.starters;
    const Lineup& l = lineup(r);
    // a scratched horse: its bets cancelled before ("-") or after ("*") the sale
    const int scratched = scratchedHorse(r);
    const char cancelMark = rng.chance(0.5) ? '-' : '*';
    std::vector<double> p(static_cast<std::size_t>(n) + 1, 0.0);
    double sum = 0;
    for (int h = 1; h <= n; ++h) {
        if (h == scratched) continue;
        p[static_cast<std::size_t>(h)] = 1.0 / l.odds[static_cast<std::size_t>(h)];
        sum += p[static_cast<std::size_t>(h)];
    }
    for (auto& x : p) x /= sum;
    const bool done =
        std::find(weekRaces_.begin(), weekRaces_.begin() + 36, raceIndex_[r.id]) != weekRaces_.begin() + 36;
    auto [y, m, d] = split(r.date);
    const std::string category = done ? "4" : "1";
    const std::string announced =
        done ? "00000000" : Num(m, 2) + Num(d, 2) + Num(9 + r.number / 2, 2) + Num(rng.range(0, 59), 2);
    auto header = [&](auto& o) {
        o.dataCategory = category;
        o.creationDate = ymdText(r.date);
        o.year = Num(y, 4);
        o.monthDay = Num(m, 2) + Num(d, 2);
        o.courseCode = Num(r.course, 2);
        o.meeting = Num(r.meeting, 2);
        o.day = Num(r.day, 2);
        o.raceNumber = Num(r.number, 2);
        o.announced = announced;
        o.registeredCount = Num(n, 2);
        o.starterCount = Num(n - (scratched ? 1 : 0), 2);
    };
    auto cancelled = [&](int width) { return std::string(static_cast<std::size_t>(width), cancelMark); };
    auto votes = [&](int scale) {
        return Num(static_cast<long long>(scale) * rng.range(800, 4000) + rng.range(0, 999), 11);
    };
    // Ranks by ascending odds among entries on sale with votes; entries with
    // no votes take the highest rank on sale.
    auto rank = [](std::vector<std::pair<double, std::size_t>> v, std::size_t slots, std::vector<int>& out) {
        std::sort(v.begin(), v.end());
        out.assign(slots, 0);
        for (std::size_t i = 0; i < v.size(); ++i) out[v[i].second] = static_cast<int>(i) + 1;
    };
    auto popText = [](int rankValue, int width) { return Num(rankValue, width); };

    FileOut f(*this, folder_ / "realtime" / "0B30" / (r.id + ".txt"));
    {
        O1Record o = BlankO1();
        header(o);
        o.winSale = "7";
        o.placeSale = "7";
        o.bracketSale = n >= 9 ? "7" : "0";
        o.placePayKey = n >= 8 ? "3" : n >= 5 ? "2" : "0";
        std::vector<std::pair<double, std::size_t>> v;
        for (int h = 1; h <= n; ++h)
            if (h != scratched)
                v.push_back({1.0 / p[static_cast<std::size_t>(h)], static_cast<std::size_t>(h)});
        std::vector<int> ranks;
        rank(v, 29, ranks);
        for (int h = 1; h <= n; ++h) {
            auto& w = o.win[static_cast<std::size_t>(h - 1)];
            auto& pl = o.place[static_cast<std::size_t>(h - 1)];
            w.horseNumber = Num(h, 2);
            pl.horseNumber = Num(h, 2);
            if (h == scratched) {
                w.odds = cancelled(4);
                w.popularity = cancelled(2);
                pl.lowOdds = cancelled(4);
                pl.highOdds = cancelled(4);
                pl.popularity = cancelled(2);
                continue;
            }
            const double odds = 0.8 / p[static_cast<std::size_t>(h)];
            w.odds = oddsText(odds, 4, 9999);
            w.popularity = popText(ranks[static_cast<std::size_t>(h)], 2);
            const double low = std::max(1.0, odds / 4.0);
            pl.lowOdds = oddsText(low, 4, 9999);
            pl.highOdds = oddsText(low * (1.6 + rng.unit()), 4, 9999);
            pl.popularity = popText(ranks[static_cast<std::size_t>(h)], 2);
        }
        if (n >= 9) {
            // frames of each horse, as in the runner records
            std::array<int, 9> perFrame{};
            const int base = n / 8, extra = n % 8;
            for (int fr = 1; fr <= 8; ++fr)
                perFrame[static_cast<std::size_t>(fr)] = base + (fr > 8 - extra ? 1 : 0);
            int slot = 0;
            for (int a = 1; a <= 8; ++a) {
                for (int b = a; b <= 8; ++b, ++slot) {
                    auto& e = o.bracket[static_cast<std::size_t>(slot)];
                    if (a == b && perFrame[static_cast<std::size_t>(a)] < 2) continue;  // cannot occur
                    e.combination = std::to_string(a) + std::to_string(b);
                    e.odds = oddsText(3.0 + rng.unit() * 120, 5, 99999);
                    e.popularity = Num(rng.range(1, 36), 2);
                }
            }
        }
        o.winVotes = votes(100);
        o.placeVotes = votes(60);
        o.bracketVotes = n >= 9 ? votes(20) : Zeros(11);
        f.put(o);
    }
    // pair and triple probabilities from the win probabilities
    auto pOrdered2 = [&](int a, int b) {
        const double pa = p[static_cast<std::size_t>(a)], pb = p[static_cast<std::size_t>(b)];
        return pa * pb / std::max(1e-9, 1 - pa);
    };
    auto pOrdered3 = [&](int a, int b, int c) {
        const double pa = p[static_cast<std::size_t>(a)], pb = p[static_cast<std::size_t>(b)],
                     pc = p[static_cast<std::size_t>(c)];
        return pa * pb / std::max(1e-9, 1 - pa) * pc / std::max(1e-9, 1 - pa - pb);
    };
    auto involves = [&](std::initializer_list<int> hs) {
        return scratched && std::find(hs.begin(), hs.end(), scratched) != hs.end();
    };
    // Fills an array of combination entries: slot by slot over all pairs or
    // triples of 1..18 in ascending order; slots with a number above the field
    // stay blank. A few long shots get no votes.
    auto fill = [&](auto& entries, int oddsWidth, int popWidth, long long cap, double payout, auto&& combos,
                    auto&& prob) {
        std::vector<std::pair<double, std::size_t>> onSale;
        std::vector<std::size_t> noVotes;
        std::size_t slot = 0;
        for (const auto& c : combos) {
            auto& e = entries[slot];
            bool inField = true;
            for (int h : c) inField = inField && h <= n;
            if (inField) {
                std::string comb;
                for (int h : c) comb += Num(h, 2);
                e.combination = comb;
                bool cancel = false;
                for (int h : c) cancel = cancel || h == scratched;
                if (cancel) {
                    e.odds = cancelled(oddsWidth);
                    e.popularity = cancelled(popWidth);
                } else {
                    const double pr = prob(c);
                    if (pr < 0.0004 && rng.chance(0.08)) {
                        e.odds = Zeros(oddsWidth);
                        noVotes.push_back(slot);
                    } else {
                        e.odds = Num(
                            std::clamp(static_cast<long long>(payout / std::max(pr, 1e-9) * 10), 10LL, cap),
                            oddsWidth);
                        onSale.push_back({std::stod(e.odds), slot});
                    }
                }
            }
            ++slot;
        }
        std::vector<int> ranks;
        rank(onSale, entries.size(), ranks);
        for (const auto& [odds, s] : onSale) entries[s].popularity = Num(ranks[s], popWidth);
        const int highest = static_cast<int>(onSale.size() + noVotes.size());
        for (std::size_t s : noVotes) entries[s].popularity = Num(highest, popWidth);
    };
    std::vector<std::array<int, 2>> pairs, ordered;
    for (int a = 1; a <= 18; ++a)
        for (int b = a + 1; b <= 18; ++b) pairs.push_back({a, b});
    for (int a = 1; a <= 18; ++a)
        for (int b = 1; b <= 18; ++b)
            if (a != b) ordered.push_back({a, b});
    std::vector<std::array<int, 3>> triples, orderedTriples;
    for (int a = 1; a <= 18; ++a)
        for (int b = a + 1; b <= 18; ++b)
            for (int c = b + 1; c <= 18; ++c) triples.push_back({a, b, c});
    for (int a = 1; a <= 18; ++a)
        for (int b = 1; b <= 18; ++b)
            for (int c = 1; c <= 18; ++c)
                if (a != b && b != c && a != c) orderedTriples.push_back({a, b, c});
    auto quinellaP = [&](const std::array<int, 2>& c) {
        return pOrdered2(c[0], c[1]) + pOrdered2(c[1], c[0]);
    };
    {
        auto o = std::make_unique<O2Record>(BlankO2());
        header(*o);
        o->sale = "7";
        fill(o->entries, 6, 3, 99999, 0.775, pairs, quinellaP);
        o->votes = votes(300);
        f.put(*o);
    }
    {
        auto o = std::make_unique<O3Record>(BlankO3());
        header(*o);
        o->sale = n >= 5 ? "7" : "0";
        std::vector<std::pair<double, std::size_t>> onSale;
        for (std::size_t s = 0; s < pairs.size(); ++s) {
            const auto& c = pairs[s];
            if (c[1] > n || o->sale == "0") continue;
            auto& e = o->entries[s];
            e.combination = Num(c[0], 2) + Num(c[1], 2);
            if (involves({c[0], c[1]})) {
                e.lowOdds = cancelled(5);
                e.highOdds = cancelled(5);
                e.popularity = cancelled(3);
                continue;
            }
            const double low = std::max(1.0, 0.775 / std::max(1e-9, quinellaP(c)) / 3.5);
            e.lowOdds = oddsText(low, 5, 99999);
            e.highOdds = oddsText(low * (1.5 + rng.unit()), 5, 99999);
            onSale.push_back({low, s});
        }
        std::vector<int> ranks;
        rank(onSale, o->entries.size(), ranks);
        for (const auto& [odds, s] : onSale) o->entries[s].popularity = Num(ranks[s], 3);
        o->votes = o->sale == "0" ? Zeros(11) : votes(250);
        f.put(*o);
    }
    {
        auto o = std::make_unique<O4Record>(BlankO4());
        header(*o);
        o->sale = "7";
        fill(o->entries, 6, 3, 99999, 0.75, ordered,
             [&](const std::array<int, 2>& c) { return pOrdered2(c[0], c[1]); });
        o->votes = votes(200);
        f.put(*o);
    }
    {
        auto o = std::make_unique<O5Record>(BlankO5());
        header(*o);
        o->sale = "7";
        fill(o->entries, 6, 3, 99999, 0.75, triples, [&](const std::array<int, 3>& c) {
            double s = 0;
            const std::array<std::array<int, 3>, 6> perms = {{{c[0], c[1], c[2]},
                                                              {c[0], c[2], c[1]},
                                                              {c[1], c[0], c[2]},
                                                              {c[1], c[2], c[0]},
                                                              {c[2], c[0], c[1]},
                                                              {c[2], c[1], c[0]}}};
            for (const auto& q : perms) s += pOrdered3(q[0], q[1], q[2]);
            return s;
        });
        o->votes = votes(500);
        f.put(*o);
    }
    {
        auto o = std::make_unique<O6Record>(BlankO6());
        header(*o);
        o->sale = "7";
        fill(o->entries, 7, 4, 9999999, 0.725, orderedTriples,
             [&](const std::array<int, 3>& c) { return pOrdered3(c[0], c[1], c[2]); });
        o->votes = votes(900);
        f.put(*o);
    }
}

void Generator::writeMining(const Race& r) {
    Rng rng = Rng::keyed(r.seed ^ 0xD11u);
    const Lineup& l = lineup(r);
    DmRecord dm = BlankDM();
    auto [y, m, d] = split(r.date);
    const bool done =
        std::find(weekRaces_.begin(), weekRaces_.begin() + 36, raceIndex_[r.id]) != weekRaces_.begin() + 36;
    dm.dataCategory = done ? "3" : std::to_string(rng.range(1, 2));
    dm.creationDate = ymdText(done ? r.date : r.date - chr::days(1));
    dm.year = Num(y, 4);
    dm.monthDay = Num(m, 2) + Num(d, 2);
    dm.courseCode = Num(r.course, 2);
    dm.meeting = Num(r.meeting, 2);
    dm.day = Num(r.day, 2);
    dm.raceNumber = Num(r.number, 2);
    dm.createdTime = done ? Num(9 + r.number / 2, 2) + Num(rng.range(0, 59), 2)
                          : Num(rng.range(17, 20), 2) + Num(rng.range(0, 59), 2);
    for (int h = 1; h <= r.starters && h <= 18; ++h) {
        auto& e = dm.entries[static_cast<std::size_t>(h - 1)];
        e.horseNumber = Num(h, 2);
        const int hundredths =
            (l.winnerTime + l.gap[static_cast<std::size_t>(l.place[static_cast<std::size_t>(h)])]) * 10 +
            rng.range(-60, 60);
        e.time = Num(hundredths / 6000, 1) + Num(hundredths % 6000, 4);
        e.errorPlus = Num(rng.range(20, 150), 4);
        e.errorMinus = Num(rng.range(20, 150), 4);
    }
    FileOut f(*this, folder_ / "realtime" / "0B13" / (r.id + ".txt"));
    f.put(dm);
}

// ---- stored data ----------------------------------------------------------------------

// RA then SE files of past runs, a few thousand records a file; some runs are
// sent twice (a second file, or also under the local category).
void Generator::writeHistoryFiles(const std::string& spec, const std::vector<int>& horseList, Day day,
                                  int hour) {
    std::vector<int> raceList;
    std::set<int> seen;
    std::vector<int> runList;
    for (int h : horseList) {
        for (int runIdx : horses_[static_cast<std::size_t>(h)].runs) {
            const Run& run = runs_[static_cast<std::size_t>(runIdx)];
            const Race& r = races_[static_cast<std::size_t>(run.race)];
            if (r.week) continue;
            runList.push_back(runIdx);
            if (seen.insert(run.race).second) raceList.push_back(run.race);
        }
    }
    std::sort(raceList.begin(), raceList.end(), [&](int a, int b) {
        return races_[static_cast<std::size_t>(a)].id < races_[static_cast<std::size_t>(b)].id;
    });
    const std::size_t perFile = opt_.small ? 400 : 4000;
    int second = 0;
    const std::string letter = spec == "RCOV" ? "P" : "T";
    auto path = [&](const std::string& rec, int part) {
        return folder_ / "stored" / spec /
               (stamp(day, hour, second / 60, second % 60) + "_" + rec + letter + "W" + ymdText(day) +
                Num(part, 2) + ".txt");
    };
    for (std::size_t i = 0, part = 1; i < raceList.size(); i += perFile, ++part) {
        FileOut f(*this, path("RA", static_cast<int>(part)));
        ++second;
        for (std::size_t k = i; k < std::min(raceList.size(), i + perFile); ++k) {
            const Race& r = races_[static_cast<std::size_t>(raceList[k])];
            f.put(buildRa(r, r.local ? "A" : "7", true));
        }
    }
    std::vector<int> again;
    for (std::size_t i = 0, part = 1; i < runList.size(); i += perFile, ++part) {
        FileOut f(*this, path("SE", static_cast<int>(part)));
        ++second;
        for (std::size_t k = i; k < std::min(runList.size(), i + perFile); ++k) {
            const Run& run = runs_[static_cast<std::size_t>(runList[k])];
            const Race& r = races_[static_cast<std::size_t>(run.race)];
            const Lineup& l = lineup(r);
            SeRecord se = buildSe(r, l, run.number, r.local ? "A" : "7", true);
            f.put(se);
            if (run.bothCategories) {
                se.dataCategory = r.local ? "7" : "A";
                f.put(se);
            }
            if (run.twoFiles) again.push_back(runList[k]);
        }
    }
    if (!again.empty()) {
        FileOut f(*this, path("SE", 99));
        for (int runIdx : again) {
            const Run& run = runs_[static_cast<std::size_t>(runIdx)];
            const Race& r = races_[static_cast<std::size_t>(run.race)];
            f.put(buildSe(r, lineup(r), run.number, r.local ? "A" : "7", true));
        }
    }
}

void Generator::writeStored() {
    const Day sat = saturday_;
    // RACE: final results of every race day in the chosen years, one RA file
    // and one SE file per weekend, stamped the Monday after.
    if (opt_.resultsYears > 0) {
        const Day from = opt_.small ? sat - chr::days(28) : sat - chr::days(365 * opt_.resultsYears);
        Day day = from;
        while (weekday(day) != 6) day += chr::days(1);
        for (; day < sat; day += chr::days(7)) {
            std::vector<int> list;
            for (int dd = 0; dd < 2; ++dd) {
                const Day date = day + chr::days(dd);
                const auto courses = coursesOfMonth(split(date).m);
                for (int ci = 0; ci < 3; ++ci)
                    for (int number = 1; number <= 12; ++number)
                        list.push_back(pastRace(date, courses[static_cast<std::size_t>(ci)], number, ci));
            }
            const Day monday = day + chr::days(2);
            {
                FileOut f(*this, folder_ / "stored" / "RACE" /
                                     (stamp(monday, 16, 0, 0) + "_RASW" + ymdText(day) + ".txt"));
                for (int idx : list) f.put(buildRa(races_[static_cast<std::size_t>(idx)], "7", true));
            }
            FileOut f(*this, folder_ / "stored" / "RACE" /
                                 (stamp(monday, 16, 0, 1) + "_SESW" + ymdText(day) + ".txt"));
            for (int idx : list) {
                const Race& r = races_[static_cast<std::size_t>(idx)];
                const Lineup& l = lineup(r);
                for (int h = 1; h <= r.starters; ++h) f.put(buildSe(r, l, h, "7", true));
            }
        }
    }
    // RACE: this week's racecards, Saturday's on Friday and Sunday's on
    // Saturday, with the day-before win odds in a file of their own.
    for (int dd = 0; dd < 2; ++dd) {
        const Day date = sat + chr::days(dd);
        const Day before = date - chr::days(1);
        std::vector<int> list(weekRaces_.begin() + dd * 36, weekRaces_.begin() + dd * 36 + 36);
        {
            FileOut f(*this, folder_ / "stored" / "RACE" /
                                 (stamp(before, 10, 0, 0) + "_RADW" + ymdText(date) + ".txt"));
            for (int idx : list) f.put(buildRa(races_[static_cast<std::size_t>(idx)], "2", false));
        }
        {
            FileOut f(*this, folder_ / "stored" / "RACE" /
                                 (stamp(before, 10, 0, 1) + "_SEDW" + ymdText(date) + ".txt"));
            for (int idx : list) {
                const Race& r = races_[static_cast<std::size_t>(idx)];
                const Lineup& l = lineup(r);
                for (int h = 1; h <= r.starters; ++h) {
                    world_.weekRunners.push_back(
                        {r.id, Num(h, 2),
                         static_cast<std::size_t>(
                             runs_[static_cast<std::size_t>(r.numberRun[static_cast<std::size_t>(h)])]
                                 .horse)});
                    f.put(buildSe(r, l, h, "2", false));
                }
            }
        }
        FileOut f(*this,
                  folder_ / "stored" / "RACE" / (stamp(before, 17, 0, 0) + "_O1BW" + ymdText(date) + ".txt"));
        for (int idx : list) {
            const Race& r = races_[static_cast<std::size_t>(idx)];
            O1Record o = BlankO1();
            auto [y, m, d] = split(r.date);
            o.dataCategory = "2";
            o.creationDate = ymdText(before);
            o.year = Num(y, 4);
            o.monthDay = Num(m, 2) + Num(d, 2);
            o.courseCode = Num(r.course, 2);
            o.meeting = Num(r.meeting, 2);
            o.day = Num(r.day, 2);
            o.raceNumber = Num(r.number, 2);
            o.registeredCount = Num(r.starters, 2);
            o.starterCount = Num(r.starters, 2);
            o.winSale = "7";
            const Lineup& l = lineup(r);
            for (int h = 1; h <= r.starters; ++h) {
                auto& w = o.win[static_cast<std::size_t>(h - 1)];
                w.horseNumber = Num(h, 2);
                w.odds = Num(l.odds[static_cast<std::size_t>(h)], 4);
                w.popularity = Num(l.popularity[static_cast<std::size_t>(h)], 2);
            }
            o.winVotes = Num(1000000 + r.seed % 5000000, 11);
            f.put(o);
        }
    }
    // TOKU: Saturday's registrations before the handicap weights (category 1,
    // Sunday a week ahead), Sunday's after them (category 2, the Monday).
    for (int cat = 1; cat <= 2; ++cat) {
        const Day day = sat - chr::days(cat == 1 ? 6 : 5);
        FileOut f(*this, folder_ / "stored" / "TOKU" /
                             (stamp(day, 14, 0, 0) + "_TK" + (cat == 1 ? "T" : "H") + "W" +
                              ymdText(sat + chr::days(cat - 1)) + ".txt"));
        for (int raceIdx : tokuRaces_) {
            const Race& r = races_[static_cast<std::size_t>(raceIdx)];
            if ((r.date == sat) != (cat == 1)) continue;
            const RaRecord ra = buildRa(r, "2", false);
            TkRecord tk = BlankTK();
            tk.dataCategory = std::to_string(cat);
            tk.creationDate = ymdText(day);
            tk.year = ra.year;
            tk.monthDay = ra.monthDay;
            tk.courseCode = ra.courseCode;
            tk.meeting = ra.meeting;
            tk.day = ra.day;
            tk.raceNumber = ra.raceNumber;
            tk.weekdayCode = ra.weekdayCode;
            tk.specialRaceNumber = ra.specialRaceNumber;
            tk.raceName = ra.raceName;
            tk.raceNameSub = ra.raceNameSub;
            tk.raceNameParen = ra.raceNameParen;
            tk.raceNameEng = ra.raceNameEng;
            tk.raceNameSubEng = ra.raceNameSubEng;
            tk.raceNameParenEng = ra.raceNameParenEng;
            tk.raceNameShort10 = ra.raceNameShort10;
            tk.raceNameShort6 = ra.raceNameShort6;
            tk.raceNameShort3 = ra.raceNameShort3;
            tk.raceNameCategory = ra.raceNameCategory;
            tk.gradeEdition = ra.gradeEdition;
            tk.gradeCode = ra.gradeCode;
            tk.raceTypeCode = ra.raceTypeCode;
            tk.raceSymbolCode = ra.raceSymbolCode;
            tk.weightRuleCode = ra.weightRuleCode;
            tk.conditionCodes = ra.conditionCodes;
            tk.distance = ra.distance;
            tk.trackCode = ra.trackCode;
            tk.courseLayout = ra.courseLayout;
            const bool handicapPending = cat == 1 && r.weightRule == 1;
            tk.handicapDate = r.weightRule == 1 && !handicapPending ? ymdText(day) : Zeros(8);
            const auto& reg = tokuHorses_[raceIdx];
            const std::size_t count = std::min(reg.size(), kTkHorseBlocks);
            tk.registeredCount = Num(static_cast<long long>(count), 3);
            for (std::size_t i = 0; i < count; ++i) {
                const Horse& h = horses_[static_cast<std::size_t>(reg[i])];
                auto& b = tk.horses[i];
                b.sequence = Num(static_cast<long long>(i) + 1, 3);
                world_.tokuEntries.push_back({r.id, b.sequence, static_cast<std::size_t>(reg[i])});
                b.umaCode = h.umaCode;
                b.horseName = PadFull(h.name, 36);
                b.horseSymbol = Num(h.symbol, 2);
                b.sexCode = std::to_string(h.sex);
                b.eastWest = std::to_string(h.eastWest);
                b.trainerCode = trainers_[static_cast<std::size_t>(h.trainer)].code;
                b.trainerName = PadFull(trainers_[static_cast<std::size_t>(h.trainer)].name, 8);
                const int age = split(sat).y - h.birthYear;
                b.weightCarried = handicapPending ? "000"
                                                  : Num((r.jump     ? 600
                                                         : age == 3 ? 560
                                                                    : 580) -
                                                            (h.sex == 2 ? 20 : 0),
                                                        3);
                b.exchange = "0";
            }
            f.put(tk);
        }
    }
    // RCOV on the Thursday evening, TCOV on the Monday.
    std::vector<int> weekHorses, tokuHorses;
    std::set<int> inToku;
    for (std::size_t h = 0; h < horses_.size(); ++h)
        if (!horses_[h].tokuOnly) weekHorses.push_back(static_cast<int>(h));
    for (int raceIdx : tokuRaces_)
        for (int h : tokuHorses_[raceIdx])
            if (inToku.insert(h).second) tokuHorses.push_back(h);
    writeHistoryFiles("RCOV", weekHorses, sat - chr::days(2), 20);
    writeHistoryFiles("TCOV", tokuHorses, sat - chr::days(5), 14);
}

// Odds and forecasts for every race; quick results for the races run by now:
// all of Saturday (final at the first course, with corners elsewhere) and
// Sunday's first six (placings only).
void Generator::writeRealtime() {
    for (std::size_t i = 0; i < weekRaces_.size(); ++i) {
        const Race& r = races_[static_cast<std::size_t>(weekRaces_[i])];
        writeOdds(r);
        writeMining(r);
        const bool saturday = i < 36;
        if (!saturday && r.number > 6) continue;
        const std::string category = saturday ? (r.course == 6 ? "7" : "6") : "5";
        FileOut f(*this, folder_ / "realtime" / "0B12" / (r.id + ".txt"));
        RaRecord ra = buildRa(r, category, true);
        if (category == "5") {
            for (auto& c : ra.corners) {
                c.corner = "0";
                c.lapCount = "0";
                c.order = Spaces(70);
            }
        }
        f.put(ra);
        const Lineup& l = lineup(r);
        for (int h = 1; h <= r.starters; ++h) f.put(buildSe(r, l, h, category, true));
    }
}

SampleWorld Generator::run() {
    makePeople();
    makeWeek();
    makeToku();
    // Mark deliveries that repeat: every 97th past run also under the other
    // category, every 89th also in a second file.
    int count = 0;
    for (auto& run : runs_) {
        if (races_[static_cast<std::size_t>(run.race)].week) continue;
        ++count;
        run.bothCategories = count % 97 == 3;
        run.twoFiles = count % 89 == 5;
    }
    // Every abnormality code at least once.
    for (int code = 1; code <= 7; ++code) {
        bool present = false;
        for (const auto& run : runs_) present = present || run.abnormality == code;
        if (present) continue;
        for (auto& run : runs_) {
            const Race& r = races_[static_cast<std::size_t>(run.race)];
            if (r.week || run.abnormality != 0 || (code == 6 && !r.jump)) continue;
            run.abnormality = code;
            break;
        }
    }
    writeStored();
    writeRealtime();

    for (int idx : weekRaces_) world_.weekRaceIds.push_back(races_[static_cast<std::size_t>(idx)].id);
    for (int idx : tokuRaces_) world_.tokuRaceIds.push_back(races_[static_cast<std::size_t>(idx)].id);
    for (const Horse& h : horses_) {
        SampleHorse s;
        s.umaCode = h.umaCode;
        s.name = h.name;
        s.ability = h.ability;
        for (int runIdx : h.runs) {
            const Race& r = races_[static_cast<std::size_t>(runs_[static_cast<std::size_t>(runIdx)].race)];
            if (r.week) continue;
            s.pastRaceIds.push_back(r.id);
            ++world_.pastRuns;
        }
        world_.horses.push_back(std::move(s));
    }
    return world_;
}

const char kSettings[] =
    "[TuneInfo]\r\n"
    "AutoTuning=0\r\n"
    "RaceLevel=0.30\r\n"
    "TimeZenhan=0.00\r\n"
    "TimeKouhan=0.00\r\n"
    "RaceZenhan=0.40\r\n"
    "RaceKouhan=0.60\r\n"
    "RaceMd=0.00\r\n"
    "Pace=0.10\r\n"
    "Kikan=600\r\n"
    "Kisyu=0.00\r\n"
    "Chokyo=0.00\r\n"
    "Combi=0.00\r\n"
    "KyoriWeight=10203050302010\r\n"
    "[MarkInfo]\r\n"
    "Mark=\x81"
    "\x9D"
    "\x81"
    "\x9B"
    "\x81"
    "\xA3"
    "\x81"
    "\xA2"
    "\x81"
    "\x99"
    "\x81"
    "~\x92"
    "\x8D"
    "\x81"
    "\x9A"
    "\x81"
    "\x9C"
    "\x81"
    "\x9E"
    "\x81"
    "\x9F"
    "\x81"
    "\xA0"
    "\x81"
    "\xA1"
    "\x8C"
    "\x8A"
    "\x8F"
    "\xC1"
    "\r\n";

}  // namespace

SampleWorld GenerateSampleWorld(const std::filesystem::path& jvlinkFolder, const SampleOptions& options,
                                RecordObserver* observer) {
    Generator g(jvlinkFolder, options, observer);
    return g.run();
}

std::string_view DefaultSettingsFile() { return std::string_view(kSettings, sizeof(kSettings) - 1); }

SampleWorld WriteSampleProgramFolder(const std::filesystem::path& folder, const SampleOptions& options) {
    std::filesystem::create_directories(folder / "cache");
    std::filesystem::create_directories(folder / "data");
    const auto settings = DefaultSettingsFile();
    std::ofstream out(folder / "VELTRIX.ctx", std::ios::binary | std::ios::trunc);
    out.write(settings.data(), static_cast<std::streamsize>(settings.size()));
    if (!out) throw std::runtime_error("cannot write " + (folder / "VELTRIX.ctx").string());
    out.close();
    return GenerateSampleWorld(folder / "jvlink", options);
}

}  // namespace veltrix::sample
