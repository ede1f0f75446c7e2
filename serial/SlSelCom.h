#pragma once

#include <optional>
#include <string>
#include <vector>

#include "SystemCalls.h"

namespace canprog::serial {

// A port that exists now, as the port selection dialog lists it.
struct PresentPort {
    int number;          // n of COMn
    std::string device;  // the device the number resolves to
    bool busy;           // held by another program (or not ours to open)
};

// Probes COM1 to COM50 through the port map in ascending order. A port is present when its
// device opens, or when it exists but is in use or not permitted; any other failure means no
// such port. Each device opened is closed at once.
std::vector<PresentPort> presentPorts(SystemCalls& calls = systemCalls());

// The list entry for a port ("COM12"), and the number back from an entry (nothing when the
// entry does not name one).
std::string portItem(int number);
std::optional<int> portNumberFromItem(const std::string& item);

// For a USB adapter, its description from sysfs ("FTDI FT232R USB UART"); empty otherwise.
std::string usbDescription(const std::string& device);

}  // namespace canprog::serial
