#pragma once

#include <cstdint>

#include "serial/WaitHandle.h"

namespace canprog::cli {

// Ctrl-C (and a request to terminate) as a handle that the pump watches instead of a signal
// handler, so that it can press Cancel on the pump's own thread. Each system has its own.
class Interrupts {
  public:
    Interrupts();
    ~Interrupts();
    Interrupts(const Interrupts&) = delete;
    Interrupts& operator=(const Interrupts&) = delete;

    // Signalled while an interrupt is pending; not valid when none can be caught.
    serial::WaitHandle handle() const;
    // Takes the pending interrupt; true when there was one.
    bool take();

  private:
    std::intptr_t native_ = -1;  // the signalfd, or the console event
};

}  // namespace canprog::cli
