// One-byte round trips on a pseudo-terminal: through the serial port component, waiting on its
// arrival notification, against a plain blocking termios read/write loop, in one run.
// Prints the median and 99th percentile of each, their ratio, and the CPU time the component's
// caller spent while waiting.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

#include "serial/SlPort.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRoundTrips = 2000;

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

struct Pty {
    int master = -1;
    int slave = -1;
    std::string path;
    Pty() {
        openpty(&master, &slave, nullptr, nullptr, nullptr);
        termios raw{};
        tcgetattr(slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave, TCSANOW, &raw);
        tcgetattr(master, &raw);
        cfmakeraw(&raw);
        tcsetattr(master, TCSANOW, &raw);
        path = ttyname(slave);
    }
    ~Pty() {
        if (slave >= 0) close(slave);
        close(master);
    }
};

// Echoes every byte from the master side back, until told to stop.
void echo(int master, const std::atomic<bool>& stop) {
    while (!stop) {
        pollfd fd{master, POLLIN, 0};
        if (poll(&fd, 1, 50) <= 0) continue;
        unsigned char b = 0;
        if (read(master, &b, 1) == 1) {
            [[maybe_unused]] auto n = write(master, &b, 1);
        }
    }
}

struct Stats {
    double median_us;
    double p99_us;
};

Stats summarise(std::vector<double>& samples) {
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples[samples.size() * 99 / 100]};
}

Stats plainLoop() {
    Pty pty;
    std::atomic<bool> stop{false};
    std::thread echoer(echo, pty.master, std::cref(stop));
    std::vector<double> samples;
    for (int i = 0; i < kRoundTrips; ++i) {
        unsigned char b = static_cast<unsigned char>(i);
        const auto start = Clock::now();
        [[maybe_unused]] auto w = write(pty.slave, &b, 1);
        [[maybe_unused]] auto r = read(pty.slave, &b, 1);
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    stop = true;
    echoer.join();
    return summarise(samples);
}

Stats componentLoop(double& waitingCpuSeconds, double& wallSeconds, double& idleCpuSeconds) {
    Pty pty;
    close(pty.slave);
    pty.slave = -1;
    std::atomic<bool> stop{false};
    std::thread echoer(echo, pty.master, std::cref(stop));
    canprog::serial::TSlioComPort port;
    port.SetDevicePath(pty.path);
    port.SetBaud(9600);
    port.SetOpen(true);
    std::vector<double> samples;
    const double cpuBefore = threadCpuSeconds();
    const auto wallBefore = Clock::now();
    for (int i = 0; i < kRoundTrips; ++i) {
        const auto start = Clock::now();
        port.WriteByte(static_cast<std::uint8_t>(i));
        while (!port.ByteAvailable()) {
            pollfd fd{static_cast<int>(port.Arrival().native()), POLLIN, 0};
            poll(&fd, 1, -1);
            port.Dispatcher()->ClearArrival();
        }
        port.ReadByte();
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    waitingCpuSeconds = threadCpuSeconds() - cpuBefore;
    wallSeconds = std::chrono::duration<double>(Clock::now() - wallBefore).count();

    // An idle second: the caller waits on the arrival notification and nothing comes.
    const double idleBefore = processCpuSeconds();
    pollfd fd{static_cast<int>(port.Arrival().native()), POLLIN, 0};
    poll(&fd, 1, 1000);
    idleCpuSeconds = processCpuSeconds() - idleBefore;
    port.SetOpen(false);
    stop = true;
    echoer.join();
    return summarise(samples);
}

}  // namespace

int main() {
    const Stats plain = plainLoop();
    double cpu = 0;
    double wall = 0;
    double idle = 0;
    const Stats component = componentLoop(cpu, wall, idle);
    std::printf("round trips: %d each\n", kRoundTrips);
    std::printf("plain termios loop:   median %.1f us, p99 %.1f us\n", plain.median_us,
                plain.p99_us);
    std::printf("component + arrival:  median %.1f us, p99 %.1f us\n", component.median_us,
                component.p99_us);
    std::printf("ratio (component/plain): median %.2f, p99 %.2f\n",
                component.median_us / plain.median_us, component.p99_us / plain.p99_us);
    std::printf("caller CPU during the round trips: %.3f s of %.3f s wall (%.1f %%)\n", cpu, wall,
                100.0 * cpu / wall);
    std::printf("whole process CPU over 1 s of idle waiting (all threads): %.4f s (%.2f %%)\n",
                idle, 100.0 * idle);
    return 0;
}
