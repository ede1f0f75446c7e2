#pragma once

#include <string>

namespace canprog::serial {

// The port dialog probes ports 1 to 50; a port number names a device up to 256.
inline constexpr int kHighestPortNumber = 50;
inline constexpr int kHighestComNumber = 256;

// The device that port n names on this system. Empty when the port names nothing.
// On Linux: the link COMn in the port-map folder when there is one, else the fixed table
// (COM1-4 /dev/ttyS0-3, COM5-8 /dev/ttyUSB0-3, COM9-12 /dev/ttyACM0-3; COM13-COM50 only
// through a link). On Windows: \\.\COMn.
std::string portDevicePath(int comNumber);

}  // namespace canprog::serial
