// canprog-cli: the window's operations from a terminal.
#include <CLI/CLI.hpp>

#include <iostream>

#include "CliSession.h"
#include "CommandLine.h"
#include "Console.h"
#include "DoctorCommand.h"
#include "ExitCodes.h"
#include "LibraryCommand.h"
#include "StandardStreams.h"
#include "base/OutputFiles.h"
#include "model/MainForm.h"
#include "serial/PortMap.h"
#include "serial/SlSelCom.h"
#include "version/ProgramVersion.h"

namespace {

using namespace canprog::cli;

// The ports as the window's list shows them, each with its device, the name that stays with
// an adapter where the system gives one, and whether it can be opened now.
int listPorts() {
    for (const auto& port : canprog::serial::presentPorts(canprog::serial::kHighestComNumber)) {
        std::cout << canprog::serial::portEntry(port) << "  " << port.device
                  << (port.stableName.empty() ? "" : "  " + port.stableName)
                  << (port.busy ? "  (in use or not permitted)" : "") << '\n';
    }
    return kExitOk;
}

// Runs the chosen command; its exit code.
int runCommand(CommandLine& line) {
    const ModuleOptions& module = line.module;
    const char language = module.languageCode;
    if (*line.ports) return listPorts();
    if (*line.doctor) return runDoctor(module, line.loopback, line.json, std::cout, std::cerr);
    if (*line.library) {
        return runLibrary(line.libraryFolder, line.libraryFind, line.json, std::cout, std::cerr);
    }
    if (*line.write) {
        line.writeOptions.verify = !line.noVerify;
        line.writeOptions.program = "canprog-cli " + canprog::programVersion();
        return runWrite(module, line.writeFile, line.writeOptions, std::cout, std::cerr);
    }
    if (*line.version) return runVersion(module, line.deviceId, std::cout, std::cerr);
    if (*line.paramsRead) return runParamsRead(module, line.json, std::cout, std::cerr);
    if (*line.paramsWrite) {
        if (!parseOptionSettings(line.optionSettings, line.settings)) {
            std::cerr << "invalid setting: --option takes K=0|1 with K from 1 to 9\n";
            return kExitInvalidSetting;
        }
        return runParamsWrite(module, line.settings, {!line.noVerify, line.dryRun}, std::cout,
                              std::cerr);
    }
    if (*line.paramsSave) {
        return runParamsSave(module, line.saveFile, line.force, std::cout, std::cerr);
    }
    if (*line.paramsRestore) {
        line.restoreOptions.verify = !line.noVerify;
        return runParamsRestore(module, line.restoreFile, line.restoreOptions, std::cout,
                                std::cerr);
    }
    if (*line.inspect) return runInspect(line.inspectOptions, language, std::cout, std::cerr);
    if (*line.programs) return runPrograms(line.programsFile, language, std::cout, std::cerr);
    if (*line.hexfw) {
        return runHexfw(line.hexfwDirection == "encode", line.hexfwIn, line.hexfwOut, language,
                        std::cout, std::cerr);
    }
    return kExitUsage;
}

// Parses the command line and runs the command; its exit code.
int runMain(int argc, char** argv) {
    CLI::App app{
        "canprog-cli: write firmware into CAN-bus alarm interface modules, read their "
        "version and parameters"};
    app.set_version_flag("--version", "canprog-cli " + canprog::programVersion());
    CommandLine line;
    defineCommandLine(app, line);
    std::vector<std::string> arguments = utf8Arguments(argc, argv);
    std::vector<char*> pointers;
    for (auto& argument : arguments) pointers.push_back(argument.data());
    try {
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::ParseError& error) {
        const int shown = app.exit(error);
        return shown == 0 ? kExitOk : kExitUsage;
    }

    if (line.force) line.writeOptions.force = true;
    // A trace that could not be written at the end is found out before anything is sent, and
    // like every other output it replaces an existing file only when asked to. (A FIFO or a
    // device would block that write for ever.)
    if (!line.module.traceFile.empty()) {
        if (const auto refused =
                canprog::refusedNewFile(line.module.traceFile, line.writeOptions.force)) {
            std::cerr << line.module.traceFile << ": " << *refused << "; nothing was sent\n";
            return kExitOutput;
        }
    }
    if (line.moduleWaitOption->count() > 0) {
        line.module.moduleWait = std::chrono::seconds(*moduleWaitSeconds(line.moduleWait));
    }
    line.module.languageCode = *languageCodeFor(line.language);
    line.module.device = deviceForArgument(line.module.device);
    line.module.port = *canprog::serial::portNumberFromEntry(line.portEntry);
    return runCommand(line);
}

}  // namespace

int main(int argc, char** argv) {
    const PreparedConsole console;
    RecordedStream output(std::cout, 1, console.closedAtStart(1));
    RecordedStream errors(std::cerr, 2, console.closedAtStart(2));
    const int code = runMain(argc, argv);
    // Output that did not reach its reader (a pipe closed early, a full disk) is a failure,
    // never a success; so are notes that had nowhere to go.
    if (const int failure = output.failure()) {
        std::cerr << "canprog-cli: the output could not be written: "
                  << canprog::writeErrorText(failure) << '\n';
        if (code == kExitOk) return kExitOutput;
    }
    if (errors.failure() != 0 && code == kExitOk) return kExitOutput;
    return code;
}
