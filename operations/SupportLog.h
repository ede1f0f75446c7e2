#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Operations.h"

namespace canprog {

// What a log sent to support begins with: which program on which system, the port and the
// adapter behind it, the module (device ID, versions before and after the last write) and the
// firmware file (its name and SHA-256, so that a renamed copy is still known), and the time.
struct SupportLogFacts {
    std::string program;  // "canprog 0.1.0 (commit 1a2b3c4)"
    std::string system;   // "Linux 6.1.0-13-amd64"
    std::string port;     // "COM3 — FT232R USB UART (/dev/ttyUSB0, /dev/serial/by-id/...)"
    std::optional<std::uint16_t> deviceId;
    std::string versionBefore;  // empty when not read
    std::string versionAfter;
    std::string firmwareFile;  // its name, without its folder
    std::string firmwareSha256;
    std::string time;  // UTC
};

// The facts as the operations know them now; `program` names the program and its version.
// The adapter is looked up among the present ports.
SupportLogFacts supportLogFacts(Operations& operations, const std::string& program);

// The header's lines ("Port: COM3 — ..."), labels in English for whoever reads it at support.
std::vector<std::string> supportLogHeader(const SupportLogFacts& facts);

// "Save log...": the save dialog (which asks before it replaces a file), then the header and
// the log's lines into the file; the log says where it went or why it did not.
void SaveLogClick(MainForm& form, Operations& operations, const std::string& program);

}  // namespace canprog
