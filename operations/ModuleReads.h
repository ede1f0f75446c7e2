#pragma once

#include <cstdint>
#include <optional>

#include "ModuleFacts.h"
#include "WindowLink.h"

namespace canprog {

// How a read of the parameter block ended.
enum class BlockRead { Complete, TimedOut, Cancelled, Damaged };

// Reads the sixteen EEPROM blocks (READ_EEPROM), each after a 50 ms pause and with both
// directions purged, into `block`. A reply that times out or is cancelled ends the read, as
// does one whose check byte fails (Damaged). With `showInMemo`, each block's line goes to Memo1.
BlockRead readParameterBlock(WindowLink& link, ParameterImage& block, bool showInMemo);
// The same for the last block alone, which holds the program's version text.
BlockRead readVersionBlock(WindowLink& link, ParameterImage& block);

// Reads the device ID (READ_DEVICE_ID) into `id`.
WaitResult readDeviceId(WindowLink& link, std::uint16_t& id);

// What a verify found: how its read ended and, when it read everything, the first address
// whose byte differs from what was written.
struct VerifyOutcome {
    BlockRead read = BlockRead::Complete;
    std::optional<int> firstDifference;
    ParameterImage readBack{};  // what the module holds, when the read completed
    bool passed() const { return read == BlockRead::Complete && !firstDifference; }
    VerifyResult result() const {
        if (read != BlockRead::Complete) return VerifyResult::NotFinished;
        return firstDifference ? VerifyResult::Failed : VerifyResult::Passed;
    }
};

// Reads the EEPROM back and compares it with `written`, logging "Verifying EEPROM..." and the
// verdict. The FLASH cannot be read back: this bootloader has no command for it.
VerifyOutcome verifyEeprom(WindowLink& link, const ParameterImage& written);

}  // namespace canprog
