// veltrix-cli where: the program folder the commands work on.
#include <filesystem>
#include <ostream>
#include <system_error>

#include "cli/command.h"

namespace veltrix::cli {
namespace {

int runWhere(Context& ctx) {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::absolute(ctx.root, ec);
    ctx.out << (ec ? ctx.root : folder.lexically_normal()).string() << "\n";
    return 0;
}

void addWhere(CLI::App& cli, Context& ctx) {
    auto* cmd = cli.add_subcommand("where", "Prints the program folder (see --root)");
    cmd->callback([&ctx] { ctx.status = runWhere(ctx); });
}

}  // namespace

VELTRIX_CLI_COMMAND(addWhere);

}  // namespace veltrix::cli
