#pragma once

#include <iosfwd>
#include <memory>

#include "CliSession.h"
#include "Console.h"
#include "ModuleCommands.h"
#include "ProgressLine.h"
#include "model/HelpWindow.h"
#include "operations/Operations.h"
#include "serial/SlExcept.h"

#include "model/SystemPump.h"

namespace canprog::cli {

// Everything an operation on the module needs on the command line: the window's model
// printing its log, a pump that sleeps until something happens, the operations with their
// port, and Ctrl-C (from `interrupts`) as the Cancel button. A progress line goes to `err`
// when it is a terminal.
class ModuleSession {
  public:
    ModuleSession(const ModuleOptions& options, std::ostream& out, std::ostream& err,
                  Interrupts& interrupts);
    ~ModuleSession();

    MainForm& form() { return cli_.form(); }
    Operations& operations() { return operations_; }
    // Whether Ctrl-C (or a hang-up) came at any time in this session, also between two
    // operations.
    bool interrupted() const { return interrupted_; }
    bool hungUp() const { return hungUp_; }

    // Runs an operation; a serial-layer or device error that escapes it is reported on `err`
    // and ends it as a transmission error. The operation's notes (the port that would not
    // open, the device that was lost, a half-written module) go to `err` as it adds them.
    template <typename Operation>
    OperationOutcome run(Operation operation);

    // The command's end: the port closed (a version or parameter read leaves it open), and
    // `code`, or kExitOutput when the trace file could not be written.
    int finish(int code);

  private:
    void reportEscapedError(const std::exception& error);

    CliSession cli_;
    HelpWindow help_;
    SystemPump pump_;
    Operations operations_;
    Interrupts& interrupts_;
    std::ostream& err_;
    std::unique_ptr<ProgressLine> progress_;
    bool interrupted_ = false;
    bool hungUp_ = false;
};

template <typename Operation>
OperationOutcome ModuleSession::run(Operation operation) {
    try {
        return operation();
    } catch (const serial::ESlioException& error) {
        reportEscapedError(error);
    } catch (const std::system_error& error) {
        reportEscapedError(error);
    }
    return OperationOutcome::TransmissionError;
}

}  // namespace canprog::cli
