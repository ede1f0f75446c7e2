#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>

#include "serial/PortMap.h"
#include "serial/SlExcept.h"
#include "serial/SlPort.h"
#include "serial/posix/FileDescriptor.h"
#include "support/PtyPair.h"

namespace canprog::serial {
namespace {

using namespace std::chrono_literals;
using testing::eventually;
using testing::PtyPair;

class ComPortTest : public ::testing::Test {
  protected:
    void openOnPty() {
        port.SetDevicePath(pty.path());
        port.SetBaud(9600);
        port.SetOpen(true);
    }
    std::vector<std::uint8_t> readAvailable(std::size_t count) {
        std::vector<std::uint8_t> got;
        eventually([&] {
            while (got.size() < count && port.ByteAvailable()) got.push_back(port.ReadByte());
            return got.size() == count;
        });
        return got;
    }

    PtyPair pty;
    TSlioComPort port;
};

TEST_F(ComPortTest, DefaultsAndVersion) {
    EXPECT_EQ(port.Version(), "v4.07");
    port.SetVersion("v9");
    EXPECT_EQ(port.Version(), "v4.07");
    EXPECT_EQ(port.Baud(), 19200);
    EXPECT_EQ(port.ComNumber(), 0);
    EXPECT_TRUE(port.PromptForPort());
    EXPECT_TRUE(port.AutoOpen());
    EXPECT_TRUE(port.DTR());
    EXPECT_TRUE(port.RTS());
    EXPECT_EQ(port.InSize(), 4096);
    EXPECT_EQ(port.OutSize(), 4096);
    EXPECT_EQ(port.TraceName(), "SLIO.TRC");
    EXPECT_EQ(port.LogName(), "SLIO.LOG");
    EXPECT_TRUE(port.LogHex());
    EXPECT_EQ(port.TraceSize(), 10000);
    port.SetTraceSize(5000000);
    EXPECT_EQ(port.TraceSize(), 4000000);
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.Phase(), TPortPhase::ppClosed);
}

TEST_F(ComPortTest, OpenAndClose) {
    openOnPty();
    EXPECT_TRUE(port.Open());
    EXPECT_EQ(port.Phase(), TPortPhase::ppOpen);
    ASSERT_NE(port.Dispatcher(), nullptr);
    // Read, write and status threads, and the dispatcher thread.
    EXPECT_EQ(port.Dispatcher()->RunningThreads(), 4);
    port.SetOpen(true);  // already open: nothing
    port.SetOpen(false);
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.Phase(), TPortPhase::ppClosed);
    EXPECT_EQ(port.Dispatcher(), nullptr);
    openOnPty();  // and again
    EXPECT_TRUE(port.Open());
}

TEST_F(ComPortTest, BytesBothWays) {
    openOnPty();
    for (std::uint8_t b : {0x0F, 0xB7, 0x00, 0xFF}) port.WriteByte(b);
    EXPECT_EQ(pty.receive(4), (std::vector<std::uint8_t>{0x0F, 0xB7, 0x00, 0xFF}));
    pty.send({0xFC, 0x4B, 0x0A, 0x0D});
    EXPECT_EQ(readAvailable(4), (std::vector<std::uint8_t>{0xFC, 0x4B, 0x0A, 0x0D}));
    EXPECT_FALSE(port.ByteAvailable());
    EXPECT_THROW(port.ReadByte(), EBufferIsEmpty);
}

TEST_F(ComPortTest, ManyBytesArriveInOrder) {
    openOnPty();
    std::vector<std::uint8_t> bytes(20000);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i % 251);
    std::thread sender([&] { pty.send(bytes); });
    const auto got = readAvailable(bytes.size());
    sender.join();
    EXPECT_EQ(got, bytes);
}

TEST_F(ComPortTest, PurgesDropWhatWaits) {
    openOnPty();
    pty.send({1, 2, 3});
    ASSERT_TRUE(eventually([&] { return port.ByteAvailable(); }));
    port.DiscardInput();
    EXPECT_FALSE(port.ByteAvailable());
    port.DiscardOutput();
    port.WriteByte(0x42);
    EXPECT_EQ(pty.receive(1), std::vector<std::uint8_t>{0x42});
}

