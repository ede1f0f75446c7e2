// The firmware library over a folder of generated files: 500 copies of a firmware file under
// ten subfolders, one in ten of them cut short (broken), scanned and searched. Prints the time
// of the scan, of a search, and how many files each found. Usage: library_scan [FILE [COUNT]];
// without a file, a full-size one is made: the whole 32 KiB FLASH, the EEPROM and a list of
// CAN programs, encoded as .hexfw.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "firmware/FirmwareLoader.h"
#include "firmware/HexfwCodec.h"
#include "operations/FirmwareLibrary.h"

namespace {

// One data record of 16 bytes at `address`, or an extended address record.
std::string record(int type, int address, const std::string& data) {
    int sum = static_cast<int>(data.size()) + (address >> 8) + (address & 0xFF) + type;
    char head[16];
    std::snprintf(head, sizeof head, ":%02X%04X%02X", static_cast<int>(data.size()), address, type);
    std::string line = head;
    for (const char byte : data) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(byte));
        line += hex;
        sum += static_cast<unsigned char>(byte);
    }
    char check[4];
    std::snprintf(check, sizeof check, "%02X\n", (0x100 - (sum & 0xFF)) & 0xFF);
    return line + check;
}

std::string fullSizeFirmware() {
    std::string plain;
    for (int address = 0; address < 0x8000; address += 16) {
        plain += record(0, address, std::string(16, static_cast<char>(address >> 4)));
    }
    plain += record(4, 0, std::string("\x00\xF0", 2));
    for (int address = 0; address < 0x100; address += 16) {
        plain += record(0, address, std::string(16, address == 0xF0 ? 'V' : '\x11'));
    }
    plain += ":00000001FF\n;CAN programs\n;11 Demo sedan 2014-2018\n;21 Demo hatchback\n";
    return canprog::encodeHexfw(plain).output;
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    using Clock = std::chrono::steady_clock;
    const std::string file = argc > 1 ? argv[1] : "full-size.hexfw";
    const int count = argc > 2 ? std::atoi(argv[2]) : 500;
    std::string bytes;
    std::string error;
    if (argc < 2) {
        bytes = fullSizeFirmware();
    } else if (!canprog::readFileBytes(file, bytes, error)) {
        std::fprintf(stderr, "%s: %s\n", file.c_str(), error.c_str());
        return 1;
    }
    const fs::path folder = fs::temp_directory_path() / "canprog-library-bench";
    fs::remove_all(folder);
    const std::string suffix = fs::path(file).extension().string();
    for (int i = 0; i < count; ++i) {
        const fs::path sub = folder / ("cars-" + std::to_string(i % 10));
        fs::create_directories(sub);
        const bool broken = i % 10 == 9;
        std::ofstream(sub / ("firmware-" + std::to_string(i) + suffix), std::ios::binary)
            << (broken ? bytes.substr(0, bytes.size() / 2) : bytes);
    }
    const auto scanStart = Clock::now();
    const auto entries = canprog::scanFirmwareLibrary(folder.string());
    const auto scanEnd = Clock::now();
    const auto found = canprog::findInLibrary(entries, "sedan");
    const auto findEnd = Clock::now();
    int broken = 0;
    for (const auto& entry : entries) broken += entry.broken() ? 1 : 0;
    const auto ms = [](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    };
    std::printf("%s, %zu bytes each\n", file.c_str(), bytes.size());
    std::printf("files %zu (broken %d): scan %.1f ms; search \"sedan\": %zu found in %.1f ms\n",
                entries.size(), broken, ms(scanEnd - scanStart), found.size(),
                ms(findEnd - scanEnd));
    fs::remove_all(folder);
    return 0;
}
