#include "service/post_form.h"

#include <curl/curl.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "veltrix_version.h"

namespace veltrix {

namespace {

bool isDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// Letters, digits, '-' and '.': a host name or an IPv4 address, nothing that
// could change the meaning of the URL it goes into.
bool isHostName(std::string_view s) {
    if (s.empty() || s.size() > 253) return false;
    for (char c : s) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == '-' || c == '.';
        if (!ok) return false;
    }
    return true;
}

bool isIpv6Literal(std::string_view s) {
    if (s.empty() || s.size() > 45) return false;
    for (char c : s) {
        const bool ok = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || (c >= '0' && c <= '9') ||
                        c == ':' || c == '.';
        if (!ok) return false;
    }
    return s.find(':') != std::string_view::npos;
}

void initialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

using SteadyClock = std::chrono::steady_clock;

struct Transfer {
    CURL* easy = nullptr;
    std::string* received = nullptr;
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
    if (status != 200 || t->received->size() + n > static_cast<size_t>(kMaxResponseBytes)) {
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

std::optional<ServiceAddress> ParseServiceUrl(std::string_view url) {
    constexpr std::string_view scheme = "http://";
    if (url.substr(0, scheme.size()) != scheme) return std::nullopt;
    std::string_view rest = url.substr(scheme.size());
    if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
    ServiceAddress address;
    std::string_view portText;
    if (!rest.empty() && rest.front() == '[') {
        const size_t close = rest.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        const std::string_view literal = rest.substr(1, close - 1);
        if (!isIpv6Literal(literal)) return std::nullopt;
        address.host = std::string(literal);
        rest.remove_prefix(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') return std::nullopt;
            portText = rest.substr(1);
            if (portText.empty()) return std::nullopt;
        }
    } else {
        const size_t colon = rest.find(':');
        const std::string_view host = rest.substr(0, colon);
        if (!isHostName(host)) return std::nullopt;
        address.host = std::string(host);
        if (colon != std::string_view::npos) {
            portText = rest.substr(colon + 1);
            if (portText.empty()) return std::nullopt;
        }
    }
    if (!portText.empty()) {
        if (!isDigits(portText) || portText.size() > 5) return std::nullopt;
        const int port = std::atoi(std::string(portText).c_str());
        if (port < 1 || port > 65535) return std::nullopt;
        address.port = port;
    }
    return address;
}

ServiceAddress ServiceAddressFromEnvironment() {
    const char* value = std::getenv(kServiceUrlVariable);
    if (value == nullptr || *value == '\0') return ServiceAddress{kServiceHost, kServicePort};
    return ParseServiceUrl(value).value_or(ServiceAddress{"", 0});
}

std::string ServiceUserAgent() {
    return "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; VELTRIX Version " VELTRIX_VERSION_TEXT ")";
}

int PostForm(const ServiceAddress& address, const std::string& path, const std::string& body,
             std::string& received, Pump& pump, const PostOptions& options) {
    received.clear();
    if (address.host.empty() || address.port < 1 || address.port > 65535) return -1;
    initialiseCurlOnce();
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easy || !multi) return -1;

    Transfer transfer{easy.get(), &received};
    const std::string url = "http://" + urlHost(address.host) + ":" + std::to_string(address.port) + path;
    const std::string referrer = address.host + path;
    const std::string agent = ServiceUserAgent();
    curl_slist* headers = nullptr;
    for (const char* h : {"Content-Type: application/x-www-form-urlencoded", "Pragma: no-cache",
                          "Cache-Control: no-cache", "Expect:"}) {
        curl_slist* more = curl_slist_append(headers, h);
        if (more == nullptr) {
            curl_slist_free_all(headers);
            return -1;
        }
        headers = more;
    }
    std::unique_ptr<curl_slist, ListDeleter> headerList(headers);

    CURL* c = easy.get();
    bool setUp = curl_easy_setopt(c, CURLOPT_URL, url.c_str()) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http") == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_POST, 1L) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_POSTFIELDS, body.c_str()) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size())) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_HTTPHEADER, headerList.get()) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_USERAGENT, agent.c_str()) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_REFERER, referrer.c_str()) == CURLE_OK;
    // The loopback service of the tests and the demo never goes through a proxy.
    setUp = setUp && curl_easy_setopt(c, CURLOPT_NOPROXY, "127.0.0.1,localhost,::1") == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_BUFFERSIZE, 4096L) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, options.connectTimeoutMs) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &onHeader) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_HEADERDATA, &transfer) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &onPiece) == CURLE_OK;
    setUp = setUp && curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer) == CURLE_OK;
    if (!setUp) return -1;
    if (curl_multi_add_handle(multi.get(), c) != CURLM_OK) return -1;

    int result = -1;
    bool finished = false;
    while (true) {
        pump.processEvents();
        if (pump.cancelRequested()) {
            result = kPostCancelled;
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
        if (SteadyClock::now() - transfer.lastByte > std::chrono::milliseconds(options.stallTimeoutMs)) break;
        if (curl_multi_poll(multi.get(), nullptr, 0, options.pollMs, nullptr) != CURLM_OK) break;
    }
    if (finished) {
        int left = 0;
        while (CURLMsg* msg = curl_multi_info_read(multi.get(), &left)) {
            if (msg->msg != CURLMSG_DONE || msg->easy_handle != c) continue;
            long status = 0;
            curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
            if (msg->data.result == CURLE_OK && status == 200 && !transfer.refused)
                result = static_cast<int>(received.size());
        }
    }
    curl_multi_remove_handle(multi.get(), c);
    if (result < 0) received.clear();
    return result;
}

}  // namespace veltrix
