#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "model/MainForm.h"
#include "wait/MessagePump.h"

namespace canprog::win32window {

// The window's message loop, and the pump that keeps the window alive while an operation
// waits: it sleeps in MsgWaitForMultipleObjectsEx until a window message comes, a byte arrives
// (the port's event) or the next tick of the timeout ticker falls due, then delivers at most
// one tick and dispatches every pending message, so that Cancel, the countdown and the
// progress bars stay live and nothing spins.
class WindowMessagePump : public MessagePump {
  public:
    explicit WindowMessagePump(MainForm& form) : form_(form) {}

    // Windows whose keyboard navigation (Tab, arrows, Enter) works as in a dialog.
    void addDialogWindow(HWND window) { dialogWindows_.push_back(window); }
    // Keys the window takes before the dialog navigation does (Ctrl+Tab between the pages);
    // the handler answers whether it took the message.
    void setShortcuts(std::function<bool(const MSG&)> shortcuts) {
        shortcuts_ = std::move(shortcuts);
    }
    // Runs at every pump; tests click through it.
    void onPump(std::function<void()> hook) { hook_ = std::move(hook); }

    void processMessages(Wait wait = Wait::None,
                         serial::WaitHandle arrival = serial::WaitHandle()) override;
    void sleep(std::chrono::milliseconds duration) override;

    // Runs the window until the program is asked to end; its exit code.
    int run();
    // True once WM_QUIT came, in the main loop or inside an operation's wait.
    bool quitRequested() const { return quitRequested_; }

    // Dispatches one message to its window.
    void dispatch(MSG& message);

  private:
    MainForm& form_;
    std::vector<HWND> dialogWindows_;
    std::function<void()> hook_;
    std::function<bool(const MSG&)> shortcuts_;
    bool quitRequested_ = false;
    int exitCode_ = 0;
};

}  // namespace canprog::win32window
