#include "serial/PortMap.h"
#include "PortMapFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace canprog::serial {

std::string portMapFolder() {
    if (const char* ports = std::getenv("CANPROG_PORTS"); ports && *ports) return ports;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) {
        return std::string(config) + "/canprog/ports";
    }
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config/canprog/ports";
}

std::string portDevicePath(int comNumber) {
    if (comNumber < 1 || comNumber > kHighestPortNumber) return {};
    const std::filesystem::path link =
        std::filesystem::path(portMapFolder()) / ("COM" + std::to_string(comNumber));
    std::error_code error;
    if (std::filesystem::is_symlink(link, error) || std::filesystem::exists(link, error)) {
        return link.string();
    }
    if (comNumber <= 4) return "/dev/ttyS" + std::to_string(comNumber - 1);
    if (comNumber <= 8) return "/dev/ttyUSB" + std::to_string(comNumber - 5);
    if (comNumber <= 12) return "/dev/ttyACM" + std::to_string(comNumber - 9);
    return {};
}

}  // namespace canprog::serial
