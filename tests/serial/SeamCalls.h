#pragma once

#include <linux/serial.h>
#include <sys/ioctl.h>

#include <atomic>
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
        return serial::SystemCalls::write(fd, buffer, size);
    }
    int ioctl(int fd, unsigned long request, void* argument) override {
        if (request == TIOCMBIS || request == TIOCMBIC) {
            ++modemLineCalls;
            errno = ENOTTY;
            return -1;
        }
        if (request == TIOCOUTQ) ++outputQueueLooks;
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
    // Runs on the read thread after a read that got bytes, before they are queued.
    void setAfterRead(std::function<void()> hook) {
        const std::lock_guard guard(hookLock_);
        afterRead_ = std::move(hook);
    }

  private:
    std::mutex hookLock_;
    std::function<void()> afterRead_;
};

// A factory for port components whose dispatcher goes through `calls`.
inline serial::DispatcherFactory dispatcherOver(serial::SystemCalls& calls) {
    return [&calls] { return std::make_unique<serial::TSlioPosixDispatcher>(calls); };
}

}  // namespace canprog::testing
