// canprog-sim: a simulated alarm interface module on a pseudo-terminal.
#include <CLI/CLI.hpp>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "MemoryFiles.h"
#include "SimulatedModule.h"
#include "serial/posix/PortMapFolder.h"
#include "version/ProgramVersion.h"

namespace {

// "B:C" to a pair of numbers.
std::optional<std::pair<int, int>> parsePair(const std::string& text) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) return std::nullopt;
    return std::pair{std::stoi(text.substr(0, colon), nullptr, 0),
                     std::stoi(text.substr(colon + 1), nullptr, 0)};
}

// Removes the port-map link when the simulator ends.
struct PortLink {
    std::filesystem::path path;
    ~PortLink() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove(path, ignored);
    }
};

}  // namespace

int main(int argc, char** argv) {
    using namespace canprog::sim;
    CLI::App app{
        "canprog-sim: a simulated CAN-bus alarm interface module. It opens a "
        "pseudo-terminal, prints the device path to open, and answers as the module's "
        "bootloader until it is stopped (Ctrl-C)."};
    app.set_version_flag("--version", "canprog-sim " + canprog::programVersion());
    int com = 0;
    std::string flashFile, eepromFile, saveFlash, saveEeprom, journal;
    bool lineRate = false;
    int writeTimeMs = 0;
    int replyDelayMs = 0;
    FaultOptions faults;
    int answerAfter = 1;
    double switchedOnAfter = 0;
    std::string strayByte, rejectFlash, rejectEeprom, deviceId;
    int silentAfter = 0, cutReply = -1, hangupAfter = 0;

    app.add_option("--com", com, "also link the device as COM<N> in the port map")
        ->check(CLI::Range(1, 50));
    app.add_option("--flash", flashFile,
                   "load FLASH (32768 bytes) from FILE; changes are saved back");
    app.add_option("--eeprom", eepromFile,
                   "load EEPROM (256 bytes) from FILE; changes are saved back");
    app.add_option("--save-flash", saveFlash, "save FLASH to FILE whenever it changes");
    app.add_option("--save-eeprom", saveEeprom, "save EEPROM to FILE whenever it changes");
    app.add_flag("--line-rate", lineRate,
                 "pace bytes both ways at 9600 baud 8N1 (~1.04 ms a byte)");
    app.add_option("--write-time-ms", writeTimeMs, "time the module takes to write a block");
    app.add_option("--reply-delay-ms", replyDelayMs,
                   "hold every reply this long, as a slow USB adapter does (16 for a latency "
                   "timer at its default)");
    app.add_option("--journal", journal, "write every decoded frame to FILE as a JSON line");
    app.add_flag("--no-answer", faults.neverAnswer, "fault: never answer the wake-up");
    app.add_option("--answer-after", answerAfter, "fault: answer only the Nth probe")
        ->check(CLI::PositiveNumber);
    app.add_option("--switched-on-after", switchedOnAfter,
                   "fault: a module without a reset line, switched on SECONDS after the first "
                   "byte reached it; no probe before then is answered")
        ->check(CLI::NonNegativeNumber);
    app.add_option("--stray-byte", strayByte,
                   "fault: send this byte (e.g. 0x55) before the answer");
    app.add_option("--reject-flash", rejectFlash,
                   "fault: reject FLASH block B with status C (B:C)");
    app.add_option("--reject-eeprom", rejectEeprom,
                   "fault: reject EEPROM block B with status C (B:C)");
    app.add_option("--silent-after", silentAfter, "fault: stop replying after N frames");
    app.add_option("--cut-reply", cutReply, "fault: cut every reply short after K bytes");
    app.add_option("--hangup-after", hangupAfter,
                   "fault: close the pseudo-terminal after N frames");
    app.add_flag("--bad-reply-check", faults.wrongReplyCheck,
                 "fault: give every EEPROM read reply a wrong check byte");
    int storeWrong = -1;
    app.add_option("--store-eeprom-wrong", storeWrong,
                   "fault: acknowledge EEPROM block B but store its first byte flipped");
    app.add_option("--device-id", deviceId, "the device ID to report (default 0x1234)");
    CLI11_PARSE(app, argc, argv);

    SimOptions options;
    std::string error;
    if (!flashFile.empty() && std::filesystem::exists(flashFile) &&
        !loadImage(flashFile, options.memory.flash.data(), kFlashBytes, error)) {
        std::cerr << error << '\n';
        return 1;
    }
    if (!eepromFile.empty() && std::filesystem::exists(eepromFile) &&
        !loadImage(eepromFile, options.memory.eeprom.data(), kEepromBytes, error)) {
        std::cerr << error << '\n';
        return 1;
    }
    if (saveFlash.empty()) saveFlash = flashFile;
    if (saveEeprom.empty()) saveEeprom = eepromFile;
    options.lineRate = lineRate;
    options.writeTime = std::chrono::milliseconds(writeTimeMs);
    options.replyDelay = std::chrono::milliseconds(replyDelayMs);
    options.journalPath = journal;
    faults.answerAfterProbes = answerAfter;
    faults.switchedOnAfter =
        std::chrono::milliseconds(static_cast<std::int64_t>(switchedOnAfter * 1000));
    try {
        if (!strayByte.empty())
            faults.strayByte = static_cast<std::uint8_t>(std::stoi(strayByte, nullptr, 0));
        if (!rejectFlash.empty()) faults.rejectFlashBlock = parsePair(rejectFlash);
        if (!rejectEeprom.empty()) faults.rejectEepromBlock = parsePair(rejectEeprom);
        if (silentAfter > 0) faults.silentAfterFrames = silentAfter;
        if (cutReply >= 0) faults.cutReplyAfterBytes = cutReply;
        if (hangupAfter > 0) faults.hangUpAfterFrames = hangupAfter;
        if (storeWrong >= 0) faults.storeEepromBlockWrong = storeWrong;
        if (!deviceId.empty())
            faults.deviceId = static_cast<std::uint16_t>(std::stoi(deviceId, nullptr, 0));
    } catch (const std::exception&) {
        std::cerr << "a number option is not a number (use 12, 0x0C or B:C)\n";
        return 1;
    }
    if ((!rejectFlash.empty() && !faults.rejectFlashBlock) ||
        (!rejectEeprom.empty() && !faults.rejectEepromBlock)) {
        std::cerr << "--reject-flash and --reject-eeprom take BLOCK:STATUS\n";
        return 1;
    }
    options.faults = faults;
    options.saveMemory = [saveFlash, saveEeprom](const ModuleMemory& memory) {
        if (!saveFlash.empty()) saveImage(saveFlash, memory.flash.data(), kFlashBytes);
        if (!saveEeprom.empty()) saveImage(saveEeprom, memory.eeprom.data(), kEepromBytes);
    };
    // The files exist from the start, so that a reader sees the module before its first write.
    options.saveMemory(options.memory);

    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    SimulatedModule module(options);
    PortLink link;
    if (com > 0) {
        const std::filesystem::path folder = canprog::serial::portMapFolder();
        std::filesystem::create_directories(folder);
        link.path = folder / ("COM" + std::to_string(com));
        std::error_code ignored;
        std::filesystem::remove(link.path, ignored);
        std::filesystem::create_symlink(module.devicePath(), link.path);
    }
    std::cout << module.devicePath() << std::endl;
    if (com > 0) std::cout << "linked as " << link.path.string() << std::endl;

    module.start();
    const timespec poll{0, 200'000'000};
    while (!module.hungUp()) {
        if (sigtimedwait(&stopSignals, nullptr, &poll) > 0) break;
    }
    module.stop();
    return 0;
}
