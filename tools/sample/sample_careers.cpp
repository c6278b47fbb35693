// Past runs: every horse's career up to the week, and the stored files that
// deliver the careers of the week's runners and of the registered horses.
#include <algorithm>

#include "sample/sample_generator.h"

namespace veltrix::sample::detail {

namespace {

// The debut falls from June of the second year on, some horses later; no
// career reaches back more than four years (a veteran's a little more).
Day careerStart(const Horse& h, int age, Day saturday, Rng& rng) {
    Day start = Day(chr::year_month_day{chr::year{h.birthYear + 2},
                                        chr::month{static_cast<unsigned>(rng.range(6, 12))},
                                        chr::day{static_cast<unsigned>(rng.range(1, 28))}});
    if (age >= 3 && rng.chance(0.25)) start += chr::days(rng.range(60, 300));
    const Day earliest = saturday - chr::days(h.veteran ? 4 * 365 + 200 : 4 * 365);
    return start < earliest ? earliest : start;
}

// The race numbers a horse of this class may run in, by the race program.
std::vector<int> careerNumbers(const Horse& h, int cls, int runAge) {
    if (h.jumper && runAge >= 4 && cls >= kOne) return {4};
    if (cls == kMaiden) return h.runs.empty() ? std::vector<int>{5, 1, 2, 3} : std::vector<int>{1, 2, 3, 4};
    if (cls == kOne) return {6, 7, 12};
    if (cls == kTwo) return {8, 9};
    if (cls == kThree) return {10};
    return {11};
}

}  // namespace

// Runs from the debut up to the week, every two weeks to two months, moving
// up a class with every win. Local-course starters and veterans run weekdays.
void Generator::makeCareer(int horseIdx) {
    Horse& h = horses_[static_cast<std::size_t>(horseIdx)];
    Rng rng(MixSeed(opt_.seed, HashText(h.umaCode)));
    const int weekYear = split(saturday_).y;
    const int age = weekYear - h.birthYear;
    if (age <= 2 && rng.chance(0.45)) return;  // newcomer
    const Day last = saturday_ - chr::days(7);
    int cls = kMaiden;
    Day date = careerStart(h, age, saturday_, rng);
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
            raceIdx = careerRace(h, date, cls, runAge, rng);
        }
        const int dateKey = static_cast<int>(date.time_since_epoch().count());
        if (raceIdx >= 0 && usedDates.insert(dateKey).second) {
            const Race& r = races_[static_cast<std::size_t>(raceIdx)];
            const int hint = 1 + static_cast<int>((100 - h.ability) * r.starters / 100.0 + rng.range(-3, 3));
            const int runIdx = joinRace(horseIdx, raceIdx, hint);
            if (runIdx >= 0) {
                const Run& run = runs_[static_cast<std::size_t>(runIdx)];
                if (run.place == 1 && run.abnormality == 0 && !r.local)
                    cls = std::min(cls + 1, static_cast<int>(kOpen));
            }
        }
        date += chr::days(h.veteran ? rng.range(7, 9)
                          : local   ? rng.range(10, 30)
                                    : rng.range(minGap, maxGap));
    }
}

// A race of the horse's class on a race day with a free horse number, -1 when
// six tries at random courses find none.
int Generator::careerRace(const Horse& h, Day date, int cls, int runAge, Rng& rng) {
    const auto courses = coursesOfMonth(split(date).m);
    std::vector<int> numbers = careerNumbers(h, cls, runAge);
    rng.shuffle(numbers);
    for (int attempt = 0; attempt < 6; ++attempt) {
        const int ci = rng.range(0, 2);
        for (int number : numbers) {
            if (number == 4 && ci != 0 && h.jumper) continue;
            const int idx = pastRace(date, courses[static_cast<std::size_t>(ci)], number, ci);
            const Race& r = races_[static_cast<std::size_t>(idx)];
            if (r.jump != (h.jumper && number == 4) || !ageFits(r, runAge)) continue;
            if (r.number == 5 && !h.runs.empty()) continue;
            if (std::find(r.numberRun.begin() + 1, r.numberRun.end(), -1) == r.numberRun.end()) continue;
            return idx;
        }
    }
    return -1;
}

// ---- stored careers -----------------------------------------------------------------

// RCOV on the Thursday evening for the week's runners, TCOV on the Monday for
// the registered horses.
void Generator::writeCoverage() {
    std::vector<int> weekHorses, tokuHorses;
    std::set<int> inToku;
    for (std::size_t h = 0; h < horses_.size(); ++h)
        if (!horses_[h].tokuOnly) weekHorses.push_back(static_cast<int>(h));
    for (int raceIdx : tokuRaces_)
        for (int h : tokuHorses_[raceIdx])
            if (inToku.insert(h).second) tokuHorses.push_back(h);
    writeHistoryFiles("RCOV", weekHorses, saturday_ - chr::days(2), 20);
    writeHistoryFiles("TCOV", tokuHorses, saturday_ - chr::days(5), 14);
}

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
            if (races_[static_cast<std::size_t>(run.race)].week) continue;
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
    auto pastSe = [&](const Run& run) {
        const Race& r = races_[static_cast<std::size_t>(run.race)];
        return buildSe(r, lineup(r), run.number, r.local ? "A" : "7", true);
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
            SeRecord se = pastSe(run);
            f.put(se);
            if (run.bothCategories) {
                se.dataCategory = races_[static_cast<std::size_t>(run.race)].local ? "7" : "A";
                f.put(se);
            }
            if (run.twoFiles) again.push_back(runList[k]);
        }
    }
    if (!again.empty()) {
        FileOut f(*this, path("SE", 99));
        for (int runIdx : again) f.put(pastSe(runs_[static_cast<std::size_t>(runIdx)]));
    }
}

}  // namespace veltrix::sample::detail
