#include "jvlink/weekly_import.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "jvlink/records.h"
#include "store/cache_files.h"
#include "base/encoding.h"
#include "base/fields.h"
#include "store/weekly_store.h"

namespace veltrix {

namespace {

constexpr const char* kFromTime = "19860101000000";
constexpr int kWeekOption = 2;
constexpr int kWeekReadMax = 1072;
constexpr int kTokuReadMax = 36;
constexpr int kHistoryReadMax = 50000;
constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";

std::string_view part(std::string_view s, size_t pos, size_t len) {
    return pos < s.size() ? s.substr(pos, len) : std::string_view();
}

// "yyyy/mm/dd" into `out`, reusing its storage.
void putSlashDate(std::string& out, std::string_view year, std::string_view monthDay) {
    out.assign(year).append(1, '/').append(part(monthDay, 0, 2)).append(1, '/').append(part(monthDay, 2, 2));
}

bool inRange(std::string_view code, long long low, long long high) {
    auto n = ParseInteger(code);
    return n && *n >= low && *n <= high;
}

// Thrown by the expansion and sorting loops to take their failure path.
struct Abandoned {};

char categoryOf(std::string_view record) { return record.size() > 2 ? record[2] : '\0'; }

template <class T>
void resetList(WorkList<T>& list, int size, Array1<std::string>* keys = nullptr) {
    list.items.clear();
    list.items.raw().reserve(static_cast<size_t>(size));
    list.size = size;
    list.count = 0;
    if (keys) {
        keys->clear();
        keys->raw().reserve(static_cast<size_t>(size));
    }
}

// Appends beyond the current size by enlarging the list (and its keys) to exactly the new count.
template <class T>
void append(WorkList<T>& list, T item, Array1<std::string>* keys = nullptr, std::string key = {}) {
    const int n = list.count + 1;
    if (n > list.size) list.size = n;
    list.items.push_back(std::move(item));
    if (keys) keys->push_back(std::move(key));
    list.count = n;
}

// Copies from a record, or moves out of one that is handed over.
template <class R>
ImportRace makeRace(R&& ra) {
    ImportRace r;
    r.raceId = ra.raceId();
    r.year = std::forward<R>(ra).year;
    r.monthDay = std::forward<R>(ra).monthDay;
    r.courseCode = std::forward<R>(ra).courseCode;
    r.raceNumber = std::forward<R>(ra).raceNumber;
    r.raceName = std::forward<R>(ra).raceName;
    r.raceTypeCode = std::forward<R>(ra).raceTypeCode;
    r.raceSymbolCode = std::forward<R>(ra).raceSymbolCode;
    r.weightRuleCode = std::forward<R>(ra).weightRuleCode;
    r.conditionCode = std::forward<R>(ra).conditionCodes[4];
    r.distance = std::forward<R>(ra).distance;
    r.trackCode = std::forward<R>(ra).trackCode;
    r.startTime = std::forward<R>(ra).startTime;
    r.registeredCount = std::forward<R>(ra).registeredCount;
    r.starterCount = std::forward<R>(ra).starterCount;
    r.turfGoing = std::forward<R>(ra).turfGoing;
    r.dirtGoing = std::forward<R>(ra).dirtGoing;
    return r;
}

template <class S>
ImportRunner makeRunner(S&& se) {
    ImportRunner u;
    u.raceId = se.raceId();
    u.frameNumber = std::forward<S>(se).frameNumber;
    u.horseNumber = std::forward<S>(se).horseNumber;
    u.umaCode = std::forward<S>(se).umaCode;
    u.horseName = std::forward<S>(se).horseName;
    u.sexCode = std::forward<S>(se).sexCode;
    u.age = std::forward<S>(se).age;
    u.trainerCode = std::forward<S>(se).trainerCode;
    u.trainerName = std::forward<S>(se).trainerName;
    u.weightCarried = std::forward<S>(se).weightCarried;
    u.jockeyCode = std::forward<S>(se).jockeyCode;
    u.jockeyName = std::forward<S>(se).jockeyName;
    u.bodyWeight = std::forward<S>(se).bodyWeight;
    u.weightSign = std::forward<S>(se).weightSign;
    u.weightChange = std::forward<S>(se).weightChange;
    u.abnormality = std::forward<S>(se).abnormality;
    u.arrivalOrder = std::forward<S>(se).arrivalOrder;
    u.finalPlacing = std::forward<S>(se).finalPlacing;
    u.raceTime = std::forward<S>(se).raceTime;
    for (const auto& c : se.cornerPositions) u.corners += c;
    u.winOdds = std::forward<S>(se).winOdds;
    u.popularity = std::forward<S>(se).popularity;
    return u;
}

// Cuts only the fields the import reads, through the record type's own layout:
// a past-run delivery holds tens of thousands of records of which a few dozen
// fields are used. wanted lists fields of out in record order. The record is
// refused, as the full parser refuses it, when its type or length is wrong or a
// wanted field is not valid CP932. Should a layout ever visit fields in another
// order, the full parser takes over.
template <class R, class FullParse>
bool cutWanted(std::string_view record, R& out, std::span<std::string* const> wanted, FullParse fullParse) {
    const RecordType type = RecordTraits<R>::type;
    const size_t full = RecordLength(type);
    std::string_view body = record;
    if (body.size() == full) {
        if (body.substr(full - 2) != "\r\n") return false;
        body.remove_suffix(2);
    } else if (body.size() != full - 2) {
        return false;
    }
    if (body.substr(0, 2) != RecordTypeCode(type)) return false;
    size_t next = 0;
    bool ok = true;
    layout::visit(out, [&](int pos, int len, std::string& field) {
        if (!ok || next >= wanted.size() || &field != wanted[next]) return;
        ++next;
        const size_t from = static_cast<size_t>(pos - 1);
        if (from + static_cast<size_t>(len) > body.size()) {
            ok = false;
            return;
        }
        auto text = Cp932ToUtf8(body.substr(from, static_cast<size_t>(len)));
        if (!text) {
            ok = false;
            return;
        }
        field = std::move(*text);
    });
    if (!ok) return false;
    if (next == wanted.size()) return true;
    auto parsed = fullParse(record);
    if (!parsed) return false;
    out = std::move(*parsed);
    return true;
}

// r is reused from record to record: only the wanted fields are written and read.
std::optional<ImportRace> cutRace(std::string_view record, RaRecord& r) {
    std::string* const wanted[] = {
        &r.year,          &r.monthDay,       &r.courseCode,     &r.meeting,         &r.day,
        &r.raceNumber,    &r.raceName,       &r.raceTypeCode,   &r.raceSymbolCode,  &r.weightRuleCode,
        &r.conditionCodes[4], &r.distance,   &r.trackCode,      &r.startTime,       &r.registeredCount,
        &r.starterCount,  &r.turfGoing,      &r.dirtGoing};
    if (!cutWanted(record, r, wanted, ParseRA)) return std::nullopt;
    return makeRace(std::move(r));
}

std::optional<ImportRunner> cutRunner(std::string_view record, SeRecord& r) {
    std::string* const wanted[] = {
        &r.year,          &r.monthDay,        &r.courseCode,     &r.meeting,       &r.day,
        &r.raceNumber,    &r.frameNumber,     &r.horseNumber,    &r.umaCode,       &r.horseName,
        &r.sexCode,       &r.age,             &r.trainerCode,    &r.trainerName,   &r.weightCarried,
        &r.jockeyCode,    &r.jockeyName,      &r.bodyWeight,     &r.weightSign,    &r.weightChange,
        &r.abnormality,   &r.arrivalOrder,    &r.finalPlacing,   &r.raceTime,      &r.cornerPositions[0],
        &r.cornerPositions[1], &r.cornerPositions[2], &r.cornerPositions[3], &r.winOdds, &r.popularity};
    if (!cutWanted(record, r, wanted, ParseSE)) return std::nullopt;
    return makeRunner(std::move(r));
}

// One turn of a long loop: let the window process its events, then test the cancel flag.
bool cancelled(ImportContext& ctx) {
    ctx.pump.processEvents();
    return ctx.pump.cancelRequested();
}

void zeroCounts(Store& store) {
    store.RaceCount = 0;
    store.UmaCount = 0;
    store.HistoryCount = 0;
}

// What a list-filling handler did with a record. Damaged: of a wanted type and
// category, but it cannot be cut (wrong length, bytes that are not text).
enum class Take { OtherType, Ignored, Damaged, Kept };

// One stored-data session of the weekly import; every kept record advances the bar.
int readSession(WeeklyImportState& state, ImportContext& ctx, const std::string& dataSpec,
                const char* downloadStatus, const char* importStatus, int progressMax,
                const std::function<Take(std::string_view record, RecordType type)>& take) {
    std::optional<Progress> progress;
    auto request = SessionRequest::stored(dataSpec, kFromTime, kWeekOption, downloadStatus);
    request.onReadStart = [&](int) {
        ctx.ui.setStatus(importStatus);
        progress.emplace(ctx.ui, progressMax);
    };
    return RunSession(state.session, ctx.jv, request, ctx.ui, ctx.pump, ctx.clock, [&](std::string_view record) {
        auto type = RecordTypeOf(record);
        Take t = type ? take(record, *type) : Take::OtherType;
        if (t == Take::OtherType) return RecordUse::Unused;
        if (t == Take::Damaged) return RecordUse::Damaged;
        if (t == Take::Kept && progress) progress->step();
        return RecordUse::Used;
    });
}

// Columns 2-16 of a past run: those of its race alone.
constexpr int kFirstRaceColumn = 2;
constexpr int kLastRaceColumn = 16;

// A row's cells by column number; the row is looked up once, not per cell.
class RowCells {
public:
    RowCells(TextTable& t, int row) : cells_(t.row(row)) {}
    std::string& operator()(int col) { return cells_[static_cast<size_t>(col - 1)]; }

private:
    std::span<std::string> cells_;
};

void fillRaceColumns(RowCells cell, const ImportRace& ra) {
    cell(2) = ra.raceId;
    putSlashDate(cell(3), ra.year, ra.monthDay);
    cell(4) = TrimField(ra.raceName);
    cell(5) = SyubetuName(ra.raceTypeCode);
    cell(6) = ra.raceSymbolCode;
    cell(7) = ra.weightRuleCode;
    cell(8) = JyokenName(ra.conditionCode);
    cell(9) = ra.courseCode;
    cell(10) = ra.distance;
    cell(11) = TrackName(ra.trackCode);
    cell(12) = ra.raceTypeCode;
    cell(13) = ra.conditionCode;
    cell(14) = ra.trackCode;
    const std::string& track = cell(11);
    if (track == "芝" || track == "障")
        cell(15) = BabaName(ra.turfGoing);
    else if (track == "ダ")
        cell(15) = BabaName(ra.dirtGoing);
    cell(16) = ra.starterCount;
}

// Columns 1, 17-31 and 43 of a past run whose race columns are filled.
void fillRunnerColumns(RowCells cell, const ImportRunner& se) {
    cell(1) = se.umaCode;
    cell(17) = se.frameNumber;
    cell(18) = se.horseNumber;
    cell(19) = SexName(se.sexCode);
    cell(20) = se.age;
    cell(21) = se.weightCarried;
    cell(22) = TrimField(se.jockeyName);
    cell(23) = se.bodyWeight;
    cell(24).assign(se.weightSign).append(se.weightChange);
    cell(25) = se.abnormality;
    cell(26) = se.arrivalOrder;
    cell(27) = se.finalPlacing;
    cell(28) = se.raceTime;
    cell(29) = se.corners;
    cell(30) = se.winOdds;
    cell(31) = se.popularity;
    // Only runs of a normal finish in flat races at the central courses count.
    // The race's course and track codes are read from the row (columns 9 and
    // 14), which is at hand.
    const std::string& courseCode = cell(9);
    const bool central = courseCode.size() == 2 && inRange(courseCode, 1, 10);
    const bool flat = inRange(cell(14), 10, 26);
    const bool normal = se.abnormality == "0" || se.abnormality == "5" || se.abnormality == "7";
    cell(43) = central && flat && normal ? "ON" : "OUT";
}

// Past runs in ascending HUmaKey order, each joined with its race. A run whose
// race was not delivered fails the whole expansion. A horse delivered twice for
// one race (under both accepted categories) keeps its first row, the one the
// sort of the past runs would keep; the keys move into the store.
bool expandHistory(WeeklyImportState& state, ImportContext& ctx, Progress& progress) {
    ImportLists& lists = state.lists;
    Store& store = ctx.store;
    ctx.ui.setStatus("出走馬履歴情報を展開中...");
    const int count = lists.HUmaList.count;
    store.HistoryInfo.resize(count, kHistoryInfoCols);
    store.HistoryKey.clear();
    store.HistoryKey.resize(count);
    // Several of the week's runners often met in one past race: its columns
    // are worked out for its first row and copied to the others.
    std::vector<int> rowOfRace(static_cast<size_t>(std::max(lists.HRaceKey.size(), 0)) + 1, 0);
    TextTable& t = store.HistoryInfo;
    int n = 0;
    for (int m = 1; m <= count; ++m) {
        if (cancelled(ctx)) return false;
        progress.step();
        if (n > 0 && lists.HUmaKey[m] == store.HistoryKey[n]) continue;
        const ImportRunner& se = lists.HUmaList.items[lists.HUmaIndex[m]];
        // The race id is the key's tail: the key is at hand, the run's own copy is not.
        const std::string_view raceId = std::string_view(lists.HUmaKey[m]).substr(se.umaCode.size());
        const int pos = SearchHRaceIndex(lists, raceId, 1, lists.HRaceList.count);
        if (pos < 0) return false;
        ++n;
        if (const int earlier = rowOfRace[static_cast<size_t>(pos)]) {
            RowCells from(t, earlier), to(t, n);
            for (int c = kFirstRaceColumn; c <= kLastRaceColumn; ++c) to(c) = from(c);
        } else {
            fillRaceColumns(RowCells(t, n), lists.HRaceList.items[lists.HRaceIndex[pos]]);
            rowOfRace[static_cast<size_t>(pos)] = n;
        }
        fillRunnerColumns(RowCells(t, n), se);
        // The umaCode and race id of columns 1 and 2.
        store.HistoryKey[n] = std::move(lists.HUmaKey[m]);
    }
    t.resizeRows(n);
    store.HistoryKey.resize(n);
    store.HistoryCount = n;
    return true;
}

void fillRaceRow(Store& store, int r, const std::string& raceId, const std::string& registered,
                 const std::string& raceType, const std::string& condition, const std::string& track,
                 std::string label) {
    store.RaceInfo.at(r, 1) = raceId;
    store.RaceInfo.at(r, 2) = registered;
    store.RaceInfo.at(r, 3) = raceType;
    store.RaceInfo.at(r, 4) = condition;
    store.RaceInfo.at(r, 5) = track;
    store.RaceIdList[r] = raceId;
    store.RaceLabel[r] = std::move(label);
}

void sizeRaces(Store& store, int count) {
    store.RaceCount = count;
    store.RaceInfo.resize(count, kRaceInfoCols);
    store.RaceLabel.clear();
    store.RaceLabel.resize(count);
    store.RaceIdList.clear();
    store.RaceIdList.resize(count);
}

void sizeRunners(Store& store, int count) {
    store.UmaCount = count;
    store.UmaInfo.resize(count, kUmaInfoCols);
    store.UmaKey.clear();
    store.UmaKey.resize(count);
}

}  // namespace

// ---- records into list entries ----------------------------------------------

ImportRace ToImportRace(const RaRecord& ra) { return makeRace(ra); }

ImportRunner ToImportRunner(const SeRecord& se) { return makeRunner(se); }

ImportToku ToImportToku(const TkRecord& tk) {
    ImportToku t;
    t.raceId = tk.raceId();
    t.year = tk.year;
    t.monthDay = tk.monthDay;
    t.courseCode = tk.courseCode;
    t.raceNumber = tk.raceNumber;
    t.raceName = tk.raceName;
    t.raceTypeCode = tk.raceTypeCode;
    t.conditionCode = tk.youngestCondition();
    t.distance = tk.distance;
    t.trackCode = tk.trackCode;
    t.registeredCount = tk.registeredCount;
    for (const TkHorse& h : RegisteredHorses(tk))
        t.horses.push_back({h.sequence, h.umaCode, h.horseName, h.sexCode, h.trainerCode, h.trainerName,
                            h.weightCarried});
    return t;
}

// ---- name tables -------------------------------------------------------------

std::string_view TrackName(std::string_view trackCode) {
    auto n = ParseInteger(trackCode);
    if (!n) return {};
    if (*n >= 10 && *n <= 22) return "芝";
    if (*n >= 23 && *n <= 26) return "ダ";
    if (*n >= 51 && *n <= 59) return "障";
    return {};
}

std::string_view BabaName(std::string_view goingCode) {
    if (goingCode == "1") return "良";
    if (goingCode == "2") return "稍";
    if (goingCode == "3") return "重";
    if (goingCode == "4") return "不";
    return {};
}

std::string_view SyubetuName(std::string_view raceType) {
    if (raceType == "11") return "サラ２歳";
    if (raceType == "12") return "サラ３歳";
    if (raceType == "13") return "サラ３歳以上";
    if (raceType == "14") return "サラ４歳以上";
    if (raceType == "18") return "サラ障害３歳以上";
    if (raceType == "19") return "サラ障害４歳以上";
    return {};
}

std::string_view JyokenName(std::string_view condition) {
    static constexpr std::pair<std::string_view, std::string_view> names[] = {
        {"004", "400万"},  {"005", "500万"},  {"008", "800万"},  {"009", "900万"},
        {"010", "1000万"}, {"014", "1400万"}, {"015", "1500万"}, {"016", "1600万"},
        {"701", "新馬"},   {"702", "未出走"}, {"703", "未勝利"}, {"999", "オープン"}};
    for (const auto& [code, name] : names)
        if (code == condition) return name;
    return {};
}

std::string_view SexName(std::string_view sexCode) {
    if (sexCode == "1") return "牡";
    if (sexCode == "2") return "牝";
    if (sexCode == "3") return "ｾﾝ";
    return {};
}

std::string_view TrimField(std::string_view text) {
    // Fixed-width text fields are padded with many blanks: the ideographic
    // space is compared byte by byte rather than through a substring.
    auto ideographicSpaceAt = [&](size_t pos) {
        return pos + 3 <= text.size() && text[pos] == kIdeographicSpace[0] && text[pos + 1] == kIdeographicSpace[1] &&
               text[pos + 2] == kIdeographicSpace[2];
    };
    size_t begin = 0;
    while (begin < text.size()) {
        if (text[begin] == ' ') {
            ++begin;
        } else if (ideographicSpaceAt(begin)) {
            begin += 3;
        } else {
            break;
        }
    }
    size_t end = text.size();
    while (end > begin) {
        if (text[end - 1] == ' ') {
            --end;
        } else if (end - begin >= 3 && ideographicSpaceAt(end - 3)) {
            end -= 3;
        } else {
            break;
        }
    }
    return text.substr(begin, end - begin);
}

std::string BuildRaceLabel(const ImportRace& race, bool withStartTime) {
    std::string label;
    putSlashDate(label, race.year, race.monthDay);
    label += " " + CourseName(race.courseCode);
    label += " " + race.raceNumber + "R";
    if (withStartTime)
        label.append(" ").append(part(race.startTime, 0, 2)).append(":").append(part(race.startTime, 2, 2));
    label.append(" ").append(TrackName(race.trackCode)).append(race.distance);
    std::string name(TrimField(race.raceName));
    if (name.empty()) name.append(SyubetuName(race.raceTypeCode)).append(" ").append(JyokenName(race.conditionCode));
    label += " " + name;
    label += std::string(80, ' ');
    label += race.raceId;
    return label;
}

// ---- sessions ----------------------------------------------------------------

int ImportRaceInfo(WeeklyImportState& state, ImportContext& ctx) {
    ImportLists& lists = state.lists;
    resetList(lists.WeekRaceList, kWeekRaceListSize);
    resetList(lists.WeekUmaList, kWeekUmaListSize);
    RaRecord raScratch;
    SeRecord seScratch;
    return readSession(state, ctx, "RACE", "レース情報をダウンロード中...", "レース情報をインポート中...",
                       kWeekReadMax, [&](std::string_view record, RecordType type) {
                           if (type != RecordType::RA && type != RecordType::SE) return Take::OtherType;
                           // Records of other categories, and damaged ones, are passed over.
                           if (categoryOf(record) != '2') return Take::Ignored;
                           if (type == RecordType::RA) {
                               auto ra = cutRace(record, raScratch);
                               if (!ra) return Take::Damaged;
                               append(lists.WeekRaceList, std::move(*ra));
                           } else {
                               auto se = cutRunner(record, seScratch);
                               if (!se) return Take::Damaged;
                               append(lists.WeekUmaList, std::move(*se));
                           }
                           return Take::Kept;
                       });
}

int ImportTokubetsuInfo(WeeklyImportState& state, ImportContext& ctx) {
    ImportLists& lists = state.lists;
    resetList(lists.TokuList, kTokuListSize);
    return readSession(state, ctx, "TOKU", "特別登録馬情報をダウンロード中...", "特別登録馬情報をインポート中...",
                       kTokuReadMax, [&](std::string_view record, RecordType type) {
                           if (type != RecordType::TK) return Take::OtherType;
                           const char category = categoryOf(record);
                           if (category != '1' && category != '2') return Take::Ignored;
                           auto tk = ParseTK(record);
                           if (!tk) return Take::Damaged;
                           // Flat races only: jump races have no figures to work with.
                           if (!inRange(tk->trackCode, 10, 26)) return Take::Ignored;
                           append(lists.TokuList, ToImportToku(*tk));
                           return Take::Kept;
                       });
}

int ImportUmaHistory(WeeklyImportState& state, ImportContext& ctx, const std::string& dataSpec) {
    ImportLists& lists = state.lists;
    resetList(lists.HRaceList, kHRaceListSize, &lists.HRaceKey);
    lists.HRaceNumber.clear();
    resetList(lists.HUmaList, kHUmaListSize, &lists.HUmaKey);
    RaRecord raScratch;
    SeRecord seScratch;
    return readSession(state, ctx, dataSpec, "出走馬履歴情報のダウンロード中...", "出走馬履歴情報のインポート中...",
                       kHistoryReadMax, [&](std::string_view record, RecordType type) {
                           if (type != RecordType::RA && type != RecordType::SE) return Take::OtherType;
                           const char category = categoryOf(record);
                           if (category != '7' && category != 'A') return Take::Ignored;
                           if (type == RecordType::RA) {
                               auto ra = cutRace(record, raScratch);
                               if (!ra) return Take::Damaged;
                               std::string key = ra->raceId;
                               append(lists.HRaceList, std::move(*ra), &lists.HRaceKey, std::move(key));
                           } else {
                               auto se = cutRunner(record, seScratch);
                               if (!se) return Take::Damaged;
                               std::string key = se->umaCode + se->raceId;
                               append(lists.HUmaList, std::move(*se), &lists.HUmaKey, std::move(key));
                           }
                           return Take::Kept;
                       });
}

// ---- keys ----------------------------------------------------------------------

namespace {
// True when cancelled.
bool sortKeysWithIndex(Array1<std::string>& keys, Array1<int>& index, int count, Pump& pump) {
    index.clear();
    index.resize(keys.size());
    for (int i = 1; i <= index.size(); ++i) index[i] = i;
    // Deliveries usually come in key order. Strictly ascending keys are already
    // where the sort would put them; with equal keys the sort's own order of
    // them counts, so only then does it run.
    const auto first = keys.begin();
    const auto last = first + std::clamp(count, 0, keys.size());
    if (std::adjacent_find(first, last, std::greater_equal<>()) == last) return false;
    return SortKeys(keys, index, 1, count, pump);
}

// A race id of 16 digits as a number, which orders as the text does.
std::optional<std::uint64_t> raceIdNumber(std::string_view id) {
    if (id.size() != 16) return std::nullopt;
    std::uint64_t n = 0;
    for (char c : id) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return n;
}
}  // namespace

int SortHRaceKeys(ImportLists& lists, Pump& pump) {
    lists.HRaceNumber.clear();
    if (sortKeysWithIndex(lists.HRaceKey, lists.HRaceIndex, lists.HRaceList.count, pump)) return -1;
    // The expansion searches once per past run: numbers side by side answer
    // it without reading thousands of keys scattered through memory.
    for (const std::string& key : lists.HRaceKey) {
        const auto n = raceIdNumber(key);
        if (!n) {
            lists.HRaceNumber.clear();
            break;
        }
        lists.HRaceNumber.push_back(*n);
    }
    return 0;
}

int SortHUmaKeys(ImportLists& lists, Pump& pump) {
    return sortKeysWithIndex(lists.HUmaKey, lists.HUmaIndex, lists.HUmaList.count, pump) ? -1 : 0;
}

int SearchHRaceIndex(const ImportLists& lists, std::string_view key, int low, int high) {
    if (low < 1) low = 1;
    if (high > lists.HRaceKey.size()) high = lists.HRaceKey.size();
    // The same halving either way, so the same entry is found.
    const auto number = lists.HRaceNumber.size() == lists.HRaceKey.size() ? raceIdNumber(key) : std::nullopt;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const int c = number ? (lists.HRaceNumber[middle] > *number) - (lists.HRaceNumber[middle] < *number)
                             : lists.HRaceKey[middle].compare(key);
        if (c == 0) return middle;
        if (c < 0)
            low = middle + 1;
        else
            high = middle - 1;
    }
    return -1;
}

