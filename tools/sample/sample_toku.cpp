// Special registrations: who registers for the week's named races, and the
// stored TOKU files that announce them.
#include <algorithm>

#include "sample/sample_generator.h"

namespace veltrix::sample::detail {

// The runners of the named races of the week plus horses that registered
// and did not get in; two races draw over a hundred.
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

namespace {

// A registration names its race as the racecard does.
void copyRaceFields(const RaRecord& ra, TkRecord& tk) {
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
}

}  // namespace

// Saturday's registrations before the handicap weights (category 1, Sunday a
// week ahead), Sunday's after them (category 2, the Monday).
void Generator::writeToku() {
    const Day sat = saturday_;
    for (int cat = 1; cat <= 2; ++cat) {
        const Day day = sat - chr::days(cat == 1 ? 6 : 5);
        FileOut f(*this, folder_ / "stored" / "TOKU" /
                             (stamp(day, 14, 0, 0) + "_TK" + (cat == 1 ? "T" : "H") + "W" +
                              ymdText(sat + chr::days(cat - 1)) + ".txt"));
        for (int raceIdx : tokuRaces_) {
            const Race& r = races_[static_cast<std::size_t>(raceIdx)];
            if ((r.date == sat) != (cat == 1)) continue;
            const TkRecord tk = buildTk(r, raceIdx, cat, day);
            const auto& reg = tokuHorses_[raceIdx];
            for (std::size_t i = 0; i < std::min(reg.size(), kTkHorseBlocks); ++i)
                world_.tokuEntries.push_back({r.id, tk.horses[i].sequence, static_cast<std::size_t>(reg[i])});
            f.put(tk);
        }
    }
}

TkRecord Generator::buildTk(const Race& r, int raceIdx, int cat, Day day) {
    TkRecord tk = BlankTK();
    tk.dataCategory = std::to_string(cat);
    tk.creationDate = ymdText(day);
    copyRaceFields(buildRa(r, "2", false), tk);
    const bool handicapPending = cat == 1 && r.weightRule == 1;
    tk.handicapDate = r.weightRule == 1 && !handicapPending ? ymdText(day) : Zeros(8);
    const auto& reg = tokuHorses_[raceIdx];
    const std::size_t count = std::min(reg.size(), kTkHorseBlocks);
    tk.registeredCount = Num(static_cast<long long>(count), 3);
    for (std::size_t i = 0; i < count; ++i) {
        const Horse& h = horses_[static_cast<std::size_t>(reg[i])];
        const Person& trainer = trainers_[static_cast<std::size_t>(h.trainer)];
        auto& b = tk.horses[i];
        b.sequence = Num(static_cast<long long>(i) + 1, 3);
        b.umaCode = h.umaCode;
        b.horseName = PadFull(h.name, 36);
        b.horseSymbol = Num(h.symbol, 2);
        b.sexCode = std::to_string(h.sex);
        b.eastWest = std::to_string(h.eastWest);
        b.trainerCode = trainer.code;
        b.trainerName = PadFull(trainer.name, 8);
        const int age = split(saturday_).y - h.birthYear;
        b.weightCarried = handicapPending ? "000"
                                          : Num((r.jump     ? 600
                                                 : age == 3 ? 560
                                                            : 580) -
                                                    (h.sex == 2 ? 20 : 0),
                                                3);
        b.exchange = "0";
    }
    return tk;
}

}  // namespace veltrix::sample::detail
