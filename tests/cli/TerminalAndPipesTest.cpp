// The command line under signals, pipes and odd arguments: a closed output or a closed
// terminal never cuts a module off mid-frame unsaid, outputs that would block are refused,
// typed-ahead input is not taken for the next module, and the port is left as found.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <termios.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "cli/ExitCodes.h"
#include "cli/FirmwareCommands.h"
#include "cli/ModuleCommands.h"
#include "cli/ParameterCommands.h"
#include "firmware/FirmwareLoader.h"
#include "serial/SlSelCom.h"
#include "support/CliFixture.h"
#include "support/Eventually.h"
#include "support/Program.h"
#include "support/PtyPair.h"

namespace canprog::cli {
namespace {

namespace fs = std::filesystem;
using canprog::testing::dataFile;
using canprog::testing::eventually;
using canprog::testing::Program;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string contentsOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class TerminalAndPipesTest : public canprog::testing::CliFixture {
  protected:
    // A module completely written: every FLASH and EEPROM block, the verify, the restart.
    bool fullyWritten() const {
        return framesOf(WRITE_FLASH) == 2016 && framesOf(WRITE_EEPROM) == 16 &&
               module->restarts() == 1;
    }
};

TEST_F(TerminalAndPipesTest, AClosedOutputPipeDoesNotCutTheModuleOff) {
    start();
    Program shell(
        "/bin/bash",
        {"-c", std::string(CANPROG_CLI_PROGRAM) + " --device " + module->devicePath() + " write " +
                   dataFile("good.hexfw") + " | head -1; exit ${PIPESTATUS[0]}"});
    EXPECT_EQ(shell.wait(), kExitOutput) << shell.errors();
    EXPECT_TRUE(eventually([&] { return fullyWritten(); })) << framesOf(WRITE_FLASH);
    EXPECT_TRUE(contains(shell.errors(), "the output could not be written: the output was closed"))
        << shell.errors();

    // Notes that have nowhere to go are no success either.
    start();
    Program noErrors("/bin/bash",
                     {"-c", std::string(CANPROG_CLI_PROGRAM) + " --device " + module->devicePath() +
                                " write --keep-params " + dataFile("good.hexfw") + " 2>&-"});
    EXPECT_EQ(noErrors.wait(), kExitOutput);
    EXPECT_TRUE(fullyWritten());
}

TEST_F(TerminalAndPipesTest, AHangUpStopsBetweenFramesSaysSoAndLeavesThePortAsFound) {
    start();
    // The port as another program left it: cooked, echoing, 38400 baud.
    termios before{};
    {
        const int fd = ::open(module->devicePath().c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        ::tcgetattr(fd, &before);
        before.c_lflag |= ICANON | ECHO;
        ::cfsetspeed(&before, B38400);
        ::tcsetattr(fd, TCSANOW, &before);
        ::tcgetattr(fd, &before);
        ::close(fd);
    }
    const std::string log = inScratch("bench.jsonl");
    Program cli(CANPROG_CLI_PROGRAM,
                {"--device", module->devicePath(), "write", "--log", log, dataFile("good.hexfw")});
    ASSERT_TRUE(eventually([&] { return framesOf(WRITE_FLASH) >= 100; }, std::chrono::seconds(20)));
    ::kill(cli.pid(), SIGHUP);
    EXPECT_EQ(cli.wait(), kExitHangUp) << cli.errors();
    EXPECT_TRUE(contains(cli.errors(), "The module is only partly written (acknowledged blocks: "))
        << cli.errors();
    EXPECT_LT(framesOf(WRITE_FLASH), 2016u);
    EXPECT_EQ(module->restarts(), 0);
    // Every frame the module got is whole: its journal has no frame with a bad checksum.
    for (const auto& frame : module->frames()) EXPECT_TRUE(frame.checksumOk);
    EXPECT_EQ(nlohmann::json::parse(contentsOf(log))["exit_code"], kExitHangUp);
    termios after{};
    const int fd = ::open(module->devicePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    ::tcgetattr(fd, &after);
    ::close(fd);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_EQ(::cfgetospeed(&after), ::cfgetospeed(&before));
}

TEST_F(TerminalAndPipesTest, OutputsThatCannotBeWrittenAreRefusedBeforeAnythingIsSent) {
    start();
    const std::string fifo = inScratch("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string existing = inScratch("existing.trc");
    std::ofstream(existing) << "an earlier trace";
    const std::string dangling = inScratch("dangling.json");
    fs::create_symlink(inScratch("elsewhere.json"), dangling);
    const std::string linked = inScratch("linked.json");
    fs::create_symlink(existing, linked);
    const std::string missingFolder = inScratch("no/such/folder/x.json");
    const std::string tooLong = inScratch(std::string(256, 'n'));
    const std::string device = module->devicePath();
    const std::string firmware = dataFile("good.hexfw");
    struct Case {
        std::vector<std::string> arguments;
        std::string reason;
    };
    for (const Case& c : {
             Case{{"write", "--backup", fifo, firmware}, "is not a regular file"},
             Case{{"write", "--force", "--backup", fifo, firmware}, "is not a regular file"},
             Case{{"write", "--log", fifo, firmware}, "is not a regular file"},
             Case{{"params", "save", "--force", fifo}, "is not a regular file"},
             Case{{"--trace", fifo, "version"}, "is not a regular file"},
             Case{{"--trace", existing, "version"}, "exists already"},
             Case{{"write", "--backup", missingFolder, firmware},
                  "cannot be created: No such file or directory"},
             Case{{"write", "--backup", tooLong, firmware},
                  "cannot be created: File name too long"},
             Case{{"write", "--backup", inScratch("x.json/"), firmware},
                  "ends in a folder separator"},
             Case{{"write", "--repeat", "--log", missingFolder, firmware}, "cannot be created"},
             Case{{"--trace", missingFolder, "version"}, "cannot be created"},
             Case{{"write", "--backup", dangling, firmware}, "is a symbolic link to "},
             Case{{"params", "save", "--force", linked}, "is a symbolic link to " + existing},
             Case{{"inspect", firmware, "--flash-out", missingFolder}, "cannot be created"},
         }) {
        std::vector<std::string> arguments = {"--device", device};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        Program cli(CANPROG_CLI_PROGRAM, arguments);
        EXPECT_EQ(cli.wait(), kExitOutput) << c.arguments.back() << ": " << cli.errors();
        EXPECT_TRUE(contains(cli.errors(), c.reason)) << cli.errors();
    }
    EXPECT_TRUE(module->frames().empty());
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(contentsOf(existing), "an earlier trace");
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_FALSE(fs::exists(inScratch("elsewhere.json")));
    EXPECT_TRUE(fs::is_symlink(linked));

    // The longest name the system allows is a name like any other; --force replaces a trace.
    const std::string longest = inScratch(std::string(255, 'l'));
    Program save(CANPROG_CLI_PROGRAM, {"--device", device, "params", "save", longest});
    EXPECT_EQ(save.wait(), kExitOk) << save.errors();
    EXPECT_TRUE(fs::is_regular_file(longest));
    Program trace(CANPROG_CLI_PROGRAM,
                  {"--device", device, "--force", "--trace", existing, "version"});
    EXPECT_EQ(trace.wait(), kExitOk) << trace.errors();
    EXPECT_NE(contentsOf(existing), "an earlier trace");
}

TEST_F(TerminalAndPipesTest, AnEnterTypedDuringAWriteIsNotTakenForTheNextModule) {
    start();
    canprog::testing::PtyPair terminal;
    const std::string log = inScratch("bench.jsonl");
    Program cli(CANPROG_CLI_PROGRAM,
                {"--device", module->devicePath(), "write", "--repeat", "--no-verify", "--log", log,
                 dataFile("good.hexfw")},
                "/dev/null", Program::Input::Terminal, terminal.path());
    ASSERT_TRUE(eventually([&] { return framesOf(WRITE_FLASH) > 10; }, std::chrono::seconds(20)));
    terminal.send({'\n'});  // the technician presses Enter too early
    ASSERT_TRUE(eventually([&] { return fs::exists(log); }, std::chrono::seconds(20)));
    // The early Enter is gone: the module is not written a second time.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    EXPECT_EQ(framesOf(WRITE_FLASH), 2016u);
    terminal.send({'q', '\n'});
    EXPECT_EQ(cli.wait(), kExitOk) << cli.errors();
    EXPECT_EQ(framesOf(WRITE_FLASH), 2016u);
    EXPECT_TRUE(contains(contentsOf(inScratch("bench.jsonl")), "\"exit_code\":0"));
}

TEST_F(TerminalAndPipesTest, EmptyValuesAreUsageErrorsWithNothingSent) {
    start();
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--device", "", "version"},
          {"--device", module->devicePath(), "write", "--backup", "", dataFile("good.hexfw")},
          {"--device", module->devicePath(), "write", ""},
          {"--device", module->devicePath(), "params", "write", "--pin", ""},
          // Two ports named: neither would be known to be the one used.
          {"--port", "5", "--device", module->devicePath(), "version"}}) {
        Program cli(CANPROG_CLI_PROGRAM, arguments);
        EXPECT_EQ(cli.wait(), kExitUsage) << cli.errors();
    }
    EXPECT_TRUE(module->frames().empty());
}

TEST_F(TerminalAndPipesTest, AFileWithNothingToWriteExitsOneWithNothingSent) {
    start();
    for (const char* file : {"only_end_record.hex", "nothing_to_write.hex"}) {
        out.str("");
        EXPECT_EQ(runWrite(onModule(), dataFile(file), {}, out, err), kExitUsage) << file;
        EXPECT_EQ(out.str(), "No code to program\nNo data EEPROM to program\n");
    }
    EXPECT_TRUE(module->frames().empty());
}

TEST_F(TerminalAndPipesTest, ExtensionsAreComparedWithoutRegardToCase) {
    EXPECT_TRUE(isEncodedFileName("C:\\FIRMWARE\\UP.HEXFW"));
    EXPECT_TRUE(isEncodedFileName("up.HexFw"));
    EXPECT_FALSE(isEncodedFileName("up.hex"));
    const std::string upper = inScratch("UP.HEXFW");
    fs::copy_file(dataFile("good.hexfw"), upper);
    InspectOptions inspect;
    inspect.file = upper;
    EXPECT_EQ(runInspect(inspect, '1', out, err), kExitOk) << err.str();
}

TEST_F(TerminalAndPipesTest, TheVersionIsPrintedAsAPersonReadsIt) {
    sim::SimOptions shortText;
    const std::string version("v2.10\0\0\0\0\0\0\0\0\0\0\0", 16);
    std::copy(version.begin(), version.end(), shortText.memory.eeprom.begin() + 0xF0);
    start(shortText);
    EXPECT_EQ(runVersion(onModule(), false, out, err), kExitOk);
    EXPECT_TRUE(contains(out.str(), "\nProgram version: v2.10\n")) << out.str();
    EXPECT_EQ(out.str().find('\0'), std::string::npos);

    sim::SimOptions erased;
    erased.memory.eeprom.fill(0xFF);
    start(erased);
    out.str("");
    EXPECT_EQ(runVersion(onModule(), false, out, err), kExitOk);
    EXPECT_TRUE(contains(out.str(), "\nProgram version: (erased)\n")) << out.str();

    // The bench log keeps the raw bytes beside the readable text.
    start(shortText);
    WriteOptions write;
    write.logFile = inScratch("bench.jsonl");
    write.verify = false;
    EXPECT_EQ(runWrite(onModule(), dataFile("good.hexfw"), write, out, err), kExitOk);
    const auto line = nlohmann::json::parse(contentsOf(write.logFile));
    EXPECT_EQ(line["version_before"], "v2.10");
    EXPECT_EQ(line["version_before_bytes"], "76322E3130" + std::string(22, '0'));
}

TEST_F(TerminalAndPipesTest, TheNoteAfterAMissingPortOffersThePortsThatExist) {
    start();
    const fs::path ports = scratch / "ports";
    fs::create_directories(ports);
    for (int n = 1; n <= serial::kHighestPortNumber; ++n) {
        fs::create_symlink("/nonexistent/canprog-port", ports / ("COM" + std::to_string(n)));
    }
    fs::remove(ports / "COM2");
    fs::create_symlink(module->devicePath(), ports / "COM2");
    ::setenv("CANPROG_PORTS", ports.c_str(), 1);
    ModuleOptions missing;
    missing.port = 4;
    EXPECT_EQ(runVersion(missing, false, out, err), kExitPort);
    const auto present = serial::presentPorts(serial::kHighestComNumber);
    ::unsetenv("CANPROG_PORTS");
    ASSERT_EQ(present.size(), 1u);
    EXPECT_EQ(present[0].number, 2);
    const std::string offered = "Ports present now: ";
    const auto at = err.str().find(offered);
    ASSERT_NE(at, std::string::npos) << err.str();
    const std::string list =
        err.str().substr(at + offered.size(), err.str().find('\n', at) - at - offered.size());
    EXPECT_EQ(list, "COM2");  // the port map's link, named by its port

    // The terminal the command runs in is no port: it is not turned raw.
    canprog::testing::PtyPair terminal;
    termios before{};
    ASSERT_EQ(::tcgetattr(terminal.master(), &before), 0);
    before.c_lflag |= ICANON | ECHO;  // a terminal as a user has it
    ASSERT_EQ(::tcsetattr(terminal.master(), TCSANOW, &before), 0);
    Program own(CANPROG_CLI_PROGRAM, {"--device", terminal.path(), "version"}, "/dev/null",
                Program::Input::Terminal, terminal.path());
    EXPECT_EQ(own.wait(), kExitPort) << own.errors();
    EXPECT_TRUE(contains(own.errors(), terminal.path() + ": this is not a serial port"))
        << own.errors();
    termios after{};
    ASSERT_EQ(::tcgetattr(terminal.master(), &after), 0);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
}

}  // namespace
}  // namespace canprog::cli
