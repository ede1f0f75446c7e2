#include "ExitCodes.h"

#include <array>
#include <string>
#include <utility>

namespace canprog::cli {

namespace {

constexpr std::array<std::pair<int, std::string_view>, 13> kMeanings = {{
    {kExitOk, "the operation finished"},
    {kExitUsage, "usage error, or nothing to do"},
    {kExitFirmwareFile, "firmware or saved file missing, unreadable or not valid"},
    {kExitPort, "the port could not be opened"},
    {kExitNoBootloader, "no bootloader answered"},
    {kExitTransmission,
     "transmission error (a reply did not come in time, or the cable was pulled)"},
    {kExitRejected, "the module rejected a block"},
    {kExitInvalidSetting, "an invalid setting (for example a PIN that is not four digits)"},
    {kExitVerifyFailed,
     "verify failed or did not finish: every block was written, the module stays in its "
     "bootloader (no restart was sent): write again"},
    {kExitOutput, "the output, an output file, a backup or the trace could not be written"},
    {kExitProgramNotListed,
     "the firmware's CAN program list does not name the program the module would hold; "
     "nothing was written (--force writes it all the same)"},
    {kExitHangUp, "stopped because the terminal closed (SIGHUP)"},
    {kExitCancelled, "cancelled (Ctrl-C, or a request to terminate)"},
}};

}  // namespace

std::string_view exitCodeMeaning(int code) {
    for (const auto& [value, meaning] : kMeanings) {
        if (value == code) return meaning;
    }
    return "unknown";
}

std::string exitCodeTable() {
    std::string table;
    for (const auto& [value, meaning] : kMeanings) {
        table += "  " + std::to_string(value) + std::string(value < 10 ? 4 : 2, ' ') +
                 std::string(meaning) + "\n";
    }
    return table;
}

}  // namespace canprog::cli
