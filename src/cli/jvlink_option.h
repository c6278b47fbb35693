#pragma once
// The JV-Link a command drives, as --jvlink chose it.
#include <memory>

#include "cli/command.h"
#include "jvlink/jvlink.h"
#include "jvlink/standin/standin_jvlink.h"

namespace veltrix::cli {

// The component of --jvlink (without it: the default rule) for the program
// folder ctx.root; a stand-in gets the options. Null, with one line on
// standard error, when the component cannot be had.
std::unique_ptr<JVLink> OpenJVLink(Context& ctx, const StandinOptions& standinOptions = {});

}  // namespace veltrix::cli
