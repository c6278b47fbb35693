#pragma once
// The command line's arguments and output, the same bytes on every system:
// arguments as UTF-8, output unchanged (no CR added before LF).
#include <string>
#include <vector>

namespace veltrix::platform {

// Sets the standard streams up for UTF-8 bytes as they are.
void PrepareConsole();
// The program's arguments as UTF-8 (argv itself on Linux).
std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace veltrix::platform
