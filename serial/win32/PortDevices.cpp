#include "PortDevices.h"

#include <windows.h>
// After windows.h:
#include <devguid.h>
#include <setupapi.h>

#include "DeviceInfoList.h"
#include "RegistryValues.h"

namespace canprog::serial {

std::vector<PortDevice> registeredPortDevices() {
    std::vector<PortDevice> found;
    const HDEVINFO listed =
        ::SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
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
        entry.portName = registryText(settings.get(), L"PortName").value_or("");
        entry.latencyTimer_ms = registryNumber(settings.get(), L"LatencyTimer");
        entry.friendlyName = deviceProperty(devices.get(), device, SPDRP_FRIENDLYNAME);
        entry.enumerator = deviceProperty(devices.get(), device, SPDRP_ENUMERATOR_NAME);
        found.push_back(std::move(entry));
    }
    return found;
}

}  // namespace canprog::serial
