// How each race ran (its line-up) and its race record: the racecard before
// the race, the results after it.
#include <algorithm>

#include "sample/sample_generator.h"
#include "sample/sample_names.h"

namespace veltrix::sample::detail {

std::string timeText(int tenths) { return Num(tenths / 600, 1) + Num(tenths % 600, 3); }

// ---- lineups --------------------------------------------------------------------

const Lineup& Generator::lineup(const Race& r) {
    auto it = lineups_.find(r.id);
    if (it == lineups_.end()) it = lineups_.emplace(r.id, makeLineup(r)).first;
    return it->second;
}

Lineup Generator::makeLineup(const Race& r) {
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

// ---- race records ----------------------------------------------------------------

namespace {

// A special race's names; graded ones carry a number and an edition.
void setRaceNames(const Race& r, RaRecord& ra, Rng& rng) {
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

// The eligible groups' condition, by the ages the race type admits.
std::array<std::string, 5> conditionCodes(const Race& r) {
    const std::string cc = Num(r.cond, 3);
    const std::string no = "000";
    switch (r.type) {
        case 11:
            return {cc, no, no, no, cc};
        case 12:
            return {no, cc, no, no, cc};
        case 14:
        case 19:
            return {no, no, cc, cc, cc};
        default:
            return {no, cc, cc, cc, cc};
    }
}

// First prize in units of 100 yen by class and grade, shared down to fifth;
// named races add money for the first three.
void setPrizes(const Race& r, RaRecord& ra) {
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
    for (int i = 0; i < 5; ++i)
        ra.prizeMoney[static_cast<std::size_t>(i)] =
            Num(top * kPrizeShare[static_cast<std::size_t>(i)] / 100, 8);
    if (r.named && !r.local) {
        for (int i = 0; i < 3; ++i) ra.addedMoney[static_cast<std::size_t>(i)] = Num(top / (10 * (i + 1)), 8);
    }
}

// Furlong laps summing to the winner's time (the first one short when the
// distance is not whole furlongs), and the first and last three and four.
void setLapTimes(const Race& r, const Lineup& l, RaRecord& ra, Rng& rng) {
    const int furlongs = (r.distance + 199) / 200;
    const int avg = l.winnerTime / furlongs;
    int used = 0;
    for (int i = 0; i < furlongs; ++i) {
        int lap = i == furlongs - 1 ? l.winnerTime - used : avg + rng.range(-6, 6);
        if (i == 0) lap = r.distance % 200 ? avg * (r.distance % 200) / 200 + rng.range(0, 4) : avg + 5;
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

// The order at each corner passed, with the gaps between horses marked.
void setCornerOrders(const Race& r, const Lineup& l, RaRecord& ra, Rng& rng) {
    for (int c = firstCorner(r); c < 4; ++c) {
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
}

}  // namespace

RaRecord Generator::buildRa(const Race& r, const std::string& category, bool results) {
    Rng rng = Rng::keyed(r.seed ^ 0x1234567u);
    RaRecord ra = BlankRA();
    ra.dataCategory = category;
    ra.creationDate = ymdText(creationDay(r, results));
    setRaceKey(ra, r);
    ra.weekdayCode = weekdayCode(r.date);
    if (r.named) setRaceNames(r, ra, rng);
    if (r.local) ra.conditionName = PadFull(LocalClassName(rng), 60);
    ra.gradeCode = std::string(1, r.grade);
    ra.raceTypeCode = Num(r.type, 2);
    ra.raceSymbolCode = r.local
                            ? "000"
                            : std::array<std::string, 5>{"000", "A00", "A03", "020",
                                                         "N00"}[static_cast<std::size_t>(rng.range(0, 4))];
    ra.weightRuleCode = std::to_string(r.weightRule);
    ra.conditionCodes = conditionCodes(r);
    ra.distance = Num(r.distance, 4);
    ra.trackCode = Num(r.track, 2);
    if (!r.local) ra.courseLayout = std::string(1, static_cast<char>('A' + rng.range(0, 2))) + " ";
    setPrizes(r, ra);
    const int minutes = 9 * 60 + 50 + (r.number - 1) * 30 + (r.course % 3) * 5;
    ra.startTime = Num(minutes / 60, 2) + Num(minutes % 60, 2);
    ra.registeredCount = Num(r.starters, 2);
    if (results) raResults(r, ra, rng);
    return ra;
}

// Starters and finishers, weather and going, times and the corners.
void Generator::raResults(const Race& r, RaRecord& ra, Rng& rng) {
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
        setLapTimes(r, l, ra, rng);
    }
    setCornerOrders(r, l, ra, rng);
    if (rng.chance(0.01)) ra.recordUpdate = "2";
}

}  // namespace veltrix::sample::detail
