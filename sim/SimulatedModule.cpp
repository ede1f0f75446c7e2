#include "SimulatedModule.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <ctime>
#include <stdexcept>

namespace canprog::sim {

namespace {
constexpr auto kQuietBeforeSave = std::chrono::milliseconds(20);
}

SimulatedModule::SimulatedModule(SimOptions options)
    : options_(std::move(options)), engine_(options_.memory, options_.faults) {
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        throw std::runtime_error("cannot open a pseudo-terminal");
    }
    master_.reset(master);
    slave_.reset(slave);
    // Raw on both sides before the tool opens the device: no echo, no line editing.
    for (int fd : {master, slave}) {
        termios raw{};
        ::tcgetattr(fd, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(fd, TCSANOW, &raw);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    // A program started meanwhile (a tool under test) does not inherit the module's ends.
    for (int fd : {master, slave}) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    devicePath_ = ::ttyname(slave);
    engine_.writeTime = options_.writeTime;
    if (!options_.journalPath.empty()) {
        journal_.open(options_.journalPath, std::ios::trunc);
        engine_.onFrame = [this](const FrameRecord& frame) {
            journal_ << frame.toJson() << '\n' << std::flush;
        };
    }
    engine_.onMemoryChanged = [this] { dirty_ = true; };
}

SimulatedModule::~SimulatedModule() {
    stop();
}

void SimulatedModule::start() {
    thread_ = std::thread([this] { run(); });
}

void SimulatedModule::stop() {
    stopping_ = true;
    stopSignal_.signal();
    if (thread_.joinable()) thread_.join();
}

ModuleMemory SimulatedModule::memory() const {
    const std::lock_guard guard(lock_);
    return engine_.memory();
}

void SimulatedModule::setMemory(const ModuleMemory& memory) {
    const std::lock_guard guard(lock_);
    engine_.memory() = memory;
}

std::vector<FrameRecord> SimulatedModule::frames() const {
    const std::lock_guard guard(lock_);
    return engine_.frames();
}

int SimulatedModule::restarts() const {
    const std::lock_guard guard(lock_);
    return engine_.restarts();
}

int SimulatedModule::pollTimeout() const {
    auto next = Clock::time_point::max();
    if (!outgoing_.empty()) next = outgoing_.front().due;
    if (dirty_) next = std::min(next, lastActivity_ + kQuietBeforeSave);
    if (next == Clock::time_point::max()) return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

void SimulatedModule::run() {
    while (!stopping_ && !hungUp_) {
        std::array<pollfd, 2> fds = {
            {{master_.get(), POLLIN, 0},
             {static_cast<int>(stopSignal_.handle().native()), POLLIN, 0}}};
        const int ready = ::poll(fds.data(), fds.size(), pollTimeout());
        if (ready < 0 && errno != EINTR) break;
        if (stopping_) break;
        if (fds[0].revents & POLLIN) receiveAvailable();
        sendDue();
        if (dirty_ && Clock::now() - lastActivity_ >= kQuietBeforeSave) {
            dirty_ = false;
            if (options_.saveMemory) options_.saveMemory(memory());
        }
    }
    if (dirty_ && options_.saveMemory) options_.saveMemory(memory());
    timespec cpu{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    threadCpu_ = std::chrono::seconds(cpu.tv_sec) + std::chrono::nanoseconds(cpu.tv_nsec);
}

std::vector<std::chrono::nanoseconds> SimulatedModule::turnarounds() const {
    const std::lock_guard guard(lock_);
    return turnarounds_;
}

void SimulatedModule::receiveAvailable() {
    std::array<std::uint8_t, 256> buffer{};
    for (;;) {
        const ssize_t got = ::read(master_.get(), buffer.data(), buffer.size());
        if (got <= 0) break;
        const auto now = Clock::now();
        const std::lock_guard guard(lock_);
        if (replySentAt_) {
            turnarounds_.push_back(now - *replySentAt_);
            replySentAt_.reset();
        }
        for (ssize_t i = 0; i < got; ++i) {
            // On a paced line a byte is complete one byte time after the one before it.
            auto arrival = now;
            if (options_.lineRate) arrival = std::max(now, lastArrival_ + kByteTime);
            lastArrival_ = arrival;
            const EngineReply reply = engine_.receive(buffer[static_cast<std::size_t>(i)], arrival);
            auto due = arrival + reply.delay;
            if (!reply.bytes.empty()) due += options_.replyDelay;
            for (const auto b : reply.bytes) {
                // A byte on a paced line is complete one byte time after it started, and
                // starts when the one before it is complete.
                if (options_.lineRate) due = std::max(due, lastSent_) + kByteTime;
                outgoing_.push_back({due, b});
                lastSent_ = due;
            }
            if (engine_.hangUpRequested()) {
                hungUp_ = true;
                break;
            }
        }
        lastActivity_ = now;
        if (hungUp_) break;
    }
    if (hungUp_) hangUp();
}

void SimulatedModule::sendDue() {
    const auto now = Clock::now();
    while (!outgoing_.empty() && outgoing_.front().due <= now) {
        const std::uint8_t byte = outgoing_.front().byte;
        if (::write(master_.get(), &byte, 1) != 1) break;
        outgoing_.pop_front();
        if (outgoing_.empty()) {
            const std::lock_guard guard(lock_);
            replySentAt_ = Clock::now();
        }
    }
}

// The cable is pulled: both ends of the pseudo-terminal go, and the tool sees a hang-up.
void SimulatedModule::hangUp() {
    outgoing_.clear();
    slave_.reset();
    master_.reset();
}

}  // namespace canprog::sim
