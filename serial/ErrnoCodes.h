#pragma once

#include <cstdint>

namespace canprog::serial {

// What a failing call was doing, which decides how its errno reads as a result code.
enum class ErrnoUse {
    OpeningDevice,  // open(2), the lock or the first look at the device
    File,           // a trace or log file
    Device,         // a call on an open device
};

// The one mapping of errno values to the layer's result codes. Opening: no such device (BadId),
// in use (AlreadyOpen), no permission (PortPermission). Files: not found, access denied. Out of
// memory everywhere. Any other error travels as -(kSystemErrorBase + errno), whose message is
// the system's own text.
std::int32_t resultForErrno(int error, ErrnoUse use);

}  // namespace canprog::serial
