#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "serial/SlSelCom.h"

namespace canprog::serial {

// How the port probe looks at the system, without opening any device: a test describes a
// machine of its own through it.
struct PortProbeSystem {
    // The device's terminal name ("ttyS0", links followed) when it is a character device.
    std::function<std::optional<std::string>(const std::string& device)> characterDevice;
    // The first line of a terminal's attribute in sysfs (/sys/class/tty/<tty>/<attribute>).
    std::function<std::optional<std::string>(const std::string& tty, const std::string& attribute)>
        ttyAttribute;
    // Whether this user may open the device for reading and writing.
    std::function<bool(const std::string& device)> permitted;
    // For a USB adapter, its description ("FTDI FT232R USB UART"); empty otherwise.
    std::function<std::string(const std::string& device)> description;
    // A name that stays with the adapter whichever port it is plugged into (its link in
    // /dev/serial/by-id); empty when there is none.
    std::function<std::string(const std::string& device)> stableName;
};

// The system as it is.
const PortProbeSystem& realPortProbeSystem();

// The ports up to `highest` on the machine `system` describes: a port is there when its
// device is a character device, and not a UART without hardware behind it nor the system
// console.
std::vector<PresentPort> presentPorts(const PortProbeSystem& system, int highest);

// For a USB adapter, its description from sysfs ("FTDI FT232R USB UART"); empty otherwise.
std::string usbDescription(const std::string& device);
// The link in `folder` (/dev/serial/by-id) that names the same device; empty when none does.
std::string stableNameIn(const std::string& folder, const std::string& device);

}  // namespace canprog::serial
