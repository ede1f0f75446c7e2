#include <gtest/gtest.h>

#include <linux/serial.h>
#include <sys/ioctl.h>

#include <poll.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "SeamCalls.h"
#include "serial/SlExcept.h"
#include "serial/SlPort.h"
#include "serial/SlStrMap.h"
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
    EXPECT_EQ(port.Dispatcher()->FailureCode(), toCode(SlioError::DeviceReadError));
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
    EXPECT_EQ(port.Dispatcher()->FailureCode(), toCode(SlioError::DeviceWriteError));
    try {
        port.WriteByte(0x0F);
        FAIL() << "no exception";
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), "Device write error");
    }
}

// The low-latency request outlives the descriptor: the port is left with the flags it had.
TEST(SerialFlagsTest, ThePortsSerialFlagsAreLeftAsTheyWereFound) {
    PtyPair pty;
    SeamCalls calls;
    calls.uartFlags = 0x10000040;
    TSlioComPort port{dispatcherOver(calls)};
    port.SetDevicePath(pty.path());
    port.SetOpen(true);
    EXPECT_EQ(*calls.uartFlags, 0x10000040 | ASYNC_LOW_LATENCY);
    port.SetOpen(false);
    EXPECT_EQ(*calls.uartFlags, 0x10000040);
    // A driver that has the flag already is not asked to change, and keeps it.
    calls.uartFlags = 0x10002040;
    port.SetOpen(true);
    port.SetOpen(false);
    EXPECT_EQ(*calls.uartFlags, 0x10002040);
}

TEST_F(SystemCallSeamTest, ModemLinesWithoutAModemReportSuccess) {
    const int before = calls.modemLineCalls;
    port.SetRTS(false);
    port.SetDTR(false);
    EXPECT_FALSE(port.RTS());
    EXPECT_FALSE(port.DTR());
    EXPECT_EQ(calls.modemLineCalls, before + 2);
}

TEST_F(SystemCallSeamTest, NothingEscapesAWorkerThread) {
    // An allocation that fails ends the thread with the layer's own code; anything else that
    // is thrown ends it as a read failure. Either way the program goes on.
    struct Case {
        SeamCalls::Throw thrown;
        int code;
        const char* message;
    };
    for (const Case& c : {Case{SeamCalls::Throw::BadAlloc, toCode(SlioError::TapiNoMem),
                               "Insufficient memory to allocate I/O buffer."},
                          Case{SeamCalls::Throw::RuntimeError, toCode(SlioError::DeviceReadError),
                               "Device read error"}}) {
        if (!port.Open()) port.SetOpen(true);
        calls.throwOnRead = c.thrown;
        pty.send({0x4B});
        ASSERT_TRUE(eventually([&] { return port.Dispatcher()->RunningThreads() == 0; }));
        EXPECT_EQ(port.Dispatcher()->FailureCode(), c.code);
        EXPECT_EQ(port.DeviceFailure(), c.code);
        try {
            port.ByteAvailable();
            ADD_FAILURE() << "no exception";
        } catch (const std::exception& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        calls.throwOnRead = SeamCalls::Throw::Nothing;
        port.SetOpen(false);
        EXPECT_FALSE(port.Open());
    }
}

TEST_F(SystemCallSeamTest, ABlockReadBeforeAPurgeIsNeverDeliveredAfterIt) {
    // The read thread is held right after its read returned a byte, while this thread purges.
    std::mutex lock;
    std::condition_variable changed;
    bool readDone = false;
    bool purgeStarted = false;
    calls.setAfterRead([&] {
        std::unique_lock guard(lock);
        readDone = true;
        changed.notify_all();
        changed.wait_for(guard, std::chrono::seconds(2), [&] { return purgeStarted; });
        guard.unlock();
        // Long enough for a purge that does not wait for the read to finish first.
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    });
    pty.send({0x4B});
    {
        std::unique_lock guard(lock);
        ASSERT_TRUE(changed.wait_for(guard, std::chrono::seconds(2), [&] { return readDone; }));
        purgeStarted = true;
        changed.notify_all();
    }
    port.DiscardInput();
    calls.setAfterRead(nullptr);
    EXPECT_FALSE(port.ByteAvailable());
    // The read thread has long queued what it read; still nothing may come.
    EXPECT_FALSE(eventually([&] { return port.ByteAvailable(); }, std::chrono::milliseconds(200)));
    // A byte sent after the purge comes through.
    pty.send({0x55});
    ASSERT_TRUE(eventually([&] { return port.ByteAvailable(); }));
    EXPECT_EQ(port.ReadByte(), 0x55);
}

// A window pump that only counts its calls and sleeps on the handle it is given.
class CountingPump : public WaitPump {
  public:
    void pumpUntil(WaitHandle wake) override {
        ++calls;
        pollfd fd{static_cast<int>(wake.native()), POLLIN, 0};
        ::poll(&fd, 1, 100);
    }
    int calls = 0;
};

TEST_F(SystemCallSeamTest, CloseLetsTheWindowLiveWhileTheLastBytesWaitAndNeverPolls) {
    CountingPump pump;
    port.SetWaitPump(&pump);
    // Nobody reads the other end: the pseudo-terminal fills and bytes stay in the ring.
    for (int round = 0; round < 200 && port.Dispatcher()->OutBuffUsed() < 2000; ++round) {
        if (port.Dispatcher()->OutBuffUsed() < 3000) {
            for (int i = 0; i < 1000; ++i) port.WriteByte(0x55);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_GE(port.Dispatcher()->OutBuffUsed(), 2000u);
    const int sleepsBefore = calls.sleeps;
    port.SetOpen(false);
    EXPECT_FALSE(port.Open());
    EXPECT_GT(pump.calls, 3);               // the window lived through the bounded drain
    EXPECT_EQ(calls.sleeps, sleepsBefore);  // and nothing slept in a polling loop
}

TEST_F(SystemCallSeamTest, TheLastBytesHaveLeftAnAdaptersBufferBeforeTheClose) {
    calls.adapterBuffer = true;
    for (int i = 0; i < 200; ++i) port.WriteByte(0x55);
    port.SetOpen(false);
    EXPECT_EQ(calls.cutByTheClose(), 0);
}

TEST(SystemErrorText, IsTheSystemsOwnWords) {
    EXPECT_EQ(messageForCode(-(kSystemErrorBase + EIO)), "Input/output error");
    EXPECT_EQ(messageForCode(87), strerror(87));
}

}  // namespace
}  // namespace canprog::serial
