#include "ParameterWrite.h"

#include <optional>
#include <stdexcept>

#include "LostDevice.h"
#include "ModuleReads.h"
#include "OpenFailureNote.h"
#include "bootloader/Replies.h"
#include "config/ParameterBlock.h"
#include "config/ParameterImage.h"
#include "model/MessageIndex.h"

namespace canprog {

namespace {

constexpr int kStartTicks = 30;
constexpr int kReplyTicks = 30;
constexpr auto kBeforeEachBlock = std::chrono::milliseconds(50);
// The page's status line says what happened under the message it shows.
constexpr auto kBelow = MainForm::ShowNote::BelowStatus;

const ExchangeStart kWriteStart{
    .startTicks = kStartTicks,
    .pauses = {std::chrono::milliseconds(150), std::chrono::milliseconds(250)},
    .barsLoaded = {Ctl::ProgressBar1, Ctl::ProgressBar},
    .barsFollowing = {Ctl::ProgressBar, Ctl::ProgressBar1},
    .shownIn = WakeUpShownIn::LogAndStatusLine,
    .linkedText = LinkedText::LiteralOk,
    .purgeBeforeWakeUp = true};

void barsTo(MainForm& form, int minimum, int position) {
    for (Ctl bar : {Ctl::ProgressBar1, Ctl::ProgressBar}) {
        form.setProgressMinimum(bar, minimum);
        form.setProgressPosition(bar, position);
    }
}

// The end of a block's wait that timed out or was cancelled: the status line only.
OperationOutcome abandonAfterWait(WindowLink& link, WaitResult wait) {
    MainForm& form = link.form();
    const bool timedOut = wait == WaitResult::TimedOut;
    form.setText(Ctl::Edit3, form.message(timedOut ? msg::TransmissionError : msg::Cancel));
    // Why, as a pulled cable gets its reason: the module fell silent.
    if (timedOut) {
        form.logNoteAndShow(Extra::ModuleStoppedAnswering, {{"device", link.openedDevice()}},
                            kBelow);
    }
    link.port().SetOpen(false);
    barsTo(form, 0, 0);
    return timedOut ? OperationOutcome::TransmissionError : OperationOutcome::Cancelled;
}

// Where a write that sent a block and did not reach the restart left the module, with its
// settings as a read would show them ("PIN now ..."): part-way, or every block acknowledged
// and the verify stopped or failed, the module waiting in its bootloader.
void noteWhereTheModuleStands(MainForm& form, const ModuleFacts& facts,
                              const ParameterImage& before, OperationOutcome outcome) {
    const WriteCounts& written = facts.written;
    if (!written.writeFrameLeft) {
        // A write that failed before its first block says so: nothing of the module changed.
        // (A restore that refused the block has said why already.)
        if (outcome != OperationOutcome::Finished && outcome != OperationOutcome::InvalidSetting) {
            form.logNoteAndShow(Extra::ModuleUnchanged, {}, kBelow);
        }
        return;
    }
    if (written.restarted) return;
    if (written.eepromAcknowledged >= kParameterBlocks) {
        if (facts.verify == VerifyResult::Failed && facts.blockReadBack) {
            form.logNoteAndShow(Extra::SettingsVerifyFailed,
                                {{"pin", pinText(*facts.blockReadBack)}}, kBelow);
        } else {
            form.logNoteAndShow(Extra::SettingsNotVerified,
                                {{"pin", pinText(form.images.eepromImage)}}, kBelow);
        }
        return;
    }
    const std::string pin = pinAfterPartialWrite(before, form.images.eepromImage,
                                                 written.eepromAcknowledged, written.eepromSent);
    form.logNoteAndShow(Extra::SettingsHalfWritten,
                        {{"eeprom", std::to_string(written.eepromAcknowledged)}, {"pin", pin}},
                        kBelow);
}

// The port opened and the module talked to by `body`; a write that sent a block and stopped
// before the last says what the module now holds. `before` is what the module held.
template <typename Body>
OperationOutcome runWrite(WindowLink& link, ModuleFacts& facts, const ParameterImage& before,
                          Body body) {
    MainForm& form = link.form();
    form.clearLines(Ctl::meLog);
    if (!link.openModulePort(false)) {
        form.setText(Ctl::Edit3, form.message(msg::ErrorOpeningPort));
        form.logMessage(msg::ErrorOpeningPort);
        noteOpenFailure(link);
        noteWhereTheModuleStands(form, facts, before, OperationOutcome::PortError);
        return OperationOutcome::PortError;
    }
    const OperationOutcome outcome =
        talkToModule(link, true, {Ctl::ProgressBar, Ctl::ProgressBar1}, body);
    noteWhereTheModuleStands(form, facts, before, outcome);
    return outcome;
}

}  // namespace

bool blockFitsModule(MainForm& form, const SavedBlockCheck& saved, std::uint16_t deviceId,
                     const ParameterImage& module) {
    const std::string moduleId = deviceIdText(deviceId);
    const std::string blockId = saved.deviceId ? deviceIdText(*saved.deviceId) : "?";
    const std::string moduleVersion = programVersionShown(form, module);
    const std::string blockVersion = programVersionShown(form, saved.block);
    form.logNote(Extra::ModuleAndBlock, {{"moduleId", moduleId},
                                         {"moduleVersion", moduleVersion},
                                         {"blockId", blockId},
                                         {"blockVersion", blockVersion}});
    if (saved.anyModule) return true;
    if (saved.deviceId && *saved.deviceId != deviceId) {
        form.logNoteAndShow(Extra::BlockOfAnotherModule,
                            {{"moduleId", moduleId}, {"blockId", blockId}}, kBelow);
        return false;
    }
    if (!sameVersionText(saved.block, module)) {
        form.logNoteAndShow(Extra::BlockOfAnotherProgram,
                            {{"moduleVersion", moduleVersion}, {"blockVersion", blockVersion}},
                            kBelow);
        return false;
    }
    return true;
}

ParameterImage blockToRestore(const SavedBlockCheck& saved, const ParameterImage& module) {
    ParameterImage block = saved.block;
    if (!saved.withVersionText) keepVersionText(block, module);
    return block;
}

OperationOutcome writeParameterBlocks(WindowLink& link, const ParameterWriteChecks& checks,
                                      ModuleFacts& facts) {
    MainForm& form = link.form();
    link.port().DiscardInput();
    form.images.eepromTop = 255;
    facts.written.eepromTotal = kParameterBlocks;
    form.logMessageAndShow(msg::EepromWriting);
    for (Ctl bar : {Ctl::ProgressBar1, Ctl::ProgressBar}) {
        form.setProgressRange(bar, 0, kParameterBlocks - 1);
        form.setProgressPosition(bar, 0);
    }
    for (int block = 0; block < kParameterBlocks; ++block) {
        link.pump().sleep(kBeforeEachBlock);
        if (link.cancelledBeforeWriting()) return abandonAfterWait(link, WaitResult::Cancelled);
        link.port().DiscardInput();
        link.port().DiscardOutput();
        FrameData data{};
        std::copy_n(form.images.eepromImage.begin() + block * kBlockSize, kBlockSize, data.begin());
        facts.written.writeFrameLeft = true;
        ++facts.written.eepromSent;
        link.SendPacket(WRITE_EEPROM, static_cast<std::uint16_t>(block * kBlockSize), data,
                        kBlockSize);
        link.loadCountdown(kReplyTicks);
        const Acknowledge ack = link.waitAcknowledge();
        // A Cancel while the block was on its way: the module may still answer for it, and an
        // answered block counts as written.
        if (ack.wait == WaitResult::Cancelled) {
            if (link.lateAcknowledge().acknowledged()) facts.written.eepromAcknowledged = block + 1;
            return abandonAfterWait(link, ack.wait);
        }
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
        facts.verify = verify.result();
        if (verify.read == BlockRead::Complete) facts.blockReadBack = verify.readBack;
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

OperationOutcome BitBtn1Click(WindowLink& link, const ParameterWriteChecks& checks,
                              ModuleFacts& facts) {
    MainForm& form = link.form();
    // A click that comes while another operation runs is ignored, whatever the PIN shows.
    if (form.operationRunning()) return OperationOutcome::NotStarted;
    // Before anything else: a PIN that is not four digits stops the write untouched, and the
    // page says what a PIN must be, in its language.
    PinBytes pin{};
    try {
        pin = pinBytesToWrite(form.text(Ctl::PIN), form.images.eepromImage);
    } catch (const std::invalid_argument&) {
        form.logNoteAndShow(Extra::PinIsFourDigits, {}, MainForm::ShowNote::InsteadOfStatus);
        return OperationOutcome::InvalidSetting;
    }
    const OperationScope operation(form, OperationKind::ParameterWrite);
    facts.clear();
    // What the module holds as far as the window knows: the image before the controls go in.
    const ParameterImage before = form.images.eepromImage;
    return runWrite(link, facts, before, [&] {
        if (auto failed =
                link.startExchange(kWriteStart, [&] { patchParameterImage(form, pin); })) {
            return *failed;
        }
        return writeParameterBlocks(link, checks, facts);
    });
}

OperationOutcome writeParameterImage(WindowLink& link, const ParameterWriteChecks& checks,
                                     ModuleFacts& facts, const ParameterImage& before) {
    MainForm& form = link.form();
    if (form.operationRunning()) return OperationOutcome::NotStarted;
    const OperationScope operation(form, OperationKind::ParameterWrite);
    facts.clear();
    return runWrite(link, facts, before, [&] {
        if (auto failed = link.startExchange(kWriteStart)) return *failed;
        return writeParameterBlocks(link, checks, facts);
    });
}

OperationOutcome restoreParameterBlock(WindowLink& link, const SavedBlockCheck& saved,
                                       const ParameterWriteChecks& checks, ModuleFacts& facts) {
    MainForm& form = link.form();
    if (form.operationRunning()) return OperationOutcome::NotStarted;
    const OperationScope operation(form, OperationKind::ParameterWrite);
    facts.clear();
    ParameterImage module{};
    module.fill(0xFF);
    return runWrite(link, facts, module, [&] {
        if (auto failed = link.startExchange(kWriteStart)) return *failed;
        // What the module is and holds, before anything of the block goes in.
        std::uint16_t id = 0;
        const WaitResult idRead = readDeviceId(link, id);
        if (idRead != WaitResult::Success) return abandonAfterWait(link, idRead);
        facts.deviceId = id;
        form.logMessageAndShow(msg::ReadingEeprom);
        const BlockRead read = readParameterBlock(link, module, false);
        if (read != BlockRead::Complete) {
            return abandonAfterWait(
                link, read == BlockRead::Cancelled ? WaitResult::Cancelled : WaitResult::TimedOut);
        }
        facts.blockRead = module;
        if (!blockFitsModule(form, saved, id, module)) {
            // Nothing written: the module leaves its bootloader as after a read.
            link.restartModule("OK. Restart CPU...");
            link.port().SetOpen(false);
            barsTo(form, 0, 0);
            return OperationOutcome::InvalidSetting;
        }
        form.images.eepromImage = blockToRestore(saved, module);
        applyParameterImage(form);
        return writeParameterBlocks(link, checks, facts);
    });
}

}  // namespace canprog
