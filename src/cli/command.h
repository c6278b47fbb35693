#pragma once
// veltrix-cli commands register themselves here; each lives in its own file.
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace veltrix::cli {

struct Context {
    std::filesystem::path root;     // program folder (--root, default: the executable's folder)
    std::vector<std::string> args;  // arguments after the command name
    std::ostream& out;              // UTF-8 results
    std::ostream& err;              // one-line reasons for failures
};

using CommandFn = int (*)(Context&);

struct CommandInfo {
    const char* name;
    const char* usage;
    CommandFn run;
};

// Adds a command to the table main() dispatches on.
struct Registration {
    Registration(const char* name, const char* usage, CommandFn run);
};

const std::vector<CommandInfo>& Commands();

}  // namespace veltrix::cli

#define VELTRIX_CLI_COMMAND(ident, name, usage, fn) \
    static const ::veltrix::cli::Registration ident##_registration(name, usage, fn)
