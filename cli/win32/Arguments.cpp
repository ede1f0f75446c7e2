#include "cli/Arguments.h"

#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include "base/win32/WideText.h"

namespace canprog::cli {

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(win32::narrow(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

}  // namespace canprog::cli
