#pragma once
// veltrix-cli commands: each lives in its own file with a registration function
// that adds its subcommand, the subcommand's arguments and its callback.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace veltrix::cli {

struct Context {
    std::filesystem::path root;  // program folder (--root, default: the executable's folder)
    std::string jvlink;          // --jvlink: standin, com or com:PROGID; empty: the default rule
    std::ostream& out;           // UTF-8 results
    std::ostream& err;           // one-line reasons for failures
    int status = 0;              // exit code left by the command that ran
};

// Adds one subcommand to cli. Its callback runs once the whole line has been
// parsed (so ctx.root is final) and leaves the exit code in ctx.status.
using AddCommand = void (*)(CLI::App& cli, Context& ctx);

// Puts a registration function on the list main() calls, in link order.
struct Registration {
    explicit Registration(AddCommand add);
};

const std::vector<AddCommand>& Commands();

// An argument that may not be empty (a race id, a UmaCode, a folder).
const CLI::Validator& NonEmpty();

// A whole-number option read as the program reads numbers (decimal only, no
// octal or hexadecimal), from lo to hi.
CLI::Option* AddNumberOption(CLI::App& cmd, const std::string& name, long long& value, long long lo,
                             long long hi, const std::string& description);

}  // namespace veltrix::cli

#define VELTRIX_CLI_COMMAND(add) static const ::veltrix::cli::Registration add##_registration(add)
