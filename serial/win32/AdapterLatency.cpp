#include "serial/AdapterLatency.h"

#include <windows.h>
// After windows.h:
#include <devguid.h>
#include <setupapi.h>

namespace canprog::serial {

namespace {

// The port devices Windows' device registry lists now, each with the settings its driver keeps
// under its device parameters.
std::vector<PortDevice> portDevices() {
    std::vector<PortDevice> found;
    HDEVINFO devices =
        ::SetupDiGetClassDevsA(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) return found;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; ::SetupDiEnumDeviceInfo(devices, i, &device); ++i) {
        HKEY key =
            ::SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE) continue;
        PortDevice entry;
        char portName[32] = {};
        DWORD size = sizeof portName - 1;
        if (::RegQueryValueExA(key, "PortName", nullptr, nullptr, reinterpret_cast<BYTE*>(portName),
                               &size) == ERROR_SUCCESS) {
            entry.portName = portName;
        }
        DWORD latency = 0;
        size = sizeof latency;
        DWORD type = 0;
        if (::RegQueryValueExA(key, "LatencyTimer", nullptr, &type,
                               reinterpret_cast<BYTE*>(&latency), &size) == ERROR_SUCCESS &&
            type == REG_DWORD) {
            entry.latencyTimer_ms = static_cast<int>(latency);
        }
        ::RegCloseKey(key);
        char enumerator[64] = {};
        if (::SetupDiGetDeviceRegistryPropertyA(devices, &device, SPDRP_ENUMERATOR_NAME, nullptr,
                                                reinterpret_cast<BYTE*>(enumerator),
                                                sizeof enumerator - 1, nullptr)) {
            entry.enumerator = enumerator;
        }
        found.push_back(std::move(entry));
    }
    ::SetupDiDestroyDeviceInfoList(devices);
    return found;
}

}  // namespace

AdapterLatency adapterLatency(int comNumber) {
    return adapterLatencyAmong(portDevices(), comNumber);
}

}  // namespace canprog::serial
