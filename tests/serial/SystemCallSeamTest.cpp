#include <gtest/gtest.h>

#include <sys/ioctl.h>

#include <atomic>

#include "SeamCalls.h"
#include "serial/SlExcept.h"
#include "serial/SlPort.h"
#include "support/PtyPair.h"

namespace canprog::serial {
namespace {

using testing::dispatcherOver;
using testing::eventually;
using testing::PtyPair;
using testing::SeamCalls;

class SystemCallSeamTest : public ::testing::Test {
  protected:
    void SetUp() override {
        port.SetDevicePath(pty.path());
        port.SetBaud(9600);
        port.SetOpen(true);
    }
    PtyPair pty;
    SeamCalls calls;
    TSlioComPort port{dispatcherOver(calls)};
};

TEST_F(SystemCallSeamTest, ReadFailureEndsTheThreadsWithTheReadCode) {
    calls.failReads = true;
    pty.send({0x4B});
    ASSERT_TRUE(eventually([&] { return port.Dispatcher()->RunningThreads() == 0; }));
    EXPECT_EQ(port.Dispatcher()->FailureCode(), -161);
    EXPECT_THROW(port.ByteAvailable(), EInOutError);
    port.SetOpen(false);
    EXPECT_FALSE(port.Open());
}

TEST_F(SystemCallSeamTest, WriteThatWouldBlockIsRetried) {
    calls.busyWrites = 3;
    port.WriteByte(0x0F);
    port.WriteByte(0x69);
    EXPECT_EQ(pty.receive(2), (std::vector<std::uint8_t>{0x0F, 0x69}));
    EXPECT_EQ(port.Dispatcher()->FailureCode(), 0);
}

TEST_F(SystemCallSeamTest, WriteFailureEndsTheThreadsWithTheWriteCode) {
    calls.failWrites = true;
    port.WriteByte(0x0F);
    ASSERT_TRUE(eventually([&] { return port.Dispatcher()->FailureCode() != 0; }));
    EXPECT_EQ(port.Dispatcher()->FailureCode(), -160);
    try {
        port.WriteByte(0x0F);
        FAIL() << "no exception";
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), "Device write error");
    }
}

TEST_F(SystemCallSeamTest, ModemLinesWithoutAModemReportSuccess) {
    const int before = calls.modemLineCalls;
    port.SetRTS(false);
    port.SetDTR(false);
    EXPECT_FALSE(port.RTS());
    EXPECT_FALSE(port.DTR());
    EXPECT_EQ(calls.modemLineCalls, before + 2);
}

}  // namespace
}  // namespace canprog::serial
