#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

#include "FirmwareCommands.h"
#include "ModuleCommands.h"
#include "ParameterCommands.h"

namespace canprog::cli {

// Every option and command of canprog-cli, as parsed.
struct CommandLine {
    std::string language = "en";
    std::string portEntry = "1";  // --port as given: 17, COM17, or an entry of `ports`
    ModuleOptions module;
    std::string moduleWait;  // --wait-module as given: empty for the default
    CLI::Option* moduleWaitOption = nullptr;

    CLI::App* inspect = nullptr;
    InspectOptions inspectOptions;
    CLI::App* programs = nullptr;
    std::string programsFile;
    CLI::App* hexfw = nullptr;
    std::string hexfwDirection;
    std::string hexfwIn;
    std::string hexfwOut;
    CLI::App* write = nullptr;
    std::string writeFile;
    WriteOptions writeOptions;
    bool noVerify = false;
    CLI::App* version = nullptr;
    bool deviceId = false;
    CLI::App* paramsRead = nullptr;
    bool json = false;
    CLI::App* paramsWrite = nullptr;
    ParameterSettings settings;
    std::vector<std::string> optionSettings;
    bool dryRun = false;
    CLI::App* paramsSave = nullptr;
    std::string saveFile;
    bool force = false;  // --force before the command or after `params save`
    CLI::App* paramsRestore = nullptr;
    std::string restoreFile;
    RestoreOptions restoreOptions;
    CLI::App* ports = nullptr;
    CLI::App* doctor = nullptr;
    bool loopback = false;
    CLI::App* library = nullptr;
    std::string libraryFolder;
    std::string libraryFind;
};

// Defines the options and commands on `app`, to be filled in by its parse.
void defineCommandLine(CLI::App& app, CommandLine& line);

// The device a --device argument names: a port name ("COM7", also written "\\.\COM7" on
// Windows) as the port map resolves it, anything else as it is.
std::string deviceForArgument(const std::string& argument);

// The seconds --wait-module asks for: 60 when given without a number; nothing when the text
// is not a number of seconds from 1 to 3600.
std::optional<int> moduleWaitSeconds(const std::string& given);

// The --option K=0|1 settings into `settings`; false when one is not of that form.
bool parseOptionSettings(const std::vector<std::string>& options, ParameterSettings& settings);

}  // namespace canprog::cli
