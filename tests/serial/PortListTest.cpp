#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "serial/ConnectionFacts.h"
#include "serial/PortMap.h"
#include "serial/SlExcept.h"
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
    // Character devices that are no port: the null device, the caller's terminal, the
    // pseudo-terminal multiplexer.
    link(13, "/dev/null");
    link(14, "/dev/tty");
    link(15, "/dev/ptmx");
    std::vector<int> numbers;
    for (const auto& port : presentPorts()) numbers.push_back(port.number);
    EXPECT_EQ(numbers, (std::vector<int>{2, 9, 10}));
    // Nor is one opened as a port.
    TSlioComPort port;
    port.SetComNumber(13);
    EXPECT_THROW(port.SetOpen(true), EBadId);
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

// A machine described through the probe's seam: which devices are character devices, what
// sysfs says of each terminal.
TEST_F(PortListTest, OnlyDevicesWithAPortBehindThemAreListedAndNotTheConsole) {
    const std::map<std::string, std::string> terminals = {
        {"/fake/ttyS0", "ttyS0"},     // a UART, the system console
        {"/fake/ttyS1", "ttyS1"},     // no UART at that address
        {"/fake/ttyS2", "ttyS2"},     // a UART
        {"/fake/ttyUSB0", "ttyUSB0"}  // a USB adapter
    };
    const std::map<std::pair<std::string, std::string>, std::string> sysfs = {
        {{"ttyS0", "type"}, "4"},
        {{"ttyS1", "type"}, "0"},
        {{"ttyS2", "type"}, "4"},
        {{"console", "active"}, "tty0 ttyS0"},
    };
    PortProbeSystem machine{
        [&](const std::string& link) -> std::optional<std::string> {
            std::error_code error;
            const std::string device = fs::read_symlink(link, error).string();
            const auto found = terminals.find(device);
            if (found == terminals.end()) return std::nullopt;
            return found->second;
        },
        [&](const std::string& tty, const std::string& attribute) -> std::optional<std::string> {
            const auto found = sysfs.find({tty, attribute});
            if (found == sysfs.end()) return std::nullopt;
            return found->second;
        },
        [](const std::string& link) { return fs::read_symlink(link) != "/fake/ttyS2"; },
        [](const std::string& link) {
            return fs::read_symlink(link) == "/fake/ttyUSB0" ? std::string("FTDI FT232R USB UART")
                                                             : std::string();
        },
        [](const std::string&) { return std::string(); },  // no lasting names here
    };
    link(1, "/fake/ttyS0");
    link(2, "/fake/ttyS1");
    link(3, "/fake/ttyS2");
    link(7, "/fake/ttyUSB0");
    link(8, "/fake/not-a-device");
    const auto ports = presentPorts(machine, kHighestPortNumber);
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].number, 3);
    EXPECT_TRUE(ports[0].busy);  // not permitted
    EXPECT_EQ(ports[1].number, 7);
    EXPECT_EQ(ports[1].description, "FTDI FT232R USB UART");
}

TEST(PortItems, EntriesNameTheirPortAndWhatIsThere) {
    EXPECT_EQ(portEntry({5, "/dev/ttyUSB0", false, "FTDI FT232R USB UART", ""}),
              "COM5 \u2014 FTDI FT232R USB UART");
    EXPECT_EQ(portEntry({1, "/dev/ttyS0", false, "", ""}), "COM1");
    EXPECT_EQ(portNumberFromEntry("COM17 \u2014 USB-SERIAL CH340"), 17);
    EXPECT_EQ(portNumberFromEntry("COM5  /dev/ttyUSB0  (in use or not permitted)"), 5);
    EXPECT_EQ(portNumberFromEntry("com3"), 3);
    EXPECT_EQ(portNumberFromEntry("12"), 12);
    EXPECT_EQ(portNumberFromEntry("COM"), std::nullopt);
    EXPECT_EQ(portNumberFromEntry("COM5x"), std::nullopt);
    EXPECT_EQ(portNumberFromEntry(""), std::nullopt);
    EXPECT_EQ(portNumberFromEntry("COM0"), std::nullopt);
}

