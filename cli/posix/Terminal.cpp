#include "cli/Terminal.h"

#include <unistd.h>

namespace canprog::cli {

bool stderrIsTerminal() {
    return ::isatty(STDERR_FILENO) != 0;
}

void prepareConsole() {}

}  // namespace canprog::cli
