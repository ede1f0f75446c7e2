#pragma once

#include <iosfwd>
#include <string>

namespace canprog::cli {

// Options of the commands that work on firmware files only.
struct InspectOptions {
    std::string file;
    std::string flashOut;
    std::string eepromOut;
};

// Each command returns its exit code; log lines go to `out`, diagnostics to `err`.
int runInspect(const InspectOptions& options, char languageCode, std::ostream& out,
               std::ostream& err);
int runPrograms(const std::string& file, char languageCode, std::ostream& out, std::ostream& err);
int runHexfw(bool encode, const std::string& in, const std::string& out, char languageCode,
             std::ostream& log, std::ostream& err);

}  // namespace canprog::cli
