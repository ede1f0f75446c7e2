#include "TerminalDevices.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <initializer_list>

namespace canprog::serial {

namespace {
constexpr unsigned kMemoryDevices = 1;        // /dev/null, /dev/zero, /dev/full, /dev/random, ...
constexpr unsigned kTerminalOfTheCaller = 5;  // /dev/tty, /dev/console, /dev/ptmx
}  // namespace

bool mayBeSerialPort(dev_t device) {
    if (major(device) == kMemoryDevices || major(device) == kTerminalOfTheCaller) return false;
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        struct stat status {};
        if (::isatty(stream) && ::fstat(stream, &status) == 0 && status.st_rdev == device) {
            return false;
        }
    }
    return true;
}

}  // namespace canprog::serial
