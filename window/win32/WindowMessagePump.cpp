#include "WindowMessagePump.h"

#include <string_view>
#include <thread>

namespace canprog::win32window {

void WindowMessagePump::dispatch(MSG& message) {
    if (shortcuts_ && shortcuts_(message)) return;
    for (HWND window : dialogWindows_) {
        if (::IsWindow(window) && ::IsDialogMessageW(window, &message)) return;
    }
    // A modeless dialog (the question before a write is stopped) answers Tab, Enter and Escape
    // as every dialog does.
    if (HWND root = message.hwnd ? ::GetAncestor(message.hwnd, GA_ROOT) : nullptr) {
        wchar_t className[16] = {};
        ::GetClassNameW(root, className, 15);
        if (std::wstring_view(className) == L"#32770" && ::IsDialogMessageW(root, &message)) {
            return;
        }
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

void WindowMessagePump::processMessages(Wait wait, serial::WaitHandle arrival) {
    if (wait == Wait::UntilActivity) {
        const auto timeout_ms = form_.untilNextTick(kLongestSleep).count();
        HANDLE event = arrival.valid() ? reinterpret_cast<HANDLE>(arrival.native()) : nullptr;
        const DWORD count = event ? 1 : 0;
        DWORD woken = WAIT_TIMEOUT;
        if (!quitRequested_) {
            woken = ::MsgWaitForMultipleObjectsEx(count, event ? &event : nullptr,
                                                  static_cast<DWORD>(timeout_ms), QS_ALLINPUT,
                                                  MWMO_INPUTAVAILABLE);
        } else if (event) {
            // The window is gone: only the port and the countdown can end the wait.
            woken = ::WaitForSingleObject(event, static_cast<DWORD>(timeout_ms));
        } else {
            ::Sleep(static_cast<DWORD>(timeout_ms));
        }
        if (event && woken == WAIT_OBJECT_0) ::ResetEvent(event);
    }
    form_.deliverDueTick();
    MSG message;
    while (!quitRequested_ && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The program is to end: a running operation is cancelled and ends at its next
            // wait, and the main loop then returns.
            quitRequested_ = true;
            exitCode_ = static_cast<int>(message.wParam);
            if (form_.operationRunning()) form_.Button1Click();
            break;
        }
        dispatch(message);
    }
    if (hook_) hook_();
}

void WindowMessagePump::sleep(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

int WindowMessagePump::run() {
    MSG message;
    while (!quitRequested_) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            exitCode_ = static_cast<int>(message.wParam);
            break;
        }
        if (got < 0) break;
        dispatch(message);
    }
    quitRequested_ = true;
    return exitCode_;
}

}  // namespace canprog::win32window
