#include "ParameterWrite.h"

#include <optional>

#include "LostDevice.h"
#include "ModuleReads.h"
#include "OpenFailureNote.h"
#include "config/ParameterImage.h"
#include "model/MessageIndex.h"

namespace canprog {

namespace {

constexpr int kStartTicks = 30;
constexpr int kReplyTicks = 30;
constexpr int kBlocks = 16;
constexpr auto kBeforeEachBlock = std::chrono::milliseconds(50);

const WakeUpParameters kWriteWakeUp{.firstPause = std::chrono::milliseconds(150),
                                    .secondPause = std::chrono::milliseconds(250),
                                    .barsFollowingCountdown = {Ctl::ProgressBar, Ctl::ProgressBar1},
                                    .shownIn = WakeUpShownIn::LogAndStatusLine,
                                    .linkedText = LinkedText::LiteralOk};

void barsTo(MainForm& form, int minimum, int position) {
    for (Ctl bar : {Ctl::ProgressBar1, Ctl::ProgressBar}) {
        form.setProgressMinimum(bar, minimum);
        form.setProgressPosition(bar, position);
    }
}

// The end of a block's wait that timed out or was cancelled: the status line only.
OperationOutcome abandonAfterWait(BootloaderLink& link, WaitResult wait) {
    MainForm& form = link.form();
    const bool timedOut = wait == WaitResult::TimedOut;
    form.setText(Ctl::Edit3, form.message(timedOut ? msg::TransmissionError : msg::Cancel));
    link.port().SetOpen(false);
    barsTo(form, 0, 0);
    return timedOut ? OperationOutcome::TransmissionError : OperationOutcome::Cancelled;
}

// Everything after the port opened: the wake-up, the sixteen blocks, the verify, the restart.
// `pin` patches the controls into the image first; without it the image goes as it is.
OperationOutcome writeToModule(BootloaderLink& link, const std::optional<PinBytes>& pin,
                               const ParameterWriteChecks& checks, ModuleFacts& facts) {
    MainForm& form = link.form();
    link.loadCountdown(kStartTicks);
    link.port().DiscardInput();
    for (Ctl bar : {Ctl::ProgressBar1, Ctl::ProgressBar}) {
        form.setProgressRange(bar, 0, kStartTicks);
        form.setProgressPosition(bar, kStartTicks);
    }
    if (pin) patchParameterImage(form, *pin);
    link.port().DiscardInput();
    link.port().DiscardOutput();
    const WaitResult wake = link.wakeBootloader(kWriteWakeUp);
    if (wake != WaitResult::Success) {
        return wake == WaitResult::Cancelled ? OperationOutcome::Cancelled
                                             : OperationOutcome::NoBootloader;
    }

    link.port().DiscardInput();
    form.images.eepromTop = 255;
    facts.written.eepromTotal = kBlocks;
    form.logMessageAndShow(msg::EepromWriting);
    for (Ctl bar : {Ctl::ProgressBar1, Ctl::ProgressBar}) {
        form.setProgressRange(bar, 0, kBlocks - 1);
        form.setProgressPosition(bar, 0);
    }
    for (int block = 0; block < kBlocks; ++block) {
        link.pump().sleep(kBeforeEachBlock);
        if (link.cancelledBeforeWriting()) return abandonAfterWait(link, WaitResult::Cancelled);
        link.port().DiscardInput();
        link.port().DiscardOutput();
        FrameData data{};
        std::copy_n(form.images.eepromImage.begin() + block * kBlockSize, kBlockSize, data.begin());
        facts.written.writeFrameLeft = true;
        link.SendPacket(WRITE_EEPROM, static_cast<std::uint16_t>(block * kBlockSize), data,
                        kBlockSize);
        link.loadCountdown(kReplyTicks);
        const Acknowledge ack = link.waitAcknowledge();
        if (ack.wait != WaitResult::Success) return abandonAfterWait(link, ack.wait);
        if (ack.status != 0) {
            form.logMessageAndShow(msg::EepromWritingError);
            link.port().SetOpen(false);
            for (Ctl bar : {Ctl::ProgressBar1, Ctl::ProgressBar}) {
                form.setProgressPosition(bar, form.control(bar).minimum);
            }
            return OperationOutcome::Rejected;
        }
        facts.written.eepromAcknowledged = block + 1;
        for (Ctl bar : {Ctl::ProgressBar1, Ctl::ProgressBar}) form.setProgressPosition(bar, block);
        link.pump().processMessages();
    }

    if (checks.verify) {
        const VerifyOutcome verify = verifyEeprom(link, form.images.eepromImage);
        facts.verify = verify.passed() ? VerifyResult::Passed : VerifyResult::Failed;
        if (verify.read == BlockRead::Cancelled)
            return abandonAfterWait(link, WaitResult::Cancelled);
        if (verify.read != BlockRead::Complete) return abandonAfterWait(link, WaitResult::TimedOut);
        if (verify.firstDifference) {
            link.port().SetOpen(false);
            barsTo(form, 0, 0);
            return OperationOutcome::VerifyFailed;
        }
    }

    link.restartModule("Reset CPU...");
    facts.written.restarted = true;
    try {
        form.setEnabled(Ctl::BitBtn1, false);
        form.logMessageAndShow(msg::Finished);
        link.port().SetOpen(false);
        barsTo(form, 0, 0);
    } catch (...) {}
    return OperationOutcome::Finished;
}

// The write's start, once the image to send is settled: the port, then the module.
OperationOutcome startWrite(BootloaderLink& link, const std::optional<PinBytes>& pin,
                            const ParameterWriteChecks& checks, ModuleFacts& facts) {
    MainForm& form = link.form();
    const OperationScope operation(form);
    facts.clear();
    form.clearLines(Ctl::meLog);
    if (!link.openModulePort(false)) {
        form.setText(Ctl::Edit3, form.message(msg::ErrorOpeningPort));
        form.logMessage(msg::ErrorOpeningPort);
        noteOpenFailure(link);
        return OperationOutcome::PortError;
    }
    return talkToModule(link, true, {Ctl::ProgressBar, Ctl::ProgressBar1},
                        [&] { return writeToModule(link, pin, checks, facts); });
}

}  // namespace

OperationOutcome BitBtn1Click(BootloaderLink& link, const ParameterWriteChecks& checks,
                              ModuleFacts& facts) {
    MainForm& form = link.form();
    // A click that comes while another operation runs is ignored, whatever the PIN shows.
    if (form.operationRunning()) return OperationOutcome::NotStarted;
    // Before anything else: a PIN that is not four digits stops the write untouched.
    const PinBytes pin = pinBytesToWrite(form.text(Ctl::PIN), form.images.eepromImage);
    return startWrite(link, pin, checks, facts);
}

OperationOutcome writeParameterImage(BootloaderLink& link, const ParameterWriteChecks& checks,
                                     ModuleFacts& facts) {
    if (link.form().operationRunning()) return OperationOutcome::NotStarted;
    return startWrite(link, std::nullopt, checks, facts);
}

}  // namespace canprog
