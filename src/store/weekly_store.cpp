#include "store/weekly_store.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <utility>

#include "store/cache_files.h"
#include "base/encoding.h"
#include "base/fields.h"
#include "base/format.h"

namespace veltrix {

namespace {

constexpr int kCache2Fields = 12;
constexpr int kCache3Fields = 31;

// Past-run race names are cleaned in the table itself: a double quote (half-
// or full-width) becomes a space, and the name is brought to full width with
// half-width spaces. Every other cell is cleaned as the writer writes it.
std::string cleanRaceName(const std::string& name) {
    std::string half = ToHalfWidth(name);
    CleanTextCell(half);
    std::string full = ToFullWidth(half);
    std::string out;
    out.reserve(full.size());
    const std::string_view ideographicSpace = "\xE3\x80\x80";
    for (size_t pos = 0; pos < full.size();) {
        if (std::string_view(full).substr(pos, 3) == ideographicSpace) {
            out += ' ';
            pos += 3;
        } else {
            out += full[pos++];
        }
    }
    return out;
}

bool writeAll(Store& store, const Folders& folders, UserInterface& ui, Pump& pump) {
    if (store.RaceCount < 0 || store.UmaCount < 0 || store.HistoryCount < 0 ||
        store.RaceInfo.rows() < store.RaceCount || store.RaceInfo.cols() < kRaceInfoCols ||
        store.RaceLabel.size() < store.RaceCount || store.UmaInfo.rows() < store.UmaCount ||
        store.UmaInfo.cols() < kCache2Fields || store.HistoryInfo.rows() < store.HistoryCount ||
        store.HistoryInfo.cols() < kCache3Fields)
        return false;

    ui.setStatus("レース情報をキャッシュへ書き込み中...");
    Progress progress(ui, store.RaceCount + store.UmaCount + store.HistoryCount);

    FieldWriter races;
    races.quoted("0").integer(store.RaceCount).quoted(store.DataMode).endLine();
    for (int r = 1; r <= store.RaceCount; ++r) {
        races.quoted("1").quoted(store.RaceInfo.row(r).first(kRaceInfoCols)).quoted(store.RaceLabel[r]).endLine();
        pump.processEvents();
        progress.step();
    }
    if (!races.save(folders.cache / kCache1)) return false;

    FieldWriter runners;
    runners.quoted("0").integer(store.UmaCount).endLine();
    for (int r = 1; r <= store.UmaCount; ++r) {
        runners.quoted("1").quoted(store.UmaInfo.row(r).first(kCache2Fields)).endLine();
        pump.processEvents();
        progress.step();
    }
    if (!runners.save(folders.cache / kCache2)) return false;

    ui.setStatus("出走馬履歴情報をキャッシュへ書き込み中...");
    FieldWriter history;
    // About eight bytes a field: a week's past runs are written without regrowing.
    history.reserve(static_cast<size_t>(store.HistoryCount) * kCache3Fields * 8);
    history.quoted("0").integer(store.HistoryCount).endLine();
    // Many past runs share a race, and so its name: each name is cleaned once.
    std::unordered_map<std::string, std::string> cleanedNames;
    for (int r = 1; r <= store.HistoryCount; ++r) {
        std::string& name = store.HistoryInfo.at(r, 4);
        auto [cleaned, isNew] = cleanedNames.try_emplace(name);
        if (isNew) cleaned->second = cleanRaceName(name);
        name = cleaned->second;
        history.quoted("1").quoted(store.HistoryInfo.row(r).first(kCache3Fields)).endLine();
        pump.processEvents();
        progress.step();
    }
    if (!history.save(folders.cache / kCache3)) return false;
    progress.finish();
    return true;
}

// A weekly file read from its CP932 bytes. Fields are cut from the bytes
// themselves: no double-byte CP932 character contains a quote, comma, CR or LF,
// so the cuts are those of the decoded text. Most fields are digits; the
// others are collected and decoded together a block of records at a time,
// while their cells are still in the cache, with one conversion per block.
class WeeklyFile {
public:
    bool open(const std::filesystem::path& path) {
        auto bytes = ReadFileBytes(path);
        if (!bytes) return false;
        reader_.emplace(std::move(*bytes));
        return true;
    }
    // Header fields and tags, compared as bytes (they are plain ASCII).
    bool read(std::string& field) { return reader_->read(field); }
    bool eof() const { return reader_->eof(); }
    size_t remaining() const { return reader_->remaining(); }
    // A data field; the cell must stay in place until decode().
    // A cell holding a line feed is damage (the writer never writes one): it
    // would shift the cells of its block when they are cut apart again.
    bool readCell(std::string& cell) {
        if (!reader_->read(cell)) return false;
        if (std::memchr(cell.data(), '\n', cell.size())) return false;
        for (char c : cell) {
            if (static_cast<unsigned char>(c) >= 0x80) {
                pending_.push_back(&cell);
                batch_ += cell;
                batch_ += '\n';  // never inside a field
                break;
            }
        }
        return true;
    }
    // Decodes the cells read since the last call; false when one is not CP932.
    bool decode() {
        if (pending_.empty()) return true;
        auto text = Cp932ToUtf8(batch_);
        if (!text) return false;
        const char* p = text->data();
        const char* const end = p + text->size();
        for (std::string* cell : pending_) {
            const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
            if (!lf) return false;
            cell->assign(p, static_cast<size_t>(lf - p));
            p = lf + 1;
        }
        pending_.clear();
        batch_.clear();
        return true;
    }

private:
    std::optional<FieldReader> reader_;
    std::vector<std::string*> pending_;
    std::string batch_;
};

std::optional<long long> readCount(WeeklyFile& in) {
    std::string head, count;
    if (!in.read(head) || head != "0" || !in.read(count)) return std::nullopt;
    auto n = ParseInteger(count);
    if (!n || *n < 0) return std::nullopt;
    return n;
}

// Reads records 1..n: before each, end of file or a tag other than "1" fails;
// then `fields` fields into cellOf(row, field). finish(row) runs once the
// row's text is decoded.
template <class CellOf, class Finish>
bool readRecords(WeeklyFile& in, int n, int fields, CellOf cellOf, Finish finish) {
    constexpr int kBlock = 128;
    int finished = 0;
    std::string tag;
    for (int r = 1; r <= n; ++r) {
        if (in.eof() || !in.read(tag) || tag != "1") return false;
        for (int c = 1; c <= fields; ++c)
            if (!in.readCell(cellOf(r, c))) return false;
        if (r % kBlock == 0 || r == n) {
            if (!in.decode()) return false;
            while (finished < r) finish(++finished);
        }
    }
    return true;
}

// The tables are sized from the count before the records are read, at some
// forty bytes a cell. The writer quotes every cell, so a record takes at least
// its tag, an empty quoted field per cell and a line end ("1","",...,"" CR LF;
// the last line may lack its line end): a count the rest of the file cannot
// hold that way is damage, refused before anything is sized for it.
bool plausibleCount(const WeeklyFile& in, long long count, int fieldsPerRecord) {
    const size_t leastRecord = 3 * static_cast<size_t>(fieldsPerRecord) + 5;
    return count <= static_cast<long long>((in.remaining() + 2) / leastRecord) && count <= 0x7fffffff;
}

bool loadRaces(Store& store, const Folders& folders) {
    WeeklyFile in;
    if (!in.open(folders.cache / kCache1)) return false;
    auto count = readCount(in);
    std::string mode;
    if (!count || !in.read(mode) || (mode != "KONSYU" && mode != "TOKUBETSU")) return false;
    // The race count is a 16-bit number.
    if (*count > 32767 || !plausibleCount(in, *count, kRaceInfoCols + 1)) return false;
    const int n = static_cast<int>(*count);
    store.RaceInfo.resize(n, kRaceInfoCols);
    store.RaceLabel.resize(n);
    store.RaceIdList.resize(n);
    auto cell = [&](int r, int c) -> std::string& {
        return c <= kRaceInfoCols ? store.RaceInfo.at(r, c) : store.RaceLabel[r];
    };
    auto finish = [&](int r) { store.RaceIdList[r] = store.RaceInfo.at(r, 1); };
    if (!readRecords(in, n, kRaceInfoCols + 1, cell, finish)) return false;
    store.DataMode = mode;
    store.RaceCount = n;
    return true;
}

bool loadRunners(Store& store, const Folders& folders) {
    WeeklyFile in;
    if (!in.open(folders.cache / kCache2)) return false;
    auto count = readCount(in);
    if (!count || !plausibleCount(in, *count, kCache2Fields)) return false;
    const int n = static_cast<int>(*count);
    store.UmaInfo.resize(n, kUmaInfoCols);
    store.UmaKey.resize(n);
    auto cell = [&](int r, int c) -> std::string& { return store.UmaInfo.at(r, c); };
    auto finish = [&](int r) {
        store.UmaKey[r].assign(store.UmaInfo.at(r, 1)).append(store.UmaInfo.at(r, 4));
    };
    if (!readRecords(in, n, kCache2Fields, cell, finish)) return false;
    store.UmaCount = n;
    return true;
}

bool isOneOf(const std::string& s, std::initializer_list<std::string_view> values) {
    return std::find(values.begin(), values.end(), s) != values.end();
}

bool loadHistory(Store& store, const Folders& folders) {
    WeeklyFile in;
    if (!in.open(folders.cache / kCache3)) return false;
    auto count = readCount(in);
    if (!count || !plausibleCount(in, *count, kCache3Fields)) return false;
    const int n = static_cast<int>(*count);
    store.HistoryInfo.resize(n, kHistoryInfoCols);
    store.HistoryKey.resize(n);
    auto cell = [&](int r, int c) -> std::string& { return store.HistoryInfo.at(r, c); };
    auto finish = [&](int r) {
        // Runs at local courses, jump races and runs that did not finish
        // normally are left out of the figures.
        bool out = !isOneOf(store.HistoryInfo.at(r, 9),
                            {"01", "02", "03", "04", "05", "06", "07", "08", "09", "10"}) ||
                   store.HistoryInfo.at(r, 11) == "障" ||
                   !isOneOf(store.HistoryInfo.at(r, 25), {"0", "5", "7"});
        store.HistoryInfo.at(r, 43) = out ? "OUT" : "ON";
        store.HistoryKey[r].assign(store.HistoryInfo.at(r, 1)).append(store.HistoryInfo.at(r, 2));
    };
    if (!readRecords(in, n, kCache3Fields, cell, finish)) return false;
    store.HistoryCount = n;
    return true;
}

}  // namespace

bool SaveRaceCache(Store& store, const Folders& folders, UserInterface& ui, Pump& pump) {
    if (writeAll(store, folders, ui, pump)) return false;
    store.RaceCount = 0;
    store.UmaCount = 0;
    store.HistoryCount = 0;
    // The files are written whole, so a failure can leave a new file beside old
    // ones; remove them all so that no mixed week is ever loaded.
    for (char kind : {'1', '2', '3'}) DeleteCache(folders, kind, "*");
    return true;
}

bool LoadRaceCache(Store& store, const Folders& folders, std::filesystem::path* damaged) {
    // The tables are resized in place rather than cleared first: reloading a
    // week then reuses the cells' storage.
    store.DataMode.clear();
    store.RaceCount = store.UmaCount = store.HistoryCount = 0;
    const char* failed = !loadRaces(store, folders)     ? kCache1
                         : !loadRunners(store, folders) ? kCache2
                         : !loadHistory(store, folders) ? kCache3
                                                        : nullptr;
    if (!failed) return false;
    if (damaged) *damaged = folders.cache / failed;
    for (char kind : {'1', '2', '3'}) DeleteCache(folders, kind, "*");
    ClearRaceCache(store);
    return true;
}

bool WeeklyFilesPresent(const Folders& folders) {
    return FileExists(folders.cache / kCache1) && FileExists(folders.cache / kCache2) &&
           FileExists(folders.cache / kCache3);
}

void ClearRaceCache(Store& store) {
    store.DataMode.clear();
    store.RaceCount = 0;
    store.UmaCount = 0;
    store.HistoryCount = 0;
    store.RaceInfo.clear();
    store.UmaInfo.clear();
    store.HistoryInfo.clear();
    store.RaceLabel.clear();
    store.RaceIdList.clear();
    store.UmaKey.clear();
    store.HistoryKey.clear();
}

namespace {

// The quicksort that has always ordered the keys, whose order of equal keys
// decides which duplicate a sorted list keeps. It is run as it always was, with
// one shortcut: when the pivot is the least key of its range, no key is moved
// to its left and the partition only swaps the pivot with the first key. A
// partition counts the keys equal to its pivot; they are the least keys of the
// range to its right, so there the shortcut is taken without scanning the
// range, and a long run of equal keys costs one step per key, not a scan.
class KeySorter {
public:
    KeySorter(Array1<std::string>& keys, Array1<int>& positions, Pump& pump)
        : keys_(keys), positions_(positions), pump_(pump) {}

