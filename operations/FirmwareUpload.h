#pragma once

#include "ModuleFacts.h"
#include "OperationOutcome.h"
#include "WindowLink.h"
#include "firmware/HexRecordParser.h"

namespace canprog {

// "Write": loads the chosen firmware file, then writes FLASH above the bootloader's area and
// the EEPROM into the module, and restarts it. `checks` asks for more than the window does (a
// read of the module first, its settings kept, the EEPROM verified); `facts` receives what the
// write learned and how far it got; `problem` receives why a file was refused. A write that
// sent a block and did not reach the restart says so in the log.
OperationOutcome bbUploadClick(WindowLink& link, const WriteChecks& checks, ModuleFacts& facts,
                               HexLineProblem* problem = nullptr);

}  // namespace canprog
