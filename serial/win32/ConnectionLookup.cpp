#include <windows.h>
// After windows.h:
#include <cfgmgr32.h>
#include <setupapi.h>

#include "DeviceInfoList.h"
#include "PortDevices.h"
#include "PortSystem.h"
#include "serial/ConnectionFacts.h"
#include "serial/PortMap.h"

namespace canprog::serial {

namespace {

// Every device present, with its first hardware ID, its name and its problem code (0 when it
// works).
std::vector<DeviceRow> presentDeviceRows() {
    std::vector<DeviceRow> rows;
    const HDEVINFO listed =
        ::SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
    if (listed == INVALID_HANDLE_VALUE) return rows;
    const DeviceList devices(listed);
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; ::SetupDiEnumDeviceInfo(devices.get(), i, &device); ++i) {
        ULONG status = 0;
        ULONG problem = 0;
        if (::CM_Get_DevNode_Status(&status, &problem, device.DevInst, 0) != CR_SUCCESS) continue;
        std::string name = deviceProperty(devices.get(), device, SPDRP_FRIENDLYNAME);
        if (name.empty()) name = deviceProperty(devices.get(), device, SPDRP_DEVICEDESC);
        rows.push_back({deviceProperty(devices.get(), device, SPDRP_HARDWAREID), name,
                        (status & DN_HAS_PROBLEM) ? static_cast<int>(problem) : 0});
    }
    return rows;
}

// The number of "\\.\COM7" or "COM7"; 0 for anything else.
int comNumberOf(const std::string& device) {
    const auto at = device.rfind("COM");
    if (at == std::string::npos || at + 3 >= device.size()) return 0;
    const std::string digits = device.substr(at + 3);
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 3) return 0;
    return std::stoi(digits);
}

}  // namespace

ConnectionFacts lookUpConnection(int comNumber, const std::string& device, const ConnectionRoots&) {
    ConnectionFacts facts;
    facts.device = device.empty() ? portDevicePath(comNumber) : device;
    facts.namedDevice = !device.empty();
    const int number = device.empty() ? comNumber : comNumberOf(device);
    const std::string portName = "COM" + std::to_string(number);
    bool listed = false;
    for (const PortDevice& port : registeredPortDevices()) {
        if (port.portName != portName) continue;
        listed = true;
        facts.description = port.friendlyName;
        facts.driver = port.enumerator;
        facts.latencyTimer_ms = port.latencyTimer_ms;
        facts.builtInUart = port.enumerator == "ACPI";
    }
    if (number > 0) {
        const PortSystem::Probe probe = win32PortSystem().probe(number);
        facts.exists = listed || probe != PortSystem::Probe::Absent;
        facts.busy = probe == PortSystem::Probe::Busy;
    }
    facts.unready = unreadyAdaptersAmong(presentDeviceRows());
    return facts;
}

}  // namespace canprog::serial
