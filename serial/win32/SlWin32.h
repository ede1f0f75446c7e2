#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "Win32Calls.h"
#include "Win32Event.h"
#include "serial/SlDispatch.h"

namespace canprog::serial {

// The dispatcher for Windows COM ports: the device "\\.\COMn" opened for overlapped I/O with
// no sharing, its settings through a DCB, and three worker threads beside the dispatcher
// thread:
//   status thread - waits for comm events (WaitCommEvent): a received character sets the
//                   receive event, line and modem events are queued as status items; a
//                   device without comm events ends it quietly;
//   read thread   - on the receive event (and at least every 50 ms) reads what the driver
//                   holds, in 256-byte blocks, with read time-outs that return at once;
//   write thread  - writes what the transmit ring holds with overlapped writes, and drops the
//                   block it is sending on a transmit purge.
// A failing read or event wait ends every thread with -161, a failing write with -160; an
// operation that a purge or the close aborted is no failure. No thread spins: every wait has
// its event and a bounded time-out, also the wait for a cancelled request: a driver that never
// completes one loses the port (its request is kept, never freed under the driver), and the
// window stays usable.
class TSlioWin32Dispatcher : public TSlioBaseDispatcher {
  public:
    explicit TSlioWin32Dispatcher(Win32Calls& calls = win32Calls());
    ~TSlioWin32Dispatcher() override;

  protected:
    int openDevice(const std::string& name) override;
    void closeDevice() override;
    int sizeQueues(int inSize, int outSize) override;
    int readDeviceSettings(DeviceSettings& settings) override;
    int writeDeviceSettings(const DeviceSettings& settings) override;
    int escape(LineEscape function) override;
    int purgeDevice(bool receiveSide) override;
    int startPlatformThreads() override;
    void wakePlatformThreads() override;
    void signalOutputReady() override;
    void abortTransmit() override;
    int deviceOutputQueued() override;
    void pause(std::chrono::microseconds duration) override;
    std::chrono::steady_clock::time_point now() const override;

  private:
    // One overlapped request with the buffer the driver reads into or writes from (and the
    // events a comm-event wait reports): alive until the driver has completed it.
    struct Request {
        OVERLAPPED overlapped{};
        Win32Event done{Win32Event::Reset::Manual};
        std::vector<std::uint8_t> buffer;
        DWORD events = 0;
        Request() { overlapped.hEvent = done.get(); }
    };
    int statusThreadMain();
    int readThreadMain();
    int writeThreadMain();
    // Reads what the driver holds into blocks for the input queue; the read failure code when
    // the device failed, 0 otherwise.
    int readAvailable();
    // Waits for an overlapped request to complete, waking for `alsoWake` and the stop event
    // every 100 ms; the bytes it moved. Stopped: the request was cancelled for the stop or
    // `alsoWake` and has ended; Lost: it was cancelled and the driver never ended it, so it is
    // kept for the rest of the program and the port is lost.
    enum class Completion { Done, Aborted, Failed, Stopped, Lost };
    Completion awaitOverlapped(std::unique_ptr<Request>& request, HANDLE alsoWake, DWORD& count);
    // Cancels a request and waits a bounded time for the driver to end it; false when it did
    // not, in which case the request is kept (see Completion::Lost).
    bool cancelRequest(std::unique_ptr<Request>& request);
    // Writes a whole block; false when a purge dropped it or the device failed.
    bool writeAll(const std::vector<std::uint8_t>& block, int& failure);
    void acknowledgeTransmitPurge();

    Win32Calls& calls_;
    HANDLE device_ = INVALID_HANDLE_VALUE;
    std::optional<DCB> settingsAtOpen_;
    DWORD inQueueSize_ = 4096;
    bool timerRaised_ = false;
    // False once the status thread found that the device has no comm events: the read thread
    // then looks for received bytes at the pace of the wire.
    std::atomic<bool> commEvents_{true};
    std::mutex abandonedLock_;
    std::vector<std::unique_ptr<Request>> abandoned_;  // cancelled, never completed

    Win32Event stop_{Win32Event::Reset::Manual};
    Win32Event received_{Win32Event::Reset::Automatic};
    Request* pendingRead_ = nullptr;  // the read waiting in the driver; under the input lock
    int abortedReads_ = 0;            // read thread only
    Win32Event outputReady_{Win32Event::Reset::Automatic};
    Win32Event transmitPurge_{Win32Event::Reset::Automatic};
    Win32Event purgeAcknowledged_{Win32Event::Reset::Automatic};
};

}  // namespace canprog::serial
