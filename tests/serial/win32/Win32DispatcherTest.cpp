#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <map>
#include <mutex>
#include <vector>

#include "serial/PortMap.h"
#include "serial/SlExcept.h"
#include "serial/SlPort.h"
#include "serial/win32/SlWin32.h"
#include "support/Eventually.h"
#include "support/win32/LastErrors.h"
#include "support/win32/OverlappedResults.h"

namespace canprog::serial {
namespace {

using testing::eventually;

// A COM port played behind the Win32 seam: what the module sends waits to be read, what the
// tool writes is kept, a comm-event wait completes when a byte comes, and the adapter can be
// pulled. Control-line escapes fail as they do under Wine on a pseudo-terminal.
class FakeComPort : public Win32Calls {
  public:
    HANDLE CreateFileA(const char*, DWORD, DWORD, DWORD, DWORD) override {
        if (openError != 0) return fail(openError), INVALID_HANDLE_VALUE;
        return kHandle;
    }
    BOOL CloseHandle(HANDLE) override { return TRUE; }
    BOOL SetupComm(HANDLE, DWORD, DWORD) override { return TRUE; }
    BOOL GetCommState(HANDLE, DCB* settings) override {
        const std::lock_guard guard(lock_);
        *settings = dcb;
        return TRUE;
    }
    BOOL SetCommState(HANDLE, DCB* settings) override {
        const std::lock_guard guard(lock_);
        dcb = *settings;
        return TRUE;
    }
    BOOL SetCommTimeouts(HANDLE, COMMTIMEOUTS*) override { return TRUE; }
    BOOL SetCommMask(HANDLE, DWORD mask) override {
        const std::lock_guard guard(lock_);
        eventMask = mask;
        complete(TRUE, 0, 0);  // a new mask ends a pending wait
        return TRUE;
    }
    BOOL WaitCommEvent(HANDLE, DWORD* mask, OVERLAPPED* overlapped) override {
        const std::lock_guard guard(lock_);
        if (pulled) return fail(ERROR_DEVICE_REMOVED);
        if (!toTool_.empty()) {
            *mask = EV_RXCHAR;
            return TRUE;
        }
        pendingWait_ = overlapped;
        pendingMask_ = mask;
        return fail(ERROR_IO_PENDING);
    }
    BOOL ClearCommError(HANDLE, DWORD* errors, COMSTAT* status) override {
        *errors = 0;
        *status = COMSTAT{};
        return TRUE;
    }
    BOOL EscapeCommFunction(HANDLE, DWORD) override { return fail(ERROR_NOT_SUPPORTED); }
    BOOL PurgeComm(HANDLE, DWORD flags) override {
        const std::lock_guard guard(lock_);
        if (flags & PURGE_RXCLEAR) toTool_.clear();
        ++purges;
        return TRUE;
    }
    // A read waits in the driver until a byte comes, as the read time-outs ask.
    BOOL ReadFile(HANDLE, void* buffer, DWORD size, DWORD* got, OVERLAPPED* overlapped) override {
        const std::lock_guard guard(lock_);
        if (pulled) return fail(ERROR_DEVICE_REMOVED);
        if (toTool_.empty()) {
            pendingRead_ = {overlapped, static_cast<std::uint8_t*>(buffer), size};
            return fail(ERROR_IO_PENDING);
        }
        *got = take(static_cast<std::uint8_t*>(buffer), size);
        return TRUE;
    }
    BOOL WriteFile(HANDLE, const void* buffer, DWORD size, DWORD* sent, OVERLAPPED*) override {
        const std::lock_guard guard(lock_);
        if (pulled) return fail(ERROR_DEVICE_REMOVED);
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        fromTool_.insert(fromTool_.end(), bytes, bytes + size);
        *sent = size;
        return TRUE;
    }
    BOOL GetOverlappedResult(HANDLE, OVERLAPPED* overlapped, DWORD* count, BOOL) override {
        const std::lock_guard guard(lock_);
        DWORD error = 0;
        return results_.take(overlapped, count, error) ? TRUE : fail(error);
    }
    BOOL CancelIo(HANDLE) override {
        const std::lock_guard guard(lock_);
        complete(FALSE, ERROR_OPERATION_ABORTED, 0);
        completeRead(FALSE, ERROR_OPERATION_ABORTED);
        return TRUE;
    }
    BOOL CancelIoEx(HANDLE, OVERLAPPED* overlapped) override {
        const std::lock_guard guard(lock_);
        if (pendingRead_.overlapped == overlapped) completeRead(FALSE, ERROR_OPERATION_ABORTED);
        return TRUE;
    }
    DWORD GetLastError() override { return lastErrors_.get(); }

