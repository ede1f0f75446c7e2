#include "serial/WakeSignal.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace canprog::serial {

// An eventfd: readable from the first signal until it is read empty.
WakeSignal::WakeSignal() : native_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (native_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

WakeSignal::~WakeSignal() {
    ::close(static_cast<int>(native_));
}

void WakeSignal::signal() const {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(static_cast<int>(native_), &one, sizeof one);
}

void WakeSignal::clear() const {
    std::uint64_t count = 0;
    [[maybe_unused]] const auto read = ::read(static_cast<int>(native_), &count, sizeof count);
}

bool WakeSignal::wait(std::chrono::milliseconds timeout) const {
    pollfd fd{static_cast<int>(native_), POLLIN, 0};
    return ::poll(&fd, 1, static_cast<int>(timeout.count())) > 0;
}

}  // namespace canprog::serial
