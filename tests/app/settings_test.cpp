#include "store/settings.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string_view>

#include "base/encoding.h"
#include "support/fake_host.h"

namespace veltrix {
namespace {

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
protected:
    fs::path file() const { return dir.path() / "VELTRIX.ctx"; }
    void write(const std::string& utf8) { test::WriteCp932(file(), utf8); }
    bool read(Settings& s) { return ReadSettings(s, dir.path(), &reason); }
    std::string bytes() const { return ReadFileBytes(file()).value_or("<missing>"); }
    test::TempDir dir;
    std::string reason;
};

// The build copies the delivered file next to the executables.
TEST_F(SettingsFile, DeliveredFileReadsWithItsDefaults) {
    Settings s;
    ASSERT_FALSE(ReadSettings(s, VELTRIX_BIN_DIR, &reason)) << reason;
    EXPECT_FALSE(s.AutoTuning);
    EXPECT_DOUBLE_EQ(s.RaceLevel, 0.30);
    EXPECT_DOUBLE_EQ(s.RaceZenhan, 0.40);
    EXPECT_DOUBLE_EQ(s.RaceKouhan, 0.60);
    EXPECT_DOUBLE_EQ(s.Pace, 0.10);
    EXPECT_EQ(s.Kikan, 600);
    for (double v : {s.TimeZenhan, s.TimeKouhan, s.RaceMd, s.Kisyu, s.Chokyo, s.Combi}) EXPECT_EQ(v, 0.0);
    EXPECT_EQ(s.KyoriWeight, (std::array<double, 7>{10, 20, 30, 50, 30, 20, 10}));
    for (const auto& m : s.Mark) EXPECT_FALSE(m.empty());
    EXPECT_EQ(s.Mark[0], "◎");
    EXPECT_EQ(s.Mark[14], "消");
}

TEST_F(SettingsFile, SectionsAndLinesWithoutEqualsAreSkipped) {
    write("[TuneInfo]\r\n\r\n; note\r\nPace=0.25\r\nKikan=300\r\n[Other]\r\nRaceMd= 1.5 \r\n");
    Settings s;
    ASSERT_FALSE(read(s)) << reason;
    EXPECT_DOUBLE_EQ(s.Pace, 0.25);
    EXPECT_EQ(s.Kikan, 300);
    EXPECT_DOUBLE_EQ(s.RaceMd, 1.5);
    EXPECT_EQ(s.RaceLevel, 0.0);  // no key: initial value
}

TEST_F(SettingsFile, AutoTuningIsOnOnlyForOne) {
    for (const char* v : {"0", "", "yes", " 1", "1 "}) {
        write(std::string("AutoTuning=") + v + "\r\n");
        Settings s;
        s.AutoTuning = true;
        ASSERT_FALSE(read(s)) << v;
        EXPECT_FALSE(s.AutoTuning) << v;
    }
    write("AutoTuning=1\r\n");
    Settings s;
    ASSERT_FALSE(read(s));
    EXPECT_TRUE(s.AutoTuning);
}

TEST_F(SettingsFile, KyoriWeightAndMarks) {
    write("KyoriWeight=10080604020100\r\nMark=◎○▲\r\n");
    Settings s;
    ASSERT_FALSE(read(s)) << reason;
    EXPECT_EQ(s.KyoriWeight, (std::array<double, 7>{10, 8, 6, 4, 2, 1, 0}));
    EXPECT_EQ(s.Mark[0], "◎");
    EXPECT_EQ(s.Mark[1], "○");
    EXPECT_EQ(s.Mark[2], "▲");
    for (int i = 3; i < 15; ++i) EXPECT_EQ(s.Mark[static_cast<size_t>(i)], "");
}

TEST_F(SettingsFile, EqualsInsideAValueIsKept) {
    write("Mark==◎=A\r\n");
    Settings s;
    ASSERT_FALSE(read(s)) << reason;
    EXPECT_EQ(s.Mark[0], "=");
    EXPECT_EQ(s.Mark[1], "◎");
    EXPECT_EQ(s.Mark[2], "=");
    EXPECT_EQ(s.Mark[3], "A");
}

TEST_F(SettingsFile, FailuresLeaveTheSettingsUnchanged) {
    const char* bad[] = {
        "pace=0.10",               // other letter case
        "Pace =0.10",              // the key is taken as it is
        "Unknown=1",               // not a settings key
        "Pace=abc",                // does not convert
        "Pace=",                   // empty is no number
        "Kikan=40000",             // beyond 16 bits
        "Kikan=x",                 //
        "KyoriWeight=1008060402",  // fewer than seven numbers
        "KyoriWeight=10080604020a0",
    };
    for (const char* line : bad) {
        write(std::string("[TuneInfo]\r\nRaceLevel=0.5\r\n") + line + "\r\n");
        Settings s;
        s.Pace = 9;
        reason.clear();
        EXPECT_TRUE(read(s)) << line;
        EXPECT_EQ(s.Pace, 9.0) << line;
        EXPECT_EQ(s.RaceLevel, 0.0) << line;
        // The user is told the file, the line and the key that failed.
        EXPECT_NE(reason.find(file().string()), std::string::npos) << reason;
        EXPECT_NE(reason.find("3 行目"), std::string::npos) << reason;
        const std::string_view key = std::string_view(line).substr(0, std::string_view(line).find('='));
        EXPECT_NE(reason.find("「" + std::string(key) + "」"), std::string::npos) << reason;
    }
    fs::remove(file());
    Settings s;
    EXPECT_TRUE(read(s));
    EXPECT_EQ(reason, "設定ファイル「" + file().string() + "」がありません。");
    fs::create_directory(file());  // there, but no file to read
    EXPECT_TRUE(read(s));
    EXPECT_EQ(reason, "設定ファイル「" + file().string() + "」を読み込めません。");
    fs::remove(file());
    ASSERT_TRUE(WriteFileBytes(file(), "Mark=\x82\r\n"));  // a cut double-byte character
    EXPECT_TRUE(read(s));
    EXPECT_NE(reason.find("Shift-JIS"), std::string::npos) << reason;
}

TEST_F(SettingsFile, KikanRoundsLikeTheIntegerConversion) {
    write("Kikan=600.5\r\n");
    Settings s;
    ASSERT_FALSE(read(s));
    EXPECT_EQ(s.Kikan, 600);  // half to even
    write("Kikan=-32768\r\n");
    ASSERT_FALSE(read(s));
    EXPECT_EQ(s.Kikan, -32768);
}

TEST_F(SettingsFile, WriteRewritesTheKeyInPlaceIgnoringCase) {
    write(
        "; tuned by "
        "hand\r\n[tuneinfo]\r\nRaceLevel=0.30\r\nPACE=0.10\r\nPace=0.77\r\n\r\n[Other]\r\nPace=1\r\n");
    ASSERT_EQ(WriteSetting(dir.path(), "TuneInfo", "Pace", "0.20"), 1);
    EXPECT_EQ(test::ReadCp932(file()),
              "; tuned by "
              "hand\r\n[tuneinfo]\r\nRaceLevel=0.30\r\nPace=0.20\r\nPace=0.77\r\n\r\n[Other]\r\nPace=1\r\n");
}

TEST_F(SettingsFile, WriteAddsMissingKeysAndSections) {
    write("[TuneInfo]\r\nRaceLevel=0.30\r\n\r\n[MarkInfo]\r\nMark=◎\r\n");
    ASSERT_EQ(WriteSetting(dir.path(), "TuneInfo", "Kikan", "300"), 1);
    ASSERT_EQ(WriteSetting(dir.path(), "New", "Combi", "0.10"), 1);
    ASSERT_EQ(WriteSetting(dir.path(), "MarkInfo", "Mark", "◎○"), 1);
    EXPECT_EQ(bytes(),
              "[TuneInfo]\r\nRaceLevel=0.30\r\nKikan=300\r\n\r\n[MarkInfo]\r\nMark=\x81\x9d\x81\x9b\r\n"
              "[New]\r\nCombi=0.10\r\n");
    Settings s;
    EXPECT_FALSE(read(s)) << reason;
    EXPECT_EQ(s.Kikan, 300);
    EXPECT_EQ(s.Mark[1], "○");
}

TEST_F(SettingsFile, WriteCreatesAMissingFileAndKeepsLoneLfLines) {
    ASSERT_EQ(WriteSetting(dir.path(), "TuneInfo", "Pace", "0.10"), 1);
    EXPECT_EQ(bytes(), "[TuneInfo]\r\nPace=0.10\r\n");
    ASSERT_TRUE(WriteFileBytes(file(), "[TuneInfo]\nPace=0.10"));
    ASSERT_EQ(WriteSetting(dir.path(), "TuneInfo", "Kisyu", "0.50"), 1);
    EXPECT_EQ(bytes(), "[TuneInfo]\r\nPace=0.10\r\nKisyu=0.50\r\n");
}

TEST_F(SettingsFile, WriteRefusesTextsItCannotStore) {
    write("[TuneInfo]\r\nPace=0.10\r\n");
    const std::string before = bytes();
    EXPECT_EQ(WriteSetting(dir.path(), "TuneInfo", "Pace", "\xF0\x9F\x90\x8E"), -1);  // no CP932 form
    EXPECT_EQ(WriteSetting(dir.path(), "TuneInfo", "Pace", "0.1\r\nX=1"), -1);
    EXPECT_EQ(WriteSetting(dir.path(), "TuneInfo", "", "1"), -1);
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(WriteSetting(dir.path() / "missing-folder", "TuneInfo", "Pace", "1"), 0);
}

TEST_F(SettingsFile, CrashBeforeTheRenameLeavesTheOldFileIntact) {
    write("[TuneInfo]\r\nPace=0.10\r\n");
    const std::string before = bytes();
    std::string seen;
    auto crash = [&](const fs::path& temporary) {
        seen = ReadFileBytes(temporary).value_or("");
        return false;
    };
    EXPECT_EQ(WriteSetting(dir.path(), "TuneInfo", "Pace", "0.90", crash), 0);
    EXPECT_EQ(seen, "[TuneInfo]\r\nPace=0.90\r\n");  // the new text was complete on disk
    EXPECT_EQ(bytes(), before);

    // A real crash leaves the temporary file behind; the next write still works.
    auto abort = [](const fs::path&) -> bool { throw std::runtime_error("power cut"); };
    EXPECT_THROW(WriteSetting(dir.path(), "TuneInfo", "Pace", "0.90", abort), std::runtime_error);
    EXPECT_EQ(bytes(), before);
    ASSERT_EQ(WriteSetting(dir.path(), "TuneInfo", "Pace", "0.30"), 1);
    EXPECT_EQ(bytes(), "[TuneInfo]\r\nPace=0.30\r\n");
}

}  // namespace
}  // namespace veltrix
