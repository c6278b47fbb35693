// The stored files: the RACE stream (final results of past weekends, the
// week's racecards and day-before odds), then registrations and careers.
#include "sample/sample_generator.h"

namespace veltrix::sample::detail {

void Generator::writeStored() {
    if (opt_.resultsYears > 0) writeResultsYears();
    for (int dayIdx = 0; dayIdx < 2; ++dayIdx) writeWeekCards(dayIdx);
    writeToku();
    writeCoverage();
}

// An RA file, then an SE file with every horse number, for the races of
// `list`; `kind` tells results ("SW") from racecards ("DW") in the names.
void Generator::writeRaceFiles(Day stampDay, int hour, const std::string& kind, Day raceDay,
                               const std::vector<int>& list, const std::string& category, bool results) {
    auto path = [&](const std::string& rec, int second) {
        return folder_ / "stored" / "RACE" /
               (stamp(stampDay, hour, 0, second) + "_" + rec + kind + ymdText(raceDay) + ".txt");
    };
    {
        FileOut f(*this, path("RA", 0));
        for (int idx : list) f.put(buildRa(races_[static_cast<std::size_t>(idx)], category, results));
    }
    FileOut f(*this, path("SE", 1));
    for (int idx : list) {
        const Race& r = races_[static_cast<std::size_t>(idx)];
        const Lineup& l = lineup(r);
        for (int h = 1; h <= r.starters; ++h) f.put(buildSe(r, l, h, category, results));
    }
}

// Final results of every race day in the chosen years, one RA file and one SE
// file per weekend, stamped the Monday after.
void Generator::writeResultsYears() {
    const Day sat = saturday_;
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
        writeRaceFiles(day + chr::days(2), 16, "SW", day, list, "7", true);
    }
}

// This week's racecards, Saturday's on Friday and Sunday's on Saturday, with
// the day-before win odds in a file of their own.
void Generator::writeWeekCards(int dayIdx) {
    const Day date = saturday_ + chr::days(dayIdx);
    const Day before = date - chr::days(1);
    const std::vector<int> list(weekRaces_.begin() + dayIdx * 36, weekRaces_.begin() + dayIdx * 36 + 36);
    writeRaceFiles(before, 10, "DW", date, list, "2", false);
    for (int idx : list) {
        const Race& r = races_[static_cast<std::size_t>(idx)];
        for (int h = 1; h <= r.starters; ++h) {
            const int runIdx = r.numberRun[static_cast<std::size_t>(h)];
            world_.weekRunners.push_back(
                {r.id, Num(h, 2), static_cast<std::size_t>(runs_[static_cast<std::size_t>(runIdx)].horse)});
        }
    }
    writeDayBeforeOdds(date, list);
}

void Generator::writeDayBeforeOdds(Day date, const std::vector<int>& list) {
    const Day before = date - chr::days(1);
    FileOut f(*this,
              folder_ / "stored" / "RACE" / (stamp(before, 17, 0, 0) + "_O1BW" + ymdText(date) + ".txt"));
    for (int idx : list) {
        const Race& r = races_[static_cast<std::size_t>(idx)];
        O1Record o = BlankO1();
        o.dataCategory = "2";
        o.creationDate = ymdText(before);
        setRaceKey(o, r);
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

}  // namespace veltrix::sample::detail
