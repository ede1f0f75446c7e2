#pragma once

#include <windows.h>
// After windows.h:
#include <setupapi.h>

#include <memory>
#include <string>
#include <type_traits>

#include "base/win32/WideText.h"

namespace canprog::serial {

// A SetupAPI device information list, destroyed with its owner.
struct DeviceListCloser {
    void operator()(HDEVINFO devices) const { ::SetupDiDestroyDeviceInfoList(devices); }
};
using DeviceList = std::unique_ptr<std::remove_pointer_t<HDEVINFO>, DeviceListCloser>;

// A device's text property (of a multi-string, its first string), taken in UTF-16: Windows
// localizes the names for people ("Port szeregowy USB (COM3)"). Empty when it has none.
inline std::string deviceProperty(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property) {
    wchar_t text[512] = {};
    if (!::SetupDiGetDeviceRegistryPropertyW(devices, &device, property, nullptr,
                                             reinterpret_cast<BYTE*>(text),
                                             sizeof text - sizeof(wchar_t), nullptr)) {
        return {};
    }
    return win32::narrow(text);
}

}  // namespace canprog::serial
