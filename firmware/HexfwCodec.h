#pragma once

#include <string>
#include <string_view>

#include "HexRecordParser.h"

namespace canprog {

// The result of converting a whole file between plain and encoded form.
struct HexfwConversion {
    bool ok = false;
    std::string output;
    HexLineProblem problem;
};

// The filler that stands as the second line of every encoded pair.
inline constexpr std::string_view kFillerLine = ".";

// Plain HEX to encoded: every line (the comment lines after the end record included) scrambled
// with its pair's key and followed by the filler line, CR LF line ends. Fails on a line whose
// scrambled form would hold a line end, since it could not be read back as one line.
HexfwConversion encodeHexfw(std::string_view plain);

// Encoded to plain: the first line of every pair unscrambled, the second dropped, CR LF ends.
HexfwConversion decodeHexfw(std::string_view encoded);

}  // namespace canprog
