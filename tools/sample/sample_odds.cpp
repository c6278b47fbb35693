// Real-time data of the week: odds of every pool, data-mining forecasts and
// quick results for the races run by now.
#include <algorithm>
#include <memory>

#include "sample/sample_generator.h"

namespace veltrix::sample::detail {

int scratchedHorse(const Race& r) {
    if (!r.week || r.starters < 8) return 0;
    Rng rng = Rng::keyed(r.seed ^ 0x5C5Cu);
    return rng.chance(0.12) ? rng.range(1, r.starters) : 0;
}

// Saturday's races have run; Sunday's are still to come.
bool Generator::runByNow(const Race& r) {
    return std::find(weekRaces_.begin(), weekRaces_.begin() + 36, raceIndex_[r.id]) !=
           weekRaces_.begin() + 36;
}

namespace {

using Pair = std::array<int, 2>;
using Triple = std::array<int, 3>;

// Extends the first `at` numbers of `c` by every number that may follow, in
// ascending order: any not yet in it when `ordered`, else only higher ones.
template <std::size_t K>
void extendCombination(std::array<int, K>& c, std::size_t at, bool ordered,
                       std::vector<std::array<int, K>>& out) {
    if (at == K) {
        out.push_back(c);
        return;
    }
    for (int h = ordered || at == 0 ? 1 : c[at - 1] + 1; h <= 18; ++h) {
        if (std::find(c.begin(), c.begin() + static_cast<std::ptrdiff_t>(at), h) !=
            c.begin() + static_cast<std::ptrdiff_t>(at))
            continue;
        c[at] = h;
        extendCombination(c, at + 1, ordered, out);
    }
}

// The combinations of K horse numbers 1..18 in the order of a pool's slots.
template <std::size_t K>
const std::vector<std::array<int, K>>& combinations(bool ordered) {
    static const std::array<std::vector<std::array<int, K>>, 2> lists = [] {
        std::array<std::vector<std::array<int, K>>, 2> v;
        for (bool o : {false, true}) {
            std::array<int, K> c{};
            extendCombination(c, 0, o, v[o ? 1 : 0]);
        }
        return v;
    }();
    return lists[ordered ? 1 : 0];
}

// Odds text of `width` digits in 0.1 units, capped at the field's top value.
std::string oddsText(double odds, int width, int cap) {
    const long long v =
        std::clamp(static_cast<long long>(odds * 10 + 0.5), 10LL, static_cast<long long>(cap));
    return Num(v, width);
}

// Ranks by ascending odds among entries on sale with votes, by slot.
std::vector<int> rankBySlot(std::vector<std::pair<double, std::size_t>> v, std::size_t slots) {
    std::sort(v.begin(), v.end());
    std::vector<int> out(slots, 0);
    for (std::size_t i = 0; i < v.size(); ++i) out[v[i].second] = static_cast<int>(i) + 1;
    return out;
}

// A combination pool's texts (odds and popularity widths), top odds, share
// paid out and the scale of its votes.
struct Pool {
    int oddsWidth;
    int popWidth;
    long long cap;
    double payout;
    int voteScale;
};

// The odds of one race of the week, every pool derived from win
// probabilities that follow the line-up's odds. A scratched horse's bets are
// cancelled before ("-") or after ("*") the sale.
class RaceOdds {
public:
    RaceOdds(const Race& r, const Lineup& l, bool run) : r_(r), rng_(Rng::keyed(r.seed ^ 0x0DD5u)) {
        n_ = r.starters;
        scratched_ = scratchedHorse(r);
        cancelMark_ = rng_.chance(0.5) ? '-' : '*';
        p_.assign(static_cast<std::size_t>(n_) + 1, 0.0);
        double sum = 0;
        for (int h = 1; h <= n_; ++h) {
            if (h == scratched_) continue;
            p_[static_cast<std::size_t>(h)] = 1.0 / l.odds[static_cast<std::size_t>(h)];
            sum += p_[static_cast<std::size_t>(h)];
        }
        for (auto& x : p_) x /= sum;
        const auto [y, m, d] = split(r.date);
        category_ = run ? "4" : "1";
        announced_ =
            run ? "00000000" : Num(m, 2) + Num(d, 2) + Num(9 + r.number / 2, 2) + Num(rng_.range(0, 59), 2);
    }

