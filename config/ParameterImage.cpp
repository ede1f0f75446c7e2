#include "ParameterImage.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "ParameterBlock.h"
#include "bootloader/BootloaderProtocol.h"
#include "bootloader/Replies.h"
#include "firmware/Cp1250.h"
#include "firmware/HexText.h"

namespace canprog {

void applyParameterImage(MainForm& form) {
    applyParameterImage(form, form.images.eepromImage);
}

void applyParameterImage(MainForm& form, const ParameterImage& image) {
    for (const OptionBit& bit : kOptionBits) {
        const bool set = (image[bit.address] & bit.mask) != 0;
        if (bit.whenClear) {
            form.setChecked(set ? bit.whenSet : *bit.whenClear, true);
        } else {
            form.setChecked(bit.whenSet, set);
        }
    }
    form.setText(Ctl::PIN, pinText(image));

    const std::uint8_t program = image[kCanProgramAddress];
    form.setText(Ctl::MaskEdit1, canProgramText(image));
    form.setText(Ctl::MaskEdit2, canProgramText(image));
    form.canProgramNumber = static_cast<unsigned char>((program >> 4) * 10 + (program & 0x0F));
}

std::string pinText(const ParameterImage& image) {
    std::string text;
    for (const std::uint8_t address : kPinAddresses) {
        const std::uint8_t digit = image[address];
        text += digit <= 9 ? static_cast<char>('0' + digit) : '?';
    }
    return text;
}

bool hasValidPin(const ParameterImage& image) {
    return std::all_of(kPinAddresses.begin(), kPinAddresses.end(),
                       [&](std::uint8_t address) { return image[address] <= 9; });
}

PinBytes pinDigits(const std::string& pinText) {
    PinBytes digits{};
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const char c = i < pinText.size() ? pinText[i] : ' ';
        if (c < '0' || c > '9') {
            throw std::invalid_argument("'" + std::string(1, c) + "' is not a valid integer value");
        }
        digits[i] = static_cast<std::uint8_t>(c - '0');
    }
    return digits;
}

PinBytes pinBytesToWrite(const std::string& text, const ParameterImage& image) {
    if (text == pinText(image)) {
        PinBytes asRead{};
        for (std::size_t i = 0; i < asRead.size(); ++i) asRead[i] = image[kPinAddresses[i]];
        return asRead;
    }
    return pinDigits(text);
}

void patchParameterImage(MainForm& form, const PinBytes& pin) {
    form.images.eepromImage = patchedImage(form, form.images.eepromImage, pin);
}

ParameterImage patchedImage(const MainForm& form, ParameterImage image, const PinBytes& pin) {
    image[kOptionsAddress] = 0;
    image[kModeAddress] = 0;  // bits 0, 5 and 6 are written as 0
    for (const OptionBit& bit : kOptionBits) {
        if (form.checked(bit.whenSet)) image[bit.address] |= bit.mask;
    }
    for (std::size_t i = 0; i < pin.size(); ++i) image[kPinAddresses[i]] = pin[i];
    image[kCanProgramAddress] = hexPairToByte(form.text(Ctl::MaskEdit1));
    return image;
}

std::string programVersionText(const ParameterImage& image) {
    return readableVersionText(std::span(image).subspan(kVersionTextAddress, kVersionTextSize));
}

std::string programVersionShown(const MainForm& form, const ParameterImage& image) {
    const std::string text = programVersionText(image);
    return text == kErasedVersionText ? form.extraMessage(Extra::ErasedVersion) : text;
}

bool sameVersionText(const ParameterImage& a, const ParameterImage& b) {
    return std::equal(a.begin() + kVersionTextAddress, a.end(), b.begin() + kVersionTextAddress);
}

void keepVersionText(ParameterImage& block, const ParameterImage& module) {
    std::copy(module.begin() + kVersionTextAddress, module.end(),
              block.begin() + kVersionTextAddress);
}

void keepModuleSettings(ParameterImage& fileImage, const ParameterImage& module) {
    for (const std::uint8_t address : kSettingBytes) fileImage[address] = module[address];
}

ValidSettings validSettings(const ParameterImage& block) {
    constexpr std::uint8_t kErased = 0xFF;
    const std::uint8_t mode = block[kModeAddress];
    const std::uint8_t fs1 = kOptionBits[kFs1Row].mask;
    const std::uint8_t fs3 = kOptionBits[kFs3Row].mask;
    const std::uint8_t program = block[kCanProgramAddress];
    const int programNumber = (program >> 4) * 10 + (program & 0x0F);
    ValidSettings valid;
    valid.pin = hasValidPin(block);
    valid.modeByte = (mode & kUnusedModeBits) == 0 && (mode & (fs1 | fs3)) != (fs1 | fs3);
    valid.options = block[kOptionsAddress] != kErased || valid.modeByte;
    valid.canProgram = (program >> 4) <= 9 && (program & 0x0F) <= 9 && programNumber >= 11;
    return valid;
}

void keepModuleSettings(ParameterImage& fileImage, const ParameterImage& module,
                        const ValidSettings& keep) {
    if (keep.pin) {
        for (const std::uint8_t address : kPinAddresses) fileImage[address] = module[address];
    }
    if (keep.options) fileImage[kOptionsAddress] = module[kOptionsAddress];
    if (keep.modeByte) fileImage[kModeAddress] = module[kModeAddress];
    if (keep.canProgram) fileImage[kCanProgramAddress] = module[kCanProgramAddress];
}

std::string modeText(const ParameterImage& image) {
    return (image[kModeAddress] & kModeFaBit) != 0 ? "FA" : "FI";
}

std::string canProgramText(const ParameterImage& image) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", image[kCanProgramAddress]);
    return hex;
}

std::string pinAfterPartialWrite(const ParameterImage& before, const ParameterImage& sent,
                                 int acknowledged, int sentBlocks) {
    std::string pin;
    for (const std::uint8_t address : kPinAddresses) {
        const int block = address / kBlockSize;
        if (block >= acknowledged && block < sentBlocks) {
            pin += '?';  // the block left, its acknowledgement never came
            continue;
        }
        const std::uint8_t digit = block < acknowledged ? sent[address] : before[address];
        pin += digit <= 9 ? static_cast<char>('0' + digit) : '?';
    }
    return pin;
}

}  // namespace canprog
