#include "platform/http_post.h"

#include "platform/windows/wide.h"

#include <winhttp.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace veltrix::platform {

namespace {

using SteadyClock = std::chrono::steady_clock;

struct InternetHandle {
    HINTERNET h = nullptr;
    ~InternetHandle() { close(); }
    void close() {
        if (h != nullptr) WinHttpCloseHandle(h);
        h = nullptr;
    }
};

// What the transfer thread and the caller's thread share.
struct Shared {
    std::mutex mutex;
    std::condition_variable changed;
    bool done = false;
    bool ok = false;
    std::string body;
    SteadyClock::time_point lastByte = SteadyClock::now();
};

// The whole exchange, blocking; runs on its own thread so that the caller's
// thread keeps pumping. Closing the request handle from outside ends it.
void transfer(const HttpPost& request, HINTERNET connection, HINTERNET req, Shared& shared) {
    bool ok = false;
    std::wstring headers;
    for (const std::string& h : request.headers) headers += Widen(h) + L"\r\n";
    if (WinHttpSendRequest(req, headers.c_str(), static_cast<DWORD>(headers.size()),
                           const_cast<char*>(request.body.data()), static_cast<DWORD>(request.body.size()),
                           static_cast<DWORD>(request.body.size()), 0) &&
        WinHttpReceiveResponse(req, nullptr)) {
        {
            std::lock_guard lock(shared.mutex);
            shared.lastByte = SteadyClock::now();
        }
        DWORD status = 0;
        DWORD size = sizeof status;
        if (WinHttpQueryHeaders(req, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                                &status, &size, WINHTTP_NO_HEADER_INDEX) &&
            status == 200) {
            // The body of an error page is not worth reading.
            ok = true;
            char piece[4096];
            while (true) {
                DWORD got = 0;
                if (!WinHttpReadData(req, piece, sizeof piece, &got)) {
                    ok = false;
                    break;
                }
                if (got == 0) break;  // the end of the answer
                std::lock_guard lock(shared.mutex);
                shared.lastByte = SteadyClock::now();
                if (shared.body.size() + got > request.maxBytes) {
                    ok = false;
                    break;
                }
                shared.body.append(piece, got);
            }
        }
    }
    (void)connection;
    std::lock_guard lock(shared.mutex);
    shared.ok = ok;
    shared.done = true;
    shared.changed.notify_all();
}

}  // namespace

HttpResult PostHttp(const HttpPost& request, std::string& received, const std::function<bool()>& keepGoing) {
    received.clear();
    InternetHandle session;
    // The loopback service of the tests and the demo never goes through a proxy;
    // neither does the real service (the program always went to it directly).
    session.h = WinHttpOpen(Widen(request.userAgent).c_str(), WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                            WINHTTP_NO_PROXY_BYPASS, 0);
    if (session.h == nullptr) return HttpResult::Failed;
    const int connectMs = static_cast<int>(request.connectTimeoutMs);
    const int stallMs = static_cast<int>(request.stallTimeoutMs);
    if (!WinHttpSetTimeouts(session.h, connectMs, connectMs, stallMs, stallMs)) return HttpResult::Failed;
    InternetHandle connection;
    connection.h = WinHttpConnect(session.h, Widen(request.host).c_str(), static_cast<INTERNET_PORT>(request.port), 0);
    if (connection.h == nullptr) return HttpResult::Failed;
    InternetHandle req;
    const std::wstring referrer = Widen(request.referrer);
    req.h = WinHttpOpenRequest(connection.h, L"POST", Widen(request.path).c_str(), L"HTTP/1.0",
                               referrer.empty() ? WINHTTP_NO_REFERER : referrer.c_str(), WINHTTP_DEFAULT_ACCEPT_TYPES,
                               0);
    if (req.h == nullptr) return HttpResult::Failed;
    // Never a cookie or a cached answer: each request is on its own.
    DWORD noCookies = WINHTTP_DISABLE_COOKIES;
    WinHttpSetOption(req.h, WINHTTP_OPTION_DISABLE_FEATURE, &noCookies, sizeof noCookies);

    Shared shared;
    std::thread worker(transfer, std::cref(request), connection.h, req.h, std::ref(shared));
    HttpResult result = HttpResult::Failed;
    bool finished = false;
    while (true) {
        if (!keepGoing()) {
            result = HttpResult::Cancelled;
            break;
        }
        std::unique_lock lock(shared.mutex);
        shared.changed.wait_for(lock, std::chrono::milliseconds(request.pollMs), [&] { return shared.done; });
        if (shared.done) {
            finished = true;
            break;
        }
        // A server that sends nothing for the stall time is given up.
        if (SteadyClock::now() - shared.lastByte > std::chrono::milliseconds(request.stallTimeoutMs)) break;
    }
    if (!finished) req.close();  // ends the blocked call on the transfer thread
    worker.join();
    if (finished && shared.ok) {
        received = std::move(shared.body);
        result = HttpResult::Received;
    }
    return result;
}

}  // namespace veltrix::platform
