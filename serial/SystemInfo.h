#pragma once

#include <string>

namespace canprog::serial {

// The operating system's name and release for the head of a log file ("Linux 6.1").
std::string operatingSystemName();

// The local date and time as the log file's head shows it: "dd/mm/yy, hh:mm:ss".
std::string localDateTimeStamp();

}  // namespace canprog::serial
