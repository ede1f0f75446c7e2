#pragma once

#include <string>
#include <utility>
#include <vector>

#include "serial/AdapterLatency.h"
#include "serial/SlSelCom.h"

namespace canprog::serial {

// What the port list asks of Windows, behind one seam: tests play a system whose lists name a
// Bluetooth port, or whose ports block when opened.
class PortSystem {
  public:
    virtual ~PortSystem() = default;

    // The port devices Device Manager lists (SetupAPI), found without opening any.
    virtual std::vector<PortDevice> registeredPorts();
    // The ports the registry's SERIALCOMM key names, as device and port name
    // ("\Device\Serial0", "COM1"), found without opening any.
    virtual std::vector<std::pair<std::string, std::string>> serialCommPorts();

    // Opens \\.\COMn and closes it at once. A Bluetooth port may block here for seconds.
    enum class Probe { Present, Busy, Absent };
    virtual Probe probe(int number);
};

// The real system. It lives for the whole program, as a probe left running may still use it.
PortSystem& win32PortSystem();

// The ports of `system` up to `highest`, as presentPorts lists them: every port the system's
// lists name, without opening it; the numbers no list names by opening each, on a thread of
// their own, for as long as the list may wait. `system` must outlive a probe left running.
std::vector<PresentPort> presentPortsFrom(PortSystem& system, int highest);

}  // namespace canprog::serial
