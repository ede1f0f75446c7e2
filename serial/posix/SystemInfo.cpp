#include "serial/SystemInfo.h"

#include <sys/utsname.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>

namespace canprog::serial {

std::string operatingSystemName() {
    utsname name{};
    if (::uname(&name) != 0) return "Linux";
    int major = 0;
    int minor = 0;
    std::sscanf(name.release, "%d.%d", &major, &minor);
    return std::string(name.sysname) + " " + std::to_string(major) + "." + std::to_string(minor);
}

std::string localDateTimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%d/%m/%y, %H:%M:%S", &local);
    return stamp;
}

std::string systemErrorText(int number) {
    char buffer[256];
    const char* text = strerror_r(number, buffer, sizeof buffer);
    std::string message = text ? text : "";
    if (message.rfind("Unknown error", 0) == 0) return {};
    return message;
}

namespace {

std::string firstLineOf(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

}  // namespace

// On battery: a battery discharges and no mains or USB supply is online.
bool onBatteryPower(const std::string& powerSupplies) {
    std::error_code error;
    bool discharging = false;
    for (const auto& supply : std::filesystem::directory_iterator(powerSupplies, error)) {
        const std::string type = firstLineOf(supply.path() / "type");
        if (type == "Battery") {
            discharging = discharging || firstLineOf(supply.path() / "status") == "Discharging";
        } else if (firstLineOf(supply.path() / "online") == "1") {
            return false;
        }
    }
    return discharging;
}

}  // namespace canprog::serial
