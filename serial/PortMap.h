#pragma once

#include <string>

namespace canprog::serial {

inline constexpr int kHighestPortNumber = 50;

// The folder of COMn links: $CANPROG_PORTS, else ${XDG_CONFIG_HOME:-~/.config}/canprog/ports.
std::string portMapFolder();

// The device that port n names: the link COMn in the port-map folder when there is one, else
// the fixed table (COM1-4 /dev/ttyS0-3, COM5-8 /dev/ttyUSB0-3, COM9-12 /dev/ttyACM0-3).
// Empty when the port names nothing (COM13-COM50 without a link, or a number out of range).
std::string portDevicePath(int comNumber);

}  // namespace canprog::serial
