// A full firmware upload against the simulated module with the line paced at 9600 baud 8N1.
// Prints the upload's wall time against the wire time of the bytes actually sent, the tool's
// CPU time against wall time, and the median time from a status byte leaving the module to
// the first byte of the next frame. Usage: upload_timing [FILE [REPLY_DELAY_MS]]; with a reply
// delay, what it cost beside the log's estimate.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "model/PlatformShell.h"
#include "model/SystemPump.h"
#include "operations/Operations.h"
#include "sim/SimulatedModule.h"

namespace {

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace canprog;
    const std::string file = argc > 1 ? argv[1] : "samples/demo.hexfw";
    // A slow adapter: every reply held this long (a latency timer of 16 ms, say).
    const int replyDelay_ms = argc > 2 ? std::atoi(argv[2]) : 0;

    sim::SimOptions options;
    options.lineRate = true;
    options.replyDelay = std::chrono::milliseconds(replyDelay_ms);
    sim::SimulatedModule module(options);
    module.start();

    NoShell shell;
    MainForm form(shell);
    startUp(form);
    HelpWindow help;
    SystemPump pump(form);
    Operations operations(form, help, pump);
    operations.ComPort().SetDevicePath(module.devicePath());
    form.firmwareFileName = file;

    const double cpuBefore = processCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    const OperationOutcome outcome = operations.upload();
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = processCpuSeconds() - cpuBefore;
    module.stop();
    if (outcome != OperationOutcome::Finished) {
        std::fprintf(stderr, "upload did not finish\n");
        return 1;
    }

    // Bytes on the wire: every frame and its reply, the wake-up pair and its answer, the key.
    std::size_t bytes = 3 + 1;
    for (const auto& frame : module.frames()) {
        bytes += 5 + frame.data.size() + (frame.data.empty() ? 0 : 1) + frame.reply.size();
    }
    const double byteTime = 10.0 / 9600.0;
    const double wire = static_cast<double>(bytes) * byteTime;
    // Before the first byte: the reset pulse (0.6 s) and one wake-up attempt (0.3 s).
    const double beyond = wall - 0.6 - 0.3;
    const double toolCpu = cpu - std::chrono::duration<double>(module.threadCpuTime()).count();

    auto turnarounds = module.turnarounds();
    std::sort(turnarounds.begin(), turnarounds.end());
    const double medianMs =
        turnarounds.empty()
            ? 0
            : std::chrono::duration<double, std::milli>(turnarounds[turnarounds.size() / 2])
                  .count();

    std::printf("frames: %zu, bytes on the wire: %zu\n", module.frames().size(), bytes);
    std::printf("wall time: %.2f s; wire time: %.2f s\n", wall, wire);
    std::printf("wall beyond reset pulse and first attempt / wire time: %.4f\n", beyond / wire);
    std::printf("tool CPU: %.3f s = %.2f %% of wall time\n", toolCpu, 100.0 * toolCpu / wall);
    std::printf("status byte to next frame, median: %.3f ms (%zu samples)\n", medianMs,
                turnarounds.size());
    if (replyDelay_ms > 0) {
        // What the slow adapter cost, beside what the log told the technician it would.
        std::printf("reply delay %d ms: %.1f s beyond the wire time\n", replyDelay_ms,
                    beyond - wire);
        for (const auto& line : form.logLines()) {
            if (line.rfind("The adapter holds", 0) == 0)
                std::printf("the log said: %s\n", line.c_str());
        }
    }
    return 0;
}
