#pragma once

#include "model/MainForm.h"
#include "wait/MessagePump.h"

namespace canprog::window {

// The window's pump: Qt's event loop with the model's 30 ms ticker, at most one tick a pump.
class QtMessagePump : public MessagePump {
  public:
    explicit QtMessagePump(MainForm& form) : form_(form) {}

    void processMessages(Wait wait, serial::WaitHandle arrival) override;
    void sleep(std::chrono::milliseconds duration) override;

  private:
    MainForm& form_;
};

}  // namespace canprog::window
