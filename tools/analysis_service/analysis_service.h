#pragma once
// A local stand-in for the maker's analysis-file service, for the tests and the
// demo: answers the service's POST with the analysis file its "rd" argument
// names, and can be told to misbehave the ways a real server does.
#include <atomic>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace veltrix::tool {

enum class AnswerKind {
    ShiftJis,    // the file as stored (CP932)
    EucJp,       // the same text in EUC-JP
    Iso2022Jp,   // ... in ISO-2022-JP
    Utf8,        // ... in UTF-8
    Utf8Bom,     // ... in UTF-8 after a byte-order mark
    Err3,        // "err3": the service is under maintenance
    Err6,        // "err6": no file for the argument
    PadTo,       // the file with its last line padded with spaces to exactly `size` bytes
    Stall,       // accepts the request and never answers
    CloseEarly,  // announces the whole file, sends half and closes the connection
    Http500,     // status 500
    Slow,        // the file in pieces of 256 bytes, one every 100 ms
};

struct Answer {
    AnswerKind kind = AnswerKind::ShiftJis;
    std::size_t size = 0;  // PadTo only
};

// "sjis", "euc-jp", "iso-2022-jp", "utf-8", "utf-8-bom", "err3", "err6",
// "pad=N", "stall", "close-early", "http500", "slow"; nullopt for anything else.
std::optional<Answer> ParseAnswer(const std::string& text);

// What the service saw of one request.
struct SeenRequest {
    std::string version;  // "HTTP/1.0"
    std::string argument;
    std::string body;
    std::string contentType, userAgent, referer, pragma;
};

// The files it serves: argument -> the file's bytes without its first line (the
// header record the download writes itself).
using AnalysisAnswers = std::map<std::string, std::string>;

// Every "cachea*" file of a folder, keyed by the part after "cachea". Empty
// (with a reason) when the folder holds none.
AnalysisAnswers ReadAnalysisAnswers(const std::filesystem::path& folder, std::string& reason);

class AnalysisService {
public:
    explicit AnalysisService(AnalysisAnswers answers);
    ~AnalysisService();
    AnalysisService(const AnalysisService&) = delete;
    AnalysisService& operator=(const AnalysisService&) = delete;

    // How every argument is answered, and how one argument is (before the default).
    void answerAll(Answer answer);
    void answerFor(const std::string& argument, Answer answer);

    // Binds host:port (port 0: a free port chosen by the system) and serves in
    // a thread of its own. Returns the port, or -1 when it cannot bind.
    int start(const std::string& host, int port);
    // Ends every answer in progress (a stalled one too) and the thread.
    void stop();

    std::vector<SeenRequest> requests() const;

private:
    void handle(const httplib::Request& request, httplib::Response& response);
    Answer answerOf(const std::string& argument) const;

    AnalysisAnswers answers_;
    Answer all_;
    std::map<std::string, Answer> each_;
    std::vector<SeenRequest> seen_;
    mutable std::mutex mutex_;
    std::atomic<bool> stopping_{false};
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
};

}  // namespace veltrix::tool
