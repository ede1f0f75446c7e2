#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/MainForm.h"

namespace canprog {

using ParameterImage = std::array<std::uint8_t, kEepromSize>;
using PinBytes = std::array<std::uint8_t, 4>;

// Shows a parameter image in the option controls, the PIN edit and the CAN program number.
void applyParameterImage(MainForm& form);

// The PIN edit's text for an image: a digit for each PIN byte from 0 to 9 and '?' for any other
// value, so that an erased or foreign block shows that the module has no valid PIN instead of
// a cut rendering that looks like one.
std::string pinText(const ParameterImage& image);
// Whether the image's four PIN bytes are digits 0 to 9.
bool hasValidPin(const ParameterImage& image);

// The PIN edit's four positions as digits. Throws std::invalid_argument with the runtime's
// text "'%s' is not a valid integer value" for the first position that is not a digit.
PinBytes pinDigits(const std::string& pinText);

// The PIN bytes that a write stores: the image's own bytes while the edit still shows what the
// image holds (so that an untouched PIN is written back exactly as it was read), else the
// edit's four digits (see pinDigits).
PinBytes pinBytesToWrite(const std::string& pinText, const ParameterImage& image);

// Patches the seven bytes the controls set (0x21, 0x61, the PIN, 0x28) into the image.
void patchParameterImage(MainForm& form, const PinBytes& pin);

}  // namespace canprog
