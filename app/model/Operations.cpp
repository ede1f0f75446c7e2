#include "Operations.h"

#include "HelpHandler.h"
#include "bootloader/FirmwareUpload.h"
#include "bootloader/VersionRead.h"
#include "firmware/FileChoice.h"
#include "serial/WindowPort.h"

namespace canprog {

Operations::Operations(MainForm& form, HelpWindow& help, MessagePump& pump)
    : form_(form), help_(help), link_(form, pump, ComPort_) {
    serial::configureAsWindowPort(ComPort_);
    form_.bindClick(Ctl::bbOpen, [this] {
        // A new file while a write runs would change what the window shows mid-operation.
        if (!form_.operationRunning()) bbOpenClick(form_);
    });
    form_.bindClick(Ctl::bbUpload, [this] { upload(); });
    form_.bindClick(Ctl::bbHelp, [this] { bbHelpClick(form_, help_); });
    form_.bindClick(Ctl::Button2, [this] { readVersion(); });
}

Operations::~Operations() {
    for (Ctl id : {Ctl::bbOpen, Ctl::bbUpload, Ctl::bbHelp, Ctl::Button2}) form_.bindClick(id, {});
}

OperationOutcome Operations::upload() {
    lastFileProblem_ = {};
    const OperationOutcome outcome = bbUploadClick(link_, &lastFileProblem_);
    if (outcome != OperationOutcome::NotStarted) lastOutcome_ = outcome;
    return outcome;
}

OperationOutcome Operations::readVersion() {
    const OperationOutcome outcome = Button2Click(link_);
    if (outcome != OperationOutcome::NotStarted) lastOutcome_ = outcome;
    return outcome;
}

}  // namespace canprog
