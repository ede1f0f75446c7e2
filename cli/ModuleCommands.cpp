#include "ModuleCommands.h"

#include <fmt/format.h>
#include <fmt/ostream.h>

#include <chrono>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>

#include "Console.h"
#include "ExitCodes.h"
#include "ModuleSession.h"
#include "base/OutputFiles.h"
#include "bootloader/Replies.h"
#include "config/ParameterBlock.h"
#include "firmware/FirmwareLoader.h"
#include "operations/SavedBlock.h"
#include "operations/SupportLog.h"

namespace canprog::cli {

int exitCodeFor(OperationOutcome outcome) {
    switch (outcome) {
        case OperationOutcome::Finished: return kExitOk;
        case OperationOutcome::NotStarted:
        case OperationOutcome::NothingToWrite: return kExitUsage;
        case OperationOutcome::NoFileChosen:
        case OperationOutcome::FirmwareFileError: return kExitFirmwareFile;
        case OperationOutcome::PortError: return kExitPort;
        case OperationOutcome::NoBootloader: return kExitNoBootloader;
        case OperationOutcome::TransmissionError:
        case OperationOutcome::DeviceLost: return kExitTransmission;
        case OperationOutcome::Rejected: return kExitRejected;
        case OperationOutcome::Cancelled: return kExitCancelled;
        case OperationOutcome::InvalidSetting: return kExitInvalidSetting;
        case OperationOutcome::VerifyFailed: return kExitVerifyFailed;
        case OperationOutcome::BackupFailed: return kExitOutput;
        case OperationOutcome::ProgramNotListed: return kExitProgramNotListed;
    }
    return kExitUsage;
}

int exitCodeFor(OperationOutcome outcome, const ModuleFacts& facts) {
    if (facts.verify == VerifyResult::NotFinished && outcome != OperationOutcome::Cancelled) {
        return kExitVerifyFailed;
    }
    return exitCodeFor(outcome);
}

namespace {

// How one module's write went, for the production bench's lines.
struct ModuleResult {
    int exitCode = kExitOk;
    ModuleFacts facts;
    std::string device;
    double seconds = 0;
    bool interrupted = false;
    SupportLogFacts support;  // for the bench's log: program, system, adapter, firmware file
};

// A block's version text as a person reads it, and its 16 bytes as they are, in hex.
nlohmann::json versionOf(const std::optional<ParameterImage>& block) {
    return block ? nlohmann::json(programVersionText(*block)) : nlohmann::json(nullptr);
}
nlohmann::json versionBytesOf(const std::optional<ParameterImage>& block) {
    if (!block) return nullptr;
    std::string hex;
    for (std::size_t i = kVersionTextAddress; i < block->size(); ++i) {
        hex += fmt::format("{:02X}", (*block)[i]);
    }
    return hex;
}

// Saves the block read before a write, as `params save` would; false (and why on `err`) when
// the file cannot be written.
bool saveBackup(const std::string& file, bool replace, const ModuleFacts& facts,
                const std::string& device, char languageCode, std::ostream& err) {
    const SavedBlock saved{*facts.blockRead, facts.deviceId, device, utcNow()};
    std::string why;
    if (!writeNewFile(file, savedBlockJson(saved, languageCode), replace, why)) {
        fmt::print(err,
                   "{}: the backup could not be written: {}; nothing was written into the "
                   "module, and it was restarted as it was\n",
                   file, why);
        return false;
    }
    return true;
}

// Writes one module; its parameter block goes to `backupFile` first (none when empty).
ModuleResult writeOneModule(const ModuleOptions& options, const std::string& file,
                            const WriteOptions& write, const std::string& backupFile,
                            std::ostream& out, std::ostream& err, Interrupts& interrupts) {
    const auto start = std::chrono::steady_clock::now();
    ModuleSession session(options, out, err, interrupts);
    Operations& operations = session.operations();
    session.form().firmwareFileName = file;
    session.form().setChecked(Ctl::DecodeON, isEncodedFileName(file));
    operations.writeChecks.verify = write.verify;
    operations.writeChecks.keepParameters = write.keepParameters;
    operations.writeChecks.refuseNothingToWrite = true;
    operations.writeChecks.showTimes = true;
    operations.writeChecks.readModuleFirst =
        write.repeat || !write.logFile.empty() || !backupFile.empty();
    // A firmware whose list does not name the car's CAN program is written only when forced.
    if (!write.force) {
        operations.writeChecks.confirmUnlistedCanProgram = [&](const std::string&,
                                                               const std::string&) {
            fmt::print(err, "nothing was written: --force writes this firmware all the same\n");
            return false;
        };
    }
    if (!backupFile.empty()) {
        operations.writeChecks.beforeWriting = [&](const ModuleFacts& facts) {
            return saveBackup(backupFile, write.force, facts, operations.link().deviceName(),
                              options.languageCode, err);
        };
    }
    const OperationOutcome outcome = session.run([&] { return operations.upload(); });
    ModuleResult result;
    result.facts = operations.facts();
    result.device = operations.link().deviceName();
    result.interrupted = session.interrupted();
    if (!write.logFile.empty()) result.support = supportLogFacts(operations, write.program);
    result.exitCode = session.finish(exitCodeFor(outcome, result.facts));
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

const char* verifyWord(VerifyResult verify) {
    switch (verify) {
        case VerifyResult::Passed: return "passed";
        case VerifyResult::Failed: return "failed";
        case VerifyResult::NotFinished: return "not finished";
        case VerifyResult::NotRun: break;
    }
    return "not run";
}

// One line of the production bench's log: what was done to which module, and how it ended.
std::string logLine(const ModuleResult& result) {
    const ModuleFacts& facts = result.facts;
    nlohmann::json line = {
        {"time", utcNow()},
        {"port", result.device},
        {"device_id",
         facts.deviceId ? nlohmann::json(deviceIdText(*facts.deviceId)) : nlohmann::json(nullptr)},
        {"version_before", versionOf(facts.blockRead)},
        // What the verify read back: neither the file's text (a verify that failed may have
        // found another there) nor the one read before (a write cut off may have changed it).
        {"version_after", versionOf(facts.blockReadBack)},
        {"version_before_bytes", versionBytesOf(facts.blockRead)},
        {"version_after_bytes", versionBytesOf(facts.blockReadBack)},
        {"flash_blocks", facts.written.flashAcknowledged},
        {"eeprom_blocks", facts.written.eepromAcknowledged},
        {"verify", verifyWord(facts.verify)},
        {"exit_code", result.exitCode},
        {"seconds", std::round(result.seconds * 10) / 10},
        // The same as the head of a log saved in the window, so that support reads either.
        {"program", result.support.program},
        {"system", result.support.system},
        {"adapter", result.support.port},
        {"firmware", result.support.firmwareFile},
        {"firmware_sha256", result.support.firmwareSha256},
    };
    return line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// "Module 2: the module rejected a block; DEMO 1.00 -> ?, 100 FLASH + 0 EEPROM blocks, 12.3 s"
std::string resultLine(int number, const ModuleResult& result) {
    const ModuleFacts& facts = result.facts;
    std::string line =
        fmt::format("Module {}: {}", number,
                    result.exitCode == kExitOk ? "written" : exitCodeMeaning(result.exitCode));
    if (facts.blockRead) {
        line += fmt::format("; {} -> {}", programVersionText(*facts.blockRead),
                            facts.blockReadBack ? programVersionText(*facts.blockReadBack) : "?");
    }
    line += fmt::format(", {} FLASH + {} EEPROM blocks, verify {}, {:.1f} s",
                        facts.written.flashAcknowledged, facts.written.eepromAcknowledged,
                        verifyWord(facts.verify), result.seconds);
    return line;
}

// kExitOutput, and why on `err`, when the backup file may not be written: it exists (and may
// not be replaced) or is not a regular file. Nothing when it may, or when there is none.
std::optional<int> backupRefused(const std::string& backup, bool replace, std::ostream& err) {
    if (backup.empty()) return std::nullopt;
    const auto refused = refusedNewFile(backup, replace);
    if (!refused) return std::nullopt;
    fmt::print(err, "{}: {}; nothing was sent\n", backup, *refused);
    return kExitOutput;
}

// Appends the module's line to the bench's log; false, and why on `err`, when it could not.
bool logResult(const std::string& logFile, const ModuleResult& result, std::ostream& err) {
    std::string why;
    if (appendLine(logFile, logLine(result), why)) return true;
    fmt::print(err, "{}: the log could not be written: {}\n", logFile, why);
    return false;
}

// The production bench: one module after another until the user stops.
int writeModulesInTurn(const ModuleOptions& options, const std::string& file,
                       const WriteOptions& write, std::ostream& out, std::ostream& err) {
    Interrupts interrupts;
    int written = 0;
    int failed = 0;
    int lastFailure = kExitOk;
    bool logFailed = false;
    int stoppedBy = kExitOk;  // a signal at the prompt: its own exit code
    for (int number = 1;; ++number) {
        // Each module's backup has its number in the name; none replaces an earlier one.
        const std::string backup =
            write.backupFile.empty() ? std::string() : numberedFile(write.backupFile, number);
        ModuleResult result;
        if (const auto refused = backupRefused(backup, write.force, err)) {
            result.exitCode = *refused;
        } else {
            result = writeOneModule(options, file, write, backup, out, err, interrupts);
        }
        out << resultLine(number, result) << '\n' << std::flush;
        if (!write.logFile.empty() && !logResult(write.logFile, result, err)) logFailed = true;
        if (result.exitCode == kExitOk) {
            ++written;
        } else {
            ++failed;
            lastFailure = result.exitCode;
        }
        if (result.interrupted) break;
        err << "Connect the next module and press Enter (q and Enter to stop): " << std::flush;
        const PromptAnswer answer = waitForEnter(interrupts);
        err << '\n';
        if (answer == PromptAnswer::Interrupted) stoppedBy = kExitCancelled;
        if (answer == PromptAnswer::HungUp) stoppedBy = kExitHangUp;
        if (answer != PromptAnswer::Next) break;
    }
    out << fmt::format("{} modules written, {} failed\n", written, failed) << std::flush;
    if (stoppedBy != kExitOk) return stoppedBy;
    if (failed > 0) return lastFailure;
    return logFailed ? kExitOutput : kExitOk;
}

}  // namespace

int runWrite(const ModuleOptions& options, const std::string& file, const WriteOptions& write,
             std::ostream& out, std::ostream& err) {
    // Outputs that cannot be written are found out before anything is sent.
    if (!write.logFile.empty()) {
        if (const auto refused = refusedLog(write.logFile)) {
            fmt::print(err, "{}: {}; nothing was sent\n", write.logFile, *refused);
            return kExitOutput;
        }
    }
    if (write.repeat) return writeModulesInTurn(options, file, write, out, err);
    if (const auto refused = backupRefused(write.backupFile, write.force, err)) return *refused;
    Interrupts interrupts;
    const ModuleResult result =
        writeOneModule(options, file, write, write.backupFile, out, err, interrupts);
    if (!write.logFile.empty() && !logResult(write.logFile, result, err) &&
        result.exitCode == kExitOk) {
        return kExitOutput;
    }
    return result.exitCode;
}

int runVersion(const ModuleOptions& options, bool deviceId, std::ostream& out, std::ostream& err) {
    Interrupts interrupts;
    ModuleSession session(options, out, err, interrupts);
    session.form().setChecked(Ctl::DeviceID, deviceId);
    const OperationOutcome outcome =
        session.run([&] { return session.operations().readVersion(); });
    return session.finish(exitCodeFor(outcome));
}

}  // namespace canprog::cli
