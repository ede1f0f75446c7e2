#pragma once

#include "OperationOutcome.h"
#include "bootloader/BootloaderLink.h"
#include "firmware/HexRecordParser.h"

namespace canprog {

// "Write": loads the chosen firmware file, then writes FLASH above the bootloader's area and
// the EEPROM into the module, and restarts it. `problem` receives why a file was refused.
OperationOutcome bbUploadClick(BootloaderLink& link, HexLineProblem* problem = nullptr);

}  // namespace canprog
