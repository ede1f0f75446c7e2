#pragma once

#include <string>
#include <vector>

#include "SystemCalls.h"
#include "serial/SlSelCom.h"

namespace canprog::serial {

// The probe of the port dialog through a seam of system calls.
std::vector<PresentPort> presentPorts(SystemCalls& calls);

// For a USB adapter, its description from sysfs ("FTDI FT232R USB UART"); empty otherwise.
std::string usbDescription(const std::string& device);

}  // namespace canprog::serial
