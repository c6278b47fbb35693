#include "store/race_files.h"

#include <cmath>
#include <limits>
#include <system_error>

#include "base/fields.h"
#include "base/trim.h"
#include "store/cache_files.h"

namespace veltrix {
namespace {

// Reads the fixed-length records of a per-race file: every record must hold
// exactly its number of fields and end its line.
class RecordReader {
public:
    explicit RecordReader(FieldReader& reader) : reader_(reader) {}

    bool eof() const { return reader_.eof(); }

    // Reads n fields into f[0..n-1]; the first must be the tag.
    bool record(const char* tag, int n) {
        for (int i = 0; i < n; ++i) {
            if (!reader_.read(f[i])) return false;
            if (reader_.lastEndedLine() != (i == n - 1)) return false;
        }
        return f[0] == tag;
    }

    std::string f[11];

private:
    FieldReader& reader_;
};

// Fields are read as real numbers and rounded to integers (half to even);
// the integer path only saves the real conversion for the common case.
bool toInt(const std::string& text, int& out) {
    if (auto v = ParseInteger(text)) {
        if (*v < std::numeric_limits<int>::min() || *v > std::numeric_limits<int>::max()) return false;
        out = static_cast<int>(*v);
        return true;
    }
    auto r = ParseReal(text);
    if (!r) return false;
    double v = std::nearbyint(*r);
    if (!(v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())) return false;
    out = static_cast<int>(v);
    return true;
}

bool toReal(const std::string& text, double& out) {
    auto r = ParseReal(text);
    if (!r) return false;
    out = *r;
    return true;
}

bool isHorse(const std::string& text, int expected) {
    int v = 0;
    return toInt(text, v) && v == expected;
}

// Value ratio of a combination: its theoretical probability P over the
// probability implied by its odds N (tenths), 0.738 x 10 / (N - 1).
// The ratio is only meaningful when every win probability involved is a real
// probability (0 < p < 1), every conditional divisor is positive and N > 1;
// anything else (horses without win odds, unsold combinations) gives -1, so the
// tables never hold infinities or values divided by a non-positive number.
constexpr double kCombinationReturn = 0.738;

double ratio(double probability, int odds) {
    if (!(probability > 0) || odds <= 1) return -1.0;
    return probability / (kCombinationReturn * 10.0 / (odds - 1));
}

bool isProbability(double p) { return p > 0 && p < 1; }

// P(a first, b second) = p(a) p(b) / (1 - p(a)).
double exactaProbability(double pa, double pb) {
    if (!isProbability(pa) || !isProbability(pb)) return -1.0;
    return pa * pb / (1 - pa);
}

// P(a, b, c in this order) = p(a) p(b) p(c) / ((1 - p(a)) (1 - p(a) - p(b))).
double trifectaProbability(double pa, double pb, double pc) {
    if (!isProbability(pa) || !isProbability(pb) || !isProbability(pc)) return -1.0;
    double rest = 1 - pa - pb;
    if (!(rest > 0)) return -1.0;
    return pa * pb * pc / ((1 - pa) * rest);
}

void computePairRatios(OddsTables& t, int i, int j) {
    const double pi = t.TansyoShijiritsu(i), pj = t.TansyoShijiritsu(j);
    double ij = exactaProbability(pi, pj);
    double ji = exactaProbability(pj, pi);
    t.UmarenKairi(i, j) = ij > 0 && ji > 0 ? ratio(ij + ji, t.UmarenOdds(i, j).odds) : -1.0;
    t.UmatanKairi(i, j) = ratio(ij, t.UmatanOdds(i, j).odds);
}

void computeTripleRatios(OddsTables& t, int i, int j, int k) {
    const double p[3] = {t.TansyoShijiritsu(i), t.TansyoShijiritsu(j), t.TansyoShijiritsu(k)};
    static constexpr int kOrders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    double sum = 0;
    bool valid = true;
    for (const auto& o : kOrders) {
        double v = trifectaProbability(p[o[0]], p[o[1]], p[o[2]]);
        if (v < 0) {
            valid = false;
            break;
        }
        sum += v;
    }
    t.SanrenpukuKairi(i, j, k) = valid ? ratio(sum, t.SanrenpukuOdds(i, j, k).odds) : -1.0;
    t.SanrentanKairi(i, j, k) = ratio(trifectaProbability(p[0], p[1], p[2]), t.SanrentanOdds(i, j, k).odds);
}

bool readOddsFile(FieldReader& reader, OddsTables& t) {
    RecordReader in(reader);
    if (!in.record("00", 2) || !toInt(in.f[1], t.OddsCount)) return false;
    if (!in.record("10", 1)) return false;

    for (int h = 1; h <= kHorseMax; ++h) {
        if (!in.record("11", 11) || !isHorse(in.f[1], h)) return false;
        auto& win = t.TansyoOdds(h);
        auto& place = t.FukusyoOdds(h);
        if (!toReal(in.f[2], t.OddsHensachi(h)) || !toReal(in.f[3], t.TansyoShijiritsu(h)) ||
            !toReal(in.f[4], t.UmarenShijiritsu(h)) || !toInt(in.f[5], win.state) ||
            !toInt(in.f[6], win.odds) || !toInt(in.f[7], place.lowState) || !toInt(in.f[8], place.lowOdds) ||
            !toInt(in.f[9], place.highState) || !toInt(in.f[10], place.highOdds))
            return false;
    }

    if (!in.record("20", 1)) return false;
    for (int i = 1; i <= kHorseMax; ++i) {
        for (int j = 1; j <= kHorseMax; ++j) {
            if (!in.record("21", 11) || !isHorse(in.f[1], i) || !isHorse(in.f[2], j)) return false;
            auto& quinella = t.UmarenOdds(i, j);
            auto& wide = t.WideOdds(i, j);
            auto& exacta = t.UmatanOdds(i, j);
            if (!toInt(in.f[3], quinella.state) || !toInt(in.f[4], quinella.odds) ||
                !toInt(in.f[5], wide.lowState) || !toInt(in.f[6], wide.lowOdds) ||
                !toInt(in.f[7], wide.highState) || !toInt(in.f[8], wide.highOdds) ||
                !toInt(in.f[9], exacta.state) || !toInt(in.f[10], exacta.odds))
                return false;
            computePairRatios(t, i, j);
        }
    }

    for (int i = 1; i <= kHorseMax; ++i) {
        for (int j = 1; j <= kHorseMax; ++j) {
            for (int k = 1; k <= kHorseMax; ++k) {
                if (!in.record("31", 8) || !isHorse(in.f[1], i) || !isHorse(in.f[2], j) ||
                    !isHorse(in.f[3], k))
                    return false;
                auto& trio = t.SanrenpukuOdds(i, j, k);
                auto& trifecta = t.SanrentanOdds(i, j, k);
                if (!toInt(in.f[4], trio.state) || !toInt(in.f[5], trio.odds) ||
                    !toInt(in.f[6], trifecta.state) || !toInt(in.f[7], trifecta.odds))
                    return false;
                computeTripleRatios(t, i, j, k);
            }
        }
    }
    return true;
}

// Header of cache7 and cache8: "00", then "10" with a classification from the allowed set.
bool readKubun(RecordReader& in, std::string& kubun, const char* allowed) {
    if (!in.record("00", 1) || !in.record("10", 2)) return false;
    const std::string& k = in.f[1];
    if (k.size() != 1 || std::string_view(allowed).find(k[0]) == std::string_view::npos) return false;
    kubun = k;
    return true;
}

bool readMiningFile(FieldReader& reader, MiningTables& t) {
    RecordReader in(reader);
    if (!readKubun(in, t.MiningKubun, "123")) return false;
    for (int h = 1; h <= kHorseMax && !in.eof(); ++h) {
        if (!in.record("11", 3) || !isHorse(in.f[1], h) || !toReal(in.f[2], t.MiningHensachi(h)))
            return false;
    }
    return true;
}

bool readKekkaFile(FieldReader& reader, KekkaTables& t) {
    RecordReader in(reader);
    if (!readKubun(in, t.KekkaKubun, "567")) return false;
    for (int h = 1; h <= kHorseMax && !in.eof(); ++h) {
        if (!in.record("11", 6) || !isHorse(in.f[1], h) || !toReal(in.f[2], t.KekkaHensachi(h)) ||
            !toInt(in.f[3], t.KekkaNyusen(h)) || !toInt(in.f[4], t.KekkaZenhan(h)) ||
            !toInt(in.f[5], t.KekkaAgari(h)))
            return false;
        // The arrival order is a 16-bit integer in the file format.
        if (t.KekkaNyusen(h) < -32768 || t.KekkaNyusen(h) > 32767) return false;
    }
    return true;
}

// Sets the odds state of a listed bet to 2. Combinations are taken as written.
// A row whose horse numbers are missing or outside 1..18 marks nothing but stays
// in the list, like a row with an unknown type code: the bet list is the user's
// work and one odd row is no reason to throw all of it away.
void markBet(OddsTables& t, const KaimeRow& row) {
    auto h1 = KumibanHorse(row.Kumiban, 1);
    auto h2 = KumibanHorse(row.Kumiban, 2);
    auto h3 = KumibanHorse(row.Kumiban, 3);
    const std::string& code = row.ShikibetsuCode;
    if (code == "1" && h1) t.TansyoOdds(*h1).state = kOddsInBetList;
    if (code == "2" && h1) t.FukusyoOdds(*h1).lowState = kOddsInBetList;
    if (code == "4" && h1 && h2) t.UmarenOdds(*h1, *h2).state = kOddsInBetList;
    if (code == "5" && h1 && h2) t.WideOdds(*h1, *h2).lowState = kOddsInBetList;
    if (code == "6" && h1 && h2) t.UmatanOdds(*h1, *h2).state = kOddsInBetList;
    if (code == "7" && h1 && h2 && h3) t.SanrenpukuOdds(*h1, *h2, *h3).state = kOddsInBetList;
    if (code == "8" && h1 && h2 && h3) t.SanrentanOdds(*h1, *h2, *h3).state = kOddsInBetList;
}

bool readKaimeFile(FieldReader& reader, std::vector<KaimeRow>& rows) {
    while (!reader.eof()) {
        std::string fields[3];
        for (int i = 0; i < 3; ++i) {
            if (!reader.read(fields[i]) || reader.lastEndedLine() != (i == 2)) return false;
        }
        for (auto& f : fields)
            if (!IsNumeric(f)) return false;
        if (static_cast<int>(rows.size()) >= kKaimeRows) return false;
        rows.push_back({fields[0], fields[1], fields[2]});
    }
    return true;
}

bool readMarkFile(FieldReader& reader, std::vector<MarkEntry>& entries) {
    while (!reader.eof()) {
        MarkEntry e;
        if (!reader.read(e.UmaCode) || reader.lastEndedLine()) return false;
        if (!reader.read(e.Mark) || !reader.lastEndedLine()) return false;
        if (Utf8Length(e.Mark) > 1) return false;
        if (static_cast<int>(entries.size()) >= kMarkEntries) return false;
        entries.push_back(std::move(e));
    }
    return true;
}

// Opens a per-race file, runs parse on it and deletes the file when parse fails.
template <class Parse>
int readRaceFile(const Folders& folders, char kind, const std::string& raceId, Parse parse) {
    auto path = RaceFilePath(folders, kind, raceId);
    if (!path) return -1;
    auto reader = FieldReader::FromFile(*path);
    if (reader && parse(*reader)) return 0;
    DeleteCache(folders, kind, raceId);
    return -1;
}

// Writes a derived file; on failure whatever was written is removed.
int writeRaceFile(const Folders& folders, char kind, const std::string& raceId, const FieldWriter& w) {
    auto path = RaceFilePath(folders, kind, raceId);
    if (!path) return -1;
    if (w.save(*path)) return 0;
    DeleteCache(folders, kind, raceId);
    return -1;
}

// Writes a file of the user's own work. A failed write leaves the previous file
// as it was: deleting it would lose the user's last saved work.
int writeUserFile(const Folders& folders, char kind, const std::string& raceId, const FieldWriter& w,
                  bool empty) {
    auto path = RaceFilePath(folders, kind, raceId);
    if (!path) return -1;
    if (empty) {
        DeleteCache(folders, kind, raceId);
        return 0;
    }
    return w.saveAtomically(*path) ? 0 : -1;
}

}  // namespace

bool IsRaceId(const std::string& raceId) {
    if (raceId.size() != 16) return false;
    for (char c : raceId)
        if (c < '0' || c > '9') return false;
    return true;
}

std::optional<std::filesystem::path> RaceFilePath(const Folders& folders, char kind,
                                                  const std::string& raceId) {
    if (!IsRaceId(raceId)) return std::nullopt;
    std::string name = "cache";
    name += kind;
    name += raceId;
    return folders.cache / name;
}

int ReadOddsCache(const Folders& folders, const std::string& raceId, OddsTables& odds) {
    int rc = readRaceFile(folders, '4', raceId, [&](FieldReader& r) { return readOddsFile(r, odds); });
    if (rc != 0) odds.clear();
    return rc;
}

int WriteOddsCache(const Folders& folders, const std::string& raceId, const OddsTables& t) {
    FieldWriter w;
    w.quoted("00").integer(t.OddsCount).endLine();
    w.quoted("10").endLine();
    for (int h = 1; h <= kHorseMax; ++h) {
        const auto& win = t.TansyoOdds(h);
        const auto& place = t.FukusyoOdds(h);
        w.quoted("11")
            .integer(h)
            .real(t.OddsHensachi(h))
            .real(t.TansyoShijiritsu(h))
            .real(t.UmarenShijiritsu(h));
        w.integer(win.state).integer(win.odds);
        w.integer(place.lowState)
            .integer(place.lowOdds)
            .integer(place.highState)
            .integer(place.highOdds)
            .endLine();
    }
    w.quoted("20").endLine();
    for (int i = 1; i <= kHorseMax; ++i) {
        for (int j = 1; j <= kHorseMax; ++j) {
            const auto& quinella = t.UmarenOdds(i, j);
            const auto& wide = t.WideOdds(i, j);
            const auto& exacta = t.UmatanOdds(i, j);
            w.quoted("21").integer(i).integer(j).integer(quinella.state).integer(quinella.odds);
            w.integer(wide.lowState).integer(wide.lowOdds).integer(wide.highState).integer(wide.highOdds);
            w.integer(exacta.state).integer(exacta.odds).endLine();
        }
    }
    for (int i = 1; i <= kHorseMax; ++i) {
        for (int j = 1; j <= kHorseMax; ++j) {
            for (int k = 1; k <= kHorseMax; ++k) {
                const auto& trio = t.SanrenpukuOdds(i, j, k);
                const auto& trifecta = t.SanrentanOdds(i, j, k);
                w.quoted("31").integer(i).integer(j).integer(k).integer(trio.state).integer(trio.odds);
                w.integer(trifecta.state).integer(trifecta.odds).endLine();
            }
        }
    }
    return writeRaceFile(folders, '4', raceId, w);
}

void ComputeValueRatios(OddsTables& odds) {
    for (int i = 1; i <= kHorseMax; ++i)
        for (int j = 1; j <= kHorseMax; ++j) {
            computePairRatios(odds, i, j);
            for (int k = 1; k <= kHorseMax; ++k) computeTripleRatios(odds, i, j, k);
        }
}

int ReadMiningCache(const Folders& folders, const std::string& raceId, MiningTables& mining) {
    mining.clear();  // horses missing from the file keep the no-data value
    int rc = readRaceFile(folders, '7', raceId, [&](FieldReader& r) { return readMiningFile(r, mining); });
    if (rc != 0) mining.clear();
    return rc;
}

int WriteMiningCache(const Folders& folders, const std::string& raceId, const MiningTables& t) {
    FieldWriter w;
    w.quoted("00").endLine();
    w.quoted("10").quoted(t.MiningKubun).endLine();
    for (int h = 1; h <= kHorseMax && t.MiningHensachi(h) >= 0; ++h)
        w.quoted("11").integer(h).real(t.MiningHensachi(h)).endLine();
    return writeRaceFile(folders, '7', raceId, w);
}

int ReadKekkaCache(const Folders& folders, const std::string& raceId, KekkaTables& kekka) {
    kekka.clear();
    int rc = readRaceFile(folders, '8', raceId, [&](FieldReader& r) { return readKekkaFile(r, kekka); });
    if (rc != 0) kekka.clear();
    return rc;
}

int WriteKekkaCache(const Folders& folders, const std::string& raceId, const KekkaTables& t) {
    FieldWriter w;
    w.quoted("00").endLine();
    w.quoted("10").quoted(t.KekkaKubun).endLine();
    for (int h = 1; h <= kHorseMax && t.KekkaHensachi(h) >= 0; ++h) {
        w.quoted("11").integer(h).real(t.KekkaHensachi(h)).integer(t.KekkaNyusen(h));
        w.integer(t.KekkaZenhan(h)).integer(t.KekkaAgari(h)).endLine();
    }
    return writeRaceFile(folders, '8', raceId, w);
}

int ReadKaimeCache(const Folders& folders, const std::string& raceId, RaceTables& tables) {
    std::vector<KaimeRow> rows;
    int rc = readRaceFile(folders, '5', raceId, [&](FieldReader& r) { return readKaimeFile(r, rows); });
    ClearKaimeData(tables);
    if (rc != 0) return rc;
    // Rows are stored and bets marked only once the whole file has been read,
    // so a damaged file leaves no stray bet-list states in the odds tables.
    for (size_t i = 0; i < rows.size(); ++i) {
        markBet(tables.odds, rows[i]);
        tables.KaimeData[static_cast<int>(i) + 1] = std::move(rows[i]);
    }
    return 0;
}

int WriteKaimeCache(const Folders& folders, const std::string& raceId, const Array1<KaimeRow>& kaimeData) {
    FieldWriter w;
    int n = 0;
    for (int r = 1; r <= kaimeData.size() && r <= kKaimeRows && !kaimeData[r].ShikibetsuCode.empty();
         ++r, ++n) {
        const auto& row = kaimeData[r];
        w.quoted(row.ShikibetsuCode).quoted(row.Kumiban).quoted(row.Kingaku).endLine();
    }
    return writeUserFile(folders, '5', raceId, w, n == 0);
}

int ReadMarkCache(const Folders& folders, const std::string& raceId, RaceTables& tables) {
    std::vector<MarkEntry> entries;
    int rc = readRaceFile(folders, '6', raceId, [&](FieldReader& r) { return readMarkFile(r, entries); });
    ClearMarkList(tables);
    if (rc != 0) return rc;
    for (size_t i = 0; i < entries.size(); ++i)
        tables.MarkList[static_cast<int>(i) + 1] = std::move(entries[i]);
    return 0;
}

int WriteMarkCache(const Folders& folders, const std::string& raceId, const std::vector<MarkEntry>& rows) {
    FieldWriter w;
    for (const auto& row : rows) w.quoted(row.UmaCode).quoted(std::string(TrimBlanks(row.Mark))).endLine();
    return writeUserFile(folders, '6', raceId, w, rows.empty());
}

RaceFilesRead LoadRaceFiles(const Folders& folders, const std::string& raceId, RaceTables& tables) {
    tables.clear();
    RaceFilesRead read;
    auto exists = [&](char kind) {
        auto path = RaceFilePath(folders, kind, raceId);
        std::error_code ec;
        return path && std::filesystem::exists(*path, ec);
    };
    if (exists('4')) {
        read.odds = ReadOddsCache(folders, raceId, tables.odds) == 0;
        if (!read.odds) tables.odds.clear();
    }
    if (exists('7')) {
        read.mining = ReadMiningCache(folders, raceId, tables.mining) == 0;
        if (!read.mining) tables.mining.clear();
    }
    if (exists('8')) {
        read.kekka = ReadKekkaCache(folders, raceId, tables.kekka) == 0;
        if (!read.kekka) tables.kekka.clear();
    }
    if (exists('5')) {
        read.kaime = ReadKaimeCache(folders, raceId, tables) == 0;
        if (!read.kaime) ClearKaimeData(tables);
    }
    if (exists('6')) {
        read.marks = ReadMarkCache(folders, raceId, tables) == 0;
        if (!read.marks) ClearMarkList(tables);
    }
    return read;
}

}  // namespace veltrix
