#include "FirmwareUpload.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <span>
#include <utility>

#include "FirmwareFileLoad.h"
#include "LostDevice.h"
#include "ModuleReads.h"
#include "OpenFailureNote.h"
#include "ReplyDelayWatch.h"
#include "bootloader/Replies.h"
#include "config/ParameterBlock.h"
#include "config/ParameterImage.h"
#include "firmware/ProgramList.h"
#include "model/MessageIndex.h"
#include "model/PlatformShell.h"
#include "serial/AdapterLatency.h"

namespace canprog {

namespace {

constexpr int kStartTicks = 30;
constexpr int kReplyTicks = 30;
constexpr int kFirstFlashBlock = 32;  // blocks 0-31 hold the bootloader itself
constexpr std::int32_t kFlashEnd = 0x7FFF;
constexpr std::int32_t kEepromEnd = 255;

const ExchangeStart kUploadStart{
    .startTicks = kStartTicks,
    .pauses = {std::chrono::milliseconds(150), std::chrono::milliseconds(150)},
    .barsLoaded = {Ctl::ProgressBar},
    .barsFollowing = {Ctl::ProgressBar},
    .shownIn = WakeUpShownIn::Log,
    .linkedText = LinkedText::LiteralOk};

// A question that stopped the write before its first frame; it is asked with the port closed,
// and a yes writes from the start again.
enum class Question { None, AnotherProgram, UnlistedCanProgram };

// One firmware write: the link, what it is asked to check, and what it learns.
struct Upload {
    Upload(WindowLink& link, const WriteChecks& checks, ModuleFacts& facts)
        : link(link), checks(checks), facts(facts) {}
    WindowLink& link;
    const WriteChecks& checks;
    ModuleFacts& facts;
    ReplyDelayWatch replyDelays;
    // The programs of the module and of the file, when they differ; the user's yes to writing
    // the other program all the same.
    std::optional<std::pair<std::string, std::string>> anotherProgram;
    bool anotherProgramAccepted = false;
    // The CAN program the module would hold that the file's list does not name, with the list.
    std::optional<std::pair<std::string, std::string>> unlistedProgram;
    bool unlistedProgramAccepted = false;
    Question stoppedFor = Question::None;
    // When the write frames began, and how many the write sends: the time left follows them.
    std::chrono::steady_clock::time_point framesStarted;
    int framesSent = 0;
    MainForm& form() { return link.form(); }
};

// A write frame and its status byte on the wire: header, data, checksum, status.
constexpr int kWriteExchangeBytes = kFrameHeaderSize + kBlockSize + 1 + 1;

// Says once, after enough frames, that the adapter holds the module's replies back: how much
// longer the write takes for it, and what to change where the system says what adapter it is.
void noteSlowAdapter(Upload& upload, std::chrono::microseconds delay) {
    MainForm& form = upload.form();
    const WriteCounts& written = upload.facts.written;
    const auto extra = delay * (written.flashTotal + written.eepromTotal);
    std::string advice = form.extraMessage(Extra::SlowAdapterAdvice);
    // A port named by its number can be looked up; a device path cannot.
    if (upload.link.port().DevicePath().empty()) {
        const serial::AdapterLatency adapter =
            serial::adapterLatency(upload.link.port().ComNumber());
        if (adapter.ftdi) {
            advice = form.extraMessage(
                Extra::FtdiLatencyAdvice,
                {{"now",
                  adapter.latencyTimer_ms ? std::to_string(*adapter.latencyTimer_ms) : "?"}});
        }
    }
    form.logNote(
        Extra::SlowAdapter,
        {{"delay", std::to_string((delay.count() + 500) / 1000)},
         {"extra", std::to_string(std::chrono::round<std::chrono::seconds>(extra).count())},
         {"advice", advice}});
}

// The port closed and the bar emptied: how every write that stops after the wake-up leaves them.
void abandon(WindowLink& link) {
    link.port().SetOpen(false);
    link.form().setProgressMinimum(Ctl::ProgressBar, 0);
    link.form().setProgressPosition(Ctl::ProgressBar, 0);
    link.form().setText(Ctl::ProgressBar, "");
}

// The message and the port and bar state after a wait that timed out or was cancelled.
OperationOutcome abandonAfterWait(WindowLink& link, WaitResult wait) {
    MainForm& form = link.form();
    form.logMessage(wait == WaitResult::TimedOut ? msg::TransmissionError : msg::Cancel);
    // Why, as a pulled cable gets its reason: the module fell silent.
    if (wait == WaitResult::TimedOut) {
        form.logNote(Extra::ModuleStoppedAnswering, {{"device", link.openedDevice()}});
    }
    abandon(link);
    return wait == WaitResult::TimedOut ? OperationOutcome::TransmissionError
                                        : OperationOutcome::Cancelled;
}

// The same after a read of the module (the parameters first, or the verify) that did not end.
OperationOutcome abandonAfterRead(WindowLink& link, BlockRead read) {
    return abandonAfterWait(
        link, read == BlockRead::Cancelled ? WaitResult::Cancelled : WaitResult::TimedOut);
}

OperationOutcome rejected(WindowLink& link, std::string line) {
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

// One memory as a write sends it: its frame command, its image, its counts, and how the
// write differs between the two.
struct MemoryToWrite {
    std::uint8_t command;
    std::span<const std::uint8_t> image;
    int& acknowledged;
    int* sent;                // blocks sent counted too (the EEPROM: where the PIN stands)
    bool discardInputFirst;   // input discarded before each block (the FLASH only)
    std::size_t phase;        // the message of its phase: "FLASH writing..."
    std::size_t rejection;    // the message of a rejected block
    bool addressInRejection;  // the rejected block's address follows the message
};

MemoryToWrite flashMemory(Upload& upload) {
    return {WRITE_FLASH,
            upload.form().images.flashImage,
            upload.facts.written.flashAcknowledged,
            nullptr,
            true,
            msg::FlashWriting,
            msg::FlashWritingError,
            true};
}

MemoryToWrite eepromMemory(Upload& upload) {
    return {WRITE_EEPROM,
            upload.form().images.eepromImage,
            upload.facts.written.eepromAcknowledged,
            &upload.facts.written.eepromSent,
            false,
            msg::EepromWriting,
            msg::EepromWritingError,
            false};
}

// A write frame with its status byte takes this long on the wire at the port's rate; the
// module's own time to write a block hides in the next frame's transfer.
std::chrono::microseconds frameTime(int baud) {
    constexpr int kBitsPerByte = 10;  // start, eight data bits, stop
    return std::chrono::microseconds(std::int64_t{kWriteExchangeBytes} * kBitsPerByte * 1'000'000 /
                                     std::max(baud, 1));
}

int roundedSeconds(std::chrono::microseconds time) {
    return static_cast<int>((time.count() + 500'000) / 1'000'000);
}

// The write frames the write means to send.
int framesToSend(const WriteCounts& written) {
    return written.flashTotal + written.eepromTotal;
}

// Before the first write frame: how long the frames take, in the log; the clock of the time
// left starts.
void noteExpectedTime(Upload& upload) {
    upload.framesStarted = std::chrono::steady_clock::now();
    const int frames = framesToSend(upload.facts.written);
    if (frames == 0 || !upload.checks.showTimes) return;
    const auto expected = frameTime(upload.link.port().Baud()) * frames;
    upload.form().logNote(Extra::ExpectedWriteTime,
                          {{"seconds", std::to_string(std::max(1, roundedSeconds(expected)))}});
}

// After each acknowledged frame: the time the rest takes at the pace so far, in the status
// line and on the progress bar (its text is what a screen reader reads as its value). Shown
// when the text changes (a whole second, or the phase), not with every frame.
void showTimeLeft(Upload& upload, std::size_t phase) {
    MainForm& form = upload.form();
    const WriteCounts& written = upload.facts.written;
    const int done = written.flashAcknowledged + written.eepromAcknowledged;
    ++upload.framesSent;
    if (!upload.checks.showTimes) return;
    const int left = std::max(0, framesToSend(written) - done);
    const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - upload.framesStarted);
    const auto perFrame = elapsed / std::max(upload.framesSent, 1);
    const std::string timeLeft = form.extraMessage(
        Extra::TimeLeft, {{"seconds", std::to_string(roundedSeconds(perFrame * left))}});
    std::string status = form.message(phase) + " — " + timeLeft;
    if (status == form.text(Ctl::Edit1)) return;
    form.setText(Ctl::Edit1, std::move(status));
    form.setText(Ctl::ProgressBar, timeLeft);
}

// Sends blocks `first` to `last` of one memory; nothing when every block was acknowledged.
std::optional<OperationOutcome> sendBlocks(Upload& upload, const MemoryToWrite& memory, int first,
                                           int last) {
    WindowLink& link = upload.link;
    MainForm& form = upload.form();
    for (int block = first; block <= last; ++block) {
        if (link.cancelledBeforeWriting()) return abandonAfterWait(link, WaitResult::Cancelled);
        if (memory.discardInputFirst) link.port().DiscardInput();
        FrameData data{};
        std::memcpy(data.data(), memory.image.data() + block * 16, 16);
        const auto address = static_cast<std::uint16_t>(block * 16);
        upload.facts.written.writeFrameLeft = true;
        if (memory.sent) ++*memory.sent;
        const auto handedOver = std::chrono::steady_clock::now();
        link.SendPacket(memory.command, address, data, 16);
        link.loadCountdown(kReplyTicks);
        Acknowledge ack = link.waitAcknowledge();
        // A Cancel while the block was on its way: the module may still answer for it, and an
        // answered block counts as written.
        if (ack.wait == WaitResult::Cancelled) {
            if (link.lateAcknowledge().acknowledged()) ++memory.acknowledged;
            return abandonAfterWait(link, ack.wait);
        }
        if (ack.wait != WaitResult::Success) return abandonAfterWait(link, ack.wait);
        // Measured to the status byte's arrival at the receive side, so that a busy machine
        // that looks late does not count as a slow adapter.
        if (const auto delay =
                upload.replyDelays.add(ack.arrivedAt - handedOver, kWriteExchangeBytes)) {
            noteSlowAdapter(upload, *delay);
        }
        if (ack.status != 0) {
            std::string line = form.message(memory.rejection);
            if (memory.addressInRejection) {
                char addressText[9];
                std::snprintf(addressText, sizeof addressText, "%08X", block * 16);
                line += addressText;
            }
            return rejected(link, line + "; error code " + std::to_string(ack.status));
        }
        ++memory.acknowledged;
        showTimeLeft(upload, memory.phase);
        form.setProgressPosition(Ctl::ProgressBar, block);
        link.pump().processMessages();
    }
    return std::nullopt;
}

// The last step of every write that got past the file: message 13, "Finished.", the port
// closed, the bar reset. Errors here are swallowed.
void finish(WindowLink& link) {
    MainForm& form = link.form();
    try {
        form.logMessage(msg::Finished);
        form.setText(Ctl::Edit1, "Finished.");
        abandon(link);
    } catch (...) {}
}

// How many blocks of each memory the write means to send, as its two phases will choose them.
void countBlocksToWrite(const MainForm& form, WriteCounts& written) {
    const bool whole = form.checked(Ctl::All_memory);
    if (form.images.flashTop != -1) {
        const int last = lastBlock(whole ? kFlashEnd : form.images.flashTop);
        written.flashTotal = std::max(0, last - kFirstFlashBlock + 1);
    }
    if (form.checked(Ctl::EEPROM) && form.images.eepromTop != -1) {
        written.eepromTotal =
            std::max(0, lastBlock(whole ? kEepromEnd : form.images.eepromTop) + 1);
    }
}

// The items of the settings that `which` names, as the notes list them: "PIN 1234, CAN
// program 11".
std::string settingItems(const MainForm& form, const ParameterImage& block, bool pin, bool options,
                         bool modeByte, bool canProgram) {
    std::string list;
    const auto add = [&](std::string item) { list += (list.empty() ? "" : ", ") + item; };
    if (pin) add(form.extraMessage(Extra::ItemPin, {{"pin", pinText(block)}}));
    if (options) add(form.extraMessage(Extra::ItemOptions));
    if (modeByte) add(form.extraMessage(Extra::ItemModeByte, {{"mode", modeText(block)}}));
    if (canProgram) {
        add(form.extraMessage(Extra::ItemCanProgram, {{"program", canProgramText(block)}}));
    }
    return list;
}

// The module's settings put into the file's EEPROM image, as far as the module has valid ones:
// a module whose PIN is not four digits (erased, or never set) has none worth keeping, and the
// file's own settings go in whole; of a module set only in part, the rest comes from the file,
// and the log says which came from where.
void keepSettings(MainForm& form, const ParameterImage& module) {
    const ValidSettings valid = validSettings(module);
    if (!valid.pin) {
        form.logNote(Extra::NothingToKeep);
        return;
    }
    keepModuleSettings(form.images.eepromImage, module, valid);
    if (valid.all()) {
        form.logNote(Extra::SettingsKept, {{"pin", pinText(module)},
                                           {"mode", modeText(module)},
                                           {"program", canProgramText(module)}});
        return;
    }
    const ParameterImage& file = form.images.eepromImage;
    form.logNote(Extra::SettingsPartlyKept,
                 {{"kept", settingItems(form, module, true, valid.options, valid.modeByte,
                                        valid.canProgram)},
                  {"fromFile", settingItems(form, file, false, !valid.options, !valid.modeByte,
                                            !valid.canProgram)}});
}

// Before anything is written: the device ID and the module's parameter block, and the backup
// of it where one is asked for. A read that does not complete ends the write with nothing
// written.
std::optional<OperationOutcome> readModuleFirst(Upload& upload) {
    WindowLink& link = upload.link;
    MainForm& form = upload.form();
    std::uint16_t id = 0;
    const WaitResult idRead = readDeviceId(link, id);
    if (idRead != WaitResult::Success) return abandonAfterWait(link, idRead);
    upload.facts.deviceId = id;
    form.logMessage(msg::ReadingEeprom);
    ParameterImage block;
    const BlockRead read = readParameterBlock(link, block, false);
    if (read != BlockRead::Complete) return abandonAfterRead(link, read);
    upload.facts.blockRead = block;
    if (upload.checks.beforeWriting && !upload.checks.beforeWriting(upload.facts)) {
        // Nothing was written: the module leaves its bootloader as after a read.
        link.restartModule("OK. Restart CPU...");
        abandon(link);
        return OperationOutcome::BackupFailed;
    }
    link.port().DiscardInput();
    return std::nullopt;
}

// The program a text names: its first word ("APP2580" of "APP2580 v1.00").
std::string programName(const std::string& version) {
    return version.substr(0, version.find(' '));
}

// What the module holds and what the file carries, before anything is written, and whether the
// file names another program. The version text is read from the module unless its block was
// read already.
std::optional<OperationOutcome> showVersions(Upload& upload) {
    WindowLink& link = upload.link;
    MainForm& form = upload.form();
    ParameterImage module{};
    if (upload.facts.blockRead) {
        module = *upload.facts.blockRead;
    } else {
        module.fill(0xFF);
        const BlockRead read = readVersionBlock(link, module);
        if (read != BlockRead::Complete) return abandonAfterRead(link, read);
        link.port().DiscardInput();
    }
    const std::string moduleVersion = programVersionText(module);
    const bool fileHasEeprom = form.images.eepromTop != -1 && form.checked(Ctl::EEPROM);
    const std::string fileVersion =
        fileHasEeprom ? programVersionText(form.images.eepromImage) : std::string("—");
    form.logNote(Extra::VersionsBeforeWrite,
                 {{"module", programVersionShown(form, module)},
                  {"file", fileHasEeprom ? programVersionShown(form, form.images.eepromImage)
                                         : std::string("—")}});
    const bool moduleErased = moduleVersion == kErasedVersionText;
    if (fileHasEeprom && !moduleErased && programName(moduleVersion) != programName(fileVersion)) {
        upload.anotherProgram = {programName(moduleVersion), programName(fileVersion)};
        form.logNote(Extra::AnotherProgramInFile,
                     {{"module", programName(moduleVersion)}, {"file", programName(fileVersion)}});
    }
    return std::nullopt;
}

// The module's settings put into the file's EEPROM image, when they are to be kept: not into
// another program that the user chose to write, whose settings mean other things.
void keepSettingsIfAsked(Upload& upload) {
    MainForm& form = upload.form();
    if (!upload.checks.keepParameters || form.images.eepromTop == -1 || !upload.facts.blockRead) {
        return;
    }
    if (upload.anotherProgram && upload.anotherProgramAccepted) {
        form.logNote(Extra::SettingsNotCarriedOver);
        return;
    }
    keepSettings(form, *upload.facts.blockRead);
}

// The write stopped before anything is written because the file holds another program: the
// module leaves its bootloader as after a read, and the port is closed while the user is asked.
OperationOutcome stopToAsk(Upload& upload, Question question) {
    upload.stoppedFor = question;
    WindowLink& link = upload.link;
    link.restartModule("OK. Restart CPU...");
    abandon(link);
    return OperationOutcome::Cancelled;
}

// The CAN program the module holds after the write: the EEPROM image's (the file's, or the
// module's own kept in it) where the write reaches its address, else the module's as read;
// unknown when the module was not read or the byte holds no program (erased).
std::optional<std::string> canProgramAfterWrite(Upload& upload) {
    const MainForm& form = upload.form();
    const ParameterImage* after = nullptr;
    if (form.checked(Ctl::EEPROM) && form.images.eepromTop >= kCanProgramAddress) {
        after = &form.images.eepromImage;
    } else if (upload.facts.blockRead) {
        after = &*upload.facts.blockRead;
    }
    if (!after || !validSettings(*after).canProgram) return std::nullopt;
    return canProgramText(*after);
}

// Whether the module would hold a CAN program that the file's list does not name; the log
// says so. A file whose list names no programs is written as it is.
bool checkCanProgram(Upload& upload) {
    const std::vector<std::string>& listed = upload.form().images.canPrograms;
    if (listed.empty()) return false;
    const auto program = canProgramAfterWrite(upload);
    if (!program || namesCanProgram(listed, *program)) return false;
    std::string programs;
    for (const std::string& number : listed) programs += (programs.empty() ? "" : ", ") + number;
    upload.unlistedProgram = {*program, programs};
    upload.form().logNote(Extra::CanProgramNotInFile,
                          {{"program", *program}, {"programs", programs}});
    return true;
}

// Everything after the port opened: the wake-up, FLASH, EEPROM, the verify and the restart.
OperationOutcome writeModule(Upload& upload) {
    WindowLink& link = upload.link;
    MainForm& form = upload.form();
    if (const auto unlinked = link.startExchange(kUploadStart)) return *unlinked;
    link.port().DiscardInput();
    if (upload.checks.readModuleFirst || upload.checks.keepParameters) {
        if (auto failed = readModuleFirst(upload)) return *failed;
    }
    if (upload.checks.showVersions) {
        if (auto failed = showVersions(upload)) return *failed;
    }
    if (upload.anotherProgram && upload.checks.confirmAnotherProgram &&
        !upload.anotherProgramAccepted) {
        return stopToAsk(upload, Question::AnotherProgram);
    }
    keepSettingsIfAsked(upload);
    if (checkCanProgram(upload) && upload.checks.confirmUnlistedCanProgram &&
        !upload.unlistedProgramAccepted) {
        return stopToAsk(upload, Question::UnlistedCanProgram);
    }
    countBlocksToWrite(form, upload.facts.written);
    noteExpectedTime(upload);

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
        if (auto failed = sendBlocks(upload, flashMemory(upload), kFirstFlashBlock, last))
            return *failed;
    }

    // EEPROM.
    bool eepromWritten = false;
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
            if (auto failed = sendBlocks(upload, eepromMemory(upload), 0, last)) return *failed;
            eepromWritten = true;
        }
    }

