#include "ModuleSession.h"

#include <fmt/format.h>
#include <fmt/ostream.h>

#include <algorithm>
#include <iostream>

#include "Console.h"
#include "ExitCodes.h"

namespace canprog::cli {

ModuleSession::ModuleSession(const ModuleOptions& options, std::ostream& out, std::ostream& err,
                             Interrupts& interrupts)
    : cli_(options.languageCode, out, err),
      pump_(cli_.form()),
      operations_(cli_.form(), help_, pump_),
      interrupts_(interrupts),
      err_(err) {
    form().selectPortNumber(options.port);
    operations_.moduleWait = options.moduleWait;
    // A terminal and a pipe get the version as a person reads it: no NUL bytes.
    operations_.versionChecks.readableText = true;
    if (!options.device.empty()) operations_.ComPort().SetDevicePath(options.device);
    if (!options.traceFile.empty()) {
        operations_.ComPort().SetTraceName(options.traceFile);
        operations_.ComPort().SetTracing(serial::TTraceLogState::tlOn);
    }
    if (interrupts_.handle().valid()) {
        pump_.watch(interrupts_.handle(), [this] {
            const Interrupt interrupt = interrupts_.take();
            if (interrupt == Interrupt::None) return;
            interrupted_ = true;
            if (interrupt == Interrupt::HangUp) hungUp_ = true;
            form().Button1Click();
        });
    }
    if (&err == &std::cerr && stderrIsTerminal()) {
        progress_ = std::make_unique<ProgressLine>(form(), operations_.facts(), err, stderrColumns);
        if (options.moduleWait.count() > 0) progress_->showStatusWhileWaiting();
        cli_.beforeEachLine([this] { progress_->end(); });
    }
}

ModuleSession::~ModuleSession() = default;

int ModuleSession::finish(int code) {
    // A command stopped because its terminal went away says so in its exit status.
    if (hungUp_ && code == kExitCancelled) code = kExitHangUp;
    auto& port = operations_.ComPort();
    try {
        port.SetOpen(false);
    } catch (const std::exception&) {
        // The close's own failure is the trace's, kept below.
    }
    if (!port.LastDumpError().empty()) {
        if (progress_) progress_->end();
        fmt::print(err_, "{}: {}\n", port.TraceName(), port.LastDumpError());
        if (code == kExitOk) return kExitOutput;
    }
    return code;
}

void ModuleSession::reportEscapedError(const std::exception& error) {
    if (progress_) progress_->end();
    err_ << error.what() << '\n';
    try {
        operations_.ComPort().SetOpen(false);
    } catch (...) {}
}

}  // namespace canprog::cli
