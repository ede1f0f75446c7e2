#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "serial/WaitHandle.h"

namespace canprog::cli {

// The console the command line runs in, each system's own behind one header: the arguments,
// Ctrl-C, the prompt between two modules, and the terminal.

// The program's arguments as UTF-8, whatever the system's own code page: on Windows they are
// taken from the wide command line, so that a file name with Polish or Czech letters arrives
// whole.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// What stopped the command from outside.
enum class Interrupt {
    None,
    Cancel,  // Ctrl-C, or a request to terminate
    HangUp,  // the terminal closed (SIGHUP, the console window closed)
};

// Ctrl-C, a request to terminate and the terminal's hang-up as a handle that the pump watches
// instead of a signal handler, so that it can press Cancel on the pump's own thread.
class Interrupts {
  public:
    Interrupts();
    ~Interrupts();
    Interrupts(const Interrupts&) = delete;
    Interrupts& operator=(const Interrupts&) = delete;

    // Signalled while an interrupt is pending; not valid when none can be caught.
    serial::WaitHandle handle() const;
    // Takes the pending interrupt; None when there was none.
    Interrupt take();

  private:
    std::intptr_t native_ = -1;  // the signalfd, or the console event
};

enum class PromptAnswer { Next, Quit, Interrupted, HungUp };

// Waits for the user at the terminal: Enter for the next module, "q" (or the end of the
// input) to stop; Ctrl-C stops too (Interrupted), and so does a hang-up (HungUp). Nothing else
// wakes it. What was typed at a terminal before the prompt (an Enter pressed while the last module
// was written) is thrown away first.
PromptAnswer waitForEnter(Interrupts& interrupts);

// Whether the standard error stream is a terminal (a console on Windows), where a progress
// line can be drawn in place.
bool stderrIsTerminal();
// How many columns the standard error's terminal has now; 0 when it does not say.
int stderrColumns();

// Keeps the system from sleeping while `on` (on Windows, the thread's execution state; a
// terminal on Linux has no lock of its own to take and goes on without).
void keepSystemAwake(bool on);

// The console as the program found it, prepared for the program while it runs and put back
// when it ends: the terminal shows the UTF-8 output as letters (a Windows console takes the
// output code page, restored at the end), an output whose reader has gone (a pipe into `head`)
// makes writes fail instead of ending the program in the middle of a module, and a standard
// stream that was closed at the start is held open on the null device, so that no file or
// port the program opens takes its place.
class PreparedConsole {
  public:
    PreparedConsole();
    ~PreparedConsole();
    PreparedConsole(const PreparedConsole&) = delete;
    PreparedConsole& operator=(const PreparedConsole&) = delete;

    // Whether standard output (1) or standard error (2) was closed when the program started:
    // whatever is written there is lost.
    bool closedAtStart(int stream) const { return stream == 1 ? outputClosed_ : errorClosed_; }

  private:
    unsigned previousCodePage_ = 0;
    bool outputClosed_ = false;
    bool errorClosed_ = false;
};

// Writes bytes to standard output (1) or standard error (2) as they are, whole; 0, or the
// system's error number when they could not all be written.
int writeStandardStream(int stream, const char* data, std::size_t size);

}  // namespace canprog::cli
