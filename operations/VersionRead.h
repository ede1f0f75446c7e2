#pragma once

#include "OperationOutcome.h"
#include "bootloader/BootloaderLink.h"

namespace canprog {

// "Read" in the program version box: the version text from EEPROM 0xF0-0xFF (and, with
// DeviceID checked, the device ID) into the log; then the module restarts. The port stays open.
OperationOutcome Button2Click(BootloaderLink& link);

}  // namespace canprog
