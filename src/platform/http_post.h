#pragma once
// One HTTP/1.0 form POST whose answer is read piece by piece while the caller
// keeps its window live: libcurl on Linux, WinHTTP on Windows.
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace veltrix::platform {

struct HttpPost {
    std::string host;  // a name, an IPv4 address or an IPv6 address (no brackets)
    int port = 80;
    std::string path;
    std::string body;
    std::vector<std::string> headers;  // "Name: value"
    std::string userAgent;
    std::string referrer;
    long connectTimeoutMs = 15000;
    long stallTimeoutMs = 30000;  // no byte for this long ends the transfer
    int pollMs = 20;              // longest wait between two calls of keepGoing
    std::size_t maxBytes = 0;     // a longer answer is a failure
};

enum class HttpResult { Received, Cancelled, Failed };

// Sends the request and collects a 200 answer's body into `received`. keepGoing
// runs at least every pollMs while waiting (it pumps the caller's events) and
// ends the transfer as Cancelled when it returns false. Failed: no connection,
// a timeout, a status other than 200, a broken transfer, too many bytes;
// `received` is then empty.
HttpResult PostHttp(const HttpPost& request, std::string& received, const std::function<bool()>& keepGoing);

}  // namespace veltrix::platform