    // --- the test's side ---
    void moduleSends(const std::vector<std::uint8_t>& bytes) {
        const std::lock_guard guard(lock_);
        toTool_.insert(toTool_.end(), bytes.begin(), bytes.end());
        if (pendingMask_) *pendingMask_ = EV_RXCHAR;
        complete(TRUE, 0, 0);
        completeRead(TRUE, 0);
    }
    // Aborts the waiting read once, as a signal does under Wine; the device stays.
    void abortTheWaitingRead() {
        const std::lock_guard guard(lock_);
        completeRead(FALSE, ERROR_OPERATION_ABORTED);
    }
    bool readWaiting() {
        const std::lock_guard guard(lock_);
        return pendingRead_.overlapped != nullptr;
    }
    void pullTheAdapter() {
        const std::lock_guard guard(lock_);
        pulled = true;
        complete(FALSE, ERROR_OPERATION_ABORTED, 0);
        completeRead(FALSE, ERROR_OPERATION_ABORTED);
    }
    DWORD commMask() {
        const std::lock_guard guard(lock_);
        return eventMask;
    }
    std::vector<std::uint8_t> written() {
        const std::lock_guard guard(lock_);
        return fromTool_;
    }

    DWORD openError = 0;
    int purges = 0;
    bool pulled = false;
    DWORD eventMask = 0;
    DCB dcb = [] {
        DCB fresh{};
        fresh.DCBlength = sizeof fresh;
        fresh.BaudRate = 19200;
        fresh.ByteSize = 7;
        fresh.Parity = EVENPARITY;
        fresh.StopBits = TWOSTOPBITS;
        return fresh;
    }();

  private:
    struct PendingRead {
        OVERLAPPED* overlapped = nullptr;
        std::uint8_t* buffer = nullptr;
        DWORD size = 0;
    };
    static inline const HANDLE kHandle = reinterpret_cast<HANDLE>(0x4711);

    BOOL fail(DWORD error) {
        lastErrors_.set(error);
        return FALSE;
    }
    DWORD take(std::uint8_t* buffer, DWORD size) {
        DWORD n = 0;
        for (; n < size && !toTool_.empty(); ++n) {
            buffer[n] = toTool_.front();
            toTool_.pop_front();
        }
        return n;
    }
    // Completes the waiting read, if any: with what has come, or with an error.
    void completeRead(BOOL ok, DWORD error) {
        if (!pendingRead_.overlapped) return;
        const DWORD n = ok ? take(pendingRead_.buffer, pendingRead_.size) : 0;
        results_.complete(pendingRead_.overlapped, {ok, error, n});
        pendingRead_ = {};
    }
    // Completes the pending comm-event wait, if any.
    void complete(BOOL ok, DWORD error, DWORD count) {
        if (!pendingWait_) return;
        results_.complete(pendingWait_, {ok, error, count});
        pendingWait_ = nullptr;
        pendingMask_ = nullptr;
    }

