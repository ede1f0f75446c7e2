#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ByteRing.h"
#include "DeviceSettings.h"
#include "SlErrors.h"
#include "SlQueue.h"
#include "SlTrace.h"
#include "WaitPump.h"
#include "WakeSignal.h"

namespace canprog::serial {

// Escape functions of the control lines.
enum class LineEscape { SetRts = 3, ClearRts = 4, SetDtr = 5, ClearDtr = 6 };

// Bits of the line-options byte that the component passes at open.
inline constexpr std::uint8_t kOptionDtr = 0x01;
inline constexpr std::uint8_t kOptionRts = 0x02;
inline constexpr std::uint8_t kOptionDtrFlow = 0x10;
inline constexpr std::uint8_t kOptionRtsFlow = 0x20;

// Result codes with which a worker thread ends.
inline constexpr int kWriteFailure = toCode(SlioError::DeviceWriteError);
inline constexpr int kReadFailure = toCode(SlioError::DeviceReadError);
inline constexpr int kNoBufferMemory = toCode(SlioError::TapiNoMem);

// The platform-independent part of the dispatcher: the receive and transmit rings with their
// locks, the input queue, line settings, purges, control lines, the worker threads' start and
// end, and the dispatcher thread that moves received bytes into the receive ring. A platform
// dispatcher adds the device calls and the bodies of the read, write and status threads.
//
// Locks: the input lock guards the receive ring and the purge count, the output lock the
// transmit ring, the status lock line state and settings. Where two are held, the input lock
// comes before the status lock; the output lock is released before the status lock is taken.
//
// Threads: every worker thread runs inside a boundary that catches what its body throws and
// ends the thread with a result code instead; a failure code stops the other threads and is
// kept for the component, which raises it on the next data operation.
class TSlioBaseDispatcher {
  public:
    static constexpr std::size_t kReceiveRingSize = 8192;

    TSlioBaseDispatcher();
    virtual ~TSlioBaseDispatcher();
    TSlioBaseDispatcher(const TSlioBaseDispatcher&) = delete;
    TSlioBaseDispatcher& operator=(const TSlioBaseDispatcher&) = delete;

    // The pump that keeps the window alive while open and close wait for the worker threads;
    // without one those waits sleep on their own.
    void SetWaitPump(WaitPump* pump) { waitPump_ = pump; }

    // Opens the device, programs the line and starts the worker threads; 0 or a negative code.
    int OpenPort(const std::string& deviceName, int baud, int parity, int dataBits, int stopBits,
                 int inSize, int outSize, std::uint8_t lineOptions);
    // Lets written bytes leave, stops the threads, purges, closes the device, frees the rings.
    void ShutPort();

    int SetLine(int baud, int parity, int dataBits, int stopBits);
    int SetupQueues(int inSize, int outSize);
    // 0 when set, 1 when the line is under flow control and left alone.
    int SetDtr(bool on);
    int SetRts(bool on);
    int SetHardwareFlow(int fullLevel, int resumeLevel, int optionMask);
    int SetSoftwareFlow(int fullLevel, int resumeLevel, int mode);
    int SoftwareFlowOff();
    int SetXonXoffChars(std::uint8_t xon, std::uint8_t xoff);
    void SetEventWord(bool on) { eventWord_ = on; }
    void SetTriggerLength(int length) { triggerLength_ = length; }
    void SetRS485Mode(bool on) { rs485_ = on; }
    void SetPriorityBoost(int boost) { priorityBoost_ = boost; }

    bool CharReady();
    int GetChar(std::uint8_t& byte);
    int PutBlock(const std::uint8_t* data, std::size_t length);
    int PutChar(std::uint8_t byte) { return PutBlock(&byte, 1); }
    int FlushInBuffer();
    int FlushOutBuffer();
    std::size_t OutBuffUsed();