    O1Record winPlaceBracket() {
        O1Record o = BlankO1();
        header(o);
        winPlace(o);
        if (n_ >= 9) bracket(o);
        o.winVotes = votes(100);
        o.placeVotes = votes(60);
        o.bracketVotes = n_ >= 9 ? votes(20) : Zeros(11);
        return o;
    }
    std::unique_ptr<O2Record> quinella() {
        return pool(BlankO2, {6, 3, 99999, 0.775, 300}, combinations<2>(false),
                    [&](const Pair& c) { return quinellaP(c); });
    }
    std::unique_ptr<O3Record> wide();
    std::unique_ptr<O4Record> exacta() {
        return pool(BlankO4, {6, 3, 99999, 0.75, 200}, combinations<2>(true),
                    [&](const Pair& c) { return pOrdered2(c[0], c[1]); });
    }
    std::unique_ptr<O5Record> trio() {
        return pool(BlankO5, {6, 3, 99999, 0.75, 500}, combinations<3>(false), [&](const Triple& c) {
            double s = 0;
            const std::array<Triple, 6> perms = {{{c[0], c[1], c[2]},
                                                  {c[0], c[2], c[1]},
                                                  {c[1], c[0], c[2]},
                                                  {c[1], c[2], c[0]},
                                                  {c[2], c[0], c[1]},
                                                  {c[2], c[1], c[0]}}};
            for (const auto& q : perms) s += pOrdered3(q[0], q[1], q[2]);
            return s;
        });
    }
    std::unique_ptr<O6Record> trifecta() {
        return pool(BlankO6, {7, 4, 9999999, 0.725, 900}, combinations<3>(true),
                    [&](const Triple& c) { return pOrdered3(c[0], c[1], c[2]); });
    }

private:
    template <class R>
    void header(R& o) const {
        o.dataCategory = category_;
        o.creationDate = ymdText(r_.date);
        setRaceKey(o, r_);
        o.announced = announced_;
        o.registeredCount = Num(n_, 2);
        o.starterCount = Num(n_ - (scratched_ ? 1 : 0), 2);
    }
    std::string cancelled(int width) const {
        return std::string(static_cast<std::size_t>(width), cancelMark_);
    }
    template <class Combo>
    bool cancelledCombo(const Combo& c) const {
        return std::find(c.begin(), c.end(), scratched_) != c.end();
    }
    std::string votes(int scale) {
        // Drawn in a fixed order: the operands of + are evaluated in none.
        const long long thousands = rng_.range(800, 4000);
        const long long units = rng_.range(0, 999);
        return Num(scale * thousands + units, 11);
    }
    // Pair and triple probabilities from the win probabilities.
    double pOrdered2(int a, int b) const {
        const double pa = p_[static_cast<std::size_t>(a)], pb = p_[static_cast<std::size_t>(b)];
        return pa * pb / std::max(1e-9, 1 - pa);
    }
    double pOrdered3(int a, int b, int c) const {
        const double pa = p_[static_cast<std::size_t>(a)], pb = p_[static_cast<std::size_t>(b)],
                     pc = p_[static_cast<std::size_t>(c)];
        return pa * pb / std::max(1e-9, 1 - pa) * pc / std::max(1e-9, 1 - pa - pb);
    }
    double quinellaP(const Pair& c) const { return pOrdered2(c[0], c[1]) + pOrdered2(c[1], c[0]); }

