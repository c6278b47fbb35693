#include "platform/console.h"

namespace veltrix::platform {

void PrepareConsole() {}

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

}  // namespace veltrix::platform
