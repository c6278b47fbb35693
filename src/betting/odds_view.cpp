#include "betting/odds_view.h"

#include <algorithm>

#include "base/fields.h"
#include "base/format.h"
#include "betting/kaime_list.h"
#include "racecard/race_card.h"

namespace veltrix {

namespace {

bool onSale(int state) { return state == kOddsOnSale || state == kOddsInBetList; }

// An entry shows its odds when it is on sale or listed and has odds: a listed
// bet whose horse was scratched since (odds -1) shows no "-0.1".
bool shown(int state, int odds) { return onSale(state) && odds > 0; }

std::optional<int> horseOfText(const std::string& text) {
    auto v = ParseInteger(text);
    if (!v || !IsHorseNumber(static_cast<int>(*v))) return std::nullopt;
    return static_cast<int>(*v);
}

std::optional<int> axisOf(const RaceCard& card) { return horseOfText(card.OddsUmaban); }

bool isAxisRow(const RaceCard& card, const Sheet& s, RowNo row) {
    return !card.OddsUmaban.empty() && card.OddsUmaban == s.text(row, card::kNo);
}

// The horses on the card, for the third horse of a composite.
std::vector<int> horsesOnCard(const Sheet& s) {
    std::vector<int> horses;
    for (int r = 1; r <= s.rowCount(); ++r)
        if (auto h = HorseOfRow(s, RowNo(r))) horses.push_back(*h);
    return horses;
}

std::string oddsText(int odds) { return FormatNumber(odds / 10.0, "0.0"); }

void putOdds(Sheet& s, RowNo row, ColNo col, int odds) { s.setNumber(row, col, odds / 10.0, oddsText(odds)); }

// White on black, no text.
void plainCell(Sheet& s, RowNo row, ColNo col) {
    s.clearValue(row, col);
    s.setColors(row, col, kWhite, kBlack);
}

// The axis row of a combination column: white on white, no text.
void blankCell(Sheet& s, RowNo row, ColNo col) {
    s.clearValue(row, col);
    s.setColors(row, col, kWhite, kWhite);
}

// One odds cell of the win and place columns: the axis row inverted, a bet of
// the bet list black on orange, no text without odds.
void putSingleCell(Sheet& s, RowNo row, ColNo col, int state, int odds, bool axisRow) {
    if (state == kOddsInBetList)
        s.setColors(row, col, kBlack, kOddsOrange);
    else if (axisRow)
        s.setColors(row, col, kBlack, kWhite);
    else
        s.setColors(row, col, kWhite, kBlack);
    if (shown(state, odds))
        putOdds(s, row, col, odds);
    else
        s.clearValue(row, col);
}

void putRateCell(Sheet& s, RowNo row, ColNo col, double value, bool shown, bool axisRow) {
    s.setColors(row, col, axisRow ? kBlack : kWhite, axisRow ? kWhite : kBlack);
    if (shown && value > 0)
        s.setNumber(row, col, value * 100, FormatNumber(value * 100, "0.0"));
    else
        s.clearValue(row, col);
}

// A combination entry and, when the column pair has one, its ratio. A bet of
// the bet list is black on orange; with the filter the ratio's scale colour
// becomes the text (on sale) or the background (in the bet list). A ratio that
// could not be computed (negative) shows nothing and colours nothing.
void putCombination(Sheet& s, RowNo row, ColNo col, std::optional<ColNo> expCol, const OddsEntry& e,
                    double ratio, bool filter) {
    Rgb fore = kWhite, back = kBlack;
    if (e.state == kOddsInBetList) {
        fore = kBlack;
        back = kOddsOrange;
    }
    if (filter && ratio >= 0 && onSale(e.state)) {
        const Rgb heat = GetHeatColor(ratio);
        if (e.state == kOddsOnSale)
            fore = heat;
        else
            back = heat;
    }
    s.setColors(row, col, fore, back);
    if (shown(e.state, e.odds))
        putOdds(s, row, col, e.odds);
    else
        s.clearValue(row, col);
    if (!expCol) return;
    s.setColors(row, *expCol, fore, back);
    if (shown(e.state, e.odds) && ratio >= 0)
        s.setNumber(row, *expCol, ratio, FormatNumber(ratio, "0.00"));
    else
        s.clearValue(row, *expCol);
}

// Composite odds in orange on black; the ratio column stays empty.
void putComposite(Sheet& s, RowNo row, ColNo col, const std::vector<const OddsEntry*>& entries) {
    plainCell(s, row, ColNo(col.value + 1));
    if (auto v = CompositeOdds(entries)) {
        s.setColors(row, col, kOddsOrange, kBlack);
        s.setNumber(row, col, *v / 10.0, FormatNumber(*v / 10.0, "0.0"));
    } else {
        plainCell(s, row, col);
    }
}

std::array<int, 3> ascending(int a, int b, int c) {
    std::array<int, 3> t = {a, b, c};
    std::sort(t.begin(), t.end());
    return t;
}

const OddsEntry& trio(const OddsTables& o, int a, int b, int c) {
    auto t = ascending(a, b, c);
    return o.SanrenpukuOdds(t[0], t[1], t[2]);
}

// Walks the rows of sheet 3 with their horse numbers: draw(row, h, axisRow).
// Stops at the first row without a horse number.
template <class Draw>
void eachRow(RaceCard& card, Draw draw) {
    Sheet& s = card.sheet(kSheetOdds);
    SheetUpdate batch(s);
    for (int r = 1; r <= s.rowCount(); ++r) {
        const RowNo row(r);
        auto h = HorseOfRow(s, row);
        if (!h) return;
        draw(s, row, *h, isAxisRow(card, s, row));
    }
}

std::string twoDigits(int h) { return (h < 10 ? "0" : "") + std::to_string(h); }

template <size_t N>
std::string kumibanOf(const std::array<int, N>& horses) {
    std::string k;
    for (int h : horses) k += twoDigits(h);
    return k;
}

}  // namespace

void OddsView::clearSelection() {
    for (auto& s : SecondUma) s.clear();
    SanrentanColumn = 0;
}

std::optional<int> SecondUmaIndex(ColNo col) {
    if (col == sheet3::kSanrenpuku) return 0;
    for (size_t i = 0; i < kSanrentanColumns.size(); ++i)
        if (kSanrentanColumns[i] == col) return static_cast<int>(i) + 1;
    return std::nullopt;
}

std::array<int, 3> SanrentanOrder(ColNo col, int a, int p, int f) {
    switch (col.value) {
        case 35:
            return {a, p, f};
        case 37:
            return {a, f, p};
        case 39:
            return {p, a, f};
        case 41:
            return {f, a, p};
        case 43:
            return {p, f, a};
        default:
            return {f, p, a};  // 45
    }
}

std::optional<double> CompositeOdds(const std::vector<const OddsEntry*>& entries) {
    // 1 / sum(1 / odds) directly: the same value as the product of all the odds
    // divided by the sum of the product over each, without a product that
    // overflows for 16 long shots.
    double sum = 0;
    for (const OddsEntry* e : entries)
        if (onSale(e->state) && e->odds > 0) sum += 1.0 / e->odds;
    if (sum <= 0) return std::nullopt;
    return 1.0 / sum;
}

// ---- filling ----

void PutTansyoOdds(RaceCard& card, const OddsTables& o) {
    SheetUpdate b1(card.sheet(kSheetSyuso)), b2(card.sheet(kSheetKeibajo));
    eachRow(card, [&](Sheet& s, RowNo row, int h, bool axis) {
        const OddsEntry& e = o.TansyoOdds(h);
        putSingleCell(s, row, sheet3::kTansyo, e.state, e.odds, axis);
        putRateCell(s, row, sheet3::kTansyoRitsu, o.TansyoShijiritsu(h), onSale(e.state), axis);
        putRateCell(s, row, sheet3::kUmarenRitsu, o.UmarenShijiritsu(h), true, axis);
        // The three sheets keep the same row order.
        for (Sheet& any : card.sheets) any.setStrikeOut(row, card::kName, e.state == kOddsCancelled);
    });
}

void PutFukusyoOdds(RaceCard& card, const OddsTables& o) {
    eachRow(card, [&](Sheet& s, RowNo row, int h, bool axis) {
        const RangeOddsEntry& e = o.FukusyoOdds(h);
        putSingleCell(s, row, sheet3::kFukusyoLo, e.lowState, e.lowOdds, axis);
        putSingleCell(s, row, sheet3::kFukusyoHi, e.highState, e.highOdds, axis);
    });
}

void PutUmarenOdds(RaceCard& card, const OddsTables& o, const OddsView& view) {
    auto a = axisOf(card);
    if (!a) return;
    eachRow(card, [&](Sheet& s, RowNo row, int h, bool axis) {
        if (axis || h == *a) {
            blankCell(s, row, sheet3::kUmaren);
            blankCell(s, row, sheet3::kUmarenExp);
            return;
        }
        const int i = std::min(*a, h), j = std::max(*a, h);
        putCombination(s, row, sheet3::kUmaren, sheet3::kUmarenExp, o.UmarenOdds(i, j), o.UmarenKairi(i, j),
                       view.OddsFilter);
    });
}

void PutUmatanOdds(RaceCard& card, const OddsTables& o, const OddsView& view) {
    auto a = axisOf(card);
    if (!a) return;
    eachRow(card, [&](Sheet& s, RowNo row, int h, bool axis) {
        if (axis || h == *a) {
            for (int c = sheet3::kUmatan1.value; c <= sheet3::kUmatan2Exp.value; ++c)
                blankCell(s, row, ColNo(c));
            return;
        }
        putCombination(s, row, sheet3::kUmatan1, sheet3::kUmatan1Exp, o.UmatanOdds(*a, h),
                       o.UmatanKairi(*a, h), view.OddsFilter);
        putCombination(s, row, sheet3::kUmatan2, sheet3::kUmatan2Exp, o.UmatanOdds(h, *a),
                       o.UmatanKairi(h, *a), view.OddsFilter);
    });
}

void PutWideOdds(RaceCard& card, const OddsTables& o) {
    auto a = axisOf(card);
    if (!a) return;
    eachRow(card, [&](Sheet& s, RowNo row, int h, bool axis) {
        if (axis || h == *a) {
            blankCell(s, row, sheet3::kWideLo);
            blankCell(s, row, sheet3::kWideHi);
            return;
        }
        const RangeOddsEntry& e = o.WideOdds(std::min(*a, h), std::max(*a, h));
        putCombination(s, row, sheet3::kWideLo, std::nullopt, {e.lowState, e.lowOdds}, -1, false);
        putCombination(s, row, sheet3::kWideHi, std::nullopt, {e.highState, e.highOdds}, -1, false);
    });
}

void PutSanrenpukuGosei(RaceCard& card, const OddsTables& o) {
    auto a = axisOf(card);
    if (!a) return;
    const std::vector<int> horses = horsesOnCard(card.sheet(kSheetOdds));
    std::vector<const OddsEntry*> entries;
    eachRow(card, [&](Sheet& s, RowNo row, int h, bool axis) {
        if (axis || h == *a) {
            blankCell(s, row, sheet3::kSanrenpuku);
            blankCell(s, row, sheet3::kSanrenpukuExp);
            return;
        }
        entries.clear();
        for (int x : horses)
            if (x != *a && x != h) entries.push_back(&trio(o, *a, h, x));
        putComposite(s, row, sheet3::kSanrenpuku, entries);
    });
}

void PutSanrenpukuOdds(RaceCard& card, const OddsTables& o, const OddsView& view) {
    auto a = axisOf(card);
    auto second = horseOfText(view.SecondUma[0]);
    if (!a || !second) return;
    eachRow(card, [&](Sheet& s, RowNo row, int h, bool axis) {
        if (axis || h == *a) {
            blankCell(s, row, sheet3::kSanrenpuku);
            blankCell(s, row, sheet3::kSanrenpukuExp);
            return;
        }
        auto t = ascending(*a, *second, h);
        putCombination(s, row, sheet3::kSanrenpuku, sheet3::kSanrenpukuExp,
                       o.SanrenpukuOdds(t[0], t[1], t[2]), o.SanrenpukuKairi(t[0], t[1], t[2]),
                       view.OddsFilter);
    });
}

void PutSanrentanGosei(RaceCard& card, const OddsTables& o, ColNo col) {
    auto a = axisOf(card);
    if (!a || !SecondUmaIndex(col) || col == sheet3::kSanrenpuku) return;
    const std::vector<int> horses = horsesOnCard(card.sheet(kSheetOdds));
    std::vector<const OddsEntry*> entries;
    eachRow(card, [&](Sheet& s, RowNo row, int h, bool axis) {
        if (axis || h == *a) {
            blankCell(s, row, col);
            blankCell(s, row, ColNo(col.value + 1));
            return;
        }
        entries.clear();
        for (int x : horses) {
            if (x == *a || x == h) continue;
            auto t = SanrentanOrder(col, *a, h, x);
            entries.push_back(&o.SanrentanOdds(t[0], t[1], t[2]));
        }
        putComposite(s, row, col, entries);
    });
}

void PutSanrentanOdds(RaceCard& card, const OddsTables& o, const OddsView& view, ColNo col) {
    auto a = axisOf(card);
    auto index = SecondUmaIndex(col);
    if (!a || !index || *index == 0) return;
    auto second = horseOfText(view.SecondUma[static_cast<size_t>(*index)]);
    if (!second) return;
    eachRow(card, [&](Sheet& s, RowNo row, int h, bool axis) {
        const ColNo exp(col.value + 1);
        if (axis || h == *a) {
            blankCell(s, row, col);
            blankCell(s, row, exp);
            return;
        }
        auto t = SanrentanOrder(col, *a, *second, h);
        putCombination(s, row, col, exp, o.SanrentanOdds(t[0], t[1], t[2]),
                       o.SanrentanKairi(t[0], t[1], t[2]), view.OddsFilter);
    });
}

namespace {

void putTrio(RaceCard& card, const OddsTables& o, const OddsView& view) {
    if (view.SecondUma[0].empty())
        PutSanrenpukuGosei(card, o);
    else
        PutSanrenpukuOdds(card, o, view);
}

void putTrifecta(RaceCard& card, const OddsTables& o, const OddsView& view, ColNo col) {
    if (view.SecondUma[static_cast<size_t>(*SecondUmaIndex(col))].empty())
        PutSanrentanGosei(card, o, col);
    else
        PutSanrentanOdds(card, o, view, col);
}

// Win, place, quinella, wide and exacta: the views every redraw of an axis shows.
void putPairs(RaceCard& card, const OddsTables& o, const OddsView& view) {
    PutTansyoOdds(card, o);
    PutFukusyoOdds(card, o);
    PutUmarenOdds(card, o, view);
    PutWideOdds(card, o);
    PutUmatanOdds(card, o, view);
}

}  // namespace

void PutOddsView(RaceCard& card, const OddsTables& o, const OddsView& view) {
    SheetUpdate batch(card.sheet(kSheetOdds));
    putPairs(card, o, view);
    if (!axisOf(card)) return;
    putTrio(card, o, view);
    for (ColNo col : kSanrentanColumns) putTrifecta(card, o, view, col);
}

void ClearOddsView(Sheet& s) {
    SheetUpdate batch(s);
    for (int r = 1; r <= s.rowCount(); ++r)
        for (int c = sheet3::kTansyo.value; c <= sheet3::kLastOdds.value; ++c)
            plainCell(s, RowNo(r), ColNo(c));
}

// ---- clicks ----

bool ClickOddsSheet(RaceCard& card, const OddsTables& o, OddsView& view, const std::string& dataMode,
                    RowNo row, ColNo col) {
    Sheet& s = card.sheet(kSheetOdds);
    if (row.value < 1 || row.value > s.rowCount()) return false;
    if (col.value >= sheet3::kTansyo.value && col.value <= sheet3::kFukusyoHi.value) {
        card.OddsUmaban = s.text(row, card::kNo);
        view.clearSelection();
        if (o.OddsCount > 0) PutOddsView(card, o, view);
        return true;
    }
    auto index = SecondUmaIndex(col);
    if (!index || dataMode != "KONSYU") return false;
    const bool trio = *index == 0;
    if (trio ? o.OddsCount == 0 : o.OddsCount < 6) return false;
    if (!trio) view.SanrentanColumn = col.value;
    std::string& second = view.SecondUma[static_cast<size_t>(*index)];
    if (!isAxisRow(card, s, row) || !s.text(row, col).empty()) {
        if (!s.number(row, col)) return false;
        second = s.text(row, card::kNo);
        if (trio)
            PutSanrenpukuOdds(card, o, view);
        else
            PutSanrentanOdds(card, o, view, col);
        return true;
    }
    second.clear();
    if (trio) {
        SheetUpdate batch(s);
        PutUmarenOdds(card, o, view);
        PutWideOdds(card, o);
        PutUmatanOdds(card, o, view);
        PutSanrenpukuGosei(card, o);
    } else {
        PutSanrentanGosei(card, o, col);
    }
    return true;
}

void SetOddsFilter(RaceCard& card, const OddsTables& o, OddsView& view, bool on) {
    view.OddsFilter = on;
    if (!axisOf(card) || o.OddsCount <= 0) return;
    SheetUpdate batch(card.sheet(kSheetOdds));
    putPairs(card, o, view);
    if (!view.SecondUma[0].empty()) PutSanrenpukuOdds(card, o, view);
    for (ColNo col : kSanrentanColumns)
        if (!view.SecondUma[static_cast<size_t>(*SecondUmaIndex(col))].empty())
            PutSanrentanOdds(card, o, view, col);
}

// ---- the bet a cell shows ----

std::optional<OddsCellBet> OddsCellKaime(const RaceCard& card, const OddsView& view, RowNo row, ColNo col) {
    const Sheet& s = card.sheet(kSheetOdds);
    if (row.value < 1 || row.value > s.rowCount() || s.text(row, col).empty()) return std::nullopt;
    auto h = HorseOfRow(s, row);
    if (!h) return std::nullopt;
    auto single = [&](const char* code, ColNo shown) {
        return OddsCellBet{code, twoDigits(*h), s.text(row, shown)};
    };
    switch (col.value) {
        case 20:
            return single("1", sheet3::kTansyo);
        case 23:
        case 24:
            return single("2", sheet3::kFukusyoLo);
        default:
            break;
    }
    auto a = axisOf(card);
    if (!a || *a == *h) return std::nullopt;
    const std::string shown = s.text(row, col);
    const std::array<int, 2> pair = {std::min(*a, *h), std::max(*a, *h)};
    switch (col.value) {
        case 25:
            return OddsCellBet{"4", kumibanOf(pair), shown};
        case 27:
            return OddsCellBet{"6", kumibanOf(std::array<int, 2>{*a, *h}), shown};
        case 29:
            return OddsCellBet{"6", kumibanOf(std::array<int, 2>{*h, *a}), shown};
        case 31:
        case 32:
            return OddsCellBet{"5", kumibanOf(pair), s.text(row, sheet3::kWideLo)};
        default:
            break;
    }
    auto index = SecondUmaIndex(col);
    if (!index) return std::nullopt;
    auto second = horseOfText(view.SecondUma[static_cast<size_t>(*index)]);
    if (!second) return std::nullopt;
    if (*index == 0) return OddsCellBet{"7", kumibanOf(ascending(*a, *second, *h)), shown};
    return OddsCellBet{"8", kumibanOf(SanrentanOrder(col, *a, *second, *h)), shown};
}

std::string OddsPopupCaption(const RaceCard& card, const OddsTables& o, const OddsView& view, RowNo row,
                             ColNo col) {
    auto bet = OddsCellKaime(card, view, row, col);
    if (!bet) return {};
    auto state = KaimeOddsState(o, bet->ShikibetsuCode, bet->Kumiban);
    std::string caption;
    if (state == kOddsOnSale)
        caption = "買い目リストに追加 -> ";
    else if (state == kOddsInBetList)
        caption = "買い目リストから削除 -> ";
    else
        return {};
    caption += KaimeTypeName(bet->ShikibetsuCode) + " ";
    for (size_t i = 0; i < bet->Kumiban.size(); i += 2) caption += (i ? "-" : "") + bet->Kumiban.substr(i, 2);
    return caption + " ( " + bet->oddsText + " )";
}

// ---- bet states ----

namespace {

// The state a bet of the bet list is kept in; null for an unknown bet.
template <class Tables>
auto* stateOf(Tables& o, const std::string& code, const std::string& kumiban) {
    using State = std::conditional_t<std::is_const_v<Tables>, const int, int>;
    const int n = KaimeHorseCount(code);
    int h[3] = {0, 0, 0};
    for (int i = 1; i <= n; ++i) {
        auto v = KumibanHorse(kumiban, i);
        if (!v) return static_cast<State*>(nullptr);
        h[i - 1] = *v;
    }
    switch (n == 0 ? 0 : code[0]) {
        case '1':
            return &o.TansyoOdds(h[0]).state;
        case '2':
            return &o.FukusyoOdds(h[0]).lowState;
        case '4':
            return &o.UmarenOdds(h[0], h[1]).state;
        case '5':
            return &o.WideOdds(h[0], h[1]).lowState;
        case '6':
            return &o.UmatanOdds(h[0], h[1]).state;
        case '7':
            return &o.SanrenpukuOdds(h[0], h[1], h[2]).state;
        case '8':
            return &o.SanrentanOdds(h[0], h[1], h[2]).state;
        default:
            return static_cast<State*>(nullptr);
    }
}

}  // namespace

std::optional<int> KaimeOddsState(const OddsTables& o, const std::string& code, const std::string& kumiban) {
    const int* state = stateOf(o, code, kumiban);
    if (!state) return std::nullopt;
    return *state;
}

void SetKaimeOddsState(OddsTables& o, const std::string& code, const std::string& kumiban, int state) {
    if (int* s = stateOf(o, code, kumiban)) *s = state;
}

void RedrawOddsViewOfType(RaceCard& card, const OddsTables& o, const OddsView& view,
                          const std::string& code) {
    if (code == "1") PutTansyoOdds(card, o);
    if (code == "2") PutFukusyoOdds(card, o);
    if (code == "4") PutUmarenOdds(card, o, view);
    if (code == "5") PutWideOdds(card, o);
    if (code == "6") PutUmatanOdds(card, o, view);
    if (code == "7" && !view.SecondUma[0].empty()) PutSanrenpukuOdds(card, o, view);
    if (code == "8")
        for (ColNo col : kSanrentanColumns)
            if (!view.SecondUma[static_cast<size_t>(*SecondUmaIndex(col))].empty())
                PutSanrentanOdds(card, o, view, col);
}

}  // namespace veltrix
