#pragma once

#include "serial/SlPort.h"

namespace canprog {

// Gives a port component the settings the main window's ComPort carries: 9600 baud, the trace
// and log file names, the log written as characters rather than hex.
inline void configureAsWindowPort(serial::TSlioComPort& port) {
    port.SetBaud(9600);
    port.SetTraceName("SLIO.TRC");
    port.SetLogName("SLIO.LOG");
    port.SetLogHex(false);
}

}  // namespace canprog
