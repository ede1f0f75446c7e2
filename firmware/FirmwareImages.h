#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace canprog {

inline constexpr std::int32_t kFlashSize = 0x8000;
inline constexpr std::int32_t kEepromSize = 0x100;
inline constexpr std::int32_t kEepromBase = 0xF00000;  // EEPROM window in the file's addresses
inline constexpr std::uint8_t kErasedByte = 0xFF;

// The module's memories as a firmware file describes them, with the loader's state.
struct FirmwareImages {
    std::array<std::uint8_t, kFlashSize> flashImage{};
    std::array<std::uint8_t, kEepromSize> eepromImage{};
    std::int32_t flashTop = -1;   // highest FLASH address written (inclusive), -1 when none
    std::int32_t eepromTop = -1;  // highest EEPROM offset written (inclusive), -1 when none
    std::int32_t currentAddress = 0;
    std::int32_t decodeLineCounter = 0;
    // The CAN programs the file's comment lines name ("11", "12"), empty when they name none.
    std::vector<std::string> canPrograms;

    // Both images back to the erased value.
    void erase() {
        flashImage.fill(kErasedByte);
        eepromImage.fill(kErasedByte);
    }
};

}  // namespace canprog
