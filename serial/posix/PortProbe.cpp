#include "PortProbe.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TerminalDevices.h"
#include "serial/PortMap.h"

namespace canprog::serial {

namespace {

namespace fs = std::filesystem;

const fs::path kTtyClass = "/sys/class/tty";
constexpr const char* kStableNames = "/dev/serial/by-id";
// The value of a UART's "type" attribute when no UART answers at its address.
constexpr const char* kNoUart = "0";

std::optional<std::string> firstLine(const fs::path& file) {
    std::ifstream in(file);
    if (!in) return std::nullopt;
    std::string line;
    std::getline(in, line);
    return line;
}

// Whether the terminal is a console of the system (its kernel messages, its login).
bool isSystemConsole(const PortProbeSystem& system, const std::string& tty) {
    if (system.ttyAttribute(tty, "console") == "Y") return true;
    const auto active = system.ttyAttribute("console", "active");
    if (!active) return false;
    std::istringstream words(*active);
    for (std::string word; words >> word;) {
        if (word == tty) return true;
    }
    return false;
}

}  // namespace

const PortProbeSystem& realPortProbeSystem() {
    static const PortProbeSystem system{
        [](const std::string& device) -> std::optional<std::string> {
            struct stat status {};
            if (::stat(device.c_str(), &status) != 0 || !S_ISCHR(status.st_mode) ||
                !mayBeSerialPort(status.st_rdev)) {
                return std::nullopt;
            }
            std::error_code error;
            const fs::path real = fs::canonical(device, error);
            return error ? fs::path(device).filename().string() : real.filename().string();
        },
        [](const std::string& tty, const std::string& attribute) {
            return firstLine(kTtyClass / tty / attribute);
        },
        [](const std::string& device) { return ::access(device.c_str(), R_OK | W_OK) == 0; },
        usbDescription,
        [](const std::string& device) { return stableNameIn(kStableNames, device); },
    };
    return system;
}

std::vector<PresentPort> presentPorts(const PortProbeSystem& system, int highest) {
    std::vector<PresentPort> ports;
    for (int number = 1; number <= highest; ++number) {
        const std::string device = portDevicePath(number);
        if (device.empty()) continue;
        const auto tty = system.characterDevice(device);
        if (!tty) continue;
        if (system.ttyAttribute(*tty, "type") == kNoUart) continue;
        if (isSystemConsole(system, *tty)) continue;
        ports.push_back({number, device, !system.permitted(device), system.description(device),
                         system.stableName ? system.stableName(device) : std::string()});
    }
    return ports;
}

std::vector<PresentPort> presentPorts(int highest) {
    return presentPorts(realPortProbeSystem(), highest);
}

std::string stableNameIn(const std::string& folder, const std::string& device) {
    std::error_code error;
    const fs::path real = fs::canonical(device, error);
    if (error) return {};
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        std::error_code ignored;
        if (fs::canonical(entry.path(), ignored) == real) return entry.path().string();
    }
    return {};
}

std::string usbDescription(const std::string& device) {
    std::error_code error;
    const fs::path real = fs::canonical(device, error);
    if (error) return {};
    fs::path at = fs::canonical(kTtyClass / real.filename() / "device", error);
    if (error) return {};
    // The USB device that carries the tty is a few levels up and names its maker and product.
    for (int level = 0; level < 4 && !at.empty(); ++level, at = at.parent_path()) {
        if (fs::exists(at / "product", error)) {
            const std::string maker = firstLine(at / "manufacturer").value_or("");
            const std::string product = firstLine(at / "product").value_or("");
            return maker.empty() ? product : maker + " " + product;
        }
    }
    return {};
}

}  // namespace canprog::serial
