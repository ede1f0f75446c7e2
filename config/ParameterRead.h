#pragma once

#include "bootloader/BootloaderLink.h"
#include "bootloader/OperationOutcome.h"

namespace canprog {

// "Reading" (BitBtn2, BitBtn4): the 256-byte parameter block from the module's EEPROM into
// the parameter image and the option controls. A read that does not complete changes neither.
OperationOutcome BitBtn2Click(BootloaderLink& link);

// Shows a parameter image in the option controls, the PIN edit and the CAN program number.
void applyParameterImage(MainForm& form);

}  // namespace canprog
