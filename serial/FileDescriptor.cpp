#include "FileDescriptor.h"

#include <sys/eventfd.h>

#include <cstdint>
#include <system_error>

namespace canprog::serial {

WakeSignal::WakeSignal() : fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (!fd_.valid()) throw std::system_error(errno, std::generic_category(), "eventfd");
}

void WakeSignal::signal() const {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(fd_.get(), &one, sizeof one);
}

void WakeSignal::clear() const {
    std::uint64_t count = 0;
    [[maybe_unused]] const auto read = ::read(fd_.get(), &count, sizeof count);
}

}  // namespace canprog::serial
