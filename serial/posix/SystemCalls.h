#pragma once

#include <poll.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <termios.h>

#include <chrono>

namespace canprog::serial {

// The system calls under the serial layer, behind one seam: tests replace single calls to make
// a read fail with EIO, a write return EAGAIN or a modem-line call answer ENOTTY. Each call
// returns what the system call returns and leaves errno as it leaves it.
class SystemCalls {
  public:
    virtual ~SystemCalls() = default;

    virtual int open(const char* path, int flags);
    virtual int close(int fd);
    virtual ssize_t read(int fd, void* buffer, size_t size);
    virtual ssize_t write(int fd, const void* buffer, size_t size);
    virtual int poll(pollfd* fds, nfds_t count, int timeout_ms);
    virtual int ioctl(int fd, unsigned long request, void* argument);
    virtual int tcgetattr(int fd, termios* settings);
    virtual int tcsetattr(int fd, int when, const termios* settings);
    virtual int tcflush(int fd, int queue);
    virtual int flock(int fd, int operation);
    virtual int fstat(int fd, struct stat* status);
    virtual void sleep(std::chrono::microseconds duration);
};

// The real calls.
SystemCalls& systemCalls();

}  // namespace canprog::serial
