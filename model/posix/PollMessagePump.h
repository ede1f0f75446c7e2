#pragma once

#include <functional>
#include <vector>

#include "model/MainForm.h"
#include "model/MessagePump.h"

namespace canprog {

// A pump for front ends without a window toolkit: it sleeps in poll(2) until a received byte,
// the next tick of the timeout ticker, or a watched handle (such as a signalfd for Ctrl-C)
// wakes it, then delivers at most one tick.
class PollMessagePump : public MessagePump {
  public:
    explicit PollMessagePump(MainForm& form) : form_(form) {}

    // Calls `onReadable` on the pump's thread whenever `handle` is readable.
    void watch(serial::WaitHandle handle, std::function<void()> onReadable);
    // Runs at every pump, as window events would: tests click through it.
    void onPump(std::function<void()> hook) { hook_ = std::move(hook); }

    void processMessages(Wait wait = Wait::None,
                         serial::WaitHandle arrival = serial::WaitHandle()) override;
    void sleep(std::chrono::milliseconds duration) override;

    int pumps() const { return pumps_; }

  private:
    struct Watched {
        int fd;
        std::function<void()> onReadable;
    };
    void pollOnce(int timeout_ms, int arrivalFd);

    MainForm& form_;
    std::vector<Watched> watched_;
    std::function<void()> hook_;
    int pumps_ = 0;
};

}  // namespace canprog
