#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <system_error>

#include <string>
#include <vector>

extern char** environ;

namespace canprog::testing {

// One of our programs run as its own process, its standard output sent to a file (or
// /dev/null) and its standard error collected.
class Program {
  public:
    // No input, a pipe the test types into, or the terminal named by `inputTerminal`.
    enum class Input { None, Pipe, Terminal };

    Program(const std::string& program, std::vector<std::string> arguments,
            const std::string& stdoutFile = "/dev/null", Input input = Input::None,
            const std::string& inputTerminal = {}) {
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (auto& a : arguments) argv.push_back(a.data());
        argv.push_back(nullptr);
        int errPipe[2];
        if (::pipe(errPipe) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, stdoutFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
        posix_spawn_file_actions_addclose(&actions, errPipe[0]);
        int inPipe[2] = {-1, -1};
        if (input == Input::Pipe) {
            if (::pipe(inPipe) != 0)
                throw std::system_error(errno, std::generic_category(), "pipe");
            posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
            posix_spawn_file_actions_addclose(&actions, inPipe[1]);
        } else if (input == Input::Terminal) {
            posix_spawn_file_actions_addopen(&actions, 0, inputTerminal.c_str(), O_RDWR | O_NOCTTY,
                                             0);
        } else {
            posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        }
        const int spawned =
            ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(errPipe[1]);
        errFd_ = errPipe[0];
        if (input == Input::Pipe) {
            ::close(inPipe[0]);
            inFd_ = inPipe[1];
        }
        if (spawned != 0) {
            // A throwing constructor runs no destructor: let go of the pipes here.
            ::close(errFd_);
            if (inFd_ >= 0) ::close(inFd_);
            throw std::system_error(spawned, std::generic_category(), program);
        }
        arguments_ = std::move(arguments);
    }
    ~Program() {
        if (pid_ > 0 && !waited_) {
            ::kill(pid_, SIGKILL);
            wait();
        }
        if (errFd_ >= 0) ::close(errFd_);
        closeInput();
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    pid_t pid() const { return pid_; }

    // Types `text` at the program's standard input (with Input::Pipe).
    void type(const std::string& text) const {
        [[maybe_unused]] const auto written = ::write(inFd_, text.data(), text.size());
    }
    void closeInput() {
        if (inFd_ >= 0) ::close(inFd_);
        inFd_ = -1;
    }

    // Waits for the end; the exit code, or 128 + the signal that ended it.
    int wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        waited_ = true;
        char buffer[512];
        ssize_t n = 0;
        while ((n = ::read(errFd_, buffer, sizeof buffer)) > 0) stderr_.append(buffer, n);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    const std::string& errors() const { return stderr_; }

  private:
    pid_t pid_ = -1;
    int errFd_ = -1;
    int inFd_ = -1;
    bool waited_ = false;
    std::vector<std::string> arguments_;
    std::string stderr_;
};

}  // namespace canprog::testing
