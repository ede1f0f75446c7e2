#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <filesystem>

#include "cli/ExitCodes.h"
#include "support/Program.h"
#include "support/PtyPair.h"
#include "support/TestData.h"

namespace canprog::cli {
namespace {

namespace fs = std::filesystem;
using testing::dataFile;
using testing::Program;
using testing::PtyPair;

const std::string kCli = CANPROG_CLI_PROGRAM;

class BadInputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        scratch = fs::temp_directory_path() /
                  ("canprog-bad-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(scratch);
    }
    void TearDown() override { fs::remove_all(scratch); }
    fs::path scratch;
};

TEST_F(BadInputTest, AFirmwareFileThatIsNotARegularFileIsRefusedAtOnce) {
    const fs::path fifo = scratch / "firmware.hexfw";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string file;
        std::string reason;
    };
    for (const Case& c :
         {Case{fifo.string(), "not a regular file"}, Case{"/dev/zero", "not a regular file"},
          Case{scratch.string(), "Is a directory"}}) {
        // Every command that reads a firmware file refuses it without blocking or growing.
        for (std::vector<std::string> arguments :
             {std::vector<std::string>{"--device", "/dev/canprog-none", "write", c.file},
              std::vector<std::string>{"inspect", c.file},
              std::vector<std::string>{"programs", c.file},
              std::vector<std::string>{"hexfw", "decode", c.file, (scratch / "out").string()}}) {
            Program cli(kCli, arguments);
            EXPECT_EQ(cli.wait(), kExitFirmwareFile) << arguments[0] << " " << c.file;
            EXPECT_NE(cli.errors().find(c.reason), std::string::npos) << cli.errors();
        }
    }
}

TEST_F(BadInputTest, OutputThatCannotBeWrittenIsAFailure) {
    Program inspect(kCli, {"inspect", dataFile("good.hexfw")}, "/dev/full");
    EXPECT_EQ(inspect.wait(), kExitOutput);
    EXPECT_NE(inspect.errors().find("could not be written: the disk is full"), std::string::npos)
        << inspect.errors();

    Program programs(kCli, {"programs", dataFile("help_3_lines.hexfw")}, "/dev/full");
    EXPECT_EQ(programs.wait(), kExitOutput);

    // A trace that could not be written is found out before the port is touched.
    PtyPair pty;
    Program traced(
        kCli, {"--device", pty.path(), "--trace", (scratch / "no" / "x.trc").string(), "version"});
    EXPECT_EQ(traced.wait(), kExitOutput);
    EXPECT_NE(traced.errors().find("cannot be created: No such file or directory"),
              std::string::npos)
        << traced.errors();
    EXPECT_TRUE(pty.receive(1, std::chrono::milliseconds(100)).empty());
}

TEST_F(BadInputTest, AKilledRunLeavesThePortFreeForEveryone) {
    PtyPair pty;  // a module that never answers
    Program cli(kCli, {"--device", pty.path(), "version"});
    // Once the wake-up bytes come the port is held; then the run is killed.
    ASSERT_FALSE(pty.receive(1).empty());
    ::kill(cli.pid(), SIGKILL);
    EXPECT_EQ(cli.wait(), 128 + SIGKILL);
    // The terminal's exclusive flag would lock out every user but root; it is not set.
    const int fd = ::open(pty.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    int exclusive = -1;
    EXPECT_EQ(::ioctl(fd, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    ::close(fd);
}

}  // namespace
}  // namespace canprog::cli
