#include "analysis_service/analysis_service.h"

#include <httplib.h>

#include <chrono>

#include "base/encoding.h"
#include "service/japanese_text.h"
#include "service/post_form.h"

namespace veltrix::tool {

namespace {

constexpr std::size_t kSlowPiece = 256;
constexpr auto kSlowInterval = std::chrono::milliseconds(100);
constexpr auto kStallLimit = std::chrono::seconds(120);
constexpr const char* kTextType = "text/plain";

// The file's text in the answer's encoding; nullopt when it has no such form.
std::optional<std::string> encoded(const std::string& cp932, AnswerKind kind) {
    if (kind == AnswerKind::ShiftJis) return cp932;
    const auto utf8 = Cp932ToUtf8(cp932);
    if (!utf8) return std::nullopt;
    switch (kind) {
        case AnswerKind::Utf8:
            return utf8;
        case AnswerKind::Utf8Bom:
            return "\xEF\xBB\xBF" + *utf8;
        case AnswerKind::EucJp:
            return Cp932ToEucJp(cp932);
        case AnswerKind::Iso2022Jp: {
            const auto euc = Cp932ToEucJp(cp932);
            if (!euc) return std::nullopt;
            return EucJpToIso2022Jp(*euc);
        }
        default:
            return cp932;
    }
}

// Spaces after the last line's text (before its line end) up to size bytes;
// the readers trim them, so the file stays readable.
std::string paddedTo(std::string text, std::size_t size) {
    if (text.size() >= size) return text;
    std::size_t at = text.size();
    if (text.ends_with("\r\n"))
        at -= 2;
    else if (text.ends_with("\n"))
        at -= 1;
    text.insert(at, size - text.size(), ' ');
    return text;
}

std::string argumentOf(const std::string& body) {
    // rd=ARGUMENT, possibly among other fields.
    std::size_t from = 0;
    while (from <= body.size()) {
        std::size_t end = body.find('&', from);
        if (end == std::string::npos) end = body.size();
        const std::string field = body.substr(from, end - from);
        if (field.rfind("rd=", 0) == 0) return field.substr(3);
        from = end + 1;
    }
    return {};
}

}  // namespace

std::optional<Answer> ParseAnswer(const std::string& text) {
    static const std::map<std::string, AnswerKind> kinds = {
        {"sjis", AnswerKind::ShiftJis},
        {"euc-jp", AnswerKind::EucJp},
        {"iso-2022-jp", AnswerKind::Iso2022Jp},
        {"utf-8", AnswerKind::Utf8},
        {"utf-8-bom", AnswerKind::Utf8Bom},
        {"err3", AnswerKind::Err3},
        {"err6", AnswerKind::Err6},
        {"stall", AnswerKind::Stall},
        {"close-early", AnswerKind::CloseEarly},
        {"http500", AnswerKind::Http500},
        {"slow", AnswerKind::Slow},
    };
    if (auto it = kinds.find(text); it != kinds.end()) return Answer{it->second, 0};
    if (text.rfind("pad=", 0) == 0) {
        const std::string digits = text.substr(4);
        if (digits.empty() || digits.size() > 9 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        return Answer{AnswerKind::PadTo, static_cast<std::size_t>(std::stoul(digits))};
    }
    return std::nullopt;
}

AnalysisAnswers ReadAnalysisAnswers(const std::filesystem::path& folder, std::string& reason) {
    AnalysisAnswers answers;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("cachea", 0) != 0 || !entry.is_regular_file(ec)) continue;
        const std::string argument = name.substr(6);
        if (argument.size() != 9) continue;  // temporary files and the like
        const auto bytes = ReadFileBytes(entry.path());
        if (!bytes) continue;
        // The download writes the header record itself.
        const std::size_t firstLine = bytes->find('\n');
        answers[argument] = firstLine == std::string::npos ? std::string() : bytes->substr(firstLine + 1);
    }
    if (ec)
        reason = "cannot read the folder " + folder.string();
    else if (answers.empty())
        reason = "no analysis file (cachea*) in " + folder.string();
    return answers;
}

