#pragma once

namespace canprog::cli {

// The command's exit status, one per class of failure.
enum ExitCode : int {
    kExitOk = 0,
    kExitUsage = 1,
    kExitFirmwareFile = 2,
    kExitPort = 3,
    kExitNoBootloader = 4,
    kExitTransmission = 5,
    kExitRejected = 6,
    kExitInvalidSetting = 7,
    kExitVerifyFailed = 8,  // the EEPROM read back differs; the module stays in its bootloader
    kExitOutput = 9,        // the output, an output file or the trace could not be written
    kExitCancelled = 130,
};

}  // namespace canprog::cli
