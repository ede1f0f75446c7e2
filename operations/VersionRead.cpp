#include "VersionRead.h"

#include <cstdio>

#include "LostDevice.h"
#include "OpenFailureNote.h"
#include "bootloader/Replies.h"
#include "model/MessageIndex.h"

namespace canprog {

namespace {

constexpr int kStartTicks = 25;
constexpr int kDeviceIdTicks = 50;
constexpr int kVersionTicks = 30;
constexpr std::uint16_t kVersionAddress = 0xF0;

const ExchangeStart kVersionStart{
    .startTicks = kStartTicks,
    .pauses = {std::chrono::milliseconds(150), std::chrono::milliseconds(150)},
    .barsLoaded = {Ctl::ProgressBar, Ctl::ProgressBar1},
    .barsFollowing = {Ctl::ProgressBar},
    .shownIn = WakeUpShownIn::Log,
    .linkedText = LinkedText::Message3};

OperationOutcome replyFailed(MainForm& form, WaitResult wait) {
    form.logMessage(wait == WaitResult::TimedOut ? msg::TransmissionError : msg::Cancel);
    return wait == WaitResult::TimedOut ? OperationOutcome::TransmissionError
                                        : OperationOutcome::Cancelled;
}

// Everything after the port opened: the wake-up, the device ID, the version, the restart.
OperationOutcome readFromModule(WindowLink& link, const VersionReadChecks& checks) {
    MainForm& form = link.form();
    if (const auto unlinked = link.startExchange(kVersionStart)) return *unlinked;

    FrameData reply{};
    if (form.checked(Ctl::DeviceID)) {
        link.port().DiscardInput();
        link.SendPacket(READ_DEVICE_ID, 0, FrameData{}, 0);
        link.loadCountdown(kDeviceIdTicks);
        const WaitResult wait = link.readReply(kDeviceIdReplySize, reply);
        if (wait != WaitResult::Success) return replyFailed(form, wait);
        form.log(deviceIdLine(reply));
    }

    link.port().DiscardInput();
    FrameData filler;
    filler.fill(0xFF);
    link.SendPacket(READ_EEPROM, kVersionAddress, filler, kBlockSize);
    // A fresh countdown with the ticker running: a module that linked on the last attempt of
    // the wake-up still has its full time to answer.
    link.loadCountdown(kVersionTicks);
    const WaitResult wait = link.readReply(kReadEepromReplySize, reply);
    if (wait != WaitResult::Success) return replyFailed(form, wait);
    // A reply that fails its check byte was damaged on the way: its text is not the module's.
    if (!replyCheckHolds(reply)) return replyFailed(form, WaitResult::TimedOut);
    std::string text = checks.readableText
                           ? readableVersionText(std::span(reply).subspan(1, kBlockSize))
                           : versionText(reply);
    if (text == kErasedVersionText) text = form.extraMessage(Extra::ErasedVersion);
    form.log(form.message(msg::ProgramVersion) + ": " + text);

    form.logMessage(msg::Finished);
    link.restartModule("OK. Restart CPU...");
    return OperationOutcome::Finished;
}

}  // namespace

OperationOutcome Button2Click(WindowLink& link, const VersionReadChecks& checks) {
    MainForm& form = link.form();
    const OperationScope operation(form);
    if (!operation.started()) return OperationOutcome::NotStarted;

    form.clearLines(Ctl::meLog);
    if (!link.openModulePort(true)) {
        form.logMessage(msg::ErrorOpeningPort);
        noteOpenFailure(link);
        return OperationOutcome::PortError;
    }
    return talkToModule(link, false, {Ctl::ProgressBar},
                        [&] { return readFromModule(link, checks); });
}

}  // namespace canprog
