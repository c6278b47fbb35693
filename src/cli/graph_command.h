#pragma once
// veltrix-cli graph: the parent of one subcommand per chart. Each chart's file
// adds its subcommand to the one parent.
#include <CLI/CLI.hpp>

namespace veltrix::cli {

// The "graph" subcommand of cli, made by whichever chart asks first.
CLI::App& GraphCommand(CLI::App& cli);

}  // namespace veltrix::cli
