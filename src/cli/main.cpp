// veltrix-cli: the headless command line over the same core as the windows.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>
#include <filesystem>
#include <iostream>
#include <limits>
#include <string>
#include <vector>

#include "app/program_folder.h"
#include "base/fields.h"
#include "cli/command.h"
#include "jvlink/component.h"
#include "platform/console.h"
#include "platform/paths.h"
#include "veltrix_version.h"

namespace veltrix::cli {

namespace {
std::vector<AddCommand>& table() {
    static std::vector<AddCommand> commands;
    return commands;
}
}  // namespace

Registration::Registration(AddCommand add) { table().push_back(add); }

const std::vector<AddCommand>& Commands() { return table(); }

const CLI::Validator& NonEmpty() {
    static const CLI::Validator v(
        [](std::string& text) { return text.empty() ? std::string("may not be empty") : std::string(); }, "");
    return v;
}

CLI::Option* AddNumberOption(CLI::App& cmd, const std::string& name, long long& value, long long lo,
                             long long hi, const std::string& description) {
    const std::string range = hi == std::numeric_limits<long long>::max()
                                  ? "a whole number of at least " + std::to_string(lo)
                                  : "a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
    auto* option = cmd.add_option_function<std::string>(
        name, [&value](const std::string& text) { value = ParseInteger(text).value_or(0); }, description);
    option->type_name("N");
    option->check(CLI::Validator(
        [lo, hi, range](std::string& text) {
            const auto n = ParseInteger(text);
            return n && *n >= lo && *n <= hi ? std::string()
                                             : "invalid value " + text + ", expected " + range;
        },
        ""));
    return option;
}

}  // namespace veltrix::cli

namespace {

veltrix::ProgramFolderChoice chooseProgramFolder(const char* argv0) {
    auto folder = veltrix::platform::ExecutableFolder();
    if (folder.empty()) folder = std::filesystem::absolute(argv0).parent_path();
    return veltrix::ChooseProgramFolder(folder, veltrix::platform::PerUserProgramFolder());
}

// A parse error as one line on standard error, naming the command it concerns.
void reportUsageError(const CLI::App& cli, const CLI::Error& e, std::ostream& err) {
    std::string where = "veltrix-cli";
    // Down to the innermost command given ("graph timeline").
    for (const CLI::App* app = &cli; !app->get_subcommands().empty();) {
        app = app->get_subcommands().front();
        where += " " + app->get_name();
    }
    std::string what = e.what();
    // A word where the command belongs is not a command, whatever CLI11 reports first.
    if (cli.get_subcommands().empty() && !cli.remaining().empty())
        what = "unknown command: " + cli.remaining().front();
    std::replace(what.begin(), what.end(), '\n', ' ');
    err << where << ": " << what << " (" << where << " --help shows the usage)\n";
}

// Ends the run before the command when the per-user program folder cannot be made.
struct FolderNotReady {};

// Sets up the command line, parses it and runs the chosen command (its
// callback runs inside the parse).
int run(int argc, char** argv) {
    using namespace veltrix::cli;
    const veltrix::ProgramFolderChoice choice = chooseProgramFolder(argv[0]);
    Context ctx{choice.folder, {}, std::cout, std::cerr};

    CLI::App cli("VELTRIX command line: the program folder's store, race card and imports", "veltrix-cli");
    // "/tmp/a" is a folder on every system, never a "/option" (CLI11's Windows default).
    cli.allow_windows_style_options(false);
    cli.set_version_flag("--version", std::string("VELTRIX Version ") + VELTRIX_VERSION_TEXT,
                         "Print the version and exit");
    auto* root =
        cli.add_option("--root", ctx.root,
                       "Program folder (default: the folder of veltrix-cli when it holds VELTRIX.ctx, "
                       "else the per-user folder; `where` prints it)")
            ->type_name("DIR");
    cli.add_option("--jvlink", ctx.jvlink,
                   "JV-Link for import, update and results-db: standin (the program folder's jvlink "
                   "folder), com (JV-Link) or com:PROGID (default: com when JV-Link is registered, "
                   "else standin)")
        ->type_name("CHOICE")
        ->check(CLI::Validator(
            [](std::string& text) {
                std::string reason;
                return veltrix::ParseJVLinkChoice(text, reason) ? std::string() : reason;
            },
            ""));
    cli.require_subcommand(1);
    for (AddCommand add : Commands()) add(cli, ctx);
    // Runs after a successful parse and before the command: without --root the
    // chosen per-user folder is made ready, as the program's first start does.
    cli.parse_complete_callback([&] {
        if (root->count() > 0) return;
        bool firstStart = false;
        std::string reason;
        if (veltrix::PrepareProgramFolder(choice, firstStart, reason)) {
            std::cerr << reason << "\n";
            throw FolderNotReady{};
        }
        if (firstStart) std::cerr << veltrix::FirstStartMessage(choice.folder) << "\n";
    });

    try {
        cli.parse(argc, argv);
    } catch (const FolderNotReady&) {
        return 1;  // its reason is written
    } catch (const CLI::ParseError& e) {
        // Help and version go to standard output with exit code 0.
        if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success))
            return cli.exit(e, std::cout, std::cerr);
        reportUsageError(cli, e, std::cerr);
        return 1;
    }
    return ctx.status;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        // Every system gives the commands UTF-8 arguments and writes their
        // output bytes unchanged.
        veltrix::platform::PrepareConsole();
        std::vector<std::string> args = veltrix::platform::Utf8Arguments(argc, argv);
        std::vector<char*> pointers;
        for (std::string& a : args) pointers.push_back(a.data());
        pointers.push_back(nullptr);
        return run(static_cast<int>(args.size()), pointers.data());
    } catch (const std::exception& e) {
        std::cerr << "error: " << e.what() << "\n";
        return 1;
    }
}
