#include "CommandLine.h"

#include "ExitCodes.h"
#include "model/LanguageTables.h"
#include "serial/PortMap.h"
#include "serial/SlSelCom.h"

namespace canprog::cli {

namespace {
// The names --lang takes, from the table of languages.
std::vector<std::string> languageNames() {
    std::vector<std::string> names;
    for (const LanguageRow& row : kLanguages) names.emplace_back(row.name);
    return names;
}
}  // namespace

namespace {

// An empty value names nothing: `--device ""` must not fall back to COM1, nor `--backup ""`
// quietly make no backup.
const CLI::Validator kNotEmpty(
    [](std::string& value) {
        return value.empty() ? std::string("an empty value") : std::string();
    },
    "", "NotEmpty");

// A port as the user may name it: 17, COM17, or a whole line of `ports`.
const CLI::Validator kPortEntry(
    [](std::string& value) {
        const auto number = serial::portNumberFromEntry(value);
        if (!number || *number > serial::kHighestComNumber) {
            return std::string("not a port: give its number, COMn or a line of `ports`");
        }
        return std::string();
    },
    "", "PortEntry");

// The seconds of --wait-module, when given.
const CLI::Validator kModuleWait(
    [](std::string& value) {
        if (value.empty() || moduleWaitSeconds(value)) return std::string();
        return std::string("not a number of seconds from 1 to 3600");
    },
    "SECONDS", "ModuleWait");

}  // namespace

std::optional<int> moduleWaitSeconds(const std::string& given) {
    constexpr int kDefaultSeconds = 60;
    constexpr int kLongestSeconds = 3600;
    if (given.empty()) return kDefaultSeconds;
    if (given.size() > 4 || given.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int seconds = std::stoi(given);
    if (seconds < 1 || seconds > kLongestSeconds) return std::nullopt;
    return seconds;
}

void defineCommandLine(CLI::App& app, CommandLine& line) {
    app.require_subcommand(1);
    // A path such as /home/user/demo.hexfw is a file, not a Windows-style option.
    app.allow_windows_style_options(false);
    app.footer(
        "After writing the EEPROM, write and params write read it back and compare (--no-verify\n"
        "skips it); the FLASH cannot be read back, as this bootloader has no command for it.\n\n"
        "Exit codes:\n" +
        exitCodeTable());
    auto* port =
        app.add_option("--port", line.portEntry,
                       "the port: its number (1 to " + std::to_string(serial::kHighestComNumber) +
                           "), COMn, or a line of `ports` (\"COM5 \u2014 FT232R USB UART\")")
            ->check(kPortEntry);
    // Both named at once would leave one of them silently unused.
    app.add_option("--device", line.module.device,
                   "serial device instead of --port: a path, or a port name such as COM7")
        ->check(kNotEmpty)
        ->excludes(port);
    app.add_option("--trace", line.module.traceFile,
                   "write the port's character trace to FILE when the port closes")
        ->check(kNotEmpty);
    app.add_flag("--force", line.force,
                 "replace output files that exist already: the trace, a backup, a saved block");
    line.moduleWaitOption =
        app.add_option("--wait-module", line.moduleWait,
                       "for a cable without a reset line: the wake-up probes for SECONDS (60 "
                       "when none are given) while the module is switched off and on")
            ->expected(0, 1)
            ->check(kModuleWait);
    app.add_option("--lang", line.language, "language of the log lines")
        ->check(CLI::IsMember(languageNames()));

    line.inspect =
        app.add_subcommand("inspect", "load a firmware file as a write would, and show its tops");
    line.inspect->add_option("FILE", line.inspectOptions.file, "firmware file (.hexfw or .hex)")
        ->required()
        ->check(kNotEmpty);
    line.inspect
        ->add_option("--flash-out", line.inspectOptions.flashOut,
                     "write the 32768-byte FLASH image")
        ->check(kNotEmpty);
    line.inspect
        ->add_option("--eeprom-out", line.inspectOptions.eepromOut,
                     "write the 256-byte EEPROM image")
        ->check(kNotEmpty);

    line.programs =
        app.add_subcommand("programs", "the CAN program list that a firmware file carries");
    line.programs->add_option("FILE", line.programsFile, "firmware file")
        ->required()
        ->check(kNotEmpty);

    line.hexfw = app.add_subcommand("hexfw", "convert between .hex and .hexfw");
    line.hexfw->add_option("DIRECTION", line.hexfwDirection, "encode (.hex to .hexfw) or decode")
        ->required()
        ->check(CLI::IsMember({"encode", "decode"}));
    line.hexfw->add_option("IN", line.hexfwIn, "input file")->required()->check(kNotEmpty);
    line.hexfw->add_option("OUT", line.hexfwOut, "output file")->required()->check(kNotEmpty);

    line.write = app.add_subcommand("write", "write a firmware file into the module");
    line.write->add_option("FILE", line.writeFile, "firmware file (.hexfw or .hex)")
        ->required()
        ->check(kNotEmpty);
    line.write->add_flag("--no-verify", line.noVerify,
                         "do not read the EEPROM back before the restart (the FLASH cannot be "
                         "read back at all)");
    line.write->add_flag("--keep-params", line.writeOptions.keepParameters,
                         "keep the module's PIN, options, mode and CAN program: read them first "
                         "and write them into the file's EEPROM (a module without a valid PIN "
                         "has none to keep: it gets the file's)");
    line.write
        ->add_option("--backup", line.writeOptions.backupFile,
                     "save the module's parameter block to FILE before writing; FILE "
                     "must not exist yet (with --repeat each module gets FILE-1, FILE-2, "
                     "...)")
        ->check(kNotEmpty);
    line.write->add_flag("--force", line.writeOptions.force, "replace an existing backup file");
    line.write->add_flag("--repeat", line.writeOptions.repeat,
                         "write one module after another: Enter for the next, q to stop");
    line.write
        ->add_option("--log", line.writeOptions.logFile,
                     "append one JSON line per module written to FILE")
        ->check(kNotEmpty);

    line.version = app.add_subcommand("version", "read the module's program version");
    line.version->add_flag("--device-id", line.deviceId, "also read the device ID");

    auto* params = app.add_subcommand("params", "the module's operating parameters");
    params->require_subcommand(1);
    line.paramsRead = params->add_subcommand("read", "read the parameter block");
    line.paramsRead->add_flag("--json", line.json,
                              "print the settings and the image as one JSON object");
    line.paramsWrite = params->add_subcommand(
        "write",
        "read the parameters, change the named settings and write them back; every setting "
        "that will change is printed first, also those the module's write rule changes");
    auto& settings = line.settings;
    line.paramsWrite->add_option("--pin", settings.pin, "four-digit PIN")->check(kNotEmpty);
    line.paramsWrite->add_option("--mode", settings.mode, "operating mode FI or FA")
        ->check(kNotEmpty);
    line.paramsWrite
        ->add_option("--can-program", settings.canProgram, "CAN program number, two digits")
        ->check(kNotEmpty);
    line.paramsWrite
        ->add_option("--option", line.optionSettings, "option K=0|1 (K = 1..9); repeatable")
        ->check(kNotEmpty);
    line.paramsWrite->add_option("--fs1", settings.fs1, "hazard lights FS1 0|1");
    line.paramsWrite->add_option("--fs2", settings.fs2, "hazard lights FS2 0|1");
    line.paramsWrite->add_option("--fs3", settings.fs3, "hazard lights FS3 0|1");
    line.paramsWrite->add_flag("--no-verify", line.noVerify,
                               "do not read the EEPROM back before the restart");
    line.paramsWrite->add_flag("--dry-run", line.dryRun,
                               "read the module and print what would change; write nothing");
    line.paramsSave = params->add_subcommand(
        "save", "save the parameter block with its settings and the device ID to a file");
    line.paramsSave->add_option("FILE", line.saveFile, "file to write (JSON); must not exist yet")
        ->required()
        ->check(kNotEmpty);
    line.paramsSave->add_flag("--force", line.force, "replace FILE if it exists");
    line.paramsRestore = params->add_subcommand(
        "restore",
        "write a saved parameter block back, verified; only into the module it was saved from "
        "and over the same program, and the module's own version text is kept");
    line.paramsRestore->add_option("FILE", line.restoreFile, "a file written by params save")
        ->required()
        ->check(kNotEmpty);
    line.paramsRestore->add_flag("--no-verify", line.noVerify,
                                 "do not read the EEPROM back before the restart");
    line.paramsRestore->add_flag("--any-module", line.restoreOptions.anyModule,
                                 "write the block also into another module or over another "
                                 "program");
    line.paramsRestore->add_flag("--with-version-text", line.restoreOptions.withVersionText,
                                 "write the block's version text (0xF0-0xFF) as well");

    line.ports =
        app.add_subcommand("ports", "the ports that exist now, as the port dialog lists them");

    line.doctor = app.add_subcommand(
        "doctor",
        "check the connection: what is behind the port, whether anything holds it or stops it, "
        "the adapter's reply delay, then the module itself (reset pulse, wake-up, answer time, "
        "device ID, version); each finding says what to do");
    line.doctor->add_flag("--loopback", line.loopback,
                          "with TX joined to RX: send bytes and measure their round trip "
                          "instead of talking to a module");
    line.doctor->add_flag("--json", line.json, "print the findings and the facts as JSON");

    line.library = app.add_subcommand(
        "library",
        "the firmware files of a folder and its subfolders, with their version text and CAN "
        "program list: which firmware fits a car");
    line.library->add_option("FOLDER", line.libraryFolder, "folder to search")
        ->required()
        ->check(kNotEmpty);
    line.library->add_option("--find", line.libraryFind,
                             "only files whose name, version or CAN program list holds TEXT "
                             "(case ignored), with the lines that hold it");
    line.library->add_flag("--json", line.json, "print the files as one JSON object");
}

std::string deviceForArgument(const std::string& argument) {
    const bool portName = argument.size() > 3 && argument.size() <= 6 &&
                          (argument.rfind("COM", 0) == 0 || argument.rfind("com", 0) == 0) &&
                          argument.find_first_not_of("0123456789", 3) == std::string::npos;
    if (!portName) return argument;
    const std::string device = serial::portDevicePath(std::stoi(argument.substr(3)));
    return device.empty() ? argument : device;
}

bool parseOptionSettings(const std::vector<std::string>& options, ParameterSettings& settings) {
    for (const auto& option : options) {
        if (option.size() != 3 || option[1] != '=' || option[0] < '1' || option[0] > '9') {
            return false;
        }
        settings.options[option[0] - '0'] = option[2] == '1' ? 1 : (option[2] == '0' ? 0 : 2);
    }
    return true;
}

}  // namespace canprog::cli