// ---- expansion -----------------------------------------------------------------

int ExpandRaceInfo(WeeklyImportState& state, ImportContext& ctx) {
    ImportLists& lists = state.lists;
    Store& store = ctx.store;
    try {
        ctx.ui.setStatus("レース情報を展開中...");
        Progress progress(ctx.ui, lists.WeekRaceList.count + lists.WeekUmaList.count + lists.HUmaList.count);

        sizeRaces(store, lists.WeekRaceList.count);
        for (int r = 1; r <= store.RaceCount; ++r) {
            if (cancelled(ctx)) throw Abandoned{};
            const ImportRace& ra = lists.WeekRaceList.items[r];
            fillRaceRow(store, r, ra.raceId, ra.registeredCount, ra.raceTypeCode, ra.conditionCode, ra.trackCode,
                        BuildRaceLabel(ra, true));
            progress.step();
        }

        sizeRunners(store, lists.WeekUmaList.count);
        for (int u = 1; u <= store.UmaCount; ++u) {
            if (cancelled(ctx)) throw Abandoned{};
            const ImportRunner& se = lists.WeekUmaList.items[u];
            TextTable& t = store.UmaInfo;
            t.at(u, 1) = se.raceId;
            t.at(u, 2) = se.umaCode;
            t.at(u, 3) = se.frameNumber;
            t.at(u, 4) = se.horseNumber;
            t.at(u, 5) = TrimField(se.horseName);
            t.at(u, 6) = SexName(se.sexCode);
            t.at(u, 7) = se.age;
            t.at(u, 8) = se.weightCarried;
            t.at(u, 9) = TrimField(se.jockeyName);
            t.at(u, 10) = TrimField(se.trainerName);
            t.at(u, 11) = se.jockeyCode;
            t.at(u, 12) = se.trainerCode;
            store.UmaKey[u] = t.at(u, 1) + t.at(u, 4);
            progress.step();
        }

        if (!expandHistory(state, ctx, progress)) throw Abandoned{};
        return 0;
    } catch (...) {
        zeroCounts(store);
        return -1;
    }
}

