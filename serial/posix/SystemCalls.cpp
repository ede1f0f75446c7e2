#include "SystemCalls.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <thread>

namespace canprog::serial {

int SystemCalls::open(const char* path, int flags) {
    return ::open(path, flags);
}
int SystemCalls::fstat(int fd, struct stat* status) {
    return ::fstat(fd, status);
}
int SystemCalls::close(int fd) {
    return ::close(fd);
}
ssize_t SystemCalls::read(int fd, void* buffer, size_t size) {
    return ::read(fd, buffer, size);
}
ssize_t SystemCalls::write(int fd, const void* buffer, size_t size) {
    return ::write(fd, buffer, size);
}
int SystemCalls::poll(pollfd* fds, nfds_t count, int timeout_ms) {
    return ::poll(fds, count, timeout_ms);
}
int SystemCalls::ioctl(int fd, unsigned long request, void* argument) {
    return ::ioctl(fd, request, argument);
}
int SystemCalls::tcgetattr(int fd, termios* settings) {
    return ::tcgetattr(fd, settings);
}
int SystemCalls::tcsetattr(int fd, int when, const termios* settings) {
    return ::tcsetattr(fd, when, settings);
}
int SystemCalls::tcflush(int fd, int queue) {
    return ::tcflush(fd, queue);
}
int SystemCalls::flock(int fd, int operation) {
    return ::flock(fd, operation);
}
void SystemCalls::sleep(std::chrono::microseconds duration) {
    std::this_thread::sleep_for(duration);
}

SystemCalls& systemCalls() {
    static SystemCalls real;
    return real;
}

}  // namespace canprog::serial
