#pragma once

#include <iosfwd>

#include "CliSession.h"
#include "ModuleCommands.h"
#include "app/model/HelpWindow.h"
#include "app/model/Operations.h"
#include "app/model/PollMessagePump.h"
#include "serial/FileDescriptor.h"
#include "serial/SlExcept.h"

namespace canprog::cli {

// Everything an operation on the module needs on the command line: the window's model
// printing its log, a pump that sleeps in poll(2), the operations with their port, and Ctrl-C
// as the Cancel button. A progress bar goes to `err` when it is a terminal.
class ModuleSession : public ModelListener {
  public:
    ModuleSession(const ModuleOptions& options, std::ostream& out, std::ostream& err);
    ~ModuleSession() override;

    MainForm& form() { return cli_.form(); }
    Operations& operations() { return operations_; }

    // Runs an operation; a serial-layer or device error that escapes it is reported on `err`
    // and ends it as a transmission error.
    template <typename Operation>
    OperationOutcome run(Operation operation);

  private:
    void controlChanged(Ctl id, Change what) override;
    void reportEscapedError(const std::exception& error);

    CliSession cli_;
    HelpWindow help_;
    PollMessagePump pump_;
    Operations operations_;
    serial::FileDescriptor interrupts_;
    std::ostream& err_;
    bool showProgress_;
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
