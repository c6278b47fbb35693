#include "jvlink/standin/standin_jvlink.h"

#include <gtest/gtest.h>

#include "jvlink/session.h"
#include "standin_folder.h"

namespace veltrix::test {
namespace {

namespace fs = std::filesystem;

class StandinTest : public ::testing::Test {
protected:
    TempDir dir;
    fs::path jv = StandinFolder(dir.path());

    StandinJVLink make(StandinOptions o = {}) {
        StandinJVLink s(jv, std::move(o));
        s.JVInit(SoftwareId);
        return s;
    }

    struct Opened {
        int result, readCount, downloadCount;
        std::string last;
    };
    static Opened open(StandinJVLink& s, const std::string& spec, const std::string& from, int option) {
        Opened o{};
        o.result = s.JVOpen(spec, from, option, o.readCount, o.downloadCount, o.last);
        return o;
    }
};

std::vector<std::string> Drain(StandinJVLink& s, int size = kReadBufferStored) {
    std::vector<std::string> out;
    for (int guard = 0; guard < 10000; ++guard) {
        std::string b, f;
        int n = s.JVRead(b, size, f);
        if (n == 0) return out;
        if (n == -3) {
            s.JVStatus();
            continue;
        }
        if (n == -1) {
            out.push_back("|");
            continue;
        }
        if (n < 0) {
            out.push_back("E" + std::to_string(n));
            return out;
        }
        EXPECT_EQ(static_cast<std::size_t>(n), b.size());
        out.push_back(b);
    }
    ADD_FAILURE() << "read loop did not end";
    return out;
}

TEST_F(StandinTest, FromTimeFiltersPerOption) {
    WriteStored(jv, "RACE", "20250101090000", "a", {"RA1"});
    WriteStored(jv, "RACE", "20250102090000", "b", {"RA2"});
    WriteStored(jv, "RACE", "20250103090000", "c", {"RA3"});
    fs::create_directories(jv / "stored" / "RACE" / "notes");
    WriteCp932(jv / "stored" / "RACE" / "readme.txt", "not data\r\n");

    auto s = make();
    auto o = open(s, "RACE", "20250102090000", 1);  // strictly newer
    EXPECT_EQ(o.result, 0);
    EXPECT_EQ(o.readCount, 1);
    EXPECT_EQ(o.downloadCount, 1);
    EXPECT_EQ(o.last, "20250103090000");
    EXPECT_EQ(Drain(s), (std::vector<std::string>{"RA3\r\n", "|"}));
    s.JVClose();

    o = open(s, "RACE", "20250102090000", 3);  // set-up: from the given time on
    EXPECT_EQ(o.readCount, 2);
    EXPECT_EQ(Drain(s), (std::vector<std::string>{"RA2\r\n", "|", "RA3\r\n", "|"}));
    s.JVClose();

    o = open(s, "RACE", "20250103090000", 1);  // nothing newer
    EXPECT_EQ(o.result, kJVNoData);
    EXPECT_EQ(o.readCount, 0);
    EXPECT_FALSE(s.sessionOpen());
}

TEST_F(StandinTest, ThisWeekRunsFromTuesdayToMondayOfTheNewestFile) {
    // 2025-06-02 is a Monday (last week's results), 06-05 Thursday, 06-09 the next Monday.
    WriteStored(jv, "RACE", "20250602140000", "results", {"SE7"});
    WriteStored(jv, "RACE", "20250603000000", "tuesday", {"RA0"});
    WriteStored(jv, "RACE", "20250605200000", "entries", {"RA1"});
    WriteStored(jv, "RACE", "20250609140000", "results", {"SE8"});
    auto s = make();
    auto o = open(s, "RACE", "19860101000000", 2);
    EXPECT_EQ(o.result, 0);
    EXPECT_EQ(o.readCount, 3);
    EXPECT_EQ(Drain(s), (std::vector<std::string>{"RA0\r\n", "|", "RA1\r\n", "|", "SE8\r\n", "|"}));
    s.JVClose();
    // The from-time still applies within the week.
    o = open(s, "RACE", "20250605200000", 2);
    EXPECT_EQ(o.readCount, 1);
}

TEST_F(StandinTest, SeveralDataSpecsInOneOpenAreMergedInStampOrder) {
    WriteStored(jv, "RACE", "20250105000000", "r", {"RA"});
    WriteStored(jv, "TOKU", "20250104000000", "t", {"TK"});
    auto s = make();
    auto o = open(s, "RACETOKU", "19860101000000", 1);
    EXPECT_EQ(o.readCount, 2);
    EXPECT_EQ(Drain(s), (std::vector<std::string>{"TK\r\n", "|", "RA\r\n", "|"}));
}

TEST_F(StandinTest, OpenRejectsBadArgumentsAndUnknownData) {
    auto s = make();
    EXPECT_EQ(open(s, "../x", "19860101000000", 1).result, kJVBadDataSpec);
    EXPECT_EQ(open(s, "RAC", "19860101000000", 1).result, kJVBadDataSpec);
    EXPECT_EQ(open(s, "RACE", "1986", 1).result, kJVBadFromTime);
    EXPECT_EQ(open(s, "RACE", "19860101000000", 5).result, kJVBadOption);
    auto o = open(s, "ZZZZ", "19860101000000", 1);
    EXPECT_EQ(o.result, kJVNoData);
    EXPECT_EQ(o.readCount, 0);
    std::string b, f;
    EXPECT_EQ(s.JVRead(b, 100, f), kJVNotOpen);
    EXPECT_EQ(s.JVRTOpen("0B30", "../../etc"), kJVBadKey);
    EXPECT_EQ(s.JVRTOpen("0B30", "2025060605010101"), kJVNoData);
}

TEST_F(StandinTest, NoDataCanOpenAnEmptySessionInstead) {
    StandinOptions opt;
    opt.noDataResult = 0;
    auto s = make(opt);
    auto o = open(s, "RACE", "19860101000000", 2);
    EXPECT_EQ(o.result, 0);
    EXPECT_EQ(o.readCount, 0);
    EXPECT_EQ(o.downloadCount, 0);
    std::string b, f;
    EXPECT_EQ(s.JVRead(b, 100, f), 0);
}

TEST_F(StandinTest, InitialisationAndOneSessionAtATime) {
    WriteStored(jv, "RACE", "20250101000000", "a", {"RA"});
    StandinJVLink s(jv);
    int r, d;
    std::string l;
    EXPECT_EQ(s.JVOpen("RACE", "19860101000000", 1, r, d, l), kJVNotInitialised);
    EXPECT_EQ(s.JVMVCheck("2025010105010101"), kJVNotInitialised);
    EXPECT_EQ(s.JVInit(SoftwareId), 0);
    EXPECT_EQ(s.softwareId(), "QT517204/QT880913/VELTRIX/Ver.2.8.3");
    EXPECT_EQ(s.JVOpen("RACE", "19860101000000", 1, r, d, l), 0);
    EXPECT_EQ(s.JVOpen("RACE", "19860101000000", 1, r, d, l), kJVAlreadyOpen);
    EXPECT_EQ(s.JVClose(), 0);
    EXPECT_EQ(s.JVOpen("RACE", "19860101000000", 1, r, d, l), 0);

    StandinOptions noInit;
    noInit.requireInit = false;
    StandinJVLink t(jv, noInit);
    EXPECT_EQ(t.JVOpen("RACE", "19860101000000", 1, r, d, l), 0);
}

TEST_F(StandinTest, DownloadAdvancesOneFilePerStatusCall) {
    WriteStored(jv, "RACE", "20250101000000", "a", {"A1"});
    WriteStored(jv, "RACE", "20250102000000", "b", {"B1"});
    auto s = make();
    auto o = open(s, "RACE", "19860101000000", 1);
    EXPECT_EQ(o.downloadCount, 2);
    std::string b, f;
    EXPECT_EQ(s.JVRead(b, 100, f), -3);
    EXPECT_EQ(s.JVStatus(), 1);
    EXPECT_EQ(s.JVRead(b, 100, f), 4);  // the first file is here, the second is not
    EXPECT_EQ(s.JVRead(b, 100, f), -1);
    EXPECT_EQ(s.JVRead(b, 100, f), -3);
    EXPECT_EQ(s.JVStatus(), 2);
    EXPECT_EQ(s.JVStatus(), 2);  // stays at DownloadCount
    EXPECT_EQ(s.JVRead(b, 100, f), 4);
    EXPECT_EQ(b, "B1\r\n");
    s.JVClose();
    EXPECT_EQ(s.JVStatus(), kJVNotOpen);

    StandinOptions fast;
    fast.simulateDownload = false;
    auto t = make(fast);
    o = open(t, "RACE", "19860101000000", 1);
    EXPECT_EQ(o.readCount, 2);
    EXPECT_EQ(o.downloadCount, 0);
    EXPECT_EQ(t.JVRead(b, 100, f), 4);
}

TEST_F(StandinTest, RecordsSwitchesSkipSizesAndStamps) {
    // A double-byte record: its length is counted in CP932 bytes.
    WriteStored(jv, "RACE", "20250101000000", "a", {"RAあいう", "XX", "RA2"});
    WriteStored(jv, "RACE", "20250102000000", "b", {});
    WriteStored(jv, "RACE", "20250103000000", "c", {std::string(2100, 'S')});
    StandinOptions fast;
    fast.simulateDownload = false;
    auto s = make(fast);
    open(s, "RACE", "19860101000000", 1);
    EXPECT_EQ(s.TotalReadFilesize(), 3);  // 19 + 0 + 2102 bytes, in started 1024-byte units
    EXPECT_EQ(s.CurrentFileTimeStamp(), "");

    std::string b, f;
    EXPECT_EQ(s.JVRead(b, kReadBufferStored, f), 10);
    EXPECT_EQ(b, *Utf8ToCp932("RAあいう\r\n"));
    EXPECT_EQ(f, "20250101000000_a.txt");
    EXPECT_EQ(s.CurrentFileTimeStamp(), "20250101000000");
    EXPECT_EQ(s.JVSkip(), 0);  // the rest of the file: "XX" and "RA2"
    EXPECT_EQ(s.JVRead(b, kReadBufferStored, f), -1);
    EXPECT_EQ(s.JVRead(b, kReadBufferStored, f), -1);  // the empty file
    EXPECT_EQ(s.CurrentFileTimeStamp(), "20250102000000");
    // A buffer too small cuts the record; its last byte is the terminator.
    EXPECT_EQ(s.JVRead(b, 100, f), 99);
    EXPECT_EQ(b, std::string(99, 'S'));
    EXPECT_EQ(s.JVRead(b, 100, f), -1);
    EXPECT_EQ(s.JVRead(b, 100, f), 0);
    EXPECT_EQ(s.JVRead(b, 100, f), 0);
    EXPECT_EQ(s.CurrentFileTimeStamp(), "20250103000000");
}

// Records end at CR LF only: a bare LF or CR is a byte of its record, a lone
// CR LF carries none, and bytes after the last CR LF are one last record.
TEST_F(StandinTest, RecordsEndAtCrLfOnly) {
    auto dir = jv / "stored" / "RACE";
    fs::create_directories(dir);
    ASSERT_TRUE(WriteFileBytes(dir / "20250101000000_a.txt", "SE1\nname\r\n\r\nSE2\rx\r\n\n\r\r\nSE3\n"));
    ASSERT_TRUE(WriteFileBytes(dir / "20250102000000_b.txt", "RA1\nRA2\nRA3\n"));
    StandinOptions fast;
    fast.simulateDownload = false;
    auto s = make(fast);
    open(s, "RACE", "19860101000000", 1);
    EXPECT_EQ(Drain(s), (std::vector<std::string>{"SE1\nname\r\n", "SE2\rx\r\n", "\n\r\r\n", "SE3\n", "|",
                                                  "RA1\nRA2\nRA3\n", "|"}));
}

TEST_F(StandinTest, FaultSwitches) {
    WriteStored(jv, "RACE", "20250101000000", "a", {"A1", "A2", "A3"});
    StandinOptions opt;
    opt.simulateDownload = false;
    opt.faults.busyBeforeRecords = true;
    opt.faults.readFailureCode = -402;
    opt.faults.readFailureAt = 4;
    opt.faults.setUIPropertiesResult = -100;
    auto s = make(opt);
    EXPECT_EQ(s.JVSetUIProperties(), -100);
    open(s, "RACE", "19860101000000", 1);
    std::string b, f;
    EXPECT_EQ(s.JVRead(b, 100, f), -3);
    EXPECT_EQ(s.JVRead(b, 100, f), 4);
    EXPECT_EQ(s.JVRead(b, 100, f), -3);
    EXPECT_EQ(s.JVRead(b, 100, f), -402);
    s.JVClose();

    StandinOptions st;
    st.faults.statusFailureCode = kJVDownloadFailed;
    st.faults.statusFailureAfter = 1;
    st.faults.notInitialisedOpens = 1;
    auto t = make(st);
    EXPECT_EQ(open(t, "RACE", "19860101000000", 1).result, kJVNotInitialised);
    EXPECT_EQ(open(t, "RACE", "19860101000000", 1).result, 0);
    EXPECT_EQ(t.JVStatus(), 1);
    EXPECT_EQ(t.JVStatus(), kJVDownloadFailed);

    StandinOptions in;
    in.faults.initResult = -101;
    StandinJVLink u(jv, in);
    EXPECT_EQ(u.JVInit(SoftwareId), -101);
    int r, d;
    std::string l;
    EXPECT_EQ(u.JVOpen("RACE", "19860101000000", 1, r, d, l), kJVNotInitialised);
}

TEST_F(StandinTest, RealTimeDataIsOneFileReadAtOnce) {
    WriteRealTime(jv, "0B30", "2025060605010101", {"O1x", "O2x"});
    auto s = make();
    EXPECT_EQ(s.JVRTOpen("0B30", "2025060605010101"), 0);
    EXPECT_EQ(Drain(s), (std::vector<std::string>{"O1x\r\n", "O2x\r\n", "|"}));
    EXPECT_EQ(s.JVClose(), 0);
    EXPECT_EQ(s.JVRTOpen("0B13", "2025060605010101"), kJVNoData);
}

TEST_F(StandinTest, RaceVideoCheckAndPlay) {
    const std::string id = "2025060605010111";
    fs::create_directories(jv / "video");
    WriteCp932(jv / "video" / (id + ".mp4"), "video");
    std::vector<fs::path> opened;
    StandinOptions opt;
    opt.videoOpener = [&](const fs::path& p) {
        opened.push_back(p);
        return true;
    };
    auto s = make(opt);
    EXPECT_EQ(s.JVMVCheck(id), 1);
    EXPECT_EQ(s.JVMVCheck("2025060605010112"), 0);
    EXPECT_EQ(s.JVMVCheck("../video/x"), kJVBadKey);
    EXPECT_EQ(s.JVMVPlay(id), 0);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], jv / "video" / (id + ".mp4"));
    EXPECT_EQ(s.JVMVPlay("2025060605010112"), kJVNoData);
    s.setVideoOpener([](const fs::path&) { return false; });
    EXPECT_EQ(s.JVMVPlay(id), kJVVideoNotStarted);
}

}  // namespace
}  // namespace veltrix::test
