#include "ModuleSession.h"

#include <fmt/format.h>
#include <fmt/ostream.h>

#include <algorithm>
#include <iostream>

#include "ExitCodes.h"
#include "Terminal.h"

namespace canprog::cli {

ModuleSession::ModuleSession(const ModuleOptions& options, std::ostream& out, std::ostream& err)
    : cli_(options.languageCode, out, err),
      pump_(cli_.form()),
      operations_(cli_.form(), help_, pump_),
      err_(err),
      showProgress_(&err == &std::cerr && stderrIsTerminal()) {
    form().selectPort(options.port - 1);
    if (!options.device.empty()) operations_.ComPort().SetDevicePath(options.device);
    if (!options.traceFile.empty()) {
        operations_.ComPort().SetTraceName(options.traceFile);
        operations_.ComPort().SetTracing(serial::TTraceLogState::tlOn);
    }
    if (interrupts_.handle().valid()) {
        pump_.watch(interrupts_.handle(), [this] {
            if (!interrupts_.take()) return;
            interrupted_ = true;
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

int ModuleSession::finish(int code) {
    auto& port = operations_.ComPort();
    try {
        port.SetOpen(false);
    } catch (const std::exception&) {
        // The close's own failure is the trace's, kept below.
    }
    if (!port.LastDumpError().empty()) {
        fmt::print(err_, "{}{}: {}\n", showProgress_ ? "\n" : "", port.TraceName(),
                   port.LastDumpError());
        if (code == kExitOk) return kExitOutput;
    }
    return code;
}

void ModuleSession::reportEscapedError(const std::exception& error) {
    err_ << (showProgress_ ? "\n" : "") << error.what() << '\n';
    try {
        operations_.ComPort().SetOpen(false);
    } catch (...) {}
}

}  // namespace canprog::cli
