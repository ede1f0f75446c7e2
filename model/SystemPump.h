#pragma once

#include <chrono>
#include <functional>
#include <vector>

#include "model/MainForm.h"
#include "wait/MessagePump.h"

namespace canprog {

// The pump of a front end without a window toolkit. It sleeps until a received byte, the next
// tick of the timeout ticker, or a watched handle (a signalfd or the Ctrl-C event) wakes it,
// then delivers at most one tick. How it sleeps is the system's: poll(2) on POSIX,
// WaitForMultipleObjects on Windows, each in its own file.
class SystemPump : public MessagePump {
  public:
    explicit SystemPump(MainForm& form) : form_(form) {}

    // Calls `onReady` on the pump's thread whenever `handle` is readable or signalled.
    void watch(serial::WaitHandle handle, std::function<void()> onReady);
    // Runs at every pump, as window events would: tests click through it.
    void onPump(std::function<void()> hook) { hook_ = std::move(hook); }

    void processMessages(Wait wait = Wait::None,
                         serial::WaitHandle arrival = serial::WaitHandle()) override;
    void sleep(std::chrono::milliseconds duration) override;

    int pumps() const { return pumps_; }

  private:
    struct Watched {
        serial::WaitHandle handle;
        std::function<void()> onReady;
    };
    // The system's part: sleeps at most `timeout` until `arrival` (when valid; its signal is
    // then cleared) or a watched handle wakes it, and calls the woken handles' callbacks.
    void waitOnce(std::chrono::milliseconds timeout, serial::WaitHandle arrival);

    MainForm& form_;
    std::vector<Watched> watched_;
    std::function<void()> hook_;
    int pumps_ = 0;
};

}  // namespace canprog
