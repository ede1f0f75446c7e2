// canprog-cli: the window's operations from a terminal.
#include <CLI/CLI.hpp>

#include <iostream>

#include "CliSession.h"
#include "ExitCodes.h"
#include "FirmwareCommands.h"
#include "ModuleCommands.h"

int main(int argc, char** argv) {
    using namespace canprog::cli;

    CLI::App app{"canprog-cli: write firmware into CAN-bus alarm interface modules, read their "
                 "version and parameters"};
    app.require_subcommand(1);

    std::string language = "en";
    ModuleOptions module;
    app.add_option("--port", module.port, "COM port number, as in the window's list")
        ->check(CLI::Range(1, 12));
    app.add_option("--device", module.device, "serial device path instead of --port");
    app.add_option("--lang", language, "language of the log lines")
        ->check(CLI::IsMember({"pl", "en", "de", "ru", "sk", "cz", "hu"}));

    InspectOptions inspect;
    auto* inspectCommand =
        app.add_subcommand("inspect", "load a firmware file as a write would, and show its tops");
    inspectCommand->add_option("FILE", inspect.file, "firmware file (.hexfw or .hex)")->required();
    inspectCommand->add_option("--flash-out", inspect.flashOut, "write the 32768-byte FLASH image");
    inspectCommand->add_option("--eeprom-out", inspect.eepromOut, "write the 256-byte EEPROM image");

    std::string programsFile;
    auto* programsCommand =
        app.add_subcommand("programs", "the CAN program list that a firmware file carries");
    programsCommand->add_option("FILE", programsFile, "firmware file")->required();

    std::string direction;
    std::string hexfwIn;
    std::string hexfwOut;
    auto* hexfwCommand = app.add_subcommand("hexfw", "convert between .hex and .hexfw");
    hexfwCommand->add_option("DIRECTION", direction, "encode (.hex to .hexfw) or decode")
        ->required()
        ->check(CLI::IsMember({"encode", "decode"}));
    hexfwCommand->add_option("IN", hexfwIn, "input file")->required();
    hexfwCommand->add_option("OUT", hexfwOut, "output file")->required();

    std::string writeFile;
    auto* writeCommand = app.add_subcommand("write", "write a firmware file into the module");
    writeCommand->add_option("FILE", writeFile, "firmware file (.hexfw or .hex)")->required();

    bool deviceId = false;
    auto* versionCommand = app.add_subcommand("version", "read the module's program version");
    versionCommand->add_flag("--device-id", deviceId, "also read the device ID");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int shown = app.exit(error);
        return shown == 0 ? kExitOk : kExitUsage;
    }

    const char code = *languageCodeFor(language);
    module.languageCode = code;
    if (*writeCommand) return runWrite(module, writeFile, std::cout, std::cerr);
    if (*versionCommand) return runVersion(module, deviceId, std::cout, std::cerr);
    if (*inspectCommand) return runInspect(inspect, code, std::cout, std::cerr);
    if (*programsCommand) return runPrograms(programsFile, code, std::cout, std::cerr);
    if (*hexfwCommand) {
        return runHexfw(direction == "encode", hexfwIn, hexfwOut, code, std::cout, std::cerr);
    }
    return kExitUsage;
}
