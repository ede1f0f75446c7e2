#pragma once

#include <termios.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "SystemCalls.h"
#include "serial/SlDispatch.h"

namespace canprog::serial {

// The dispatcher for POSIX serial devices: the device by path, termios in raw mode, the modem
// lines by ioctl, and three worker threads beside the dispatcher thread:
//   read thread   - waits in poll(2) for received bytes and queues them in 256-byte blocks;
//   write thread  - sends what the transmit ring holds, and drops it on a transmit purge;
//   status thread - watches the modem lines.
// A hang-up (POLLHUP, POLLERR, a zero-byte read after poll, EIO) ends every thread with the
// read or write failure code; no thread ever spins.
//
// Exclusive use is an advisory lock (flock), which dies with the process that holds it; the
// device's settings found at open are put back at close.
class TSlioPosixDispatcher : public TSlioBaseDispatcher {
  public:
    explicit TSlioPosixDispatcher(SystemCalls& calls = systemCalls());
    ~TSlioPosixDispatcher() override;

    int DeviceFd() const { return fd_; }

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
    void pause(std::chrono::microseconds duration) override { calls_.sleep(duration); }

  private:
    int readThreadMain();
    int writeThreadMain();
    int statusThreadMain();
    // Reads what the device holds into blocks for the input queue; the read failure code when
    // the device is gone, 0 otherwise.
    int readAvailable();
    // Writes a whole block; false when a purge dropped it or the device failed.
    bool writeAll(const std::vector<std::uint8_t>& block, int& failure);
    void acknowledgePurge();

    SystemCalls& calls_;
    int fd_ = -1;
    bool locked_ = false;
    std::optional<termios> settingsAtOpen_;
    std::optional<int> serialFlagsAtOpen_;  // the driver's serial flags as found
    DeviceSettings cached_;

    WakeSignal readWake_;
    WakeSignal writeWake_;

    // Signals between the component's thread and the write and status threads.
    std::mutex signalLock_;
    std::condition_variable signalled_;
    bool outputReady_ = false;
    bool transmitPurge_ = false;
    bool acknowledged_ = false;
};

}  // namespace canprog::serial
