#include "ParameterBackup.h"

#include <fmt/chrono.h>
#include <fmt/format.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "CliSession.h"
#include "config/OptionControls.h"
#include "config/SettingsDescription.h"
#include "firmware/Cp1250.h"

namespace canprog::cli {

namespace {

constexpr const char* kFormat = "canprog parameter block";
constexpr int kFormatVersion = 1;
constexpr std::size_t kVersionAddress = 0xF0;

std::string hexOf(const ParameterImage& block) {
    std::string hex;
    for (const auto byte : block) hex += fmt::format("{:02X}", byte);
    return hex;
}

std::optional<ParameterImage> blockOfHex(const std::string& hex) {
    if (hex.size() != 2 * kEepromSize) return std::nullopt;
    ParameterImage block{};
    for (std::size_t i = 0; i < block.size(); ++i) {
        unsigned value = 0;
        for (const char c : hex.substr(2 * i, 2)) {
            value <<= 4;
            if (c >= '0' && c <= '9')
                value |= static_cast<unsigned>(c - '0');
            else if (c >= 'A' && c <= 'F')
                value |= static_cast<unsigned>(c - 'A' + 10);
            else if (c >= 'a' && c <= 'f')
                value |= static_cast<unsigned>(c - 'a' + 10);
            else
                return std::nullopt;
        }
        block[i] = static_cast<std::uint8_t>(value);
    }
    return block;
}

std::optional<std::uint16_t> deviceIdOfText(const std::string& text) {
    unsigned high = 0;
    unsigned low = 0;
    char colon = 0;
    if (text.size() != 5 || std::sscanf(text.c_str(), "%2x%c%2x", &high, &colon, &low) != 3 ||
        colon != ':') {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(high << 8 | low);
}

}  // namespace

std::string deviceIdText(std::uint16_t id) {
    return fmt::format("{:02X}:{:02X}", id >> 8, id & 0xFF);
}

std::string versionInBlock(const ParameterImage& block) {
    std::string text =
        cp1250ToUtf8(std::string(reinterpret_cast<const char*>(&block[kVersionAddress]), 16));
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::string utcNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    return fmt::format("{:%Y-%m-%dT%H:%M:%SZ}", fmt::gmtime(now));
}

nlohmann::json settingsJson(const MainForm& form) {
    nlohmann::json settings = nlohmann::json::array();
    for (const auto& setting : describeSettings(form)) {
        nlohmann::json entry = {{"setting", setting.name}, {"value", setting.value}};
        if (setting.bit >= 0) entry["bit"] = setting.bit;
        settings.push_back(std::move(entry));
    }
    return settings;
}

std::string savedBlockJson(const SavedBlock& saved, char languageCode) {
    // The block shown in a window of its own, so that its settings read as the window says them.
    CliSession view(languageCode, std::cout, std::cerr);
    MainForm& form = view.form();
    bindOptionControls(form);
    form.images.eepromImage = saved.block;
    applyParameterImage(form);
    nlohmann::json document = {
        {"format", kFormat},
        {"format_version", kFormatVersion},
        {"saved", saved.savedAt},
        {"device", saved.device},
        {"program_version", versionInBlock(saved.block)},
        {"settings", settingsJson(form)},
        {"eeprom", hexOf(saved.block)},
    };
    document["device_id"] =
        saved.deviceId ? nlohmann::json(deviceIdText(*saved.deviceId)) : nlohmann::json(nullptr);
    return document.dump(2) + "\n";
}

std::optional<SavedBlock> parseSavedBlock(const std::string& text, std::string& why) {
    const nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
    if (document.is_discarded() || !document.is_object()) {
        why = "not a saved parameter block (not a JSON object)";
        return std::nullopt;
    }
    const auto format = document.find("format");
    if (format == document.end() || !format->is_string() || *format != kFormat) {
        why = "not a saved parameter block (no \"format\": \"" + std::string(kFormat) + "\")";
        return std::nullopt;
    }
    const auto version = document.find("format_version");
    if (version == document.end() || !version->is_number_integer() || *version != kFormatVersion) {
        why = "a saved parameter block of a format version this program does not know";
        return std::nullopt;
    }
    const auto eeprom = document.find("eeprom");
    std::optional<ParameterImage> block;
    if (eeprom != document.end() && eeprom->is_string()) {
        block = blockOfHex(eeprom->get<std::string>());
    }
    if (!block) {
        why = "a saved parameter block whose \"eeprom\" is not 512 hex digits";
        return std::nullopt;
    }
    SavedBlock saved;
    saved.block = *block;
    if (const auto id = document.find("device_id"); id != document.end() && id->is_string()) {
        saved.deviceId = deviceIdOfText(id->get<std::string>());
    }
    if (const auto device = document.find("device");
        device != document.end() && device->is_string()) {
        saved.device = device->get<std::string>();
    }
    if (const auto at = document.find("saved"); at != document.end() && at->is_string()) {
        saved.savedAt = at->get<std::string>();
    }
    return saved;
}

}  // namespace canprog::cli
