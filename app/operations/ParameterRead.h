#pragma once

#include "OperationOutcome.h"
#include "bootloader/BootloaderLink.h"

namespace canprog {

// "Reading" (BitBtn2, BitBtn4): the 256-byte parameter block from the module's EEPROM into
// the parameter image and the option controls. A read that does not complete, or whose reply
// fails its check byte, changes neither.
OperationOutcome BitBtn2Click(BootloaderLink& link);

}  // namespace canprog
