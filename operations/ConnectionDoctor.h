#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "Operations.h"
#include "serial/ConnectionFacts.h"

namespace canprog {

// One thing the connection check found, said with what to do about it.
struct DoctorFinding {
    enum class Kind { Fact, Problem };
    Kind kind;
    std::string text;  // in the window's language
};

// What the check found, and the measurements it took.
struct DoctorReport {
    std::vector<DoctorFinding> findings;
    int loopbackSent = 0;
    int loopbackBack = 0;
    std::optional<std::chrono::milliseconds> loopbackRoundTrip;
    std::optional<std::chrono::milliseconds> moduleAnswer;  // from the first WAKE to the answer
    std::string deviceId;                                   // "12:34"
    std::string version;
    bool problems() const;
};

// What the system's facts mean for the connection, each problem with its fix.
std::vector<DoctorFinding> judgeConnection(const MainForm& form,
                                           const serial::ConnectionFacts& facts);

// The whole check: the facts judged; then, unless a problem stops the port from opening, with
// `loopback` (TX joined to RX) bytes sent and looked for, otherwise the module itself: the
// reset pulse, the wake-up and how long the answer took, the device ID and the version.
DoctorReport checkConnection(Operations& operations, const serial::ConnectionFacts& facts,
                             bool loopback);

// "Check the connection": the check of the chosen port, its findings in the log.
void CheckConnectionClick(MainForm& form, Operations& operations);

}  // namespace canprog
