#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "sim/ToolSide.h"

namespace canprog {
namespace {

namespace fs = std::filesystem;
using testing::frame;
using testing::unscramble;
using testing::wakePair;

// canprog-sim as a child process; its first output line is the device to open.
class SimProcess {
  public:
    explicit SimProcess(const std::vector<std::string>& arguments) {
        int out[2];
        if (::pipe(out) != 0) throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            std::vector<char*> argv{const_cast<char*>(CANPROG_SIM_PROGRAM)};
            for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(CANPROG_SIM_PROGRAM, argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        output_ = out[0];
        device_ = readLine();
    }
    ~SimProcess() {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        ::close(output_);
    }
    const std::string& device() const { return device_; }

  private:
    std::string readLine() {
        std::string line;
        char c = 0;
        while (::read(output_, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }
    pid_t pid_ = -1;
    int output_ = -1;
    std::string device_;
};

// A minimal client: the device opened raw, bytes written and read with a deadline.
class MinimalClient {
  public:
    explicit MinimalClient(const std::string& device)
        : fd_(::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        termios raw{};
        ::tcgetattr(fd_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(fd_, TCSANOW, &raw);
    }
    ~MinimalClient() { ::close(fd_); }
    bool isOpen() const { return fd_ >= 0; }
    void send(const std::vector<std::uint8_t>& bytes) {
        ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    std::vector<std::uint8_t> receive(std::size_t count) {
        std::vector<std::uint8_t> got;
        for (int tries = 0; got.size() < count && tries < 250; ++tries) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            std::uint8_t buffer[64];
            const ssize_t n = ::read(fd_, buffer, std::min(sizeof buffer, count - got.size()));
            if (n > 0) got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }

  private:
    int fd_;
};

std::string fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SimProcess, AnswersTheWakeUpReadsTheVersionAndSavesAWrite) {
    const fs::path folder =
        fs::temp_directory_path() / ("canprog-sim-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path eeprom = folder / "eeprom.bin";
    {
        SimProcess sim(
            {"--eeprom", eeprom.string(), "--journal", (folder / "journal.jsonl").string()});
        ASSERT_TRUE(fs::exists(sim.device())) << sim.device();
        MinimalClient client(sim.device());
        ASSERT_TRUE(client.isOpen());

        client.send(wakePair());
        EXPECT_EQ(client.receive(1), std::vector<std::uint8_t>{ANSWER ^ initialLinkKey});
        client.send({KEEP_KEY ^ initialLinkKey});
        client.send(
            frame(READ_EEPROM, 0x00F0, std::vector<std::uint8_t>(16, 0xFF), initialLinkKey));
        const auto reply = unscramble(client.receive(18), initialLinkKey);
        ASSERT_EQ(reply.size(), 18u);
        EXPECT_EQ(std::string(reply.begin() + 1, reply.begin() + 17), "DEMO 1.00       ");

        client.send(
            frame(WRITE_EEPROM, 0x0020, std::vector<std::uint8_t>(16, 0x5A), initialLinkKey));
        EXPECT_EQ(client.receive(1), std::vector<std::uint8_t>{initialLinkKey});
    }
    const std::string saved = fileBytes(eeprom);
    ASSERT_EQ(saved.size(), 256u);
    EXPECT_EQ(static_cast<std::uint8_t>(saved[0x20]), 0x5A);
    EXPECT_EQ(saved.substr(0xF0, 9), "DEMO 1.00");
    EXPECT_NE(fileBytes(folder / "journal.jsonl").find("READ_EEPROM"), std::string::npos);
    fs::remove_all(folder);
}

TEST(SimProcess, LinksItselfIntoThePortMapAndRemovesTheLink) {
    const fs::path folder =
        fs::temp_directory_path() / ("canprog-map-" + std::to_string(::getpid()));
    ::setenv("CANPROG_PORTS", folder.c_str(), 1);
    {
        SimProcess sim({"--com", "3"});
        EXPECT_EQ(fs::read_symlink(folder / "COM3"), fs::path(sim.device()));
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "COM3")));
    ::unsetenv("CANPROG_PORTS");
    fs::remove_all(folder);
}

TEST(SimProcess, HelpDocumentsEveryOption) {
    const std::string command = CANPROG_SIM_PROGRAM " --help";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string help;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) help += buffer;
    EXPECT_EQ(::pclose(pipe), 0);
    for (const char* option :
         {"--com", "--flash", "--eeprom", "--save-flash", "--save-eeprom", "--line-rate",
          "--write-time-ms", "--journal", "--no-answer", "--answer-after", "--stray-byte",
          "--reject-flash", "--reject-eeprom", "--silent-after", "--cut-reply", "--hangup-after",
          "--bad-reply-check", "--store-eeprom-wrong", "--device-id"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace canprog
