#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "SlDispatch.h"

namespace canprog::serial {

// The dispatcher for POSIX serial devices: the device by path, termios in raw mode, the modem
// lines by ioctl, and three worker threads beside the dispatcher thread:
//   read thread   - waits in poll(2) for received bytes and queues them in 256-byte blocks;
//   write thread  - sends what the transmit ring holds, and drops it on a transmit purge;
//   status thread - watches the modem lines.
// A hang-up (POLLHUP, POLLERR, a zero-byte read after poll, EIO) ends every thread with the
// read or write failure code; no thread ever spins.
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
    void stopPlatformThreads() override;
    void signalOutputReady() override;
    void abortTransmit() override;
    bool drainTransmit() override;

  private:
    void readThreadMain();
    void writeThreadMain();
    void statusThreadMain();
    bool startThread(std::thread& thread, void (TSlioPosixDispatcher::*body)());
    // Writes a whole block; false when a purge dropped it or the device failed.
    bool writeAll(const std::vector<std::uint8_t>& block, int& failure);
    void acknowledge();

    int fd_ = -1;
    bool locked_ = false;
    DeviceSettings cached_;

    WakeSignal readWake_;
    WakeSignal writeWake_;
    std::thread readThread_;
    std::thread writeThread_;
    std::thread statusThread_;

    // Signals between the component's thread and the write and status threads.
    std::mutex signalLock_;
    std::condition_variable signalled_;
    bool outputReady_ = false;
    bool transmitPurge_ = false;
    bool acknowledged_ = false;
    bool threadAcknowledged_ = false;
    std::atomic<bool> transmitting_{false};  // the write thread holds a block it is sending
};

// The layer's result code for a failed open(2), flock(2) or first tcgetattr(3) on a device.
int openResultForErrno(int error);

}  // namespace canprog::serial
