#pragma once

#include <chrono>

#include "serial/WaitHandle.h"
#include "serial/WaitPump.h"

namespace canprog {

// How the front end lets the window live while an operation waits on the user-interface
// thread. Implemented by each window and by the command-line front end.
class MessagePump : public serial::WaitPump {
  public:
    enum class Wait {
        None,          // handle what is pending and return at once
        UntilActivity  // first sleep until a window event, a received byte or the next tick
    };

    // Processes pending window messages once: at most one due tick of the timeout ticker,
    // clicks (Cancel among them), repaints. With Wait::UntilActivity it first sleeps until a
    // window event comes, the next tick falls due, or `arrival` (when valid) is signalled; it
    // then clears that signal. It never sleeps longer than kLongestSleep.
    virtual void processMessages(Wait wait = Wait::None,
                                 serial::WaitHandle arrival = serial::WaitHandle()) = 0;

    // Sleeps the calling thread. Ticks that fall due meanwhile merge into one, delivered at the
    // next processMessages.
    virtual void sleep(std::chrono::milliseconds duration) = 0;

    // The serial layer's waits for its own threads pump like an operation's wait.
    void pumpUntil(serial::WaitHandle wake) override { processMessages(Wait::UntilActivity, wake); }

    static constexpr std::chrono::milliseconds kLongestSleep{100};
};

}  // namespace canprog
