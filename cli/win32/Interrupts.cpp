#include "cli/Interrupts.h"

#include <windows.h>

#include <atomic>

namespace canprog::cli {

namespace {

// The event that Ctrl-C sets. A console control handler is a plain function called on a
// thread of the system's, so the event it sets must be reachable from there.
std::atomic<HANDLE> interruptEvent{nullptr};

BOOL WINAPI onConsoleControl(DWORD control) {
    if (control != CTRL_C_EVENT && control != CTRL_BREAK_EVENT && control != CTRL_CLOSE_EVENT) {
        return FALSE;
    }
    if (const HANDLE event = interruptEvent.load()) ::SetEvent(event);
    return TRUE;  // handled: the process goes on and cancels what it does
}

}  // namespace

Interrupts::Interrupts() {
    const HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!event) return;
    native_ = reinterpret_cast<std::intptr_t>(event);
    interruptEvent = event;
    ::SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

Interrupts::~Interrupts() {
    if (native_ == -1) return;
    ::SetConsoleCtrlHandler(onConsoleControl, FALSE);
    interruptEvent = nullptr;
    ::CloseHandle(reinterpret_cast<HANDLE>(native_));
}

serial::WaitHandle Interrupts::handle() const {
    return native_ != -1 ? serial::WaitHandle(native_) : serial::WaitHandle();
}

bool Interrupts::take() {
    if (native_ == -1) return false;
    const HANDLE event = reinterpret_cast<HANDLE>(native_);
    if (::WaitForSingleObject(event, 0) != WAIT_OBJECT_0) return false;
    ::ResetEvent(event);
    return true;
}

}  // namespace canprog::cli
