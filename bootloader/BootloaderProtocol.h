#pragma once

#include <cstdint>

namespace canprog {

// The bytes of the bootloader's wire protocol, shared by the tool's link and the simulator.
inline constexpr std::uint8_t initialLinkKey = 0xB7;

inline constexpr std::uint8_t WAKE = 0x0F;  // sent unscrambled
inline constexpr std::uint8_t PROBE = 0x69;
inline constexpr std::uint8_t ANSWER = 0x4B;
inline constexpr std::uint8_t KEEP_KEY = 0x73;
inline constexpr std::uint8_t NEW_KEY = 0x66;

inline constexpr std::uint8_t WRITE_FLASH = 0;
inline constexpr std::uint8_t WRITE_EEPROM = 1;
inline constexpr std::uint8_t READ_DEVICE_ID = 2;
inline constexpr std::uint8_t READ_EEPROM = 3;
inline constexpr std::uint8_t RESTART = 4;

inline constexpr int kFrameHeaderSize = 5;
inline constexpr int kBlockSize = 16;
inline constexpr int kReadEepromReplySize = 18;
inline constexpr int kDeviceIdReplySize = 3;

// Two's complement of the 8-bit sum: the byte that makes the sum zero.
template <typename Bytes>
std::uint8_t twosComplementChecksum(const Bytes& bytes) {
    unsigned sum = 0;
    for (const auto b : bytes) sum += static_cast<std::uint8_t>(b);
    return static_cast<std::uint8_t>((256 - (sum & 0xFF)) & 0xFF);
}

}  // namespace canprog
