// The results database files: the state file, the race files and their reader,
// and the clean-up of the files of a day and later.
#include "store/results_db.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "support/fake_host.h"

namespace veltrix {
namespace {

namespace fs = std::filesystem;

class ResultsDbTest : public ::testing::Test {
protected:
    fs::path info() const { return dir.path() / "databaseinfo"; }
    std::string infoBytes() const { return ReadFileBytes(info()).value_or("(missing)"); }
    void writeInfo(const std::string& bytes) const { ASSERT_TRUE(WriteFileBytes(info(), bytes)); }
    // A race file with the given lines (UTF-8, CR LF added).
    fs::path writeRace(const std::string& raceId, const std::vector<std::string>& lines) const {
        fs::path p = dir.path() / raceId.substr(0, 4) / raceId;
        fs::create_directories(p.parent_path());
        std::string text;
        for (const auto& l : lines) text += l + "\r\n";
        test::WriteCp932(p, text);
        return p;
    }

    test::TempDir dir;
};

SeisekiRecord runner(int number, const std::string& name = "テストホース") {
    std::string n = (number < 10 ? "0" : "") + std::to_string(number);
    return {"1",      n,        "0",    name,  "1",        "03", "560", "480",  "+004",
            "騎手名", "調教師", "1345", "345", "01020304", n,    n,     "0123", n};
}

std::string line(const SeisekiRecord& r) {
    std::string out;
    for (const auto& f : r) out += (out.empty() ? "\"" : ",\"") + f + "\"";
    return out;
}

const std::string kSetupRecord = "\"20000105000000\",\"S\"\r\n";

TEST_F(ResultsDbTest, StateFileIsRepairedToTheSetUpRecordWhenItCannotServe) {
    // Missing, a short stamp, a stamp before 2000, a stamp with letters, a
    // record without its state, and a file that is not CP932 text.
    const std::vector<std::string> broken = {
        "",
        "\"000000\",\"N\"\r\n",
        "\"19991231000000\",\"N\"\r\n",
        "\"2009011900000X\",\"N\"\r\n",
        "\"20090119000000\"\r\n",
        "\"20090119000000\",\"\x82\"\r\n",
    };
    for (const auto& bytes : broken) {
        SCOPED_TRACE(bytes);
        if (bytes.empty())
            fs::remove(info());
        else
            writeInfo(bytes);
        DatabaseInfo got;
        ASSERT_EQ(ReadDatabaseInfo(dir.path(), got), 0);
        EXPECT_EQ(got.stamp, "20000105000000");
        EXPECT_EQ(got.state, "S");
        EXPECT_EQ(infoBytes(), kSetupRecord);
    }
}

TEST_F(ResultsDbTest, GoodStateFileIsReadAndLeftAlone) {
    writeInfo("\"20261214160001\",\"N\"\r\n");
    DatabaseInfo got;
    ASSERT_EQ(ReadDatabaseInfo(dir.path(), got), 0);
    EXPECT_EQ(got.stamp, "20261214160001");
    EXPECT_EQ(got.state, "N");
    EXPECT_EQ(infoBytes(), "\"20261214160001\",\"N\"\r\n");
}

TEST_F(ResultsDbTest, StateFileIsReplacedWholeAndFailuresAreReported) {
    ASSERT_EQ(WriteDatabaseInfo(dir.path(), "20090118000000", "S"), 0);
    EXPECT_EQ(infoBytes(), "\"20090118000000\",\"S\"\r\n");
    EXPECT_FALSE(fs::exists(dir.path() / "databaseinfo.tmp"));
    ASSERT_EQ(WriteResumePoint(dir.path(), "20090119", "N"), 0);
    EXPECT_EQ(infoBytes(), "\"20090119000000\",\"N\"\r\n");
    EXPECT_FALSE(fs::exists(dir.path() / "databaseinfo.tmp"));

    // A data folder that is not there: nothing can be written, and reading says so.
    const fs::path gone = dir.path() / "gone";
    EXPECT_EQ(WriteDatabaseInfo(gone, "20090118000000", "S"), -1);
    EXPECT_EQ(WriteResumePoint(gone, "20090118", "S"), -1);
    DatabaseInfo got;
    EXPECT_EQ(ReadDatabaseInfo(gone, got), -1);
}

TEST_F(ResultsDbTest, RaceFileIsAppendedInItsOwnYearsFolder) {
    const std::string january = "2009010406010101";
    EXPECT_EQ(SeisekiRaceFilePath(dir.path(), january), dir.path() / "2009" / january);
    const std::vector<SeisekiRecord> first = {runner(1), runner(2, "ＡＢＣ")};
    ASSERT_EQ(AppendSeisekiRaceFile(dir.path(), january, first), 0);
    const std::vector<SeisekiRecord> second = {runner(3)};
    ASSERT_EQ(AppendSeisekiRaceFile(dir.path(), january, second), 0);

    const auto bytes = ReadFileBytes(dir.path() / "2009" / january);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, *Utf8ToCp932(line(runner(1)) + "\r\n" + line(runner(2, "ＡＢＣ")) + "\r\n" +
                                   line(runner(3)) + "\r\n"));
    EXPECT_EQ(bytes->substr(0, 27),
              "\"1\",\"01\",\"0\",\"\x83\x65\x83\x58\x83\x67\x83\x7a\x81\x5b\x83\x58\"");
}

TEST_F(ResultsDbTest, OnlySixteenDigitRaceIdsNameFiles) {
    const std::vector<SeisekiRecord> one = {runner(1)};
    for (const std::string id : {"", "2009", "20090104060101011", "2009/../../x0101", "200901040601010A"}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(SeisekiRaceFilePath(dir.path(), id));
        EXPECT_EQ(AppendSeisekiRaceFile(dir.path(), id, one), -1);
        EXPECT_EQ(ReadSeisekiRaceFile(dir.path(), id).status, SeisekiFileStatus::Missing);
    }
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST_F(ResultsDbTest, ReaderTakesEveryRecordToTheEnd) {
    const std::string race = "2009011706010111";
    std::vector<SeisekiRecord> runners;
    for (int h = 1; h <= 30; ++h)
        runners.push_back(runner(h, h == 7 ? "ジャスタウェイメモリアルスペシャル" : "ウマ"));
    ASSERT_EQ(AppendSeisekiRaceFile(dir.path(), race, runners), 0);
    const SeisekiRaceFile got = ReadSeisekiRaceFile(dir.path(), race);
    EXPECT_EQ(got.status, SeisekiFileStatus::Read);
    EXPECT_EQ(got.runners, runners);

    // A race that was never written.
    EXPECT_EQ(ReadSeisekiRaceFile(dir.path(), "2009011706010112").status, SeisekiFileStatus::Missing);
    // An empty file holds no runners.
    writeRace("2009011706010113", {});
    const SeisekiRaceFile empty = ReadSeisekiRaceFile(dir.path(), "2009011706010113");
    EXPECT_EQ(empty.status, SeisekiFileStatus::Read);
    EXPECT_TRUE(empty.runners.empty());
}

TEST_F(ResultsDbTest, DamagedRaceFileIsReportedAndLeftInPlace) {
    std::vector<std::string> tooMany;
    for (int h = 1; h <= 31; ++h) tooMany.push_back(line(runner(h)));
    std::string seventeen = line(runner(1));
    seventeen.resize(seventeen.rfind(','));
    const std::string nineteen = line(runner(2)) + ",\"x\"";
    const struct {
        const char* raceId;
        std::vector<std::string> lines;
    } cases[] = {
        {"2009011706010101", tooMany},
        {"2009011706010102", {line(runner(1)), seventeen}},
        {"2009011706010103", {nineteen}},
        {"2009011706010104", {line(runner(1)), ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raceId);
        const fs::path p = writeRace(c.raceId, c.lines);
        const SeisekiRaceFile got = ReadSeisekiRaceFile(dir.path(), c.raceId);
        EXPECT_EQ(got.status, SeisekiFileStatus::Damaged);
        EXPECT_TRUE(got.runners.empty());
        EXPECT_TRUE(fs::exists(p));
    }
    // Bytes that are not CP932.
    const fs::path bad = dir.path() / "2009" / "2009011706010105";
    ASSERT_TRUE(WriteFileBytes(bad, "\"1\",\"\x82\"\r\n"));
    EXPECT_EQ(ReadSeisekiRaceFile(dir.path(), "2009011706010105").status, SeisekiFileStatus::Damaged);
    EXPECT_TRUE(fs::exists(bad));
}

TEST_F(ResultsDbTest, CleanUpTakesTheDayAndLaterOnly) {
    const std::vector<SeisekiRecord> one = {runner(1)};
    for (const std::string id :
         {"2008122806050801", "2009011706010101", "2009011806010201", "2009012406020101", "2010010506010101"})
        ASSERT_EQ(AppendSeisekiRaceFile(dir.path(), id, one), 0);
    // Files that are not race files of the folder's year stay.
    ASSERT_TRUE(WriteFileBytes(dir.path() / "2009" / "notes", "x"));
    ASSERT_TRUE(WriteFileBytes(dir.path() / "2009" / "2010010506010102", "x"));
    EXPECT_EQ(CountSeisekiRaceFiles(dir.path()), 5);

    ASSERT_EQ(DeleteSeisekiFilesFrom(dir.path(), "20090118"), 0);
    EXPECT_TRUE(fs::exists(dir.path() / "2008" / "2008122806050801"));
    EXPECT_TRUE(fs::exists(dir.path() / "2009" / "2009011706010101"));
    EXPECT_FALSE(fs::exists(dir.path() / "2009" / "2009011806010201"));
    EXPECT_FALSE(fs::exists(dir.path() / "2009" / "2009012406020101"));
    EXPECT_FALSE(fs::exists(dir.path() / "2010" / "2010010506010101"));
    EXPECT_TRUE(fs::exists(dir.path() / "2009" / "notes"));
    EXPECT_TRUE(fs::exists(dir.path() / "2009" / "2010010506010102"));
    EXPECT_EQ(CountSeisekiRaceFiles(dir.path()), 2);

    EXPECT_EQ(DeleteSeisekiFilesFrom(dir.path(), "2009011"), -1);
}

}  // namespace
}  // namespace veltrix
