#pragma once
// The sample world generator's own parts, shared by its source files: the
// calendar and courses, the model of horses, races and runs, and the Generator
// that builds the model from the seed and writes it out record by record.
#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "jvlink/records.h"
#include "sample/record_writer.h"
#include "sample/sample_random.h"
#include "sample/sample_world.h"

namespace veltrix::sample::detail {

namespace chr = std::chrono;
using Day = chr::sys_days;

// ---- calendar and courses -------------------------------------------------

Day parseDate(const std::string& ymd);
struct Ymd {
    int y;
    int m;
    int d;
};
Ymd split(Day day);
std::string ymdText(Day day);
// 0 = Sunday ... 6 = Saturday
int weekday(Day day);
std::string weekdayCode(Day day);
// A file name's time stamp, yyyymmddhhmmss.
std::string stamp(Day day, int hh, int mm, int ss);

struct Course {
    int code;
    bool right;
    std::vector<int> turf;
    std::vector<int> dirt;
};
const Course& jraCourse(int code);
// Three courses race on a weekend; which ones follows the season.
std::array<int, 3> coursesOfMonth(int month);
extern const std::vector<int> kLocalCourses;
extern const std::vector<int> kJumpDistances;

// ---- model ------------------------------------------------------------------

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
    std::vector<int> runs;  // indexes into Generator::runs_, past first
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

// How a race ran, for every record of it: the horses the careers left out
// are filled in here.
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

// ---- race rules -----------------------------------------------------------

std::string raceId(Day date, int course, int meeting, int day, int number);
// Meetings of eight race days, counted through the year.
void meetingDay(Day date, int& meeting, int& day);
bool ageFits(const Race& r, int age);
// Horses per frame 1..8 of a field of more than eight: the outer frames take
// the extra horses.
std::array<int, 9> frameSizes(int starters);
// The horse number scratched in a race of the week, 0 for none.
int scratchedHorse(const Race& r);
// The weight carried before allowances, in 0.1 kg.
inline int standardWeight(int age) { return age == 2 ? 550 : age == 3 ? 560 : 580; }
// Race time text m sss (tenths).
std::string timeText(int tenths);
// Results are made the day after the race (a Saturday's on the Monday),
// racecards two days before it.
inline Day creationDay(const Race& r, bool results) {
    return results ? r.date + chr::days(weekday(r.date) == 6 ? 2 : 1) : r.date - chr::days(2);
}
// Sprints pass only the third and fourth corners.
inline int firstCorner(const Race& r) { return r.distance <= 1400 && !r.jump ? 2 : 0; }
// Shares of the first prize for places 1-5, in percent.
inline constexpr std::array<int, 5> kPrizeShare = {100, 40, 25, 15, 10};

// The fields every record of a race starts with: day, course, meeting, number.
template <class R>
void setRaceKey(R& rec, const Race& r) {
    const auto [y, m, d] = split(r.date);
    rec.year = Num(y, 4);
    rec.monthDay = Num(m, 2) + Num(d, 2);
    rec.courseCode = Num(r.course, 2);
    rec.meeting = Num(r.meeting, 2);
    rec.day = Num(r.day, 2);
    rec.raceNumber = Num(r.number, 2);
}

// ---- the generator ----------------------------------------------------------

class Generator {
public:
    Generator(std::filesystem::path folder, const SampleOptions& opt, RecordObserver* obs);

    SampleWorld run();

private:
    class FileOut;

    // -- people and horses
    void makePeople();
    int newHorse(int age, int sex);
    std::string uniqueName(Rng& rng, int chars);
    // -- races and runs
    int pastRace(Day date, int course, int number, int courseIndex);
    void shapeRace(Race& r, int courseIndex) const;
    int newRun(int horse, int race, int placeHint);
    int drawAbnormality(const Race& r);
    int joinRace(int horse, int race, int placeHint);
    // -- the week
    void makeWeek();
    Race weekRace(Day date, int dayIdx, int courseIndex, int number) const;
    void addWeekRunner(const Race& r, int raceIdx, int number, int& veterans);
    bool runByNow(const Race& r);
    // -- careers
    void makeCareer(int horse);
    int careerRace(const Horse& h, Day date, int cls, int runAge, Rng& rng);
    // -- special registrations
    void makeToku();
    void writeToku();
    TkRecord buildTk(const Race& r, int raceIdx, int cat, Day day);
    // -- lineups and records
    const Lineup& lineup(const Race& r);
    Lineup makeLineup(const Race& r);
    RaRecord buildRa(const Race& r, const std::string& category, bool results);
    void raResults(const Race& r, RaRecord& ra, Rng& rng);
    SeRecord buildSe(const Race& r, const Lineup& l, int number, const std::string& category, bool results);
    void seRunner(const Race& r, const Run& run, bool results, SeRecord& se) const;
    void seResults(const Race& r, const Lineup& l, int number, const Run* run, SeRecord& se) const;
    void seFinish(const Race& r, const Lineup& l, int number, int abn, SeRecord& se) const;
    void seOpponent(const Race& r, const Lineup& l, int place, SeRecord& se) const;
    void fillerIdentity(const Race& r, int number, SeRecord& se) const;
    // -- real-time: odds, mining, quick results
    void writeRealtime();
    void writeOdds(const Race& r);
    void writeMining(const Race& r);
    // -- stored files
    void writeStored();
    void writeRaceFiles(Day stampDay, int hour, const std::string& kind, Day raceDay,
                        const std::vector<int>& list, const std::string& category, bool results);
    void writeResultsYears();
    void writeWeekCards(int dayIdx);
    void writeDayBeforeOdds(Day date, const std::vector<int>& list);
    void writeCoverage();
    void writeHistoryFiles(const std::string& spec, const std::vector<int>& horses, Day day, int hour);
    // -- the run as a whole
    void markRepeatedDeliveries();
    void coverAbnormalities();
    void describeWorld();

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
    std::map<std::string, Lineup> lineups_;       // computed once per race, after the careers
    int serial_ = 0;
    SampleWorld world_;
};

// One output file: counts what it writes into the world and shows every
// record to the observer.
class Generator::FileOut {
public:
    FileOut(Generator& g, const std::filesystem::path& path) : g_(g), path_(path) {
        std::filesystem::create_directories(path.parent_path());
        out_.open(path, std::ios::binary | std::ios::trunc);
        if (!out_) throw std::runtime_error("cannot write " + path.string());
        ++g_.world_.files;
        if (g_.obs_) g_.obs_->onFile(path);
    }
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

}  // namespace veltrix::sample::detail
