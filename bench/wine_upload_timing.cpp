// A firmware write by canprog-cli on Linux, by canprog-cli.exe under Wine and by the two minimal
// Windows programs under the same Wine (the yardsticks: what any Windows program pays there,
// synchronously and with the dispatcher's overlapped I/O and threads), each against a fresh
// canprog-sim with the line paced at 9600 baud 8N1. For each: the time from the first frame to
// the last as the module saw them, against the wire time of the bytes in between (frames and
// status bytes); and the CPU the writing process used (with the Wine server's) against its wall
// time. Then canprog-cli.exe against each yardstick.
//
// Usage: wine_upload_timing CLI_EXE [FIRMWARE [MINIMAL_EXE]]   (from the checkout's root;
// WINEPREFIX set; MINIMAL_EXE defaults to build-windows/bench/win32/minimal_write.exe, built by
// cmake --build build-windows --target minimal_write)
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr double kByteTime_s = 10.0 / 9600.0;

pid_t spawn(const std::vector<std::string>& command, const std::string& out) {
    std::vector<char*> argv;
    for (const auto& a : command) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// CPU seconds a running process has used so far (user and system), from /proc.
double processCpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    unsigned long long user = 0;
    unsigned long long system = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) user = std::stoull(field);
        if (i == 15) system = std::stoull(field);
    }
    return static_cast<double>(user + system) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

struct Run {
    double frameSpan_s = 0;
    double wire_s = 0;
    double wall_s = 0;
    double cpu_s = 0;
    double serverCpu_s = 0;  // the Wine server's share of cpu_s
    int frames = 0;
    int exitCode = -1;
};

enum class Writer { LinuxCli, WindowsCli, Yardstick, ThreadedYardstick };

Run writeOnce(const std::vector<std::string>& cli, const std::string& firmware, Writer writer,
              pid_t wineServer = -1) {
    const bool wine = writer != Writer::LinuxCli;
    const fs::path work =
        fs::temp_directory_path() / ("canprog-cross-" + std::to_string(::getpid()));
    fs::create_directories(work);
    const std::string journal = (work / "journal.jsonl").string();
    const pid_t sim = spawn({"build/sim/canprog-sim", "--line-rate", "--journal", journal},
                            (work / "sim.out").string());
    std::string device;
    for (int i = 0; i < 100 && device.empty(); ++i) {
        ::usleep(20000);
        std::ifstream out(work / "sim.out");
        std::getline(out, device);
    }
    std::vector<std::string> command = cli;
    if (wine) {
        const fs::path com5 = fs::path(std::getenv("WINEPREFIX")) / "dosdevices" / "com5";
        fs::remove(com5);
        fs::create_symlink(device, com5);
    }
    switch (writer) {
        case Writer::LinuxCli:
            command.insert(command.end(), {"--device", device, "write", "--no-verify", firmware});
            break;
        case Writer::WindowsCli:
            command.insert(command.end(), {"--port", "5", "write", "--no-verify", firmware});
            break;
        case Writer::Yardstick: command.insert(command.end(), {"5", firmware}); break;
        case Writer::ThreadedYardstick:
            command.insert(command.end(), {"--threaded", "5", firmware});
            break;
    }

    const pid_t server = wine ? wineServer : -1;
    const double serverBefore = server > 0 ? processCpuSeconds(server) : 0;
    const auto start = Clock::now();
    const pid_t process = spawn(command, (work / "cli.out").string());
    int status = 0;
    rusage usage{};
    ::wait4(process, &status, 0, &usage);
    Run run;
    run.wall_s = std::chrono::duration<double>(Clock::now() - start).count();
    run.cpu_s = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    if (server > 0) run.serverCpu_s = processCpuSeconds(server) - serverBefore;
    run.cpu_s += run.serverCpu_s;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ::kill(sim, SIGTERM);
    ::waitpid(sim, nullptr, 0);

    // From the first frame's last byte to the last frame's: every byte between them on the
    // wire, both ways, is the wire time the tool cannot go below.
    std::ifstream lines(journal);
    std::int64_t first_us = -1;
    std::int64_t last_us = 0;
    std::size_t bytes = 0;
    for (std::string line; std::getline(lines, line);) {
        const auto frame = nlohmann::json::parse(line);
        const std::int64_t at = frame["received_at_us"];
        const std::size_t length = frame["length"];
        const std::size_t replyBytes = frame["reply"].get<std::string>().size() / 2;
        if (first_us < 0) {
            first_us = at;
            bytes += replyBytes;  // the first frame's own bytes came before the span
        } else {
            bytes += 5 + length + (length > 0 ? 1 : 0) + replyBytes;
        }
        last_us = at;
        ++run.frames;
    }
    run.frameSpan_s = static_cast<double>(last_us - first_us) / 1e6;
    run.wire_s = static_cast<double>(bytes) * kByteTime_s;
    fs::remove_all(work);
    return run;
}

void print(const char* name, const Run& run) {
    std::printf(
        "%-22s exit %d, %d frames: frames %.2f s against wire %.2f s = %.4f; CPU %.2f s = "
        "%.2f %% of %.2f s (of it the Wine server %.2f s)\n",
        name, run.exitCode, run.frames, run.frameSpan_s, run.wire_s, run.frameSpan_s / run.wire_s,
        run.cpu_s, 100.0 * run.cpu_s / run.wall_s, run.wall_s, run.serverCpu_s);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !std::getenv("WINEPREFIX")) {
        std::fprintf(stderr, "usage: WINEPREFIX=... wine_upload_timing CLI_EXE [FIRMWARE]\n");
        return 1;
    }
    const std::string firmware = argc > 2 ? argv[2] : "samples/demo.hexfw";
    const std::string minimal = argc > 3 ? argv[3] : "build-windows/bench/win32/minimal_write.exe";
    // One Wine server for every Wine run, kept until the end, so that its CPU is counted.
    const pid_t server =
        spawn({"/usr/lib/wine/wineserver64", "--foreground", "--persistent"}, "/dev/null");
    ::usleep(500000);
    const std::string wine64 = "/usr/lib/wine/wine64";
    const Run linux = writeOnce({"build/cli/canprog-cli"}, firmware, Writer::LinuxCli);
    const Run wine = writeOnce({wine64, argv[1]}, firmware, Writer::WindowsCli, server);
    const Run yardstick = writeOnce({wine64, minimal}, firmware, Writer::Yardstick, server);
    const Run threaded = writeOnce({wine64, minimal}, firmware, Writer::ThreadedYardstick, server);
    ::kill(server, SIGTERM);
    ::waitpid(server, nullptr, 0);
    print("canprog-cli (Linux)", linux);
    print("canprog-cli.exe (Wine)", wine);
    print("minimal synchronous", yardstick);
    print("minimal threaded", threaded);
    std::printf("canprog-cli.exe against the minimal synchronous program: %.4f\n",
                wine.frameSpan_s / yardstick.frameSpan_s);
    std::printf("canprog-cli.exe against the minimal threaded program:    %.4f\n",
                wine.frameSpan_s / threaded.frameSpan_s);
    std::printf("per frame beyond the synchronous program: canprog %.2f ms, threaded %.2f ms\n",
                1000.0 * (wine.frameSpan_s - yardstick.frameSpan_s) / wine.frames,
                1000.0 * (threaded.frameSpan_s - yardstick.frameSpan_s) / threaded.frames);
    const bool allWritten = linux.exitCode == 0 && wine.exitCode == 0 && yardstick.exitCode == 0 &&
                            threaded.exitCode == 0;
    return allWritten ? 0 : 1;
}
