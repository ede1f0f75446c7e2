#include "cli/Terminal.h"

#include <windows.h>

namespace canprog::cli {

bool stderrIsTerminal() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

void prepareConsole() {
    // The log's Polish, Czech, Hungarian and Russian letters are UTF-8.
    ::SetConsoleOutputCP(CP_UTF8);
}

}  // namespace canprog::cli
