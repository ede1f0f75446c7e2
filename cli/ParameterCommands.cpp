#include "ParameterCommands.h"

#include <fmt/format.h>
#include <fmt/ostream.h>
#include <fmt/ranges.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <ostream>
#include <stdexcept>

#include "ExitCodes.h"
#include "ModuleSession.h"
#include "base/OutputFiles.h"
#include "config/ParameterBlock.h"
#include "config/ParameterImage.h"
#include "config/SettingsDescription.h"
#include "model/MessageIndex.h"
#include "operations/SavedBlock.h"

namespace canprog::cli {

namespace {

bool isDigits(const std::string& text, std::size_t length) {
    return text.size() == length &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int bitOf(const MainForm& form, std::size_t row) {
    return form.checked(kOptionBits[row].whenSet) ? 1 : 0;
}

// The settings as a read shows them, with the image they came from: each by its bit, and all
// of them again by name and value in words.
nlohmann::json parametersJson(const MainForm& form) {
    nlohmann::json options = nlohmann::json::object();
    for (std::size_t row = 0; row < kNumberedOptions; ++row) {
        options[std::to_string(row + 1)] = bitOf(form, row);
    }
    std::string eeprom;
    for (const auto byte : form.images.eepromImage) eeprom += fmt::format("{:02X}", byte);
    return {
        {"pin", form.text(Ctl::PIN)},
        {"mode", form.checked(Ctl::RadioButton23) ? "FA" : "FI"},
        {"can_program", form.text(Ctl::MaskEdit1)},
        {"options", options},
        {"fs1", bitOf(form, kFs1Row)},
        {"fs2", bitOf(form, kFs2Row)},
        {"fs3", bitOf(form, kFs3Row)},
        {"eeprom", eeprom},
        {"settings", settingsJson(describeSettings(form))},
    };
}

void setOption(MainForm& form, std::size_t row, int bit) {
    const OptionBit& option = kOptionBits[row];
    if (option.whenClear) {
        form.setChecked(bit ? option.whenSet : *option.whenClear, true);
    } else {
        form.setChecked(option.whenSet, bit != 0);
    }
}

void applySettings(MainForm& form, const ParameterSettings& settings) {
    if (settings.pin) form.setText(Ctl::PIN, *settings.pin);
    if (settings.mode) form.click(*settings.mode == "FA" ? Ctl::RadioButton23 : Ctl::RadioButton22);
    if (settings.canProgram) {
        form.setText(Ctl::MaskEdit1, *settings.canProgram);
        form.setText(Ctl::MaskEdit2, *settings.canProgram);
        form.canProgramNumber = static_cast<unsigned char>(std::stoi(*settings.canProgram));
    }
    for (const auto& [option, bit] : settings.options) {
        setOption(form, static_cast<std::size_t>(option - 1), bit);
    }
    // FS1 and FS3 exclude each other as their check boxes do; FS2 is free.
    if (settings.fs1) setOption(form, kFs1Row, *settings.fs1);
    if (settings.fs2) setOption(form, kFs2Row, *settings.fs2);
    if (settings.fs3) setOption(form, kFs3Row, *settings.fs3);
}

// The mode byte as a read shows it in the controls: its unused bits clear, and FS1 off when
// FS3 is on (the read applies FS3 after FS1, and the two boxes exclude each other).
std::uint8_t modeByteAsShown(std::uint8_t mode) {
    mode &= static_cast<std::uint8_t>(~kUnusedModeBits);
    if (mode & kOptionBits[kFs3Row].mask) {
        mode &= static_cast<std::uint8_t>(~kOptionBits[kFs1Row].mask);
    }
    return mode;
}

// "0, 5 and 6": the numbers of the bits set in `bits`.
std::string bitList(std::uint8_t bits) {
    std::vector<std::string> numbers;
    for (int bit = 0; bit < 8; ++bit) {
        if (bits & (1 << bit)) numbers.push_back(std::to_string(bit));
    }
    std::string list;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) list += i + 1 == numbers.size() ? " and " : ", ";
        list += numbers[i];
    }
    return list;
}

// Why the mode byte's `bits` change although no setting shown changes.
std::string unshownChange(std::uint8_t bits) {
    std::vector<std::string> reasons;
    if (const std::uint8_t unused = bits & kUnusedModeBits) {
        reasons.push_back(fmt::format("its bit{} {} hold{} no setting and {} written as 0",
                                      unused & (unused - 1) ? "s" : "", bitList(unused),
                                      unused & (unused - 1) ? "" : "s",
                                      unused & (unused - 1) ? "are" : "is"));
    }
    if (bits & kOptionBits[kFs1Row].mask) {
        reasons.push_back("FS1 is written as off: FS3 is on, and the two exclude each other");
    }
    return fmt::format("{}", fmt::join(reasons, "; "));
}

// Prints what the write changes, found byte against byte in the very block it sends: every
// setting that changes, and every byte whose change no setting shows (the mode byte's unused
// bits, FS1 cleared beside FS3). False, after saying so, when the block stays as it is.
bool printChanges(const ParameterImage& before, const ParameterImage& after, char languageCode,
                  std::ostream& out) {
    if (before == after) {
        out << "Nothing changes: the module already holds these settings\n";
        return false;
    }
    out << "Settings that will change:\n";
    for (const auto& change : settingChanges(before, after, languageCode)) {
        fmt::print(out, "  {}: {} -> {}\n", change.name, change.from, change.to);
    }
    for (std::size_t address = 0; address < before.size(); ++address) {
        if (before[address] == after[address]) continue;
        std::string why;
        if (address == kModeAddress) {
            const auto unshown =
                static_cast<std::uint8_t>((before[address] ^ after[address]) &
                                          ~(modeByteAsShown(before[address]) ^ after[address]));
            if (unshown == 0) continue;
            why = unshownChange(unshown);
        } else if (std::find(kSettingBytes.begin(), kSettingBytes.end(), address) !=
                   kSettingBytes.end()) {
            continue;  // said by its setting above
        } else {
            why = "a byte that holds no setting";
        }
        fmt::print(out, "  address 0x{:02X}: 0x{:02X} -> 0x{:02X} ({})\n", address, before[address],
                   after[address], why);
    }
    return true;
}

}  // namespace

