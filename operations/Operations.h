#pragma once

#include <chrono>

#include "ModuleFacts.h"
#include "OperationOutcome.h"
#include "ParameterRead.h"
#include "ParameterWrite.h"
#include "VersionRead.h"
#include "WindowLink.h"
#include "firmware/HexRecordParser.h"
#include "model/HelpWindow.h"
#include "model/MainForm.h"
#include "serial/SlPort.h"
#include "serial/SlSelCom.h"
#include "wait/MessagePump.h"

namespace canprog {

// The window's operations with what they share: the port component ComPort and the link to
// the module. Binds every handler to its buttons; a front end creates one and forwards clicks.
class Operations {
  public:
    // `dispatchers` makes the port's dispatcher at every open: the system's own unless a test
    // gives a model of a driver.
    Operations(MainForm& form, HelpWindow& help, MessagePump& pump,
               serial::DispatcherFactory dispatchers = serial::createPlatformDispatcher);
    ~Operations();
    Operations(const Operations&) = delete;
    Operations& operator=(const Operations&) = delete;

    serial::TSlioComPort& ComPort() { return ComPort_; }
    WindowLink& link() { return link_; }

    // What the operations ask of the module beyond the window's own steps; off as the window
    // has them, turned on by the command line.
    WriteChecks writeChecks;
    ReadChecks readChecks;
    VersionReadChecks versionChecks;
    ParameterWriteChecks parameterWriteChecks;
    // How long every wake-up probes for a module without a reset line (the command line's
    // --wait-module); the window's check box "Wait for the module" asks for a minute.
    std::chrono::seconds moduleWait{0};
    static constexpr std::chrono::seconds kWindowModuleWait{60};

    // What both windows ask beyond the window's own steps: every write verified, the versions
    // before and after a firmware write, the device ID read with the parameters (so that a
    // saved block can be checked against the module).
    void useWindowChecks();

    // Reads the ports that exist now into the port list (done each time the list opens).
    void refreshPortList();
    // What refreshPortList reads: the system's ports, or a test's.
    std::function<std::vector<serial::PresentPort>()> portProbe = [] {
        return serial::presentPorts(serial::kHighestComNumber);
    };

    // The block the module holds as the last complete parameter read or write left it.
    const LastRead& lastRead() const { return lastRead_; }
    MainForm& form() { return form_; }

    // How the last operation on the module ended, and what it learned.
    OperationOutcome lastOutcome() const { return lastOutcome_; }
    const ModuleFacts& facts() const { return facts_; }
    const HexLineProblem& lastFileProblem() const { return lastFileProblem_; }

    OperationOutcome upload();
    OperationOutcome readVersion();
    OperationOutcome readParameters();
    OperationOutcome writeParameters();
    // Puts a saved parameter block back, checked against the module first, shown in the
    // controls.
    OperationOutcome restoreParameters(const SavedBlockCheck& saved);

  private:
    template <typename Run>
    OperationOutcome record(Run run);
    // After a parameter write that finished, the block last read is the one written.
    OperationOutcome rememberWritten(OperationOutcome outcome);

    MainForm& form_;
    HelpWindow& help_;
    serial::TSlioComPort ComPort_;
    WindowLink link_;
    OperationOutcome lastOutcome_ = OperationOutcome::Finished;
    ModuleFacts facts_;
    HexLineProblem lastFileProblem_;
    LastRead lastRead_;
};

}  // namespace canprog
