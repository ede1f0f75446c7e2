// What keeps a car's settings safe on the command line: backups that no write destroys,
// settings kept only when there are some, a parameter write cut off said plainly, a restore
// that checks the module first, the changes shown before a write, saved files read strictly,
// and the bench log's version as read from the module.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "base/OutputFiles.h"
#include "cli/ExitCodes.h"
#include "cli/ModuleCommands.h"
#include "cli/ParameterCommands.h"
#include "config/ParameterImage.h"
#include "operations/SavedBlock.h"
#include "support/CliFixture.h"
#include "support/Eventually.h"

namespace canprog::cli {
namespace {

namespace fs = std::filesystem;
using canprog::testing::dataFile;

std::string contentsOf(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class SettingsSafetyTest : public canprog::testing::CliFixture {
  protected:
    std::string savedFrom(sim::SimOptions options, const std::string& name) {
        start(std::move(options));
        const std::string file = inScratch(name);
        EXPECT_EQ(runParamsSave(onModule(), file, false, out, err), kExitOk) << err.str();
        return file;
    }
};

TEST_F(SettingsSafetyTest, ABackupOrASavedBlockNeverReplacesAnExistingFile) {
    start();
    const std::string backup = inScratch("old.json");
    std::ofstream(backup) << "the good backup";
    WriteOptions write;
    write.backupFile = backup;
    EXPECT_EQ(runWrite(onModule(), dataFile("good.hexfw"), write, out, err), kExitOutput);
    EXPECT_TRUE(contains(err.str(), backup + ": exists already")) << err.str();
    EXPECT_TRUE(module->frames().empty());
    EXPECT_EQ(contentsOf(backup), "the good backup");
    EXPECT_EQ(runParamsSave(onModule(), backup, false, out, err), kExitOutput);
    EXPECT_TRUE(module->frames().empty());
    EXPECT_EQ(contentsOf(backup), "the good backup");

    // Asked to, the backup replaces it.
    write.force = true;
    write.verify = false;
    ASSERT_EQ(runWrite(onModule(), dataFile("good.hexfw"), write, out, err), kExitOk) << err.str();
    EXPECT_EQ(nlohmann::json::parse(contentsOf(backup))["device_id"], "12:34");
}

TEST_F(SettingsSafetyTest, AFailedWriteLeavesItsBackupForTheRetryToKeep) {
    sim::SimOptions rejects;
    rejects.faults.rejectEepromBlock = std::pair{3, 2};
    start(rejects);
    const auto original = module->memory().eeprom;
    WriteOptions write;
    write.backupFile = inScratch("before.json");
    EXPECT_EQ(runWrite(onModule(), dataFile("good.hexfw"), write, out, err), kExitRejected);
    const std::string good = contentsOf(write.backupFile);
    // The retry on the half-written module does not replace the good backup.
    EXPECT_EQ(runWrite(onModule(), dataFile("good.hexfw"), write, out, err), kExitOutput);
    EXPECT_EQ(contentsOf(write.backupFile), good);
    std::string why;
    const auto saved = parseSavedBlock(good, why);
    ASSERT_TRUE(saved) << why;
    EXPECT_EQ(saved->block, original);
}

TEST_F(SettingsSafetyTest, NumberedBackupFilesKeepEachModuleOfABench) {
    EXPECT_EQ(numberedFile("/bench/old.json", 3), "/bench/old-3.json");
    EXPECT_EQ(numberedFile("old", 1), "old-1");
    EXPECT_EQ(numberedFile("backups.d/old", 2), "backups.d/old-2");
    EXPECT_EQ(numberedFile(".old", 4), ".old-4");
}

TEST_F(SettingsSafetyTest, KeepParamsKeepsOnlyTheModulesValidSettings) {
    const FirmwareImages file = fileImages("good.hexfw");
    struct Case {
        std::string what;
        void (*set)(sim::ModuleMemory&);
        std::string note;
        std::vector<std::uint8_t> keptFromModule;  // the addresses whose bytes are the module's
    };
    for (const Case& c : {
             Case{"erased",
                  [](sim::ModuleMemory& m) { m.eeprom.fill(0xFF); },
                  "The module has no settings to keep: the file's settings are written\n",
                  {}},
             Case{"a PIN and nothing else",
                  [](sim::ModuleMemory& m) {
                      m.eeprom.fill(0xFF);
                      for (auto [address, digit] :
                           {std::pair{0x26, 5}, {0x66, 6}, {0x27, 7}, {0x67, 8}}) {
                          m.eeprom[address] = static_cast<std::uint8_t>(digit);
                      }
                  },
                  "Kept from the module: PIN 5678. From the file, as the module's are not "
                  "valid: options (1) to (8), option (9), (10) and operating mode ",
                  {0x26, 0x66, 0x27, 0x67}},
             Case{"FS1 and FS3 together, CAN program 0x3A",
                  [](sim::ModuleMemory& m) {
                      m.eeprom[0x61] = 0x14;
                      m.eeprom[0x28] = 0x3A;
                  },
                  "Kept from the module: PIN 1234, options (1) to (8). From the file, as the "
                  "module's are not valid: option (9), (10) and operating mode ",
                  {0x26, 0x66, 0x27, 0x67, 0x21}},
         }) {
        SCOPED_TRACE(c.what);
        sim::SimOptions options;
        c.set(options.memory);
        start(options);
        const auto before = module->memory().eeprom;
        err.str("");
        WriteOptions keep;
        keep.keepParameters = true;
        ASSERT_EQ(runWrite(onModule(), dataFile("good.hexfw"), keep, out, err), kExitOk)
            << err.str();
        EXPECT_TRUE(contains(err.str(), c.note)) << err.str();
        EXPECT_FALSE(contains(err.str(), "The module's settings are kept"));
        auto expected = file.eepromImage;
        for (const std::uint8_t address : c.keptFromModule) expected[address] = before[address];
        EXPECT_EQ(module->memory().eeprom, expected);
    }
}

TEST_F(SettingsSafetyTest, AParamsWriteCutBetweenThePinBlocksSaysWhatThePinNowIs) {
    // The read takes 16 READ_EEPROM frames and a RESTART; the write's blocks 0 to 3 are
    // acknowledged, block 4 is not. The PIN's first and third digits sit in block 2, the
    // second and fourth in block 6.
    sim::SimOptions stops;
    stops.faults.silentAfterFrames = 17 + 4;
    start(stops);
    ParameterSettings pin;
    pin.pin = "5678";
    EXPECT_EQ(runParamsWrite(onModule(), pin, {}, out, err), kExitTransmission);
    EXPECT_TRUE(contains(err.str(),
                         "The module's settings are only partly written (acknowledged EEPROM "
                         "blocks: 4/16); PIN now 5274. Writing the settings again repairs the "
                         "module.\n"))
        << err.str();
    const auto& eeprom = module->memory().eeprom;
    EXPECT_EQ((std::array{eeprom[0x26], eeprom[0x66], eeprom[0x27], eeprom[0x67]}),
              (std::array<std::uint8_t, 4>{5, 2, 7, 4}));
}

TEST_F(SettingsSafetyTest, ATerminatedParamsWriteSaysSoToo) {
    start();
    ParameterSettings pin;
    pin.pin = "5678";
    std::thread terminator = signalWhen(SIGTERM, [this] { return framesOf(WRITE_EEPROM) >= 4; });
    EXPECT_EQ(runParamsWrite(onModule(), pin, {}, out, err), kExitCancelled);
    terminator.join();
    EXPECT_TRUE(contains(err.str(), "The module's settings are only partly written ("))
        << err.str();
    EXPECT_TRUE(contains(err.str(), "; PIN now 5274. ")) << err.str();
    EXPECT_LT(framesOf(WRITE_EEPROM), 16u);
}

TEST_F(SettingsSafetyTest, AStopDuringTheVerifySaysTheModuleIsWrittenButNotVerified) {
    // A params write reads 16 blocks and restarts (17 frames), writes 16, then reads them back;
    // a firmware write with a bench log reads the device ID and 16 blocks, writes 2032 blocks,
    // then reads back. Each case stops it after three blocks of that read-back.
    struct Case {
        std::string what;
        bool firmware;
        int signal;  // 0: the module falls silent instead
        int exitCode;
    };
    for (const Case& c : {
             Case{"params write, Ctrl-C", false, SIGINT, kExitCancelled},
             Case{"params write, a silent module", false, 0, kExitVerifyFailed},
             Case{"params write, the terminal closed", false, SIGHUP, kExitHangUp},
             Case{"firmware write, SIGTERM", true, SIGTERM, kExitCancelled},
             Case{"firmware write, a silent module", true, 0, kExitVerifyFailed},
         }) {
        SCOPED_TRACE(c.what);
        const int beforeReadBack = c.firmware ? 17 + 2032 : 17 + 16;
        sim::SimOptions options;
        if (c.signal == 0) options.faults.silentAfterFrames = beforeReadBack + 3;
        start(options);
        out.str("");
        err.str("");
        std::thread stopper;
        if (c.signal != 0) {
            stopper = signalWhen(c.signal, [this] { return framesOf(READ_EEPROM) >= 16 + 3; });
        }
        const std::string log = inScratch("bench.jsonl");
        fs::remove(log);
        int code = 0;
        if (c.firmware) {
            WriteOptions write;
            write.logFile = log;
            code = runWrite(onModule(), dataFile("good.hexfw"), write, out, err);
        } else {
            ParameterSettings pin;
            pin.pin = "5678";
            code = runParamsWrite(onModule(), pin, {}, out, err);
        }
        if (stopper.joinable()) stopper.join();
        EXPECT_EQ(code, c.exitCode) << err.str();
        EXPECT_EQ(framesOf(WRITE_EEPROM), 16u);
        EXPECT_LT(framesOf(READ_EEPROM), 32u);
        EXPECT_EQ(module->restarts(), c.firmware ? 0 : 1);  // only the params write's read
        EXPECT_TRUE(contains(
            err.str(), c.firmware
                           ? "Every block is written and acknowledged, but the verify did not "
                             "finish: the module is still in its bootloader, with PIN "
                           : "The module's settings are written completely (PIN now 5678), but "
                             "the verify did not finish: the module is still in its bootloader."))
            << err.str();
        EXPECT_FALSE(contains(err.str(), "only partly written")) << err.str();
        if (c.firmware) {
            const auto line = nlohmann::json::parse(contentsOf(log));
            EXPECT_EQ(line["verify"], "not finished");
            EXPECT_TRUE(line["version_after"].is_null());
            EXPECT_EQ(line["exit_code"], c.exitCode);
        }
    }
}

TEST_F(SettingsSafetyTest, ARestoreStoppedAtBlockElevenSaysSo) {
    const std::string saved = savedFrom({}, "module.json");
    // The restore reads the device ID and 16 blocks, then writes; block 11 gets no answer.
    sim::SimOptions stops;
    stops.faults.silentAfterFrames = 17 + 11;
    start(stops);
    EXPECT_EQ(runParamsRestore(onModule(), saved, {}, out, err), kExitTransmission);
    EXPECT_TRUE(contains(err.str(),
                         "only partly written (acknowledged EEPROM blocks: 11/16); PIN now "
                         "1234."))
        << err.str();
}

TEST_F(SettingsSafetyTest, ARestoreChecksTheModuleItWritesInto) {
    const std::string saved = savedFrom({}, "module.json");

    // Another device ID: refused, nothing written, and both are named.
    sim::SimOptions other;
    other.faults.deviceId = 0x5678;
    start(other);
    const auto untouched = module->memory().eeprom;
    err.str("");
    EXPECT_EQ(runParamsRestore(onModule(), saved, {}, out, err), kExitInvalidSetting);
    EXPECT_EQ(framesOf(WRITE_EEPROM), 0u);
    EXPECT_EQ(module->memory().eeprom, untouched);
    EXPECT_TRUE(contains(err.str(),
                         "Module: device 56:78, program DEMO 1.00; saved block: "
                         "device 12:34, program DEMO 1.00\n"))
        << err.str();
    EXPECT_TRUE(contains(err.str(),
                         "The saved block comes from another module (device 12:34; "
                         "this module is 56:78): nothing was written\n"));
    EXPECT_TRUE(testing::eventually([&] { return module->restarts() == 1; }));

    // Another program in the same module: refused too.
    sim::SimOptions newer;
    const std::string version = "DEMO 2.00       ";
    std::copy(version.begin(), version.end(), newer.memory.eeprom.begin() + 0xF0);
    start(newer);
    err.str("");
    EXPECT_EQ(runParamsRestore(onModule(), saved, {}, out, err), kExitInvalidSetting);
    EXPECT_EQ(framesOf(WRITE_EEPROM), 0u);
    EXPECT_TRUE(contains(err.str(),
                         "The saved block belongs to another program (DEMO 1.00; the "
                         "module holds DEMO 2.00): nothing was written"));

    // --any-module writes it, and the module keeps its own version text.
    RestoreOptions anyModule;
    anyModule.anyModule = true;
    ASSERT_EQ(runParamsRestore(onModule(), saved, anyModule, out, err), kExitOk) << err.str();
    EXPECT_EQ(framesOf(WRITE_EEPROM), 16u);
    const auto& eeprom = module->memory().eeprom;
    EXPECT_EQ(std::string(eeprom.begin() + 0xF0, eeprom.end()), version);
}

TEST_F(SettingsSafetyTest, ParamsWriteShowsEveryByteThatWillChangeFirst) {
    ParameterSettings ownPin;
    ownPin.pin = "1234";  // the demo module's
    ParameterSettings newPin;
    newPin.pin = "1111";
    ParameterSettings fs1;
    fs1.fs1 = 1;
    struct Case {
        std::string what;
        std::uint8_t modeByte;
        ParameterSettings settings;
        bool dryRun;
        std::vector<std::string> printed;
        std::uint8_t modeByteAfter;
    };
    for (const Case& c : {
             Case{"the unused bits set",
                  0xE1,
                  newPin,
                  true,
                  {"Settings that will change:\n  PIN code: 1234 -> 1111\n"
                   "  address 0x61: 0xE1 -> 0x80 (its bits 0, 5 and 6 hold no setting and are "
                   "written as 0)\n",
                   "Nothing was written (--dry-run)\n"},
                  0xE1},
             // FS1 unchecks FS3, as its check box does: shown although only FS1 was named.
             Case{"FS3 on, FS1 named",
                  0x10,
                  fs1,
                  false,
                  {"  (10) Emergency lighting FS1 (alarm sequence): off -> on\n",
                   "  (10) Emergency lighting FS3 (const. during alarm): on -> off\n"},
                  0x04},
             Case{"FS1 and FS3 both on, nothing named changes",
                  0x14,
                  ownPin,
                  false,
                  {"Settings that will change:\n  address 0x61: 0x14 -> 0x10 (FS1 is written as "
                   "off: FS3 is on, and the two exclude each other)\n"},
                  0x10},
             Case{"an erased mode byte",
                  0xFF,
                  ownPin,
                  true,
                  {"  address 0x61: 0xFF -> 0x9A (its bits 0, 5 and 6 hold no setting and are "
                   "written as 0; FS1 is written as off: FS3 is on, and the two exclude each "
                   "other)\n"},
                  0xFF},
             Case{"nothing changes",
                  0x00,
                  ownPin,
                  false,
                  {"Nothing changes: the module already holds these settings\n"
                   "Nothing was written\n"},
                  0x00},
         }) {
        SCOPED_TRACE(c.what);
        sim::SimOptions options;
        options.memory.eeprom[0x61] = c.modeByte;
        start(options);
        out.str("");
        ParamsWriteOptions write;
        write.dryRun = c.dryRun;
        ASSERT_EQ(runParamsWrite(onModule(), c.settings, write, out, err), kExitOk) << err.str();
        for (const std::string& line : c.printed) {
            EXPECT_TRUE(contains(out.str(), line)) << out.str();
        }
        const bool writes = !c.dryRun && c.modeByte != c.modeByteAfter;
        EXPECT_EQ(framesOf(WRITE_EEPROM), writes ? 16u : 0u);
        EXPECT_EQ(module->memory().eeprom[0x61], c.modeByteAfter);
    }
}

TEST_F(SettingsSafetyTest, ASavedFileIsReadStrictly) {
    const std::string good = contentsOf(savedFrom({}, "module.json"));
    struct Case {
        std::string text;
        std::string why;
    };
    std::string editedPin = good;
    editedPin.replace(editedPin.find("\"1234\""), 6, "\"5678\"");
    std::string twice = good;
    twice.insert(twice.find("\"eeprom\""), "\"eeprom\": \"" + std::string(512, 'F') + "\",\n  ");
    std::string editedVersion = good;
    editedVersion.replace(editedVersion.find("\"DEMO 1.00\""), 11, "\"DEMO 9.99\"");
    const auto withDeviceId = [&good](const std::string& id) {
        std::string edited = good;
        edited.replace(edited.find("\"12:34\""), 7, id);
        return edited;
    };
    std::string withoutDeviceId = good;
    withoutDeviceId.erase(withoutDeviceId.find("\"device_id\""), 21);
    std::string wrongBit = good;
    wrongBit.replace(wrongBit.find("\"bit\": 1"), 8, "\"bit\": 0");
    std::string padded = good;
    padded.insert(padded.find("\"format\""), std::string(kLargestSavedBlockFile, ' '));
    const std::string nested =
        std::string(100000 / 2, '[') + std::string(100000 / 2, ']');  // refused by its size
    const std::string deep = std::string(9, '[') + std::string(9, ']');
    for (const Case& c : {
             Case{editedPin,
                  "\"settings\": \"PIN code\" reads \"5678\", but the \"eeprom\" "
                  "bytes hold \"1234\""},
             Case{twice, "the key \"eeprom\" appears twice"},
             Case{good + std::string(1, '\0') + "garbage", "a NUL byte at offset"},
             Case{good + "garbage", "not one JSON object and nothing after it"},
             Case{editedVersion, "\"program_version\" reads \"DEMO 9.99\""},
             Case{withDeviceId("null"), "\"device_id\" is not a device ID such as \"12:34\""},
             Case{withDeviceId("\" 1:34\""), "\"device_id\" is not a device ID"},
             Case{withDeviceId("\"-1:34\""), "\"device_id\" is not a device ID"},
             Case{withDeviceId("\"12:3 \""), "\"device_id\" is not a device ID"},
             Case{withoutDeviceId, "without \"device_id\": it does not say which module"},
             Case{wrongBit,
                  "\"settings\": \"(1) System service\" has the bit 0, but the \"eeprom\" "
                  "bytes hold 1"},
             Case{padded, "larger than 64 KiB: not a saved parameter block"},
             Case{nested, "larger than 64 KiB: not a saved parameter block"},
             Case{deep, "nested deeper than 8 levels: not a saved parameter block"},
         }) {
        const std::string file = inScratch("edited.json");
        std::ofstream(file, std::ios::binary | std::ios::trunc) << c.text;
        err.str("");
        const auto framesBefore = module->frames().size();
        EXPECT_EQ(runParamsRestore(onModule(), file, {}, out, err), kExitFirmwareFile);
        EXPECT_TRUE(contains(err.str(), c.why)) << err.str();
        EXPECT_TRUE(contains(err.str(), "; nothing was sent"));
        EXPECT_EQ(module->frames().size(), framesBefore);
    }
}

TEST_F(SettingsSafetyTest, TheBenchLogTellsTheVersionTheModuleReadsBack) {
    // The version text's block is stored with its first byte flipped: 'D' reads back as 'E'.
    sim::SimOptions wrong;
    wrong.faults.storeEepromBlockWrong = 15;
    start(wrong);
    WriteOptions write;
    write.logFile = inScratch("bench.jsonl");
    EXPECT_EQ(runWrite(onModule(), dataFile("good.hexfw"), write, out, err), kExitVerifyFailed);
    const auto line = nlohmann::json::parse(contentsOf(write.logFile));
    EXPECT_EQ(line["verify"], "failed");
    const std::string fileVersion = programVersionText(fileImages("good.hexfw").eepromImage);
    ASSERT_TRUE(line["version_after"].is_string());
    EXPECT_NE(line["version_after"], fileVersion);
    std::string flipped = fileVersion;
    flipped[0] = static_cast<char>(flipped[0] ^ 0x01);
    EXPECT_EQ(line["version_after"], flipped);

    // Without the verify nothing is read back: the version after is not known.
    start();
    write.verify = false;
    fs::remove(write.logFile);
    EXPECT_EQ(runWrite(onModule(), dataFile("good.hexfw"), write, out, err), kExitOk);
    EXPECT_TRUE(nlohmann::json::parse(contentsOf(write.logFile))["version_after"].is_null());
}

}  // namespace
}  // namespace canprog::cli
