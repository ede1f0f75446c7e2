#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "bootloader/BootloaderLink.h"
#include "bootloader/OperationOutcome.h"

namespace canprog {

// The PIN edit's four positions as digits. Throws std::invalid_argument with the runtime's
// text "'%s' is not a valid integer value" for the first position that is not a digit.
std::array<std::uint8_t, 4> pinDigits(const std::string& pinText);

// Patches the seven bytes the controls set (0x21, 0x61, the PIN, 0x28) into the image.
void patchParameterImage(MainForm& form, const std::array<std::uint8_t, 4>& pin);

// "Saving" (BitBtn1, BitBtn3): the controls patched into the parameter image, the whole
// block written into the module's EEPROM, the module restarted. The PIN is checked before the
// port is touched; a position that is not a digit throws (see pinDigits) and changes nothing.
OperationOutcome BitBtn1Click(BootloaderLink& link);

}  // namespace canprog
