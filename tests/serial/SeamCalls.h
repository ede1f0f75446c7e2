#pragma once

#include <linux/serial.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <stdexcept>

#include "serial/PlatformDispatcher.h"
#include "serial/posix/SlPosix.h"

namespace canprog::testing {

// Real system calls, with failures and hooks injected on request.
class SeamCalls : public serial::SystemCalls {
  public:
    ssize_t read(int fd, void* buffer, size_t size) override {
        if (throwOnRead == Throw::BadAlloc) throw std::bad_alloc();
        if (throwOnRead == Throw::RuntimeError) throw std::runtime_error("seam");
        if (failReads) {
            errno = EIO;
            return -1;
        }
        const ssize_t got = serial::SystemCalls::read(fd, buffer, size);
        if (got > 0) {
            std::function<void()> hook;
            {
                const std::lock_guard guard(hookLock_);
                hook = afterRead_;
            }
            if (hook) hook();
        }
        return got;
    }
    ssize_t write(int fd, const void* buffer, size_t size) override {
        if (busyWrites > 0) {
            --busyWrites;
            errno = EAGAIN;
            return -1;
        }
        if (failWrites) {
            errno = EIO;
            return -1;
        }
        const ssize_t written = serial::SystemCalls::write(fd, buffer, size);
        if (written > 0 && adapterBuffer) {
            const std::lock_guard guard(hookLock_);
            const auto now = std::chrono::steady_clock::now();
            adapterFreeAt_ = std::max(adapterFreeAt_, now) + kByteTime * written;
        }
        return written;
    }
    int close(int fd) override {
        if (adapterBuffer) {
            const std::lock_guard guard(hookLock_);
            const auto left = adapterFreeAt_ - std::chrono::steady_clock::now();
            if (left > left.zero()) cutByTheClose_ += static_cast<int>(left / kByteTime) + 1;
        }
        return serial::SystemCalls::close(fd);
    }
    // The bytes still in the adapter's buffer when the port was closed.
    int cutByTheClose() {
        const std::lock_guard guard(hookLock_);
        return cutByTheClose_;
    }
    int ioctl(int fd, unsigned long request, void* argument) override {
        if (request == TIOCMBIS || request == TIOCMBIC) {
            ++modemLineCalls;
            errno = ENOTTY;
            return -1;
        }
        if (request == TIOCOUTQ) {
            ++outputQueueLooks;
            if (adapterBuffer) {
                *static_cast<int*>(argument) = 0;  // the driver has handed everything over
                return 0;
            }
        }
        if (uartFlags && (request == TIOCGSERIAL || request == TIOCSSERIAL)) {
            // A UART's driver: its serial flags kept here, as the kernel keeps them.
            auto* serial = static_cast<serial_struct*>(argument);
            if (request == TIOCGSERIAL) {
                *serial = serial_struct{};
                serial->flags = *uartFlags;
            } else {
                uartFlags = serial->flags;
            }
            return 0;
        }
        return serial::SystemCalls::ioctl(fd, request, argument);
    }
    void sleep(std::chrono::microseconds duration) override {
        ++sleeps;
        serial::SystemCalls::sleep(duration);
    }

    enum class Throw { Nothing, BadAlloc, RuntimeError };
    std::atomic<Throw> throwOnRead{Throw::Nothing};
    std::atomic<bool> failReads{false};
    std::atomic<bool> failWrites{false};
    std::atomic<int> busyWrites{0};
    std::atomic<int> modemLineCalls{0};
    std::optional<int> uartFlags;  // when set, the device is a UART with these serial flags
    std::atomic<int> outputQueueLooks{0};
    std::atomic<int> sleeps{0};
    // A USB adapter's own buffer behind the driver: the driver's queue is empty as soon as it
    // has handed the bytes over, and they leave the adapter at 9600 baud, 1.04 ms a byte.
    std::atomic<bool> adapterBuffer{false};
    // Runs on the read thread after a read that got bytes, before they are queued.
    void setAfterRead(std::function<void()> hook) {
        const std::lock_guard guard(hookLock_);
        afterRead_ = std::move(hook);
    }

  private:
    static constexpr auto kByteTime = std::chrono::microseconds(1042);
    std::mutex hookLock_;
    std::function<void()> afterRead_;
    std::chrono::steady_clock::time_point adapterFreeAt_{};
    int cutByTheClose_ = 0;
};

// A factory for port components whose dispatcher goes through `calls`.
inline serial::DispatcherFactory dispatcherOver(serial::SystemCalls& calls) {
    return [&calls] { return std::make_unique<serial::TSlioPosixDispatcher>(calls); };
}

}  // namespace canprog::testing
