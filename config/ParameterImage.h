#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/MainForm.h"

namespace canprog {

using ParameterImage = std::array<std::uint8_t, kEepromSize>;
using PinBytes = std::array<std::uint8_t, 4>;

// Shows a parameter image in the option controls, the PIN edit and the CAN program number:
// the form's own image, or another without making it the form's.
void applyParameterImage(MainForm& form);
void applyParameterImage(MainForm& form, const ParameterImage& image);

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
// The same on a copy: what a write from the controls would send for `image`.
ParameterImage patchedImage(const MainForm& form, ParameterImage image, const PinBytes& pin);

// Puts the module's own seven setting bytes into a firmware file's EEPROM image.
void keepModuleSettings(ParameterImage& fileImage, const ParameterImage& module);

// Which of a block's settings hold valid values: the PIN four digits; the mode byte without
// its unused bits and without FS1 and FS3 together; the CAN program two decimal digits from 11
// to 99; the options byte any value, unless it is erased (0xFF) together with the mode byte.
struct ValidSettings {
    bool pin = false;
    bool options = false;     // 0x21: options (1) to (8)
    bool modeByte = false;    // 0x61: option (9), (10) and the operating mode
    bool canProgram = false;  // 0x28
    bool all() const { return pin && options && modeByte && canProgram; }
};
ValidSettings validSettings(const ParameterImage& block);
// Puts those of the module's setting bytes into the file's image that `keep` names.
void keepModuleSettings(ParameterImage& fileImage, const ParameterImage& module,
                        const ValidSettings& keep);

// The program's version text that a block holds (bytes 0xF0 to 0xFF, Windows-1250) as a person
// reads it: UTF-8, up to its first NUL, without trailing blanks; "(erased)" when all 16 bytes
// are 0xFF.
std::string programVersionText(const ParameterImage& image);
// The same as the window says it, in its language: "(erased)" translated.
std::string programVersionShown(const MainForm& form, const ParameterImage& image);
// Whether two blocks hold the same version text, byte for byte.
bool sameVersionText(const ParameterImage& a, const ParameterImage& b);
// Puts the module's own version text into a block.
void keepVersionText(ParameterImage& block, const ParameterImage& module);

// The operating mode a block holds, "FI" or "FA", and its CAN program byte as two hex digits.
std::string modeText(const ParameterImage& image);
std::string canProgramText(const ParameterImage& image);

// The PIN a module holds after a parameter write that stopped part-way: `before` is what it
// held, `sent` what the write was sending; blocks below `acknowledged` hold the new bytes, the
// block sent and not acknowledged (when `sentBlocks` is larger) may hold either, shown as '?',
// and later blocks still hold the old ones.
std::string pinAfterPartialWrite(const ParameterImage& before, const ParameterImage& sent,
                                 int acknowledged, int sentBlocks);

}  // namespace canprog
