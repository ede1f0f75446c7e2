// A soak of firmware writes: canprog-cli writes a firmware file into canprog-sim N times, each
// run with one fault drawn at random (seeded, so that a run can be repeated), and sometimes a
// Ctrl-C at a random moment. Counts hangs (a run that does not end within its bound), crashes
// (a run ended by a signal it did not ask for), wrong exit codes, and after every successful
// write compares the module's memory with the file's images.
//
// Usage: soak_uploads [N] [SEED] [FIRMWARE]   (defaults 100, 1, samples/demo.hexfw)
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr auto kRunBound = std::chrono::seconds(60);

// A child process with its standard output read through a pipe.
struct Child {
    pid_t pid = -1;
    int out = -1;
};

Child spawn(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const auto& a : command) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    Child child;
    ::posix_spawn(&child.pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    child.out = pipeFds[0];
    return child;
}

// Reads the child's first line of output (the simulator's device path).
std::string firstLine(const Child& child) {
    std::string line;
    char c = 0;
    for (;;) {
        pollfd fd{child.out, POLLIN, 0};
        if (::poll(&fd, 1, 5000) <= 0 || ::read(child.out, &c, 1) != 1 || c == '\n') break;
        line += c;
    }
    return line;
}

// Waits for the child until `deadline`: its exit code, 128 + its signal, or -1 for a hang
// (the child is then killed).
int waitFor(const Child& child, Clock::time_point deadline) {
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(child.pid, &status, WNOHANG);
        if (done == child.pid) break;
        if (Clock::now() >= deadline) {
            ::kill(child.pid, SIGKILL);
            ::waitpid(child.pid, &status, 0);
            return -1;
        }
        // Drain what the child prints, so that it never blocks on a full pipe.
        char sink[512];
        while (::read(child.out, sink, sizeof sink) > 0) {}
        ::usleep(20000);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Fault {
    std::string name;
    std::vector<std::string> options;
    std::vector<int> expected;  // exit codes that are right for it
};

// One fault at random, with the exit codes a correct tool gives for it.
Fault drawFault(std::mt19937& random) {
    auto between = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    switch (between(0, 8)) {
        case 0: return {"none", {}, {0}};
        case 1: return {"no answer", {"--no-answer"}, {4}};
        case 2: {
            const int probe = between(2, 20);
            return {"answer after " + std::to_string(probe),
                    {"--answer-after", std::to_string(probe)},
                    {0}};
        }
        case 3: return {"stray byte", {"--stray-byte", std::to_string(between(0, 255))}, {0}};
        case 4: {
            const std::string reject =
                std::to_string(between(32, 2047)) + ":" + std::to_string(between(1, 255));
            return {"reject flash " + reject, {"--reject-flash", reject}, {6}};
        }
        case 5: {
            const std::string reject =
                std::to_string(between(0, 15)) + ":" + std::to_string(between(1, 255));
            return {"reject eeprom " + reject, {"--reject-eeprom", reject}, {6}};
        }
        case 6: {
            const int frames = between(1, 2030);
            return {"silent after " + std::to_string(frames),
                    {"--silent-after", std::to_string(frames)},
                    {5}};
        }
        case 7: {
            const int frames = between(1, 2030);
            return {"hang-up after " + std::to_string(frames),
                    {"--hangup-after", std::to_string(frames)},
                    {5}};
        }
        default: return {"status cut", {"--cut-reply", "0"}, {5}};
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 100;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1u;
    const std::string firmware = argc > 3 ? argv[3] : "samples/demo.hexfw";
    const std::string cli = CANPROG_CLI_PROGRAM;
    const std::string simulator = CANPROG_SIM_PROGRAM;
    ::signal(SIGPIPE, SIG_IGN);

    const fs::path work =
        fs::temp_directory_path() / ("canprog-soak-" + std::to_string(::getpid()));
    fs::create_directories(work);
    // The file's own images, as a write would send them.
    Child inspect = spawn({cli, "inspect", firmware, "--flash-out", (work / "want.flash").string(),
                           "--eeprom-out", (work / "want.eeprom").string()});
    if (waitFor(inspect, Clock::now() + kRunBound) != 0) {
        std::fprintf(stderr, "%s does not load\n", firmware.c_str());
        return 1;
    }
    ::close(inspect.out);
    const std::string wantFlash = readFile(work / "want.flash");
    const std::string wantEeprom = readFile(work / "want.eeprom");

    std::mt19937 random(seed);
    int hangs = 0, crashes = 0, wrongCodes = 0, memoryMismatches = 0, successes = 0,
        interrupted = 0;
    const auto soakStart = Clock::now();
    for (int run = 1; run <= runs; ++run) {
        Fault fault = drawFault(random);
        // One run in eight gets a Ctrl-C at a random moment of the write.
        const bool interrupt = std::uniform_int_distribution<int>(0, 7)(random) == 0;
        const int interruptAfter_ms = std::uniform_int_distribution<int>(50, 3000)(random);
        fs::remove(work / "flash.bin");
        fs::remove(work / "eeprom.bin");
        std::vector<std::string> simCommand = {simulator, "--flash", (work / "flash.bin").string(),
                                               "--eeprom", (work / "eeprom.bin").string()};
        simCommand.insert(simCommand.end(), fault.options.begin(), fault.options.end());
        Child sim = spawn(simCommand);
        const std::string device = firstLine(sim);

        Child write = spawn({cli, "--device", device, "write", firmware});
        int code = 0;
        if (interrupt) {
            ::usleep(static_cast<useconds_t>(interruptAfter_ms) * 1000);
            ::kill(write.pid, SIGINT);
            fault.name += " + Ctrl-C at " + std::to_string(interruptAfter_ms) + " ms";
            fault.expected.push_back(130);
            ++interrupted;
        }
        code = waitFor(write, Clock::now() + kRunBound);
        ::kill(sim.pid, SIGTERM);
        waitFor(sim, Clock::now() + std::chrono::seconds(5));
        ::close(sim.out);
        ::close(write.out);

        std::string verdict = "ok";
        if (code == -1) {
            ++hangs;
            verdict = "HANG";
        } else if (code >= 128 && code != 130) {
            ++crashes;
            verdict = "CRASH";
        } else if (std::find(fault.expected.begin(), fault.expected.end(), code) ==
                   fault.expected.end()) {
            ++wrongCodes;
            verdict = "WRONG EXIT CODE";
        } else if (code == 0) {
            ++successes;
            const std::string flash = readFile(work / "flash.bin");
            const std::string eeprom = readFile(work / "eeprom.bin");
            const bool same =
                flash.size() == wantFlash.size() && eeprom == wantEeprom &&
                std::equal(flash.begin() + 0x200, flash.end(), wantFlash.begin() + 0x200);
            if (!same) {
                ++memoryMismatches;
                verdict = "MEMORY DIFFERS";
            }
        }
        std::printf("%3d  %-40s exit %4d  %s\n", run, fault.name.c_str(), code, verdict.c_str());
        std::fflush(stdout);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - soakStart).count();
    fs::remove_all(work);
    std::printf(
        "\n%d runs (seed %u, %d with Ctrl-C) in %.0f s: %d successes, %d hangs, %d crashes, "
        "%d wrong exit codes, %d memory mismatches\n",
        runs, seed, interrupted, seconds, successes, hangs, crashes, wrongCodes, memoryMismatches);
    return hangs + crashes + wrongCodes + memoryMismatches == 0 ? 0 : 1;
}
