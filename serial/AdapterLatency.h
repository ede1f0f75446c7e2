#pragma once

#include <optional>
#include <string>
#include <vector>

namespace canprog::serial {

// What the system knows of the adapter behind a port that bears on how fast it answers.
struct AdapterLatency {
    bool ftdi = false;                   // its driver holds replies for a latency timer
    std::optional<int> latencyTimer_ms;  // that timer, as the driver's settings hold it
};

// The adapter behind port `comNumber`, as far as the system says. On Linux nothing: the port
// is opened with the driver's low latency asked for, which covers the FTDI adapters.
AdapterLatency adapterLatency(int comNumber);

// One port device as the system's device registry lists it: its port name ("COM5"), the bus
// driver that enumerates it ("FTDIBUS" for an FTDI adapter), its latency timer when its
// settings hold one, and its name for people ("USB Serial Port (COM5)").
struct PortDevice {
    std::string portName;
    std::string enumerator;
    std::optional<int> latencyTimer_ms;
    std::string friendlyName;
};

// The adapter behind port `comNumber` among `devices`.
AdapterLatency adapterLatencyAmong(const std::vector<PortDevice>& devices, int comNumber);

}  // namespace canprog::serial