TEST_F(ComPortTest, BusyPortAndMissingDeviceFailWithThePortClosed) {
    openOnPty();
    TSlioComPort second;
    second.SetDevicePath(pty.path());
    EXPECT_THROW(second.SetOpen(true), EAlreadyOpen);
    EXPECT_FALSE(second.Open());
    EXPECT_EQ(second.Phase(), TPortPhase::ppClosed);

    TSlioComPort missing;
    missing.SetDevicePath("/dev/canprog-no-such-device");
    EXPECT_THROW(missing.SetOpen(true), EBadId);
    EXPECT_FALSE(missing.Open());
    EXPECT_EQ(missing.Phase(), TPortPhase::ppClosed);
    EXPECT_EQ(missing.Dispatcher(), nullptr);

    TSlioComPort notATerminal;
    notATerminal.SetDevicePath("/dev/null");
    EXPECT_THROW(notATerminal.SetOpen(true), EBadId);
}

TEST_F(ComPortTest, ExclusiveUseIsTheAdvisoryLockAlone) {
    openOnPty();
    // The terminal's own exclusive flag would outlive a killed process on a device whose other
    // end stays open, and lock every other user out; it is never set.
    const FileDescriptor other(::open(pty.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK));
    ASSERT_TRUE(other.valid());
    int exclusive = -1;
    ASSERT_EQ(::ioctl(other.get(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    // Another component still finds the port in use.
    TSlioComPort second;
    second.SetDevicePath(pty.path());
    EXPECT_THROW(second.SetOpen(true), EAlreadyOpen);
}

TEST_F(ComPortTest, TheDevicesOwnSettingsComeBackAtClose) {
    // A terminal as a user leaves it: line editing, echo, 38400 baud.
    const FileDescriptor device(::open(pty.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK));
    ASSERT_TRUE(device.valid());
    termios own{};
    ASSERT_EQ(::tcgetattr(device.get(), &own), 0);
    own.c_lflag |= ICANON | ECHO | ISIG;
    own.c_oflag |= OPOST;
    cfsetspeed(&own, B38400);
    ASSERT_EQ(::tcsetattr(device.get(), TCSANOW, &own), 0);

    openOnPty();
    termios whileOpen{};
    ASSERT_EQ(::tcgetattr(device.get(), &whileOpen), 0);
    EXPECT_EQ(whileOpen.c_lflag & (ICANON | ECHO), 0u);  // raw while the port is ours
    port.SetOpen(false);

    termios after{};
    ASSERT_EQ(::tcgetattr(device.get(), &after), 0);
    EXPECT_EQ(after.c_lflag, own.c_lflag);
    EXPECT_EQ(after.c_iflag, own.c_iflag);
    EXPECT_EQ(after.c_oflag, own.c_oflag);
    EXPECT_EQ(after.c_cflag, own.c_cflag);
    EXPECT_EQ(cfgetospeed(&after), static_cast<speed_t>(B38400));
}

TEST_F(ComPortTest, NoPortNumberWithoutADialogFails) {
    EXPECT_THROW(port.SetOpen(true), ENoPortSelected);
    port.SetPromptForPort(false);
    EXPECT_THROW(port.SetOpen(true), ENoPortSelected);
    port.SetPromptForPort(true);
    port.SetPortPrompt([] { return std::nullopt; });
    EXPECT_THROW(port.SetOpen(true), ENoPortSelected);
    EXPECT_FALSE(port.Open());
}

TEST_F(ComPortTest, OtherDeviceLayerIsRefused) {
    port.SetDevicePath(pty.path());
    port.SetDeviceLayer(TDeviceLayer::dlWinsock);
    EXPECT_THROW(port.SetOpen(true), ENullApi);
}

TEST_F(ComPortTest, DataOperationOnAClosedPortOpensItOrFails) {
    port.SetDevicePath(pty.path());
    EXPECT_FALSE(port.ByteAvailable());
    EXPECT_TRUE(port.Open());
    port.SetOpen(false);
    port.SetAutoOpen(false);
    EXPECT_THROW(port.WriteByte(1), ECommNotOpen);
}

TEST_F(ComPortTest, BaudWhileClosedIsStoredForTheNextOpen) {
    port.SetDevicePath(pty.path());
    port.SetBaud(4800);
    openOnPty();
    EXPECT_EQ(port.Dispatcher()->CurrentSettings().baud, 9600);
    port.SetBaud(19200);
    EXPECT_EQ(port.Dispatcher()->CurrentSettings().baud, 19200);
    EXPECT_THROW(port.SetBaud(12345), EBaudRate);
}

TEST_F(ComPortTest, FlowControlLevelsDefaultFromTheQueueSize) {
    port.SetHWFlowOptions(hwfRequireCTS);
    EXPECT_EQ(port.BufferFull(), 3686);
    EXPECT_EQ(port.BufferResume(), 409);
    TSlioComPort soft;
    soft.SetSWFlowOptions(TSWFlowOptions::swfBoth);
    EXPECT_EQ(soft.BufferFull(), 3072);
    EXPECT_EQ(soft.BufferResume(), 1024);
}

TEST_F(ComPortTest, RtsOnAPseudoTerminalReportsSuccess) {
    openOnPty();
    port.SetRTS(false);
    EXPECT_FALSE(port.RTS());
    port.SetRTS(true);
    EXPECT_TRUE(port.RTS());
}

TEST_F(ComPortTest, ComNumberChangedWhileOpenReopensOnTheNewPort) {
    PtyPair other;
    const auto folder =
        std::filesystem::temp_directory_path() / ("canprog-ports-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::create_symlink(pty.path(), folder / "COM1");
    std::filesystem::create_symlink(other.path(), folder / "COM2");
    ::setenv("CANPROG_PORTS", folder.c_str(), 1);

    EXPECT_EQ(portDevicePath(1), (folder / "COM1").string());
    port.SetComNumber(1);
    port.SetOpen(true);
    port.WriteByte(0x11);
    EXPECT_EQ(pty.receive(1), std::vector<std::uint8_t>{0x11});
    port.SetComNumber(2);
    EXPECT_TRUE(port.Open());
    port.WriteByte(0x22);
    EXPECT_EQ(other.receive(1), std::vector<std::uint8_t>{0x22});
    EXPECT_TRUE(pty.receive(1, 100ms).empty());
    EXPECT_THROW(port.SetComNumber(13), EBadId);  // no link and no device: the port is closed
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.ComNumber(), 13);
    ::unsetenv("CANPROG_PORTS");
    std::filesystem::remove_all(folder);
}

TEST(PortMap, FixedTableWithoutLinks) {
    ::setenv("CANPROG_PORTS", "/nonexistent-canprog-ports", 1);
    EXPECT_EQ(portDevicePath(1), "/dev/ttyS0");
    EXPECT_EQ(portDevicePath(4), "/dev/ttyS3");
    EXPECT_EQ(portDevicePath(5), "/dev/ttyUSB0");
    EXPECT_EQ(portDevicePath(9), "/dev/ttyACM0");
    EXPECT_EQ(portDevicePath(12), "/dev/ttyACM3");
    EXPECT_EQ(portDevicePath(13), "");
    EXPECT_EQ(portDevicePath(51), "");
    EXPECT_EQ(portDevicePath(0), "");
    ::unsetenv("CANPROG_PORTS");
}

TEST_F(ComPortTest, MasterClosedMidTransferEndsTheThreadsAndFailsTheCaller) {
    openOnPty();
    pty.send({1, 2, 3});
    ASSERT_TRUE(eventually([&] { return port.ByteAvailable(); }));
    pty.closeMaster();
    ASSERT_TRUE(eventually([&] { return port.Dispatcher()->RunningThreads() == 0; }));
    EXPECT_EQ(port.Dispatcher()->FailureCode(), -161);
    try {
        port.WriteByte(0x55);
        FAIL() << "no exception";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 161);
    }
    // Every worker has ended, so none can spin; closing the dead port still works.
    port.SetOpen(false);
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.Dispatcher(), nullptr);
}

TEST_F(ComPortTest, CloseWithAWritePendingReturnsPromptly) {
    openOnPty();
    // Nobody reads the master: the pseudo-terminal's buffer fills and the write waits.
    for (int i = 0; i < 4000; ++i) port.WriteByte(static_cast<std::uint8_t>(i));
    std::this_thread::sleep_for(50ms);
    for (int i = 0; i < 4000; ++i) port.WriteByte(static_cast<std::uint8_t>(i));
    port.SetOpen(false);  // a hang here fails the suite's time limit
    EXPECT_FALSE(port.Open());
}

}  // namespace
}  // namespace canprog::serial