int ExpandTokubetsuInfo(WeeklyImportState& state, ImportContext& ctx) {
    ImportLists& lists = state.lists;
    Store& store = ctx.store;
    try {
        ctx.ui.setStatus("特別登録馬情報を展開中...");
        Progress progress(ctx.ui, 2 * lists.TokuList.count + lists.HUmaList.count);

        sizeRaces(store, lists.TokuList.count);
        int horses = 0;
        for (int r = 1; r <= store.RaceCount; ++r) {
            if (cancelled(ctx)) throw Abandoned{};
            const ImportToku& tk = lists.TokuList.items[r];
            ImportRace race;
            race.raceId = tk.raceId;
            race.year = tk.year;
            race.monthDay = tk.monthDay;
            race.courseCode = tk.courseCode;
            race.raceNumber = tk.raceNumber;
            race.raceName = tk.raceName;
            race.raceTypeCode = tk.raceTypeCode;
            race.conditionCode = tk.conditionCode;
            race.distance = tk.distance;
            race.trackCode = tk.trackCode;
            fillRaceRow(store, r, tk.raceId, tk.registeredCount, tk.raceTypeCode, tk.conditionCode, tk.trackCode,
                        BuildRaceLabel(race, false));
            horses += static_cast<int>(tk.horses.size());
            progress.step();
        }

        // Sized by the horse blocks actually present, not by the count field, so
        // a record whose count disagrees with its blocks cannot overrun the table.
        sizeRunners(store, horses);
        int u = 0;
        for (int r = 1; r <= lists.TokuList.count; ++r) {
            if (cancelled(ctx)) throw Abandoned{};
            const ImportToku& tk = lists.TokuList.items[r];
            // The race's own year: a registration week can span the new year.
            const auto year = ParseInteger(tk.year);
            for (const ImportTokuHorse& h : tk.horses) {
                ++u;
                TextTable& t = store.UmaInfo;
                t.at(u, 1) = tk.raceId;
                t.at(u, 2) = h.umaCode;
                t.at(u, 4) = h.sequence;
                t.at(u, 5) = TrimField(h.horseName);
                t.at(u, 6) = SexName(h.sexCode);
                const auto born = ParseInteger(part(h.umaCode, 0, 4));
                if (year && born) t.at(u, 7) = std::to_string(*year - *born);
                t.at(u, 8) = h.weightCarried;
                t.at(u, 10) = TrimField(h.trainerName);
                t.at(u, 12) = h.trainerCode;
                store.UmaKey[u] = t.at(u, 1) + t.at(u, 4);
            }
            progress.step();
        }
        store.UmaCount = u;

        if (!expandHistory(state, ctx, progress)) throw Abandoned{};
        return 0;
    } catch (...) {
        zeroCounts(store);
        return -1;
    }
}

