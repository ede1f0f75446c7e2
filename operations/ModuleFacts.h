#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "config/ParameterImage.h"

namespace canprog {

// NotFinished: the read-back began and did not end (a stop, a silent module, a lost cable), so
// nothing was compared.
enum class VerifyResult { NotRun, Passed, Failed, NotFinished };

// How far a write got: blocks acknowledged of those it meant to send.
struct WriteCounts {
    int flashAcknowledged = 0;
    int flashTotal = 0;
    int eepromAcknowledged = 0;
    int eepromTotal = 0;
    int eepromSent = 0;           // EEPROM write frames that left, acknowledged or not
    bool writeFrameLeft = false;  // the first write frame was sent
    bool restarted = false;
};

// What the last operation learned of the module, for front ends that report it.
struct ModuleFacts {
    std::optional<std::uint16_t> deviceId;
    std::optional<ParameterImage> blockRead;      // the parameter block as the module held it
    std::optional<ParameterImage> blockReadBack;  // the EEPROM as the verify read it back
    WriteCounts written;
    VerifyResult verify = VerifyResult::NotRun;

    void clear() { *this = ModuleFacts{}; }
};

// The parameter block a read last took from the module, with the module's device ID and the
// port it was read through: what "Save..." saves and what "Open..." compares a file with.
struct LastRead {
    ParameterImage block{};
    std::optional<std::uint16_t> deviceId;
    std::string device;
};

// What a firmware write asks of the module beyond the window's own steps. The window writes
// as it always did; the command line turns these on.
struct WriteChecks {
    bool verify = false;           // read the EEPROM back before the restart and compare
    bool keepParameters = false;   // put the module's own seven parameter bytes into the file's
    bool readModuleFirst = false;  // read the device ID and the parameter block before writing
    // A file with nothing for either memory stops before the port is opened, instead of a
    // wake-up and a restart that write nothing.
    bool refuseNothingToWrite = false;
    // The log says which program the module holds and which the file carries before the FLASH
    // is written, and, after a verify, which the module holds then.
    bool showVersions = false;
    // The log says how long the write frames take before the first is sent, and the status
    // line and the progress bar's text say the time left while they are sent.
    bool showTimes = false;
    // Called once the module has been read, before the first write frame (a backup is saved
    // there); false stops the write with nothing written, the module restarted.
    std::function<bool(const ModuleFacts&)> beforeWriting;
    // Asked, with the programs of the module and of the file, before another program than the
    // module's is written; without it the log notes it and the write goes on. The module is
    // restarted and the port closed while it asks.
    std::function<bool(const std::string& moduleProgram, const std::string& fileProgram)>
        confirmAnotherProgram;
    // Asked, with the CAN program the module would hold and the programs the file names
    // ("11, 12, 21"), before a firmware is written whose list does not name that program;
    // without it the log notes it and the write goes on. Asked as the question above.
    std::function<bool(const std::string& program, const std::string& programs)>
        confirmUnlistedCanProgram;
};

}  // namespace canprog
