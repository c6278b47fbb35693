#include "betting/kaime_list.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/fields.h"
#include "base/format.h"
#include "betting/kaime_money.h"
#include "betting/odds_view.h"
#include "racecard/columns.h"
#include "racecard/race_card.h"

namespace veltrix {

namespace {

constexpr std::array<const char*, kaime_col::kColumns> kHeaders = {
    "KEY", "ODDS", "STAKE", "PAYOUT", "式別", "組番", "オッズ", "印", "金額", "比率", "払戻", "回収率"};

constexpr const char* kTotalKey = "TOTAL";
constexpr int kVisibleRows = 20;

struct TypeInfo {
    const char* code;
    const char* name;
    int horses;
};
constexpr std::array<TypeInfo, 7> kTypes = {{{"1", "単勝", 1},
                                             {"2", "複勝", 1},
                                             {"4", "馬連", 2},
                                             {"5", "ワイド", 2},
                                             {"6", "馬単", 2},
                                             {"7", "3連複", 3},
                                             {"8", "3連単", 3}}};

const TypeInfo* typeOf(const std::string& code) {
    for (const TypeInfo& t : kTypes)
        if (code == t.code) return &t;
    return nullptr;
}

// "03-07" from "0307".
std::string displayKumiban(const std::string& kumiban) {
    std::string out;
    for (size_t i = 0; i < kumiban.size(); i += 2) out += (i ? "-" : "") + kumiban.substr(i, 2);
    return out;
}

// The mark of a horse on the race card's first sheet; a blank symbol is no mark.
std::string markOfHorse(const Sheet& syuso, int horse) {
    for (int r = 1; r <= syuso.rowCount(); ++r) {
        if (HorseOfRow(syuso, RowNo(r)) == horse) {
            const std::string& mark = syuso.text(RowNo(r), card::kMark);
            return mark.find_first_not_of(' ') == std::string::npos ? std::string() : mark;
        }
    }
    return {};
}

void paintRow(Sheet& s, RowNo row, bool total) {
    for (int c = kaime_col::kShikibetsu.value; c <= kaime_col::kColumns; ++c)
        s.setColors(row, ColNo(c), std::nullopt, total ? CellColor(kTotalGrey) : std::nullopt);
    s.setColors(row, kaime_col::kKingaku, std::nullopt, kKingakuYellow);
}

void putTotalRow(Sheet& s, RowNo row, const std::string& shownTotal) {
    s.setText(row, kaime_col::kKey, kTotalKey);
    s.setText(row, kaime_col::kKingaku, shownTotal);
    paintRow(s, row, true);
}

using Row = std::vector<Cell>;

Row copyRow(const Sheet& s, RowNo row) {
    Row cells;
    for (int c = 1; c <= s.colCount(); ++c) cells.push_back(s.cell(row, ColNo(c)));
    return cells;
}

// The whole grid replaced by rows, in one batch.
void putRows(Sheet& s, const std::vector<Row>& rows) {
    SheetUpdate batch(s);
    s.setRowCount(static_cast<int>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            s.setCell(RowNo(static_cast<int>(r) + 1), ColNo(static_cast<int>(c) + 1), rows[r][c]);
}

}  // namespace

KaimeList::KaimeList() : fpsKaimeList(0, kaime_col::kColumns) {
    Sheet& s = fpsKaimeList;
    for (int c = 1; c <= kaime_col::kColumns; ++c)
        s.setHeader(ColNo(c), kHeaders[static_cast<size_t>(c - 1)]);
    for (int c = 1; c <= kaime_col::kHaraiValue.value; ++c) s.setColumnHidden(ColNo(c), true);
    for (ColNo c : {kaime_col::kShikibetsu, kaime_col::kKumiban, kaime_col::kMark})
        s.setColumnAlignment(c, CellAlign::Center);
    for (ColNo c : {kaime_col::kOddsText, kaime_col::kKingaku, kaime_col::kHiritsu, kaime_col::kHarai,
                    kaime_col::kKaisyu})
        s.setColumnAlignment(c, CellAlign::Right);
}

std::string KaimeTypeName(const std::string& code) {
    const TypeInfo* t = typeOf(code);
    return t ? t->name : "";
}

int KaimeHorseCount(const std::string& code) {
    const TypeInfo* t = typeOf(code);
    return t ? t->horses : 0;
}

int KaimeBetCount(const KaimeList& list) {
    const int rows = list.fpsKaimeList.rowCount();
    return rows > 0 ? rows - 1 : 0;
}

bool IsTotalRow(const KaimeList& list, RowNo row) {
    const int rows = list.fpsKaimeList.rowCount();
    return rows > 0 && row.value == rows;
}

std::string KaimeRowHeader(const KaimeList& list, RowNo row) {
    return IsTotalRow(list, row) ? "T" : std::to_string(row.value);
}

std::optional<KaimeKey> KaimeRowKey(const KaimeList& list, RowNo row) {
    if (row.value < 1 || row.value > KaimeBetCount(list)) return std::nullopt;
    std::string key;
    for (char c : list.fpsKaimeList.text(row, kaime_col::kKey))
        if (c != ' ' && c != '-') key += c;
    if (key.empty()) return std::nullopt;
    return KaimeKey{key.substr(0, 1), key.substr(1)};
}

void AddKaime(KaimeList& list, const Sheet& syuso, const std::string& code, const std::string& kumiban,
              long long odds, const std::string& kingaku) {
    Sheet& s = list.fpsKaimeList;
    SheetUpdate batch(s);
    const int bets = KaimeBetCount(list);
    const std::string shownTotal = bets > 0 ? s.text(RowNo(s.rowCount()), kaime_col::kKingaku) : FormatYen(0);
    s.setRowCount(bets + 2);
    const RowNo row(bets + 1);
    for (int c = 1; c <= s.colCount(); ++c) s.setCell(row, ColNo(c), Cell{});
    putTotalRow(s, RowNo(bets + 2), shownTotal);

    const std::string key = code + kumiban;
    if (auto v = ParseReal(key))
        s.setNumber(row, kaime_col::kKey, *v, key);
    else
        s.setText(row, kaime_col::kKey, key);
    s.setNumber(row, kaime_col::kOdds, static_cast<double>(odds), std::to_string(odds));
    const long long stake = static_cast<long long>(ReadAmount(kingaku).value_or(0));
    s.setNumber(row, kaime_col::kKingakuValue, static_cast<double>(stake), std::to_string(stake));
    s.setNumber(row, kaime_col::kHaraiValue, 0, "0");
    s.setText(row, kaime_col::kShikibetsu, KaimeTypeName(code));
    s.setText(row, kaime_col::kKumiban, displayKumiban(kumiban));
    const double units = static_cast<double>(odds) / 10;
    s.setNumber(row, kaime_col::kOddsText, units, FormatNumber(units, "#0.0"));
    s.setNumber(row, kaime_col::kKingaku, static_cast<double>(stake), FormatYen(static_cast<double>(stake)));
    s.setNumber(row, kaime_col::kHiritsu, 0, FormatRate(0));
    s.setNumber(row, kaime_col::kHarai, 0, FormatYen(0));
    s.setNumber(row, kaime_col::kKaisyu, 0, FormatRate(0));
    paintRow(s, row, false);
    if (s.rowCount() > kVisibleRows) list.TopRow = s.rowCount() - kVisibleRows;
    PutMarkRow(list, syuso, row);
}

void DeleteKaime(KaimeList& list, const std::string& code, const std::string& kumiban) {
    Sheet& s = list.fpsKaimeList;
    const int bets = KaimeBetCount(list);
    if (bets == 0) return;
    const std::string key = code + kumiban;
    std::vector<Row> kept;
    for (int r = 1; r <= bets; ++r)
        if (s.text(RowNo(r), kaime_col::kKey) != key) kept.push_back(copyRow(s, RowNo(r)));
    if (static_cast<int>(kept.size()) == bets) return;
    if (kept.empty()) {
        CrearForm(list);
        return;
    }
    kept.push_back(copyRow(s, RowNo(s.rowCount())));
    putRows(s, kept);
    list.TopRow = std::clamp(list.TopRow, 1, std::max(1, s.rowCount() - kVisibleRows));
}

void CrearForm(KaimeList& list) {
    list.fpsKaimeList.setRowCount(0);
    list.TopRow = 1;
}

void PutMarkRow(KaimeList& list, const Sheet& syuso, RowNo row) {
    auto key = KaimeRowKey(list, row);
    if (!key) return;
    const int n = KaimeHorseCount(key->ShikibetsuCode);
    const char* joint = key->ShikibetsuCode == "6" || key->ShikibetsuCode == "8" ? "→" : "－";
    std::string marks;
    for (int i = 1; i <= n; ++i) {
        auto h = KumibanHorse(key->Kumiban, i);
        std::string mark = h ? markOfHorse(syuso, *h) : std::string();
        marks += (i > 1 ? joint : "") + (mark.empty() ? std::string("□") : mark);
    }
    list.fpsKaimeList.setText(row, kaime_col::kMark, marks);
}

void PutMark(KaimeList& list, const Sheet& syuso) {
    SheetUpdate batch(list.fpsKaimeList);
    for (int r = 1; r <= KaimeBetCount(list); ++r) PutMarkRow(list, syuso, RowNo(r));
}

void PutOdds(KaimeList& list, OddsTables& odds) {
    Sheet& s = list.fpsKaimeList;
    SheetUpdate batch(s);
    for (int r = 1; r <= KaimeBetCount(list); ++r) {
        const RowNo row(r);
        auto key = KaimeRowKey(list, row);
        if (!key) continue;
        const std::string& code = key->ShikibetsuCode;
        int o = GetOdds(odds, code, key->Kumiban, code == "2" || code == "5" ? "LOW" : "");
        // The bet is still in the list: new odds arrive on sale (state 1).
        SetKaimeOddsState(odds, code, key->Kumiban, kOddsInBetList);
        if (o < 0) o = 0;
        s.setNumber(row, kaime_col::kOdds, o, std::to_string(o));
        s.setNumber(row, kaime_col::kOddsText, o / 10.0, FormatNumber(o / 10.0, "#0.0"));
    }
}

bool SortKaimeList(KaimeList& list, ColNo header) {
    ColNo key;
    bool descending = false;
    switch (header.value) {
        case 5:
        case 6:
            key = kaime_col::kKey;
            break;
        case 7:
            key = kaime_col::kOdds;
            break;
        case 9:
        case 10:
            key = kaime_col::kKingakuValue, descending = true;
            break;
        case 11:
        case 12:
            key = kaime_col::kHaraiValue, descending = true;
            break;
        default:
            return false;
    }
    Sheet& s = list.fpsKaimeList;
    const int bets = KaimeBetCount(list);
    if (bets == 0) return false;
    std::vector<RowNo> order;
    for (int r = 1; r <= bets; ++r) order.push_back(RowNo(r));
    auto value = [&](RowNo r) { return s.number(r, key).value_or(0); };
    std::stable_sort(order.begin(), order.end(), [&](RowNo a, RowNo b) {
        return descending ? value(a) > value(b) : value(a) < value(b);
    });
    order.push_back(RowNo(s.rowCount()));
    return s.applyRowOrder(order);
}

std::string KaimeListPopupCaption(const KaimeList& list, RowNo row) {
    if (row.value < 1 || row.value > KaimeBetCount(list)) return {};
    const Sheet& s = list.fpsKaimeList;
    return "買い目リストから削除 -> " + s.text(row, kaime_col::kShikibetsu) + " " +
           s.text(row, kaime_col::kKumiban) + " ( " + s.text(row, kaime_col::kOddsText) + " )";
}

void RebuildKaimeData(const KaimeList& list, Array1<KaimeRow>& kaimeData) {
    kaimeData.clear();
    kaimeData.resize(kKaimeRows);
    int n = 0;
    for (int r = 1; r <= KaimeBetCount(list) && n < kKaimeRows; ++r) {
        auto key = KaimeRowKey(list, RowNo(r));
        if (!key) continue;
        // Digits only, whatever the cell shows: the bet-list file takes numbers.
        const double stake = ReadAmount(list.fpsKaimeList.text(RowNo(r), kaime_col::kKingaku)).value_or(0);
        kaimeData[++n] = {key->ShikibetsuCode, key->Kumiban, std::to_string(static_cast<long long>(stake))};
    }
}

}  // namespace veltrix
