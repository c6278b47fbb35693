// The COM binding against the test server (tools/test_jvlink_com), which serves
// a stand-in folder through IDispatch: whatever the binding hands on must be
// what the stand-in gives directly.
#include "jvlink/com_jvlink.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <tuple>
#include <vector>

#include "jvlink/records.h"
#include "jvlink/session.h"
#include "jvlink/standin/standin_jvlink.h"
#include "sample/record_writer.h"
#include "jvlink/standin_folder.h"

namespace veltrix::test {
namespace {

namespace fs = std::filesystem;
constexpr const char* kTestProgId = "VELTRIX.TestJVLink";

// The server registers itself from the build folder, as regsvr32 would have it.
void RegisterTestServer() {
    static const bool registered = [] {
        HMODULE dll = LoadLibraryA(VELTRIX_TEST_JVLINK_DLL);
        if (!dll) return false;
        // Through a plain function pointer type: FARPROC's own type says nothing of the export's.
        auto reg = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
            reinterpret_cast<void (*)()>(GetProcAddress(dll, "DllRegisterServer")));
        return reg && SUCCEEDED(reg());
    }();
    ASSERT_TRUE(registered) << "cannot register " << VELTRIX_TEST_JVLINK_DLL;
}

struct Read {
    int result;
    std::string bytes, fileName;
    bool operator==(const Read&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Read& r) {
    return out << r.result << " (" << r.bytes.size() << " bytes, " << r.fileName << ")";
}

// Every JVRead result of a session up to 0 (or a failure), with what came with it.
std::vector<Read> drain(JVLink& jv, int size = kReadBufferStored) {
    std::vector<Read> out;
    for (int guard = 0; guard < 100000; ++guard) {
        Read r;
        r.result = jv.JVRead(r.bytes, size, r.fileName);
        if (r.result == -3) continue;
        if (r.result <= 0) r.bytes.clear();
        out.push_back(r);
        if (r.result == 0 || r.result < -1) break;
    }
    return out;
}

// A race with a double-byte name whose CP932 form has 0x5C trail bytes
// (ソ, 表), an IBM extension kanji and a circled number.
std::string raRecord() {
    RaRecord r = sample::BlankRA();
    r.year = "2025";
    r.monthDay = "0105";
    r.courseCode = "06";
    r.meeting = "01";
    r.day = "01";
    r.raceNumber = "11";
    r.raceName = sample::PadFull("ソ表髙①ステークス", 60);
    return sample::WriteRecord(r);
}

// A special registration of 22 horses, each with a double-byte name.
std::string tkRecord() {
    TkRecord r = sample::BlankTK();
    r.year = "2025";
    r.monthDay = "0105";
    r.courseCode = "06";
    r.meeting = "01";
    r.day = "01";
    r.raceNumber = "11";
    r.raceName = sample::PadFull("ニューイヤーＳ", 60);
    r.registeredCount = sample::Num(22, 3);
    for (int n = 0; n < 22; ++n) {
        TkHorse& h = r.horses[static_cast<std::size_t>(n)];
        h.sequence = sample::Num(n + 1, 3);
        h.umaCode = "20201000" + sample::Num(n + 1, 2);
        h.horseName = sample::PadFull("ソウルラッシュ表" + std::to_string(n), 36);
        h.horseSymbol = "00";
        h.sexCode = "1";
        h.eastWest = "1";
        h.trainerCode = "01002";
        h.trainerName = sample::PadFull("髙橋", 8);
        h.weightCarried = "560";
        h.exchange = "0";
    }
    return sample::WriteRecord(r);
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

class ComJVLinkTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        RegisterTestServer();
        writeBytes(folder / "stored" / "RACE" / "20250103120000_ra.txt", raRecord() + raRecord());
        writeBytes(folder / "stored" / "TOKU" / "20250104090000_tk.txt", tkRecord());
        writeBytes(folder / "stored" / "TOKU" / "20250104100000_tk2.txt", tkRecord() + "\r\n" + tkRecord());
        WriteRealTime(folder, "0B12", "2025010506011111", {"SE1", "SE2"});
        writeBytes(folder / "video" / "2025010506011111.mp4", "video");
        SetEnvironmentVariableW(L"VELTRIX_TEST_JVLINK", folder.wstring().c_str());
        SetEnvironmentVariableW(L"VELTRIX_TEST_JVLINK_NO_JVGETS", GetParam() ? nullptr : L"1");
    }

    // The binding over the test server, reading with JVGets or (hidden) JVRead.
    std::unique_ptr<ComJVLink> create() {
        std::string reason;
        auto com = ComJVLink::Create(kTestProgId, reason);
        EXPECT_NE(com, nullptr) << reason;
        if (com) {
            EXPECT_EQ(com->readsBytes(), GetParam());
        }
        return com;
    }

