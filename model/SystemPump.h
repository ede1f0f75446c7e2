#pragma once

// The pump of a front end without a window, on the system the program is built for: poll(2)
// on POSIX, WaitForMultipleObjects on Windows.
#ifdef _WIN32
#include "win32/WaitMessagePump.h"
namespace canprog {
using SystemPump = WaitMessagePump;
}
#else
#include "posix/PollMessagePump.h"
namespace canprog {
using SystemPump = PollMessagePump;
}
#endif
