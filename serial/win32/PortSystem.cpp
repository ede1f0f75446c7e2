#include "PortSystem.h"

#include <windows.h>

#include "PortDevices.h"
#include "RegistryValues.h"
#include "serial/PortMap.h"

namespace canprog::serial {

std::vector<PortDevice> PortSystem::registeredPorts() {
    return registeredPortDevices();
}

std::vector<std::pair<std::string, std::string>> PortSystem::serialCommPorts() {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                        &opened) != ERROR_SUCCESS) {
        return {};
    }
    const RegistryKey key(opened);
    return registryTexts(key.get());
}

PortSystem::Probe PortSystem::probe(int number) {
    const std::string device = portDevicePath(number);
    const HANDLE port = ::CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (port != INVALID_HANDLE_VALUE) {
        ::CloseHandle(port);
        return Probe::Present;
    }
    return ::GetLastError() == ERROR_ACCESS_DENIED ? Probe::Busy : Probe::Absent;
}

PortSystem& win32PortSystem() {
    static PortSystem system;
    return system;
}

}  // namespace canprog::serial
