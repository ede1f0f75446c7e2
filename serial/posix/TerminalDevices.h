#pragma once

#include <sys/types.h>

namespace canprog::serial {

// Whether a character device can be a serial port: not one of the memory devices (/dev/null,
// /dev/zero, /dev/full, /dev/random), not the terminal that stands for whoever opens it
// (/dev/tty), the system console or the pseudo-terminal multiplexer (/dev/ptmx), and not the
// terminal this program's own standard streams are on: programming that one as a port would
// turn the user's own terminal raw.
bool mayBeSerialPort(dev_t device);

}  // namespace canprog::serial