    std::mutex lock_;
    std::deque<std::uint8_t> toTool_;
    std::vector<std::uint8_t> fromTool_;
    OVERLAPPED* pendingWait_ = nullptr;
    PendingRead pendingRead_;
    DWORD* pendingMask_ = nullptr;
    testing::OverlappedResults results_;
    testing::LastErrors lastErrors_;
};

class Win32DispatcherTest : public ::testing::Test {
  protected:
    void open() {
        port.SetDevicePath(portDevicePath(3));
        port.SetBaud(9600);
        port.SetOpen(true);
    }
    FakeComPort device;
    TSlioComPort port{[this] { return std::make_unique<TSlioWin32Dispatcher>(device); }};
};

TEST_F(Win32DispatcherTest, OpenProgramsTheLineAndCloseLeavesItAsItWas) {
    EXPECT_EQ(portDevicePath(3), "\\\\.\\COM3");
    EXPECT_EQ(portDevicePath(256), "\\\\.\\COM256");
    open();
    EXPECT_EQ(port.Dispatcher()->RunningThreads(), 4);
    EXPECT_EQ(device.dcb.BaudRate, 9600u);
    EXPECT_EQ(device.dcb.ByteSize, 8);
    EXPECT_EQ(device.dcb.Parity, NOPARITY);
    EXPECT_EQ(device.dcb.StopBits, ONESTOPBIT);
    EXPECT_TRUE(device.dcb.fBinary);
    // The status thread asks for its comm events as it starts, which may be after open returns.
    EXPECT_TRUE(eventually([&] { return device.commMask() == 0x1F9u; }));
    port.SetOpen(false);
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(device.dcb.BaudRate, 19200u);
    EXPECT_EQ(device.dcb.ByteSize, 7);
}

TEST_F(Win32DispatcherTest, BytesGoBothWaysAndAPurgeDropsWhatWaits) {
    open();
    port.WriteByte(0x0F);
    port.WriteByte(0xDE);
    EXPECT_TRUE(eventually([&] { return device.written().size() == 2; }));
    EXPECT_EQ(device.written(), (std::vector<std::uint8_t>{0x0F, 0xDE}));
    device.moduleSends({0xFC});
    ASSERT_TRUE(eventually([&] { return port.ByteAvailable(); }));
    EXPECT_EQ(port.ReadByte(), 0xFC);
    device.moduleSends({1, 2, 3});
    ASSERT_TRUE(eventually([&] { return port.ByteAvailable(); }));
    port.DiscardInput();
    EXPECT_FALSE(port.ByteAvailable());
    port.DiscardOutput();
}

TEST_F(Win32DispatcherTest, ControlLinesThatTheDeviceDoesNotHaveReportSuccess) {
    open();
    port.SetRTS(false);
    port.SetRTS(true);
    port.SetDTR(false);
    EXPECT_FALSE(port.DTR());
}

TEST_F(Win32DispatcherTest, APulledAdapterEndsTheThreadsWithTheReadCode) {
    open();
    device.pullTheAdapter();
    ASSERT_TRUE(eventually([&] { return port.Dispatcher()->RunningThreads() == 0; }));
    EXPECT_EQ(port.DeviceFailure(), -161);
    try {
        port.ByteAvailable();
        FAIL() << "no exception";
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), "Device read error");
    }
    port.SetOpen(false);
    EXPECT_FALSE(port.Open());
}

TEST_F(Win32DispatcherTest, AReadAbortedOnceIsTriedAgainAndTheDeviceStays) {
    open();
    ASSERT_TRUE(eventually([&] { return device.readWaiting(); }));
    device.abortTheWaitingRead();
    ASSERT_TRUE(eventually([&] { return device.readWaiting(); }));
    EXPECT_EQ(port.DeviceFailure(), 0);
    device.moduleSends({0x4B});
    ASSERT_TRUE(eventually([&] { return port.ByteAvailable(); }));
    EXPECT_EQ(port.ReadByte(), 0x4B);
}

TEST_F(Win32DispatcherTest, APortThatIsMissingOrHeldFailsWithItsOwnError) {
    device.openError = ERROR_FILE_NOT_FOUND;
    EXPECT_THROW(open(), EBadId);
    EXPECT_FALSE(port.Open());
    // Another program holds the port: Windows answers access denied, which is "in use".
    device.openError = ERROR_ACCESS_DENIED;
    try {
        open();
        FAIL() << "no exception";
    } catch (const EAlreadyOpen& e) {
        EXPECT_STREQ(e.what(), "ie_Open - device already open");
    }
    EXPECT_EQ(port.Phase(), TPortPhase::ppClosed);
}

}  // namespace
}  // namespace canprog::serial
