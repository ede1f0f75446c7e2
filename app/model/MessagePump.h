#pragma once

#include <chrono>

namespace canprog {

// How the front end lets the window live while an operation waits on the user-interface
// thread. Implemented by the Qt window and by the command-line front end.
class MessagePump {
  public:
    enum class Wait {
        None,          // handle what is pending and return at once
        UntilActivity  // first sleep until a window event, a received byte or the next tick
    };

    virtual ~MessagePump() = default;

    // Processes pending window messages once: at most one due tick of the timeout ticker,
    // clicks (Cancel among them), repaints. With Wait::UntilActivity it first sleeps until a
    // window event comes, the next tick falls due, or `arrivalFd` (when not -1) becomes
    // readable; it then reads that descriptor empty.
    virtual void processMessages(Wait wait = Wait::None, int arrivalFd = -1) = 0;

    // Sleeps the calling thread. Ticks that fall due meanwhile merge into one, delivered at the
    // next processMessages.
    virtual void sleep(std::chrono::milliseconds duration) = 0;
};

}  // namespace canprog