    // Sorts keys[first..last]. With leastCount > 0, keys[first - 1] equals the
    // least key of the range, which holds leastCount copies of it. True when
    // cancelled.
    bool sort(int first, int last, int leastCount) {
        while (first < last) {
            const int middle = (first + last) / 2;
            if (leastCount > 0 && keys_[middle] == keys_[first - 1]) {
                swapAt(first, middle);
                ++first;
                --leastCount;
                if (worked(1)) return true;
                continue;
            }
            if (worked(last - first + 1)) return true;
            int equal = 0;
            const int boundary = partition(first, last, equal);
            // Recurse into the smaller part and loop on the larger, so that the
            // stack stays shallow; the order of the parts changes nothing.
            if (boundary - first < last - boundary) {
                if (sort(first, boundary - 1, 0)) return true;
                first = boundary + 1;
                leastCount = equal;
            } else {
                if (sort(boundary + 1, last, equal)) return true;
                last = boundary - 1;
                leastCount = 0;
            }
        }
        return false;
    }

private:
    // Lomuto partition around the middle key, moved to the front while the
    // others are scanned. Returns the pivot's final place; equal counts the
    // keys after it that equal it.
    int partition(int first, int last, int& equal) {
        const int middle = (first + last) / 2;
        std::string pivotKey = std::move(keys_[middle]);
        const int pivotPosition = positions_[middle];
        if (middle != first) {
            keys_[middle] = std::move(keys_[first]);
            positions_[middle] = positions_[first];
        }
        int boundary = first;
        for (int i = first + 1; i <= last; ++i) {
            const int order = keys_[i].compare(pivotKey);
            if (order < 0) {
                ++boundary;
                std::swap(keys_[i], keys_[boundary]);
                std::swap(positions_[i], positions_[boundary]);
            } else if (order == 0) {
                ++equal;
            }
        }
        if (boundary != first) {
            keys_[first] = std::move(keys_[boundary]);
            positions_[first] = positions_[boundary];
        }
        keys_[boundary] = std::move(pivotKey);
        positions_[boundary] = pivotPosition;
        return boundary;
    }

