#include "FirmwareUpload.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <span>

#include "FirmwareWrite.h"
#include "LostDevice.h"
#include "app/model/MessageIndex.h"

namespace canprog {

namespace {

constexpr int kStartTicks = 30;
constexpr int kReplyTicks = 30;
constexpr int kFirstFlashBlock = 32;  // blocks 0-31 hold the bootloader itself
constexpr std::int32_t kFlashEnd = 0x7FFF;
constexpr std::int32_t kEepromEnd = 255;

const WakeUpParameters kUploadWakeUp{.firstPause = std::chrono::milliseconds(150),
                                     .secondPause = std::chrono::milliseconds(150),
                                     .barsFollowingCountdown = {Ctl::ProgressBar},
                                     .shownIn = WakeUpShownIn::Log,
                                     .linkedText = LinkedText::LiteralOk};

// The message and the port and bar state after a wait that timed out or was cancelled.
OperationOutcome abandonAfterWait(BootloaderLink& link, WaitResult wait) {
    MainForm& form = link.form();
    form.logMessage(wait == WaitResult::TimedOut ? msg::TransmissionError : msg::Cancel);
    link.port().SetOpen(false);
    form.setProgressMinimum(Ctl::ProgressBar, 0);
    form.setProgressPosition(Ctl::ProgressBar, 0);
    return wait == WaitResult::TimedOut ? OperationOutcome::TransmissionError
                                        : OperationOutcome::Cancelled;
}

OperationOutcome rejected(BootloaderLink& link, std::string line) {
    MainForm& form = link.form();
    form.log(std::move(line));
    link.port().SetOpen(false);
    form.setProgressPosition(Ctl::ProgressBar, form.control(Ctl::ProgressBar).minimum);
    return OperationOutcome::Rejected;
}

// The last block of a phase: ((top + 15) div 16) - 1.
int lastBlock(std::int32_t top) {
    return (top + 15) / 16 - 1;
}

// Sends the blocks of one memory; nothing when every block was acknowledged.
std::optional<OperationOutcome> sendBlocks(BootloaderLink& link, bool flash, int first, int last) {
    MainForm& form = link.form();
    const std::span<const std::uint8_t> image =
        flash ? std::span<const std::uint8_t>(form.images.flashImage)
              : std::span<const std::uint8_t>(form.images.eepromImage);
    for (int block = first; block <= last; ++block) {
        if (link.cancelledBeforeWriting()) return abandonAfterWait(link, WaitResult::Cancelled);
        if (flash) link.port().DiscardInput();  // input is not discarded before EEPROM blocks
        FrameData data{};
        std::memcpy(data.data(), image.data() + block * 16, 16);
        const auto address = static_cast<std::uint16_t>(block * 16);
        link.SendPacket(flash ? WRITE_FLASH : WRITE_EEPROM, address, data, 16);
        link.loadCountdown(kReplyTicks);
        const Acknowledge ack = link.waitAcknowledge();
        if (ack.wait != WaitResult::Success) return abandonAfterWait(link, ack.wait);
        if (ack.status != 0) {
            if (flash) {
                char addressText[9];
                std::snprintf(addressText, sizeof addressText, "%08X", block * 16);
                return rejected(link, form.message(msg::FlashWritingError) + addressText +
                                          "; error code " + std::to_string(ack.status));
            }
            return rejected(link, form.message(msg::EepromWritingError) + "; error code " +
                                      std::to_string(ack.status));
        }
        form.setProgressPosition(Ctl::ProgressBar, block);
        link.pump().processMessages();
    }
    return std::nullopt;
}

// The last step of every write that got past the file: message 13, "Finished.", the port
// closed, the bar reset. Errors here are swallowed.
void finish(BootloaderLink& link) {
    MainForm& form = link.form();
    try {
        form.logMessage(msg::Finished);
        form.setText(Ctl::Edit1, "Finished.");
        link.port().SetOpen(false);
        form.setProgressMinimum(Ctl::ProgressBar, 0);
        form.setProgressPosition(Ctl::ProgressBar, 0);
    } catch (...) {}
}

// Everything after the port opened: the wake-up, FLASH, EEPROM and the restart.
OperationOutcome writeModule(BootloaderLink& link) {
    MainForm& form = link.form();
    link.loadCountdown(kStartTicks);

    link.port().DiscardInput();
    form.setProgressRange(Ctl::ProgressBar, 0, kStartTicks);
    form.setProgressPosition(Ctl::ProgressBar, kStartTicks);

    const WaitResult wake = link.wakeBootloader(kUploadWakeUp);
    if (wake != WaitResult::Success) {
        return wake == WaitResult::Cancelled ? OperationOutcome::Cancelled
                                             : OperationOutcome::NoBootloader;
    }
    link.port().DiscardInput();

    // FLASH, above the bootloader's own blocks.
    if (form.images.flashTop == -1) {
        form.logMessage(msg::NoFlashData);
    } else {
        if (form.checked(Ctl::Flash_size)) {
            form.log("Flash = " + std::to_string(form.images.flashTop - 512) + "B");
        }
        if (form.checked(Ctl::All_memory)) form.images.flashTop = kFlashEnd;
        form.logMessage(msg::FlashWriting);
        form.setText(Ctl::Edit1, form.message(msg::FlashWriting));
        const int last = lastBlock(form.images.flashTop);
        form.setProgressRange(Ctl::ProgressBar, 0, std::max(last, kFirstFlashBlock));
        form.setProgressPosition(Ctl::ProgressBar, kFirstFlashBlock);
        form.setProgressMinimum(Ctl::ProgressBar, kFirstFlashBlock);
        if (auto failed = sendBlocks(link, true, kFirstFlashBlock, last)) return *failed;
    }

    // EEPROM.
    if (form.checked(Ctl::EEPROM)) {
        if (form.images.eepromTop == -1) {
            form.setText(Ctl::Edit1, form.message(msg::NoEepromData));
        } else {
            if (form.checked(Ctl::Flash_size)) {
                form.log("Eeprom = " + std::to_string(form.images.eepromTop) + "B");
            }
            if (form.checked(Ctl::All_memory)) form.images.eepromTop = kEepromEnd;
            form.logMessage(msg::EepromWriting);
            const int last = lastBlock(form.images.eepromTop);
            form.setProgressRange(Ctl::ProgressBar, 0, std::max(last, 0));
            form.setProgressPosition(Ctl::ProgressBar, 0);
            if (auto failed = sendBlocks(link, false, 0, last)) return *failed;
        }
    }

    link.restartModule("Reset CPU...");
    finish(link);
    return OperationOutcome::Finished;
}

}  // namespace

OperationOutcome bbUploadClick(BootloaderLink& link, HexLineProblem* problem) {
    MainForm& form = link.form();
    const OperationScope operation(form);
    if (!operation.started()) return OperationOutcome::NotStarted;

    switch (loadFirmwareForWrite(form, problem)) {
        case WriteLoad::NoFileChosen: finish(link); return OperationOutcome::NoFileChosen;
        case WriteLoad::Failed: return OperationOutcome::FirmwareFileError;
        case WriteLoad::Loaded: break;
    }

    if (!link.openModulePort(false)) {
        form.logMessage(msg::ErrorOpeningPort);
        return OperationOutcome::PortError;
    }
    return talkToModule(link, false, {Ctl::ProgressBar}, [&] { return writeModule(link); });
}

}  // namespace canprog
