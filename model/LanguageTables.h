#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "Controls.h"

namespace canprog {

// Languages in the order of their codes '0' to '6'.
enum class Language { Polish, English, German, Russian, Slovak, Czech, Hungarian };

inline constexpr std::size_t kLanguageCount = 7;
inline constexpr std::size_t kMessageCount = 17;  // entries 0-16 of the message table
inline constexpr std::size_t kCaptionCount = 54;

using Translations = std::array<std::string_view, kLanguageCount>;

// One language as every part of the program names it.
struct LanguageRow {
    Language language;
    char code;                 // `languageCode`, '0' to '6'
    std::string_view name;     // on the command line (--lang) and in the pictures' file names
    std::string_view isoCode;  // ISO 639-1
    Ctl button;                // its radio button in the window
    std::string_view caption;  // that button's caption
};

// The languages in the order of their codes: the one table the window, the command line and
// the picture programs read.
inline constexpr std::array<LanguageRow, kLanguageCount> kLanguages = {{
    {Language::Polish, '0', "pl", "pl", Ctl::lang1, "PL"},
    {Language::English, '1', "en", "en", Ctl::lang2, "EN"},
    {Language::German, '2', "de", "de", Ctl::lang3, "DE"},
    {Language::Russian, '3', "ru", "ru", Ctl::lang4, "RU"},
    {Language::Slovak, '4', "sk", "sk", Ctl::lang5, "SK"},
    {Language::Czech, '5', "cz", "cs", Ctl::lang6, "CZ"},
    {Language::Hungarian, '6', "hu", "hu", Ctl::lang7, "HU"},
}};

// The row of a language by its command-line name, or of a code; nothing for any other.
const LanguageRow* languageNamed(std::string_view name);
const LanguageRow* languageOfCode(char code);

struct CaptionRow {
    Ctl control;
    Translations text;
};

// The language for a code character '0'..'6', nothing for any other character.
std::optional<Language> languageForCode(char code);

// The 54 captions in the order the language switch sets them: the programming-tab rows first,
// then the operating-parameters rows, ending with GroupBox18.
const std::array<CaptionRow, kCaptionCount>& captionRows();

// Number of leading caption rows that are set before the message entries.
inline constexpr std::size_t kCaptionsBeforeMessages = 11;

// Text of message `index` (0-16) in `language`.
std::string_view messageText(std::size_t index, Language language);

// Caption of `control` in `language`; empty when the control has no translated caption.
std::string_view captionText(Ctl control, Language language);

}  // namespace canprog