    // Signalled whenever received bytes enter the receive ring, or a worker thread ends on a
    // failure. A pump sleeps on it and may clear it.
    WaitHandle Arrival() const { return arrival_.handle(); }
    void ClearArrival() const { arrival_.clear(); }

    // When a read thread last delivered received bytes, as the receive side saw it: not
    // when the user-interface thread next looked.
    std::chrono::steady_clock::time_point LastReceived() const {
        return std::chrono::steady_clock::time_point(
            std::chrono::steady_clock::duration(lastReceived_.load()));
    }

    // The code with which a worker thread ended on a failure; 0 while all is well.
    int FailureCode() const { return failureCode_.load(); }

    // Acts on the character trace or the dispatcher log (on, off, pause, clear, dump to a file,
    // append to it). `state` receives what the recorder is left as; the result is 0 or the
    // code of a file that could not be written.
    int TraceAction(RecorderAction action, std::uint32_t entries, const std::string& file,
                    ByteRendering rendering, RecorderState& state);
    int LogAction(RecorderAction action, std::uint32_t limitBytes, const std::string& file,
                  ByteRendering rendering, RecorderState& state);

    const std::string& DeviceName() const { return deviceName_; }
    bool Started() const { return started_.load(); }
    int RunningThreads() const { return runningThreads_.load(); }
    DeviceSettings CurrentSettings();
    int LastBaud() const { return lastBaud_; }

  protected:
    // --- the platform's part ---
    virtual int openDevice(const std::string& name) = 0;
    virtual void closeDevice() = 0;
    virtual int sizeQueues(int inSize, int outSize) = 0;
    virtual int readDeviceSettings(DeviceSettings& settings) = 0;
    virtual int writeDeviceSettings(const DeviceSettings& settings) = 0;
    virtual int escape(LineEscape function) = 0;
    virtual int purgeDevice(bool receiveSide) = 0;
    // Starts the read, write and status threads through startWorker; 0 or a negative code.
    virtual int startPlatformThreads() = 0;
    // Wakes the platform threads from their waits, so that they see the stop request.
    virtual void wakePlatformThreads() = 0;
    // The transmit ring has data for the write thread.
    virtual void signalOutputReady() = 0;
    // Tells the write thread to drop its block; returns once it acknowledged (or after 5 s).
    virtual void abortTransmit() = 0;
    // Bytes the device still holds for sending, after the write thread handed them over; 0 when
    // it cannot tell.
    virtual int deviceOutputQueued() { return 0; }
    // Sleeps the calling thread (the line-settings drain); a seam for tests.
    virtual void pause(std::chrono::microseconds duration);
    // The clock of the line-settings drain's deadline; a seam for tests, as `pause` is.
    virtual std::chrono::steady_clock::time_point now() const;
    // Waits until `done` holds or `limit` passed, pumping the window's messages meanwhile
    // (see SetWaitPump); false when the limit passed. Worker threads say that something
    // changed with tellWorkerNews.
    bool waitPumping(const std::function<bool()>& done, std::chrono::milliseconds limit);
    void tellWorkerNews();
    bool outputDrained() const { return outputDrained_; }
    // The level the DTR line is set to (under the status lock where it changes).
    bool dtrLevel() const { return dtrLevel_; }

    // --- for the worker threads ---
    // Starts a worker thread and waits, pumping, until it runs. The body returns the thread's
    // end code; an exception that escapes it ends the thread with kNoBufferMemory for a failed
    // allocation and `failureOnException` for anything else.
    bool startWorker(std::function<int()> body, int failureOnException);
    bool killRequested() const { return kill_.load(); }
    void requestKill();

    // Takes everything waiting in the transmit ring, in order, and empties the ring; the write
    // thread then counts as sending until it calls transmitFinished with the bytes it handed to
    // the driver.
    std::vector<std::uint8_t> takeTransmitBytes();
    void transmitFinished(std::size_t handedOver);

