#include "platform/http_post.h"

#include <curl/curl.h>

#include <chrono>
#include <memory>
#include <mutex>

namespace veltrix::platform {

namespace {

void initialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

using SteadyClock = std::chrono::steady_clock;

struct Transfer {
    CURL* easy = nullptr;
    std::string* received = nullptr;
    std::size_t maxBytes = 0;
    bool refused = false;  // status other than 200, too many bytes, or out of memory
    SteadyClock::time_point lastByte = SteadyClock::now();
};

size_t onHeader(char*, size_t size, size_t count, void* user) {
    static_cast<Transfer*>(user)->lastByte = SteadyClock::now();
    return size * count;
}

size_t onPiece(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    t->lastByte = SteadyClock::now();
    long status = 0;
    curl_easy_getinfo(t->easy, CURLINFO_RESPONSE_CODE, &status);
    // The body of an error page is not worth reading.
    if (status != 200 || t->received->size() + n > t->maxBytes) {
        t->refused = true;
        return 0;  // ends the transfer with a write error
    }
    try {
        t->received->append(data, n);
    } catch (...) {
        // Nothing may leave a C callback; the transfer ends as a failure.
        t->refused = true;
        return 0;
    }
    return n;
}

struct EasyDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct MultiDeleter {
    void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};
struct ListDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

std::string urlHost(const std::string& host) {
    return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

}  // namespace

HttpResult PostHttp(const HttpPost& request, std::string& received, const std::function<bool()>& keepGoing) {
    received.clear();
    initialiseCurlOnce();
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easy || !multi) return HttpResult::Failed;

    Transfer transfer{easy.get(), &received, request.maxBytes};
    const std::string url =
        "http://" + urlHost(request.host) + ":" + std::to_string(request.port) + request.path;
    curl_slist* headers = nullptr;
    for (const std::string& h : request.headers) {
        curl_slist* more = curl_slist_append(headers, h.c_str());
        if (more == nullptr) {
            curl_slist_free_all(headers);
            return HttpResult::Failed;
        }
        headers = more;
    }
    // curl would otherwise ask for "100 continue" on a larger body.
    if (curl_slist* more = curl_slist_append(headers, "Expect:"); more != nullptr) headers = more;
    std::unique_ptr<curl_slist, ListDeleter> headerList(headers);

    CURL* c = easy.get();
    bool setUp = curl_easy_setopt(c, CURLOPT_URL, url.c_str()) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http") == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_POST, 1L) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_POSTFIELDS, request.body.c_str()) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE, static_cast<long>(request.body.size())) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_HTTPHEADER, headerList.get()) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_USERAGENT, request.userAgent.c_str()) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_REFERER, request.referrer.c_str()) == CURLE_OK;
    // The loopback service of the tests and the demo never goes through a proxy.
    setUp = setUp && curl_easy_setopt(c, CURLOPT_NOPROXY, "127.0.0.1,localhost,::1") == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_BUFFERSIZE, 4096L) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, request.connectTimeoutMs) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &onHeader) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_HEADERDATA, &transfer) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &onPiece) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer) == CURLE_OK;
    if (!setUp) return HttpResult::Failed;
    if (curl_multi_add_handle(multi.get(), c) != CURLM_OK) return HttpResult::Failed;

    HttpResult result = HttpResult::Failed;
    bool finished = false;
    while (true) {
        if (!keepGoing()) {
            result = HttpResult::Cancelled;
            break;
        }
        int running = 0;
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) break;
        if (running == 0) {
            finished = true;
            break;
        }
        // A server that sends nothing for the stall time is given up (curl's own
        // low-speed check averages over seconds and reacts late).
        if (SteadyClock::now() - transfer.lastByte > std::chrono::milliseconds(request.stallTimeoutMs)) break;
        if (curl_multi_poll(multi.get(), nullptr, 0, request.pollMs, nullptr) != CURLM_OK) break;
    }
    if (finished) {
        int left = 0;
        while (CURLMsg* msg = curl_multi_info_read(multi.get(), &left)) {
            if (msg->msg != CURLMSG_DONE || msg->easy_handle != c) continue;
            long status = 0;
            curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
            if (msg->data.result == CURLE_OK && status == 200 && !transfer.refused) result = HttpResult::Received;
        }
    }
    curl_multi_remove_handle(multi.get(), c);
    if (result != HttpResult::Received) received.clear();
    return result;
}

}  // namespace veltrix::platform