    // The EEPROM read back before the restart: a difference leaves the module in its
    // bootloader, so that the write can be repeated at once.
    if (upload.checks.verify && eepromWritten) {
        const VerifyOutcome verify = verifyEeprom(link, form.images.eepromImage);
        upload.facts.verify = verify.result();
        if (verify.read == BlockRead::Complete) {
            upload.facts.blockReadBack = verify.readBack;
            if (upload.checks.showVersions) {
                form.logNote(Extra::VersionAfterWrite,
                             {{"version", programVersionShown(form, verify.readBack)}});
            }
        }
        if (verify.read != BlockRead::Complete) return abandonAfterRead(link, verify.read);
        if (verify.firstDifference) {
            abandon(link);
            return OperationOutcome::VerifyFailed;
        }
    }

    link.restartModule("Reset CPU...");
    upload.facts.written.restarted = true;
    finish(link);
    return OperationOutcome::Finished;
}

// "FLASH 233/2016, EEPROM 0/16": the blocks acknowledged of each memory the write meant to
// write, in a form that reads the same for every number and in every language.
std::string acknowledgedBlocks(const WriteCounts& written) {
    std::string blocks;
    if (written.flashTotal > 0) {
        blocks += "FLASH " + std::to_string(written.flashAcknowledged) + "/" +
                  std::to_string(written.flashTotal);
    }
    if (written.eepromTotal > 0) {
        if (!blocks.empty()) blocks += ", ";
        blocks += "EEPROM " + std::to_string(written.eepromAcknowledged) + "/" +
                  std::to_string(written.eepromTotal);
    }
    return blocks;
}

// The note after a write that sent a write frame and never reached the restart: how far it
// got, and that writing the file again repairs the module; or, when every block was
// acknowledged, that only the verify is missing or failed and the module waits in its
// bootloader.
void noteWhereTheModuleStands(MainForm& form, const ModuleFacts& facts, OperationOutcome outcome) {
    const WriteCounts& written = facts.written;
    if (!written.writeFrameLeft) {
        // A write that failed before its first block says so: nothing of the module changed.
        if (outcome != OperationOutcome::Finished) form.logNote(Extra::ModuleUnchanged);
        return;
    }
    if (written.restarted) return;
    const bool everyBlock = written.flashAcknowledged == written.flashTotal &&
                            written.eepromAcknowledged == written.eepromTotal;
    if (everyBlock && facts.verify == VerifyResult::Failed && facts.blockReadBack) {
        form.logNote(Extra::WrittenVerifyFailed, {{"pin", pinText(*facts.blockReadBack)}});
        return;
    }
    if (everyBlock) {
        form.logNote(Extra::WrittenNotVerified, {{"pin", pinText(form.images.eepromImage)}});
        return;
    }
    form.logNote(Extra::HalfWritten, {{"blocks", acknowledgedBlocks(written)}});
}

}  // namespace

