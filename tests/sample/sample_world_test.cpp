#include "sample/sample_world.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

#include "jvlink/records.h"
#include "sample/record_writer.h"
#include "base/encoding.h"
#include "support/fake_host.h"

namespace veltrix::sample {
namespace {

namespace fs = std::filesystem;

// Parses every record as it is written and compares it with the model it was
// written from; keeps what each file should hold and tallies the contents.
class Checker : public RecordObserver {
public:
    std::map<fs::path, std::string> files;
    fs::path current;
    int mismatches = 0;
    std::map<std::string, int> byTypeAndCategory;  // "SE7" -> count
    std::set<std::string> abnormalities;
    std::set<std::string> courses;
    std::set<std::string> cancelled;  // odds texts meaning not on sale
    int noVotes = 0;
    int names18 = 0;
    int bigRegistrations = 0;
    int jumpRegistrations = 0;
    std::map<std::string, std::set<std::string>> runCategories;  // UmaCode+race id -> categories of past runs
    std::map<std::string, int> runDeliveries;

    void onFile(const fs::path& file) override {
        current = file;
        files[file];
    }
    template <class R, class P>
    void check(const R& model, std::string_view bytes, P parse) {
        files[current] += bytes;
        auto parsed = parse(bytes);
        if (!parsed || !(*parsed == model)) ++mismatches;
        EXPECT_EQ(bytes.size(), RecordLength(RecordTraits<R>::type));
        ++byTypeAndCategory[model.recordType + model.dataCategory];
    }
    void onRecord(const RaRecord& m, std::string_view b) override {
        check(m, b, ParseRA);
        courses.insert(m.courseCode);
    }
    void onRecord(const SeRecord& m, std::string_view b) override {
        check(m, b, ParseSE);
        if (m.dataCategory == "7" || m.dataCategory == "A") {
            abnormalities.insert(m.abnormality);
            if (current.parent_path().filename() != "RACE") {
                runCategories[m.umaCode + m.raceId()].insert(m.dataCategory);
                ++runDeliveries[m.umaCode + m.raceId()];
            }
        }
        if (m.horseName.find("\u3000") == std::string::npos && m.horseName.size() == 54) ++names18;
    }
    void onRecord(const TkRecord& m, std::string_view b) override {
        check(m, b, ParseTK);
        const auto horses = RegisteredHorses(m);
        EXPECT_EQ(std::to_string(horses.size()), std::to_string(std::stoi(m.registeredCount)));
        if (horses.size() >= 100) ++bigRegistrations;
        const int track = std::stoi(m.trackCode);
        if (track >= 51 && track <= 59) ++jumpRegistrations;
    }
    void onRecord(const O1Record& m, std::string_view b) override {
        check(m, b, ParseO1);
        for (const auto& e : m.win)
            if (!e.odds.empty() && (e.odds[0] == '-' || e.odds[0] == '*')) cancelled.insert(e.odds);
    }
    void onRecord(const O2Record& m, std::string_view b) override { check(m, b, ParseO2); }
    void onRecord(const O3Record& m, std::string_view b) override { check(m, b, ParseO3); }
    void onRecord(const O4Record& m, std::string_view b) override { check(m, b, ParseO4); }
    void onRecord(const O5Record& m, std::string_view b) override { check(m, b, ParseO5); }
    void onRecord(const O6Record& m, std::string_view b) override {
        // Check the big one through the heap.
        files[current] += b;
        auto parsed = std::make_unique<std::optional<O6Record>>(ParseO6(b));
        if (!*parsed || !(**parsed == m)) ++mismatches;
        EXPECT_EQ(b.size(), kO6Length);
        ++byTypeAndCategory[m.recordType + m.dataCategory];
        for (const auto& e : m.entries) {
            if (e.odds == "0000000") ++noVotes;
            if (!e.odds.empty() && (e.odds[0] == '-' || e.odds[0] == '*')) cancelled.insert(e.odds);
        }
    }
    void onRecord(const DmRecord& m, std::string_view b) override { check(m, b, ParseDM); }
};

SampleOptions smallWorld(std::uint32_t seed) {
    SampleOptions o;
    o.seed = seed;
    o.small = true;
    o.resultsYears = 1;
    return o;
}

std::map<std::string, std::string> readTree(const fs::path& root) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (e.is_regular_file()) out[fs::relative(e.path(), root).generic_string()] = *ReadFileBytes(e.path());
    }
    return out;
}

