#include "base/DeviceNames.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace canprog {

bool isDeviceFileName(const std::string& file) {
    // The name's last part up to its first dot, without trailing blanks: "aux.json", "NUL "
    // and "com1.txt" all name a device.
    const auto start = file.find_last_of("/\\:");
    std::string name = file.substr(start == std::string::npos ? 0 : start + 1);
    name = name.substr(0, name.find('.'));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    static constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN",    "AUX",
                                                                 "NUL", "CONIN$", "CONOUT$"};
    if (std::find(kDevices.begin(), kDevices.end(), name) != kDevices.end()) return true;
    return name.size() == 4 && (name.starts_with("COM") || name.starts_with("LPT")) &&
           name[3] >= '1' && name[3] <= '9';
}

}  // namespace canprog
