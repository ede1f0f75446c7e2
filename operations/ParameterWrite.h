#pragma once

#include <cstdint>
#include <optional>

#include "ModuleFacts.h"
#include "OperationOutcome.h"
#include "WindowLink.h"

namespace canprog {

// What a parameter write asks of the module beyond the window's own steps.
struct ParameterWriteChecks {
    bool verify = false;  // read the EEPROM back before the restart and compare
};

// "Saving" (BitBtn1, BitBtn3): the controls patched into the parameter image, the whole
// block written into the module's EEPROM, the module restarted. Ignored while another
// operation runs. The PIN is checked before the port is touched: a position that is not a
// digit changes nothing, and the page says that the PIN must be four digits (InvalidSetting). A
// write that stops after its first block and before its last says so, with the PIN the module now
// holds.
OperationOutcome BitBtn1Click(WindowLink& link, const ParameterWriteChecks& checks,
                              ModuleFacts& facts);

// Writes the parameter image exactly as it stands, without patching it from the controls.
// `before` is what the module holds, for the note after a write that stops part-way.
OperationOutcome writeParameterImage(WindowLink& link, const ParameterWriteChecks& checks,
                                     ModuleFacts& facts, const ParameterImage& before);

// A saved parameter block to put back, with what it says of the module it was saved from.
struct SavedBlockCheck {
    ParameterImage block{};
    std::optional<std::uint16_t> deviceId;  // the module it was saved from, when known
    bool anyModule = false;                 // write it into another module or program too
    bool withVersionText = false;           // write the block's own version text (0xF0-0xFF)
};

// Whether a saved block may go into the module that answers with `deviceId` and holds
// `module`: the same device ID (when the block names one) and the same program version text,
// unless any module is allowed. Logs what the module and the block are, and why not.
bool blockFitsModule(MainForm& form, const SavedBlockCheck& saved, std::uint16_t deviceId,
                     const ParameterImage& module);

// The block that a restore writes: the saved one, with the module's own version text unless
// the saved text is asked for.
ParameterImage blockToRestore(const SavedBlockCheck& saved, const ParameterImage& module);

// Puts a saved block back: in one bootloader session the device ID and the module's block are
// read, the saved block checked against them (a refusal writes nothing and restarts the
// module: InvalidSetting), shown in the controls and written as BitBtn1Click writes.
OperationOutcome restoreParameterBlock(WindowLink& link, const SavedBlockCheck& saved,
                                       const ParameterWriteChecks& checks, ModuleFacts& facts);

// The write after the bootloader linked: the sixteen blocks of the parameter image, each
// after a 50 ms pause with both directions purged, the verify when asked, the restart.
OperationOutcome writeParameterBlocks(WindowLink& link, const ParameterWriteChecks& checks,
                                      ModuleFacts& facts);

}  // namespace canprog
