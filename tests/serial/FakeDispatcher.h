#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "serial/SlDispatch.h"

namespace canprog::testing {

// A dispatcher without a device or platform threads, so that tests can drive the rings, the
// dispatcher thread and the line settings directly.
class FakeDispatcher : public serial::TSlioBaseDispatcher {
  public:
    ~FakeDispatcher() override { ShutPort(); }

    int open(int outSize = 4096) { return OpenPort("fake", 9600, 0, 8, 1, 4096, outSize, 0x03); }

    // Bytes as the read thread would queue them, in 256-byte blocks.
    void receive(const std::vector<std::uint8_t>& bytes) {
        for (std::size_t at = 0; at < bytes.size(); at += serial::TDataBuffer::kCapacity) {
            auto block = std::make_unique<serial::TDataBuffer>();
            block->used = std::min(bytes.size() - at, serial::TDataBuffer::kCapacity);
            std::copy_n(bytes.begin() + static_cast<long>(at), block->used, block->data.begin());
            InputQueue.push(std::move(block));
        }
    }
    std::size_t queuedBlocks() const { return InputQueue.size(); }
    std::vector<std::uint8_t> sent() { return takeTransmitBytes(); }

    std::atomic<int> settingsWritten{0};
    std::atomic<int> outputSignals{0};
    // The sleeps the dispatcher asks for, counted instead of slept.
    int sleeps = 0;
    std::chrono::microseconds slept{0};

  protected:
    int openDevice(const std::string&) override { return 0; }
    void closeDevice() override {}
    int sizeQueues(int, int) override { return 0; }
    int readDeviceSettings(serial::DeviceSettings& s) override {
        s = device_;
        return 0;
    }
    int writeDeviceSettings(const serial::DeviceSettings& s) override {
        device_ = s;
        ++settingsWritten;
        return 0;
    }
    int escape(serial::LineEscape) override { return 0; }
    int purgeDevice(bool) override { return 0; }
    int startPlatformThreads() override { return 0; }
    void wakePlatformThreads() override {}
    void pause(std::chrono::microseconds duration) override {
        ++sleeps;
        slept += duration;
    }
    void signalOutputReady() override { ++outputSignals; }
    void abortTransmit() override {}

  private:
    serial::DeviceSettings device_ = [] {
        serial::DeviceSettings fresh;
        fresh.baud = 38400;  // as a new pseudo-terminal starts
        return fresh;
    }();
};

}  // namespace canprog::testing
