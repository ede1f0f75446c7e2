#include "SavedBlock.h"

#include <fmt/chrono.h>
#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <set>

#include "bootloader/Replies.h"
#include "config/ParameterBlock.h"
#include "firmware/Cp1250.h"
#include "firmware/FirmwareLoader.h"
#include "model/LanguageTables.h"

namespace canprog {

namespace {

using Json = nlohmann::json;

constexpr const char* kFormat = "canprog parameter block";
constexpr int kFormatVersion = 1;
constexpr std::array<std::string_view, 8> kKeys = {"format",   "format_version", "saved",
                                                   "device",   "device_id",      "program_version",
                                                   "settings", "eeprom"};

std::string hexOf(const ParameterImage& block) {
    std::string hex;
    for (const auto byte : block) hex += fmt::format("{:02X}", byte);
    return hex;
}

std::optional<unsigned> hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
    return std::nullopt;
}

std::optional<ParameterImage> blockOfHex(const std::string& hex) {
    if (hex.size() != 2 * kEepromSize) return std::nullopt;
    ParameterImage block{};
    for (std::size_t i = 0; i < block.size(); ++i) {
        const auto high = hexDigitValue(hex[2 * i]);
        const auto low = hexDigitValue(hex[2 * i + 1]);
        if (!high || !low) return std::nullopt;
        block[i] = static_cast<std::uint8_t>(*high << 4 | *low);
    }
    return block;
}

// "12:34": two hex digits, a colon, two hex digits, and nothing else (no blank, no sign).
std::optional<std::uint16_t> deviceIdOfText(const std::string& text) {
    if (text.size() != 5 || text[2] != ':') return std::nullopt;
    unsigned value = 0;
    for (const char c : text.substr(0, 2) + text.substr(3)) {
        const auto digit = hexDigitValue(c);
        if (!digit) return std::nullopt;
        value = value << 4 | *digit;
    }
    return static_cast<std::uint16_t>(value);
}

// How deep the text's arrays and objects nest, counting only brackets outside strings.
int nestingDepth(const std::string& text) {
    int depth = 0;
    int deepest = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

// The first key that an object of the text carries twice. A JSON reader keeps only the last
// of them, so a file edited by hand could otherwise say one thing and mean another.
std::optional<std::string> duplicateKey(const std::string& text) {
    std::vector<std::set<std::string>> objects;
    std::optional<std::string> duplicate;
    const Json::parser_callback_t watch = [&](int, Json::parse_event_t event, Json& parsed) {
        if (event == Json::parse_event_t::object_start) {
            objects.emplace_back();
        } else if (event == Json::parse_event_t::object_end) {
            if (!objects.empty()) objects.pop_back();
        } else if (event == Json::parse_event_t::key && !objects.empty() && parsed.is_string()) {
            if (!objects.back().insert(parsed.get<std::string>()).second && !duplicate) {
                duplicate = parsed.get<std::string>();
            }
        }
        return true;
    };
    [[maybe_unused]] const Json parsed = Json::parse(text, watch, false);
    return duplicate;
}

// Why the file's "settings" do not say what its "eeprom" bytes hold, or nothing when they
// agree. They are compared in the language whose names the file uses.
std::optional<std::string> settingsDisagreement(const Json& settings, const ParameterImage& block) {
    if (!settings.is_array()) return "\"settings\" is not a list";
    for (std::size_t lang = 0; lang < kLanguageCount; ++lang) {
        const auto expected = describeImage(block, static_cast<char>('0' + lang));
        if (settings.size() != expected.size()) {
            return fmt::format("\"settings\" lists {} settings, not {}", settings.size(),
                               expected.size());
        }
        const bool sameNames = std::equal(expected.begin(), expected.end(), settings.begin(),
                                          [](const auto& want, const auto& got) {
                                              return got.is_object() && got.contains("setting") &&
                                                     got["setting"] == want.name;
                                          });
        if (!sameNames) continue;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const Json& entry = settings[i];
            const std::size_t keys = expected[i].bit >= 0 ? 3 : 2;
            if (entry.size() != keys || !entry.contains("value") ||
                (expected[i].bit >= 0 && !entry.contains("bit"))) {
                return fmt::format("\"settings\": \"{}\" does not have the fields of a setting",
                                   expected[i].name);
            }
            if (entry["value"] != expected[i].value) {
                return fmt::format(
                    "\"settings\": \"{}\" reads {}, but the \"eeprom\" bytes hold \"{}\"",
                    expected[i].name, entry["value"].dump(), expected[i].value);
            }
            if (expected[i].bit >= 0 && entry["bit"] != expected[i].bit) {
                return fmt::format(
                    "\"settings\": \"{}\" has the bit {}, but the \"eeprom\" bytes hold {}",
                    expected[i].name, entry["bit"].dump(), expected[i].bit);
            }
        }
        return std::nullopt;
    }
    return "\"settings\" does not name the settings in any language canprog speaks";
}

// The version text as files saved before it was made readable carry it: all 16 bytes as
// characters, trailing blanks removed.
std::string versionTextAsFirstSaved(const ParameterImage& block) {
    std::string text = cp1250ToUtf8(std::string(block.begin() + kVersionTextAddress, block.end()));
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace

Json settingsJson(const std::vector<SettingDescription>& settings) {
    Json list = Json::array();
    for (const auto& setting : settings) {
        Json entry = {{"setting", setting.name}, {"value", setting.value}};
        if (setting.bit >= 0) entry["bit"] = setting.bit;
        list.push_back(std::move(entry));
    }
    return list;
}

std::optional<SavedBlock> readSavedBlockFile(const std::string& file, std::string& why,
                                             SavedBlockProblem* problem) {
    std::string text;
    const std::string tooLarge = fmt::format("larger than {} KiB: not a saved parameter block",
                                             kLargestSavedBlockFile / 1024);
    if (!readFileBytes(file, text, why, {kLargestSavedBlockFile, tooLarge})) {
        // Too large is no saved block; anything else is the system's reason.
        if (problem) {
            *problem =
                why == tooLarge ? SavedBlockProblem::NotASavedBlock : SavedBlockProblem::Unreadable;
        }
        return std::nullopt;
    }
    return parseSavedBlock(text, why, problem);
}

std::string utcNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    return fmt::format("{:%Y-%m-%dT%H:%M:%SZ}", fmt::gmtime(now));
}

std::string savedBlockJson(const SavedBlock& saved, char languageCode) {
    Json document = {
        {"format", kFormat},
        {"format_version", kFormatVersion},
        {"saved", saved.savedAt},
        {"device", saved.device},
        {"program_version", programVersionText(saved.block)},
        {"settings", settingsJson(describeImage(saved.block, languageCode))},
        {"eeprom", hexOf(saved.block)},
    };
    document["device_id"] = saved.deviceId ? Json(deviceIdText(*saved.deviceId)) : Json(nullptr);
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::optional<SavedBlock> parseSavedBlock(const std::string& text, std::string& why,
                                          SavedBlockProblem* problem) {
    // Every refusal says why in words and of which kind it is.
    SavedBlockProblem kind = SavedBlockProblem::NotASavedBlock;
    const auto refuse = [&](std::string reason) {
        why = std::move(reason);
        if (problem) *problem = kind;
        return std::nullopt;
    };
    if (text.size() > kLargestSavedBlockFile) {
        return refuse(fmt::format("larger than {} KiB: not a saved parameter block",
                                  kLargestSavedBlockFile / 1024));
    }
    if (nestingDepth(text) > kDeepestSavedBlockNesting) {
        return refuse(fmt::format("nested deeper than {} levels: not a saved parameter block",
                                  kDeepestSavedBlockNesting));
    }
    // A JSON reader takes a NUL for the end of the text and would ignore whatever follows.
    if (const auto nul = text.find('\0'); nul != std::string::npos) {
        return refuse(fmt::format("not a saved parameter block (a NUL byte at offset {})", nul));
    }
    const Json document = Json::parse(text, nullptr, false);
    if (document.is_discarded() || !document.is_object()) {
        return refuse("not a saved parameter block (not one JSON object and nothing after it)");
    }
    const auto format = document.find("format");
    if (format == document.end() || !format->is_string() || *format != kFormat) {
        return refuse("not a saved parameter block (no \"format\": \"" + std::string(kFormat) +
                      "\")");
    }
    const auto version = document.find("format_version");
    if (version == document.end() || !version->is_number_integer() || *version != kFormatVersion) {
        return refuse("a saved parameter block of a format version this program does not know");
    }
    if (const auto twice = duplicateKey(text)) {
        return refuse("the key \"" + *twice + "\" appears twice");
    }
    for (const auto& [key, value] : document.items()) {
        if (std::find(kKeys.begin(), kKeys.end(), key) == kKeys.end()) {
            return refuse("an unknown key \"" + key + "\"");
        }
    }
    const auto eeprom = document.find("eeprom");
    std::optional<ParameterImage> block;
    if (eeprom != document.end() && eeprom->is_string()) {
        block = blockOfHex(eeprom->get<std::string>());
    }
    if (!block) return refuse("a saved parameter block whose \"eeprom\" is not 512 hex digits");

    SavedBlock saved;
    saved.block = *block;
    // Without the module's ID a restore could not tell this module from another.
    kind = SavedBlockProblem::NoModule;
    const auto id = document.find("device_id");
    if (id == document.end()) {
        return refuse(
            "a saved parameter block without \"device_id\": it does not say which "
            "module it was saved from");
    }
    if (id->is_string()) saved.deviceId = deviceIdOfText(id->get<std::string>());
    if (!saved.deviceId) return refuse("\"device_id\" is not a device ID such as \"12:34\"");
    // From here on the file is one of ours whose fields were changed after it was saved.
    kind = SavedBlockProblem::Edited;
    for (const auto* field : {"device", "saved"}) {
        const auto value = document.find(field);
        if (value != document.end() && !value->is_string()) {
            return refuse(std::string("\"") + field + "\" is not a text");
        }
    }
    saved.device = document.value("device", "");
    saved.savedAt = document.value("saved", "");

    const auto programVersion = document.find("program_version");
    if (programVersion == document.end() ||
        (*programVersion != programVersionText(saved.block) &&
         *programVersion != versionTextAsFirstSaved(saved.block))) {
        return refuse(
            fmt::format("\"program_version\" reads {}, but the \"eeprom\" bytes hold \"{}\"",
                        programVersion == document.end() ? "nothing" : programVersion->dump(),
                        programVersionText(saved.block)));
    }
    const auto settings = document.find("settings");
    if (settings == document.end()) return refuse("a saved parameter block without \"settings\"");
    if (auto disagreement = settingsDisagreement(*settings, saved.block)) {
        return refuse(std::move(*disagreement));
    }
    return saved;
}

}  // namespace canprog