    void winPlace(O1Record& o);
    void bracket(O1Record& o);
    template <class R, class Combo, class Prob>
    std::unique_ptr<R> pool(R (*blank)(), const Pool& shape, const std::vector<Combo>& combos, Prob&& prob) {
        auto o = std::make_unique<R>(blank());
        header(*o);
        o->sale = "7";
        fill(o->entries, shape, combos, prob);
        o->votes = votes(shape.voteScale);
        return o;
    }
    template <class Entries, class Combo, class Prob>
    void fill(Entries& entries, const Pool& shape, const std::vector<Combo>& combos, Prob&& prob);

    const Race& r_;
    Rng rng_;
    int n_ = 0;
    int scratched_ = 0;
    char cancelMark_ = '-';
    std::vector<double> p_;  // by horse number, summing to 1 over the horses on sale
    std::string category_;
    std::string announced_;
};

void RaceOdds::winPlace(O1Record& o) {
    o.winSale = "7";
    o.placeSale = "7";
    o.bracketSale = n_ >= 9 ? "7" : "0";
    o.placePayKey = n_ >= 8 ? "3" : n_ >= 5 ? "2" : "0";
    std::vector<std::pair<double, std::size_t>> v;
    for (int h = 1; h <= n_; ++h)
        if (h != scratched_)
            v.push_back({1.0 / p_[static_cast<std::size_t>(h)], static_cast<std::size_t>(h)});
    const std::vector<int> ranks = rankBySlot(v, 29);
    for (int h = 1; h <= n_; ++h) {
        auto& w = o.win[static_cast<std::size_t>(h - 1)];
        auto& pl = o.place[static_cast<std::size_t>(h - 1)];
        w.horseNumber = Num(h, 2);
        pl.horseNumber = Num(h, 2);
        if (h == scratched_) {
            w.odds = cancelled(4);
            w.popularity = cancelled(2);
            pl.lowOdds = cancelled(4);
            pl.highOdds = cancelled(4);
            pl.popularity = cancelled(2);
            continue;
        }
        const double odds = 0.8 / p_[static_cast<std::size_t>(h)];
        w.odds = oddsText(odds, 4, 9999);
        w.popularity = Num(ranks[static_cast<std::size_t>(h)], 2);
        const double low = std::max(1.0, odds / 4.0);
        pl.lowOdds = oddsText(low, 4, 9999);
        pl.highOdds = oddsText(low * (1.6 + rng_.unit()), 4, 9999);
        pl.popularity = Num(ranks[static_cast<std::size_t>(h)], 2);
    }
}

// Frame pairs 1-1 ... 8-8; a frame of one horse has no pair of its own.
void RaceOdds::bracket(O1Record& o) {
    const std::array<int, 9> perFrame = frameSizes(n_);
    int slot = 0;
    for (int a = 1; a <= 8; ++a) {
        for (int b = a; b <= 8; ++b, ++slot) {
            auto& e = o.bracket[static_cast<std::size_t>(slot)];
            if (a == b && perFrame[static_cast<std::size_t>(a)] < 2) continue;
            e.combination = std::to_string(a) + std::to_string(b);
            e.odds = oddsText(3.0 + rng_.unit() * 120, 5, 99999);
            e.popularity = Num(rng_.range(1, 36), 2);
        }
    }
}

// Quinella place: a low and a high odds for each pair; only fields of five
// or more sell it.
std::unique_ptr<O3Record> RaceOdds::wide() {
    auto o = std::make_unique<O3Record>(BlankO3());
    header(*o);
    o->sale = n_ >= 5 ? "7" : "0";
    std::vector<std::pair<double, std::size_t>> onSale;
    const std::vector<Pair>& pairs = combinations<2>(false);
    for (std::size_t s = 0; s < pairs.size(); ++s) {
        const auto& c = pairs[s];
        if (c[1] > n_ || o->sale == "0") continue;
        auto& e = o->entries[s];
        e.combination = Num(c[0], 2) + Num(c[1], 2);
        if (cancelledCombo(c)) {
            e.lowOdds = cancelled(5);
            e.highOdds = cancelled(5);
            e.popularity = cancelled(3);
            continue;
        }
        const double low = std::max(1.0, 0.775 / std::max(1e-9, quinellaP(c)) / 3.5);
        e.lowOdds = oddsText(low, 5, 99999);
        e.highOdds = oddsText(low * (1.5 + rng_.unit()), 5, 99999);
        onSale.push_back({low, s});
    }
    const std::vector<int> ranks = rankBySlot(onSale, o->entries.size());
    for (const auto& [odds, s] : onSale) o->entries[s].popularity = Num(ranks[s], 3);
    o->votes = o->sale == "0" ? Zeros(11) : votes(250);
    return o;
}

// Fills a pool's entries slot by slot over all combinations of 1..18 in
// ascending order; slots with a number above the field stay blank. A few
// long shots get no votes: odds zero and the highest popularity on sale.
template <class Entries, class Combo, class Prob>
void RaceOdds::fill(Entries& entries, const Pool& shape, const std::vector<Combo>& combos, Prob&& prob) {
    std::vector<std::pair<double, std::size_t>> onSale;
    std::vector<std::size_t> noVotes;
    std::size_t slot = 0;
    for (const auto& c : combos) {
        auto& e = entries[slot];
        bool inField = true;
        for (int h : c) inField = inField && h <= n_;
        if (inField) {
            std::string comb;
            for (int h : c) comb += Num(h, 2);
            e.combination = comb;
            if (cancelledCombo(c)) {
                e.odds = cancelled(shape.oddsWidth);
                e.popularity = cancelled(shape.popWidth);
            } else {
                const double pr = prob(c);
                if (pr < 0.0004 && rng_.chance(0.08)) {
                    e.odds = Zeros(shape.oddsWidth);
                    noVotes.push_back(slot);
                } else {
                    e.odds = Num(std::clamp(static_cast<long long>(shape.payout / std::max(pr, 1e-9) * 10),
                                            10LL, shape.cap),
                                 shape.oddsWidth);
                    onSale.push_back({std::stod(e.odds), slot});
                }
            }
        }
        ++slot;
    }
    const std::vector<int> ranks = rankBySlot(onSale, entries.size());
    for (const auto& [odds, s] : onSale) entries[s].popularity = Num(ranks[s], shape.popWidth);
    const int highest = static_cast<int>(onSale.size() + noVotes.size());
    for (std::size_t s : noVotes) entries[s].popularity = Num(highest, shape.popWidth);
}

}  // namespace

void Generator::writeOdds(const Race& r) {
    RaceOdds odds(r, lineup(r), runByNow(r));
    FileOut f(*this, folder_ / "realtime" / "0B30" / (r.id + ".txt"));
    f.put(odds.winPlaceBracket());
    f.put(*odds.quinella());
    f.put(*odds.wide());
    f.put(*odds.exacta());
    f.put(*odds.trio());
    f.put(*odds.trifecta());
}

// Forecast times per horse: the evening before for races still to come, the
// morning of the race for those run.
void Generator::writeMining(const Race& r) {
    Rng rng = Rng::keyed(r.seed ^ 0xD11u);
    const Lineup& l = lineup(r);
    DmRecord dm = BlankDM();
    const bool done = runByNow(r);
    dm.dataCategory = done ? "3" : std::to_string(rng.range(1, 2));
    dm.creationDate = ymdText(done ? r.date : r.date - chr::days(1));
    setRaceKey(dm, r);
    if (done) {
        dm.createdTime = Num(9 + r.number / 2, 2) + Num(rng.range(0, 59), 2);
    } else {
        const int hour = rng.range(17, 20);
        const int minute = rng.range(0, 59);
        dm.createdTime = Num(hour, 2) + Num(minute, 2);
    }
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

}  // namespace veltrix::sample::detail
