#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "base/encoding.h"
#include "service/analysis_download.h"
#include "service/japanese_text.h"
#include "service/linux/service_fixture.h"

namespace veltrix::test {
namespace {

namespace fs = std::filesystem;
using tool::Answer;
using tool::AnswerKind;

constexpr const char* kDate1 = "20261212r";

std::string bytesOf(const fs::path& p) { return ReadFileBytes(p).value_or("<missing>"); }

int download(ServiceFixture& fx, const std::string& argument, Pump& pump) {
    return DownloadAnalysisFile(fx.folders(), argument, fx.address(), pump, ServiceFixture::quick());
}

int download(ServiceFixture& fx, const std::string& argument) {
    NullPump pump;
    return download(fx, argument, pump);
}

// An old file of the argument, to see whether a failed download removes it.
void plantOldFile(ServiceFixture& fx, const std::string& argument) {
    ASSERT_TRUE(WriteFileBytes(fx.file(argument), "0,OLD\r\n"));
}

TEST(PostForm, SendsTheServicesRequest) {
    ServiceFixture fx;
    ASSERT_EQ(download(fx, kDate1), 0);
    const auto seen = fx.service.requests();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].version, "HTTP/1.0");
    EXPECT_EQ(seen[0].body, "rd=20261212r");
    EXPECT_EQ(seen[0].contentType, "application/x-www-form-urlencoded");
    EXPECT_EQ(seen[0].userAgent, "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; VELTRIX Version 2.8.3)");
    EXPECT_EQ(seen[0].referer, "127.0.0.1/veltrix/AnalyzeFile2.php");
    EXPECT_EQ(seen[0].pragma, "no-cache");
}

TEST(DownloadAnalysisFile, StoresTheHeaderLineAndTheAnswer) {
    ServiceFixture fx;
    ASSERT_EQ(download(fx, kDate1), 0);
    const std::string answer = GoldenAnswers().at(kDate1);
    EXPECT_EQ(bytesOf(fx.file(kDate1)), "0,ORVANTE\r\n" + answer);
    // No temporary file is left beside it.
    int files = 0;
    for (const auto& e : fs::directory_iterator(fx.program() / "cache"))
        files += e.path().filename().string().rfind("cachea", 0) == 0;
    EXPECT_EQ(files, 1);
}

TEST(DownloadAnalysisFile, TheFourEncodingsGiveByteIdenticalFiles) {
    // The committed analysis file, and a text with Japanese in it that
    // carries the maker's name.
    tool::AnalysisAnswers answers = GoldenAnswers();
    const std::string japanese = "分析ファイル 第①回 中山競馬 ｶﾅ 髙橋\nレース情報\r\n" +
                                 std::string("END OF VELTRIX ANALYSIS DATA - (C) Brennick,Inc.\n");
    answers["20261214r"] = Utf8ToCp932(japanese).value();
    ServiceFixture fx(answers);
    for (const std::string argument : {kDate1, "20261214r"}) {
        std::string first;
        for (const char* encoding : {"sjis", "euc-jp", "iso-2022-jp", "utf-8", "utf-8-bom"}) {
            SCOPED_TRACE(argument + " " + encoding);
            fx.service.answerAll(tool::ParseAnswer(encoding).value());
            ASSERT_EQ(download(fx, argument), 0);
            const std::string stored = bytesOf(fx.file(argument));
            if (first.empty()) first = stored;
            EXPECT_EQ(stored, first);
        }
    }
    EXPECT_EQ(bytesOf(fx.file("20261214r")),
              Utf8ToCp932("0,ORVANTE\r\n" + NormaliseLineEnds(japanese)).value());
}

