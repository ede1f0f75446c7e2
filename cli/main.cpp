// canprog-cli: the window's operations from a terminal.
#include <CLI/CLI.hpp>

#include <iostream>

#include "CliSession.h"
#include "ExitCodes.h"
#include "FirmwareCommands.h"
#include "ModuleCommands.h"
#include "ParameterCommands.h"
#include "serial/SlSelCom.h"

int main(int argc, char** argv) {
    using namespace canprog::cli;

    CLI::App app{
        "canprog-cli: write firmware into CAN-bus alarm interface modules, read their "
        "version and parameters"};
    app.require_subcommand(1);

    std::string language = "en";
    ModuleOptions module;
    app.add_option("--port", module.port, "COM port number, as in the window's list")
        ->check(CLI::Range(1, 12));
    app.add_option("--device", module.device, "serial device path instead of --port");
    app.add_option("--trace", module.traceFile,
                   "write the port's character trace to FILE when the port closes");
    app.add_option("--lang", language, "language of the log lines")
        ->check(CLI::IsMember({"pl", "en", "de", "ru", "sk", "cz", "hu"}));

    InspectOptions inspect;
    auto* inspectCommand =
        app.add_subcommand("inspect", "load a firmware file as a write would, and show its tops");
    inspectCommand->add_option("FILE", inspect.file, "firmware file (.hexfw or .hex)")->required();
    inspectCommand->add_option("--flash-out", inspect.flashOut, "write the 32768-byte FLASH image");
    inspectCommand->add_option("--eeprom-out", inspect.eepromOut,
                               "write the 256-byte EEPROM image");

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

    auto* paramsCommand = app.add_subcommand("params", "the module's operating parameters");
    paramsCommand->require_subcommand(1);
    bool json = false;
    auto* paramsRead = paramsCommand->add_subcommand("read", "read the parameter block");
    paramsRead->add_flag("--json", json, "print the settings and the image as one JSON object");
    ParameterSettings settings;
    std::vector<std::string> optionSettings;
    auto* paramsWrite = paramsCommand->add_subcommand(
        "write", "read the parameters, change the named settings and write them back");
    paramsWrite->add_option("--pin", settings.pin, "four-digit PIN");
    paramsWrite->add_option("--mode", settings.mode, "operating mode FI or FA");
    paramsWrite->add_option("--can-program", settings.canProgram, "CAN program number, two digits");
    paramsWrite->add_option("--option", optionSettings, "option K=0|1 (K = 1..9); repeatable");
    paramsWrite->add_option("--fs1", settings.fs1, "hazard lights FS1 0|1");
    paramsWrite->add_option("--fs2", settings.fs2, "hazard lights FS2 0|1");
    paramsWrite->add_option("--fs3", settings.fs3, "hazard lights FS3 0|1");

    auto* portsCommand =
        app.add_subcommand("ports", "the ports that exist now, as the port dialog lists them");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int shown = app.exit(error);
        return shown == 0 ? kExitOk : kExitUsage;
    }

    const char code = *languageCodeFor(language);
    module.languageCode = code;
    if (*portsCommand) {
        for (const auto& port : canprog::serial::presentPorts()) {
            const std::string& description = port.description;
            std::cout << canprog::serial::portItem(port.number) << "  " << port.device
                      << (description.empty() ? "" : "  " + description)
                      << (port.busy ? "  (in use or not permitted)" : "") << '\n';
        }
        return kExitOk;
    }
    if (*writeCommand) return runWrite(module, writeFile, std::cout, std::cerr);
    if (*versionCommand) return runVersion(module, deviceId, std::cout, std::cerr);
    if (*paramsRead) return runParamsRead(module, json, std::cout, std::cerr);
    if (*paramsWrite) {
        for (const auto& option : optionSettings) {
            const auto equals = option.find('=');
            if (equals == std::string::npos || equals == 0 || equals + 2 != option.size() ||
                option[0] < '1' || option[0] > '9' || equals != 1) {
                std::cerr << "invalid setting: --option takes K=0|1 with K from 1 to 9\n";
                return kExitInvalidSetting;
            }
            settings.options[option[0] - '0'] = option[2] == '1' ? 1 : (option[2] == '0' ? 0 : 2);
        }
        return runParamsWrite(module, settings, std::cout, std::cerr);
    }
    if (*inspectCommand) return runInspect(inspect, code, std::cout, std::cerr);
    if (*programsCommand) return runPrograms(programsFile, code, std::cout, std::cerr);
    if (*hexfwCommand) {
        return runHexfw(direction == "encode", hexfwIn, hexfwOut, code, std::cout, std::cerr);
    }
    return kExitUsage;
}
