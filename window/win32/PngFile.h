#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace canprog::win32window {

// Writes 24-bit pixels (rows from the top, red, green, blue) as a PNG file; false when the file
// cannot be written.
bool writePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& rgbRows);

}  // namespace canprog::win32window
