#include "service/post_form.h"

#include <cstdlib>

#include "platform/http_post.h"
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
    platform::HttpPost request;
    request.host = address.host;
    request.port = address.port;
    request.path = path;
    request.body = body;
    request.headers = {"Content-Type: application/x-www-form-urlencoded", "Pragma: no-cache", "Cache-Control: no-cache"};
    request.userAgent = ServiceUserAgent();
    request.referrer = address.host + path;
    request.connectTimeoutMs = options.connectTimeoutMs;
    request.stallTimeoutMs = options.stallTimeoutMs;
    request.pollMs = options.pollMs;
    request.maxBytes = kMaxResponseBytes;
    const auto result = platform::PostHttp(request, received, [&pump] {
        pump.processEvents();
        return !pump.cancelRequested();
    });
    switch (result) {
        case platform::HttpResult::Received:
            return static_cast<int>(received.size());
        case platform::HttpResult::Cancelled:
            return kPostCancelled;
        case platform::HttpResult::Failed:
            break;
    }
    return -1;
}

}  // namespace veltrix
