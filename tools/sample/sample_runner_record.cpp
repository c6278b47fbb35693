// A runner's record: who runs (a horse of the world, or a filler for a
// horse number no career took), and after the race how it ran.
#include <algorithm>
#include <cmath>

#include "sample/sample_generator.h"
#include "sample/sample_names.h"

namespace veltrix::sample::detail {

namespace {

// The frame of a horse number: one horse a frame up to eight, then the
// outer frames take the extra horses.
int frameOf(int starters, int number) {
    if (starters <= 8) return number;
    const std::array<int, 9> sizes = frameSizes(starters);
    int last = 0;
    for (int f = 1; f <= 8; ++f) {
        last += sizes[static_cast<std::size_t>(f)];
        if (number <= last) return f;
    }
    return number;
}

std::string marginCode(int tenths) {
    if (tenths <= 0) return "H  ";  // no dead heats are generated
    static const std::array<const char*, 10> codes = {"H  ", "A  ", "K  ", " 12", " 34",
                                                      "1  ", "112", "2  ", "212", "3  "};
    if (tenths > 20) return "T  ";
    if (tenths >= 10) return "Z  ";
    return codes[static_cast<std::size_t>(tenths)];
}

// The data-mining forecast delivered with the results of a central race.
void setMiningForecast(const Race& r, const Lineup& l, int number, SeRecord& se) {
    Rng rng = Rng::keyed(MixSeed(r.seed, static_cast<std::uint64_t>(number) + 101u));
    se.miningCategory = "3";
    const int slower = rng.range(0, 20);  // two draws in a fixed order
    const int tenths = rng.range(0, 9);
    const int predicted = (l.winnerTime + slower) * 10 + tenths;
    se.miningTime = Num(predicted / 6000, 1) + Num(predicted % 6000, 4);
    se.miningErrorPlus = Num(rng.range(20, 120), 4);
    se.miningErrorMinus = Num(rng.range(20, 120), 4);
    se.miningRank =
        Num(std::min(18, std::max(1, l.popularity[static_cast<std::size_t>(number)] + rng.range(-2, 2))), 2);
}

}  // namespace

SeRecord Generator::buildSe(const Race& r, const Lineup& l, int number, const std::string& category,
                            bool results) {
    SeRecord se = BlankSE();
    se.dataCategory = category;
    se.creationDate = ymdText(creationDay(r, results));
    setRaceKey(se, r);
    se.frameNumber = std::to_string(frameOf(r.starters, number));
    se.horseNumber = Num(number, 2);
    const int runIdx = r.numberRun[static_cast<std::size_t>(number)];
    const Run* run = runIdx >= 0 ? &runs_[static_cast<std::size_t>(runIdx)] : nullptr;
    if (run) {
        seRunner(r, *run, results, se);
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
    if (results) seResults(r, l, number, run, se);
    return se;
}

// A horse of the world with its people; after the race its body weight.
void Generator::seRunner(const Race& r, const Run& run, bool results, SeRecord& se) const {
    const Horse& h = horses_[static_cast<std::size_t>(run.horse)];
    se.umaCode = h.umaCode;
    se.horseName = PadFull(h.name, 36);
    se.horseSymbol = Num(h.symbol, 2);
    se.sexCode = std::to_string(h.sex);
    se.coatColour = Num(h.coat, 2);
    se.age = Num(split(r.date).y - h.birthYear, 2);
    const Person& t = trainers_[static_cast<std::size_t>(h.trainer)];
    se.eastWest = std::to_string(r.local ? 3 : h.eastWest);
    se.trainerCode = t.code;
    se.trainerName = PadFull(t.name, 8);
    const Owner& o = owners_[static_cast<std::size_t>(h.owner)];
    se.ownerCode = o.code;
    se.ownerName = PadFull(o.name, 64);
    se.colours = PadFull(o.colours, 60);
    se.weightCarried = Num(run.weight, 3);
    const Person& j = jockeys_[static_cast<std::size_t>(run.jockey)];
    se.jockeyCode = j.code;
    se.jockeyName = PadFull(j.name, 8);
    se.apprentice = std::to_string(j.apprentice);
    if (!results) return;
    se.bodyWeight = run.abnormality == 1 ? "000" : Num(run.bodyWeight, 3);
    if (run.firstStart) {
        se.weightSign = " ";
        se.weightChange = "   ";
    } else {
        se.weightSign = run.change > 0 ? "+" : run.change < 0 ? "-" : " ";
        se.weightChange = Num(std::min(999, std::abs(run.change)), 3);
    }
}

// A horse number no career took: an invented horse with people of the world,
// the same for the same race and number.
void Generator::fillerIdentity(const Race& r, int number, SeRecord& se) const {
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
    int weight = standardWeight(age);
    if (se.sexCode == "2") weight -= 20;
    if (r.jump) weight = 600;
    se.weightCarried = Num(weight, 3);
    se.bodyWeight = Num(rng.range(420, 530), 3);
    const int change = rng.range(-8, 8);
    se.weightSign = change > 0 ? "+" : change < 0 ? "-" : " ";
    se.weightChange = Num(std::abs(change), 3);
}

// The result: abnormality, odds and popularity, the finish or its absence,
// and for central races the forecast.
void Generator::seResults(const Race& r, const Lineup& l, int number, const Run* run, SeRecord& se) const {
    const int abn = run ? (number == scratchedHorse(r) ? 1 : run->abnormality) : 0;
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
        seFinish(r, l, number, abn, se);
    } else {
        se.last3F = abn == 4 ? "999" : "000";
        se.timeDifference = abn == 4 ? "9999" : "0000";
    }
    if (!r.local) setMiningForecast(r, l, number, se);
}

// Placing (a disqualification or demotion moves it back), time, margin, corners, last three
// furlongs, prize and the horse it beat or lost to.
void Generator::seFinish(const Race& r, const Lineup& l, int number, int abn, SeRecord& se) const {
    const int n = r.starters;
    const int place = l.place[static_cast<std::size_t>(number)];
    se.arrivalOrder = Num(place, 2);
    int final = place;
    if (abn == 5) final = r.starters;
    if (abn == 7) final = std::min(r.starters, place + 2);
    se.finalPlacing = Num(final, 2);
    const int gap = l.gap[static_cast<std::size_t>(place)];
    se.raceTime = timeText(l.winnerTime + gap + (abn == 6 ? 40 : 0));
    if (place > 1) se.margin = marginCode(gap - l.gap[static_cast<std::size_t>(place - 1)]);
    const int corner1 = firstCorner(r);
    for (int c = corner1; c < 4; ++c)
        se.cornerPositions[static_cast<std::size_t>(c)] =
            Num(l.corner[static_cast<std::size_t>(number)][static_cast<std::size_t>(c)], 2);
    const int base = r.jump ? 130 : 345 + static_cast<int>(r.seed % 30);
    se.last3F = Num(base + place / 2 + static_cast<int>(HashText(se.umaCode + r.id) % 12), 3);
    se.timeDifference = place == 1 ? "-" + Num(l.gap[2], 3) : "+" + Num(std::min(999, gap), 3);
    const int first = l.corner[static_cast<std::size_t>(number)][static_cast<std::size_t>(corner1)];
    se.runningStyle = first == 1 ? "1" : first <= n / 3 ? "2" : first <= 2 * n / 3 ? "3" : "4";
    if (final <= 5) se.prizeMoney = Num(5000 * kPrizeShare[static_cast<std::size_t>(final - 1)] / 100, 8);
    seOpponent(r, l, place, se);
}

// The winner, or the runner-up for the winner.
void Generator::seOpponent(const Race& r, const Lineup& l, int place, SeRecord& se) const {
    const int other = l.byPlace(place == 1 ? 2 : 1);
    if (other <= 0) return;
    SeRecord o = BlankSE();
    const int oRun = r.numberRun[static_cast<std::size_t>(other)];
    if (oRun >= 0) {
        const Horse& oh = horses_[static_cast<std::size_t>(runs_[static_cast<std::size_t>(oRun)].horse)];
        o.umaCode = oh.umaCode;
        o.horseName = PadFull(oh.name, 36);
    } else {
        fillerIdentity(r, other, o);
    }
    se.opponents[0].umaCode = o.umaCode;
    se.opponents[0].name = o.horseName;
}

}  // namespace veltrix::sample::detail
