#include "SlPosix.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "TerminalDevices.h"
#include "serial/ErrnoCodes.h"

namespace canprog::serial {

namespace {

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

int deviceError(int error) {
    return resultForErrno(error, ErrnoUse::Device);
}

bool hungUp(short events) {
    return (events & (POLLERR | POLLHUP | POLLNVAL)) != 0;
}

}  // namespace

TSlioPosixDispatcher::TSlioPosixDispatcher(SystemCalls& calls) : calls_(calls) {}

TSlioPosixDispatcher::~TSlioPosixDispatcher() {
    ShutPort();
}

int TSlioPosixDispatcher::openDevice(const std::string& name) {
    const int fd = calls_.open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return resultForErrno(errno, ErrnoUse::OpeningDevice);
    fd_ = fd;
    // /dev/null, /dev/tty or the user's own terminal would open, and be programmed as a port.
    struct stat status {};
    if (calls_.fstat(fd_, &status) == 0 && S_ISCHR(status.st_mode) &&
        !mayBeSerialPort(status.st_rdev)) {
        closeDevice();
        return toCode(SlioError::BadId);
    }
    // Exclusive use through an advisory lock: it is released with the process that holds it.
    // (The terminal's own exclusive flag is not used: it outlives a killed process on a device
    // whose other end stays open, and locks every other user out until root clears it.)
    if (calls_.flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int result =
            resultForErrno(errno == EWOULDBLOCK ? EBUSY : errno, ErrnoUse::OpeningDevice);
        closeDevice();
        return result;
    }
    locked_ = true;
    termios settings{};
    if (calls_.tcgetattr(fd_, &settings) != 0) {
        const int result = resultForErrno(errno, ErrnoUse::OpeningDevice);
        closeDevice();
        return result;
    }
    settingsAtOpen_ = settings;
    // USB adapters hold received bytes for up to 16 ms unless asked for low latency; a
    // driver that does not know the request is fine as it is.
    // The flags as found are put back at close, as the terminal settings are: the request
    // outlives the descriptor and would change the port for every later user.
    serial_struct serial{};
    if (calls_.ioctl(fd_, TIOCGSERIAL, &serial) == 0) {
        serialFlagsAtOpen_ = serial.flags;
        if ((serial.flags & ASYNC_LOW_LATENCY) == 0) {
            serial.flags |= ASYNC_LOW_LATENCY;
            calls_.ioctl(fd_, TIOCSSERIAL, &serial);
        }
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
    // all left already.
    if (!outputDrained()) calls_.tcflush(fd_, TCOFLUSH);
    // The device is left as it was found (a terminal must not stay raw at 9600 baud).
    if (settingsAtOpen_) calls_.tcsetattr(fd_, TCSANOW, &*settingsAtOpen_);
    settingsAtOpen_.reset();
    if (serialFlagsAtOpen_) {
        serial_struct serial{};
        if (calls_.ioctl(fd_, TIOCGSERIAL, &serial) == 0 && serial.flags != *serialFlagsAtOpen_) {
            serial.flags = *serialFlagsAtOpen_;
            calls_.ioctl(fd_, TIOCSSERIAL, &serial);
        }
    }
    serialFlagsAtOpen_.reset();
    if (locked_) calls_.flock(fd_, LOCK_UN);
    locked_ = false;
    calls_.close(fd_);
    fd_ = -1;
}

int TSlioPosixDispatcher::sizeQueues(int, int) {
    return 0;
}  // the driver sizes its own queues

int TSlioPosixDispatcher::readDeviceSettings(DeviceSettings& settings) {
    if (fd_ < 0) return toCode(SlioError::BadHandle);
    settings = cached_;
    return 0;
}

int TSlioPosixDispatcher::writeDeviceSettings(const DeviceSettings& wanted) {
    if (fd_ < 0) return toCode(SlioError::BadHandle);
    termios settings{};
    if (calls_.tcgetattr(fd_, &settings) != 0) return deviceError(errno);
    cfmakeraw(&settings);
    speed_t speed = B9600;
    if (!speedForBaud(wanted.baud, speed)) return toCode(SlioError::BaudRate);
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
    if (calls_.tcsetattr(fd_, TCSANOW, &settings) != 0) return deviceError(errno);
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
    return calls_.tcflush(fd_, receiveSide ? TCIFLUSH : TCOFLUSH) == 0 ? 0 : deviceError(errno);
}

// --- threads ---

int TSlioPosixDispatcher::startPlatformThreads() {
    if (!startWorker([this] { return readThreadMain(); }, kReadFailure) ||
        !startWorker([this] { return writeThreadMain(); }, kWriteFailure) ||
        !startWorker([this] { return statusThreadMain(); }, kReadFailure)) {
        return toCode(SlioError::Unspecified);
    }
    return 0;
}

void TSlioPosixDispatcher::wakePlatformThreads() {
    {
        const std::lock_guard guard(signalLock_);  // no waiter misses the stop request
    }
    signalled_.notify_all();
    readWake_.signal();
    writeWake_.signal();
}

int TSlioPosixDispatcher::readThreadMain() {
    while (!killRequested()) {
        std::array<pollfd, 2> fds = {
            {{fd_, POLLIN, 0}, {static_cast<int>(readWake_.handle().native()), POLLIN, 0}}};
        const int ready = calls_.poll(fds.data(), fds.size(), kReadPoll_ms);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return kReadFailure;
        }
        if (killRequested()) break;
        if (fds[1].revents & POLLIN) readWake_.clear();
        if (hungUp(fds[0].revents) && !(fds[0].revents & POLLIN)) return kReadFailure;
        if (!(fds[0].revents & POLLIN)) continue;
        if (const int failure = readAvailable(); failure != 0) return failure;
    }
    return 0;
}

int TSlioPosixDispatcher::readAvailable() {
    for (bool first = true;; first = false) {
        auto block = std::make_unique<TDataBuffer>();
        ssize_t got = 0;
        int error = 0;
        // The read does not block; under the input lock it cannot pass a purge unnoticed.
        const std::uint64_t purges = readUnderInputLock([&] {
            got = calls_.read(fd_, block->data.data(), block->data.size());
            error = errno;
        });
        if (got > 0) {
            block->used = static_cast<std::size_t>(got);
            queueReceived(std::move(block), purges);
            continue;
        }
        if (got < 0 && error == EINTR) continue;
        if (got < 0 && (error == EAGAIN || error == EWOULDBLOCK)) return 0;
        if (got == 0 && !first) return 0;
        return kReadFailure;  // zero bytes right after poll said readable, or EIO: gone
    }
}

void TSlioPosixDispatcher::acknowledgePurge() {
    transmitPurge_ = false;
    acknowledged_ = true;
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
            std::array<pollfd, 2> fds = {
                {{fd_, POLLOUT, 0}, {static_cast<int>(writeWake_.handle().native()), POLLIN, 0}}};
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

int TSlioPosixDispatcher::writeThreadMain() {
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
                acknowledgePurge();
                continue;
            }
        }
        while (send && failure == 0) {
            const std::vector<std::uint8_t> block = takeTransmitBytes();
            if (block.empty()) break;
            const bool written = writeAll(block, failure);
            transmitFinished(written ? block.size() : 0);
            if (!written) {
                const std::lock_guard guard(signalLock_);
                if (transmitPurge_) acknowledgePurge();
                break;
            }
        }
    }
    return failure;
}

int TSlioPosixDispatcher::statusThreadMain() {
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
    return 0;
}

void TSlioPosixDispatcher::signalOutputReady() {
    {
        const std::lock_guard guard(signalLock_);
        outputReady_ = true;
    }
    signalled_.notify_all();
}

int TSlioPosixDispatcher::deviceOutputQueued() {
    int queued = 0;
    if (fd_ < 0 || calls_.ioctl(fd_, TIOCOUTQ, &queued) != 0) return 0;
    return queued;
}

void TSlioPosixDispatcher::abortTransmit() {
    if (!Started()) return;
    std::unique_lock guard(signalLock_);
    transmitPurge_ = true;
    acknowledged_ = false;
    signalled_.notify_all();
    writeWake_.signal();
    signalled_.wait_for(guard, kPurgeAcknowledgeWait,
                        [this] { return acknowledged_ || killRequested(); });
}

}  // namespace canprog::serial
