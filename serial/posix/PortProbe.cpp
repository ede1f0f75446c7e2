#include <fcntl.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "PortProbe.h"
#include "serial/PortMap.h"

namespace canprog::serial {

namespace {

std::string firstLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

}  // namespace

std::vector<PresentPort> presentPorts(SystemCalls& calls) {
    std::vector<PresentPort> ports;
    for (int number = 1; number <= kHighestPortNumber; ++number) {
        const std::string device = portDevicePath(number);
        if (device.empty()) continue;
        const int fd = calls.open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            termios settings{};
            const bool terminal = calls.tcgetattr(fd, &settings) == 0;
            calls.close(fd);
            if (terminal) ports.push_back({number, device, false, usbDescription(device)});
            continue;
        }
        if (errno == EBUSY || errno == EACCES || errno == EPERM) {
            ports.push_back({number, device, true, usbDescription(device)});
        }
    }
    return ports;
}

std::string usbDescription(const std::string& device) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path real = fs::canonical(device, error);
    if (error) return {};
    const fs::path sysfs = fs::path("/sys/class/tty") / real.filename() / "device";
    fs::path at = fs::canonical(sysfs, error);
    if (error) return {};
    // The USB device that carries the tty is a few levels up and names its maker and product.
    for (int level = 0; level < 4 && !at.empty(); ++level, at = at.parent_path()) {
        if (fs::exists(at / "product", error)) {
            const std::string maker = firstLine(at / "manufacturer");
            const std::string product = firstLine(at / "product");
            return maker.empty() ? product : maker + " " + product;
        }
    }
    return {};
}

std::vector<PresentPort> presentPorts() {
    return presentPorts(systemCalls());
}

std::vector<PresentPort> existingPorts() {
    std::vector<PresentPort> ports;
    for (int number = 1; number <= kHighestPortNumber; ++number) {
        const std::string device = portDevicePath(number);
        std::error_code error;
        if (!device.empty() && std::filesystem::exists(device, error)) {
            ports.push_back({number, device, false, usbDescription(device)});
        }
    }
    return ports;
}

}  // namespace canprog::serial
