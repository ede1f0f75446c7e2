#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "config/ParameterImage.h"
#include "model/MainForm.h"

namespace canprog::cli {

// A module's parameter block saved to a file: the 256 bytes, the settings they mean (in the
// words of the window), the module's device ID and program version, where and when it was
// read. JSON, one object, marked with its own format name so that nothing else is taken for it.
struct SavedBlock {
    ParameterImage block{};
    std::optional<std::uint16_t> deviceId;
    std::string device;   // the port it was read through
    std::string savedAt;  // UTC, ISO 8601
};

// The JSON text of a saved block, its settings in the words of the language `languageCode`.
std::string savedBlockJson(const SavedBlock& saved, char languageCode);

// The settings of a block as the window's controls would show them.
nlohmann::json settingsJson(const MainForm& form);

// The block of a saved file's text; nothing, and why in `why`, when the text is not one.
std::optional<SavedBlock> parseSavedBlock(const std::string& text, std::string& why);

// "12:34", as the version read shows a device ID.
std::string deviceIdText(std::uint16_t id);
// The program version held in a block (bytes 0xF0 to 0xFF), trailing blanks removed.
std::string versionInBlock(const ParameterImage& block);
// The time now, UTC, as "2026-12-09T14:00:00Z".
std::string utcNow();

}  // namespace canprog::cli