OperationOutcome bbUploadClick(WindowLink& link, const WriteChecks& checks, ModuleFacts& facts,
                               HexLineProblem* problem) {
    MainForm& form = link.form();
    const OperationScope operation(form, OperationKind::FirmwareWrite);
    if (!operation.started()) return OperationOutcome::NotStarted;
    facts.clear();

    switch (loadFirmwareForWrite(form, problem)) {
        case WriteLoad::NoFileChosen: finish(link); return OperationOutcome::NoFileChosen;
        case WriteLoad::Failed: return OperationOutcome::FirmwareFileError;
        case WriteLoad::Loaded: break;
    }

    const bool noEeprom = form.images.eepromTop == -1 || !form.checked(Ctl::EEPROM);
    if (checks.refuseNothingToWrite && form.images.flashTop == -1 && noEeprom) {
        form.logMessage(msg::NoFlashData);
        form.logMessage(msg::NoEepromData);
        return OperationOutcome::NothingToWrite;
    }
    // Keeping the system awake does not keep a closed lid from putting a laptop to sleep.
    if (form.shell().onBatteryPower()) form.logNote(Extra::OnBatteryPower);
    if (!link.openModulePort(false)) {
        form.logMessage(msg::ErrorOpeningPort);
        noteOpenFailure(link);
        noteWhereTheModuleStands(form, facts, OperationOutcome::PortError);
        return OperationOutcome::PortError;
    }
    Upload upload(link, checks, facts);
    OperationOutcome outcome =
        talkToModule(link, false, {Ctl::ProgressBar}, [&] { return writeModule(upload); });
    // A question stopped the write before its first frame: it is written only when the user
    // says so, from the start again.
    while (upload.stoppedFor != Question::None && outcome == OperationOutcome::Cancelled &&
           !facts.written.writeFrameLeft) {
        const Question question = std::exchange(upload.stoppedFor, Question::None);
        if (question == Question::AnotherProgram) {
            const auto& [module, file] = *upload.anotherProgram;
            if (!checks.confirmAnotherProgram(module, file)) {
                form.logNote(Extra::NothingWrittenProgramKept);
                return OperationOutcome::Cancelled;
            }
            upload.anotherProgramAccepted = true;
        } else {
            const auto& [program, programs] = *upload.unlistedProgram;
            if (!checks.confirmUnlistedCanProgram(program, programs)) {
                outcome = OperationOutcome::ProgramNotListed;
                break;
            }
            upload.unlistedProgramAccepted = true;
        }
        facts.clear();
        upload.framesSent = 0;
        if (!link.openModulePort(false)) {
            form.logMessage(msg::ErrorOpeningPort);
            noteOpenFailure(link);
            noteWhereTheModuleStands(form, facts, OperationOutcome::PortError);
            return OperationOutcome::PortError;
        }
        outcome =
            talkToModule(link, false, {Ctl::ProgressBar}, [&] { return writeModule(upload); });
    }
    noteWhereTheModuleStands(form, facts, outcome);
    return outcome;
}

}  // namespace canprog
