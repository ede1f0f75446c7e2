#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include <atomic>
#include <nlohmann/json.hpp>

#include "cli/DoctorCommand.h"
#include "cli/ExitCodes.h"
#include "cli/ModuleCommands.h"
#include "cli/ParameterCommands.h"
#include "serial/ConnectionFacts.h"
#include "sim/SimulatedModule.h"
#include "support/Eventually.h"
#include "support/Program.h"
#include "support/PtyPair.h"
#include "support/TestData.h"

namespace canprog::cli {
namespace {

using canprog::testing::dataFile;

class ModuleCommandsTest : public ::testing::Test {
  protected:
    ModuleOptions on(const sim::SimulatedModule& module) {
        ModuleOptions options;
        options.device = module.devicePath();
        return options;
    }
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(ModuleCommandsTest, WriteAndVersionPrintTheLogAndSucceed) {
    sim::SimulatedModule module;
    module.start();
    EXPECT_EQ(runWrite(on(module), dataFile("good.hexfw"), {}, out, err), kExitOk) << err.str();
    EXPECT_EQ(out.str(),
              "Waiting for bootloader...\nOK\nFLASH writing...\nEEPROM writing...\nFinished\n");
    out.str("");
    EXPECT_EQ(runVersion(on(module), true, out, err), kExitOk);
    // The version as a person reads it: its padding blanks are not printed.
    EXPECT_EQ(out.str(),
              "Waiting for bootloader...\nOK\nDevice ID: 12:34\nProgram version: DEMO 1.00\n"
              "Finished\n");
}

// The connection check from the command line: against the simulated module it finds nothing in
// the way and the module's answer; with another program holding the port it names that program
// and stops there; with TX joined to RX (the far end of the pseudo-terminal sends every byte
// back) the bytes come back.
TEST_F(ModuleCommandsTest, TheDoctorFindsTheModuleTheProgramInTheWayAndTheLoopback) {
    {
        sim::SimulatedModule module;
        module.start();
        ASSERT_EQ(runDoctor(on(module), false, false, out, err), kExitOk) << err.str();
        EXPECT_NE(out.str().find("Reset pulse sent; the module's bootloader answered after "),
                  std::string::npos)
            << out.str();
        EXPECT_NE(out.str().find(" ms: device ID 12:34, DEMO 1.00\n"), std::string::npos);
        EXPECT_NE(out.str().find("Nothing was found that stops the connection"), std::string::npos);

        testing::Program holder("/bin/sleep", {"30"}, "/dev/null",
                                testing::Program::Input::Terminal, module.devicePath());
        ASSERT_TRUE(testing::eventually(
            [&] { return !serial::lookUpConnection(0, module.devicePath()).holders.empty(); }));
        out.str("");
        const std::size_t framesBefore = module.frames().size();
        ASSERT_EQ(runDoctor(on(module), false, true, out, err), kExitPort);
        const auto document = nlohmann::json::parse(out.str());
        EXPECT_EQ(document["facts"]["held_by"][0]["program"], "sleep");
        EXPECT_NE(document["findings"].dump().find("is held open by sleep (process "),
                  std::string::npos)
            << out.str();
        EXPECT_EQ(module.frames().size(), framesBefore);  // the module was left alone
    }
    testing::PtyPair joined;
    std::atomic<bool> done{false};
    std::thread echo([&] {
        while (!done) {
            const auto bytes = joined.receive(1, std::chrono::milliseconds(20));
            if (!bytes.empty()) joined.send(bytes);
        }
    });
    ModuleOptions loop;
    loop.device = joined.path();
    out.str("");
    EXPECT_EQ(runDoctor(loop, true, false, out, err), kExitOk) << out.str() << err.str();
    done = true;
    echo.join();
    EXPECT_NE(out.str().find("Loopback: 32 of 32 bytes came back, round trip "), std::string::npos)
        << out.str();
}

TEST_F(ModuleCommandsTest, EachFailureHasItsExitCode) {
    EXPECT_EQ(runWrite({}, dataFile("bad_checksum.hex"), {}, out, err), kExitFirmwareFile);
    EXPECT_NE(err.str().find("bad_checksum.hex, line 2: checksum error"), std::string::npos);

    ModuleOptions missing;
    missing.device = "/dev/canprog-none";
    EXPECT_EQ(runVersion(missing, false, out, err), kExitPort);
    EXPECT_NE(err.str().find("/dev/canprog-none: there is no such port"), std::string::npos);
    EXPECT_EQ(err.str().find("ie_"), std::string::npos) << "an internal code name: " << err.str();

    struct Case {
        const char* name;
        void (*fault)(sim::FaultOptions&);
        int exitCode;
    };
    for (const Case& c : {
             Case{"silent", [](sim::FaultOptions& f) { f.neverAnswer = true; }, kExitNoBootloader},
             Case{"stops", [](sim::FaultOptions& f) { f.silentAfterFrames = 3; },
                  kExitTransmission},
             Case{"rejects",
                  [](sim::FaultOptions& f) {
                      f.rejectFlashBlock = std::pair{40, 2};
                  },
                  kExitRejected},
         }) {
        sim::SimOptions options;
        c.fault(options.faults);
        sim::SimulatedModule module(options);
        module.start();
        EXPECT_EQ(runWrite(on(module), dataFile("good.hexfw"), {}, out, err), c.exitCode) << c.name;
    }
}

TEST_F(ModuleCommandsTest, CtrlCIsTheCancelButton) {
    sim::SimOptions options;
    options.faults.neverAnswer = true;
    sim::SimulatedModule module(options);
    module.start();
    const pthread_t caller = pthread_self();
    std::thread interrupter([caller] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1200));
        pthread_kill(caller, SIGINT);
    });
    EXPECT_EQ(runVersion(on(module), false, out, err), kExitCancelled);
    interrupter.join();
    EXPECT_EQ(out.str(), "Waiting for bootloader...\nCancel\n");
}

