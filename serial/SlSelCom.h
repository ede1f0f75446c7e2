#pragma once

#include <optional>
#include <string>
#include <vector>

namespace canprog::serial {

// A port that exists now, as the port selection dialog lists it.
struct PresentPort {
    int number;               // n of COMn
    std::string device;       // the device the number resolves to
    bool busy = false;        // held by another program (or not ours to open)
    std::string description;  // what the system calls the device, when it says
};

// Probes the system's ports in ascending order of their numbers (COM1 to COM50 on Linux). A
// port is present when its device opens, or when it exists but is in use or not permitted;
// any other failure means no such port. Each device opened is closed at once.
std::vector<PresentPort> presentPorts();

// The ports whose device exists now, found without opening any (so that no other device on a
// port is disturbed): for a message that names the ports there are.
std::vector<PresentPort> existingPorts();

// The list entry for a port ("COM12"), and the number back from an entry (nothing when the
// entry does not name one).
std::string portItem(int number);
std::optional<int> portNumberFromItem(const std::string& item);

}  // namespace canprog::serial
