#include "PortDevices.h"

#include <windows.h>
// After windows.h:
#include <devguid.h>
#include <setupapi.h>

#include <memory>
#include <optional>
#include <string>
#include <type_traits>

namespace canprog::serial {

namespace {

struct DeviceListCloser {
    void operator()(HDEVINFO devices) const { ::SetupDiDestroyDeviceInfoList(devices); }
};
using DeviceList = std::unique_ptr<std::remove_pointer_t<HDEVINFO>, DeviceListCloser>;

struct KeyCloser {
    void operator()(HKEY key) const { ::RegCloseKey(key); }
};
using RegistryKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

std::optional<std::string> textValue(HKEY key, const char* name) {
    char text[64] = {};
    DWORD size = sizeof text - 1;
    DWORD type = 0;
    if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    return std::string(text);
}

std::optional<int> numberValue(HKEY key, const char* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::string deviceProperty(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property) {
    char text[256] = {};
    if (!::SetupDiGetDeviceRegistryPropertyA(devices, &device, property, nullptr,
                                             reinterpret_cast<BYTE*>(text), sizeof text - 1,
                                             nullptr)) {
        return {};
    }
    return text;
}

}  // namespace

std::vector<PortDevice> registeredPortDevices() {
    std::vector<PortDevice> found;
    const HDEVINFO listed =
        ::SetupDiGetClassDevsA(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (listed == INVALID_HANDLE_VALUE) return found;
    const DeviceList devices(listed);
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; ::SetupDiEnumDeviceInfo(devices.get(), i, &device); ++i) {
        const HKEY opened = ::SetupDiOpenDevRegKey(devices.get(), &device, DICS_FLAG_GLOBAL, 0,
                                                   DIREG_DEV, KEY_READ);
        if (opened == INVALID_HANDLE_VALUE) continue;
        const RegistryKey settings(opened);
        PortDevice entry;
        entry.portName = textValue(settings.get(), "PortName").value_or("");
        entry.latencyTimer_ms = numberValue(settings.get(), "LatencyTimer");
        entry.friendlyName = deviceProperty(devices.get(), device, SPDRP_FRIENDLYNAME);
        entry.enumerator = deviceProperty(devices.get(), device, SPDRP_ENUMERATOR_NAME);
        found.push_back(std::move(entry));
    }
    return found;
}

}  // namespace canprog::serial
