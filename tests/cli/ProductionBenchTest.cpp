#include <gtest/gtest.h>

#include "base/Sha256.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "cli/ExitCodes.h"
#include "config/ParameterImage.h"
#include "firmware/FirmwareLoader.h"
#include "operations/SavedBlock.h"
#include "sim/SimulatedModule.h"
#include "support/Program.h"
#include "support/TestData.h"

namespace canprog::cli {
namespace {

namespace fs = std::filesystem;
using canprog::testing::dataFile;
using canprog::testing::Program;

std::vector<std::string> linesOf(const fs::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Waits until `file` holds `count` lines.
bool waitForLines(const fs::path& file, std::size_t count) {
    for (int i = 0; i < 1200; ++i) {
        if (linesOf(file).size() >= count) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

TEST(ProductionBench, ThreeModulesOneAfterAnotherOneFailing) {
    const fs::path work =
        fs::temp_directory_path() / ("canprog-bench-" + std::to_string(::getpid()));
    fs::create_directories(work / "ports");
    ::setenv("CANPROG_PORTS", (work / "ports").c_str(), 1);
    // The bench's port COM7, re-plugged from one module to the next.
    const auto plug = [&](const sim::SimulatedModule& module) {
        fs::remove(work / "ports" / "COM7");
        fs::create_symlink(module.devicePath(), work / "ports" / "COM7");
    };
    sim::SimulatedModule first;
    sim::SimOptions faulty;
    faulty.faults.rejectFlashBlock = std::pair{40, 9};
    sim::SimulatedModule second(faulty);
    sim::SimulatedModule third;
    for (auto* module : {&first, &second, &third}) module->start();

    const fs::path log = work / "bench.jsonl";
    const fs::path output = work / "out.txt";
    std::ofstream(output).close();
    plug(first);
    Program cli(CANPROG_CLI_PROGRAM,
                {"--port", "7", "write", "--repeat", "--log", log.string(), "--backup",
                 (work / "old.json").string(), dataFile("good.hexfw")},
                output.string(), Program::Input::Pipe);
    ASSERT_TRUE(waitForLines(log, 1));
    plug(second);
    cli.type("\n");
    ASSERT_TRUE(waitForLines(log, 2));
    plug(third);
    cli.type("\n");
    ASSERT_TRUE(waitForLines(log, 3));
    cli.type("q\n");
    EXPECT_EQ(cli.wait(), kExitRejected);  // the code of the module that failed
    ::unsetenv("CANPROG_PORTS");

    FirmwareImages file;
    ASSERT_TRUE(loadFirmwareFile(dataFile("good.hexfw"), true, file).loaded());
    std::string fileBytes;
    std::string why;
    ASSERT_TRUE(readFileBytes(dataFile("good.hexfw"), fileBytes, why));
    const std::string newVersion = programVersionText(file.eepromImage);
    const auto lines = linesOf(log);
    ASSERT_EQ(lines.size(), 3u);
    const std::vector<int> codes = {0, kExitRejected, 0};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        const auto entry = nlohmann::json::parse(lines[i]);
        EXPECT_EQ(entry["exit_code"], codes[i]);
        EXPECT_EQ(entry["device_id"], "12:34");
        EXPECT_EQ(entry["version_before"], "DEMO 1.00");
        EXPECT_EQ(entry["port"].get<std::string>().rfind("COM7 (", 0), 0u);
        EXPECT_TRUE(entry["time"].is_string());
        EXPECT_TRUE(entry["seconds"].is_number());
        // The head a log saved for support carries, in every line.
        EXPECT_EQ(entry["program"].get<std::string>().rfind("canprog-cli ", 0), 0u);
        EXPECT_FALSE(entry["system"].get<std::string>().empty());
        EXPECT_EQ(entry["firmware"], "good.hexfw");
        EXPECT_EQ(entry["firmware_sha256"], sha256Hex(fileBytes));
    }
    const auto written = nlohmann::json::parse(lines[0]);
    EXPECT_EQ(written["version_after"], newVersion);
    EXPECT_EQ(written["flash_blocks"], 2016);
    EXPECT_EQ(written["eeprom_blocks"], 16);
    EXPECT_EQ(written["verify"], "passed");
    const auto failed = nlohmann::json::parse(lines[1]);
    EXPECT_EQ(failed["flash_blocks"], 8);  // blocks 32 to 39
    EXPECT_EQ(failed["eeprom_blocks"], 0);
    EXPECT_TRUE(failed["version_after"].is_null());  // nothing was read back
    EXPECT_EQ(failed["verify"], "not run");

    std::ifstream printed(output);
    const std::string text((std::istreambuf_iterator<char>(printed)),
                           std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("Module 1: written; DEMO 1.00 -> " + newVersion), std::string::npos)
        << text;
    EXPECT_NE(text.find("Module 2: the module rejected a block"), std::string::npos);
    EXPECT_NE(text.find("2 modules written, 1 failed"), std::string::npos);
    EXPECT_NE(cli.errors().find("Connect the next module and press Enter"), std::string::npos);
    // One backup a module, none replacing another.
    for (const char* backup : {"old-1.json", "old-2.json", "old-3.json"}) {
        std::ifstream in(work / backup);
        EXPECT_TRUE(in.good()) << backup;
        std::string why;
        EXPECT_TRUE(parseSavedBlock(
            std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()),
            why))
            << backup << ": " << why;
    }
    EXPECT_FALSE(fs::exists(work / "old.json"));
    fs::remove_all(work);
}

TEST(ProductionBench, ASignalAtThePromptEndsTheBenchWithItsCode) {
    const fs::path work =
        fs::temp_directory_path() / ("canprog-prompt-" + std::to_string(::getpid()));
    fs::create_directories(work);
    for (const auto& [signal, code] :
         {std::pair{SIGINT, kExitCancelled}, std::pair{SIGTERM, kExitCancelled},
          std::pair{SIGHUP, kExitHangUp}}) {
        SCOPED_TRACE(signal);
        sim::SimulatedModule module;
        module.start();
        const fs::path log = work / "bench.jsonl";
        fs::remove(log);
        Program cli(CANPROG_CLI_PROGRAM,
                    {"--device", module.devicePath(), "write", "--repeat", "--no-verify", "--log",
                     log.string(), dataFile("good.hexfw")},
                    "/dev/null", Program::Input::Pipe);
        ASSERT_TRUE(waitForLines(log, 1));
        // The prompt is waiting for Enter once the module's line is logged.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ::kill(cli.pid(), signal);
        EXPECT_EQ(cli.wait(), code) << cli.errors();
    }
    fs::remove_all(work);
}

TEST(ProductionBench, HelpNamesEveryExitCode) {
    const fs::path output =
        fs::temp_directory_path() / ("canprog-help-" + std::to_string(::getpid()));
    Program help(CANPROG_CLI_PROGRAM, {"--help"}, output.string());
    EXPECT_EQ(help.wait(), 0);
    std::ifstream in(output);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (int code : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 130}) {
        EXPECT_NE(text.find("\n  " + std::to_string(code) + " "), std::string::npos) << code;
    }
    EXPECT_NE(text.find("the FLASH cannot be read back"), std::string::npos);
    fs::remove(output);
}

}  // namespace
}  // namespace canprog::cli
