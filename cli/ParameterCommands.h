#pragma once

#include <iosfwd>
#include <map>
#include <optional>
#include <string>

#include "ModuleCommands.h"

namespace canprog::cli {

// The settings that `params write` changes; what is not named stays as read.
struct ParameterSettings {
    std::optional<std::string> pin;         // four digits
    std::optional<std::string> mode;        // FI or FA
    std::optional<std::string> canProgram;  // two decimal digits
    std::map<int, int> options;             // option 1..9 -> bit 0/1
    std::optional<int> fs1, fs2, fs3;       // 0/1

    bool empty() const {
        return !pin && !mode && !canProgram && options.empty() && !fs1 && !fs2 && !fs3;
    }
};

// Checks the settings before anything touches the port; the reason when one is invalid.
std::optional<std::string> invalidSetting(const ParameterSettings& settings);

// `params read`: the settings as a table in the chosen language, or one JSON object.
int runParamsRead(const ModuleOptions& options, bool json, std::ostream& out, std::ostream& err);
// `params write`: a read, the named settings changed, the block written back and verified.
int runParamsWrite(const ModuleOptions& options, const ParameterSettings& settings, bool verify,
                   std::ostream& out, std::ostream& err);
// `params save FILE`: the block, its settings, the device ID and the time, to a file.
int runParamsSave(const ModuleOptions& options, const std::string& file, std::ostream& out,
                  std::ostream& err);
// `params restore FILE`: a saved block written back exactly, and verified.
int runParamsRestore(const ModuleOptions& options, const std::string& file, bool verify,
                     std::ostream& out, std::ostream& err);

}  // namespace canprog::cli