TEST(SampleWorld, EveryRecordWrittenParsesBackToItsModel) {
    test::TempDir dir;
    Checker c;
    const SampleWorld world = GenerateSampleWorld(dir.path() / "jvlink", smallWorld(7), &c);
    EXPECT_EQ(c.mismatches, 0);

    // The files hold exactly the records seen, one a line.
    EXPECT_EQ(static_cast<int>(c.files.size()), world.files);
    for (const auto& [path, bytes] : c.files) {
        auto onDisk = ReadFileBytes(path);
        ASSERT_TRUE(onDisk) << path;
        EXPECT_TRUE(*onDisk == bytes) << path;
    }

    // The week: 72 racecards with their runners, under the stand-in's layout.
    EXPECT_EQ(world.weekRaceIds.size(), 72u);
    EXPECT_EQ(c.byTypeAndCategory["RA2"], 72);
    EXPECT_EQ(c.byTypeAndCategory["SE2"], static_cast<int>(world.weekRunners.size()));
    for (const auto& id : world.weekRaceIds) {
        EXPECT_TRUE(fs::exists(dir.path() / "jvlink" / "realtime" / "0B30" / (id + ".txt"))) << id;
        EXPECT_TRUE(fs::exists(dir.path() / "jvlink" / "realtime" / "0B13" / (id + ".txt"))) << id;
    }
    EXPECT_GT(c.byTypeAndCategory["SE5"], 0);
    EXPECT_GT(c.byTypeAndCategory["SE6"], 0);
    EXPECT_GT(c.byTypeAndCategory["SE7"], 0);
    EXPECT_GT(c.byTypeAndCategory["SEA"], 0);
    EXPECT_GT(c.byTypeAndCategory["TK1"], 0);
    EXPECT_GT(c.byTypeAndCategory["TK2"], 0);
    EXPECT_EQ(c.byTypeAndCategory["O61"] + c.byTypeAndCategory["O64"], 72);

    // The awkward cases the imports must handle are all there.
    EXPECT_EQ(c.abnormalities, (std::set<std::string>{"0", "1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_TRUE(c.courses.count("44") || c.courses.count("45") || c.courses.count("30") ||
                c.courses.count("35") || c.courses.count("42") || c.courses.count("43") ||
                c.courses.count("46") || c.courses.count("47") || c.courses.count("48") ||
                c.courses.count("50") || c.courses.count("54") || c.courses.count("55") ||
                c.courses.count("36") || c.courses.count("51"));
    EXPECT_GT(c.names18, 0);
    EXPECT_GE(c.bigRegistrations, 2);
    EXPECT_GE(c.jumpRegistrations, 1);
    EXPECT_GT(c.noVotes, 0);
    int bothCategories = 0, twice = 0;
    for (const auto& [key, cats] : c.runCategories) bothCategories += cats.size() == 2;
    for (const auto& [key, n] : c.runDeliveries) twice += n >= 2;
    EXPECT_GT(bothCategories, 0);
    EXPECT_GT(twice, bothCategories);
    bool longCareer = false;
    for (const auto& h : world.horses) longCareer = longCareer || h.pastRaceIds.size() > 150;
    EXPECT_TRUE(longCareer);
    // Every past run the metadata lists was delivered.
    for (const auto& h : world.horses)
        for (const auto& id : h.pastRaceIds)
            EXPECT_TRUE(c.runDeliveries.count(h.umaCode + id)) << h.umaCode << id;
}

// Keeps the records of each folder for checks across records.
class Collector : public RecordObserver {
public:
    std::string folder;  // data spec or real-time key folder
    std::map<std::string, std::vector<RaRecord>> ra;
    std::map<std::string, std::vector<SeRecord>> se;
    std::vector<TkRecord> tk;
    std::vector<O2Record> o2;
    void onFile(const fs::path& file) override { folder = file.parent_path().filename().string(); }
    void onRecord(const RaRecord& m, std::string_view) override { ra[folder].push_back(m); }
    void onRecord(const SeRecord& m, std::string_view) override { se[folder].push_back(m); }
    void onRecord(const TkRecord& m, std::string_view) override { tk.push_back(m); }
    void onRecord(const O1Record&, std::string_view) override {}
    void onRecord(const O2Record& m, std::string_view) override { o2.push_back(m); }
    void onRecord(const O3Record&, std::string_view) override {}
    void onRecord(const O4Record&, std::string_view) override {}
    void onRecord(const O5Record&, std::string_view) override {}
    void onRecord(const O6Record&, std::string_view) override {}
    void onRecord(const DmRecord&, std::string_view) override {}
};

std::string trimmed(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    while (s.size() >= 3 && s.compare(s.size() - 3, 3, "\u3000") == 0) s.resize(s.size() - 3);
    return s;
}

TEST(SampleWorld, RecordsHangTogetherAsTheImportsNeed) {
    test::TempDir dir;
    Collector c;
    SampleOptions o = smallWorld(11);
    o.resultsYears = 0;
    const SampleWorld world = GenerateSampleWorld(dir.path(), o, &c);

    // The metadata names the same horses the records carry.
    ASSERT_EQ(world.weekRunners.size(), c.se["RACE"].size());
    for (std::size_t k = 0; k < world.weekRunners.size(); ++k) {
        const auto& e = world.weekRunners[k];
        const auto& s = c.se["RACE"][k];
        EXPECT_EQ(e.raceId, s.raceId());
        EXPECT_EQ(e.number, s.horseNumber);
        EXPECT_EQ(world.horses[e.horse].umaCode, s.umaCode);
    }
    std::size_t block = 0;
    for (const auto& t : c.tk) {
        for (const auto& h : RegisteredHorses(t)) {
            ASSERT_LT(block, world.tokuEntries.size());
            const auto& e = world.tokuEntries[block++];
            EXPECT_EQ(e.raceId, t.raceId());
            EXPECT_EQ(e.number, h.sequence);
            EXPECT_EQ(world.horses[e.horse].umaCode, h.umaCode);
        }
    }
    EXPECT_EQ(block, world.tokuEntries.size());

    // Every past run has its race in the same delivery, or the past-run
    // expansion of the import fails.
    for (const char* spec : {"RCOV", "TCOV"}) {
        std::set<std::string> races;
        for (const auto& r : c.ra[spec]) races.insert(r.raceId());
        ASSERT_FALSE(c.se[spec].empty()) << spec;
        for (const auto& s : c.se[spec]) EXPECT_TRUE(races.count(s.raceId())) << spec << " " << s.raceId();
    }

    // Racecards: the registered count matches the runners, horse numbers run
    // 1..n, frames never go down and stay within 1..8.
    std::map<std::string, std::vector<const SeRecord*>> runners;
    for (const auto& s : c.se["RACE"]) runners[s.raceId()].push_back(&s);
    ASSERT_EQ(c.ra["RACE"].size(), 72u);
    for (const auto& r : c.ra["RACE"]) {
        const auto& list = runners[r.raceId()];
        ASSERT_EQ(std::to_string(list.size()), std::to_string(std::stoi(r.registeredCount))) << r.raceId();
        int frame = 1;
        for (std::size_t i = 0; i < list.size(); ++i) {
            EXPECT_EQ(list[i]->horseNumber, (i < 9 ? "0" : "") + std::to_string(i + 1));
            const int f = std::stoi(list[i]->frameNumber);
            EXPECT_GE(f, frame);
            EXPECT_LE(f, 8);
            frame = f;
        }
        if (list.size() <= 8) {
            EXPECT_EQ(list.back()->frameNumber, std::to_string(list.size()));
        }
    }

    // Registrations include the race's runners under the same codes and names.
    ASSERT_FALSE(c.tk.empty());
    for (const auto& t : c.tk) {
        std::map<std::string, std::string> registered;
        for (const auto& h : RegisteredHorses(t)) registered[h.umaCode] = h.horseName;
        for (const auto* s : runners[t.raceId()]) {
            ASSERT_TRUE(registered.count(s->umaCode)) << t.raceId();
            EXPECT_EQ(registered[s->umaCode], s->horseName);
            EXPECT_FALSE(trimmed(s->horseName).empty());
        }
    }

    // Odds slots are positional: slot k of the quinella is the k-th pair of
    // 1..18, blank when a number is above the field.
    for (const auto& q : c.o2) {
        const int n = std::stoi(q.registeredCount);
        std::size_t k = 0;
        for (int a = 1; a <= 18; ++a) {
            for (int b = a + 1; b <= 18; ++b, ++k) {
                const auto& e = q.entries[k];
                if (b > n) {
                    EXPECT_EQ(e.combination, "    ");
                    EXPECT_EQ(e.odds, "      ");
                } else {
                    char comb[5];
                    std::snprintf(comb, sizeof comb, "%02d%02d", a, b);
                    EXPECT_EQ(e.combination, comb);
                }
            }
        }
    }
}

TEST(SampleWorld, SameSeedSameBytesOtherSeedOtherWorld) {
    test::TempDir a, b, other;
    SampleOptions o = smallWorld(3);
    o.resultsYears = 0;
    GenerateSampleWorld(a.path(), o);
    GenerateSampleWorld(b.path(), o);
    o.seed = 4;
    GenerateSampleWorld(other.path(), o);
    const auto ta = readTree(a.path());
    EXPECT_TRUE(ta == readTree(b.path()));
    EXPECT_FALSE(ta == readTree(other.path()));
}

TEST(SampleWorld, ProgramFolderHasSettingsEmptyStoreAndStandIn) {
    test::TempDir dir;
    SampleOptions o = smallWorld(1);
    o.resultsYears = 0;
    WriteSampleProgramFolder(dir.path(), o);
    EXPECT_TRUE(fs::is_directory(dir.path() / "cache"));
    EXPECT_TRUE(fs::is_empty(dir.path() / "cache"));
    EXPECT_TRUE(fs::is_empty(dir.path() / "data"));
    EXPECT_TRUE(fs::is_directory(dir.path() / "jvlink" / "stored" / "RCOV"));
    EXPECT_EQ(*ReadFileBytes(dir.path() / "VELTRIX.ctx"), std::string(DefaultSettingsFile()));
}

TEST(SampleWorld, BuiltInSettingsFileIsTheDeliveredOne) {
    auto delivered = ReadFileBytes(
        (fs::path(VELTRIX_TEST_DATA) / ".." / ".." / "dist" / "VELTRIX.ctx").lexically_normal());
    ASSERT_TRUE(delivered);
    EXPECT_EQ(*delivered, std::string(DefaultSettingsFile()));
}

TEST(RecordWriter, FieldsOfTheWrongWidthAreNeverWritten) {
    SeRecord se = BlankSE();
    EXPECT_EQ(WriteRecord(se).size(), kSeLength);
    EXPECT_EQ(*ParseSE(WriteRecord(se)), se);
    se.horseNumber = "1";
    EXPECT_THROW(WriteRecord(se), std::logic_error);
    se = BlankSE();
    se.horseName = PadFull("アイウ", 36);
    EXPECT_EQ(*ParseSE(WriteRecord(se)), se);
    se.horseName = "アイウ";  // not padded
    EXPECT_THROW(WriteRecord(se), std::logic_error);
    EXPECT_THROW(PadFull("アイウエオカキクケコサシスセソタチツテ", 36), std::logic_error);  // 19 characters
    EXPECT_EQ(PadFull("ア", 5), "ア\u3000 ");  // an odd width ends in a half-width space
    EXPECT_THROW(Num(100, 2), std::logic_error);
    EXPECT_EQ(Num(7, 3), "007");
}

TEST(RecordWriter, BlankRecordsCarryTheInitialFills) {
    const std::string ra = WriteRecord(BlankRA());
    EXPECT_EQ(ra.substr(32, 2), "\x81\x40");  // race name: full-width spaces
    EXPECT_EQ(ra.substr(212, 1), " ");        // roman name: spaces
    EXPECT_EQ(ra.substr(697, 4), "0000");     // distance: zeros
    EXPECT_EQ(ra.substr(981, 2), "00");       // corner block: "00" and 70 spaces
    EXPECT_EQ(ra.substr(983, 70), std::string(70, ' '));
    const std::string se = WriteRecord(BlankSE());
    EXPECT_EQ(se.substr(324, 7), std::string(7, ' '));  // body weight until weighed
    EXPECT_EQ(se.substr(393, 10), "0000000000");        // opponent blood reg
    EXPECT_EQ(se.substr(403, 2), "\x81\x40");
    const std::string tk = WriteRecord(BlankTK());
    EXPECT_EQ(tk.substr(655, 70 * 300), std::string(70 * 300, ' '));
    const std::string dm = WriteRecord(BlankDM());
    EXPECT_EQ(dm.substr(31, 270), std::string(270, ' '));
    EXPECT_EQ(WriteRecord(BlankO6()).size(), kO6Length);
}

}  // namespace
}  // namespace veltrix::sample
