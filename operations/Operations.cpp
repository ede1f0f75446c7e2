#include "Operations.h"

#include "ConnectionDoctor.h"
#include "FileChoice.h"
#include "FirmwareFinder.h"
#include "FirmwareUpload.h"
#include "HelpHandler.h"
#include "ParameterRead.h"
#include "ParameterWrite.h"
#include "VersionRead.h"
#include "WindowPort.h"
#include "config/OptionControls.h"
#include "config/ParameterImage.h"
#include "model/PlatformShell.h"

namespace canprog {

Operations::Operations(MainForm& form, HelpWindow& help, MessagePump& pump,
                       serial::DispatcherFactory dispatchers)
    : form_(form), help_(help), ComPort_(std::move(dispatchers)), link_(form, pump, ComPort_) {
    configureAsWindowPort(ComPort_);
    ComPort_.SetWaitPump(&pump);
    form_.bindClick(Ctl::bbOpen, [this] {
        // A new file while a write runs would change what the window shows mid-operation.
        if (!form_.operationRunning()) bbOpenClick(form_);
    });
    form_.bindClick(Ctl::bbUpload, [this] { upload(); });
    form_.bindClick(Ctl::bbHelp, [this] { bbHelpClick(form_, help_); });
    form_.bindClick(Ctl::FindFirmware, [this] { FindFirmwareClick(form_); });
    form_.bindClick(Ctl::CheckConnection, [this] { CheckConnectionClick(form_, *this); });
    form_.bindClick(Ctl::Button2, [this] { readVersion(); });
    for (Ctl read : {Ctl::BitBtn2, Ctl::BitBtn4})
        form_.bindClick(read, [this] { readParameters(); });
    for (Ctl write : {Ctl::BitBtn1, Ctl::BitBtn3}) {
        form_.bindClick(write, [this] { writeParameters(); });
    }
    bindOptionControls(form_);
    // The port list is read again each time it opens, so that an adapter plugged in since
    // shows up.
    form_.bindClick(Ctl::cbPort, [this] { refreshPortList(); });
}

void Operations::refreshPortList() {
    if (form_.operationRunning()) return;  // the port in use stays as it is shown
    form_.showPorts(portProbe());
}

Operations::~Operations() {
    // The window may be gone by now: the port's last close must not pump its messages.
    ComPort_.SetWaitPump(nullptr);
    for (Ctl id :
         {Ctl::bbOpen, Ctl::bbUpload, Ctl::bbHelp, Ctl::Button2, Ctl::BitBtn1, Ctl::BitBtn2,
          Ctl::BitBtn3, Ctl::BitBtn4, Ctl::bbSaveSettings, Ctl::bbOpenSettings, Ctl::cbPort}) {
        form_.bindClick(id, {});
    }
}

template <typename Run>
OperationOutcome Operations::record(Run run) {
    link_.setModuleWait(form_.checked(Ctl::WaitForModule) ? kWindowModuleWait : moduleWait);
    const OperationOutcome outcome = run();
    if (outcome != OperationOutcome::NotStarted) {
        lastOutcome_ = outcome;
        // Every operation leaves the port free for other programs (and the command line),
        // also a read, which kept it open until the next operation opened it again.
        try {
            ComPort_.SetOpen(false);
        } catch (...) {
            // A port whose device is gone closes as far as it can; nothing more to do.
        }
    }
    return outcome;
}

void Operations::useWindowChecks() {
    writeChecks.verify = true;
    writeChecks.showVersions = true;
    writeChecks.showTimes = true;
    // Another program than the module's is written only when the technician says so.
    writeChecks.confirmAnotherProgram = [this](const std::string& module, const std::string& file) {
        std::string question =
            form_.extraMessage(Extra::WriteAnotherProgram, {{"module", module}, {"file", file}});
        if (form_.checked(Ctl::KeepSettings)) {
            question += ' ';
            question += form_.extraMessage(Extra::AnotherProgramSettings);
        }
        return form_.shell().confirm(question, form_.windowText(WindowText::Yes),
                                     form_.windowText(WindowText::No));
    };
    // So is a firmware whose CAN program list does not name the program the car gets.
    writeChecks.confirmUnlistedCanProgram = [this](const std::string& program,
                                                   const std::string& programs) {
        return form_.shell().confirm(
            form_.extraMessage(Extra::WriteUnlistedCanProgram,
                               {{"program", program}, {"programs", programs}}),
            form_.windowText(WindowText::Yes), form_.windowText(WindowText::No));
    };
    parameterWriteChecks.verify = true;
    readChecks.deviceId = true;
}

OperationOutcome Operations::upload() {
    lastFileProblem_ = {};
    // The check box on the programming page keeps the module's settings too.
    WriteChecks checks = writeChecks;
    if (form_.checked(Ctl::KeepSettings)) checks.keepParameters = true;
    return record([&] { return bbUploadClick(link_, checks, facts_, &lastFileProblem_); });
}

OperationOutcome Operations::readVersion() {
    return record([this] { return Button2Click(link_, versionChecks); });
}

OperationOutcome Operations::readParameters() {
    const OperationOutcome outcome =
        record([this] { return BitBtn2Click(link_, readChecks, facts_); });
    if (outcome == OperationOutcome::Finished && facts_.blockRead) {
        lastRead_ = {*facts_.blockRead, facts_.deviceId, link_.deviceName()};
    }
    return outcome;
}

OperationOutcome Operations::writeParameters() {
    return rememberWritten(
        record([this] { return BitBtn1Click(link_, parameterWriteChecks, facts_); }));
}

OperationOutcome Operations::restoreParameters(const SavedBlockCheck& saved) {
    return rememberWritten(
        record([&] { return restoreParameterBlock(link_, saved, parameterWriteChecks, facts_); }));
}

OperationOutcome Operations::rememberWritten(OperationOutcome outcome) {
    // What the module holds now is what "To file..." saves: the block the verify read back,
    // or the one written when there was no verify.
    if (outcome == OperationOutcome::Finished) {
        lastRead_.block = facts_.blockReadBack ? *facts_.blockReadBack : form_.images.eepromImage;
        if (facts_.deviceId) lastRead_.deviceId = facts_.deviceId;
        lastRead_.device = link_.deviceName();
    }
    return outcome;
}

}  // namespace canprog
