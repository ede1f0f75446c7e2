#pragma once

#include <string>

namespace canprog::serial {

// The operating system's name and release for the head of a log file ("Linux 6.1").
std::string operatingSystemName();

// The local date and time as the log file's head shows it: "dd/mm/yy, hh:mm:ss".
std::string localDateTimeStamp();

// The system's own text for one of its error numbers (errno on POSIX, a Win32 error code on
// Windows); empty when it has none.
std::string systemErrorText(int number);

// Whether the computer runs on its battery now: closing a laptop's lid then puts it to sleep,
// whatever a program asks. False when the system cannot tell. On Linux the power supplies are
// read from `powerSupplies` (sysfs).
bool onBatteryPower(const std::string& powerSupplies = "/sys/class/power_supply");

}  // namespace canprog::serial
