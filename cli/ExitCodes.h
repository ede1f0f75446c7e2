#pragma once

#include <string_view>

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
    kExitVerifyFailed =
        8,            // the read-back differs or did not finish; the module stays in its bootloader
    kExitOutput = 9,  // the output, an output file, a backup or the trace could not be written
    kExitProgramNotListed = 10,  // the firmware does not list the module's CAN program
    kExitHangUp = 129,           // the terminal closed (SIGHUP): stopped as Ctrl-C stops
    kExitCancelled = 130,
};

// What an exit code means, in a few words ("the module rejected a block").
std::string_view exitCodeMeaning(int code);

// Every exit code with its meaning, one per line, for --help.
std::string exitCodeTable();

}  // namespace canprog::cli
