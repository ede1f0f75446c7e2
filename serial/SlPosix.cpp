#include "SlPosix.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "SlStrMap.h"

namespace canprog::serial {

namespace {

constexpr auto kThreadStartWait = std::chrono::milliseconds(3000);
constexpr auto kPurgeAcknowledgeWait = std::chrono::milliseconds(5000);
constexpr auto kWorkerWait = std::chrono::milliseconds(100);
constexpr int kReadPoll_ms = 50;
constexpr int kWritePoll_ms = 100;

// Status event bits queued by the status thread.
constexpr std::uint32_t kEventCts = 0x0008;
constexpr std::uint32_t kEventDsr = 0x0010;
constexpr std::uint32_t kEventRlsd = 0x0020;
constexpr std::uint32_t kEventRing = 0x0100;

struct BaudRate {
    int baud;
    speed_t speed;
};
constexpr std::array<BaudRate, 19> kBaudRates = {{
    {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800},
}};

bool speedForBaud(int baud, speed_t& speed) {
    for (const auto& rate : kBaudRates) {
        if (rate.baud == baud) {
            speed = rate.speed;
            return true;
        }
    }
    return false;
}

int baudForSpeed(speed_t speed) {
    for (const auto& rate : kBaudRates) {
        if (rate.speed == speed) return rate.baud;
    }
    return 9600;
}

int systemError(int error) {
    return -(kSystemErrorBase + error);
}

bool hungUp(short events) {
    return (events & (POLLERR | POLLHUP | POLLNVAL)) != 0;
}

}  // namespace

int openResultForErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case ENOTDIR:
        case EIO:
        case ENOTTY: return -2001;
        case EBUSY:
        case EWOULDBLOCK: return -2008;
        case EACCES:
        case EPERM: return -2013;
        case ENOMEM: return -8;
        default: return systemError(error);
    }
}

TSlioPosixDispatcher::TSlioPosixDispatcher(SystemCalls& calls) : TSlioBaseDispatcher(calls) {}

TSlioPosixDispatcher::~TSlioPosixDispatcher() {
    ShutPort();
}

int TSlioPosixDispatcher::openDevice(const std::string& name) {
    const int fd = calls_.open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return openResultForErrno(errno);
    fd_ = fd;
    // Exclusive use: an advisory lock for other programs that look, TIOCEXCL for those that
    // do not (it makes their open fail with EBUSY).
    if (calls_.flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int result = openResultForErrno(errno == EWOULDBLOCK ? EBUSY : errno);
        closeDevice();
        return result;
    }
    locked_ = true;
    termios settings{};
    if (calls_.tcgetattr(fd_, &settings) != 0) {
        const int result = openResultForErrno(errno);
        closeDevice();
        return result;
    }
    calls_.ioctl(fd_, TIOCEXCL, nullptr);
    // USB adapters hold received bytes for up to 16 ms unless asked for low latency; a
    // driver that does not know the request is fine as it is.
    serial_struct serial{};
    if (calls_.ioctl(fd_, TIOCGSERIAL, &serial) == 0) {
        serial.flags |= ASYNC_LOW_LATENCY;
        calls_.ioctl(fd_, TIOCSSERIAL, &serial);
    }
    cached_.baud = baudForSpeed(cfgetospeed(&settings));
    cached_.dataBits = (settings.c_cflag & CSIZE) == CS5   ? 5
                       : (settings.c_cflag & CSIZE) == CS6 ? 6
                       : (settings.c_cflag & CSIZE) == CS7 ? 7
                                                           : 8;
    cached_.parity = (settings.c_cflag & PARENB) ? ((settings.c_cflag & PARODD) ? 1 : 2) : 0;
    cached_.stopBits = (settings.c_cflag & CSTOPB) ? StopBitsField::Two : StopBitsField::One;
    cached_.outxCtsFlow = (settings.c_cflag & CRTSCTS) != 0;
    cached_.outX = (settings.c_iflag & IXON) != 0;
    cached_.inX = (settings.c_iflag & IXOFF) != 0;
    return 0;
}

