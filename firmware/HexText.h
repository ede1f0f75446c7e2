#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace canprog {

// The digits that count in a record; lower-case letters are not among them.
inline constexpr std::string_view HEX_DIGITS = "0123456789ABCDEF";

// Two upper-case hex digits to a byte. A text shorter than two characters, or a character
// that is not one of HEX_DIGITS, gives 0.
std::uint8_t hexPairToByte(std::string_view text);

// The pair at 1-based character position `position` of a line. Characters beyond the line
// read as non-digits, so a short line never reads past its end.
std::uint8_t pairAt(std::string_view line, std::size_t position);

// The per-line scrambling of firmware files: every character is shifted by the code of the key
// character at its position, except every L-th character (L = key length), which stays.
// `add` scrambles; without it the same key unscrambles.
std::string decodeLine(std::string_view source, std::string_view key, bool add);

// The key text of encoded files, followed by the pair number to make a line's key.
inline constexpr std::string_view kLineKeyText = "rmquo482=t";

// The key of encoded pair `pairNumber` (1 for the first pair).
std::string lineKey(int pairNumber);

}  // namespace canprog
