#pragma once

#include "ModuleFacts.h"
#include "OperationOutcome.h"
#include "WindowLink.h"

namespace canprog {

// What a parameter read asks of the module beyond the window's own steps.
struct ReadChecks {
    bool deviceId = false;  // read the device ID too (for a saved block)
};

// "Reading" (BitBtn2, BitBtn4): the 256-byte parameter block from the module's EEPROM into
// the parameter image and the option controls. A read that does not complete, or whose reply
// fails its check byte, changes neither. `facts` receives the block and the device ID.
OperationOutcome BitBtn2Click(WindowLink& link, const ReadChecks& checks, ModuleFacts& facts);

}  // namespace canprog
