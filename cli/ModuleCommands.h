#pragma once

#include <chrono>

#include <iosfwd>
#include <string>

#include "operations/ModuleFacts.h"
#include "operations/OperationOutcome.h"

namespace canprog::cli {

// Where the module is and in which language to report.
struct ModuleOptions {
    int port = 1;        // COM1..COM12, as the window's port list
    std::string device;  // an explicit device path instead of the port number
    char languageCode = '1';
    std::string traceFile;  // when set, the port's character trace is written there at close
    std::chrono::seconds moduleWait{0};  // --wait-module: probing for a module switched on late
};

// How `write` writes: its checks, and the production bench.
struct WriteOptions {
    bool verify = true;           // the EEPROM read back before the restart
    bool keepParameters = false;  // the module's settings kept across the new firmware
    std::string backupFile;       // the module's parameter block saved before writing
    bool force = false;           // an existing backup file may be replaced
    bool repeat = false;          // one module after another, Enter between them
    std::string logFile;          // one JSON line per module appended
    std::string program;          // the program and its version, for the log's lines
};

// The exit code for how an operation ended.
int exitCodeFor(OperationOutcome outcome);
// The same, knowing what the operation learned: a verify that did not finish leaves the module
// written, unverified and in its bootloader, as a failed verify does; a stop that the user
// asked for keeps the stop's own code.
int exitCodeFor(OperationOutcome outcome, const ModuleFacts& facts);

// Each command prints the window's log lines on `out` as they come and returns its exit code.
int runWrite(const ModuleOptions& options, const std::string& file, const WriteOptions& write,
             std::ostream& out, std::ostream& err);
int runVersion(const ModuleOptions& options, bool deviceId, std::ostream& out, std::ostream& err);

}  // namespace canprog::cli
