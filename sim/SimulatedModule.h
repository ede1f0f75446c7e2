#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "BootloaderEngine.h"
#include "serial/WakeSignal.h"
#include "serial/posix/FileDescriptor.h"

namespace canprog::sim {

struct SimOptions {
    ModuleMemory memory = ModuleMemory::demoModule();
    FaultOptions faults;
    bool lineRate = false;                   // pace bytes both ways at 9600 baud 8N1
    std::chrono::milliseconds writeTime{0};  // the module's block write time
    // How long an adapter holds every reply before the tool sees it (a USB adapter's latency
    // timer: 16 ms by default on some).
    std::chrono::milliseconds replyDelay{0};
    std::string journalPath;  // one JSON line per decoded frame
    // Called on the module's thread when a memory changed and the line has gone quiet.
    std::function<void(const ModuleMemory&)> saveMemory;
};

// A simulated module on a pseudo-terminal: the bootloader engine behind the master side, the
// slave side's path for the tool to open. Runs on a thread of its own.
class SimulatedModule {
  public:
    // 10 bits a byte at 9600 baud.
    static constexpr auto kByteTime = std::chrono::microseconds(1042);

    explicit SimulatedModule(SimOptions options = {});
    ~SimulatedModule();
    SimulatedModule(const SimulatedModule&) = delete;
    SimulatedModule& operator=(const SimulatedModule&) = delete;

    const std::string& devicePath() const { return devicePath_; }

    void start();
    // Runs on the calling thread until stop() or a hang-up fault.
    void run();
    void stop();

    // Copies of the module's state, safe while it runs.
    ModuleMemory memory() const;
    std::vector<FrameRecord> frames() const;
    int restarts() const;
    bool hungUp() const { return hungUp_.load(); }
    // Times from a reply's last byte leaving the module to the next byte arriving: the tool's
    // turnaround, as the wire sees it.
    std::vector<std::chrono::nanoseconds> turnarounds() const;
    // CPU time the module's own thread used, known once it has stopped.
    std::chrono::nanoseconds threadCpuTime() const { return threadCpu_; }
    void setMemory(const ModuleMemory& memory);

  private:
    struct Outgoing {
        Clock::time_point due;
        std::uint8_t byte;
    };
    void receiveAvailable();
    void sendDue();
    int pollTimeout() const;
    void hangUp();

    SimOptions options_;
    serial::FileDescriptor master_;
    serial::FileDescriptor slave_;  // held so that the master never sees a hang-up of its own
    std::string devicePath_;
    serial::WakeSignal stopSignal_;

    mutable std::mutex lock_;  // guards the engine
    BootloaderEngine engine_;
    std::ofstream journal_;
    std::deque<Outgoing> outgoing_;
    Clock::time_point lastArrival_{};
    Clock::time_point lastSent_{};
    bool dirty_ = false;
    Clock::time_point lastActivity_{};
    std::optional<Clock::time_point> replySentAt_;
    std::vector<std::chrono::nanoseconds> turnarounds_;
    std::chrono::nanoseconds threadCpu_{0};

    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> hungUp_{false};
};

}  // namespace canprog::sim
