#pragma once

#include <string>

#include "FirmwareImages.h"
#include "LineReader.h"

namespace canprog {

// The outcome of one record.
enum class HexLineResult {
    Accepted = 0,  // record stored; go on
    BadLine = 1,   // empty, not starting with ':', or a type other than 00 and 04
    ChecksumError = 2,
    EndOfFile = 3,  // the exact end record ":00000001FF"
};

// Why a line was not accepted, for the command line's diagnostics.
struct HexLineProblem {
    int lineNumber = 0;
    std::string reason;
};

// Reads one record (two physical lines when decoding: the record and a filler that is dropped)
// and stores its data in `images`. Bytes are stored as they are read, before the checksum is
// known. `problem` receives the line and reason of anything but Accepted and EndOfFile.
HexLineResult parseHexLine(LineReader& file, bool decode, FirmwareImages& images,
                           HexLineProblem* problem = nullptr);

}  // namespace canprog