TEST_F(ModuleCommandsTest, PortVanishingIsATransmissionErrorWithTheReason) {
    sim::SimOptions options;
    options.faults.hangUpAfterFrames = 20;
    sim::SimulatedModule module(options);
    module.start();
    EXPECT_EQ(runWrite(on(module), dataFile("good.hexfw"), {}, out, err), kExitTransmission);
    // The log's line on stdout; why, and what it means for the module, on stderr.
    EXPECT_NE(out.str().find("FLASH writing...\nError data transmission\n"), std::string::npos)
        << out.str();
    EXPECT_NE(err.str().find("Lost the connection to the module (" + module.devicePath() +
                             "): check the cable and the module's power\n"
                             "The module is only partly written (acknowledged blocks: FLASH "
                             "19/2016,"),
              std::string::npos)
        << err.str();
}

TEST_F(ModuleCommandsTest, AFailedOpenIsReportedWithoutOpeningThePortAgain) {
    // A regular file opens, and then is no terminal: exactly one open may be seen.
    const std::string device = std::filesystem::temp_directory_path() /
                               ("canprog-not-a-port-" + std::to_string(::getpid()));
    std::ofstream(device).put('x');
    const int watch = ::inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, device.c_str(), IN_OPEN), 0);
    ModuleOptions options;
    options.device = device;
    EXPECT_EQ(runWrite(options, dataFile("good.hexfw"), {}, out, err), kExitPort);
    int opens = 0;
    alignas(inotify_event) char events[4096];
    for (ssize_t n; (n = ::read(watch, events, sizeof events)) > 0;) {
        for (char* at = events; at < events + n;) {
            auto* event = reinterpret_cast<inotify_event*>(at);
            if (event->mask & IN_OPEN) ++opens;
            at += sizeof(inotify_event) + event->len;
        }
    }
    ::close(watch);
    std::filesystem::remove(device);
    EXPECT_EQ(opens, 1);
    EXPECT_NE(err.str().find(device + ": this is not a serial port"), std::string::npos)
        << err.str();
}

TEST_F(ModuleCommandsTest, ParameterFailuresSayWhatHappened) {
    // The port that does not open, with its device and reason.
    ModuleOptions missing;
    missing.device = "/dev/canprog-none";
    EXPECT_EQ(runParamsRead(missing, false, out, err), kExitPort);
    EXPECT_NE(err.str().find("/dev/canprog-none: there is no such port"), std::string::npos)
        << err.str();

    // A time-out in the EEPROM phase is shown in the status line only; it is printed too.
    sim::SimOptions options;
    options.faults.silentAfterFrames = 17;  // the read's 16 blocks and its restart
    sim::SimulatedModule module(options);
    module.start();
    ParameterSettings settings;
    settings.mode = "FA";
    out.str("");
    EXPECT_EQ(runParamsWrite(on(module), settings, {}, out, err), kExitTransmission);
    EXPECT_NE(out.str().find("EEPROM writing...\nError data transmission\n"), std::string::npos)
        << out.str();
}

TEST_F(ModuleCommandsTest, ParamsWriteNeverStoresAPinTheUserDidNotGive) {
    sim::SimOptions options;
    options.memory.eeprom.fill(0xFF);  // erased: no valid PIN
    sim::SimulatedModule module(options);
    module.start();
    ParameterSettings settings;
    settings.mode = "FA";
    EXPECT_EQ(runParamsWrite(on(module), settings, {}, out, err), kExitInvalidSetting);
    EXPECT_NE(err.str().find("no valid PIN"), std::string::npos) << err.str();
    for (const auto& frame : module.frames()) EXPECT_NE(frame.command, WRITE_EEPROM);
    settings.pin = "2468";
    EXPECT_EQ(runParamsWrite(on(module), settings, {}, out, err), kExitOk) << err.str();
    EXPECT_EQ(module.memory().eeprom[0x26], 2);
}

