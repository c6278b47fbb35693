// People, horses and the week: 72 races with a horse of its own for every
// runner, and how a horse joins a race (number, placing, weights).
#include <algorithm>

#include "sample/sample_generator.h"
#include "sample/sample_names.h"

namespace veltrix::sample::detail {

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

// ---- joining a race -------------------------------------------------------------

namespace {

// The free arrival slot nearest the hint, 0 when the field is full.
int freeSlot(const Race& r, int placeHint) {
    placeHint = std::clamp(placeHint, 1, r.starters);
    for (int d = 0; d <= r.starters; ++d) {
        for (int p : {placeHint - d, placeHint + d}) {
            if (p >= 1 && p <= r.starters && r.placeTaken[static_cast<std::size_t>(p)] == 0) return p;
        }
    }
    return 0;
}

}  // namespace

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
    run.place = freeSlot(r, placeHint);
    r.placeTaken[static_cast<std::size_t>(run.place)] = run.number;
    const Horse& h = horses_[static_cast<std::size_t>(horse)];
    const int age = split(r.date).y - h.birthYear;
    run.weight = standardWeight(age);
    if (h.sex == 2) run.weight -= 20;
    if (r.jump) run.weight = 600 + (h.sex == 2 ? -20 : 0);
    if (r.weightRule == 1) {
        const int kilos = rng_.range(49, 59);  // before the half kilo, in this order
        run.weight = kilos * 10 + (rng_.chance(0.3) ? 5 : 0);
    }
    run.jockey = rng_.range(0, static_cast<int>(jockeys_.size()) - 1);
    const int apprentice = jockeys_[static_cast<std::size_t>(run.jockey)].apprentice;
    if (apprentice >= 1 && apprentice <= 4 && r.weightRule != 1) run.weight -= apprentice * 10;
    if (apprentice == 9 && r.weightRule != 1) run.weight -= 20;
    run.bodyWeight = std::clamp(h.baseWeight + rng_.range(-12, 12), 380, 600);
    run.abnormality = drawAbnormality(r);
    r.numberRun[static_cast<std::size_t>(run.number)] = static_cast<int>(runs_.size());
    r.runs.push_back(static_cast<int>(runs_.size()));
    runs_.push_back(run);
    return static_cast<int>(runs_.size()) - 1;
}

// Now and then a past run ends scratched, excluded, pulled up, disqualified
// or demoted (a jump also remounted); the week's races have not run yet.
int Generator::drawAbnormality(const Race& r) {
    const double a = rng_.unit();
    int abnormality = a < 0.004   ? 1
                      : a < 0.007 ? 2
                      : a < 0.009 ? 3
                      : a < 0.015 ? 4
                      : a < 0.016 ? 5
                      : a < 0.018 ? 7
                                  : 0;
    if (r.jump && abnormality == 0 && rng_.chance(0.02)) abnormality = 6;
    if (r.week) abnormality = 0;
    return abnormality;
}

// newRun, then the run takes its place in the horse's career: first start or
// the body weight's change since the last run.
int Generator::joinRace(int horse, int raceIdx, int placeHint) {
    const int runIdx = newRun(horse, raceIdx, placeHint);
    if (runIdx < 0) return -1;
    Horse& h = horses_[static_cast<std::size_t>(horse)];
    Run& run = runs_[static_cast<std::size_t>(runIdx)];
    run.firstStart = h.runs.empty();
    if (!h.runs.empty())
        run.change = run.bodyWeight - runs_[static_cast<std::size_t>(h.runs.back())].bodyWeight;
    h.runs.push_back(runIdx);
    return runIdx;
}

// ---- the week ---------------------------------------------------------------------

// 72 races, two days at three courses; every runner is a horse of its own.
void Generator::makeWeek() {
    int veterans = opt_.small ? 1 : 3;
    for (int dayIdx = 0; dayIdx < 2; ++dayIdx) {
        const Day date = saturday_ + chr::days(dayIdx);
        for (int ci = 0; ci < 3; ++ci) {
            for (int number = 1; number <= 12; ++number) {
                const Race r = weekRace(date, dayIdx, ci, number);  // a copy: careers add races
                races_.push_back(r);
                const int raceIdx = static_cast<int>(races_.size()) - 1;
                raceIndex_[r.id] = raceIdx;
                weekRaces_.push_back(raceIdx);
                for (int n = 1; n <= r.starters; ++n) addWeekRunner(r, raceIdx, n, veterans);
            }
        }
    }
}

Race Generator::weekRace(Day date, int dayIdx, int courseIndex, int number) const {
    const std::array<int, 3> courses = {6, 9, 7};
    const std::array<int, 3> meetings = {5, 5, 4};
    Race r;
    r.date = date;
    r.course = courses[static_cast<std::size_t>(courseIndex)];
    r.meeting = meetings[static_cast<std::size_t>(courseIndex)];
    r.day = 3 + dayIdx;
    r.number = number;
    r.week = true;
    r.id = raceId(date, r.course, r.meeting, r.day, number);
    r.seed = MixSeed(opt_.seed, HashText(r.id));
    shapeRace(r, courseIndex);
    // A named jump special on race 8 at the first course each day.
    if (number == 8 && courseIndex == 0) {
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
    return r;
}

// A new horse of an age the race admits, with its career up to the week; the
// first horse of a few last races is a veteran of a long local career.
void Generator::addWeekRunner(const Race& r, int raceIdx, int number, int& veterans) {
    int age = r.type == 11 ? 2 : r.type == 12 ? 3 : rng_.range(3, 7);
    if (r.type == 14 || r.type == 19) age = std::max(age, 4);
    if (r.jump) age = rng_.range(4, 8);
    const bool veteran = veterans > 0 && r.type == 13 && r.number == 12 && number == 1;
    if (veteran) age = 9;
    const int horse = newHorse(age, rng_.chance(0.45) ? 2 : (age >= 4 && rng_.chance(0.1) ? 3 : 1));
    Horse& h = horses_[static_cast<std::size_t>(horse)];
    h.jumper = r.jump;
    h.veteran = veteran;
    if (veteran) --veterans;
    h.local = !veteran && age >= 4 && rng_.chance(0.06);
    if (r.cond != 701) makeCareer(horse);
    joinRace(horse, raceIdx, 1 + (100 - h.ability) * r.starters / 101);
}

}  // namespace veltrix::sample::detail