AnalysisService::AnalysisService(AnalysisAnswers answers) : answers_(std::move(answers)) {}

AnalysisService::~AnalysisService() { stop(); }

void AnalysisService::answerAll(Answer answer) {
    std::lock_guard lock(mutex_);
    all_ = answer;
}

void AnalysisService::answerFor(const std::string& argument, Answer answer) {
    std::lock_guard lock(mutex_);
    each_[argument] = answer;
}

Answer AnalysisService::answerOf(const std::string& argument) const {
    std::lock_guard lock(mutex_);
    if (auto it = each_.find(argument); it != each_.end()) return it->second;
    return all_;
}

std::vector<SeenRequest> AnalysisService::requests() const {
    std::lock_guard lock(mutex_);
    return seen_;
}

int AnalysisService::start(const std::string& host, int port) {
    stop();
    stopping_ = false;
    server_ = std::make_unique<httplib::Server>();
    server_->Post(kServicePath,
                  [this](const httplib::Request& req, httplib::Response& res) { handle(req, res); });
    int bound = -1;
    if (port == 0) {
        bound = server_->bind_to_any_port(host);
    } else if (server_->bind_to_port(host, port)) {
        bound = port;
    }
    if (bound <= 0) {
        server_.reset();
        return -1;
    }
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // A stop before the thread runs would be lost: the server only stops once it runs.
    for (int i = 0; i < 5000 && !server_->is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return bound;
}

void AnalysisService::stop() {
    stopping_ = true;
    if (server_) server_->stop();
    if (thread_.joinable()) thread_.join();
    server_.reset();
}

void AnalysisService::handle(const httplib::Request& req, httplib::Response& res) {
    SeenRequest seen{req.version,
                     argumentOf(req.body),
                     req.body,
                     req.get_header_value("Content-Type"),
                     req.get_header_value("User-Agent"),
                     req.get_header_value("Referer"),
                     req.get_header_value("Pragma")};
    {
        std::lock_guard lock(mutex_);
        seen_.push_back(seen);
    }
    const Answer answer = answerOf(seen.argument);
    const auto file = answers_.find(seen.argument);
    switch (answer.kind) {
        case AnswerKind::Err3:
            res.set_content("err3", kTextType);
            return;
        case AnswerKind::Err6:
            res.set_content("err6", kTextType);
            return;
        case AnswerKind::Http500:
            res.status = 500;
            res.set_content("Internal Server Error", kTextType);
            return;
        case AnswerKind::Stall: {
            const auto until = std::chrono::steady_clock::now() + kStallLimit;
            while (!stopping_ && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            res.status = 503;
            return;
        }
        default:
            break;
    }
    // An argument without a file is what the real service calls "no file".
    if (file == answers_.end()) {
        res.set_content("err6", kTextType);
        return;
    }
    std::optional<std::string> body = encoded(file->second, answer.kind);
    if (!body) {
        res.status = 500;
        return;
    }
    if (answer.kind == AnswerKind::PadTo) body = paddedTo(std::move(*body), answer.size);
    auto shared = std::make_shared<std::string>(std::move(*body));
    if (answer.kind == AnswerKind::CloseEarly) {
        res.set_content_provider(shared->size(), kTextType,
                                 [shared](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                     if (offset > 0) return false;  // the connection goes after half
                                     return sink.write(shared->data(), shared->size() / 2);
                                 });
    } else if (answer.kind == AnswerKind::Slow) {
        res.set_content_provider(shared->size(), kTextType,
                                 [this, shared](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                     if (stopping_) return false;
                                     std::this_thread::sleep_for(kSlowInterval);
                                     const std::size_t n = std::min(kSlowPiece, shared->size() - offset);
                                     return sink.write(shared->data() + offset, n);
                                 });
    } else {
        res.set_content(*shared, kTextType);
    }
}

}  // namespace veltrix::tool
