#include "cli/Console.h"

#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include <atomic>
#include <iostream>
#include <string>

#include "base/win32/WideText.h"

namespace canprog::cli {

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(win32::narrow(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

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

// A console read returns when Ctrl-C is pressed; the interrupt is told apart by its event.
PromptAnswer waitForEnter(Interrupts& interrupts) {
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    if (interrupts.take()) return PromptAnswer::Interrupted;
    if (!read) return PromptAnswer::Quit;
    return line.find_first_of("qQ") != std::string::npos ? PromptAnswer::Quit : PromptAnswer::Next;
}

bool stderrIsTerminal() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

void prepareConsole() {
    // The log's Polish, Czech, Hungarian and Russian letters are UTF-8.
    ::SetConsoleOutputCP(CP_UTF8);
}

}  // namespace canprog::cli
