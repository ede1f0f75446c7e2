#include "cli/Prompt.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace canprog::cli {

PromptAnswer waitForEnter(Interrupts& interrupts) {
    std::string line;
    for (;;) {
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0},
                         {static_cast<int>(interrupts.handle().native()), POLLIN, 0}};
        const nfds_t count = interrupts.handle().valid() ? 2 : 1;
        if (::poll(fds, count, -1) < 0) {
            if (errno == EINTR) continue;
            return PromptAnswer::Quit;
        }
        if (count == 2 && (fds[1].revents & POLLIN) && interrupts.take()) {
            return PromptAnswer::Interrupted;
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

}  // namespace canprog::cli
