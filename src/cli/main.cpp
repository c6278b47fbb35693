// veltrix-cli: the headless command line over the same core as the windows.
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "veltrix_version.h"

namespace veltrix::cli {

namespace {
std::vector<CommandInfo>& table() {
    static std::vector<CommandInfo> commands;
    return commands;
}
}  // namespace

Registration::Registration(const char* name, const char* usage, CommandFn run) {
    table().push_back({name, usage, run});
}

const std::vector<CommandInfo>& Commands() { return table(); }

}  // namespace veltrix::cli

namespace {

std::filesystem::path executableFolder(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return self.parent_path();
    return std::filesystem::absolute(argv0).parent_path();
}

void usage(std::ostream& os) {
    os << "usage: veltrix-cli [--root DIR] COMMAND [ARGS...]\n"
          "       veltrix-cli --version\n"
          "commands:\n";
    for (const auto& c : veltrix::cli::Commands()) os << "  " << c.usage << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::filesystem::path root = executableFolder(argv[0]);
    size_t i = 0;
    while (i < args.size()) {
        if (args[i] == "--version") {
            std::cout << "VELTRIX Version " << VELTRIX_VERSION_TEXT << "\n";
            return 0;
        }
        if (args[i] == "--root" && i + 1 < args.size()) {
            root = args[i + 1];
            i += 2;
            continue;
        }
        if (args[i] == "--help" || args[i] == "-h") {
            usage(std::cout);
            return 0;
        }
        break;
    }
    if (i >= args.size()) {
        usage(std::cerr);
        return 1;
    }
    const std::string name = args[i];
    for (const auto& c : veltrix::cli::Commands()) {
        if (name == c.name) {
            veltrix::cli::Context ctx{root, std::vector<std::string>(args.begin() + static_cast<long>(i) + 1, args.end()),
                                      std::cout, std::cerr};
            try {
                return c.run(ctx);
            } catch (const std::exception& e) {
                std::cerr << "error: " << e.what() << "\n";
                return 1;
            }
        }
    }
    std::cerr << "unknown command: " << name << "\n";
    usage(std::cerr);
    return 1;
}
