#include "cli/Console.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/signalfd.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace canprog::cli {

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

// SIGINT, SIGTERM and SIGHUP are blocked and read from a signalfd, so that they arrive as a
// readable descriptor in the pump rather than in a handler.
Interrupts::Interrupts() {
    sigset_t interrupts;
    sigemptyset(&interrupts);
    sigaddset(&interrupts, SIGINT);
    sigaddset(&interrupts, SIGTERM);
    sigaddset(&interrupts, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &interrupts, nullptr);
    native_ = ::signalfd(-1, &interrupts, SFD_NONBLOCK | SFD_CLOEXEC);
}

Interrupts::~Interrupts() {
    if (native_ >= 0) ::close(static_cast<int>(native_));
}

serial::WaitHandle Interrupts::handle() const {
    return native_ >= 0 ? serial::WaitHandle(native_) : serial::WaitHandle();
}

Interrupt Interrupts::take() {
    if (native_ < 0) return Interrupt::None;
    signalfd_siginfo info{};
    if (::read(static_cast<int>(native_), &info, sizeof info) !=
        static_cast<ssize_t>(sizeof info)) {
        return Interrupt::None;
    }
    return info.ssi_signo == SIGHUP ? Interrupt::HangUp : Interrupt::Cancel;
}

PromptAnswer waitForEnter(Interrupts& interrupts) {
    if (::isatty(STDIN_FILENO)) ::tcflush(STDIN_FILENO, TCIFLUSH);
    std::string line;
    for (;;) {
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0},
                         {static_cast<int>(interrupts.handle().native()), POLLIN, 0}};
        const nfds_t count = interrupts.handle().valid() ? 2 : 1;
        if (::poll(fds, count, -1) < 0) {
            if (errno == EINTR) continue;
            return PromptAnswer::Quit;
        }
        if (count == 2 && (fds[1].revents & POLLIN)) {
            const Interrupt interrupt = interrupts.take();
            if (interrupt == Interrupt::HangUp) return PromptAnswer::HungUp;
            if (interrupt == Interrupt::Cancel) return PromptAnswer::Interrupted;
        }
        if (!(fds[0].revents & (POLLIN | POLLHUP))) continue;
        char c = 0;
        const ssize_t got = ::read(STDIN_FILENO, &c, 1);
        if (got <= 0) return PromptAnswer::Quit;  // the input ended
        if (c != '\n') {
            line += c;
            continue;
        }
        return line.find_first_of("qQ") != std::string::npos ? PromptAnswer::Quit
                                                             : PromptAnswer::Next;
    }
}

bool stderrIsTerminal() {
    return ::isatty(STDERR_FILENO) != 0;
}

int stderrColumns() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0) return 0;
    return size.ws_col;
}

void keepSystemAwake(bool) {}

namespace {
// Whether `fd` was closed, in which case the null device now holds its place.
bool holdOpen(int fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) return false;
    const int null = ::open("/dev/null", O_RDWR);  // the lowest free descriptor: `fd`
    if (null >= 0 && null != fd) ::close(null);
    return true;
}
}  // namespace

PreparedConsole::PreparedConsole() {
    holdOpen(STDIN_FILENO);
    outputClosed_ = holdOpen(STDOUT_FILENO);
    errorClosed_ = holdOpen(STDERR_FILENO);
    // A closed pipe is an output that could not be written (EPIPE), found out at the end.
    ::signal(SIGPIPE, SIG_IGN);
}

PreparedConsole::~PreparedConsole() = default;

int writeStandardStream(int stream, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t wrote = ::write(stream, data, size);
        if (wrote < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
    return 0;
}

}  // namespace canprog::cli
