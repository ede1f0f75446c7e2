#pragma once

#include "OperationOutcome.h"
#include "bootloader/BootloaderLink.h"

namespace canprog {

// "Saving" (BitBtn1, BitBtn3): the controls patched into the parameter image, the whole
// block written into the module's EEPROM, the module restarted. Ignored while another
// operation runs. The PIN is checked before the port is touched; a position that is not a
// digit throws (see pinDigits) and changes nothing.
OperationOutcome BitBtn1Click(BootloaderLink& link);

}  // namespace canprog
