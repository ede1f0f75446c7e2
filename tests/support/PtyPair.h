#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "Eventually.h"

namespace canprog::testing {

// A pseudo-terminal of the test's own: the device path plays the serial port, the master side
// plays the module.
class PtyPair {
  public:
    PtyPair() {
        int slave = -1;
        if (::openpty(&master_, &slave, nullptr, nullptr, nullptr) != 0) {
            throw std::runtime_error("openpty failed");
        }
        termios raw{};
        ::tcgetattr(slave, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave, TCSANOW, &raw);
        path_ = ::ttyname(slave);
        ::close(slave);
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    }
    ~PtyPair() { closeMaster(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& path() const { return path_; }
    int master() const { return master_; }

    void closeMaster() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

    void send(const std::vector<std::uint8_t>& bytes) const {
        std::size_t offset = 0;
        while (offset < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + offset, bytes.size() - offset);
            if (n > 0) {
                offset += static_cast<std::size_t>(n);
            } else {
                pollfd fd{master_, POLLOUT, 0};
                ::poll(&fd, 1, 100);
            }
        }
    }

    // Reads until `count` bytes came or `timeout` passed.
    std::vector<std::uint8_t> receive(
        std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const {
        std::vector<std::uint8_t> bytes;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
            pollfd fd{master_, POLLIN, 0};
            if (::poll(&fd, 1, 20) <= 0) continue;
            std::uint8_t buffer[512];
            const ssize_t n =
                ::read(master_, buffer, std::min(sizeof buffer, count - bytes.size()));
            if (n > 0) bytes.insert(bytes.end(), buffer, buffer + n);
        }
        return bytes;
    }

  private:
    int master_ = -1;
    std::string path_;
};

}  // namespace canprog::testing
