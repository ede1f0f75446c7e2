#pragma once

#include <chrono>
#include <cstdint>

#include "WaitHandle.h"

namespace canprog::serial {

// A signal between threads that stays set until it is cleared, and that a pump can sleep on
// through its handle. Each system implements it with its own waitable object.
class WakeSignal {
  public:
    WakeSignal();
    ~WakeSignal();
    WakeSignal(const WakeSignal&) = delete;
    WakeSignal& operator=(const WakeSignal&) = delete;

    void signal() const;
    void clear() const;
    // Sleeps up to `timeout` until the signal is set; true when it is.
    bool wait(std::chrono::milliseconds timeout) const;
    WaitHandle handle() const { return WaitHandle(native_); }

  private:
    std::intptr_t native_;
};

}  // namespace canprog::serial
