#pragma once

#include <cstdint>
#include <vector>

#include "bootloader/BootloaderProtocol.h"

namespace canprog::testing {

// The tool's side of the wire, built by hand for the simulator's tests.
inline std::vector<std::uint8_t> wakePair() {
    return {WAKE, PROBE ^ initialLinkKey};
}

inline std::vector<std::uint8_t> frame(std::uint8_t command, std::uint16_t address,
                                       const std::vector<std::uint8_t>& data, std::uint8_t key) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(data.size() + 6);
    for (const std::uint8_t header :
         {command, std::uint8_t{0}, static_cast<std::uint8_t>(address >> 8),
          static_cast<std::uint8_t>(address & 0xFF), static_cast<std::uint8_t>(data.size())}) {
        bytes.push_back(header);
    }
    for (const auto b : data) bytes.push_back(b);
    if (!data.empty()) bytes.push_back(twosComplementChecksum(data));
    for (auto& b : bytes) b ^= key;
    return bytes;
}

inline std::vector<std::uint8_t> unscramble(std::vector<std::uint8_t> bytes, std::uint8_t key) {
    for (auto& b : bytes) b ^= key;
    return bytes;
}

}  // namespace canprog::testing
