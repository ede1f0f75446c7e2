#include "model/SystemPump.h"

#include <poll.h>
#include <unistd.h>

#include <cstdint>

namespace canprog {

void SystemPump::waitOnce(std::chrono::milliseconds timeout, serial::WaitHandle arrival) {
    const int arrivalFd = arrival.valid() ? static_cast<int>(arrival.native()) : -1;
    std::vector<pollfd> fds;
    if (arrivalFd >= 0) fds.push_back({arrivalFd, POLLIN, 0});
    for (const auto& w : watched_) fds.push_back({static_cast<int>(w.handle.native()), POLLIN, 0});
    if (::poll(fds.data(), fds.size(), static_cast<int>(timeout.count())) <= 0) return;
    std::size_t at = 0;
    if (arrivalFd >= 0) {
        if (fds[at].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const auto n = ::read(arrivalFd, &count, sizeof count);
        }
        ++at;
    }
    for (const auto& w : watched_) {
        if (fds[at++].revents & POLLIN) w.onReady();
    }
}

}  // namespace canprog
