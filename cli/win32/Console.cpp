#include "cli/Console.h"

#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include <io.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
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

// The event that Ctrl-C sets, whether the console window was closed, and the event that says
// the command is done. A console control handler is a plain function called on a thread of
// the system's, so what it touches must be reachable from there.
std::atomic<HANDLE> interruptEvent{nullptr};
std::atomic<HANDLE> finishedEvent{nullptr};
std::atomic<bool> hangUpPending{false};

// How long Windows lets a process live after its console window was closed, less a margin.
constexpr DWORD kCloseGrace_ms = 4500;

BOOL WINAPI onConsoleControl(DWORD control) {
    const bool closing = control == CTRL_CLOSE_EVENT;
    if (control != CTRL_C_EVENT && control != CTRL_BREAK_EVENT && !closing) return FALSE;
    if (closing) hangUpPending = true;
    if (const HANDLE event = interruptEvent.load()) ::SetEvent(event);
    // After a close the process ends as soon as this returns: the command gets the time
    // Windows allows to stop at the next frame, write its notes and close the port.
    if (closing) {
        if (const HANDLE finished = finishedEvent.load()) {
            ::WaitForSingleObject(finished, kCloseGrace_ms);
        }
    }
    return TRUE;  // handled: the process goes on and cancels what it does
}

}  // namespace

Interrupts::Interrupts() {
    const HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!event) return;
    native_ = reinterpret_cast<std::intptr_t>(event);
    interruptEvent = event;
    finishedEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ::SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

Interrupts::~Interrupts() {
    if (native_ == -1) return;
    ::SetConsoleCtrlHandler(onConsoleControl, FALSE);
    interruptEvent = nullptr;
    if (const HANDLE finished = finishedEvent.exchange(nullptr)) {
        ::SetEvent(finished);  // a close waiting in the handler may end the process now
        ::CloseHandle(finished);
    }
    ::CloseHandle(reinterpret_cast<HANDLE>(native_));
}

serial::WaitHandle Interrupts::handle() const {
    return native_ != -1 ? serial::WaitHandle(native_) : serial::WaitHandle();
}

Interrupt Interrupts::take() {
    if (native_ == -1) return Interrupt::None;
    const HANDLE event = reinterpret_cast<HANDLE>(native_);
    if (::WaitForSingleObject(event, 0) != WAIT_OBJECT_0) return Interrupt::None;
    ::ResetEvent(event);
    return hangUpPending.exchange(false) ? Interrupt::HangUp : Interrupt::Cancel;
}

// A console read returns when Ctrl-C is pressed; the interrupt is told apart by its event.
PromptAnswer waitForEnter(Interrupts& interrupts) {
    DWORD mode = 0;
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    if (::GetConsoleMode(input, &mode)) ::FlushConsoleInputBuffer(input);
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    const Interrupt interrupt = interrupts.take();
    if (interrupt == Interrupt::HangUp) return PromptAnswer::HungUp;
    if (interrupt == Interrupt::Cancel) return PromptAnswer::Interrupted;
    if (!read) return PromptAnswer::Quit;
    return line.find_first_of("qQ") != std::string::npos ? PromptAnswer::Quit : PromptAnswer::Next;
}

bool stderrIsTerminal() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

void keepSystemAwake(bool on) {
    ::SetThreadExecutionState(on ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED : ES_CONTINUOUS);
}

int stderrColumns() {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!::GetConsoleScreenBufferInfo(::GetStdHandle(STD_ERROR_HANDLE), &info)) return 0;
    return info.srWindow.Right - info.srWindow.Left + 1;
}

namespace {
// Whether the process was started without this standard stream.
bool closed(DWORD which) {
    const HANDLE handle = ::GetStdHandle(which);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
}
}  // namespace

PreparedConsole::PreparedConsole()
    : outputClosed_(closed(STD_OUTPUT_HANDLE)), errorClosed_(closed(STD_ERROR_HANDLE)) {
    // The log's Polish, Czech, Hungarian and Russian letters are UTF-8; the console gets its
    // own code page back when the program ends.
    previousCodePage_ = ::GetConsoleOutputCP();
    ::SetConsoleOutputCP(CP_UTF8);
}

PreparedConsole::~PreparedConsole() {
    if (previousCodePage_ != 0) ::SetConsoleOutputCP(previousCodePage_);
}

int writeStandardStream(int stream, const char* data, std::size_t size) {
    while (size > 0) {
        const unsigned chunk = static_cast<unsigned>(std::min<std::size_t>(size, 1u << 20));
        const int wrote = ::_write(stream, data, chunk);
        if (wrote < 0) return errno != 0 ? errno : EIO;
        data += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
    return 0;
}

}  // namespace canprog::cli
