#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "config/ParameterImage.h"
#include "config/SettingsDescription.h"

namespace canprog {

// A module's parameter block saved to a file: the 256 bytes, the settings they mean (in the
// words of the window), the module's device ID and program version, where and when it was
// read. JSON, one object, marked with its own format name so that nothing else is taken for it.
// Both windows and the command line write and read the same files.
struct SavedBlock {
    ParameterImage block{};
    std::optional<std::uint16_t> deviceId;
    std::string device;   // the port it was read through
    std::string savedAt;  // UTC, ISO 8601
};

// The JSON text of a saved block, its settings in the words of the language `languageCode`.
std::string savedBlockJson(const SavedBlock& saved, char languageCode);

// Settings as the JSON array a saved block and `params read --json` carry.
nlohmann::json settingsJson(const std::vector<SettingDescription>& settings);

// A saved block's file is a few kilobytes and nested three deep; a larger or deeper one is
// refused before it is parsed, so that a hostile file cannot exhaust memory.
inline constexpr std::size_t kLargestSavedBlockFile = 64 * 1024;
inline constexpr int kDeepestSavedBlockNesting = 8;

// The block of a saved file's text, read strictly: one JSON object of this format and nothing
// after it, no key twice, no key it does not know, and "settings" and "program_version" that
// say what its "eeprom" bytes hold. Nothing, and why (naming the field), when it is not one.
// What kind of thing is wrong with a saved file, for a window that says it in its own language
// (`why` says it in English, naming the field).
enum class SavedBlockProblem {
    Unreadable,      // the file cannot be read: `why` is the system's reason
    NotASavedBlock,  // not one of our saved blocks at all
    NoModule,        // it does not say which module it was saved from
    Edited,          // one of ours, changed after it was saved
};
std::optional<SavedBlock> parseSavedBlock(const std::string& text, std::string& why,
                                          SavedBlockProblem* problem = nullptr);
// The same for a file, refused before it is read whole when it is larger than a saved block.
std::optional<SavedBlock> readSavedBlockFile(const std::string& file, std::string& why,
                                             SavedBlockProblem* problem = nullptr);

// The time now, UTC, as "2026-12-09T14:00:00Z".
std::string utcNow();

}  // namespace canprog
