#include "cli/Interrupts.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace canprog::cli {

// SIGINT and SIGTERM are blocked and read from a signalfd, so that they arrive as a readable
// descriptor in the pump rather than in a handler.
Interrupts::Interrupts() {
    sigset_t interrupts;
    sigemptyset(&interrupts);
    sigaddset(&interrupts, SIGINT);
    sigaddset(&interrupts, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &interrupts, nullptr);
    native_ = ::signalfd(-1, &interrupts, SFD_NONBLOCK | SFD_CLOEXEC);
}

Interrupts::~Interrupts() {
    if (native_ >= 0) ::close(static_cast<int>(native_));
}

serial::WaitHandle Interrupts::handle() const {
    return native_ >= 0 ? serial::WaitHandle(native_) : serial::WaitHandle();
}

bool Interrupts::take() {
    if (native_ < 0) return false;
    signalfd_siginfo info{};
    return ::read(static_cast<int>(native_), &info, sizeof info) ==
           static_cast<ssize_t>(sizeof info);
}

}  // namespace canprog::cli
