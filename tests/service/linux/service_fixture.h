#pragma once
// A program folder holding the committed small week (two race dates) without
// its analysis files, and the local analysis-file service on a free loopback
// port serving those files. The service is built for Linux only; the Windows
// build meets it as a separate program in the command-line scripts.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "analysis_service/analysis_service.h"
#include "base/encoding.h"
#include "base/folders.h"
#include "service/post_form.h"
#include "support/fake_host.h"

namespace veltrix::test {

inline std::filesystem::path GoldenProgram() {
    return std::filesystem::path(VELTRIX_TEST_DATA) / "golden/program";
}

// What the service answers for an argument: the committed file without its first line.
inline tool::AnalysisAnswers GoldenAnswers() {
    std::string reason;
    return tool::ReadAnalysisAnswers(GoldenProgram() / "cache", reason);
}

class ServiceFixture {
public:
    explicit ServiceFixture(tool::AnalysisAnswers answers = GoldenAnswers()) : service(std::move(answers)) {
        namespace fs = std::filesystem;
        fs::copy(GoldenProgram(), dir_.path(), fs::copy_options::recursive);
        for (const auto& entry : fs::directory_iterator(dir_.path() / "cache"))
            if (entry.path().filename().string().rfind("cachea", 0) == 0) fs::remove(entry.path());
        port_ = service.start("127.0.0.1", 0);
        EXPECT_GT(port_, 0) << "the local service could not bind a loopback port";
    }
    ~ServiceFixture() { service.stop(); }

    // The program folder: settings, weekly files and per-race files, no analysis file.
    const std::filesystem::path& program() const { return dir_.path(); }
    Folders folders() const { return Folders::under(dir_.path()); }
    std::filesystem::path file(const std::string& argument) const {
        return dir_.path() / "cache" / ("cachea" + argument);
    }
    ServiceAddress address() const { return {"127.0.0.1", port_}; }
    // Short waits, so that a silent server costs a test about a second.
    static PostOptions quick() { return PostOptions{1000, 1000, 10}; }

    tool::AnalysisService service;

private:
    TempDir dir_;
    int port_ = -1;
};

// A loopback port on which nothing listens: bound by the system, then released.
inline int ClosedLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    int port = -1;
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    close(fd);
    return port;
}

}  // namespace veltrix::test