TEST_F(PortListTest, AUsbAdapterIsNamedByItsLinkInTheStableFolder) {
    PtyPair adapter, other;
    const fs::path byId = folder / "by-id";
    fs::create_directories(byId);
    fs::create_symlink(other.path(), byId / "usb-Other_Adapter-if00-port0");
    fs::create_symlink(adapter.path(), byId / "usb-FTDI_FT232R_USB_UART_A12345-if00-port0");
    link(5, adapter.path());
    EXPECT_EQ(stableNameIn(byId.string(), (folder / "COM5").string()),
              (byId / "usb-FTDI_FT232R_USB_UART_A12345-if00-port0").string());
    EXPECT_EQ(stableNameIn(byId.string(), "/nonexistent"), "");
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

namespace canprog::serial {
namespace {

// The connection check's lookup on a recorded machine: a process table where minicom holds the
// port and brltty runs, and sysfs with an FTDI adapter behind the port; the device itself is a
// pseudo-terminal of the test's own. A pseudo-terminal's other end (the test, holding its
// master side too) is no program in the way.
TEST(ConnectionLookupTest, TheRecordedProcessTableAndSysfsGiveTheFacts) {
    PtyPair pty;
    const fs::path root =
        fs::temp_directory_path() / ("canprog-machine-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const std::string tty = fs::path(pty.path()).filename().string();
    const auto write = [](const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text << '\n';
    };
    write(root / "proc/4242/comm", "minicom");
    fs::create_directories(root / "proc/4242/fd");
    fs::create_symlink(pty.path(), root / "proc/4242/fd/3");
    write(root / "proc/77/comm", "brltty");
    write(root / "proc/self-not-a-pid/comm", "ignored");
    const fs::path usb = root / "sys/devices/usb1/1-1";
    write(usb / "idVendor", "0403");
    write(usb / "idProduct", "6001");
    write(usb / "manufacturer", "FTDI");
    write(usb / "product", "FT232R USB UART");
    write(usb / "1-1:1.0/ttyUSB0/latency_timer", "16");
    fs::create_directories(root / "sys/bus/usb-serial/drivers/ftdi_sio");
    fs::create_symlink(root / "sys/bus/usb-serial/drivers/ftdi_sio",
                       usb / "1-1:1.0/ttyUSB0/driver");
    fs::create_directories(root / "sys/class/tty" / tty);
    fs::create_symlink(usb / "1-1:1.0/ttyUSB0", root / "sys/class/tty" / tty / "device");
    fs::create_directories(root / "by-id");
    fs::create_symlink(pty.path(), root / "by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");

    const ConnectionFacts facts = lookUpConnection(
        0, pty.path(),
        {(root / "proc").string(), (root / "sys").string(), (root / "by-id").string()});
    EXPECT_TRUE(facts.exists);
    EXPECT_TRUE(facts.permitted);
    ASSERT_EQ(facts.holders.size(), 1u);
    EXPECT_EQ(facts.holders[0].pid, 4242);
    EXPECT_EQ(facts.holders[0].program, "minicom");
    EXPECT_EQ(facts.watchers, std::vector<std::string>{"brltty"});
    EXPECT_EQ(facts.vendorId, "0403");
    EXPECT_EQ(facts.productId, "6001");
    EXPECT_EQ(facts.description, "FTDI FT232R USB UART");
    EXPECT_EQ(facts.driver, "ftdi_sio");
    EXPECT_EQ(facts.latencyTimer_ms, 16);
    EXPECT_FALSE(facts.builtInUart);
    EXPECT_EQ(fs::path(facts.stableName).filename(),
              "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");

    // The real process table: this test holds the master side, so it is the other end.
    const ConnectionFacts real = lookUpConnection(0, pty.path());
    EXPECT_TRUE(real.holders.empty());
    fs::remove_all(root);
}

}  // namespace
}  // namespace canprog::serial
