#include "platform/console.h"

#include "platform/windows/wide.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

namespace veltrix::platform {

void PrepareConsole() {
    // The same bytes as on Linux: no CR before LF, and a console that shows UTF-8.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    // argv is in the ANSI code page, which cannot hold every name; the wide
    // command line can.
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i) args.push_back(Narrow(wide[i]));
    LocalFree(wide);
    return args;
}

}  // namespace veltrix::platform