int SortRaceInfo(Store& store, Pump& pump) {
    try {
        const int n = store.RaceCount;
        Array1<std::string> keys(n);
        Array1<int> rows(n);
        for (int r = 1; r <= n; ++r) {
            keys[r] = store.RaceIdList[r];
            rows[r] = r;
        }
        if (SortKeys(keys, rows, 1, n, pump)) throw Abandoned{};
        TextTable info(n, kRaceInfoCols);
        Array1<std::string> labels(n);
        for (int r = 1; r <= n; ++r) {
            for (int c = 1; c <= kRaceInfoCols; ++c) info.at(r, c) = std::move(store.RaceInfo.at(rows[r], c));
            labels[r] = std::move(store.RaceLabel[rows[r]]);
        }
        store.RaceInfo = std::move(info);
        store.RaceLabel = std::move(labels);
        store.RaceIdList = std::move(keys);
        return 0;
    } catch (...) {
        zeroCounts(store);
        return -1;
    }
}

int SortHistoryInfo(ImportContext& ctx) {
    Store& store = ctx.store;
    try {
        const int n = store.HistoryCount;
        Progress progress(ctx.ui, 2 * n);
        // The expansion builds the rows in key order already: then the rows stay
        // where they are and only duplicates close up, in place, with no copy of
        // the keys.
        const auto firstKey = store.HistoryKey.begin();
        const bool inPlace = std::is_sorted(firstKey, firstKey + n);
        Array1<std::string> keys(inPlace ? 0 : n);
        Array1<int> rows(inPlace ? 0 : n);
        for (int r = 1; r <= n; ++r) {
            if (cancelled(ctx)) throw Abandoned{};
            if (!inPlace) {
                keys[r] = store.HistoryKey[r];
                rows[r] = r;
            }
            progress.step();
        }
        if (!inPlace && SortKeys(keys, rows, 1, n, ctx.pump)) throw Abandoned{};
        TextTable old;
        if (!inPlace) {
            old = std::move(store.HistoryInfo);
            store.HistoryInfo.resize(n, kHistoryInfoCols);
        }
        TextTable& from = inPlace ? store.HistoryInfo : old;
        auto keyOf = [&](int r) -> std::string& { return inPlace ? store.HistoryKey[r] : keys[r]; };
        auto rowOf = [&](int r) { return inPlace ? r : rows[r]; };
        int written = 0;
        for (int r = 1; r <= n; ++r) {
            if (cancelled(ctx)) throw Abandoned{};
            // The same horse in the same race (delivered twice) keeps one row.
            if (written == 0 || keyOf(r) != store.HistoryKey[written]) {
                ++written;
                if (written != r || !inPlace) {
                    for (int c = 1; c <= kHistoryInfoCols; ++c)
                        store.HistoryInfo.at(written, c) = std::move(from.at(rowOf(r), c));
                    store.HistoryKey[written] = std::move(keyOf(r));
                }
            }
            progress.step();
        }
        store.HistoryInfo.resizeRows(written);
        store.HistoryKey.resize(written);
        store.HistoryCount = written;
        return 0;
    } catch (...) {
        zeroCounts(store);
        return -1;
    }
}

void ClearImportLists(ImportLists& lists) { lists = ImportLists{}; }

}  // namespace veltrix
