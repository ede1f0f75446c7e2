#pragma once

#include <functional>
#include <vector>

#include "model/MainForm.h"
#include "model/MessagePump.h"

namespace canprog {

// A pump for front ends without a window on Windows: it sleeps in WaitForMultipleObjects until
// a received byte, the next tick of the timeout ticker, or a watched handle (the Ctrl-C event)
// wakes it, then delivers at most one tick.
class WaitMessagePump : public MessagePump {
  public:
    explicit WaitMessagePump(MainForm& form) : form_(form) {}

    // Calls `onSignalled` on the pump's thread whenever `handle` is signalled.
    void watch(serial::WaitHandle handle, std::function<void()> onSignalled);
    // Runs at every pump, as window events would: tests click through it.
    void onPump(std::function<void()> hook) { hook_ = std::move(hook); }

    void processMessages(Wait wait = Wait::None,
                         serial::WaitHandle arrival = serial::WaitHandle()) override;
    void sleep(std::chrono::milliseconds duration) override;

    int pumps() const { return pumps_; }

  private:
    struct Watched {
        serial::WaitHandle handle;
        std::function<void()> onSignalled;
    };
    void waitOnce(unsigned long timeout_ms, serial::WaitHandle arrival);

    MainForm& form_;
    std::vector<Watched> watched_;
    std::function<void()> hook_;
    int pumps_ = 0;
};

}  // namespace canprog
