#pragma once

#include <string>

namespace canprog {

// Whether the system takes a file name for a device rather than a file: on Windows NUL, CON,
// PRN, AUX, COM1 to COM9 and LPT1 to LPT9, also with an extension ("aux.json") and in any
// case; a file of that name would write into the device, or into nothing. Linux has none.
bool isDeviceFileName(const std::string& file);

}  // namespace canprog
