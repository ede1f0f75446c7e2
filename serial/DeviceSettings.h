#pragma once

#include <cstdint>

namespace canprog::serial {

enum class StopBitsField : std::uint8_t { One, OneAndHalf, Two };
enum class DtrControl : std::uint8_t { Disable, Enable, Handshake };
enum class RtsControl : std::uint8_t { Disable, Enable, Handshake, Toggle };

// Parity values as the component passes them; 5 keeps the current parity.
inline constexpr int kParityNone = 0;
inline constexpr int kParityKeep = 5;
// 9 data bits keep the current size; 0 baud keeps the current rate; 3 stop bits keep the field.
inline constexpr int kDataBitsKeep = 9;

// Everything the device is programmed with: line format, flow control, control lines.
struct DeviceSettings {
    int baud = 9600;
    int parity = kParityNone;  // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int dataBits = 8;
    StopBitsField stopBits = StopBitsField::One;
    bool binary = true;
    bool parityCheck = false;
    bool dsrSensitivity = false;
    bool txContinueOnXoff = true;
    bool nullStrip = false;
    DtrControl dtrControl = DtrControl::Enable;
    RtsControl rtsControl = RtsControl::Enable;
    bool outxCtsFlow = false;
    bool outxDsrFlow = false;
    bool outX = false;  // XON/XOFF on transmit
    bool inX = false;   // XON/XOFF on receive
    int xonLimit = 0;
    int xoffLimit = 0;
    std::uint8_t xonChar = 17;
    std::uint8_t xoffChar = 19;

    bool operator==(const DeviceSettings&) const = default;
};

}  // namespace canprog::serial
