#include "ConnectionFacts.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace canprog::serial {

namespace {

struct MakerRow {
    const char* vendorId;
    const char* maker;
    const char* driver;
};

constexpr std::array kMakers = {
    MakerRow{"0403", "FTDI", "the FTDI VCP driver (ftdichip.com, \"VCP Drivers\")"},
    MakerRow{"1A86", "WCH (CH340/CH341)", "the WCH CH341SER driver (wch-ic.com)"},
    MakerRow{"067B", "Prolific (PL2303)", "the Prolific PL2303 driver (prolific.com.tw)"},
    MakerRow{"10C4", "Silicon Labs (CP210x)", "the Silicon Labs CP210x VCP driver (silabs.com)"},
};

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

}  // namespace

std::optional<ChipMaker> chipMakerOf(const std::string& vendorId) {
    const std::string wanted = upper(vendorId);
    for (const MakerRow& row : kMakers) {
        if (wanted == row.vendorId) return ChipMaker{row.maker, row.driver};
    }
    return std::nullopt;
}

std::vector<UnreadyAdapter> unreadyAdaptersAmong(const std::vector<DeviceRow>& rows) {
    std::vector<UnreadyAdapter> unready;
    for (const DeviceRow& row : rows) {
        const std::string id = upper(row.hardwareId);
        const auto at = id.find("VID_");
        if (id.rfind("USB\\", 0) != 0 || at == std::string::npos || row.problemCode == 0) continue;
        const std::string vendor = id.substr(at + 4, 4);
        if (!chipMakerOf(vendor)) continue;
        unready.push_back({row.name, vendor, row.problemCode});
    }
    return unready;
}

}  // namespace canprog::serial
