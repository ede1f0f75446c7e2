#pragma once

#include <optional>
#include <string>
#include <vector>

namespace canprog::serial {

// A program that holds a port's device open.
struct PortHolder {
    int pid = 0;
    std::string program;  // its name ("minicom")
};

// A USB-serial chip plugged in without a working driver, as the system's device list shows it.
struct UnreadyAdapter {
    std::string name;      // what the system calls it
    std::string vendorId;  // four hex digits, capitals ("0403")
    int problemCode = 0;   // the system's problem code (28: no driver installed)
};

// What the system says of a port and the adapter behind it, for the connection check. Looked
// up without talking to the device (Windows opens a port for an instant to tell whether
// another program holds it).
struct ConnectionFacts {
    std::string device;        // the device the port names
    bool namedDevice = false;  // named by its path, not by a port number
    bool exists = false;       // a character device (Linux) or a port Windows lists or opens
    bool permitted = true;     // this user may open it
    bool busy = false;         // held by a program the system does not name (Windows)
    std::string description;   // "FTDI FT232R USB UART"
    std::string stableName;    // /dev/serial/by-id/... on Linux
    std::string driver;        // "ftdi_sio", "cdc_acm", "FTDIBUS", "ACPI"
    std::string vendorId;      // USB vendor ID, four hex digits, capitals; empty when none
    std::string productId;
    std::vector<PortHolder> holders;         // programs that hold the device open
    std::vector<std::string> watchers;       // programs running that take serial ports: brltty,
                                             // ModemManager
    std::optional<int> latencyTimer_ms;      // an FTDI adapter's latency timer
    std::optional<int> receiveTriggerBytes;  // a built-in 16550's receive FIFO trigger level
    bool builtInUart = false;                // a 16550 on the motherboard, not a USB adapter
    std::vector<UnreadyAdapter> unready;     // USB-serial chips without a working driver
};

// Where the Linux lookup reads the system: the process table and sysfs, which a test replaces
// with a recorded tree of its own.
struct ConnectionRoots {
    std::string proc = "/proc";
    std::string sys = "/sys";
    std::string byId = "/dev/serial/by-id";
};

// The facts of the port `comNumber`, or of `device` when it is not empty.
ConnectionFacts lookUpConnection(int comNumber, const std::string& device,
                                 const ConnectionRoots& roots = {});

// The USB-serial chips among the system's device rows (hardware ID "USB\VID_0403&PID_6001...",
// name, problem code) that have no working driver: those of the four makers whose chips
// adapters use, with a problem code other than 0.
struct DeviceRow {
    std::string hardwareId;
    std::string name;
    int problemCode = 0;
};
std::vector<UnreadyAdapter> unreadyAdaptersAmong(const std::vector<DeviceRow>& rows);

// The maker of a USB-serial chip by its vendor ID ("FTDI"), and the driver to install for it;
// empty for a vendor that is not one of them.
struct ChipMaker {
    std::string maker;
    std::string driver;
};
std::optional<ChipMaker> chipMakerOf(const std::string& vendorId);

}  // namespace canprog::serial
