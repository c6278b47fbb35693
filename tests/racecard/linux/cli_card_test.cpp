// veltrix-cli card and odds on a small stored week: the outputs are a contract.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "racecard/race_fixture.h"
#include "store/race_files.h"
#include "store/weekly_store.h"
#include "support/fake_host.h"

namespace veltrix::test {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out;
};

CliRun runCli(const fs::path& root, const std::string& args) {
    const fs::path cli = fs::path(VELTRIX_BIN_DIR) / "veltrix-cli";
    std::string cmd = "'" + cli.string() + "' --root '" + root.string() + "' " + args + " 2>/dev/null";
    CliRun run;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return run;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) run.out.append(buf, n);
    int st = pclose(p);
    run.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return run;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

std::string join(const std::vector<std::string>& cells) {
    std::string s;
    for (size_t i = 0; i < cells.size(); ++i) s += (i ? "\t" : "") + cells[i];
    return s;
}

class CliCardTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(fs::path(VELTRIX_BIN_DIR) / "veltrix-cli")) GTEST_SKIP() << "veltrix-cli not built";
        Application app;
        app.folders = Folders::under(dir.path());
        fs::create_directories(app.folders.cache);
        StoreBuilder b(app.store);
        RunnerSpec r1;
        r1.umaCode = Uma(1);
        r1.frame = "2";
        RunnerSpec r2 = r1;
        r2.umaCode = Uma(2);
        r2.umaban = "02";
        r2.name = "セカンド";
        r2.sex = "牝";
        r2.futan = "550";
        b.addRace(kRaceId, KonsyuLabel("中山", "ダ1200"), {r1, r2});
        NullUserInterface ui;
        NullPump pump;
        ASSERT_FALSE(SaveRaceCache(app.store, app.folders, ui, pump));
        OddsTables o;
        o.OddsCount = 1;
        o.TansyoOdds(1) = {kOddsOnSale, 23};
        o.TansyoOdds(2) = {kOddsCancelled, 0};
        o.UmarenOdds(1, 2) = {kOddsOnSale, 55};
        o.OddsHensachi(1) = 55;
        o.TansyoShijiritsu(1) = 0.5;
        ASSERT_EQ(WriteOddsCache(app.folders, kRaceId, o), 0);
    }
    TempDir dir;
};

TEST_F(CliCardTest, CardPrintsHeadersAndEveryColumnOfTheChosenSheet) {
    CliRun run = runCli(dir.path(), "card " + kRaceId);
    ASSERT_EQ(run.status, 0);
    auto l = lines(run.out);
    ASSERT_EQ(l.size(), 3u);
    EXPECT_TRUE(l[0].starts_with("SORT\tNo.\tUMACODE\t印\t馬名\t性齢\t負担\t成績\tRL\t"));
    std::vector<std::string> row2(34);
    row2[1] = "2";
    row2[2] = Uma(2);
    row2[4] = "セカンド";
    row2[5] = "3牝";
    row2[6] = "55.0K";
    row2[22] = "騎手";
    row2[27] = "調教";
    EXPECT_EQ(l[2], join(row2));

    CliRun odds = runCli(dir.path(), "card " + kRaceId + " --sheet 3");
    ASSERT_EQ(odds.status, 0);
    auto o = lines(odds.out);
    ASSERT_EQ(o.size(), 3u);
    auto cells = [](const std::string& line) {
        std::vector<std::string> c;
        std::istringstream in(line);
        for (std::string f; std::getline(in, f, '\t');) c.push_back(f);
        return c;
    };
    auto h = cells(o[0]);
    ASSERT_GE(h.size(), 46u);
    EXPECT_EQ(h[5], "人気");
    EXPECT_EQ(h[45], "EXP");
    auto first = cells(o[1]);
    ASSERT_GE(first.size(), 21u);
    EXPECT_EQ(first[5], "55.0");
    EXPECT_EQ(first[6], "1");
    EXPECT_EQ(first[19], "2.3");
    EXPECT_EQ(first[20], "50.0");

    EXPECT_EQ(runCli(dir.path(), "card 2009011706010199").status, 1);
    EXPECT_EQ(runCli(dir.path(), "card " + kRaceId + " --sheet 4").status, 1);
}

TEST_F(CliCardTest, OddsPrintsEveryEntryWithData) {
    CliRun run = runCli(dir.path(), "odds " + kRaceId);
    ASSERT_EQ(run.status, 0);
    auto l = lines(run.out);
    ASSERT_EQ(l.size(), 1u + 18u + 3u);
    EXPECT_EQ(l[0], "OddsCount\t1");
    EXPECT_EQ(l[1], "horse\t1\t55.0000\t0.5000\t-1.0000");
    EXPECT_EQ(l[19], "tansyo\t1\t1\t23");
    EXPECT_EQ(l[20], "tansyo\t2\t-2\t0");
    EXPECT_TRUE(l[21].starts_with("umaren\t1\t2\t1\t55\t")) << l[21];
    EXPECT_EQ(runCli(dir.path(), "odds 2009011706010112").status, 1);
}

}  // namespace
}  // namespace veltrix::test
