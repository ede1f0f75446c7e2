#pragma once

#include <vector>

#include "serial/AdapterLatency.h"

namespace canprog::serial {

// The port devices Windows' device registry lists now (Device Manager's "Ports" class), each
// with its port name, its name for people, its bus driver and its latency timer where the
// driver's settings hold one.
std::vector<PortDevice> registeredPortDevices();

}  // namespace canprog::serial
