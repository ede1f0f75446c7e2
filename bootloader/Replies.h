#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "BootloaderLink.h"

namespace canprog {

// What the tool makes of the module's replies, unscrambled. Replies are untrusted bytes: every
// function reads only its reply's positions and accepts any value in them.

// The READ_EEPROM reply's check value computed over its first 17 bytes.
std::uint8_t computedReplyCheck(const FrameData& reply);
// Whether the reply's own check byte (byte 17) matches what its bytes give.
bool replyCheckHolds(const FrameData& reply);

// The version line's text: reply bytes 1 to 16, Windows-1250, as UTF-8, each byte one
// character (NUL bytes and the erased 0xFF included).
std::string versionText(const FrameData& reply);
// The same as a person reads it: up to the first NUL, trailing blanks removed, and
// "(erased)" when all 16 bytes are 0xFF.
std::string readableVersionText(std::span<const std::uint8_t> text);
inline constexpr const char* kErasedVersionText = "(erased)";
// "HH:LL", a device ID as the version read shows it.
std::string deviceIdText(std::uint16_t id);
// "Device ID: HH:LL" from a READ_DEVICE_ID reply (byte 2 high, byte 1 low).
std::string deviceIdLine(const FrameData& reply);
// The diagnostic memo's line for a parameter block: number, lead byte, data, received check,
// "-", computed check, in upper-case hex.
std::string blockLine(int block, const FrameData& reply);

}  // namespace canprog
