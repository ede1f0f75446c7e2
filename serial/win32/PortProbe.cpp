#include <windows.h>

#include <cstdlib>
#include <map>
#include <string>

#include "PortDevices.h"
#include "Win32Calls.h"
#include "serial/PortMap.h"
#include "serial/SlSelCom.h"

namespace canprog::serial {

namespace {

// What Windows' Device Manager calls each COM port it knows ("USB Serial Port (COM3)"), by
// port number. Ports that only a compatibility layer provides have no entry.
std::map<int, std::string> deviceManagerNames() {
    std::map<int, std::string> names;
    for (const auto& device : registeredPortDevices()) {
        if (device.portName.rfind("COM", 0) != 0 || device.friendlyName.empty()) continue;
        names[std::atoi(device.portName.c_str() + 3)] = device.friendlyName;
    }
    return names;
}

}  // namespace

// Ports 1 to `highest` by opening each: one that opens, or that another program holds (access
// denied), is there; a name without a device behind it (a compatibility layer's default link)
// is not. Windows' own name for it comes along when it has one.
std::vector<PresentPort> presentPorts(int highest) {
    const auto names = deviceManagerNames();
    std::vector<PresentPort> ports;
    for (int number = 1; number <= highest; ++number) {
        const auto name = names.find(number);
        const std::string device = portDevicePath(number);
        const HANDLE port = ::CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        const std::string description = name == names.end() ? std::string() : name->second;
        if (port != INVALID_HANDLE_VALUE) {
            ::CloseHandle(port);
            ports.push_back({number, device, false, description, {}});
        } else if (::GetLastError() == ERROR_ACCESS_DENIED) {
            ports.push_back({number, device, true, description, {}});
        }
    }
    return ports;
}

}  // namespace canprog::serial
