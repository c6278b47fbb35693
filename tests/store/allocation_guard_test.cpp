// A damaged weekly file cannot make its reader allocate far more than its own
// size: the counts are checked against the bytes before the tables are sized.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "base/encoding.h"
#include "store/weekly_store.h"
#include "support/fake_host.h"

// The largest single allocation while `watching` is set. AddressSanitizer
// brings its own operator new, so there the test is skipped.
#if defined(__SANITIZE_ADDRESS__)
#define VELTRIX_ALLOCATIONS_SEEN 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELTRIX_ALLOCATIONS_SEEN 0
#endif
#endif
#ifndef VELTRIX_ALLOCATIONS_SEEN
#define VELTRIX_ALLOCATIONS_SEEN 1
#endif

namespace {
std::atomic<bool> watching{false};
std::atomic<std::size_t> largest{0};
}  // namespace

#if VELTRIX_ALLOCATIONS_SEEN
// The replacement pair is malloc and free throughout.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t size) {
    if (watching.load(std::memory_order_relaxed) && size > largest.load(std::memory_order_relaxed))
        largest.store(size, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#endif

namespace veltrix {
namespace {

namespace fs = std::filesystem;

// Loads the week with `damaged` as one of its files and returns the largest
// allocation made; the load must fail.
std::size_t largestAllocationLoading(const char* file, const std::string& damaged) {
    test::TempDir dir;
    Folders folders = Folders::under(dir.path());
    fs::create_directories(folders.cache);
    const std::string race = "\"1\",\"2009011706010101\",\"02\",\"12\",\"703\",\"24\",\"label\"\r\n";
    const std::string runner =
        "\"1\",\"2009011706010101\",\"2006100001\",\"1\",\"01\",\"n\",\"s\",\"03\",\"560\",\"j\",\"t\","
        "\"00666\",\"01002\"\r\n";
    EXPECT_TRUE(WriteFileBytes(folders.cache / kCache1, "\"0\",1,\"KONSYU\"\r\n" + race));
    EXPECT_TRUE(WriteFileBytes(folders.cache / kCache2, "\"0\",1\r\n" + runner));
    EXPECT_TRUE(WriteFileBytes(folders.cache / kCache3, "\"0\",0\r\n"));
    EXPECT_TRUE(WriteFileBytes(folders.cache / file, damaged));
    Store store;
    largest = 0;
    watching = true;
    const bool failed = LoadRaceCache(store, folders);
    watching = false;
    EXPECT_TRUE(failed);
    EXPECT_EQ(store.RaceCount + store.UmaCount + store.HistoryCount, 0);
    return largest;
}

// The smallest records a reader still parses: a tag and empty unquoted cells.
std::string bareRecords(int fields, int records) {
    std::string line = "1" + std::string(static_cast<size_t>(fields), ',') + "\r\n";
    std::string text;
    for (int r = 0; r < records; ++r) text += line;
    return text;
}

TEST(WeeklyAllocationGuard, HugeCountInASmallFileIsRefusedBeforeTheTablesAreSized) {
    if (!VELTRIX_ALLOCATIONS_SEEN) GTEST_SKIP() << "allocations are not seen under AddressSanitizer";
    // Each file: a count as large as one byte a field would allow, over about
    // 200 KB of short records (not as many as counted, so the file is damaged).
    struct Case {
        const char* file;
        int fields;
        std::string header;
    };
    const Case cases[] = {{kCache1, 6, "\"0\",%d,\"KONSYU\"\r\n"},
                          {kCache2, 12, "\"0\",%d\r\n"},
                          {kCache3, 31, "\"0\",%d\r\n"}};
    for (const auto& c : cases) {
        const std::string body = bareRecords(c.fields, 200000 / (c.fields + 3));
        int count = static_cast<int>(body.size() / static_cast<size_t>(c.fields + 1));
        if (c.file == std::string(kCache1)) count = std::min(count, 32767);
        char header[64];
        std::snprintf(header, sizeof header, c.header.c_str(), count);
        const std::string text = header + body;
        const std::size_t seen = largestAllocationLoading(c.file, text);
        // The file itself is read whole and decoded once; nothing near the
        // dozens of times its size that tables for its count would take.
        EXPECT_LT(seen, 4 * text.size()) << c.file << ": " << seen << " bytes for a file of " << text.size();
    }
}

TEST(WeeklyAllocationGuard, WrittenFilesAtTheSmallestStillLoad) {
    // Every cell empty, as the writer writes it: the least a record can take.
    test::TempDir dir;
    Folders folders = Folders::under(dir.path());
    fs::create_directories(folders.cache);
    Store week;
    week.DataMode = "KONSYU";
    week.RaceCount = 2;
    week.UmaCount = 3;
    week.HistoryCount = 4;
    week.RaceInfo.resize(2, kRaceInfoCols);
    week.RaceLabel.resize(2);
    week.UmaInfo.resize(3, kUmaInfoCols);
    week.HistoryInfo.resize(4, kHistoryInfoCols);
    test::FakeUserInterface ui;
    test::FakePump pump;
    ASSERT_FALSE(SaveRaceCache(week, folders, ui, pump));
    Store back;
    ASSERT_FALSE(LoadRaceCache(back, folders));
    EXPECT_EQ(back.RaceCount, 2);
    EXPECT_EQ(back.UmaCount, 3);
    EXPECT_EQ(back.HistoryCount, 4);
    // The last line without its line end still counts.
    for (const char* f : {kCache1, kCache2, kCache3}) {
        std::string bytes = *ReadFileBytes(folders.cache / f);
        bytes.resize(bytes.size() - 2);
        ASSERT_TRUE(WriteFileBytes(folders.cache / f, bytes));
    }
    ASSERT_FALSE(LoadRaceCache(back, folders));
    EXPECT_EQ(back.HistoryCount, 4);
}

}  // namespace
}  // namespace veltrix
