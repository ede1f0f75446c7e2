#include "ParameterRead.h"

#include "LostDevice.h"
#include "ModuleReads.h"
#include "OpenFailureNote.h"
#include "config/ParameterImage.h"
#include "model/MessageIndex.h"

namespace canprog {

namespace {

constexpr int kStartTicks = 25;

const ExchangeStart kReadStart{
    .startTicks = kStartTicks,
    .pauses = {std::chrono::milliseconds(50), std::chrono::milliseconds(50)},
    .barsLoaded = {Ctl::ProgressBar, Ctl::ProgressBar1},
    .barsFollowing = {Ctl::ProgressBar, Ctl::ProgressBar1},
    .shownIn = WakeUpShownIn::LogAndStatusLine,
    .linkedText = LinkedText::Message3,
    .purgeBeforeWakeUp = true};

// Everything after the port opened: the wake-up, the sixteen blocks, the controls, the restart.
OperationOutcome readFromModule(WindowLink& link, const ReadChecks& checks, ModuleFacts& facts) {
    MainForm& form = link.form();
    if (const auto unlinked = link.startExchange(kReadStart)) return *unlinked;
    form.logMessageAndShow(msg::ReadingEeprom);

    BlockRead read = BlockRead::Complete;
    if (checks.deviceId) {
        std::uint16_t id = 0;
        const WaitResult wait = readDeviceId(link, id);
        if (wait == WaitResult::Success) facts.deviceId = id;
        if (wait == WaitResult::TimedOut) read = BlockRead::TimedOut;
        if (wait == WaitResult::Cancelled) read = BlockRead::Cancelled;
    }
    // The block is read into a scratch image; the parameter image takes it over only when all
    // sixteen blocks have come whole, so that a later write never sends a half-read block.
    ParameterImage scratch;
    scratch.fill(0xFF);
    if (read == BlockRead::Complete) read = readParameterBlock(link, scratch, true);
    form.addLine(Ctl::Memo1, "");

    if (read == BlockRead::TimedOut || read == BlockRead::Damaged) {
        form.logMessageAndShow(msg::TransmissionError);
        return OperationOutcome::TransmissionError;
    }
    if (read == BlockRead::Cancelled) {
        form.logMessageAndShow(msg::Cancel);
        return OperationOutcome::Cancelled;
    }
    form.images.eepromImage = scratch;
    facts.blockRead = scratch;
    applyParameterImage(form);
    form.setEnabled(Ctl::BitBtn1, true);
    form.setEnabled(Ctl::BitBtn3, true);
    // What was read can be saved, and a saved block compared with this module.
    form.setEnabled(Ctl::bbSaveSettings, true);
    form.setEnabled(Ctl::bbOpenSettings, true);
    form.logMessageAndShow(msg::Finished);
    link.restartModule("OK. Restart CPU...");
    return OperationOutcome::Finished;
}

}  // namespace

OperationOutcome BitBtn2Click(WindowLink& link, const ReadChecks& checks, ModuleFacts& facts) {
    MainForm& form = link.form();
    const OperationScope operation(form);
    if (!operation.started()) return OperationOutcome::NotStarted;
    facts.clear();

    form.clearLines(Ctl::meLog);
    if (!link.openModulePort(true)) {
        form.logMessageAndShow(msg::ErrorOpeningPort);
        noteOpenFailure(link);
        return OperationOutcome::PortError;
    }
    return talkToModule(link, true, {Ctl::ProgressBar, Ctl::ProgressBar1},
                        [&] { return readFromModule(link, checks, facts); });
}

}  // namespace canprog
