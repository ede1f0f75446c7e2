#include "ModuleSession.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>

namespace canprog::cli {

namespace {

// Ctrl-C arrives as a readable descriptor instead of a handler, so that it can press Cancel
// on the pump's own thread.
int interruptDescriptor() {
    sigset_t interrupts;
    sigemptyset(&interrupts);
    sigaddset(&interrupts, SIGINT);
    sigaddset(&interrupts, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &interrupts, nullptr);
    return ::signalfd(-1, &interrupts, SFD_NONBLOCK | SFD_CLOEXEC);
}

}  // namespace

ModuleSession::ModuleSession(const ModuleOptions& options, std::ostream& out, std::ostream& err)
    : cli_(options.languageCode, out),
      pump_(cli_.form()),
      operations_(cli_.form(), help_, pump_),
      interrupts_(interruptDescriptor()),
      err_(err),
      showProgress_(&err == &std::cerr && ::isatty(STDERR_FILENO)) {
    form().selectPort(options.port - 1);
    if (!options.device.empty()) operations_.ComPort().SetDevicePath(options.device);
    if (!options.traceFile.empty()) {
        operations_.ComPort().SetTraceName(options.traceFile);
        operations_.ComPort().SetTracing(serial::TTraceLogState::tlOn);
    }
    if (interrupts_.valid()) {
        pump_.watch(interrupts_.get(), [this] {
            signalfd_siginfo info{};
            [[maybe_unused]] const auto n = ::read(interrupts_.get(), &info, sizeof info);
            form().click(Ctl::Button1);
        });
    }
    form().addListener(this);
}

ModuleSession::~ModuleSession() {
    form().removeListener(this);
    if (showProgress_) err_ << '\n';
}

void ModuleSession::controlChanged(Ctl id, Change what) {
    if (!showProgress_ || id != Ctl::ProgressBar || what != Change::Progress) return;
    const ControlState& bar = form().control(id);
    const int span = std::max(1, bar.maximum - bar.minimum);
    const int filled = 40 * (bar.position - bar.minimum) / span;
    err_ << "\r[" << std::string(static_cast<std::size_t>(std::clamp(filled, 0, 40)), '#')
         << std::string(static_cast<std::size_t>(40 - std::clamp(filled, 0, 40)), ' ') << "] "
         << bar.position << '/' << bar.maximum << std::flush;
}

void ModuleSession::reportEscapedError(const std::exception& error) {
    err_ << (showProgress_ ? "\n" : "") << error.what() << '\n';
    try {
        operations_.ComPort().SetOpen(false);
    } catch (...) {}
}

}  // namespace canprog::cli
