#include "PollMessagePump.h"

#include <poll.h>
#include <unistd.h>

#include <cstdint>
#include <thread>

namespace canprog {

void PollMessagePump::watch(serial::WaitHandle handle, std::function<void()> onReadable) {
    watched_.push_back({static_cast<int>(handle.native()), std::move(onReadable)});
}

void PollMessagePump::pollOnce(int timeout_ms, int arrivalFd) {
    std::vector<pollfd> fds;
    if (arrivalFd >= 0) fds.push_back({arrivalFd, POLLIN, 0});
    for (const auto& w : watched_) fds.push_back({w.fd, POLLIN, 0});
    if (::poll(fds.data(), fds.size(), timeout_ms) <= 0) return;
    std::size_t at = 0;
    if (arrivalFd >= 0) {
        if (fds[at].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const auto n = ::read(arrivalFd, &count, sizeof count);
        }
        ++at;
    }
    for (const auto& w : watched_) {
        if (fds[at++].revents & POLLIN) w.onReadable();
    }
}

void PollMessagePump::processMessages(Wait wait, serial::WaitHandle arrival) {
    ++pumps_;
    if (wait == Wait::UntilActivity) {
        const int arrivalFd = arrival.valid() ? static_cast<int>(arrival.native()) : -1;
        pollOnce(static_cast<int>(form_.untilNextTick(kLongestSleep).count()), arrivalFd);
    } else if (!watched_.empty()) {
        pollOnce(0, -1);
    }
    form_.deliverDueTick();
    if (hook_) hook_();
}

void PollMessagePump::sleep(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

}  // namespace canprog
