#include "ParameterRead.h"

#include "LostDevice.h"
#include "app/model/MessageIndex.h"
#include "bootloader/Replies.h"
#include "config/ParameterImage.h"

namespace canprog {

namespace {

constexpr int kStartTicks = 25;
constexpr int kReplyTicks = 30;
constexpr int kBlocks = 16;
constexpr auto kBeforeEachBlock = std::chrono::milliseconds(50);

const WakeUpParameters kReadWakeUp{.firstPause = std::chrono::milliseconds(50),
                                   .secondPause = std::chrono::milliseconds(50),
                                   .barsFollowingCountdown = {Ctl::ProgressBar, Ctl::ProgressBar1},
                                   .shownIn = WakeUpShownIn::LogAndStatusLine,
                                   .linkedText = LinkedText::Message3};

// Everything after the port opened: the wake-up, the sixteen blocks, the controls, the restart.
OperationOutcome readFromModule(BootloaderLink& link) {
    MainForm& form = link.form();
    // The block is read into a scratch image; the parameter image takes it over only when all
    // sixteen blocks have come whole, so that a later write never sends a half-read block.
    ParameterImage scratch;
    scratch.fill(0xFF);
    link.loadCountdown(kStartTicks);
    link.port().DiscardInput();
    for (Ctl bar : {Ctl::ProgressBar, Ctl::ProgressBar1}) {
        form.setProgressRange(bar, 0, kStartTicks);
        form.setProgressPosition(bar, kStartTicks);
    }
    link.port().DiscardInput();
    link.port().DiscardOutput();
    const WaitResult wake = link.wakeBootloader(kReadWakeUp);
    if (wake != WaitResult::Success) {
        return wake == WaitResult::Cancelled ? OperationOutcome::Cancelled
                                             : OperationOutcome::NoBootloader;
    }
    form.logMessageAndShow(msg::ReadingEeprom);

    FrameData reply{};
    bool checkFailed = false;
    for (int block = 0; block < kBlocks; ++block) {
        link.pump().sleep(kBeforeEachBlock);
        link.port().DiscardInput();
        link.port().DiscardOutput();
        std::fill(reply.begin(), reply.begin() + kBlockSize, 0xFF);
        FrameData filler;
        filler.fill(0xFF);
        link.SendPacket(READ_EEPROM, static_cast<std::uint16_t>(block * kBlockSize), filler,
                        kBlockSize);
        link.loadCountdown(kReplyTicks);
        const WaitResult wait =
            link.readReply(kReadEepromReplySize, reply, ReplyCountdown::ShownInEdit1);
        std::copy(reply.begin() + 1, reply.begin() + 17, scratch.begin() + block * kBlockSize);
        form.addLine(Ctl::Memo1, blockLine(block, reply));
        if (wait != WaitResult::Success) break;
        // A reply that fails its check byte was damaged on the way: nothing of it is taken.
        if (!replyCheckHolds(reply)) {
            checkFailed = true;
            break;
        }
    }
    form.addLine(Ctl::Memo1, "");

    if (form.timeoutTicks == 0 || checkFailed) {
        form.logMessageAndShow(msg::TransmissionError);
        return OperationOutcome::TransmissionError;
    }
    if (form.timeoutTicks < 0) {
        form.logMessageAndShow(msg::Cancel);
        return OperationOutcome::Cancelled;
    }
    form.images.eepromImage = scratch;
    applyParameterImage(form);
    form.setEnabled(Ctl::BitBtn1, true);
    form.setEnabled(Ctl::BitBtn3, true);
    form.logMessageAndShow(msg::Finished);
    link.restartModule("OK. Restart CPU...");
    return OperationOutcome::Finished;
}

}  // namespace

OperationOutcome BitBtn2Click(BootloaderLink& link) {
    MainForm& form = link.form();
    const OperationScope operation(form);
    if (!operation.started()) return OperationOutcome::NotStarted;

    form.clearLines(Ctl::meLog);
    if (!link.openModulePort(true)) {
        form.logMessageAndShow(msg::ErrorOpeningPort);
        return OperationOutcome::PortError;
    }
    return talkToModule(link, true, {Ctl::ProgressBar, Ctl::ProgressBar1},
                        [&] { return readFromModule(link); });
}

}  // namespace canprog