std::optional<std::string> invalidSetting(const ParameterSettings& settings) {
    if (settings.pin && !isDigits(*settings.pin, 4)) return "the PIN is four digits";
    if (settings.mode && *settings.mode != "FI" && *settings.mode != "FA") {
        return "the mode is FI or FA";
    }
    if (settings.canProgram && !isDigits(*settings.canProgram, 2)) {
        return "the CAN program number is two digits";
    }
    for (const auto& [option, bit] : settings.options) {
        if (option < 1 || option > 9 || (bit != 0 && bit != 1)) return "options are K=0|1, K 1..9";
    }
    for (const auto& fs : {settings.fs1, settings.fs2, settings.fs3}) {
        if (fs && *fs != 0 && *fs != 1) return "--fs1, --fs2 and --fs3 take 0 or 1";
    }
    if (settings.fs1 == 1 && settings.fs3 == 1) return "FS1 and FS3 exclude each other";
    return std::nullopt;
}

int runParamsRead(const ModuleOptions& options, bool json, std::ostream& out, std::ostream& err) {
    Interrupts interrupts;
    // With --json the log goes to the diagnostics, so that the output is one object.
    ModuleSession session(options, json ? err : out, err, interrupts);
    const OperationOutcome outcome =
        session.run([&] { return session.operations().readParameters(); });
    if (outcome == OperationOutcome::Finished) {
        if (json) {
            out << parametersJson(session.form()).dump(2) << '\n';
        } else {
            for (const auto& line : settingsTable(session.form())) out << line << '\n';
        }
    }
    return session.finish(exitCodeFor(outcome));
}

