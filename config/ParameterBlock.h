#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "model/Controls.h"

namespace canprog {

// One option bit of the parameter block in the module's EEPROM and the controls that show it.
struct OptionBit {
    std::uint8_t address;
    std::uint8_t mask;
    Ctl whenSet;                   // checked for a set bit
    std::optional<Ctl> whenClear;  // checked for a clear bit; check boxes have none
    Ctl group;                     // the group whose caption names the option
};

inline constexpr std::uint8_t kOptionsAddress = 0x21;
inline constexpr std::uint8_t kModeAddress = 0x61;
inline constexpr std::uint8_t kCanProgramAddress = 0x28;
// The PIN's four digits, first to fourth.
inline constexpr std::array<std::uint8_t, 4> kPinAddresses = {0x26, 0x66, 0x27, 0x67};
// The seven bytes that hold the module's settings: what a write from the controls changes and
// what keeping the module's settings keeps.
inline constexpr std::array<std::uint8_t, 7> kSettingBytes = {
    kOptionsAddress,  kModeAddress,     kPinAddresses[0],  kPinAddresses[1],
    kPinAddresses[2], kPinAddresses[3], kCanProgramAddress};
// The bits of the mode byte that hold no setting; the module's write rule writes them as 0.
inline constexpr std::uint8_t kUnusedModeBits = 0x61;
inline constexpr std::uint8_t kModeFaBit = 0x80;
// The program's version text: the block's last 16 bytes.
inline constexpr std::size_t kVersionTextAddress = 0xF0;
inline constexpr std::size_t kVersionTextSize = 16;
inline constexpr int kParameterBlocks = 16;

// The option bits in the order a read applies them: options (1)-(8) at 0x21 from bit 0 up,
// then at 0x61 channel II, FS1, FS2, FS3 and the operating mode. Options (1)-(9) are the
// first nine rows.
inline const std::array<OptionBit, 13> kOptionBits = {{
    {0x21, 0x01, Ctl::RadioButton4, Ctl::RadioButton5,
     Ctl::GroupBox5},  // (1) system service: sound off
    {0x21, 0x02, Ctl::RadioButton7, Ctl::RadioButton6,
     Ctl::GroupBox6},  // (2) automatic arming 30 s
    {0x21, 0x04, Ctl::RadioButton9, Ctl::RadioButton8, Ctl::GroupBox7},    // (3) locking 7 s
    {0x21, 0x08, Ctl::RadioButton11, Ctl::RadioButton10, Ctl::GroupBox8},  // (4) FI function on
    {0x21, 0x10, Ctl::RadioButton13, Ctl::RadioButton12,
     Ctl::GroupBox10},  // (5) FI delay 90 s, PIN
    {0x21, 0x20, Ctl::RadioButton15, Ctl::RadioButton14, Ctl::GroupBox11},  // (6) channel I InfoGPS
    {0x21, 0x40, Ctl::RadioButton17, Ctl::RadioButton16, Ctl::GroupBox12},  // (7) smart key on
    {0x21, 0x80, Ctl::RadioButton21, Ctl::RadioButton20, Ctl::GroupBox14},  // (8) window closing on
    {0x61, 0x02, Ctl::RadioButton19, Ctl::RadioButton18,
     Ctl::GroupBox13},                                            // (9) channel II trunk button
    {0x61, 0x04, Ctl::CheckBox2, std::nullopt, Ctl::GroupBox16},  // (10) FS1
    {0x61, 0x08, Ctl::CheckBox1, std::nullopt, Ctl::GroupBox16},  // (10) FS2
    {0x61, 0x10, Ctl::CheckBox3, std::nullopt, Ctl::GroupBox16},  // (10) FS3
    {0x61, 0x80, Ctl::RadioButton23, Ctl::RadioButton22, Ctl::GroupBox17},  // operating mode FA
}};

inline constexpr Ctl kPinGroup = Ctl::GroupBox9;
inline constexpr Ctl kCanProgramGroup = Ctl::GroupBox15;

inline constexpr std::size_t kNumberedOptions = 9;
inline constexpr std::size_t kFs1Row = 9;
inline constexpr std::size_t kFs2Row = 10;
inline constexpr std::size_t kFs3Row = 11;
inline constexpr std::size_t kModeRow = 12;

}  // namespace canprog
