#pragma once

#include "OperationOutcome.h"
#include "WindowLink.h"

namespace canprog {

// How the version read shows the version: as the window has it, each of the 16 bytes a
// character; or, for a terminal and a log file, as a person reads it (no NUL bytes, "(erased)").
struct VersionReadChecks {
    bool readableText = false;
};

// "Read" in the program version box: the version text from EEPROM 0xF0-0xFF (and, with
// DeviceID checked, the device ID) into the log; then the module restarts.
OperationOutcome Button2Click(WindowLink& link, const VersionReadChecks& checks = {});

}  // namespace canprog