int runParamsWrite(const ModuleOptions& options, const ParameterSettings& settings,
                   const ParamsWriteOptions& write, std::ostream& out, std::ostream& err) {
    if (settings.empty()) {
        fmt::print(err,
                   "nothing to change: name at least one setting (--pin, --mode, --can-program, "
                   "--option, --fs1, --fs2, --fs3)\n");
        return kExitUsage;
    }
    if (const auto reason = invalidSetting(settings)) {
        fmt::print(err, "invalid setting: {}\n", *reason);
        return kExitInvalidSetting;
    }
    Interrupts interrupts;
    ModuleSession session(options, out, err, interrupts);
    session.operations().parameterWriteChecks.verify = write.verify;
    // A write always follows a read, as in the window.
    OperationOutcome outcome = session.run([&] { return session.operations().readParameters(); });
    if (outcome != OperationOutcome::Finished) return session.finish(exitCodeFor(outcome));
    // Ctrl-C between the read and the write: nothing is written.
    if (session.interrupted()) {
        session.form().logMessage(msg::Cancel);
        return session.finish(kExitCancelled);
    }
    // A PIN is only ever stored because the user gave it.
    const auto& image = session.form().images.eepromImage;
    if (!settings.pin && !hasValidPin(image)) {
        fmt::print(err,
                   "invalid setting: the module has no valid PIN (its PIN bytes read {:02X} {:02X} "
                   "{:02X} {:02X}); give one with --pin\n",
                   image[kPinAddresses[0]], image[kPinAddresses[1]], image[kPinAddresses[2]],
                   image[kPinAddresses[3]]);
        return session.finish(kExitInvalidSetting);
    }
    applySettings(session.form(), settings);
    try {
        const PinBytes pin = pinBytesToWrite(session.form().text(Ctl::PIN), image);
        const bool changes = printChanges(image, patchedImage(session.form(), image, pin),
                                          options.languageCode, out);
        if (!changes) {
            out << "Nothing was written\n";
            return session.finish(kExitOk);
        }
        if (write.dryRun) {
            out << "Nothing was written (--dry-run)\n";
            return session.finish(kExitOk);
        }
        outcome = session.run([&] { return session.operations().writeParameters(); });
    } catch (const std::invalid_argument& error) {
        fmt::print(err, "{}\n", error.what());
        return session.finish(kExitInvalidSetting);
    }
    return session.finish(exitCodeFor(outcome, session.operations().facts()));
}

int runParamsSave(const ModuleOptions& options, const std::string& file, bool replace,
                  std::ostream& out, std::ostream& err) {
    if (const auto refused = refusedNewFile(file, replace)) {
        fmt::print(err, "{}: {}; nothing was sent\n", file, *refused);
        return kExitOutput;
    }
    Interrupts interrupts;
    ModuleSession session(options, out, err, interrupts);
    session.operations().readChecks.deviceId = true;
    const OperationOutcome outcome =
        session.run([&] { return session.operations().readParameters(); });
    if (outcome != OperationOutcome::Finished) return session.finish(exitCodeFor(outcome));
    const ModuleFacts& facts = session.operations().facts();
    const SavedBlock saved{*facts.blockRead, facts.deviceId,
                           session.operations().link().deviceName(), utcNow()};
    std::string why;
    if (!writeNewFile(file, savedBlockJson(saved, options.languageCode), replace, why)) {
        fmt::print(err, "{}: the saved block could not be written: {}\n", file, why);
        return session.finish(kExitOutput);
    }
    return session.finish(kExitOk);
}

int runParamsRestore(const ModuleOptions& options, const std::string& file,
                     const RestoreOptions& restore, std::ostream& out, std::ostream& err) {
    std::string why;
    const std::optional<SavedBlock> saved = readSavedBlockFile(file, why);
    if (!saved) {
        fmt::print(err, "{}: {}; nothing was sent\n", file, why);
        return kExitFirmwareFile;
    }
    Interrupts interrupts;
    ModuleSession session(options, out, err, interrupts);
    session.operations().parameterWriteChecks.verify = restore.verify;
    const SavedBlockCheck check{saved->block, saved->deviceId, restore.anyModule,
                                restore.withVersionText};
    const OperationOutcome outcome =
        session.run([&] { return session.operations().restoreParameters(check); });
    if (outcome == OperationOutcome::InvalidSetting) {
        fmt::print(err,
                   "--any-module writes a block into another module or program all the same\n");
    }
    return session.finish(exitCodeFor(outcome, session.operations().facts()));
}

}  // namespace canprog::cli