    TempDir dir;
    fs::path folder = dir.path() / "jvlink";
};

TEST_P(ComJVLinkTest, RecordsPassThroughUnchangedInBytesAndLength) {
    auto com = create();
    ASSERT_NE(com, nullptr);
    StandinJVLink direct(folder);
    for (JVLink* jv : {static_cast<JVLink*>(com.get()), static_cast<JVLink*>(&direct)})
        ASSERT_EQ(jv->JVInit(SoftwareId), 0);

    for (const char* spec : {"RACE", "TOKU"}) {
        int reads[2], downloads[2];
        std::string last[2];
        ASSERT_EQ(com->JVOpen(spec, "19860101000000", 3, reads[0], downloads[0], last[0]), 0);
        ASSERT_EQ(direct.JVOpen(spec, "19860101000000", 3, reads[1], downloads[1], last[1]), 0);
        EXPECT_EQ(reads[0], reads[1]);
        EXPECT_EQ(downloads[0], downloads[1]);
        EXPECT_EQ(last[0], last[1]);
        EXPECT_EQ(com->TotalReadFilesize(), direct.TotalReadFilesize());
        for (int i = 0; i < downloads[1]; ++i) EXPECT_EQ(com->JVStatus(), direct.JVStatus());
        const std::vector<Read> got = drain(*com), expected = drain(direct);
        EXPECT_EQ(got, expected) << spec;
        EXPECT_EQ(com->CurrentFileTimeStamp(), direct.CurrentFileTimeStamp());
        EXPECT_EQ(com->JVClose(), 0);
        direct.JVClose();
    }
    // The records themselves, not only the same as the stand-in's.
    int reads = 0, downloads = 0;
    std::string last;
    ASSERT_EQ(com->JVOpen("TOKU", "20250104000000", 1, reads, downloads, last), 0);
    while (com->JVStatus() < downloads) {
    }
    std::vector<Read> tk = drain(*com);
    ASSERT_EQ(tk.size(), 6u);  // record, -1, record, record, -1, 0
    for (int i : {0, 2, 3}) {
        EXPECT_EQ(tk[i].result, static_cast<int>(kTkLength));
        EXPECT_EQ(tk[i].bytes, tkRecord());
        auto parsed = ParseTK(tk[i].bytes);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(RegisteredHorses(*parsed).size(), 22u);
    }
    com->JVClose();
    ASSERT_EQ(com->JVOpen("RACE", "20250101000000", 1, reads, downloads, last), 0);
    while (com->JVStatus() < downloads) {
    }
    std::vector<Read> ra = drain(*com);
    ASSERT_GE(ra.size(), 1u);
    EXPECT_EQ(ra[0].result, static_cast<int>(kRaLength));
    EXPECT_EQ(ra[0].bytes, raRecord());
    EXPECT_EQ(ra[0].fileName, "20250103120000_ra.txt");
    com->JVClose();
}

TEST_P(ComJVLinkTest, EveryOtherOperationGivesTheComponentsResults) {
    auto com = create();
    ASSERT_NE(com, nullptr);
    int reads = 0, downloads = 0;
    std::string last = "x";
    // Before JVInit the component's own -201 comes through.
    EXPECT_EQ(com->JVOpen("RACE", "19860101000000", 2, reads, downloads, last), kJVNotInitialised);
    EXPECT_EQ(com->JVMVCheck("2025010506011111"), kJVNotInitialised);
    ASSERT_EQ(com->JVInit(SoftwareId), 0);
    EXPECT_EQ(com->JVSetUIProperties(), 0);
    EXPECT_EQ(com->JVOpen("RACE", "20250201000000", 1, reads, downloads, last), kJVNoData);
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(last, "");
    EXPECT_EQ(com->JVOpen("RA", "20250201000000", 1, reads, downloads, last), kJVBadDataSpec);
    EXPECT_EQ(com->JVStatus(), kJVNotOpen);

    // Real-time data: no download, read at once; JVSkip drops the rest of the file.
    ASSERT_EQ(com->JVRTOpen("0B12", "2025010506011111"), 0);
    std::string buff, file;
    EXPECT_EQ(com->JVRead(buff, kReadBufferStored, file), 5);
    EXPECT_EQ(buff, "SE1\r\n");
    EXPECT_EQ(file, "2025010506011111.txt");
    EXPECT_EQ(com->JVSkip(), 0);
    EXPECT_EQ(com->JVRead(buff, kReadBufferStored, file), -1);
    EXPECT_EQ(com->JVRead(buff, kReadBufferStored, file), 0);
    EXPECT_EQ(com->CurrentFileTimeStamp(), "");
    EXPECT_EQ(com->JVClose(), 0);
    EXPECT_EQ(com->JVRTOpen("0B12", "12x"), kJVBadKey);

    // The buffer size reaches the component: a record longer than it is cut.
    ASSERT_EQ(com->JVRTOpen("0B12", "2025010506011111"), 0);
    EXPECT_EQ(com->JVRead(buff, 3, file), 2);
    EXPECT_EQ(buff, "SE");
    com->JVClose();

    EXPECT_EQ(com->JVMVCheck("2025010506011111"), 1);
    EXPECT_EQ(com->JVMVCheck("2025010506011112"), 0);
    EXPECT_EQ(com->JVMVPlay("2025010506011111"), 0);
    EXPECT_EQ(com->JVMVPlay("2025010506011112"), kJVNoData);
}

INSTANTIATE_TEST_SUITE_P(ByJVGetsAndByJVRead, ComJVLinkTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "JVGets" : "JVRead"; });

TEST(ComJVLinkCreateTest, AComponentThatIsNotThereIsAReasonNotACrash) {
    std::string reason;
    EXPECT_EQ(ComJVLink::Create("VELTRIX.NoSuchJVLink", reason), nullptr);
    EXPECT_EQ(reason, "JV-Link component \"VELTRIX.NoSuchJVLink\" is not registered");
    EXPECT_FALSE(ComComponentRegistered("VELTRIX.NoSuchJVLink"));
    RegisterTestServer();
    EXPECT_TRUE(ComComponentRegistered(kTestProgId));
}

TEST(ComJVLinkCreateTest, AComponentWithoutJVLinksOperationsIsRefused) {
    // A component every Windows has, with an IDispatch but none of JV-Link's names.
    std::string reason;
    ASSERT_TRUE(ComComponentRegistered("Scripting.Dictionary"));
    EXPECT_EQ(ComJVLink::Create("Scripting.Dictionary", reason), nullptr);
    EXPECT_EQ(reason, "JV-Link component \"Scripting.Dictionary\" has no JVInit: it is not JV-Link");
}

}  // namespace
}  // namespace veltrix::test
