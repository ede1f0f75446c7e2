#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace canprog::testing {

// One of our programs run as its own process, its standard output sent to a file (or
// /dev/null) and its standard error collected.
class Program {
  public:
    Program(const std::string& program, std::vector<std::string> arguments,
            const std::string& stdoutFile = "/dev/null") {
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (auto& a : arguments) argv.push_back(a.data());
        argv.push_back(nullptr);
        int errPipe[2];
        ::pipe(errPipe);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, stdoutFile.c_str(), O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
        posix_spawn_file_actions_addclose(&actions, errPipe[0]);
        ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(errPipe[1]);
        errFd_ = errPipe[0];
        arguments_ = std::move(arguments);
    }
    ~Program() {
        if (pid_ > 0 && !waited_) {
            ::kill(pid_, SIGKILL);
            wait();
        }
        if (errFd_ >= 0) ::close(errFd_);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    pid_t pid() const { return pid_; }

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
    bool waited_ = false;
    std::vector<std::string> arguments_;
    std::string stderr_;
};

}  // namespace canprog::testing
