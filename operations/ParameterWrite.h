#pragma once

#include "ModuleFacts.h"
#include "OperationOutcome.h"
#include "bootloader/BootloaderLink.h"

namespace canprog {

// What a parameter write asks of the module beyond the window's own steps.
struct ParameterWriteChecks {
    bool verify = false;  // read the EEPROM back before the restart and compare
};

// "Saving" (BitBtn1, BitBtn3): the controls patched into the parameter image, the whole
// block written into the module's EEPROM, the module restarted. Ignored while another
// operation runs. The PIN is checked before the port is touched; a position that is not a
// digit throws (see pinDigits) and changes nothing.
OperationOutcome BitBtn1Click(BootloaderLink& link, const ParameterWriteChecks& checks,
                              ModuleFacts& facts);

// Writes the parameter image exactly as it stands, without patching it from the controls: a
// saved block put back.
OperationOutcome writeParameterImage(BootloaderLink& link, const ParameterWriteChecks& checks,
                                     ModuleFacts& facts);

}  // namespace canprog
