#pragma once

namespace canprog {

// How an operation on the module ended, for front ends that report it (the window shows only
// its log; the command line turns it into an exit code).
enum class OperationOutcome {
    Finished,
    NotStarted,  // another operation was running
    NoFileChosen,
    FirmwareFileError,
    NothingToWrite,  // the file holds no data for the FLASH nor for the EEPROM
    PortError,
    NoBootloader,
    TransmissionError,  // a reply did not come in time
    Rejected,           // the module refused a block
    Cancelled,
    InvalidSetting,
    DeviceLost,        // the device vanished mid-operation (the adapter was pulled)
    VerifyFailed,      // the EEPROM read back differs from what was written
    BackupFailed,      // the block read before a write could not be saved: nothing was written
    ProgramNotListed,  // the firmware's list does not name the module's CAN program: nothing
                       // was written
};

}  // namespace canprog
