#pragma once
// The HTTP exchange with the analysis-file service: one form POST whose
// answer is read piece by piece on the user-interface thread, so the window
// stays live and its cancel button works while the server is slow.
#include <optional>
#include <string>
#include <string_view>

#include "base/host.h"

namespace veltrix {

// Where the service is. The program knows the maker's host; the environment
// variable VELTRIX_SERVICE_URL ("http://127.0.0.1:8765") points it elsewhere,
// for the demo and the tests.
struct ServiceAddress {
    std::string host;  // empty: no usable address, every request fails
    int port = 80;
};

inline constexpr const char* kServiceHost = "service.orvante.example";
inline constexpr int kServicePort = 80;
inline constexpr const char* kServicePath = "/veltrix/AnalyzeFile2.php";
inline constexpr const char* kServiceUrlVariable = "VELTRIX_SERVICE_URL";

// "http://HOST[:PORT][/]" (HOST a name, an IPv4 address or a bracketed IPv6
// address); nullopt for anything else.
std::optional<ServiceAddress> ParseServiceUrl(std::string_view url);
// The compiled-in address, or the one VELTRIX_SERVICE_URL names. A variable
// that is set but not a usable URL gives an empty host: the download then fails
// instead of going to a host nobody asked for.
ServiceAddress ServiceAddressFromEnvironment();

// "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; VELTRIX Version 2.8.3)".
std::string ServiceUserAgent();

// How long a silent server is waited for. The defaults suit the real service;
// tests shorten them.
struct PostOptions {
    long connectTimeoutMs = 15000;
    long stallTimeoutMs = 30000;  // no byte for this long ends the transfer
    int pollMs = 20;              // longest wait between two turns of the pump
};

inline constexpr int kMaxResponseBytes = 819200;
inline constexpr int kPostCancelled = -901;

// POSTs body ("rd=...", application/x-www-form-urlencoded) over HTTP/1.0 to
// address + path. Returns the number of bytes received into `received`, or
// -901 when the cancel flag was raised (the pump runs between pieces), or -1
// for every other failure: no connection, a timeout, a status other than 200,
// a broken transfer, more than 819,200 bytes.
int PostForm(const ServiceAddress& address, const std::string& path, const std::string& body,
             std::string& received, Pump& pump, const PostOptions& options = {});

}  // namespace veltrix