    // Runs `read` (a device read that does not block) under the input lock and returns the
    // count of receive purges it ran under, for queueReceived.
    template <typename Read>
    std::uint64_t readUnderInputLock(Read&& read) {
        const std::lock_guard guard(inputLock_);
        read();
        return receivePurges_;
    }
    // The receive purges so far: a read aborted while this count moved was aborted by a purge.
    std::uint64_t receivePurgeCount() {
        const std::lock_guard guard(inputLock_);
        return receivePurges_;
    }
    // Queues a block that a read thread received and moves what it can into the receive ring,
    // unless a receive purge came since the read: bytes received before a purge are never
    // delivered after it.
    void queueReceived(std::unique_ptr<TDataBuffer> block, std::uint64_t purgesAtRead);

    TIOQueue InputQueue;
    std::mutex statusLock_;

  private:
    int dispatcherThreadMain();
    bool moveReceivedBytes();
    bool dropStatusItem();
    std::size_t copyFromQueue(std::span<std::uint8_t> into);
    int applyLineSettings(DeviceSettings requested);
    void waitForTransmitterToDrain();
    // Waits, pumping, until the bytes handed to the driver have had their time on the wire.
    void waitForTheWire();
    std::chrono::microseconds wireTime(std::size_t bytes) const;
    void sleepForCharacters(const DeviceSettings& settings);
    bool drainTransmit();
    void stopWorkers();
    void threadEnded(int code);
    // Waits for `done` while the window lives: until it holds (true) or `deadline` passes.
    template <typename Done>
    bool waitForWorkers(Done done, std::chrono::steady_clock::time_point deadline);
    // One sleep of such a wait: false once `deadline` has passed.
    bool sleepOnWorkerNews(std::chrono::steady_clock::time_point deadline,
                           std::chrono::milliseconds longest);
    void releaseRings();
    void traceBytes(char kind, const std::uint8_t* data, std::size_t length);
    // What a dispatch log entry records.
    enum class LoggedBytes {
        Received = 1,     // moved from the input queue into the receive ring
        Transmitted = 2,  // put into the transmit ring
        Notice = 8,       // the layer's own text, such as a full receive ring
    };
    void logBytes(LoggedBytes kind, std::vector<std::uint8_t> data);
    std::uint32_t millisecondsSinceOpen() const;

    std::string deviceName_;
    std::mutex inputLock_;
    ByteRing receiveRing_;
    std::uint64_t receivePurges_ = 0;

    std::mutex outputLock_;
    ByteRing transmitRing_;
    std::atomic<bool> transmitting_{false};  // the write thread holds a block it is sending

    DeviceSettings settings_;
    bool dtrLevel_ = true;
    bool rtsLevel_ = true;
    std::atomic<int> lastBaud_{115200};  // read by the write thread too
    int inSize_ = 4096;
    bool eventWord_ = true;
    int triggerLength_ = 1;
    bool rs485_ = false;
    int priorityBoost_ = 0;

    std::mutex recorderLock_;  // the trace and the log, from whichever thread records
    TraceChannel trace_;
    LogChannel log_;
    std::chrono::steady_clock::time_point openedAt_ = std::chrono::steady_clock::now();

    WaitPump* waitPump_ = nullptr;
    WakeSignal arrival_;
    WakeSignal workerNews_;  // a worker thread started, ended or finished sending
    std::vector<std::thread> workers_;
    std::atomic<bool> kill_{false};
    std::atomic<bool> started_{false};
    std::atomic<int> runningThreads_{0};
    std::atomic<int> threadsStarted_{0};
    std::atomic<int> failureCode_{0};
    std::atomic<std::chrono::steady_clock::rep> lastReceived_{0};
    // When the last byte handed to the driver has left the wire, and how many bytes were handed
    // over since the module last sent something.
    std::mutex wireLock_;
    std::chrono::steady_clock::time_point wireFreeAt_{};
    std::size_t handedOverSinceReceived_ = 0;
    bool shut_ = false;
    bool outputDrained_ = false;
};

}  // namespace canprog::serial
