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