TEST(DownloadAnalysisFile, AcceptsUpTo819200Bytes) {
    ServiceFixture fx;
    fx.service.answerAll({AnswerKind::PadTo, 819200});
    ASSERT_EQ(download(fx, kDate1), 0);
    EXPECT_EQ(fs::file_size(fx.file(kDate1)), 819200u + std::string("0,ORVANTE\r\n").size());

    fx.service.answerAll({AnswerKind::PadTo, 819201});
    EXPECT_EQ(download(fx, kDate1), -1);
    EXPECT_FALSE(fs::exists(fx.file(kDate1)));
}

TEST(DownloadAnalysisFile, ServiceAnswersWithoutAFileRemoveTheOldOne) {
    ServiceFixture fx;
    const struct {
        AnswerKind kind;
        int result;
    } cases[] = {
        {AnswerKind::Err6, kNoAnalysisFile},
        {AnswerKind::Err3, kServiceMaintenance},
        {AnswerKind::Http500, -1},
        {AnswerKind::CloseEarly, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        plantOldFile(fx, kDate1);
        fx.service.answerAll({c.kind, 0});
        EXPECT_EQ(download(fx, kDate1), c.result);
        EXPECT_FALSE(fs::exists(fx.file(kDate1)));
    }
    // An argument the service has no file for.
    fx.service.answerAll({});
    EXPECT_EQ(download(fx, "20261231r"), kNoAnalysisFile);
}

TEST(DownloadAnalysisFile, AnAnswerOfNoJapaneseEncodingWritesNothing) {
    tool::AnalysisAnswers answers;
    std::string garbage;
    for (int i = 0; i < 8192; ++i) garbage += static_cast<char>((i * 7919) & 0xFF);
    answers[kDate1] = garbage + "END OF VELTRIX ANALYSIS DATA - (C) Brennick,Inc.\r\n";
    ServiceFixture fx(answers);
    plantOldFile(fx, kDate1);
    EXPECT_EQ(download(fx, kDate1), -1);
    EXPECT_FALSE(fs::exists(fx.file(kDate1)));
}

TEST(DownloadAnalysisFile, ASilentServerEndsWithoutHanging) {
    ServiceFixture fx;
    fx.service.answerAll({AnswerKind::Stall, 0});
    FakePump pump;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(download(fx, kDate1, pump), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    // The window stayed live while it waited.
    EXPECT_GT(pump.turns, 10);
}

TEST(DownloadAnalysisFile, CancelWhileWaitingOrReadingEndsWithMinus901) {
    for (AnswerKind kind : {AnswerKind::Stall, AnswerKind::Slow}) {
        ServiceFixture fx;
        plantOldFile(fx, kDate1);
        fx.service.answerAll({kind, 0});
        FakePump pump;
        pump.cancelAt = 5;
        EXPECT_EQ(download(fx, kDate1, pump), kDownloadCancelled);
        EXPECT_EQ(pump.turns, 5);
        EXPECT_FALSE(fs::exists(fx.file(kDate1)));
    }
}

TEST(DownloadAnalysisFile, NoServerOrNoAddressIsAFailure) {
    ServiceFixture fx;
    plantOldFile(fx, kDate1);
    NullPump pump;
    const int port = ClosedLoopbackPort();
    ASSERT_GT(port, 0);
    EXPECT_EQ(DownloadAnalysisFile(fx.folders(), kDate1, {"127.0.0.1", port}, pump, ServiceFixture::quick()),
              -1);
    EXPECT_FALSE(fs::exists(fx.file(kDate1)));
    // A VELTRIX_SERVICE_URL that is no URL leaves no address.
    EXPECT_EQ(DownloadAnalysisFile(fx.folders(), kDate1, {"", 0}, pump, ServiceFixture::quick()), -1);
}

TEST(DownloadAnalysisFile, AnArgumentThatNamesNoFileIsNeitherSentNorTouched) {
    ServiceFixture fx;
    for (const char* bad : {"", "../x", "2026121r", "20261212R", "20261212rr", "2026121/r"})
        EXPECT_EQ(download(fx, bad), -1) << bad;
    EXPECT_TRUE(fx.service.requests().empty());
}

}  // namespace
}  // namespace veltrix::test
