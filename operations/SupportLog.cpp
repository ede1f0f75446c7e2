#include "SupportLog.h"

#include <fmt/format.h>

#include "SavedBlock.h"
#include "base/OutputFiles.h"
#include "base/Sha256.h"
#include "base/Utf8Path.h"
#include "bootloader/Replies.h"
#include "config/ParameterImage.h"
#include "firmware/FirmwareLoader.h"
#include "model/PlatformShell.h"
#include "serial/PortMap.h"
#include "serial/SlSelCom.h"
#include "serial/SystemInfo.h"

namespace canprog {

namespace {

// The port the operations use, with what the system says of the adapter behind it.
std::string portDescription(Operations& operations) {
    const std::string& device = operations.ComPort().DevicePath();
    if (!device.empty()) return device;
    const int number = operations.form().selectedPortNumber();
    for (const auto& port : serial::presentPorts(serial::kHighestComNumber)) {
        if (port.number != number) continue;
        std::string text = serial::portEntry(port) + " (" + port.device;
        if (!port.stableName.empty()) text += ", " + port.stableName;
        return text + ")";
    }
    return fmt::format("COM{} ({}, not present now)", number, serial::portDevicePath(number));
}

}  // namespace

SupportLogFacts supportLogFacts(Operations& operations, const std::string& program) {
    SupportLogFacts facts;
    facts.program = program;
    facts.system = serial::operatingSystemName();
    facts.port = portDescription(operations);
    const ModuleFacts& module = operations.facts();
    facts.deviceId = module.deviceId ? module.deviceId : operations.lastRead().deviceId;
    if (module.blockRead) facts.versionBefore = programVersionText(*module.blockRead);
    if (module.blockReadBack) facts.versionAfter = programVersionText(*module.blockReadBack);
    const std::string& file = operations.form().firmwareFileName;
    if (!file.empty()) {
        facts.firmwareFile = fileNameOf(file);
        std::string bytes;
        std::string why;
        facts.firmwareSha256 = readFileBytes(file, bytes, why)
                                   ? sha256Hex(bytes)
                                   : std::string("(").append(why).append(")");
    }
    facts.time = utcNow();
    return facts;
}

std::vector<std::string> supportLogHeader(const SupportLogFacts& facts) {
    const auto orNone = [](const std::string& text) { return text.empty() ? "—" : text; };
    return {
        facts.program,
        "System: " + facts.system,
        "Port: " + facts.port,
        "Device ID: " + (facts.deviceId ? deviceIdText(*facts.deviceId) : std::string("—")),
        "Version before: " + orNone(facts.versionBefore),
        "Version after: " + orNone(facts.versionAfter),
        "Firmware file: " + orNone(facts.firmwareFile),
        "SHA-256: " + orNone(facts.firmwareSha256),
        "Time: " + facts.time,
        "",
    };
}

void SaveLogClick(MainForm& form, Operations& operations, const std::string& program) {
    if (form.operationRunning()) return;
    const auto file = form.shell().chooseFileToSave(
        form.windowText(WindowText::LogFiles) + " (*.txt)|*.txt", "*.txt");
    if (!file) return;
    std::string text;
    for (const std::string& line : supportLogHeader(supportLogFacts(operations, program))) {
        text += line + "\n";
    }
    for (const std::string& line : form.logLines()) text += line + "\n";
    std::string why;
    // The dialog asked before a file of that name is replaced.
    if (writeNewFile(*file, text, true, why)) {
        form.logNote(Extra::LogSaved, {{"file", fileNameOf(*file)}});
    } else {
        form.logNote(Extra::LogNotSaved, {{"file", fileNameOf(*file)}, {"reason", why}});
    }
}

}  // namespace canprog