    void swapAt(int a, int b) {
        if (a == b) return;
        std::swap(keys_[a], keys_[b]);
        std::swap(positions_[a], positions_[b]);
    }

    // Events are processed after every few thousand keys handled; true when
    // the user cancelled meanwhile.
    bool worked(int keys) {
        constexpr long kKeysPerTurn = 16384;
        work_ += keys;
        if (work_ < kKeysPerTurn) return false;
        work_ = 0;
        pump_.processEvents();
        return pump_.cancelRequested();
    }

    Array1<std::string>& keys_;
    Array1<int>& positions_;
    Pump& pump_;
    long work_ = 0;
};

}  // namespace

bool SortKeys(Array1<std::string>& keys, Array1<int>& positions, int first, int last, Pump& pump) {
    first = std::max(first, 1);
    last = std::min({last, keys.size(), positions.size()});
    return KeySorter(keys, positions, pump).sort(first, last, 0);
}

int FindFirstRunner(const Store& store, const std::string& raceId, int first, int last) {
    last = std::min(last, store.UmaInfo.rows());
    for (int r = std::max(first, 1); r <= last; ++r)
        if (store.UmaInfo.at(r, 1) == raceId) return r;
    return -1;
}

int FindFirstHistory(const Store& store, const std::string& umaCode, int first, int last) {
    last = std::min(last, store.HistoryKey.size());
    for (int r = std::max(first, 1); r <= last; ++r)
        if (std::string_view(store.HistoryKey[r]).substr(0, 10) == umaCode) return r;
    return -1;
}

int FindUmaKey(const Store& store, const std::string& key, int first, int last) {
    last = std::min(last, store.UmaKey.size());
    for (int r = std::max(first, 1); r <= last; ++r)
        if (store.UmaKey[r] == key) return r;
    return -1;
}

int FindHistoryKey(const Store& store, const std::string& key, int low, int high) {
    low = std::max(low, 1);
    high = std::min(high, store.HistoryKey.size());
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const std::string& k = store.HistoryKey[middle];
        if (k == key) return middle;
        if (k < key) {
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return -1;
}

std::string CourseName(const std::string& courseCode) {
    static constexpr std::pair<std::string_view, std::string_view> kCourses[] = {
        {"01", "札幌"},   {"02", "函館"}, {"03", "福島"},   {"04", "新潟"},   {"05", "東京"},
        {"06", "中山"},   {"07", "中京"}, {"08", "京都"},   {"09", "阪神"},   {"10", "小倉"},
        {"30", "門別"},   {"31", "北見"}, {"32", "岩見沢"}, {"33", "帯広"},   {"34", "旭川"},
        {"35", "盛岡"},   {"36", "水沢"}, {"37", "上山"},   {"38", "三条"},   {"39", "足利"},
        {"40", "宇都宮"}, {"41", "高崎"}, {"42", "浦和"},   {"43", "船橋"},   {"44", "大井"},
        {"45", "川崎"},   {"46", "金沢"}, {"47", "笠松"},   {"48", "名古屋"}, {"49", "紀三寺"},
        {"50", "園田"},   {"51", "姫路"}, {"52", "益田"},   {"53", "福山"},   {"54", "高知"},
        {"55", "佐賀"},   {"56", "荒尾"}, {"57", "中津"},   {"58", "札幌"},   {"59", "函館"},
        {"60", "新潟"},   {"61", "中京"},
    };
    for (const auto& [code, name] : kCourses)
        if (code == courseCode) return std::string(name);
    return {};
}

}  // namespace veltrix