void TSlioPosixDispatcher::closeDevice() {
    if (fd_ < 0) return;
    // Output still queued could keep close(2) waiting for seconds: drop it first, unless it
    // all left already. The exclusive flag outlives the descriptor, so it is released
    // explicitly.
    if (!outputDrained()) calls_.tcflush(fd_, TCOFLUSH);
    calls_.ioctl(fd_, TIOCNXCL, nullptr);
    if (locked_) calls_.flock(fd_, LOCK_UN);
    locked_ = false;
    calls_.close(fd_);
    fd_ = -1;
}

int TSlioPosixDispatcher::sizeQueues(int, int) {
    return 0;
}  // the driver sizes its own queues

int TSlioPosixDispatcher::readDeviceSettings(DeviceSettings& settings) {
    if (fd_ < 0) return -1;
    settings = cached_;
    return 0;
}

int TSlioPosixDispatcher::writeDeviceSettings(const DeviceSettings& wanted) {
    if (fd_ < 0) return -1;
    termios settings{};
    if (calls_.tcgetattr(fd_, &settings) != 0) return systemError(errno);
    cfmakeraw(&settings);
    speed_t speed = B9600;
    if (!speedForBaud(wanted.baud, speed)) return -2002;
    cfsetspeed(&settings, speed);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cflag &= ~(HUPCL | CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    settings.c_cflag |= wanted.dataBits == 5   ? CS5
                        : wanted.dataBits == 6 ? CS6
                        : wanted.dataBits == 7 ? CS7
                                               : CS8;
    switch (wanted.parity) {
        case 1: settings.c_cflag |= PARENB | PARODD; break;
        case 2: settings.c_cflag |= PARENB; break;
        case 3: settings.c_cflag |= PARENB | PARODD | CMSPAR; break;
        case 4: settings.c_cflag |= PARENB | CMSPAR; break;
        default: break;
    }
    if (wanted.stopBits != StopBitsField::One) settings.c_cflag |= CSTOPB;
    if (wanted.outxCtsFlow || wanted.rtsControl == RtsControl::Handshake) {
        settings.c_cflag |= CRTSCTS;
    }
    // Software flow control is written both ways, never left as the device had it.
    if (wanted.outX)
        settings.c_iflag |= IXON;
    else
        settings.c_iflag &= ~IXON;
    if (wanted.inX)
        settings.c_iflag |= IXOFF;
    else
        settings.c_iflag &= ~IXOFF;
    settings.c_cc[VSTART] = static_cast<cc_t>(wanted.xonChar);
    settings.c_cc[VSTOP] = static_cast<cc_t>(wanted.xoffChar);
    // With VMIN 1 a non-blocking read of an empty device answers EAGAIN; a read of zero bytes
    // then only comes from a hang-up.
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (calls_.tcsetattr(fd_, TCSANOW, &settings) != 0) return systemError(errno);
    cached_ = wanted;
    return 0;
}

// Raises or lowers a control line. A pseudo-terminal has no modem lines (ENOTTY, EINVAL);
// like the platform escape call, this always reports success.
int TSlioPosixDispatcher::escape(LineEscape function) {
    if (fd_ < 0) return 0;
    int bits = 0;
    unsigned long request = TIOCMBIS;
    switch (function) {
        case LineEscape::SetRts: bits = TIOCM_RTS; break;
        case LineEscape::ClearRts:
            bits = TIOCM_RTS;
            request = TIOCMBIC;
            break;
        case LineEscape::SetDtr: bits = TIOCM_DTR; break;
        case LineEscape::ClearDtr:
            bits = TIOCM_DTR;
            request = TIOCMBIC;
            break;
    }
    calls_.ioctl(fd_, request, &bits);
    return 0;
}

int TSlioPosixDispatcher::purgeDevice(bool receiveSide) {
    if (fd_ < 0) return 0;
    return calls_.tcflush(fd_, receiveSide ? TCIFLUSH : TCOFLUSH) == 0 ? 0 : systemError(errno);
}

// --- threads ---

bool TSlioPosixDispatcher::startThread(std::thread& thread, void (TSlioPosixDispatcher::*body)()) {
    {
        const std::lock_guard guard(signalLock_);
        threadAcknowledged_ = false;
    }
    thread = std::thread([this, body] {
        threadStarted();
        {
            const std::lock_guard guard(signalLock_);
            threadAcknowledged_ = true;
        }
        signalled_.notify_all();
        (this->*body)();
    });
    std::unique_lock guard(signalLock_);
    return signalled_.wait_for(guard, kThreadStartWait, [this] { return threadAcknowledged_; });
}

int TSlioPosixDispatcher::startPlatformThreads() {
    if (readThread_.joinable()) throw std::logic_error("Dispatcher already started.");
    if (!startThread(readThread_, &TSlioPosixDispatcher::readThreadMain) ||
        !startThread(writeThread_, &TSlioPosixDispatcher::writeThreadMain) ||
        !startThread(statusThread_, &TSlioPosixDispatcher::statusThreadMain)) {
        return -1;
    }
    return 0;
}

void TSlioPosixDispatcher::stopPlatformThreads() {
    requestKill();
    {
        const std::lock_guard guard(signalLock_);  // no waiter misses the kill
    }
    signalled_.notify_all();
    readWake_.signal();
    writeWake_.signal();
    for (std::thread* thread : {&statusThread_, &writeThread_, &readThread_}) {
        if (thread->joinable()) thread->join();
    }
}

void TSlioPosixDispatcher::readThreadMain() {
    int result = 0;
    while (!killRequested()) {
        std::array<pollfd, 2> fds = {{{fd_, POLLIN, 0}, {readWake_.fd(), POLLIN, 0}}};
        const int ready = calls_.poll(fds.data(), fds.size(), kReadPoll_ms);
        if (ready < 0) {
            if (errno == EINTR) continue;
            result = kReadFailure;
            break;
        }
        if (killRequested()) break;
        if (fds[1].revents & POLLIN) readWake_.clear();
        if (hungUp(fds[0].revents) && !(fds[0].revents & POLLIN)) {
            result = kReadFailure;
            break;
        }
        if (!(fds[0].revents & POLLIN)) continue;
        // Read blocks until the device has nothing more.
        for (bool first = true;; first = false) {
            auto block = std::make_unique<TDataBuffer>();
            const ssize_t got = calls_.read(fd_, block->data.data(), block->data.size());
            if (got > 0) {
                block->used = static_cast<std::size_t>(got);
                InputQueue.push(std::move(block));
                continue;
            }
            if (got < 0 && errno == EINTR) continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
            if (got == 0 && !first) break;
            result = kReadFailure;  // zero bytes right after poll said readable, or EIO: gone
            break;
        }
        if (result != 0) break;
        dispatchReceived();
    }
    threadEnded(result);
}

void TSlioPosixDispatcher::acknowledge() {
    {
        const std::lock_guard guard(signalLock_);
        acknowledged_ = true;
    }
    signalled_.notify_all();
}

bool TSlioPosixDispatcher::writeAll(const std::vector<std::uint8_t>& block, int& failure) {
    std::size_t offset = 0;
    while (offset < block.size()) {
        {
            const std::lock_guard guard(signalLock_);
            if (transmitPurge_ || killRequested()) return false;
        }
        const ssize_t sent = calls_.write(fd_, block.data() + offset, block.size() - offset);
        if (sent > 0) {
            offset += static_cast<std::size_t>(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            std::array<pollfd, 2> fds = {{{fd_, POLLOUT, 0}, {writeWake_.fd(), POLLIN, 0}}};
            if (calls_.poll(fds.data(), fds.size(), kWritePoll_ms) < 0 && errno != EINTR) {
                failure = kWriteFailure;
                return false;
            }
            if (fds[1].revents & POLLIN) writeWake_.clear();
            if (hungUp(fds[0].revents)) {
                failure = kWriteFailure;
                return false;
            }
            continue;
        }
        failure = kWriteFailure;
        return false;
    }
    return true;
}

void TSlioPosixDispatcher::writeThreadMain() {
    int failure = 0;
    while (!killRequested() && failure == 0) {
        bool send = false;
        {
            std::unique_lock guard(signalLock_);
            signalled_.wait_for(guard, kWorkerWait, [this] {
                return outputReady_ || transmitPurge_ || killRequested();
            });
            if (killRequested()) break;
            send = outputReady_;
            outputReady_ = false;
            if (transmitPurge_ && !send) {
                transmitPurge_ = false;
                acknowledged_ = true;
                signalled_.notify_all();
                continue;
            }
        }
        while (send && failure == 0) {
            transmitting_ = true;
            const std::vector<std::uint8_t> block = takeTransmitBytes();
            if (block.empty()) {
                transmitting_ = false;
                break;
            }
            const bool written = writeAll(block, failure);
            transmitting_ = false;
            if (!written) {
                const std::lock_guard guard(signalLock_);
                if (transmitPurge_) {
                    transmitPurge_ = false;
                    acknowledged_ = true;
                    signalled_.notify_all();
                }
                break;
            }
        }
    }
    threadEnded(failure);
}

void TSlioPosixDispatcher::statusThreadMain() {
    int previous = -1;
    while (!killRequested()) {
        {
            std::unique_lock guard(signalLock_);
            signalled_.wait_for(guard, kWorkerWait, [this] { return killRequested(); });
        }
        if (killRequested()) break;
        int lines = 0;
        if (calls_.ioctl(fd_, TIOCMGET, &lines) != 0) continue;  // no modem lines (a pty)
        if (previous >= 0 && lines != previous) {
            const int changed = lines ^ previous;
            std::uint32_t mask = 0;
            if (changed & TIOCM_CTS) mask |= kEventCts;
            if (changed & TIOCM_DSR) mask |= kEventDsr;
            if (changed & TIOCM_CD) mask |= kEventRlsd;
            if (changed & TIOCM_RI) mask |= kEventRing;
            if (mask != 0) InputQueue.push(std::make_unique<TStatusBuffer>(mask));
        }
        previous = lines;
    }
    threadEnded(0);
}

void TSlioPosixDispatcher::signalOutputReady() {
    {
        const std::lock_guard guard(signalLock_);
        outputReady_ = true;
    }
    signalled_.notify_all();
}

bool TSlioPosixDispatcher::drainTransmit() {
    if (fd_ < 0) return false;
    // Room for what waits at the line's speed, but never more than two seconds.
    const auto perByte = std::chrono::microseconds(10'000'000 / std::max(LastBaud(), 1));
    const auto budget = std::min<std::chrono::microseconds>(
        std::chrono::seconds(2),
        perByte * static_cast<long>(OutBuffUsed() + 64) + std::chrono::milliseconds(500));
    const auto deadline = std::chrono::steady_clock::now() + budget;
    while (std::chrono::steady_clock::now() < deadline && FailureCode() == 0) {
        int queued = 0;
        if (OutBuffUsed() == 0 && !transmitting_ &&
            (calls_.ioctl(fd_, TIOCOUTQ, &queued) != 0 || queued == 0)) {
            return true;
        }
        calls_.sleep(std::chrono::milliseconds(1));
    }
    return false;
}

void TSlioPosixDispatcher::abortTransmit() {
    if (!writeThread_.joinable()) return;
    std::unique_lock guard(signalLock_);
    transmitPurge_ = true;
    acknowledged_ = false;
    signalled_.notify_all();
    writeWake_.signal();
    signalled_.wait_for(guard, kPurgeAcknowledgeWait,
                        [this] { return acknowledged_ || killRequested(); });
}

}  // namespace canprog::serial
