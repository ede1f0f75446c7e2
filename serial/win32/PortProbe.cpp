#include <windows.h>
// After windows.h:
#include <devguid.h>
#include <setupapi.h>

#include <algorithm>
#include <map>

#include "Win32Calls.h"
#include "serial/PortMap.h"
#include "serial/SlSelCom.h"

namespace canprog::serial {

namespace {

// What Windows' Device Manager calls each COM port it knows ("USB Serial Port (COM3)"), by
// port number. Ports that only a compatibility layer provides have no entry.
std::map<int, std::string> deviceManagerNames() {
    std::map<int, std::string> names;
    HDEVINFO devices =
        ::SetupDiGetClassDevsA(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) return names;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; ::SetupDiEnumDeviceInfo(devices, i, &device); ++i) {
        HKEY key =
            ::SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE) continue;
        char portName[32] = {};
        DWORD size = sizeof portName - 1;
        DWORD type = 0;
        const bool named =
            ::RegQueryValueExA(key, "PortName", nullptr, &type, reinterpret_cast<BYTE*>(portName),
                               &size) == ERROR_SUCCESS;
        ::RegCloseKey(key);
        if (!named || std::string(portName).rfind("COM", 0) != 0) continue;
        const int number = std::atoi(portName + 3);
        char friendly[256] = {};
        if (::SetupDiGetDeviceRegistryPropertyA(devices, &device, SPDRP_FRIENDLYNAME, nullptr,
                                                reinterpret_cast<BYTE*>(friendly),
                                                sizeof friendly - 1, nullptr)) {
            names[number] = friendly;
        }
    }
    ::SetupDiDestroyDeviceInfoList(devices);
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
            ports.push_back({number, device, false, description});
        } else if (::GetLastError() == ERROR_ACCESS_DENIED) {
            ports.push_back({number, device, true, description});
        }
    }
    return ports;
}

}  // namespace canprog::serial
