#include "serial/SystemInfo.h"

#include <windows.h>

#include <ctime>

#include "Win32Errors.h"

namespace canprog::serial {

std::string operatingSystemName() {
    return "Windows";
}

std::string localDateTimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_s(&local, &now);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%d/%m/%y, %H:%M:%S", &local);
    return stamp;
}

std::string systemErrorText(int number) {
    return win32ErrorText(static_cast<DWORD>(number));
}

bool onBatteryPower(const std::string&) {
    SYSTEM_POWER_STATUS status{};
    return ::GetSystemPowerStatus(&status) && status.ACLineStatus == 0;
}

}  // namespace canprog::serial
