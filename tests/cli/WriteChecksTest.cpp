#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "cli/ExitCodes.h"
#include "cli/ModuleCommands.h"
#include "cli/ParameterCommands.h"
#include "config/ParameterImage.h"
#include "firmware/FirmwareLoader.h"
#include "serial/SlPort.h"
#include "sim/SimulatedModule.h"
#include "support/CliFixture.h"
#include "support/Eventually.h"
#include "support/TestData.h"

namespace canprog::cli {
namespace {

namespace fs = std::filesystem;
using canprog::testing::dataFile;

// The seven bytes that hold a module's settings.
constexpr std::array<std::size_t, 7> kSettingBytes = {0x21, 0x61, 0x26, 0x66, 0x27, 0x67, 0x28};

using WriteChecksTest = canprog::testing::CliFixture;

TEST_F(WriteChecksTest, AnEepromBlockStoredWrongFailsTheVerifyAndTheModuleIsNotRestarted) {
    sim::SimOptions options;
    options.faults.storeEepromBlockWrong = 2;
    start(options);
    const FirmwareImages file = fileImages("good.hexfw");
    EXPECT_EQ(runWrite(onModule(), dataFile("good.hexfw"), {}, out, err), kExitVerifyFailed);
    char expected[96];
    std::snprintf(expected, sizeof expected,
                  "EEPROM verify failed at address 0x20: written 0x%02X, read back 0x%02X",
                  file.eepromImage[0x20], file.eepromImage[0x20] ^ 0x01);
    EXPECT_NE(err.str().find(expected), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("Every block was acknowledged, but the EEPROM read back differs from "
                             "the file: the module is still in its bootloader, with PIN "),
              std::string::npos)
        << err.str();
    EXPECT_EQ(err.str().find("only partly written"), std::string::npos);
    EXPECT_EQ(framesOf(RESTART), 0u);  // the module stays in its bootloader
    EXPECT_EQ(framesOf(READ_EEPROM), 16u);

    // Without the fault the same write verifies and restarts.
    module.reset();
    start();
    err.str("");
    EXPECT_EQ(runWrite(onModule(), dataFile("good.hexfw"), {}, out, err), kExitOk) << err.str();
    EXPECT_NE(err.str().find("Verifying EEPROM...\nEEPROM verified\n"), std::string::npos);
    EXPECT_TRUE(testing::eventually([&] { return framesOf(RESTART) == 1u; }));
    // And --no-verify reads nothing back.
    module.reset();
    start();
    WriteOptions noVerify;
    noVerify.verify = false;
    EXPECT_EQ(runWrite(onModule(), dataFile("good.hexfw"), noVerify, out, err), kExitOk);
    EXPECT_EQ(framesOf(READ_EEPROM), 0u);
}

TEST_F(WriteChecksTest, KeepParamsKeepsExactlyTheSevenSettingBytes) {
    start();
    const sim::ModuleMemory before = module->memory();
    const FirmwareImages file = fileImages("good.hexfw");
    WriteOptions keep;
    keep.keepParameters = true;
    ASSERT_EQ(runWrite(onModule(), dataFile("good.hexfw"), keep, out, err), kExitOk) << err.str();
    EXPECT_NE(err.str().find("The module's settings are kept: PIN 1234, operating mode FI, CAN "
                             "program 11 and options (1) to (10) as the module had them"),
              std::string::npos)
        << err.str();
    const sim::ModuleMemory after = module->memory();
    for (std::size_t address = 0; address < 256; ++address) {
        const bool setting =
            std::find(kSettingBytes.begin(), kSettingBytes.end(), address) != kSettingBytes.end();
        EXPECT_EQ(after.eeprom[address],
                  setting ? before.eeprom[address] : file.eepromImage[address])
            << address;
    }
}

// The CAN program list against the program the module keeps (11): a firmware whose list names
// it is written, one whose list does not is refused with nothing written unless forced, and a
// list that names no programs at all is no reason to stop.
TEST_F(WriteChecksTest, AFirmwareIsWrittenOverACarProgramItsListLacksOnlyWhenForced) {
    struct Case {
        const char* comments;
        bool force;
        int exitCode;
    };
    start();
    int run = 0;
    for (const Case& c : {Case{";CAN programs\n;11 Demo sedan\n;12 Demo van\n", false, kExitOk},
                          Case{";21 Demo hatchback\n;31 Demo SUV\n", false, kExitProgramNotListed},
                          Case{";21 Demo hatchback\n;31 Demo SUV\n", true, kExitOk},
                          Case{";Demo firmware, all cars\n", false, kExitOk}}) {
        SCOPED_TRACE(c.comments);
        // FLASH only, no EEPROM: the module's program stays.
        const std::string file = inScratch("f" + std::to_string(++run) + ".hex");
        std::ofstream(file) << ":1002000000000000000000000000000000000000EE\n:00000001FF\n"
                            << c.comments;
        const std::size_t framesBefore = writeFrames();
        WriteOptions keep;
        keep.keepParameters = true;
        keep.force = c.force;
        err.str("");
        EXPECT_EQ(runWrite(onModule(), file, keep, out, err), c.exitCode) << err.str();
        const bool refused = c.exitCode == kExitProgramNotListed;
        EXPECT_EQ(writeFrames() == framesBefore, refused);
        EXPECT_EQ(
            err.str().find("The CAN program 11 that the module will hold after the write is "
                           "not among the programs of this firmware (21, 31)") != std::string::npos,
            c.comments[1] == '2')
            << err.str();
        EXPECT_EQ(
            err.str().find("Nothing was written: the module is unchanged.") != std::string::npos,
            refused)
            << err.str();
    }
}

// A module caught without a reset line, switched on two seconds after the first probe: a wait
// shorter than that finds no bootloader, a longer one writes it, and Ctrl-C during the wait
// stops it with the module unchanged. The status counts the seconds down, the log says it once.
TEST_F(WriteChecksTest, AModuleSwitchedOnLateIsCaughtByTheWaitAndCtrlCStopsTheWait) {
    struct Case {
        int waitSeconds;
        bool interrupt;
        int exitCode;
    };
    for (const Case& c : {Case{1, false, kExitNoBootloader}, Case{20, false, kExitOk},
                          Case{20, true, kExitCancelled}}) {
        SCOPED_TRACE(c.waitSeconds);
        sim::SimOptions late;
        late.faults.switchedOnAfter =
            c.interrupt ? std::chrono::seconds(30) : std::chrono::seconds(2);
        module.reset();
        start(late);
        const sim::ModuleMemory before = module->memory();
        ModuleOptions waiting = onModule();
        waiting.moduleWait = std::chrono::seconds(c.waitSeconds);
        err.str("");
        std::thread interrupter;
        if (c.interrupt) {
            const auto started = std::chrono::steady_clock::now();
            interrupter = signalWhen(SIGINT, [started] {
                return std::chrono::steady_clock::now() - started > std::chrono::milliseconds(800);
            });
        }
        EXPECT_EQ(runWrite(waiting, dataFile("good.hexfw"), {}, out, err), c.exitCode) << err.str();
        if (interrupter.joinable()) interrupter.join();
        EXPECT_NE(err.str().find("Switch the module off and on now (" +
                                 std::to_string(c.waitSeconds) + " s left)"),
                  std::string::npos)
            << err.str();
        if (c.exitCode == kExitOk) {
            EXPECT_EQ(module->memory().eeprom, fileImages("good.hexfw").eepromImage);
        } else {
            EXPECT_EQ(writeFrames(), 0u);
            EXPECT_EQ(module->memory().eeprom, before.eeprom);
        }
    }
}

TEST_F(WriteChecksTest, AReadBeforeAKeepParamsWriteThatFailsOrIsCancelledWritesNothing) {
    sim::SimOptions damaged;
    damaged.faults.wrongReplyCheck = true;
    start(damaged);
    WriteOptions keep;
    keep.keepParameters = true;
    EXPECT_EQ(runWrite(onModule(), dataFile("good.hexfw"), keep, out, err), kExitTransmission);
    EXPECT_EQ(framesOf(WRITE_FLASH) + framesOf(WRITE_EEPROM), 0u);

    module.reset();
    start();
    const pthread_t caller = pthread_self();
    std::thread interrupter([&] {
        for (int i = 0; i < 10000 && framesOf(READ_EEPROM) == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        pthread_kill(caller, SIGINT);
    });
    EXPECT_EQ(runWrite(onModule(), dataFile("good.hexfw"), keep, out, err), kExitCancelled);
    interrupter.join();
    EXPECT_EQ(framesOf(WRITE_FLASH) + framesOf(WRITE_EEPROM), 0u);
}

TEST_F(WriteChecksTest, SaveThenRestoreGivesTheBlockBackByteForByte) {
    sim::SimOptions options;
    options.memory.eeprom[0x61] = 0xE5;  // bits that a write from the controls would clear
    options.memory.eeprom[0x90] = 0x5A;
    start(options);
    const auto original = module->memory().eeprom;
    const std::string saved = (scratch / "module.json").string();
    ASSERT_EQ(runParamsSave(onModule(), saved, false, out, err), kExitOk) << err.str();
    std::ifstream in(saved);
    const auto document = nlohmann::json::parse(in);
    EXPECT_EQ(document["format"], "canprog parameter block");
    EXPECT_EQ(document["device_id"], "12:34");
    EXPECT_EQ(document["program_version"], "DEMO 1.00");
    EXPECT_EQ(document["settings"][0]["setting"], "(1) System service");
    EXPECT_EQ(document["settings"][0]["value"], "Sound off");
    EXPECT_EQ(document["eeprom"].get<std::string>().size(), 512u);

    ParameterSettings change;
    change.pin = "9999";
    ASSERT_EQ(runParamsWrite(onModule(), change, {}, out, err), kExitOk) << err.str();
    ASSERT_NE(module->memory().eeprom, original);
    ASSERT_EQ(runParamsRestore(onModule(), saved, {}, out, err), kExitOk) << err.str();
    EXPECT_EQ(module->memory().eeprom, original);
    EXPECT_NE(err.str().find("EEPROM verified"), std::string::npos);
}

TEST_F(WriteChecksTest, AFileThatIsNotASavedBlockIsRefusedWithNothingSent) {
    start();
    struct Case {
        std::string text;
        std::string why;
    };
    for (const Case& c :
         {Case{"not json at all", "not a saved parameter block (not one JSON object"},
          Case{"{\"eeprom\": \"00\"}", "not a saved parameter block (no \"format\""},
          Case{R"({"format": "canprog parameter block", "format_version": 1, "eeprom": "12"})",
               "whose \"eeprom\" is not 512 hex digits"}}) {
        const std::string file = (scratch / "other.json").string();
        std::ofstream(file) << c.text;
        err.str("");
        EXPECT_EQ(runParamsRestore(onModule(), file, {}, out, err), kExitFirmwareFile) << c.text;
        EXPECT_NE(err.str().find(c.why), std::string::npos) << err.str();
    }
    EXPECT_TRUE(module->frames().empty());
}

TEST_F(WriteChecksTest, ABackupIsSavedBeforeTheFirmwareIsWritten) {
    start();
    const auto original = module->memory().eeprom;
    WriteOptions backup;
    backup.backupFile = (scratch / "before.json").string();
    ASSERT_EQ(runWrite(onModule(), dataFile("good.hexfw"), backup, out, err), kExitOk) << err.str();
    std::ifstream in(backup.backupFile);
    const auto document = nlohmann::json::parse(in);
    canprog::ParameterImage saved{};
    const std::string hex = document["eeprom"];
    for (std::size_t i = 0; i < saved.size(); ++i) {
        saved[i] = static_cast<std::uint8_t>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
    }
    EXPECT_EQ(saved, original);
    // A backup that cannot be written stops the write before anything is written.
    module.reset();
    start();
    backup.backupFile = (scratch / "no" / "such" / "folder.json").string();
    EXPECT_EQ(runWrite(onModule(), dataFile("good.hexfw"), backup, out, err), kExitOutput);
    EXPECT_EQ(framesOf(WRITE_FLASH) + framesOf(WRITE_EEPROM), 0u);
}

TEST_F(WriteChecksTest, TheParametersReadAsATableAndAsNamedSettings) {
    start();
    ASSERT_EQ(runParamsRead(onModule(), false, out, err), kExitOk);
    const std::string table = out.str();
    for (const char* line :
         {"\n(1) System service: Sound off\n", "\n(2) Automatic arming: Off\n",
          "\n(9) Channel II: Horn\n", "\n(10) Emergency lighting: none\n", "\nOperating mode: FI\n",
          "\nPIN code: 1234\n", "\nCAN program: 11\n"}) {
        EXPECT_NE(table.find(line), std::string::npos) << line << " in\n" << table;
    }
    std::ostringstream json;
    ASSERT_EQ(runParamsRead(onModule(), true, json, err), kExitOk);
    const auto document = nlohmann::json::parse(json.str());
    EXPECT_EQ(document["options"]["1"], 1);  // the bit, as before
    EXPECT_EQ(
        document["settings"][0],
        (nlohmann::json{{"setting", "(1) System service"}, {"value", "Sound off"}, {"bit", 1}}));
    EXPECT_EQ(document["settings"][12]["setting"], "Operating mode");
    EXPECT_EQ(document["settings"][12]["value"], "FI");
}

TEST_F(WriteChecksTest, ParamsWriteWithNothingToChangeSendsNothing) {
    start();
    EXPECT_EQ(runParamsWrite(onModule(), {}, {}, out, err), kExitUsage);
    EXPECT_NE(err.str().find("nothing to change"), std::string::npos);
    EXPECT_TRUE(module->frames().empty());
}

TEST_F(WriteChecksTest, EachFailureSaysWhyAndWhatToDo) {
    // A port held by another program.
    start();
    serial::TSlioComPort holder;
    holder.SetDevicePath(module->devicePath());
    holder.SetOpen(true);
    EXPECT_EQ(runVersion(onModule(), false, out, err), kExitPort);
    EXPECT_NE(err.str().find(module->devicePath() +
                             ": the port is in use by another program; close that program and "
                             "try again"),
              std::string::npos)
        << err.str();
    holder.SetOpen(false);

    // A module that does not answer.
    sim::SimOptions silent;
    silent.faults.neverAnswer = true;
    start(silent);
    err.str("");
    EXPECT_EQ(runVersion(onModule(), false, out, err), kExitNoBootloader);
    EXPECT_EQ(err.str(), "Check the cable, the module's power and the chosen port\n");

    // A write that stops at FLASH block 100.
    sim::SimOptions stops;
    stops.faults.silentAfterFrames = 100;
    start(stops);
    err.str("");
    EXPECT_EQ(runWrite(onModule(), dataFile("good.hexfw"), {}, out, err), kExitTransmission);
    EXPECT_NE(err.str().find("The module is only partly written (acknowledged blocks: FLASH "
                             "100/2016, EEPROM 0/16)."),
              std::string::npos)
        << err.str();
}

}  // namespace
}  // namespace canprog::cli