TEST_F(ModuleCommandsTest, AReplysBadCheckByteIsATransmissionErrorAndStopsParamsWrite) {
    sim::SimOptions options;
    options.faults.wrongReplyCheck = true;
    sim::SimulatedModule module(options);
    module.start();
    ParameterSettings settings;
    settings.pin = "4321";
    EXPECT_EQ(runParamsWrite(on(module), settings, {}, out, err), kExitTransmission);
    for (const auto& frame : module.frames()) EXPECT_NE(frame.command, WRITE_EEPROM);
    // The version's reply is judged as every other: a damaged one is not printed as good.
    out.str("");
    EXPECT_EQ(runVersion(on(module), false, out, err), kExitTransmission);
    EXPECT_EQ(out.str().find("Program version"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("Error data transmission"), std::string::npos) << out.str();
}

TEST_F(ModuleCommandsTest, CtrlCRightAfterTheReadOfParamsWriteWritesNothing) {
    sim::SimulatedModule module;
    module.start();
    const pthread_t caller = pthread_self();
    std::thread interrupter([&] {
        // The read's restart has reached the module: the write is about to begin.
        for (int i = 0; i < 10000 && module.restarts() == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        pthread_kill(caller, SIGINT);
    });
    ParameterSettings settings;
    settings.pin = "4321";
    EXPECT_EQ(runParamsWrite(on(module), settings, {}, out, err), kExitCancelled);
    interrupter.join();
    EXPECT_EQ(out.str().substr(out.str().rfind('\n', out.str().size() - 2) + 1), "Cancel\n")
        << out.str();
    for (const auto& frame : module.frames()) EXPECT_NE(frame.command, WRITE_EEPROM);
}

TEST_F(ModuleCommandsTest, TraceHoldsTheWakeUpTheFramesAndTheReplies) {
    sim::SimulatedModule module;
    module.start();
    const std::string trace =
        std::filesystem::temp_directory_path() / ("canprog-" + std::to_string(::getpid()) + ".trc");
    ModuleOptions options = on(module);
    options.traceFile = trace;
    ASSERT_EQ(runVersion(options, false, out, err), kExitOk);
    std::ifstream in(trace);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // WAKE, the scrambled PROBE; then the scrambled ANSWER.
    EXPECT_EQ(text.rfind("Transmit: \n[0F][DE]", 0), 0u) << text;
    EXPECT_NE(text.find("Receive: \n[FC]"), std::string::npos);
    // KEEP_KEY, then the READ_EEPROM frame at 0xF0 (command 3 XOR 0xB7 is 0xB4) and its reply.
    EXPECT_NE(text.find("Transmit: \n[C4][B4][B7][B7]G[A7]HHHHHHHHHHHHHHHH[A7]"), std::string::npos)
        << text;
    EXPECT_NE(text.find("Receive: \n[B7][F3][F2][FA][F8][97][86][99][87][87]"), std::string::npos);
    std::filesystem::remove(trace);
}

TEST_F(ModuleCommandsTest, ParamsWriteChangesExactlyTheNamedBytes) {
    sim::SimulatedModule module;
    module.start();
    const sim::ModuleMemory before = module.memory();
    ParameterSettings settings;
    settings.pin = "4321";
    settings.mode = "FA";
    settings.canProgram = "37";
    settings.options[1] = 0;
    ASSERT_EQ(runParamsWrite(on(module), settings, {}, out, err), kExitOk) << err.str();
    out.str("");
    ASSERT_EQ(runParamsRead(on(module), true, out, err), kExitOk);

    const sim::ModuleMemory after = module.memory();
    for (std::size_t a = 0; a < 256; ++a) {
        if (a == 0x21 || a == 0x61 || a == 0x26 || a == 0x66 || a == 0x27 || a == 0x67 || a == 0x28)
            continue;
        EXPECT_EQ(after.eeprom[a], before.eeprom[a]) << a;
    }
    EXPECT_EQ(after.eeprom[0x21], 0x00);  // option 1 cleared, the others as they were
    EXPECT_EQ(after.eeprom[0x61], 0x80);
    EXPECT_EQ(after.eeprom[0x28], 0x37);
    const std::string json = out.str();
    EXPECT_NE(json.find("\"pin\": \"4321\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"mode\": \"FA\""), std::string::npos);
    EXPECT_NE(json.find("\"can_program\": \"37\""), std::string::npos);
    EXPECT_NE(json.find("\"1\": 0"), std::string::npos);
}

TEST_F(ModuleCommandsTest, InvalidSettingsExitSevenBeforeThePortIsTouched) {
    ParameterSettings pin;
    pin.pin = "12a4";
    ModuleOptions nowhere;
    nowhere.device = "/dev/canprog-none";
    EXPECT_EQ(runParamsWrite(nowhere, pin, {}, out, err), kExitInvalidSetting);
    ParameterSettings both;
    both.fs1 = 1;
    both.fs3 = 1;
    EXPECT_TRUE(invalidSetting(both).has_value());
    ParameterSettings option;
    option.options[10] = 1;
    EXPECT_TRUE(invalidSetting(option).has_value());
    EXPECT_TRUE(out.str().empty());
}

}  // namespace
}  // namespace canprog::cli
