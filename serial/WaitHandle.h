#pragma once

#include <cstdint>

namespace canprog::serial {

// Something a thread can sleep on until another thread signals it: an eventfd on POSIX, an
// event object on Windows. Opaque above the platform files, which alone look inside.
class WaitHandle {
  public:
    WaitHandle() = default;
    explicit WaitHandle(std::intptr_t native) : native_(native), valid_(true) {}

    bool valid() const { return valid_; }
    std::intptr_t native() const { return native_; }

  private:
    std::intptr_t native_ = 0;
    bool valid_ = false;
};

}  // namespace canprog::serial
