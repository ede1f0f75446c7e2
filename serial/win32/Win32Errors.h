#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace canprog::serial {

// What a failing Win32 call was doing, which decides how its error reads as a result code.
enum class Win32Use {
    OpeningDevice,  // CreateFile on \\.\COMn and the first calls on the new handle
    Device,         // a call on an open device
};

// The one mapping of Win32 error codes to the layer's result codes. Opening: no such port
// -2001, held by another program (access denied, sharing violation) -2008. Out of memory -8
// everywhere. Any other error travels as -(kSystemErrorBase + code), whose message is the
// system's own text.
std::int32_t resultForWin32Error(DWORD error, Win32Use use);

// Windows' own text for an error code, in UTF-8, in `language` (0: the user's language, as
// the system chooses); empty when it has none. Taken as UTF-16, since the ANSI code page of a
// Polish, Czech, Hungarian or Russian system is not UTF-8.
std::string win32ErrorText(DWORD error, LANGID language = 0);

}  // namespace canprog::serial
