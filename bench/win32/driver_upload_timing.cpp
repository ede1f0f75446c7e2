// A full firmware upload through the models of the USB-serial drivers (tests/support/win32):
// the plain model, usbser.sys and PL2303/CP210x, the wire paced at 9600 baud 8N1 in each.
// Prints each upload's wall time and its ratio to the plain model's. Run under Wine from the
// checkout's root: driver_upload_timing.exe [FILE] (default samples/demo.hexfw).
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "model/HelpWindow.h"
#include "model/PlatformShell.h"
#include "model/SystemPump.h"
#include "operations/Operations.h"
#include "serial/win32/SlWin32.h"
#include "support/win32/DriverModels.h"

namespace {

using namespace canprog;

// The seconds one upload of `file` takes through a driver with `habits`; negative when it did
// not finish.
double uploadSeconds(const testing::DriverHabits& habits, const std::string& file) {
    testing::ModelledPort device(habits);
    NoShell shell;
    MainForm form(shell);
    startUp(form);
    HelpWindow help;
    SystemPump pump(form);
    Operations operations(form, help, pump, [&device] {
        return std::make_unique<serial::TSlioWin32Dispatcher>(device);
    });
    operations.ComPort().SetDevicePath("\\\\.\\COM9");
    form.firmwareFileName = file;
    const auto start = std::chrono::steady_clock::now();
    const OperationOutcome outcome = operations.upload();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return outcome == OperationOutcome::Finished ? seconds : -1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string file = argc > 1 ? argv[1] : "samples/demo.hexfw";
    const auto classes = testing::driverClasses();
    double plain = 0;
    for (const auto& habits : classes) {
        if (habits.name != "plain" && habits.name != "usbser.sys" &&
            habits.name != "PL2303/CP210x") {
            continue;
        }
        const double seconds = uploadSeconds(habits, file);
        if (seconds < 0) {
            std::fprintf(stderr, "the upload through %s did not finish\n", habits.name.c_str());
            return 1;
        }
        if (habits.name == "plain") plain = seconds;
        std::printf("%-14s %7.2f s  ratio to plain %.4f\n", habits.name.c_str(), seconds,
                    seconds / plain);
    }
    return 0;
}
