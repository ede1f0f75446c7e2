#pragma once

#include <optional>
#include <string>
#include <vector>

#include "PortMap.h"

namespace canprog::serial {

// A port that exists now, as the port selection dialog lists it.
struct PresentPort {
    int number;               // n of COMn
    std::string device;       // the device the number resolves to
    bool busy = false;        // held by another program, or not ours to open
    std::string description;  // what the system calls the device, when it says
    std::string stableName;   // a name that stays with the adapter (/dev/serial/by-id/...)
};

// The ports that exist now, in ascending order of their numbers up to `highest`: the one list
// that the port dialog, `canprog-cli ports` and the note after a failed open all show. On Linux
// a serial device with hardware behind it that is not the system console, found without
// opening it; on Windows every port the system's device lists name, found without opening it
// (so never marked busy), and the numbers no list names that open or are in use, probed off
// the calling thread for a bounded time.
std::vector<PresentPort> presentPorts(int highest = kHighestPortNumber);

// The list entry for a port ("COM12"), and the number back from an entry (nothing when the
// entry does not name one).
std::string portItem(int number);
std::optional<int> portNumberFromItem(const std::string& item);

// A port as the window's port list and `canprog-cli ports` show it: its name and what the
// system calls the device ("COM5 — FT232R USB UART"), or its name alone.
std::string portEntry(const PresentPort& port);
// The number an entry names: "COM5 — FT232R USB UART", "COM5" and "5" all give 5.
std::optional<int> portNumberFromEntry(const std::string& entry);

}  // namespace canprog::serial
