#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "serial/PortMap.h"
#include "serial/SlPort.h"
#include "serial/SlSelCom.h"
#include "serial/posix/PortProbe.h"
#include "support/PtyPair.h"

namespace canprog::serial {
namespace {

namespace fs = std::filesystem;
using testing::PtyPair;

// A port map of the test's own: every COMn names nothing unless the test links it.
class PortListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("canprog-list-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        for (int n = 1; n <= 51; ++n) link(n, "/nonexistent/canprog-port");
        ::setenv("CANPROG_PORTS", folder.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("CANPROG_PORTS");
        fs::remove_all(folder);
    }
    void link(int number, const std::string& device) {
        const fs::path at = folder / ("COM" + std::to_string(number));
        fs::remove(at);
        fs::create_symlink(device, at);
    }
    fs::path folder;
};

TEST_F(PortListTest, PresentPortsInNumericOrderAndNothingAboveFifty) {
    PtyPair nine, ten, two, high;
    link(10, ten.path());
    link(9, nine.path());
    link(2, two.path());
    link(51, high.path());
    std::vector<int> numbers;
    for (const auto& port : presentPorts()) numbers.push_back(port.number);
    EXPECT_EQ(numbers, (std::vector<int>{2, 9, 10}));
}

TEST_F(PortListTest, ABusyPortIsListed) {
    PtyPair pty;
    link(4, pty.path());
    TSlioComPort holder;
    holder.SetComNumber(4);
    holder.SetOpen(true);
    const auto ports = presentPorts();
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].number, 4);
    EXPECT_TRUE(holder.Open());  // the probe left the holder's port alone
    holder.WriteByte(0x33);
    EXPECT_EQ(pty.receive(1), std::vector<std::uint8_t>{0x33});
}

TEST(PortItems, NamesAndNumbers) {
    EXPECT_EQ(portItem(12), "COM12");
    EXPECT_EQ(portNumberFromItem("COM12"), 12);
    EXPECT_EQ(portNumberFromItem("COM1"), 1);
    EXPECT_EQ(portNumberFromItem("COM"), std::nullopt);
    EXPECT_EQ(portNumberFromItem("COMx"), std::nullopt);
    EXPECT_EQ(portNumberFromItem(""), std::nullopt);
    EXPECT_EQ(usbDescription("/nonexistent"), "");
}

}  // namespace
}  // namespace canprog::serial
